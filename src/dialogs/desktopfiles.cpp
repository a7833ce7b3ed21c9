#include "dialogs/desktopfiles.h"

#include "documents/fileio.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace varkel {

namespace {

std::string homeDir()
{
    if (const char *home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir)
        return pw->pw_dir;
    return {};
}

// A base folder from the environment: used only when absolute, as relative
// values are to be ignored.
std::string xdgFolder(const char *variable, const char *belowHome)
{
    if (const char *value = std::getenv(variable); value && value[0] == '/')
        return value;
    const std::string home = homeDir();
    return home.empty() ? std::string() : home + belowHome;
}

bool writeFile(const std::string &path, std::string_view bytes)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    return !WriteFileSafely(path, bytes);
}

// The line of [Default Applications] for mimeType: desktopId first, then the
// applications the old value listed besides it.
std::string defaultLine(std::string_view mimeType, std::string_view desktopId, std::string_view oldValue)
{
    std::string line = std::string(mimeType) + "=" + std::string(desktopId) + ";";
    while (!oldValue.empty()) {
        const std::size_t end = oldValue.find(';');
        const std::string_view id = TrimDesktopLine(oldValue.substr(0, end));
        oldValue = end == std::string_view::npos ? std::string_view() : oldValue.substr(end + 1);
        if (!id.empty() && id != desktopId)
            line += std::string(id) + ";";
    }
    return line;
}

std::string findOnPath(const std::string &program)
{
    const char *path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t end = dirs.find(':');
        std::string dir(dirs.substr(0, end));
        if (!dir.empty()) {
            const std::string candidate = dir + "/" + program;
            struct stat st;
            if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        if (end == std::string_view::npos)
            return {};
        dirs.remove_prefix(end + 1);
    }
}

} // namespace

bool IsValidExtension(std::string_view ext)
{
    if (ext.empty())
        return false;
    for (char c : ext) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
                        || c == '+' || c == '-';
        if (!ok)
            return false;
    }
    return true;
}

std::string XdgDataHome()
{
    return xdgFolder("XDG_DATA_HOME", "/.local/share");
}

std::string XdgConfigHome()
{
    return xdgFolder("XDG_CONFIG_HOME", "/.config");
}

std::string DesktopExecArgument(std::string_view path)
{
    // Quoting rules of the Exec key first, then the escapes of a string value
    // (so a backslash in the path ends up as four).
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
        if (c == '%')
            quoted += '%';
    }
    quoted += '"';
    std::string escaped;
    for (char c : quoted) {
        switch (c) {
        case '\\': escaped += "\\\\"; break;
        case '\n': escaped += "\\n"; break;
        case '\t': escaped += "\\t"; break;
        case '\r': escaped += "\\r"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string DesktopEntryText(std::string_view programPath)
{
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Version=1.0\n"
                       "Name=Varkel\n"
                       "GenericName=Quake Script Editor\n"
                       "Comment=Edit the configuration scripts of Quake, Quake II and Quake III Arena\n";
    text += "Exec=" + DesktopExecArgument(programPath) + " %f\n";
    text += "Icon=" + std::string(kIconName) + "\n";
    text += "Terminal=false\n"
            "Categories=Development;TextEditor;\n";
    text += "MimeType=" + std::string(kScriptMimeType) + ";\n";
    return text;
}

std::string MimePackageText(const std::vector<std::string> &extensions)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    text += "  <mime-type type=\"" + std::string(kScriptMimeType) + "\">\n";
    text += "    <comment>Varkel Quake Configuration Script</comment>\n"
            "    <sub-class-of type=\"text/plain\"/>\n";
    // A higher weight than the default 50, so that our glob wins over another
    // type that claims the same extension: the user chose Varkel for it.
    for (const std::string &ext : extensions)
        if (IsValidExtension(ext))
            text += "    <glob pattern=\"*." + ext + "\" weight=\"80\"/>\n";
    text += "  </mime-type>\n"
            "</mime-info>\n";
    return text;
}

std::string SetDefaultApplication(std::string_view text, std::string_view mimeType, std::string_view desktopId)
{
    std::string_view eol = "\n";
    if (const std::size_t lf = text.find('\n'); lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r')
        eol = "\r\n";

    // Lines with their own line ends.
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lf = text.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? text.size() : lf + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }

    std::vector<std::string> out(lines.begin(), lines.end());
    bool inDefaults = false;
    bool firstGroupSeen = false, firstGroupOpen = false;
    std::ptrdiff_t insertAfter = -1;
    bool replaced = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view content = TrimDesktopLine(lines[i]);
        if (!content.empty() && content.front() == '[') {
            const std::size_t close = content.find(']');
            inDefaults = close != std::string_view::npos && content.substr(1, close - 1) == "Default Applications";
            firstGroupOpen = inDefaults && !firstGroupSeen;
            if (firstGroupOpen) {
                firstGroupSeen = true;
                insertAfter = static_cast<std::ptrdiff_t>(i);
            }
            continue;
        }
        if (!inDefaults || content.empty() || content.front() == '#')
            continue;
        if (firstGroupOpen)
            insertAfter = static_cast<std::ptrdiff_t>(i);
        const std::size_t eq = content.find('=');
        if (eq == std::string_view::npos || TrimDesktopLine(content.substr(0, eq)) != mimeType)
            continue;
        const std::string_view ending = lines[i].substr(lines[i].find_last_not_of("\r\n") + 1);
        out[i] = defaultLine(mimeType, desktopId, content.substr(eq + 1)) + std::string(ending);
        replaced = true;
    }
    if (!replaced) {
        const std::string line = defaultLine(mimeType, desktopId, {}) + std::string(eol);
        if (insertAfter >= 0) {
            std::string &before = out[static_cast<std::size_t>(insertAfter)];
            if (before.empty() || before.back() != '\n')
                before += eol;
            out.insert(out.begin() + insertAfter + 1, line);
        } else {
            if (!out.empty() && out.back().back() != '\n')
                out.back() += eol;
            out.push_back("[Default Applications]" + std::string(eol));
            out.push_back(line);
        }
    }
    std::string result;
    for (const std::string &line : out)
        result += line;
    return result;
}

std::string DesktopEntryPath(const DesktopPlaces &places)
{
    return places.dataHome.empty() ? std::string()
                                   : places.dataHome + "/applications/" + std::string(kDesktopFileName);
}

std::string DesktopIconPath(const DesktopPlaces &places)
{
    return places.dataHome.empty() || places.iconSvg.empty()
               ? std::string()
               : places.dataHome + "/icons/hicolor/scalable/apps/" + std::string(kIconName) + ".svg";
}

std::vector<std::string> ChangedDesktopFiles(const DesktopPlaces &places)
{
    std::vector<std::string> changed;
    const std::pair<std::string, std::string> files[] = {
        {DesktopEntryPath(places), DesktopEntryText(places.programPath)},
        {DesktopIconPath(places), places.iconSvg},
    };
    for (const auto &[path, wanted] : files) {
        if (path.empty())
            continue;
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
            continue;
        const ReadResult current = ReadFileBytes(path);
        if (current.error || current.bytes != wanted)
            changed.push_back(path);
    }
    return changed;
}

bool WriteDesktopAssociation(const DesktopPlaces &places, const std::vector<std::string> &extensions)
{
    bool ok = true;
    const auto kept = [&places](const std::string &path) {
        return std::find(places.keepFiles.begin(), places.keepFiles.end(), path) != places.keepFiles.end();
    };
    if (!places.dataHome.empty()) {
        const std::string &data = places.dataHome;
        if (const std::string icon = DesktopIconPath(places); !icon.empty() && !kept(icon))
            ok &= writeFile(icon, places.iconSvg);
        if (const std::string entry = DesktopEntryPath(places); !kept(entry))
            ok &= writeFile(entry, DesktopEntryText(places.programPath));
        const bool mimeWritten = writeFile(data + "/mime/packages/varkel.xml", MimePackageText(extensions));
        ok &= mimeWritten;
        if (mimeWritten && places.updateMimeDatabase)
            places.updateMimeDatabase(data + "/mime");
    } else {
        ok = false;
    }
    if (!places.configHome.empty()) {
        const std::string path = places.configHome + "/mimeapps.list";
        ReadResult current = ReadFileBytes(path);
        if (current.error && current.error.code != ErrorCode::FileNotFound)
            return false;
        ok &= writeFile(path, SetDefaultApplication(current.bytes, kScriptMimeType, kDesktopFileName));
    } else {
        ok = false;
    }
    return ok;
}

void RunUpdateMimeDatabase(const std::string &mimeDir)
{
    const std::string tool = findOnPath("update-mime-database");
    if (tool.empty())
        return;
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string arg0 = tool, arg1 = mimeDir;
    char *argv[] = {arg0.data(), arg1.data(), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

std::string_view TrimDesktopLine(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

} // namespace varkel
