// Running a script with everything it execs, over scripts held in memory that
// exec each other (cycles included): the run ends, each file is read once,
// every command handed over lies inside its own script, the commands come in
// the order a plain recursive run gives, and the bindings that result are
// those the commands make.
// Targets: src/bindings/execchain.cpp src/bindings/effectivebindings.cpp src/bindings/memoryscriptfiles.cpp
//
// Input: an options byte (bits 0-1: the starting path; bits 2-4: the file
// made unreadable, 0 for none; bits 5-6: the run limit; bit 7: run the same
// chain twice), then the editor's text of the starting script and up to
// seven files, separated by NUL bytes.

#include "support.h"

#include "bindings/effectivebindings.h"
#include "bindings/execchain.h"
#include "bindings/memoryscriptfiles.h"

#include <array>
#include <map>
#include <optional>

using namespace varkel;

namespace {

// Where the files live: a folder of scripts, a subfolder, the current
// folder, names with and without ".cfg".
constexpr std::array<const char *, 7> kFilePaths{"cfg/autoexec.cfg", "cfg/b.cfg", "cfg/c", "d.cfg",
                                                 "cfg/sub/e.cfg", "f", "cfg/g.txt"};
// The starting script: a file, a new document, a file in the current
// folder, and a file named by a roundabout path.
constexpr std::array<const char *, 4> kStartPaths{"cfg/autoexec.cfg", "cfg/new.cfg", "d.cfg", "./cfg/sub/../sub/e.cfg"};
constexpr std::array<std::size_t, 4> kRunLimits{256, 4096, 65536, 262144};

// A command as the plain run hands it over.
struct Step {
    std::size_t script = 0;
    int line = 0;
    std::size_t start = 0, end = 0, words = 0;
};

// The game's rules once more, run by recursion: a script's commands in
// order, each exec'd script run where its `exec` stands.
class ReferenceChain
{
public:
    ReferenceChain(ScriptFiles &files, std::size_t limit) : m_files(files), m_limit(limit) {}

    void run(const std::string &startPath, const std::string &startText)
    {
        const std::string identity = m_files.fileIdentity(startPath).value_or(std::string(1, '\0') + startPath);
        Loaded &first = m_loaded[identity];
        first.text = startText;
        m_ran = startText.size();
        runScript(scriptAt(startPath, first), first);
    }

    std::vector<std::string> paths;
    std::vector<Step> steps;
    std::vector<ExecNote> notes;

private:
    struct Loaded {
        std::string text;
        bool readable = true;
        bool running = false;
    };

    std::size_t scriptAt(const std::string &path, const Loaded &)
    {
        const auto [it, added] = m_byPath.emplace(path, paths.size());
        if (added)
            paths.push_back(path);
        return it->second;
    }

    static std::string folderOf(const std::string &path)
    {
        std::size_t slash = path.rfind('/');
        if (slash == std::string::npos)
            return {};
        while (slash > 0 && path[slash - 1] == '/')
            --slash;
        return slash == 0 ? "/" : path.substr(0, slash);
    }

    // The path `exec name` finds from a script in `holder`, or nothing.
    std::optional<std::string> find(const std::string &name, const std::string &holder)
    {
        if (name.empty())
            return std::nullopt;
        const std::size_t slash = name.rfind('/');
        const std::string last = slash == std::string::npos ? name : name.substr(slash + 1);
        const bool bare = last.find('.', 1) == std::string::npos;
        std::vector<std::string> folders{holder};
        const std::string startFolder = folderOf(paths.front());
        if (startFolder != holder)
            folders.push_back(startFolder);
        for (const std::string &folder : folders) {
            const std::string path = folder.empty() ? name : folder.back() == '/' ? folder + name : folder + "/" + name;
            if (m_files.fileIdentity(path))
                return path;
            if (bare && m_files.fileIdentity(path + ".cfg"))
                return path + ".cfg";
        }
        return std::nullopt;
    }

    void runScript(std::size_t script, Loaded &loaded)
    {
        loaded.running = true;
        const std::string folder = folderOf(paths[script]);
        ScriptReader reader(loaded.text);
        ScriptCommand command;
        while (reader.next(command)) {
            steps.push_back(Step{script, command.line, command.start, command.end, command.words.size()});
            if (!command.is("exec") || command.word(1).empty())
                continue;
            ExecNote note;
            note.script = script;
            note.line = command.line;
            note.lineStart = command.lineStart;
            note.position = command.start;
            note.namePosition = command.words[1].start;
            note.name = command.words[1].text;
            const std::optional<std::string> path = find(note.name, folder);
            Loaded *target = nullptr;
            if (path) {
                const std::string identity = *m_files.fileIdentity(*path);
                const auto [it, added] = m_loaded.try_emplace(identity);
                if (added) {
                    if (std::optional<std::string> bytes = m_files.readScript(*path))
                        it->second.text = std::move(*bytes);
                    else
                        it->second.readable = false;
                }
                target = &it->second;
            }
            if (!target || !target->readable) {
                notes.push_back(note);
            } else if (target->running) {
                note.kind = ExecNoteKind::Cycle;
                notes.push_back(note);
            } else if (m_ran + target->text.size() > m_limit) {
                if (!m_limitNoted) {
                    note.kind = ExecNoteKind::Limit;
                    notes.push_back(note);
                    m_limitNoted = true;
                }
            } else {
                m_ran += target->text.size();
                runScript(scriptAt(*path, *target), *target);
            }
        }
        loaded.running = false;
    }

    ScriptFiles &m_files;
    std::size_t m_limit;
    std::size_t m_ran = 0;
    bool m_limitNoted = false;
    std::map<std::string, Loaded> m_loaded; // by identity; a map keeps its elements in place
    std::map<std::string, std::size_t> m_byPath;
};

bool sameNote(const ExecNote &a, const ExecNote &b)
{
    return a.kind == b.kind && a.script == b.script && a.line == b.line && a.lineStart == b.lineStart &&
           a.position == b.position && a.namePosition == b.namePosition && a.name == b.name;
}

// What a binding records, by lower-case key.
struct Bound {
    std::string command;
    std::size_t script = 0;
    int line = 0;
    std::size_t position = 0, commandStart = 0, commandEnd = 0;
};

void applyBinding(std::map<std::string, Bound> &table, std::size_t script, const ScriptCommand &command)
{
    const std::string head = fuzz::lowerAscii(command.word(0));
    if (head == "bind" && command.words.size() >= 3 && !command.word(1).empty()) {
        Bound b{std::string(command.word(2)), script, command.line, command.start, command.words[2].start, command.end};
        for (std::size_t i = 3; i < command.words.size(); ++i)
            b.command += " " + std::string(command.word(i));
        table[fuzz::lowerAscii(command.word(1))] = b;
    } else if (head == "unbind" && command.words.size() >= 2) {
        table.erase(fuzz::lowerAscii(command.word(1)));
    } else if (head == "unbindall") {
        table.clear();
    }
}

void checkPathHelpers(std::string_view name)
{
    const std::string folder = ScriptFolder(name);
    FUZZ_CHECK(name.substr(0, folder.size()) == folder);
    FUZZ_CHECK(folder == "/" || folder.empty() || folder.back() != '/');
    FUZZ_CHECK(folder.empty() == (name.find('/') == std::string_view::npos));
    const std::string joined = JoinScriptPath(folder, "x.cfg");
    FUZZ_CHECK(ScriptFolder(joined) == folder);
    FUZZ_CHECK(HasExtension(joined) && !HasExtension(JoinScriptPath(folder, "x")));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size);
    const std::string startPath = kStartPaths[input.options() & 3u];
    const std::size_t unreadable = (input.options() >> 2) & 7u;
    const std::size_t limit = kRunLimits[(input.options() >> 5) & 3u];
    const std::string startText(input.part(0));

    MemoryScriptFiles files;
    std::size_t fileCount = 0;
    for (std::size_t i = 1; i < input.partCount() && i <= kFilePaths.size(); ++i, ++fileCount)
        files.add(kFilePaths[i - 1], std::string(input.part(i)));
    if (unreadable > 0 && unreadable <= fileCount)
        files.makeUnreadable(kFilePaths[unreadable - 1]);

    ReferenceChain reference(files, limit);
    reference.run(startPath, startText);

    ExecChain chain(files, limit);
    for (int round = 0; round < (input.option(7) ? 2 : 1); ++round) {
        const int readsBefore = files.reads();
        std::size_t step = 0;
        std::map<std::string, Bound> table;
        chain.run(startPath, startText, [&](std::size_t script, const ScriptCommand &command) {
            // Inside a script already met, and inside that script's bytes.
            FUZZ_CHECK(script < chain.scripts().size());
            const std::string_view text = chain.scripts()[script].text;
            FUZZ_CHECK(command.end <= text.size());
            for (const ScriptWord &w : command.words)
                FUZZ_CHECK(w.text.data() >= text.data() && w.text.data() + w.text.size() <= text.data() + text.size());
            // The very command the plain run hands over at this point.
            FUZZ_CHECK(step < reference.steps.size());
            const Step &want = reference.steps[step++];
            FUZZ_CHECK(script == want.script && command.line == want.line && command.start == want.start &&
                       command.end == want.end && command.words.size() == want.words);
            applyBinding(table, script, command);
        });
        FUZZ_CHECK(step == reference.steps.size());
        // Each file is read once at most; the starting text is the caller's.
        FUZZ_CHECK(static_cast<std::size_t>(files.reads() - readsBefore) <= fileCount);

        const std::vector<ChainScript> &scripts = chain.scripts();
        FUZZ_CHECK(scripts.size() == reference.paths.size());
        FUZZ_CHECK(scripts.front().path == startPath && scripts.front().text == startText);
        for (std::size_t i = 0; i < scripts.size(); ++i) {
            FUZZ_CHECK(scripts[i].path == reference.paths[i]);
            FUZZ_CHECK(scripts[i].folder == ScriptFolder(scripts[i].path));
            if (i > 0) {
                FUZZ_CHECK(scripts[i].identity == MemoryScriptFiles::normalPath(scripts[i].path));
                FUZZ_CHECK(files.readScript(scripts[i].path) == std::optional<std::string>(scripts[i].text));
            }
        }
        const std::vector<ExecNote> &notes = chain.notes();
        FUZZ_CHECK(notes.size() == reference.notes.size());
        std::size_t limits = 0;
        for (std::size_t i = 0; i < notes.size(); ++i) {
            const ExecNote &n = notes[i];
            FUZZ_CHECK(sameNote(n, reference.notes[i]));
            FUZZ_CHECK(n.script < scripts.size());
            const std::string_view text = scripts[n.script].text;
            FUZZ_CHECK(n.lineStart <= n.position && n.position < n.namePosition && n.namePosition < text.size());
            FUZZ_CHECK(!n.name.empty() && text.substr(n.namePosition).find(n.name) <= 1);
            FUZZ_CHECK(!ExecNoteKindName(n.kind).empty());
            limits += n.kind == ExecNoteKind::Limit;
            checkPathHelpers(n.name);
        }
        FUZZ_CHECK(limits <= 1);

        // The bindings: those the commands make, in key order, each pointing
        // at its bind line.
        const int readsBeforeBindings = files.reads();
        const EffectiveBindings effective = GetEffectiveBindings(startPath, startText, files, limit);
        FUZZ_CHECK(static_cast<std::size_t>(files.reads() - readsBeforeBindings) <= fileCount);
        FUZZ_CHECK(effective.scripts == reference.paths);
        FUZZ_CHECK(effective.notes.size() == notes.size());
        for (std::size_t i = 0; i < notes.size(); ++i)
            FUZZ_CHECK(sameNote(effective.notes[i], notes[i]));
        FUZZ_CHECK(effective.bindings.size() == table.size());
        auto expected = table.begin();
        for (const EffectiveBinding &b : effective.bindings) {
            FUZZ_CHECK(b.key == expected->first);
            const Bound &e = expected->second;
            FUZZ_CHECK(b.command == e.command && b.script == e.script && b.line == e.line && b.position == e.position &&
                       b.commandStart == e.commandStart && b.commandEnd == e.commandEnd);
            FUZZ_CHECK(b.script < scripts.size());
            FUZZ_CHECK(b.position < b.commandStart && b.commandStart <= b.commandEnd &&
                       b.commandEnd <= scripts[b.script].text.size());
            ++expected;
        }
    }
    return 0;
}
