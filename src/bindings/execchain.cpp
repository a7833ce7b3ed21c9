#include "bindings/execchain.h"

#include "bindings/scriptfiles.h"

namespace varkel {

std::string ScriptFolder(std::string_view path)
{
    std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    // "a//b" is in "a"; "/b" and "//b" in "/".
    while (slash > 0 && path[slash - 1] == '/')
        --slash;
    return slash == 0 ? std::string("/") : std::string(path.substr(0, slash));
}

std::string JoinScriptPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += name;
    return path;
}

bool HasExtension(std::string_view name)
{
    const std::size_t slash = name.rfind('/');
    const std::string_view last = slash == std::string_view::npos ? name : name.substr(slash + 1);
    const std::size_t dot = last.rfind('.');
    return dot != std::string_view::npos && dot > 0;
}

std::optional<ExecTarget> FindExecScript(ScriptFiles &files, std::string_view name, std::string_view holderFolder,
                                         std::string_view startFolder)
{
    if (name.empty())
        return std::nullopt;
    const bool tryCfg = !HasExtension(name);
    const auto tryFolder = [&](std::string_view folder) -> std::optional<ExecTarget> {
        std::string path = JoinScriptPath(folder, name);
        if (std::optional<std::string> id = files.fileIdentity(path))
            return ExecTarget{std::move(path), std::move(*id)};
        if (tryCfg) {
            path += ".cfg";
            if (std::optional<std::string> id = files.fileIdentity(path))
                return ExecTarget{std::move(path), std::move(*id)};
        }
        return std::nullopt;
    };
    if (std::optional<ExecTarget> found = tryFolder(holderFolder))
        return found;
    if (startFolder != holderFolder)
        return tryFolder(startFolder);
    return std::nullopt;
}

std::string_view ExecNoteKindName(ExecNoteKind kind)
{
    switch (kind) {
    case ExecNoteKind::Missing:
        return "missing";
    case ExecNoteKind::Cycle:
        return "cycle";
    case ExecNoteKind::Limit:
        return "limit";
    }
    return {};
}

// A file's bytes, read once however often the chain runs it.
struct ExecChain::Loaded {
    std::string text;
    bool readable = true;
    bool running = false;
};

ExecChain::ExecChain(ScriptFiles &files, std::size_t runLimit) : m_files(files), m_runLimit(runLimit) {}

ExecChain::~ExecChain() = default;

ExecChain::Loaded *ExecChain::load(const std::string &identity, const std::string &path)
{
    auto [it, added] = m_loaded.try_emplace(identity);
    if (added) {
        it->second = std::make_unique<Loaded>();
        if (std::optional<std::string> bytes = m_files.readScript(path))
            it->second->text = std::move(*bytes);
        else
            it->second->readable = false;
    }
    return it->second.get();
}

std::size_t ExecChain::scriptAt(const std::string &path, const std::string &identity, Loaded *loaded)
{
    const auto [it, added] = m_byPath.try_emplace(path, m_scripts.size());
    if (added) {
        m_scripts.push_back(ChainScript{path, ScriptFolder(path), identity, loaded->text});
        m_scriptTexts.push_back(loaded);
    }
    return it->second;
}

void ExecChain::run(std::string_view startPath, std::string startText, const CommandHandler &onCommand)
{
    m_scripts.clear();
    m_scriptTexts.clear();
    m_notes.clear();
    m_loaded.clear();
    m_byPath.clear();

    const std::string start(startPath);
    // A starting script that is no file (a new document) is known by its
    // path, behind a byte no file key holds.
    std::string startIdentity = m_files.fileIdentity(start).value_or(std::string(1, '\0') + start);
    auto startLoaded = std::make_unique<Loaded>();
    startLoaded->text = std::move(startText);
    Loaded *first = startLoaded.get();
    m_loaded.emplace(startIdentity, std::move(startLoaded));
    scriptAt(start, startIdentity, first);

    // The scripts running, innermost last; a loop rather than recursion, so
    // that a long chain cannot exhaust the stack.
    struct Frame {
        std::size_t script;
        ScriptReader reader;
    };
    std::vector<Frame> running;
    running.push_back(Frame{0, ScriptReader(first->text)});
    first->running = true;
    std::size_t ranBytes = first->text.size();
    bool limitNoted = false;

    ScriptCommand command;
    while (!running.empty()) {
        Frame &frame = running.back();
        const std::size_t holder = frame.script;
        if (!frame.reader.next(command)) {
            m_scriptTexts[holder]->running = false;
            running.pop_back();
            continue;
        }
        if (onCommand)
            onCommand(holder, command);
        if (!command.is("exec") || command.word(1).empty())
            continue;

        const ScriptWord &name = command.words[1];
        ExecNote note;
        note.script = holder;
        note.line = command.line;
        note.lineStart = command.lineStart;
        note.position = command.start;
        note.namePosition = name.start;
        note.name = name.text;
        std::optional<ExecTarget> target =
            FindExecScript(m_files, name.text, m_scripts[holder].folder, m_scripts.front().folder);
        Loaded *loaded = target ? load(target->identity, target->path) : nullptr;
        if (!loaded || !loaded->readable) {
            m_notes.push_back(std::move(note));
            continue;
        }
        if (loaded->running) {
            note.kind = ExecNoteKind::Cycle;
            m_notes.push_back(std::move(note));
            continue;
        }
        if (ranBytes + loaded->text.size() > m_runLimit) {
            if (!limitNoted) {
                note.kind = ExecNoteKind::Limit;
                m_notes.push_back(std::move(note));
                limitNoted = true;
            }
            continue;
        }
        ranBytes += loaded->text.size();
        const std::size_t script = scriptAt(target->path, target->identity, loaded);
        loaded->running = true;
        running.push_back(Frame{script, ScriptReader(loaded->text)});
    }
}

} // namespace varkel
