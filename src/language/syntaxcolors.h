#pragma once
// The default colours of the keyword classes and of the editor background,
// as Windows colour values 0x00BBGGRR (red in the low byte), the form the
// settings file stores them in.

#include "language/dictionary.h"

#include <array>
#include <cstdint>

namespace varkel {

// Indexed by keyword class; slot 0 is unused.
inline constexpr std::array<std::uint32_t, 9> kDefaultSyntaxColors = {
    0x000000, // (unused)
    0x000000, // PlainText: black
    0xFF0000, // Command: blue
    0xC00000, // Cvar: dark blue
    0x800080, // Item: purple
    0xC000C0, // KeyName: magenta
    0x008000, // Comment: green
    0x0000FF, // Number: red
    0x000080, // String: maroon
};

inline constexpr std::uint32_t kDefaultBGColor = 0xFFFFFF; // white

// The red, green and blue parts of a 0x00BBGGRR colour.
constexpr std::uint8_t colorRed(std::uint32_t color) { return color & 0xFF; }
constexpr std::uint8_t colorGreen(std::uint32_t color) { return (color >> 8) & 0xFF; }
constexpr std::uint8_t colorBlue(std::uint32_t color) { return (color >> 16) & 0xFF; }

} // namespace varkel
