#pragma once
// The system keyboard's lock keys (Num, Caps, Scroll Lock): reading whether
// each is on and toggling it. On an X11 desktop this goes through the X
// keyboard extension (a lock key without a modifier, such as Scroll Lock
// mostly is, through its light, or XTest when the light cannot be set); anywhere
// else (Wayland, offscreen) every lock reads as off and toggling does nothing.

#include <array>

namespace varkel {

class LockKeys
{
public:
    // Values of mGlobal::PlatformId for the lock keys.
    static constexpr int PlatformNone = 0; // no access to the lock keys
    static constexpr int PlatformX11 = 3;  // X11 with the keyboard extension

    // Finds out which of the above this process runs on (once; later calls
    // return the same) and records it in mGlobal::PlatformId.
    static int DetectPlatform();

    // Num, Caps and Scroll Lock, in that order; all false without access.
    static std::array<bool, 3> States();

    // Toggles lock key 0 (Num), 1 (Caps) or 2 (Scroll); other indexes and
    // platforms without access do nothing.
    static void Toggle(int index);
};

} // namespace varkel
