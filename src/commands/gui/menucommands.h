#pragma once
// The commands: the menus built from the command catalogue, the toolbar, the
// status bar, the enable states, the window and recent-file lists, and the
// commands that work on the active editor through their own dialogs: find
// and replace, print, help. Every menu item, button and command key goes to
// one dispatcher, which the frame supplies.

#include "app/errors.h"
#include "app/recentfiles.h"
#include "commands/editstates.h"

#include <QMap>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QKeyCombination;
class QLabel;
class QMainWindow;
class QMenuBar;
class QToolBar;
class QToolButton;
class QsciPrinter;

namespace varkel {

class HelpWindow;
class PopupMenu;
class Prompts;
class ReplaceDialog;
class RichEdit;

class MenuCommands : public QObject {
    Q_OBJECT
public:
    // An open document as the window list shows it.
    struct WindowEntry {
        int doc = 0;
        std::string path;
    };

    struct Hooks {
        // The one dispatcher: runs a command by key; itemData > 0 marks
        // run-time items (window list, recent files, user tools).
        std::function<void(const std::string &key, int itemData)> dispatch;
        std::function<void(const Error &)> reportError;
        // The documents: the active editor, its document's path, what the
        // enable states depend on, the window list, and the caret display.
        std::function<RichEdit *()> activeEditor;
        std::function<std::string()> activePath;
        std::function<EditFacts()> editFacts;
        std::function<std::vector<WindowEntry>()> windows;
        std::function<int()> activeDoc;
        std::function<void()> displayCharPos;
        // After replacing text: the refresh the change calls for.
        std::function<void()> afterEdit;
        // The enable states reach the bindings too: the panel and the
        // insertion tools are usable exactly while a document is open.
        std::function<void(bool docOpen)> documentsOpen;
        std::function<void()> updateLockLEDs;
        // The NAME of the `exec NAME` line the Edit menu offers to open
        // ("" for none).
        std::function<std::string()> execName;
        // The unknown name the caret is on, for "Add NAME to my names".
        std::function<std::string()> myName;
    };

    // The menus, toolbars and status bar go into `window`.
    explicit MenuCommands(QMainWindow *window);
    ~MenuCommands() override;

    void SetHooks(Hooks hooks);
    void SetPrompts(Prompts *prompts) { m_prompts = prompts; }

    void BuildToolbar();
    void BuildMenu();
    // The three bands (menu bar, toolbar, the command insertion band) and
    // the status bar.
    void BuildRebar();
    QToolBar *CommandBand() const { return picCommand; }
    // Puts the user tools at the end of the Tools menu: "ADD" at load,
    // "REPLACE" after the tool list changed.
    void BuildUserToolsMenu(const std::string &mode);
    int ToolsInMenu() const { return m_toolsInMenu; }

    // Runs the command of a menu item.
    void m_cMenu_Click(int index);
    void m_cMenu_InitPopupMenu(int index);
    void Dispatch(const std::string &key, int itemData = 0);
    // A key pressed in an editor, before the editor acts on it: when it is
    // the shortcut of an enabled command of the menus, runs that command and
    // returns true.
    bool OnEditorCommandKey(QKeyCombination key);
    void SetEditStates();
    void SetCommandState(std::string_view command, std::optional<bool> enabled, std::optional<bool> checked,
                         bool menu, bool button);
    // The radio mark of a menu item and, when given, its toolbar button.
    void RadioCheck(const std::string &menuKey, const std::string &buttonKey);
    PopupMenu *Menu() const { return m_cMenu; }
    QToolButton *ToolButton(std::string_view key) const;

    // --- status bar ------------------------------------------------------
    void SetStatusBarTip(const QString &text, bool allowReset);
    void ResetStatusBarTip();
    QString StatusPanelText(int panel) const;   // 1-based
    // The caret panels "Line: n of m", "Col: n", "Char: n", and back to
    // their first texts once no script is open.
    void ShowCaretPosition(int line, int lineCount, long column, long position);
    void ClearCharPos();
    // Panel 8: the active script's command set; its tool tip says why.
    void ShowCommandSet(const std::string &set, const std::string &explanation);
    // Panel 9: the active script's encoding ("UTF-8", "Latin-1"; empty
    // while none is open).
    void ShowEncoding(const QString &name);
    // Panels 5, 6 and 7: "NUM", "CAPS", "SCRL".
    void ShowLockStates(bool num, bool caps, bool scroll);
    void OnPointerMoved();
    void ShowEditPopup();
    // The run-time item "Open NAME" at the end of the Edit menu, there while
    // the line pointed at (or the caret's) is an `exec NAME` line.
    void SetOpenExecItem(const std::string &name);
    // The run-time item "Add NAME to my names" at the end of the Edit menu,
    // there while the caret is on a name the checks do not know.
    void SetMyNameItem(const std::string &name);
    void ShowMainPopup();

    // --- window list and recent files --------------------------------------
    // The Window menu, rebuilt each time it opens, and its check mark.
    void BuildWindowList();
    void CheckWindowMenuItem();
    // The window list keeps its numbering when a document is saved under a
    // new name; only the path part of its item changes.
    void RenameWindowItem(int d, const std::string &path);
    // Moves path (the file system's bytes) to the top ("Add") or takes it out
    // (any other action) and rebuilds the five menu items; an empty path only
    // builds them.
    void SetRecentFiles(const std::string &path, const QString &action);
    const RecentList &RecentFiles() const { return m_recentFiles; }

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

    // --- printing and help -------------------------------------------------
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

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void OnMenuHighlight(int index);

    QMainWindow *m_window;
    Hooks m_hooks;
    Prompts *m_prompts = nullptr;
    PopupMenu *m_cMenu = nullptr;
    std::vector<std::string> m_menuHelp;
    RecentList m_recentFiles;
    QMenuBar *tbrMenu = nullptr;
    QToolBar *tbrMain = nullptr;
    QToolBar *picCommand = nullptr;
    QMap<QString, QToolButton *> m_buttons;
    std::vector<QLabel *> m_panels;           // the nine status-bar panels
    int m_toolsInMenu = 0;                    // user tool items now in the Tools menu
    ReplaceDialog *m_replace = nullptr;
    HelpWindow *m_helpWindow = nullptr;            // created on first use, owned by the window
    std::shared_ptr<QsciPrinter> m_setupPrinter;   // the printer chosen in Printer Setup
    PrinterSource m_printerSource;
};

} // namespace varkel
