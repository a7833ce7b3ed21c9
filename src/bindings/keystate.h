#pragma once
// The state a device slot shows on the panel, and the interface through which
// the binding scan reports a slot's new state to whoever shows it.

#include <cstdint>

namespace varkel {

// Off: not bound; On: bound; HL: selected; CON: bound twice with different
// commands.
enum class KeyState : std::uint8_t { Off, On, HL, CON };

// Receives the new state of a slot (0..109). The device panel draws it; the
// command-line tool and the tests record it (KeyStateTable).
class KeyStateSink
{
public:
    virtual ~KeyStateSink() = default;
    virtual void showKeyState(int slot, KeyState state) = 0;
};

// Name of a state as the command-line tool prints it ("Off", "On", "HL", "CON").
const char *keyStateName(KeyState state);

} // namespace varkel
