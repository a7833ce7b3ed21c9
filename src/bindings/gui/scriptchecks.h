#pragma once
// The checks of the open scripts while they are typed, and the completion
// list. Each editor's findings show as squiggles (Scintilla indicators:
// never part of undo, never a change of the text), with the message on
// hover and in the status bar when the caret is on one; the active script's
// findings are listed in the Problems dock. A keystroke re-checks the lines
// it changed at once (LineLinter); the findings that span lines come from a
// check of the whole script once typing pauses.
//
// What it needs of the rest of the window it asks through its hooks; the
// frame fills them in.

#include "app/errors.h"
#include "bindings/lint.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QTimer;
class QWidget;

namespace varkel {

class GameDictionary;
class ProblemsList;
class RichEdit;
struct CompletionList;
struct ProblemRow;

class ScriptChecks : public QObject {
    Q_OBJECT
public:
    // The Scintilla indicators of the two severities.
    static constexpr int kWarningIndicator = 20;
    static constexpr int kNoteIndicator = 21;
    // How long typing must pause before the whole script is checked.
    static constexpr int kPauseMs = 300;

    struct Hooks {
        std::function<RichEdit *()> activeEditor;
        std::function<std::vector<RichEdit *>()> openEditors;
        // The command set the editor's script is read with, and the path of
        // its file ("" while it has none).
        std::function<std::string(RichEdit *)> commandSetOf;
        std::function<std::string(RichEdit *)> pathOf;
        // The dictionary of a command set (read once).
        std::function<const GameDictionary *(const std::string &set)> dictionaryFor;
        std::function<void(const QString &text, bool allowReset)> statusTip;
        std::function<void()> resetStatusTip;
        std::function<void(std::string_view command, bool checked)> checkCommand;
        std::function<void(const Error &)> reportError;
    };

    explicit ScriptChecks(QObject *parent = nullptr);
    ~ScriptChecks() override;

    void SetHooks(Hooks hooks);

    // An editor starts to be checked (once; it is forgotten when destroyed).
    void Attach(RichEdit *editor);
    // "Check scripts while typing" or "Offer completions" changed: findings
    // appear or go.
    void ApplySettings();
    // Every open script is checked again now (a new command set, new names).
    void RecheckAll();
    // The same once typing pauses (a command set was chosen: the switch comes first).
    void RecheckAllAfterPause();
    // The squiggles take colours that suit each editor's background again.
    void RestyleAll();
    // The whole script is checked now if a check is pending (tests, the
    // benchmark).
    void CheckNow(RichEdit *editor);
    // The active document changed: the Problems list follows it.
    void ActiveChanged();

    // The findings of an editor, in text order, with their present places.
    std::vector<LintFinding> Findings(RichEdit *editor) const;
    // The finding that covers position `pos` (or ends there), if any.
    std::optional<LintFinding> FindingAt(RichEdit *editor, long pos) const;

    // F8 / Shift+F8: selects the next / previous finding of the active
    // script after / before the selection, wrapping at the ends.
    void GoToFinding(bool forward);

    // The unknown name under the mouse pointer in the active editor, or
    // else under its caret ("" when none), for the Edit menu's "Add NAME to
    // my names". Remembered for AddMyNameFromMenu.
    std::string MyNameForMenu();
    // Adds a name to the user's names of the active script's set, stores it
    // beside the settings file and checks the open scripts again.
    void AddMyName(const std::string &name);
    // Adds the name MyNameForMenu last gave.
    void AddMyNameFromMenu();

    // The Problems dock (the frame places it), and its menu command.
    ProblemsList *BuildProblemsList(QWidget *parent);
    ProblemsList *Problems() const;
    void ToggleProblemsList();

    // The completion list last offered (tests).
    const CompletionList &LastCompletion() const;

private:
    struct EditorState;
    EditorState *StateOf(RichEdit *editor) const;
    const LintVocabulary &VocabularyFor(const std::string &set);
    void OnBeforeChange(EditorState &s, long position, int type, long length);
    void OnContentChanged(EditorState &s);
    void CheckLines(EditorState &s, int first, int last);
    void CheckWhole(EditorState &s);
    void Clear(EditorState &s);
    void Paint(EditorState &s, long from, long to);
    void StyleIndicators(RichEdit *editor);
    void UpdateProblems();
    void ShowCaretFinding(EditorState &s);
    void ShowHover(EditorState &s, long position, int x, int y);
    void OfferCompletions(EditorState &s);
    ProblemRow RowOf(const EditorState &s, const LintFinding &f) const;

    Hooks m_hooks;
    std::map<RichEdit *, std::unique_ptr<EditorState>> m_editors;
    std::map<std::string, std::unique_ptr<LintVocabulary>> m_vocabularies;
    QPointer<ProblemsList> m_problems; // a child of the frame, which may go first
    std::unique_ptr<CompletionList> m_lastCompletion;
    std::string m_menuName; // the name MyNameForMenu last gave
};

} // namespace varkel
