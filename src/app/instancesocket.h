#pragma once
// Where the running Varkel of a desktop session waits for later starts: a
// local socket in a folder that only this user can enter, named for the
// session (and $VARKEL_INSTANCE), so that a start on another display runs its
// own copy and no other user can stand in for the running one.

#include <string>

#include <sys/types.h>

namespace varkel {

// What tells one desktop session from another.
struct SessionEnvironment {
    std::string platform;       // the window system in use: "wayland", "xcb", ...
    std::string waylandDisplay; // $WAYLAND_DISPLAY
    std::string display;        // $DISPLAY
    std::string sessionId;      // $XDG_SESSION_ID
};

// A file-name-safe tag of the session: the display the windows go to (the
// Wayland display on Wayland, the X display without its screen number on X,
// whichever is set elsewhere), else the login session's id, else "console".
std::string SessionTag(const SessionEnvironment &env);

// True when dir is a folder itself (not a link to one), owned by uid, that
// no other user may read, write or enter.
bool IsPrivateDirectory(const std::string &dir, uid_t uid);

// The folder for the socket: runtimeDir when it is private to uid; otherwise
// <tempDir>/varkel-<uid>, made with mode 0700 when it is missing. Empty when
// neither is private to uid (the start then runs on its own).
std::string InstanceSocketDirectory(const std::string &runtimeDir, const std::string &tempDir, uid_t uid);

// The socket's full path: <dir>/varkel-<session>[-<instance>], the instance
// name made file-name-safe. Empty when dir is empty or the path does not fit
// in a socket address.
std::string InstanceSocketPath(const std::string &dir, const std::string &session, const std::string &instance);

// True when the process at the other end of the connected local socket fd
// runs as uid (as the kernel reports it, SO_PEERCRED).
bool PeerRunsAs(int fd, uid_t uid);

} // namespace varkel
