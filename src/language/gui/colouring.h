#pragma once
// Colouring: the vocabulary of the command set in use (the dictionary), the
// colouring passes over a document (whole text and line by line), the
// editors' colours and font, and comment blocks. What it needs of the rest
// of the window it asks through its hooks; the frame fills them in.

#include "app/errors.h"
#include "language/dictionary.h"
#include "language/gamedetect.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class QTimer;
class QWidget;

namespace varkel {

class Prompts;
class RichEdit;
class fEdit;

class Colouring {
public:
    struct Hooks {
        std::function<void(const QString &text, bool allowReset)> statusTip;
        std::function<void(const Error &)> reportError;
        std::function<void()> setEditStates;
        // The menu's radio item and the toolbar button of a choice
        // ("cmnuQ2" / "tbQ2"; a button key may be empty).
        std::function<void(const std::string &menuKey, const std::string &buttonKey)> radioCheck;
        // The insertion tools: refilled from a new dictionary, and whether
        // their lists show the keyword colours.
        std::function<void()> dictionaryBuilt;
        std::function<void(bool coloured)> textColorsChanged;
        // The documents: the active editor, every open one, whether a
        // document or the options dialog is open, the options dialog's
        // preview, and reading the active script's bindings anew.
        std::function<RichEdit *()> activeEditor;
        std::function<std::vector<RichEdit *>()> openEditors;
        std::function<bool()> anyFormOpen;
        std::function<void()> refreshPreviews;
        std::function<void(RichEdit *)> rereadBindings;
        // The command set a document's editor is coloured with; empty: the
        // set in use.
        std::function<std::string(RichEdit *)> commandSetOf;
        // The user chose a set for the active document (and as the default).
        std::function<void(const std::string &)> commandSetChosen;
    };

    // Dialogs open over `parent`.
    explicit Colouring(QWidget *parent);
    ~Colouring();

    void SetHooks(Hooks hooks);
    void SetPrompts(Prompts *prompts) { m_prompts = prompts; }

    // Reads the vocabulary of a command set; reports a failure, and marks and
    // stores the set only when the whole build succeeded.
    void BuildDictionary(const std::string &commandSet);
    // The command-set switch of the Options menu and the toolbar.
    void SwitchCommandSet(const std::string &commandSet);
    const GameDictionary &Dictionary() const { return m_dict; }
    // Makes `commandSet` the set in use (the active document's) without
    // storing it as the default: the dictionary is taken from those already
    // read when it can be, and the insertion lists and the Q buttons follow.
    void UseCommandSet(const std::string &commandSet);
    // The dictionary of any set, read once; the one in use for an empty set.
    const GameDictionary &DictionaryFor(const std::string &commandSet);
    // The set a script's words point to, with `defaultSet` when they cannot
    // tell.
    GameDetection DetectCommandSet(std::string_view text, const std::string &defaultSet);

    // Colours text that starts at position offset of an editor.
    void SyntaxHiLite(RichEdit *control, std::string_view text, long offset, bool quiet, bool noDocument);
    // Colours the whole text of an editor (offset 0, not quiet).
    void SyntaxHiLiteAll(RichEdit *control);
    // The same for a text just read: its start (the lines a window shows
    // first) is coloured now, the rest a piece at a time while the program
    // waits for input. The styles it ends with are those of SyntaxHiLiteAll;
    // an edit before it ends makes it one whole pass.
    void SyntaxHiLiteAllSoon(RichEdit *control);
    // Whether a pass of SyntaxHiLiteAllSoon is still under way for control,
    // and finishing every such pass now (tests, the benchmark).
    bool HiLitePending(const RichEdit *control) const;
    void FinishPendingHiLite();
    // The bytes a piece of such a pass colours (tests make it small).
    static inline std::size_t s_idlePieceSize = std::size_t(256) << 10;
    // After an edit (Undo, Redo, Cut, Delete, Paste...): colours the lines
    // changed since the editor's last pass when that gives the styles of a
    // whole pass, and the whole text otherwise.
    void SyntaxHiLiteEdited(RichEdit *control);
    // Colours one line of a document window: `line`, or the caret's line plus lineOffset.
    void RealTimeHiLite(fEdit *w, int lineOffset, int line = -1);
    void SetAutoSyntax(int mode, bool fromDialog);
    void SetSyntaxColors(bool fromDialog);
    void SetEditorForeColor();
    void SetEditorBGColor();
    void SetEditorFont();
    void InsertCommentBlock();

    // An editor takes the token colours, background and font.
    void ApplyEditorSettings(RichEdit *editor);
    // Every open editor (and an open options preview) takes them.
    void ApplyEditorSettingsToAll();

private:
    QWidget *m_parent;
    Prompts *m_prompts = nullptr;
    Hooks m_hooks;
    GameDictionary m_dict;                         // the set in use
    std::map<std::string, GameDictionary> m_other; // sets read before, not in use
    GameDetector m_detector;                       // learnt on first use
    bool m_detectorTried = false;

    // What the last whole pass over an editor left behind, for colouring
    // only the changed lines later: the change it saw last, how it coloured,
    // and whether every line's colours depend on that line alone.
    struct PassMark {
        QPointer<RichEdit> editor;
        std::uint64_t serial = 0;
        std::string set;
        bool colorStrings = false;
        bool lineLocal = false;
    };
    std::map<const RichEdit *, PassMark> m_passes;
    // Whole passes that go on in idle time: where the next piece starts,
    // the change the pass began at, and whether its pieces so far were
    // line-local.
    struct IdlePass {
        QPointer<RichEdit> editor;
        std::size_t next = 0;
        std::uint64_t serial = 0;
        std::string set;
        bool colorStrings = false;
        bool lineLocal = true;
        QMetaObject::Connection beforeChange; // finishes the pass before the text changes
    };
    std::map<const RichEdit *, IdlePass> m_idle;
    // Ends the editor's pass under way, if any: colours the rest of the text
    // as it still is (finish), or drops it.
    void endIdlePass(const RichEdit *control, bool finish);
    std::unique_ptr<QTimer> m_idleTimer;
    // Colours the next piece of a pass; false once the pass has ended.
    bool hiLiteNextPiece(IdlePass &pass);
    void hiLiteIdleSlice();
    void applyStyles(RichEdit *control, const std::vector<std::pair<long, std::string>> &styles,
                     bool collapseSelection, bool showStatus);
};

} // namespace varkel
