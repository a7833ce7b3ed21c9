#include "bindings/gui/keyclickplayer.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace varkel {

namespace {

bool soundOff()
{
    return qEnvironmentVariableIntValue("VARKEL_NO_SOUND") != 0;
}

// A PulseAudio or PipeWire server this session can reach.
bool haveSoundServer()
{
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() &&
           (QFileInfo::exists(runtime + QStringLiteral("/pulse/native")) ||
            QFileInfo::exists(runtime + QStringLiteral("/pipewire-0")));
}

// An ALSA playback device.
bool haveAlsaPlayback()
{
    const QDir snd(QStringLiteral("/dev/snd"));
    return !snd.entryList({QStringLiteral("pcmC*D*p")}, QDir::System | QDir::Files).isEmpty();
}

struct Player {
    QString program;
    QStringList arguments;
};

// Looked up once: the machine's sound set-up does not change while we run.
const Player &player()
{
    static const Player p = [] {
        Player found;
        if (haveSoundServer()) {
            const QString paplay = QStandardPaths::findExecutable(QStringLiteral("paplay"));
            if (!paplay.isEmpty())
                return Player{paplay, {}};
        }
        if (haveAlsaPlayback()) {
            const QString aplay = QStandardPaths::findExecutable(QStringLiteral("aplay"));
            if (!aplay.isEmpty())
                return Player{aplay, {QStringLiteral("-q")}};
        }
        return found;
    }();
    return p;
}

} // namespace

QString KeyClickPlayer::PlayerProgram()
{
    return soundOff() ? QString() : player().program;
}

bool KeyClickPlayer::Play(const QString &path)
{
    if (soundOff() || path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    const Player &p = player();
    if (p.program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(p.program);
    process.setArguments(p.arguments + QStringList{path});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

} // namespace varkel
