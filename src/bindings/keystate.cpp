#include "bindings/keystate.h"

namespace varkel {

const char *keyStateName(KeyState state)
{
    switch (state) {
    case KeyState::Off: return "Off";
    case KeyState::On: return "On";
    case KeyState::HL: return "HL";
    case KeyState::CON: return "CON";
    }
    return "Off";
}

} // namespace varkel
