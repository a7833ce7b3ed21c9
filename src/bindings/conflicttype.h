#pragma once
// Where binding conflicts are looked for; stored as the number of the
// "ConflictType" setting.

#include <cstdint>

namespace varkel {

enum class ConflictType : std::int16_t {
    None = 0,   // no marking: a later binding of a key replaces the earlier text
    All = 1,    // every open script is scanned into one binding table
    Active = 2, // only the active script is scanned
};

} // namespace varkel
