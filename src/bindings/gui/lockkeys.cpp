#include "bindings/gui/lockkeys.h"

#include "app/mglobal.h"

#include <QGuiApplication>
#include <QString>

#if defined(VARKEL_HAVE_X11) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
// Xlib last: its macros (None, Bool, Status, ...) must not reach Qt's headers.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#define VARKEL_LOCKKEYS_X11 1
#endif

namespace varkel {

#ifdef VARKEL_LOCKKEYS_X11
namespace {

const char *const kIndicatorNames[3] = {"Num Lock", "Caps Lock", "Scroll Lock"};

struct X11Keyboard {
    Display *display = nullptr;
    bool xkb = false;
    bool xtest = false;
    Atom indicators[3] = {0, 0, 0}; // the lights by name; 0 when the server has none
};

// The display Qt talks to; a connection of our own only when Qt does not
// hand its own out. Null on any other platform.
const X11Keyboard &keyboard()
{
    static const X11Keyboard kb = [] {
        X11Keyboard k;
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return k;
        if (auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
            k.display = x11->display();
        if (!k.display)
            k.display = XOpenDisplay(nullptr);
        if (!k.display)
            return k;
        int opcode = 0, event = 0, error = 0;
        int major = XkbMajorVersion, minor = XkbMinorVersion;
        k.xkb = XkbQueryExtension(k.display, &opcode, &event, &error, &major, &minor);
        int xtEvent = 0, xtError = 0, xtMajor = 0, xtMinor = 0;
        k.xtest = XTestQueryExtension(k.display, &xtEvent, &xtError, &xtMajor, &xtMinor);
        for (int i = 0; i < 3; ++i)
            k.indicators[i] = XInternAtom(k.display, kIndicatorNames[i], True);
        return k;
    }();
    return kb;
}

constexpr KeySym kLockKeysyms[3] = {XK_Num_Lock, XK_Caps_Lock, XK_Scroll_Lock};

// The real modifier a lock key latches (Caps Lock: the Lock modifier; Num
// Lock: usually Mod2), 0 when it latches none.
unsigned lockMask(Display *display, int index)
{
    if (index == 1)
        return LockMask;
    return XkbKeysymToModifiers(display, kLockKeysyms[index]);
}

} // namespace
#endif

int LockKeys::DetectPlatform()
{
    static const int platform = [] {
#ifdef VARKEL_LOCKKEYS_X11
        const X11Keyboard &kb = keyboard();
        if (kb.display && kb.xkb)
            return PlatformX11;
#endif
        return PlatformNone;
    }();
    mGlobal::PlatformId = platform;
    return platform;
}

std::array<bool, 3> LockKeys::States()
{
    std::array<bool, 3> states{false, false, false};
#ifdef VARKEL_LOCKKEYS_X11
    if (DetectPlatform() != PlatformX11)
        return states;
    Display *display = keyboard().display;
    XkbStateRec state{};
    const bool haveState = XkbGetState(display, XkbUseCoreKbd, &state) == Success;
    for (int i = 0; i < 3; ++i) {
        const unsigned mask = lockMask(display, i);
        if (mask && haveState) {
            states[static_cast<std::size_t>(i)] = (state.locked_mods & mask) != 0;
            continue;
        }
        // A lock without a modifier (Scroll Lock, mostly) shows in its light.
        const Atom name = keyboard().indicators[i];
        Bool on = False;
        if (name != 0 && XkbGetNamedIndicator(display, name, nullptr, &on, nullptr, nullptr))
            states[static_cast<std::size_t>(i)] = on;
    }
#endif
    return states;
}

void LockKeys::Toggle(int index)
{
    if (index < 0 || index > 2)
        return;
#ifdef VARKEL_LOCKKEYS_X11
    if (DetectPlatform() != PlatformX11)
        return;
    const X11Keyboard &kb = keyboard();
    Display *display = kb.display;
    const unsigned mask = lockMask(display, index);
    if (mask) {
        XkbStateRec state{};
        if (XkbGetState(display, XkbUseCoreKbd, &state) != Success)
            return;
        XkbLockModifiers(display, XkbUseCoreKbd, mask, (state.locked_mods & mask) ? 0 : mask);
    } else {
        // No modifier to latch (Scroll Lock, mostly): the lock is its light.
        // Switch the light itself; where the keymap does not allow that,
        // press and release the key.
        const bool before = States()[static_cast<std::size_t>(index)];
        const Atom name = kb.indicators[index];
        if (name != 0)
            XkbSetNamedIndicator(display, name, True, before ? False : True, False, nullptr);
        XSync(display, False);
        if (States()[static_cast<std::size_t>(index)] == before && kb.xtest) {
            const KeyCode code = XKeysymToKeycode(display, kLockKeysyms[index]);
            if (code == 0)
                return;
            XTestFakeKeyEvent(display, code, True, CurrentTime);
            XTestFakeKeyEvent(display, code, False, CurrentTime);
        }
    }
    // Wait for the server, so that reading the state next sees the change.
    XSync(display, False);
#endif
}

} // namespace varkel
