#pragma once
// What one binding scan leaves behind: the command bound to each device slot
// and to each key of the game that has no place on the panel, the user
// variables and the entries of the alias / vstr pick list. The frame (or any
// other caller) owns one and hands it to the scan.

#include "bindings/keystate.h"
#include "bindings/uservariablelist.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace varkel {

struct BindingState {
    static constexpr int SlotCount = 110;

    // The command text bound to each slot; only 0..109 are used.
    std::array<std::string, 116> BoundText;
    // 1 once a binding of the slot was recorded since the last clear.
    std::array<std::int16_t, SlotCount> Bound{};
    // Byte offset, in the script scanned last, of the `bind` word of the line
    // that gave each slot its command text; kNowhere where no line of that
    // script did (the slot is unbound, or bound only in another script).
    static constexpr std::ptrdiff_t kNowhere = -1;
    std::array<std::ptrdiff_t, SlotCount> boundAt = nowhere();

    // A key of the game that the panel does not show (MOUSE4, CAPSLOCK,
    // AUX1...): the same record as a slot's, with its state kept here since
    // no panel draws it.
    struct ExtraKey {
        std::string BoundText;
        bool Bound = false;
        KeyState state = KeyState::Off;
        std::ptrdiff_t boundAt = kNowhere;
    };
    // Entry i is the key numbered SlotCount + i, named by the dictionary's
    // ExtraKeyNames()[i]; the list grows as far as the keys bound need.
    std::vector<ExtraKey> extraKeys;
    // Alias (Quake, Quake II) or variable (Quake III) name -> first word of
    // its body or value.
    UserVariableList userVariables;
    // The items of the alias / vstr pick list, in script order; an alias
    // defined twice is listed twice.
    std::vector<std::string> aliasList;

    static constexpr std::array<std::ptrdiff_t, SlotCount> nowhere()
    {
        std::array<std::ptrdiff_t, SlotCount> places{};
        places.fill(kNowhere);
        return places;
    }

    // The record of a key off the panel by its key number (SlotCount and
    // up); null when the scan has recorded nothing for it.
    const ExtraKey *extraKey(int keyNumber) const
    {
        if (keyNumber < SlotCount)
            return nullptr;
        const auto index = static_cast<std::size_t>(keyNumber - SlotCount);
        return index < extraKeys.size() ? &extraKeys[index] : nullptr;
    }

    // The command text recorded for any key number; empty when there is none.
    std::string boundTextOf(int keyNumber) const
    {
        if (keyNumber >= 0 && keyNumber < SlotCount)
            return BoundText[static_cast<std::size_t>(keyNumber)];
        const ExtraKey *key = extraKey(keyNumber);
        return key ? key->BoundText : std::string();
    }
};

} // namespace varkel
