#pragma once
// Running a script with everything it `exec`s, as the game does: the commands
// of an exec'd script run at its `exec` line, then reading goes on with the
// next command.
//
// `exec NAME` looks NAME up in the folder of the script holding the line, then
// in the folder of the starting script; in each folder NAME is tried, then,
// when NAME has no extension, NAME.cfg. The first regular file found runs. A
// script already running further up the chain is not run again (a cycle), and
// a name that finds no file is missing: both are noted with the place of the
// `exec` line, and reading goes on.

#include "bindings/scriptreader.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace varkel {

class ScriptFiles;

// The folder part of a script's path, as the path writes it: "cfg/a.cfg" is
// in "cfg", "/a.cfg" in "/", and "a.cfg" in "" (the current folder).
std::string ScriptFolder(std::string_view path);

// folder + "/" + name; just name in the current folder (""), and no second
// "/" after a folder that ends in one.
std::string JoinScriptPath(std::string_view folder, std::string_view name);

// Whether the last part of NAME (after its last "/") has an extension: a dot
// after its first character.
bool HasExtension(std::string_view name);

struct ExecTarget {
    std::string path;     // the folder searched + "/" + the file name found
    std::string identity; // the file's key (see ScriptFiles::fileIdentity)
};

// The script `exec NAME` runs from a script in `holderFolder` when the chain
// started in `startFolder`, or nothing when NAME finds no regular file.
std::optional<ExecTarget> FindExecScript(ScriptFiles &files, std::string_view name, std::string_view holderFolder,
                                         std::string_view startFolder);

// A script the chain has met (run, or run again later, under one path).
struct ChainScript {
    std::string path;     // the starting script's path as given, or ExecTarget::path
    std::string folder;   // ScriptFolder(path)
    std::string identity; // its file's key; for a starting script that is no file, its path
    std::string_view text; // its bytes, valid as long as the chain
};

enum class ExecNoteKind {
    Missing, // NAME finds no file (or the file cannot be read)
    Cycle,   // the script found is already running up the chain
    Limit,   // the chain has run so many bytes that no more scripts are run
};

// "missing", "cycle", "limit".
std::string_view ExecNoteKindName(ExecNoteKind kind);

// An `exec` line whose script did not run.
struct ExecNote {
    ExecNoteKind kind = ExecNoteKind::Missing;
    std::size_t script = 0;       // index in ExecChain::scripts() of the script holding the line
    int line = 0;                 // 0-based line of the `exec` command
    std::size_t lineStart = 0;    // byte offset where that line begins
    std::size_t position = 0;     // byte offset of the `exec` word
    std::size_t namePosition = 0; // byte offset of NAME (its opening quote when quoted)
    std::string name;             // NAME as written, without quotes
};

class ExecChain
{
public:
    // A chain runs no more script after it has run this many bytes in all (a
    // few scripts that each exec the next one twice would otherwise keep the
    // reader busy for ever); the game would run them all.
    static constexpr std::size_t kDefaultRunLimit = std::size_t(256) << 20;

    // Called for every command in the order the game runs them, the `exec`
    // commands included (before the script they run); `script` is its index
    // in scripts().
    using CommandHandler = std::function<void(std::size_t script, const ScriptCommand &command)>;

    explicit ExecChain(ScriptFiles &files, std::size_t runLimit = kDefaultRunLimit);
    ~ExecChain();
    ExecChain(const ExecChain &) = delete;
    ExecChain &operator=(const ExecChain &) = delete;

    // Runs the script at `startPath` whose bytes are `startText` (the
    // editor's text, which may differ from the file's), and every script it
    // execs. Each file is read at most once per run. A second run starts afresh.
    void run(std::string_view startPath, std::string startText, const CommandHandler &onCommand);

    // The scripts met, the starting one first, in the order they first ran.
    const std::vector<ChainScript> &scripts() const { return m_scripts; }
    // The `exec` lines whose script did not run, in the order met.
    const std::vector<ExecNote> &notes() const { return m_notes; }

private:
    struct Loaded;
    Loaded *load(const std::string &identity, const std::string &path);
    std::size_t scriptAt(const std::string &path, const std::string &identity, Loaded *loaded);

    ScriptFiles &m_files;
    std::size_t m_runLimit;
    std::vector<ChainScript> m_scripts;
    std::vector<Loaded *> m_scriptTexts; // each script's loaded file, by script index
    std::vector<ExecNote> m_notes;
    std::unordered_map<std::string, std::unique_ptr<Loaded>> m_loaded; // by identity
    std::unordered_map<std::string, std::size_t> m_byPath;
};

} // namespace varkel
