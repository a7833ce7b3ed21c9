#pragma once
// Colour arithmetic and the editor's colour presets, without widgets.
//
// Colours are Windows colour values (0x00BBGGRR, red in the low byte), as the
// settings file stores them. The contrast ratio is the one of WCAG 2: the
// relative luminances of the two colours, each plus 0.05, lighter over darker;
// 1 for equal colours, 21 for black on white. Text is easy to read from 4.5.

#include <array>
#include <span>

namespace varkel {

// A colour preset of the editor: its background and the eight syntax colours
// (Plain Text, Commands, Cvars, Items, Keynames, Comments, Numbers, Strings).
struct ColourPreset {
    unsigned background;
    std::array<unsigned, 8> syntax;
};

// The colours Varkel has always started with: black and blues on white.
extern const ColourPreset kLightPreset;
// Light colours on a dark grey, each at a contrast of at least kMinTextContrast.
extern const ColourPreset kDarkPreset;

// The smallest contrast ratio the presets keep between text and background.
constexpr double kMinTextContrast = 4.5;

// Relative luminance 0..1 of a 0x00BBGGRR colour (sRGB, linearised).
double RelativeLuminance(unsigned bgr);
// Contrast ratio 1..21 of two 0x00BBGGRR colours; the order does not matter.
double ContrastRatio(unsigned bgr1, unsigned bgr2);
// The smallest contrast of the preset's syntax colours against its background.
double LowestContrast(const ColourPreset &preset);
// The candidate with the highest contrast against the background (the first
// of equals); the background's opposite, black or white, when there is none.
unsigned MostReadable(unsigned background, std::span<const unsigned> candidates);
// A palette is dark when its window colour is darker than its text colour.
bool IsDarkScheme(unsigned windowBgr, unsigned textBgr);

// 0x00BBGGRR from red, green and blue 0..255, and the reverse.
constexpr unsigned Bgr(unsigned red, unsigned green, unsigned blue)
{
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr unsigned RedOf(unsigned bgr) { return bgr & 0xFF; }
constexpr unsigned GreenOf(unsigned bgr) { return (bgr >> 8) & 0xFF; }
constexpr unsigned BlueOf(unsigned bgr) { return (bgr >> 16) & 0xFF; }

} // namespace varkel
