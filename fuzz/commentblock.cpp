// Comment blocks: three lines of one width, the text framed by the border
// string with at least one space on either side, centred or left as asked.
// Targets: src/language/commentblock.cpp
//
// Input: an options byte (bit 0: auto size; bit 1: centred; bit 2: upper
// case; bits 3-4: the line end CR LF, LF, CR or none; bit 5: a UTF-8 block,
// measured in terminal columns), then the text, the
// border string and the size (its first two bytes, a 16-bit number),
// separated by NUL bytes.

#include "support.h"

#include "documents/unicodetext.h"
#include "language/commentblock.h"
#include "language/dictionary.h"

#include <cstdlib>

using namespace varkel;

namespace {
// Whether s is well-formed UTF-8 whose every character takes one column.
bool oneColumnEach(std::string_view s)
{
    if (!IsValidUtf8(s))
        return false;
    for (std::size_t at = 0; at < s.size();)
        if (ColumnWidth(NextCharacter(s, at)) != 1)
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size);
    CommentBlockSettings settings;
    settings.CommentAutoSize = input.option(0);
    settings.CommentAlignment = input.option(1);
    settings.CommentUCase = input.option(2);
    const std::string_view lineEnds[] = {"\r\n", "\n", "\r", ""};
    const std::string_view lineEnd = lineEnds[(input.options() >> 3) & 3u];
    settings.CommentChar = std::string(input.part(1));
    const std::string_view sizeBytes = input.part(2);
    settings.CommentSize = sizeBytes.size() >= 2
                               ? static_cast<std::int16_t>(static_cast<unsigned char>(sizeBytes[0]) |
                                                           static_cast<unsigned char>(sizeBytes[1]) << 8)
                               : 20;

    const bool utf8 = input.option(5);
    const std::string original(input.part(0));
    std::string text = original;
    const std::string block = BuildCommentBlock(text, settings, lineEnd, utf8 ? Encoding::Utf8 : Encoding::Latin1);
    const std::int64_t n = static_cast<std::int64_t>(utf8 ? DisplayWidth(original) : original.size());
    FUZZ_CHECK(text == (!settings.CommentUCase ? original : utf8 ? UpperCaseUtf8(original) : toUpperLatin1(original)));

    const std::string border = settings.CommentChar.empty() ? "*" : settings.CommentChar;
    // The border lines repeat the border's first character, whole.
    std::size_t fillLength = 1;
    if (utf8) {
        fillLength = 0;
        NextCharacter(border, fillLength);
    }
    const std::string fill = border.substr(0, fillLength);
    const std::int64_t width = settings.CommentAutoSize ? n + 10 : std::max<std::int64_t>(settings.CommentSize, n + 4);
    std::string borderLine = "//";
    for (std::int64_t i = 0; i < width; ++i)
        borderLine += fill;
    borderLine += lineEnd;

    // Border line, text line, border line.
    FUZZ_CHECK(block.size() > 2 * borderLine.size());
    FUZZ_CHECK(block.compare(0, borderLine.size(), borderLine) == 0);
    FUZZ_CHECK(block.compare(block.size() - borderLine.size(), borderLine.size(), borderLine) == 0);
    const std::string middle = block.substr(borderLine.size(), block.size() - 2 * borderLine.size());
    const std::string head = "//" + border;
    const std::string tail = border + std::string(lineEnd);
    FUZZ_CHECK(middle.size() >= head.size() + tail.size() + text.size() + 2);
    FUZZ_CHECK(middle.compare(0, head.size(), head) == 0);
    FUZZ_CHECK(middle.compare(middle.size() - tail.size(), tail.size(), tail) == 0);
    const std::string inner = middle.substr(head.size(), middle.size() - head.size() - tail.size());

    // The text with spaces either side: one before it when left-aligned,
    // a difference of at most one when centred. (An empty text, or one that
    // begins with spaces, hides where the padding ends.)
    FUZZ_CHECK(inner.size() >= text.size() + 2);
    if (!text.empty() && text.front() != ' ') {
        const std::size_t before = inner.find_first_not_of(' ');
        const std::size_t after = inner.size() - before - text.size();
        FUZZ_CHECK(inner.compare(0, before, std::string(before, ' ')) == 0);
        FUZZ_CHECK(inner.compare(before, text.size(), text) == 0);
        FUZZ_CHECK(inner.compare(before + text.size(), after, std::string(after, ' ')) == 0);
        FUZZ_CHECK(before >= 1 && after >= 1);
        if (!settings.CommentAlignment)
            FUZZ_CHECK(before == 1);
        else
            FUZZ_CHECK(std::llabs(static_cast<long long>(before) - static_cast<long long>(after)) <= 1);
    }
    // With a one-character border the three lines are equally wide: in
    // bytes for Latin-1, on screen for UTF-8 (for a border and a text
    // of well-formed characters one column wide each).
    if (!utf8 && border.size() == 1)
        FUZZ_CHECK(middle.size() == borderLine.size());
    if (utf8 && border.size() == fill.size() && oneColumnEach(border) && oneColumnEach(text))
        FUZZ_CHECK(DisplayWidth(middle) == DisplayWidth(borderLine));
    return 0;
}
