#pragma once
// A key-state sink that only remembers the last state shown for each slot.

#include "bindings/keystate.h"

#include <array>

namespace varkel {

class KeyStateTable : public KeyStateSink
{
public:
    static constexpr int SlotCount = 110;

    void showKeyState(int slot, KeyState state) override
    {
        if (slot >= 0 && slot < SlotCount)
            m_states[static_cast<std::size_t>(slot)] = state;
    }

    KeyState state(int slot) const
    {
        return slot >= 0 && slot < SlotCount ? m_states[static_cast<std::size_t>(slot)] : KeyState::Off;
    }

private:
    std::array<KeyState, SlotCount> m_states{};
};

} // namespace varkel
