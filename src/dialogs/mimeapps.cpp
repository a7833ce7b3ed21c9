#include "dialogs/mimeapps.h"

#include "app/profile.h"
#include "dialogs/desktopfiles.h"
#include "documents/fileio.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace varkel {

namespace {

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The pieces of text between separators, without blanks around them; empty
// pieces are left out.
std::vector<std::string> split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    while (!text.empty()) {
        const std::size_t end = text.find(separator);
        const std::string_view part = TrimDesktopLine(text.substr(0, end));
        if (!part.empty())
            parts.emplace_back(part);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return parts;
}

// A colon-separated list of folders from the environment; relative entries
// do not count, and without any absolute one the defaults apply.
std::vector<std::string> folderList(const char *variable, std::vector<std::string> defaults)
{
    std::vector<std::string> dirs;
    if (const char *value = std::getenv(variable))
        for (std::string &dir : split(value, ':'))
            if (dir.front() == '/')
                dirs.push_back(std::move(dir));
    return dirs.empty() ? defaults : dirs;
}

std::string readText(const std::string &path)
{
    ReadResult r = ReadFileBytes(path);
    return r.error ? std::string() : std::move(r.bytes);
}

// Calls line(text) for every line of a file.
template <typename F>
void forEachLine(const std::string &path, F line)
{
    const std::string text = readText(path);
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        line(rest.substr(0, end));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
}

// The desktop ids listed for mimeType in one group of a mimeapps.list.
std::vector<std::string> idsIn(const ProfileFile &file, std::string_view group, std::string_view mimeType)
{
    return split(file.value(group, mimeType).value_or(std::string()), ';');
}

// The MIME database folders, most important first.
std::vector<std::string> mimeFolders(const DesktopPlaces &places)
{
    std::vector<std::string> dirs;
    if (!places.dataHome.empty())
        dirs.push_back(places.dataHome + "/mime");
    for (const std::string &dir : places.dataDirs)
        dirs.push_back(dir + "/mime");
    return dirs;
}

std::vector<std::string> applicationFolders(const DesktopPlaces &places)
{
    std::vector<std::string> dirs;
    if (!places.dataHome.empty())
        dirs.push_back(places.dataHome + "/applications");
    for (const std::string &dir : places.dataDirs)
        dirs.push_back(dir + "/applications");
    return dirs;
}

// Whether id names a file below dir, each '-' of the id possibly standing
// for a subfolder.
bool entryBelow(const std::string &dir, std::string_view id)
{
    std::error_code ec;
    if (std::filesystem::is_regular_file(dir + "/" + std::string(id), ec))
        return true;
    for (std::size_t dash = id.find('-'); dash != std::string_view::npos; dash = id.find('-', dash + 1)) {
        const std::string sub = dir + "/" + std::string(id.substr(0, dash));
        if (std::filesystem::is_directory(sub, ec) && entryBelow(sub, id.substr(dash + 1)))
            return true;
    }
    return false;
}

} // namespace

std::vector<std::string> XdgConfigDirs()
{
    return folderList("XDG_CONFIG_DIRS", {"/etc/xdg"});
}

std::vector<std::string> XdgDataDirs()
{
    return folderList("XDG_DATA_DIRS", {"/usr/local/share", "/usr/share"});
}

std::vector<std::string> CurrentDesktopNames()
{
    const char *value = std::getenv("XDG_CURRENT_DESKTOP");
    std::vector<std::string> names;
    for (const std::string &name : split(value ? value : "", ':'))
        names.push_back(lower(name));
    return names;
}

std::vector<std::string> MimeAppsListPaths(const DesktopPlaces &places)
{
    std::vector<std::string> folders;
    if (!places.configHome.empty())
        folders.push_back(places.configHome);
    folders.insert(folders.end(), places.configDirs.begin(), places.configDirs.end());
    if (!places.dataHome.empty())
        folders.push_back(places.dataHome + "/applications");
    for (const std::string &dir : places.dataDirs)
        folders.push_back(dir + "/applications");

    std::vector<std::string> paths;
    for (const std::string &folder : folders) {
        for (const std::string &desktop : places.desktopNames)
            paths.push_back(folder + "/" + desktop + "-mimeapps.list");
        paths.push_back(folder + "/mimeapps.list");
    }
    return paths;
}

std::string GlobMimeType(std::string_view extension, const DesktopPlaces &places)
{
    const std::string pattern = "*." + std::string(extension);
    const std::string patternLower = lower(pattern);
    std::string best;
    int bestWeight = -1;
    std::set<std::string> noGlobs; // types whose globs a more important folder cleared
    for (const std::string &dir : mimeFolders(places)) {
        std::set<std::string> clearedHere;
        forEachLine(dir + "/globs2", [&](std::string_view raw) {
            const std::string_view line = TrimDesktopLine(raw);
            if (line.empty() || line.front() == '#')
                return;
            // weight:type:pattern[:flags[:...]]
            const std::vector<std::string> fields = split(line, ':');
            if (fields.size() < 3)
                return;
            const std::string &type = fields[1], &glob = fields[2];
            if (glob == "__NOGLOBS__") {
                clearedHere.insert(type);
                return;
            }
            if (noGlobs.count(type))
                return;
            const bool caseSensitive = fields.size() > 3 && std::find(fields.begin() + 3, fields.end(), "cs") != fields.end();
            if (caseSensitive ? glob != pattern : lower(glob) != patternLower)
                return;
            const int weight = std::atoi(fields[0].c_str());
            if (weight > bestWeight) {
                bestWeight = weight;
                best = type;
            }
        });
        noGlobs.insert(clearedHere.begin(), clearedHere.end());
    }
    return best;
}

std::vector<std::string> ParentMimeTypes(std::string_view mimeType, const DesktopPlaces &places)
{
    std::vector<std::string> parents;
    for (const std::string &dir : mimeFolders(places)) {
        forEachLine(dir + "/subclasses", [&](std::string_view raw) {
            const std::vector<std::string> pair = split(TrimDesktopLine(raw), ' ');
            if (pair.size() == 2 && pair[0] == mimeType &&
                std::find(parents.begin(), parents.end(), pair[1]) == parents.end())
                parents.push_back(pair[1]);
        });
    }
    if (mimeType.substr(0, 5) == "text/" && mimeType != "text/plain" &&
        std::find(parents.begin(), parents.end(), "text/plain") == parents.end())
        parents.emplace_back("text/plain");
    return parents;
}

bool DesktopEntryInstalled(std::string_view desktopId, const DesktopPlaces &places)
{
    if (desktopId.empty() || desktopId.find('/') != std::string_view::npos)
        return false;
    for (const std::string &dir : applicationFolders(places))
        if (entryBelow(dir, desktopId))
            return true;
    return false;
}

std::string DefaultApplication(std::string_view mimeType, const DesktopPlaces &places)
{
    std::vector<std::string> removed;
    for (const std::string &path : MimeAppsListPaths(places)) {
        const ProfileFile file = ProfileFile::load(path);
        const std::vector<std::string> gone = idsIn(file, "Removed Associations", mimeType);
        removed.insert(removed.end(), gone.begin(), gone.end());
        for (const std::string &id : idsIn(file, "Default Applications", mimeType))
            if (std::find(removed.begin(), removed.end(), id) == removed.end() && DesktopEntryInstalled(id, places))
                return id;
    }
    return {};
}

std::string ExtensionDefaultApplication(std::string_view extension, const DesktopPlaces &places)
{
    std::string type = GlobMimeType(extension, places);
    if (type.empty())
        type = "text/plain";
    // The type itself, then the types it is a kind of, nearest first.
    std::vector<std::string> queue{type};
    for (std::size_t i = 0; i < queue.size() && i < 16; ++i) {
        if (std::string app = DefaultApplication(queue[i], places); !app.empty())
            return app;
        for (std::string &parent : ParentMimeTypes(queue[i], places))
            if (std::find(queue.begin(), queue.end(), parent) == queue.end())
                queue.push_back(std::move(parent));
    }
    return {};
}

} // namespace varkel
