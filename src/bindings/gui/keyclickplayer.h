#pragma once
// The panel's key click: plays a short sound file without waiting for it, by
// starting the desktop's own command-line player (paplay with a PulseAudio or
// PipeWire server, aplay with an ALSA device) as a detached process. Without a
// player, a sound device or the file, nothing happens. Setting the
// environment variable VARKEL_NO_SOUND to 1 silences it (the tests do).

#include <QString>

namespace varkel {

class KeyClickPlayer
{
public:
    // Starts playing `path`; returns whether a player was started.
    static bool Play(const QString &path);

    // The player program Play would start; empty when there is none or sound
    // is off.
    static QString PlayerProgram();
};

} // namespace varkel
