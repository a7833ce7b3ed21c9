#pragma once
// The document area: the document table, the document windows in their MDI
// area, the file tabs above them, the file operations (new, open, save, save
// as, save all, revert, close), the editing commands, and what the windows'
// events set off. What it needs of the rest of the window it asks through
// its hooks; the frame fills them in.

#include "app/errors.h"
#include "documents/doctable.h"

#include <QIcon>
#include <QWidget>

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QTabBar;

namespace varkel {

class ChildWindow;
class Prompts;
class RichEdit;
class fEdit;

class DocumentArea : public QWidget {
    Q_OBJECT
public:
    struct Hooks {
        // Status bar: the status text, and the caret panels (1-based line).
        std::function<void(const QString &text, bool allowReset)> statusTip;
        std::function<void()> resetStatusTip;
        std::function<void(int line, int lineCount, long column, long position)> showCaret;
        std::function<void()> clearCaret;
        std::function<void()> setEditStates;
        std::function<void(const Error &)> reportError;
        // The frame's caption ("Varkel [path]", or "Varkel").
        std::function<void(const QString &caption)> setCaption;
        // Colouring: a new editor takes the current appearance; whole text
        // or one line (the caret's line plus lineOffset, or `line`).
        std::function<void(RichEdit *)> applyEditorSettings;
        std::function<void(RichEdit *)> syntaxHiLiteAll;
        std::function<void(fEdit *, int lineOffset, int line)> realTimeHiLite;
        // Bindings: emptying the panel, re-reading one script (or all of
        // them, by the conflict mode), re-reading the active one.
        std::function<void()> clearData;
        std::function<void(RichEdit *)> refreshDocumentBindings;
        std::function<void()> refreshBindings;
        std::function<void()> editorFocused;
        std::function<void()> updateLockLEDs;
        // After Undo, Redo, Cut, Paste, Delete and replacing: the refresh
        // the text change calls for.
        std::function<void()> afterEdit;
        // Menus: the recent-file list ("Add" or "Remove"), the window list's
        // item of a renamed document, its check mark, the pop-up menus, and
        // a command key pressed in an editor.
        std::function<void(const std::string &path, const QString &action)> recentFile;
        std::function<void(int d, const std::string &path)> documentRenamed;
        std::function<void()> documentActivated;
        std::function<void()> showEditPopup;
        // A Ctrl+click at a position of an editor; true when it was taken
        // (an `exec` line followed).
        std::function<bool(RichEdit *, long position)> ctrlClick;
        std::function<void()> showMainPopup;
        std::function<bool(fEdit *, QKeyCombination)> commandKey;
        // A command's check mark in the menu and on its toolbar button.
        std::function<void(std::string_view command, bool checked)> checkCommand;
        std::function<void()> pointerMoved;
        // The command set of a new document, and of an opened script by its
        // words: the set and why (an empty set keeps the default).
        std::function<std::string()> defaultCommandSet;
        std::function<std::pair<std::string, std::string>(std::string_view text)> detectCommandSet;
        // A document became active: the parts take its command set.
        std::function<void(const std::string &set, const std::string &explanation)> commandSetActivated;
        // The encoding panel: the active document's encoding ("UTF-8",
        // "Latin-1"), empty once no document is open.
        std::function<void(const QString &name)> showEncoding;
        QIcon childIcon;
    };

    explicit DocumentArea(QWidget *parent = nullptr);
    ~DocumentArea() override;

    void SetHooks(Hooks hooks);
    void SetPrompts(Prompts *prompts) { m_prompts = prompts; }

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
    void CloseActive();
    void CloseAllFiles();
    bool QueryCloseDocument(int d);
    void UnloadDocument(int d);
    // Shutdown: every modified script is asked about first (false: the user
    // cancelled); then every document is unloaded without asking again.
    bool QueryCloseAll();
    void UnloadAll();
    // Stops every call from the document windows: the frame calls it while
    // it is being destroyed, before its widgets are.
    void DetachEditors();

    int ActiveDoc() const;            // 0 when no document is open
    fEdit *ActiveWindow() const;
    RichEdit *ActiveEditor() const;
    fEdit *Editor(int d) const;
    DocTable &Docs() { return m_docs; }
    const DocTable &Docs() const { return m_docs; }
    // The open document windows in the order they were loaded.
    std::vector<fEdit *> OpenWindows() const;
    // Brings the window of document d to the front.
    void ActivateDocument(int d);
    // The document an editor shows, 0 for none.
    int DocOf(const RichEdit *editor) const;
    // Gives document d a command set and the reason for it.
    void SetCommandSet(int d, const std::string &set, const std::string &explanation);
    // Reads the active document's file again in the given encoding (asking
    // to save a modified one first); a document without a file shows its
    // bytes in that encoding at once. The bytes themselves never change.
    void ReopenAs(Encoding encoding);

    // --- editing ---------------------------------------------------------
    void EditUndo();
    void EditRedo();
    void EditCut();
    void EditCopy();
    void EditPaste();
    void EditDelete();
    void EditSelectAll();

    // --- editor window events -------------------------------------------
    void OnWindowActivated(fEdit *w);
    void OnEditorTextChanged(fEdit *w);
    void OnEditorSelectionChanged(fEdit *w);
    void OnEditorKeyDown(fEdit *w, int key);
    void OnEditorKeyUp(fEdit *w, int key);
    void OnEditorMouseUp(fEdit *w, Qt::MouseButton button);
    void OnEditorCtrlClick(fEdit *w, long position);
    void OnEditorFocus(fEdit *w, bool gotFocus);
    // Typed, pasted or dropped text the document's encoding cannot hold was
    // kept out: a beep and a word in the status bar.
    void OnEditorInputRefused(fEdit *w, const QString &character);
    // A key pressed in an editor, before the editor acts on it: true when
    // it ran a command.
    bool OnEditorCommandKey(fEdit *w, QKeyCombination key);
    void OnPointerMoved();
    void DisplayCharPos(fEdit *w);
    void ToggleWordWrap();
    // Asks for a line number and moves the active editor's caret there.
    void GoToLine();
    // The size every editor's text shows at, in steps from the font size
    // (each step one point); never stored, and not part of the font setting.
    void Zoom(int steps);
    void ResetZoom();
    int ZoomLevel() const { return m_zoom; }
    // The frame's caption for document d: "Varkel [path]", with " *" while
    // it has unsaved changes.
    QString FrameCaption(int d) const;
    // The folder the last file was opened from or saved to (empty: none yet).
    const std::string &LastFolder() const { return m_lastFolder; }
    void Arrange(int mode);
    // The maximise toggle of a document window: fill the client area, or
    // return to the saved place and size.
    void OnChildMaximize(ChildWindow *w);

protected:
    void showEvent(QShowEvent *e) override;
    void FollowAreaSize(const QSize &oldSize, const QSize &newSize);
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void SetWindowCaption(int d, const QString &caption);
    void AddFileTab(int d, const QString &caption);
    void RemoveFileTab(int d);
    // The tab text and, for the active document, the frame's caption after
    // the document's name or modified state changed.
    void ShowDocumentState(int d);
    // A window just added to the area: cascaded from the top left when it
    // does not fit where it was placed.
    void PlaceNewWindow(QMdiSubWindow *sub);
    int TabIndexOf(int d) const;
    QMdiSubWindow *SubWindowOf(int d) const;

    Hooks m_hooks;
    Prompts *m_prompts = nullptr;
    DocTable m_docs;
    std::vector<fEdit *> m_editors{nullptr}; // index d; 0 unused
    QTabBar *tabOpenFiles = nullptr;
    QMdiArea *m_mdi = nullptr;
    bool m_closingAll = false;  // shutdown: queries already answered
    int m_pendingArrange = -1;  // an arrangement asked for before the area showed
    int m_zoom = 0;             // steps from the font size, for every editor
    std::string m_lastFolder;
};

} // namespace varkel
