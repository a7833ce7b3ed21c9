#include "app/colourscheme.h"

#include "app/settings.h"

#include <algorithm>
#include <cmath>

namespace varkel {

const ColourPreset kLightPreset{Bgr(0xFF, 0xFF, 0xFF), kDefaultSyntaxColors};

const ColourPreset kDarkPreset{
    Bgr(0x1E, 0x1E, 0x1E),
    {
        Bgr(0xD4, 0xD4, 0xD4), // Plain Text
        Bgr(0x56, 0x9C, 0xD6), // Commands
        Bgr(0x4E, 0xC9, 0xB0), // Cvars
        Bgr(0xC5, 0x86, 0xC0), // Items
        Bgr(0xDC, 0xDC, 0xAA), // Keynames
        Bgr(0x6A, 0x99, 0x55), // Comments
        Bgr(0xF4, 0x87, 0x71), // Numbers
        Bgr(0xCE, 0x91, 0x78), // Strings
    }};

namespace {
double linear(unsigned channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
} // namespace

double RelativeLuminance(unsigned bgr)
{
    return 0.2126 * linear(RedOf(bgr)) + 0.7152 * linear(GreenOf(bgr)) + 0.0722 * linear(BlueOf(bgr));
}

double ContrastRatio(unsigned bgr1, unsigned bgr2)
{
    const double a = RelativeLuminance(bgr1), b = RelativeLuminance(bgr2);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

double LowestContrast(const ColourPreset &preset)
{
    double lowest = 21.0;
    for (unsigned colour : preset.syntax)
        lowest = std::min(lowest, ContrastRatio(colour, preset.background));
    return lowest;
}

unsigned MostReadable(unsigned background, std::span<const unsigned> candidates)
{
    const unsigned black = Bgr(0, 0, 0), white = Bgr(255, 255, 255);
    if (candidates.empty())
        return ContrastRatio(background, black) >= ContrastRatio(background, white) ? black : white;
    unsigned best = candidates.front();
    for (unsigned c : candidates)
        if (ContrastRatio(c, background) > ContrastRatio(best, background))
            best = c;
    return best;
}

bool IsDarkScheme(unsigned windowBgr, unsigned textBgr)
{
    return RelativeLuminance(windowBgr) < RelativeLuminance(textBgr);
}

} // namespace varkel
