#include "app/instancesocket.h"

#include <cerrno>
#include <string_view>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace varkel {

namespace {

// Keeps letters, digits and ". : _ -"; anything else (a slash above all)
// becomes '_'.
std::string fileNameSafe(std::string_view text)
{
    std::string out(text);
    for (char &c : out) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.'
                          || c == ':' || c == '_' || c == '-';
        if (!keep)
            c = '_';
    }
    return out;
}

// ":0.0" and ":0" are the same X display: the screen number is dropped.
std::string withoutScreen(const std::string &display)
{
    const size_t colon = display.rfind(':');
    const size_t dot = display.find('.', colon == std::string::npos ? 0 : colon);
    return colon != std::string::npos && dot != std::string::npos ? display.substr(0, dot) : display;
}

} // namespace

std::string SessionTag(const SessionEnvironment &env)
{
    std::string tag;
    if (env.platform == "wayland" && !env.waylandDisplay.empty())
        tag = env.waylandDisplay;
    else if (env.platform == "xcb" && !env.display.empty())
        tag = withoutScreen(env.display);
    else if (!env.waylandDisplay.empty())
        tag = env.waylandDisplay;
    else if (!env.display.empty())
        tag = withoutScreen(env.display);
    else if (!env.sessionId.empty())
        tag = "session" + env.sessionId;
    else
        tag = "console";
    return fileNameSafe(tag);
}

bool IsPrivateDirectory(const std::string &dir, uid_t uid)
{
    struct stat st;
    if (dir.empty() || ::lstat(dir.c_str(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == uid && (st.st_mode & 077) == 0;
}

std::string InstanceSocketDirectory(const std::string &runtimeDir, const std::string &tempDir, uid_t uid)
{
    if (IsPrivateDirectory(runtimeDir, uid))
        return runtimeDir;
    if (tempDir.empty())
        return {};
    const std::string own = tempDir + "/varkel-" + std::to_string(uid);
    // A folder made here is ours; one found here may have been made by
    // anybody, and is used only when it passes the same check.
    if (::mkdir(own.c_str(), 0700) == 0)
        ::chmod(own.c_str(), 0700);
    return IsPrivateDirectory(own, uid) ? own : std::string();
}

std::string InstanceSocketPath(const std::string &dir, const std::string &session, const std::string &instance)
{
    if (dir.empty())
        return {};
    std::string path = dir + "/varkel-" + session;
    if (!instance.empty())
        path += "-" + fileNameSafe(instance);
    return path.size() < sizeof(sockaddr_un::sun_path) ? path : std::string();
}

bool PeerRunsAs(int fd, uid_t uid)
{
    struct ucred cred {};
    socklen_t length = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0 || length != sizeof cred)
        return false;
    return cred.uid == uid;
}

} // namespace varkel
