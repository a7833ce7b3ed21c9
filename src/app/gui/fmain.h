#pragma once
// The main frame: owns every piece of shared state (the document table, the
// menu object, the toolbar, the status bar) for the life of the process.
// Its procedures are implemented beside the subsystem they belong to:
// start-up and shutdown here, file operations in documents/gui, menus,
// dispatch and the status bar in commands/gui.

#include "app/errors.h"
#include "app/recentfiles.h"
#include "documents/doctable.h"
#include "bindings/bindingstate.h"
#include "bindings/bindingsearch.h"
#include "language/dictionary.h"

#include <QMainWindow>
#include <QMap>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QTabBar;
class QToolBar;
class QToolButton;
class QMenuBar;
class QsciPrinter;

namespace varkel {

class ChildWindow;
class DevicePanel;
class CommandBar;
class fEdit;
class ReplaceDialog;
class PopupMenu;
class Prompts;
class RichEdit;
class HelpWindow;

class fMain : public QMainWindow {
    Q_OBJECT
public:
    explicit fMain(QWidget *parent = nullptr);
    ~fMain() override;

    // Start-up: the frame's load sequence. commandLine is the raw command
    // line (possibly empty), args the arguments it was joined from, both as
    // the file system's bytes.
    void MDIForm_Load(const QByteArray &commandLine, const QList<QByteArray> &args = {});
    // The same for a command line as Qt spells it.
    void MDIForm_Load(const QString &commandLine, const QStringList &args = {});
    // Opens what a command line names: the whole text as one path when that
    // names a file, otherwise each argument in turn.
    void OpenCommandLine(const QByteArray &commandLine, const QList<QByteArray> &args);
    // A second start handed over its command line.
    void ActivateFromInstance(const QByteArray &commandLine, const QList<QByteArray> &args);

    // Error reporter: "Error <n>" message box with the description.
    void ReportError(const Error &error);

    // Replaces the dialogs (tests).
    void SetPrompts(std::unique_ptr<Prompts> prompts);
    Prompts &prompts() { return *m_prompts; }

    // --- recent files ----------------------------------------------------
    // Moves path (the file system's bytes) to the top ("Add") or takes it out
    // (any other action) and rebuilds the five menu items; an empty path only
    // builds them.
    void SetRecentFiles(const std::string &path, const QString &action);
    void OpenRecentFile(int i);
    const RecentList &RecentFiles() const { return m_recentFiles; }

    // --- documents -------------------------------------------------------
    int NewConfig();
    // Opens path, or asks with the Open dialog when it is empty. path is
    // updated to the last file opened. Paths are the file system's bytes
    // (see localpath.h); the QString forms take a name as Qt spells it.
    void OpenConfig(std::string &path);
    void OpenConfig(const std::string &path) { std::string p = path; OpenConfig(p); }
    void OpenConfig(const QString &path);
    void OpenDroppedFiles(const QStringList &files);
    bool SaveConfig(int d, const std::string &path);
    bool SaveConfig(int d, const QString &path);
    bool SaveConfigAs(int d, const std::string &path);
    bool SaveConfigAs(int d, const QString &path);
    void SaveAllFiles();
    void RevertFile();
    void CloseAllFiles();
    bool QueryCloseDocument(int d);
    void UnloadDocument(int d);

    int ActiveDoc() const;            // 0 when no document is open
    fEdit *ActiveWindow() const;
    RichEdit *ActiveEditor() const;
    fEdit *Editor(int d) const;
    DocTable &Docs() { return m_docs; }
    const DocTable &Docs() const { return m_docs; }

    // --- editor window events -------------------------------------------
    void OnWindowActivated(fEdit *w);
    void OnEditorTextChanged(fEdit *w);
    void OnEditorSelectionChanged(fEdit *w);
    void OnEditorKeyDown(fEdit *w, int key);
    void OnEditorKeyUp(fEdit *w, int key);
    void OnEditorMouseUp(fEdit *w, Qt::MouseButton button);
    void OnEditorFocus(fEdit *w, bool gotFocus);
    // A key pressed in an editor, before the editor acts on it: when it is
    // the shortcut of an enabled command of the menus, runs that command and
    // returns true.
    bool OnEditorCommandKey(fEdit *w, QKeyCombination key);
    void OnPointerMoved();
    void DisplayCharPos(fEdit *w);
    // The caret panels back to their first texts, once no script is open.
    void ClearCharPos();
    void ToggleWordWrap();
    void Arrange(int mode);
    // The Window menu, rebuilt each time it opens, and its check mark.
    void BuildWindowList();
    void CheckWindowMenuItem();
    // The maximise toggle of a document window: fill the client area, or
    // return to the saved place and size.
    void OnChildMaximize(ChildWindow *w);

    // --- find and replace -------------------------------------------------
    void FindText();
    void FindNext();
    void FindPrevious();
    void ShowReplaceDialog();
    ReplaceDialog *replaceDialog() const { return m_replace; }
    // Replaces the selection when it matches (replace) and finds the next
    // occurrence; false when there is none.
    bool ReplaceStep(bool replace);
    // Replaces every occurrence in one undo step; returns how many.
    int ReplaceAll();

    // --- script language -------------------------------------------------
    // Reads the vocabulary of a command set; reports a failure, and marks and
    // stores the set only when the whole build succeeded.
    void BuildDictionary(const std::string &commandSet);
    // The command-set switch of the Options menu and the toolbar.
    void SwitchCommandSet(const std::string &commandSet);
    const GameDictionary &Dictionary() const { return m_dict; }
    // Colours text that starts at position offset of an editor.
    void SyntaxHiLite(RichEdit *control, std::string_view text, long offset, bool quiet, bool noDocument);
    // Colours the whole text of an editor (offset 0, not quiet).
    void SyntaxHiLiteAll(RichEdit *control);
    // Colours one line of a document window: `line`, or the caret's line plus lineOffset.
    void RealTimeHiLite(fEdit *w, int lineOffset, int line = -1);
    void SetAutoSyntax(int mode, bool fromDialog);
    void SetSyntaxColors(bool fromDialog);
    void SetEditorForeColor();
    // Whether a form besides the frame is open: a document or the options
    // dialog.
    bool AnyFormOpen() const;
    void SetEditorBGColor();
    void SetEditorFont();
    void InsertCommentBlock();

    // --- commands and status bar -----------------------------------------
    void BuildToolbar();
    void BuildMenu();
    void BuildRebar();
    // Runs the command of a menu item (the one dispatcher).
    void m_cMenu_Click(int index);
    void m_cMenu_InitPopupMenu(int index);
    // Runs a command by key; itemData > 0 marks run-time items.
    void Dispatch(const std::string &key, int itemData = 0);
    void SetEditStates();
    void SetStatusBarTip(const QString &text, bool allowReset);
    void ResetStatusBarTip();
    void ShowEditPopup();
    void ShowMainPopup();
    QString StatusPanelText(int panel) const;   // 1-based
    PopupMenu *Menu() const { return m_cMenu; }
    QToolButton *ToolButton(std::string_view key) const;

    // --- printing and help (commands/gui/fmain_helpprint.cpp) --------------
    // Prints the whole active document on printer, in its colours and font:
    // starts the job, collapses the selection at its start, prints the text,
    // ends the job. No dialog.
    Error PrintDocument(QsciPrinter &printer);
    // cmnuPrint: the printer chosen in Printer Setup, else the system's
    // default printer; a message when there is none.
    void PrintActive();
    void PrintSetup();
    // "Contents" opens the help window on its contents page, anything else on
    // its search.
    void GetHelp(const QString &topic);
    HelpWindow *Help() const { return m_helpWindow; }
    // Where Print finds its printer while none was chosen in Printer Setup
    // (null: no printer); the system's default printer unless replaced (tests).
    using PrinterSource = std::function<std::shared_ptr<QsciPrinter>()>;
    void SetPrinterSource(PrinterSource source) { m_printerSource = std::move(source); }

    // Frame geometry in twips, as stored in the settings file.
    double TwipsPerPixel() const;

    // --- options and user tools ---------------------------------------------
    // Shows the options dialog on a page (0 colours, 1 comment block, 2 user
    // tools, 3 misc), modally.
    void ShowOptions(int page);
    // Puts the user tools at the end of the Tools menu: "ADD" at load,
    // "REPLACE" after the tool list changed.
    void BuildUserToolsMenu(const std::string &mode);
    int ToolsInMenu() const { return m_toolsInMenu; }
    // Gives every open editor (and an open options preview) the current
    // token colours, background and font.
    void ApplyEditorSettingsToAll();
    // --- bindings and conflicts -------------------------------------------
    // Empties the binding table and shows every slot Off.
    void ClearData();
    // Reads the `bind`, alias and set lines of a script into the binding table.
    void GetBindings(std::string_view text, bool quiet, bool keepImages);
    // Re-reads the active script's bindings.
    void RefreshBindings();
    // The refresh after activation and typing: the given script alone, or
    // every open script when conflicts are shown across all of them.
    void RefreshDocumentBindings(fEdit *w);
    void ShowAllConflicts();
    // Re-reads after an insertion by drag, keeping the selected key.
    void RefreshAll();
    void ToggleAutoRefresh();
    // Applies ConflictType: marks its menu item and button, re-reads, stores it.
    void SetConflictState();
    // Selects the next `bind` line of the selected key from start on.
    void FindNextConflict(long start);
    const BindingState &Bindings() const { return m_bindings; }
    // The open document windows in the order they were loaded.
    std::vector<fEdit *> OpenWindows() const;

    // --- input-device panel (bindings/gui/fmain_panel.cpp) -----------------
    DevicePanel *Panel() const { return m_panel; }
    // Shows or hides the panel and stores the choice ([General] ShowKeyboard).
    void ToggleKeyboard();
    void SetDevicePanelEnabled(bool enabled);
    // The lock lights and the status-bar panels "NUM", "CAPS", "SCRL".
    void UpdateLockLEDs();
    // --- insertion tools (the command bar) --------------------------------
    CommandBar *InsertionTools() const { return m_commandBar; }

protected:
    void closeEvent(QCloseEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    void GetSettings();
    void MDIForm_Unload();
    void ApplyEditorSettings(RichEdit *editor);
    void AfterEditRefresh();
    void EditCut();
    void EditCopy();
    void EditPaste();
    void EditDelete();
    void EditSelectAll();
    void SetWindowCaption(int d, const QString &caption);
    void AddFileTab(int d, const QString &caption);
    void RemoveFileTab(int d);
    int TabIndexOf(int d) const;
    QMdiSubWindow *SubWindowOf(int d) const;
    void OnMenuHighlight(int index);
    void SetCommandState(std::string_view command, std::optional<bool> enabled, std::optional<bool> checked,
                         bool menu, bool button);
    void BuildDevicePanel();
    void OnPanelSlotSelected(int slot, const QString &keyName, const QString &boundText);
    void OnPanelSlotLeft();
    void SelectMatch(const TextMatch &match);
    // The alias / vstr list and the binding row of the insertion tools.
    std::string AliasBoxText() const;
    void SetAliasList(const std::vector<std::string> &names, const std::string &text);
    void SetBindingRow(const std::string &keyName, const std::string &command);
    void ClearBindingRow();
    void ShowLockStates(bool num, bool caps, bool scroll);

    DocTable m_docs;
    std::vector<fEdit *> m_editors{nullptr}; // index d; 0 unused
    std::unique_ptr<Prompts> m_prompts;
    HelpWindow *m_helpWindow = nullptr;            // created on first use, owned as a child
    std::shared_ptr<QsciPrinter> m_setupPrinter;   // the printer chosen in Printer Setup
    PrinterSource m_printerSource;

    PopupMenu *m_cMenu = nullptr;
    std::vector<std::string> m_menuHelp;
    RecentList m_recentFiles;
    GameDictionary m_dict;
    BindingState m_bindings;
    ReplaceDialog *m_replace = nullptr;
    QMenuBar *tbrMenu = nullptr;
    QToolBar *tbrMain = nullptr;
    QToolBar *picCommand = nullptr;
    QMap<QString, QToolButton *> m_buttons;
    std::vector<QLabel *> m_panels;           // the seven status-bar panels
    QTabBar *tabOpenFiles = nullptr;
    QMdiArea *m_mdi = nullptr;
    bool m_closingAll = false;                // shutdown: queries already answered
    int m_pendingWindowState = 0;
    int m_pendingArrange = -1;               // an arrangement asked for before the frame showed
    int m_toolsInMenu = 0;                   // user tool items now in the Tools menu
    DevicePanel *m_panel = nullptr;          // picContainer(1): keyboard, mouse, joystick

    // Insertion tools (bindings/gui/fmain_insertion.cpp).
    void BuildCommandBar();
    void FillCommandBar();
    CommandBar *m_commandBar = nullptr;

    friend class FrameTestAccess;
};

} // namespace varkel
