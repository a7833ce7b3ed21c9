#include "documents/unicodetext.h"

#include "documents/encoding.h"

namespace varkel {

namespace {

bool within(char32_t c, char32_t first, char32_t last)
{
    return c >= first && c <= last;
}

// Blocks where capitals and small letters alternate: a capital on every
// even code point (evenCapital) or on every odd one.
struct PairedBlock {
    char32_t first;
    char32_t last;
    bool evenCapital;
};
constexpr PairedBlock kPairedBlocks[] = {
    {0x0100, 0x012F, true}, {0x0132, 0x0137, true}, {0x0139, 0x0148, false}, {0x014A, 0x0177, true},
    {0x0179, 0x017E, false}, {0x0460, 0x0481, true}, {0x048A, 0x04BF, true}, {0x04C1, 0x04CE, false},
    {0x04D0, 0x052F, true},
};

const PairedBlock *pairedBlockOf(char32_t c)
{
    for (const PairedBlock &b : kPairedBlocks)
        if (within(c, b.first, b.last))
            return &b;
    return nullptr;
}

bool isCapitalInBlock(char32_t c, const PairedBlock &b)
{
    return ((c & 1) == 0) == b.evenCapital;
}

// Code point ranges a terminal shows in two columns.
constexpr char32_t kWide[][2] = {
    {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F}, {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

// Code point ranges that take no column of their own: combining marks, the
// zero-width spaces and joiners, variation selectors.
constexpr char32_t kZeroWidth[][2] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x0610, 0x061A}, {0x064B, 0x065F},
    {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F}, {0x2028, 0x202E}, {0x2060, 0x2064},
    {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF},
};

template <std::size_t N>
bool inRanges(char32_t c, const char32_t (&ranges)[N][2])
{
    for (const auto &r : ranges)
        if (within(c, r[0], r[1]))
            return true;
    return false;
}

} // namespace

char32_t NextCharacter(std::string_view text, std::size_t &at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : Utf8SequenceLength(text, at);
    if (length <= 1) {
        ++at;
        return lead;
    }
    char32_t c = lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i)
        c = (c << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    at += length;
    return c;
}

void AppendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

int ColumnWidth(char32_t c)
{
    if (c < 0x20 || within(c, 0x7F, 0x9F))
        return 0;
    if (c < 0x300)
        return 1;
    if (inRanges(c, kZeroWidth))
        return 0;
    return inRanges(c, kWide) ? 2 : 1;
}

std::size_t DisplayWidth(std::string_view utf8)
{
    std::size_t width = 0;
    for (std::size_t at = 0; at < utf8.size();)
        width += static_cast<std::size_t>(ColumnWidth(NextCharacter(utf8, at)));
    return width;
}

char32_t SimpleCaseFold(char32_t c)
{
    if (c < 0x80)
        return within(c, 'A', 'Z') ? c + 0x20 : c;
    if (c < 0x100) {
        if (c == 0xB5) // micro sign
            return 0x3BC;
        return within(c, 0xC0, 0xDE) && c != 0xD7 ? c + 0x20 : c;
    }
    if (c == 0x178)
        return 0xFF;
    if (c == 0x17F) // long s
        return 's';
    if (const PairedBlock *b = pairedBlockOf(c))
        return isCapitalInBlock(c, *b) ? c + 1 : c;
    // Greek
    if (c == 0x386)
        return 0x3AC;
    if (within(c, 0x388, 0x38A))
        return c + 0x25;
    if (c == 0x38C)
        return 0x3CC;
    if (within(c, 0x38E, 0x38F))
        return c + 0x3F;
    if (within(c, 0x391, 0x3AB) && c != 0x3A2)
        return c + 0x20;
    if (c == 0x3C2) // final sigma
        return 0x3C3;
    // Cyrillic
    if (within(c, 0x400, 0x40F))
        return c + 0x50;
    if (within(c, 0x410, 0x42F))
        return c + 0x20;
    if (c == 0x4C0)
        return 0x4CF;
    return c;
}

char32_t SimpleUpperCase(char32_t c)
{
    if (c < 0x80)
        return within(c, 'a', 'z') ? c - 0x20 : c;
    if (c < 0x100) {
        if (c == 0xB5)
            return 0x39C;
        if (c == 0xFF)
            return 0x178;
        return within(c, 0xE0, 0xFE) && c != 0xF7 ? c - 0x20 : c;
    }
    if (c == 0x131) // dotless i
        return 'I';
    if (c == 0x17F)
        return 'S';
    if (const PairedBlock *b = pairedBlockOf(c))
        return isCapitalInBlock(c, *b) ? c : c - 1;
    if (c == 0x3AC)
        return 0x386;
    if (within(c, 0x3AD, 0x3AF))
        return c - 0x25;
    if (c == 0x3CC)
        return 0x38C;
    if (within(c, 0x3CD, 0x3CE))
        return c - 0x3F;
    if (c == 0x3C2)
        return 0x3A3;
    if (within(c, 0x3B1, 0x3CB))
        return c - 0x20;
    if (within(c, 0x450, 0x45F))
        return c - 0x50;
    if (within(c, 0x430, 0x44F))
        return c - 0x20;
    if (c == 0x4CF)
        return 0x4C0;
    return c;
}

std::string UpperCaseUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t start = at;
        const char32_t c = NextCharacter(utf8, at);
        if (at - start == 1 && c >= 0x80)
            out += utf8[start]; // an ill-formed byte stays as it is
        else
            AppendUtf8(out, SimpleUpperCase(c));
    }
    return out;
}

} // namespace varkel
