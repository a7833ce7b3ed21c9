#pragma once
// What one binding scan leaves behind: the command bound to each device slot,
// the user variables and the entries of the alias / vstr pick list. The frame
// (or any other caller) owns one and hands it to the scan.

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
};

} // namespace varkel
