#pragma once
// Checking a script for the mistakes the game does not report: a quote left
// open, a key the game does not know, a key bound twice, an `exec` of a
// script that is not there or already running, an alias (or a `vstr`
// variable) that runs itself for ever, and a first word that is no command,
// console variable, alias or variable.
//
// Scripts are read by the game's own rules (ScriptReader); the bodies of
// `alias`, `bind` and, for the variables a `vstr` runs, `set` are read as
// scripts of their own, since the game runs them as such.
//
// Three findings depend on one line alone, given the names the script
// defines: unclosed-quote, unknown-key and unknown-name. An editor re-checks
// a line with LintLine as it is typed and runs LintScript for the others
// (duplicate-bind, exec-missing, exec-cycle, alias-loop) when typing pauses.
// Both are linear in the length of what they read.

#include "bindings/scriptreader.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace varkel {

class GameDictionary;
class ScriptFiles;

enum class LintCode {
    UnclosedQuote,
    UnknownKey,
    DuplicateBind,
    ExecMissing,
    ExecCycle,
    AliasLoop,
    UnknownName,
};
inline constexpr int kLintCodeCount = 7;

enum class LintSeverity {
    Warning,
    Note,
};

// "unclosed-quote", "unknown-key", "duplicate-bind", "exec-missing",
// "exec-cycle", "alias-loop", "unknown-name".
std::string_view LintCodeName(LintCode code);
// "warning", "note".
std::string_view LintSeverityName(LintSeverity severity);
// Note for unknown-name (mods add their own names), warning for the others.
LintSeverity LintSeverityOf(LintCode code);
// Whether the finding depends on its own line only (given the script's
// names): unclosed-quote, unknown-key, unknown-name.
bool IsLineLocal(LintCode code);

struct LintFinding {
    LintCode code = LintCode::UnknownName;
    LintSeverity severity = LintSeverity::Note;
    int line = 0;              // 0-based line
    std::size_t column = 0;    // 0-based byte column in that line
    std::size_t position = 0;  // byte offset in the script
    std::size_t length = 0;    // bytes the finding covers, at least 1
    std::string message;       // plain words, without the code
    std::string name;          // the word concerned (for unknown-name, the name "my names" would take)
};

struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};
using NameSet = std::unordered_set<std::string, NameHash, std::equal_to<>>;

// The game's vocabulary as the checks and the completion list need it, and
// the user's own names. Built once per command set.
class LintVocabulary
{
public:
    LintVocabulary() = default;
    explicit LintVocabulary(const GameDictionary &dict);

    const std::string &set() const { return m_set; }
    // Q3: variables run by `vstr` rather than aliases.
    bool usesVstr() const { return m_vstr; }

    // Whether a lower-case word is a command or console variable of the set.
    bool isCommandOrCvar(std::string_view lower) const { return m_names.find(lower) != m_names.end(); }
    // Whether a lower-case word is one of the user's own names.
    bool isUserName(std::string_view lower) const { return m_userNames.find(lower) != m_userNames.end(); }
    // Whether a word (any case) names a key: a key name of the set, panel
    // or not, one printable character, or in Q3 a key number "0xNN".
    bool isKey(std::string_view word) const;

    // The user's own names (any case; kept in lower case). They silence
    // unknown-name and are offered for completion.
    void setUserNames(const std::vector<std::string> &names);
    void addUserName(std::string_view name);

    // Sorted, lower case, no repeats.
    const std::vector<std::string> &names() const { return m_sortedNames; }        // commands and cvars
    const std::vector<std::string> &keyNames() const { return m_sortedKeys; }      // every key name
    const std::vector<std::string> &userNames() const { return m_sortedUserNames; }

private:
    std::string m_set;
    bool m_vstr = false;
    NameSet m_names, m_keys, m_userNames;
    std::vector<std::string> m_sortedNames, m_sortedKeys, m_sortedUserNames;
};

// A list of the user's own names: one name a line (any line end); blanks
// around a name are dropped, blank lines skipped.
std::vector<std::string> ParseUserNames(std::string_view text);
// The list's text with `name` added as a line of its own, in the list's own
// line-end style (LF for an empty list); the text unchanged when the name
// is already there (in any case).
std::string WithUserName(std::string_view text, std::string_view name);

// The names a script defines and uses, over its exec chain.
struct ScriptNames {
    NameSet defined;      // aliases and variables (`alias`, `set`, `seta`, `sets`, `setu`), lower case
    NameSet runVariables; // variables some `vstr` runs (their values are scripts), lower case

    void merge(const ScriptNames &other);
};

// Whether a first word is known: a command or cvar of the set, a user's
// name, a defined alias or variable, or the +/- form of a known + name.
bool IsKnownName(std::string_view word, const LintVocabulary &vocab, const ScriptNames &names);

// Everything LintScript found, and what it learnt on the way.
struct LintReport {
    std::vector<LintFinding> findings; // in the order of their place in the script
    ScriptNames names;                 // those of the script's exec chain (plus any given)
};

// Checks a whole script. `path` and `files` find the scripts its `exec`
// lines run (see ExecChain); without files (a script with no folder yet)
// nothing is followed, and exec-missing and exec-cycle are not checked.
// `moreNames` are names defined elsewhere (other scripts of the player's
// setup) that count as known. Only findings in this script are returned.
LintReport LintScript(const LintVocabulary &vocab, std::string_view path, std::string_view text,
                      ScriptFiles *files, const ScriptNames *moreNames = nullptr);

// The names defined over a script's exec chain (as LintReport::names).
ScriptNames CollectScriptNames(const LintVocabulary &vocab, std::string_view path, std::string_view text,
                               ScriptFiles *files);

// The line-local findings of one line of `text`: the line that begins at
// byte `lineStart`, numbered `line`. `names` are those of the last
// LintScript (so an alias defined on another line is known).
std::vector<LintFinding> LintLine(const LintVocabulary &vocab, const ScriptNames &names, std::string_view text,
                                  std::size_t lineStart, int line);

// Where each line begins, as findings count lines (LF, CR LF and a lone CR
// each end one): what LintLine takes as `lineStart` for each `line`.
std::vector<std::size_t> LineStarts(std::string_view text);

// LintLine for an editor that re-checks lines as they are typed: the
// suggestions for unknown names are worked out once and kept. The
// vocabulary and names must outlive it; make a new one after a LintScript.
class LineLinter
{
public:
    LineLinter(const LintVocabulary &vocab, const ScriptNames &names);
    ~LineLinter();
    LineLinter(const LineLinter &) = delete;
    LineLinter &operator=(const LineLinter &) = delete;

    // Appends the line-local findings of the line of `text` that begins at
    // `lineStart`, numbered `line`, to `out`.
    void lintLine(std::string_view text, std::size_t lineStart, int line, std::vector<LintFinding> &out);

private:
    struct Checker;
    std::unique_ptr<Checker> m_checker;
};

// One finding as the command line prints it (without the path):
// "LINE:COLUMN: warning|note: MESSAGE [code]", 1-based line and column.
std::string FormatFinding(const LintFinding &finding);

// The known names nearest to `word` in spelling (edit distance with
// swapped neighbours: at most 1 for words of 3 to 5 bytes, 2 up to 9, then
// 3; none for shorter words), all at the smallest distance found, in name
// order, at most `limit`.
std::vector<std::string> NearestNames(std::string_view word, const std::vector<const std::vector<std::string> *> &lists,
                                      std::size_t limit = 3);

} // namespace varkel
