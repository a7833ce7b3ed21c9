#include "language/commentblock.h"

#include "documents/unicodetext.h"
#include "language/dictionary.h"

#include <algorithm>
#include <cstdint>

namespace varkel {

CommentBlockSettings CommentBlockSettings::fromSettings(const Settings &settings)
{
    return {settings.CommentChar, settings.CommentSize, settings.CommentAutoSize, settings.CommentAlignment,
            settings.CommentUCase};
}

std::string BuildCommentBlock(std::string &text, const CommentBlockSettings &settings,
                              std::string_view lineEnd, Encoding encoding)
{
    const bool utf8 = encoding == Encoding::Utf8;
    const std::int64_t n = static_cast<std::int64_t>(utf8 ? DisplayWidth(text) : text.size());
    if (settings.CommentUCase)
        text = utf8 ? UpperCaseUtf8(text) : toUpperLatin1(text);

    const std::string border = settings.CommentChar.empty() ? std::string("*") : settings.CommentChar;
    // What fills the border lines: one character, whole.
    std::size_t fillLength = 1;
    if (utf8) {
        fillLength = 0;
        NextCharacter(border, fillLength);
    }
    const std::string_view fill = std::string_view(border).substr(0, fillLength);

    std::int64_t width = 0; // characters after "//"
    std::int64_t before = 0;
    std::int64_t after = 0;
    if (settings.CommentAutoSize) {
        width = n + 10;
        before = settings.CommentAlignment ? 4 : 1;
        after = settings.CommentAlignment ? 4 : 7;
    } else {
        // A size past the 16-bit range would build a block of gigabytes.
        std::int64_t size = std::clamp(settings.CommentSize, 0, kMaxCommentBlockSize);
        std::int64_t left = 0;
        std::int64_t right = 0;
        if (!settings.CommentAlignment) {
            left = 2;
            right = size - n - 3;
        } else if (n > size) {
            left = 2;
            right = 1;
            size = n + 4;
        } else {
            left = RoundHalfEven(static_cast<double>(size - n) / 2.0);
            right = size - n - left - 1;
        }
        if (left < 2)
            left = 2;
        if (right < 1) {
            right = 1;
            size = 2 * left + n;
        }
        width = size;
        before = left - 1;
        after = right;
    }

    std::string borderLine = "//";
    borderLine.reserve(2 + static_cast<std::size_t>(width) * fill.size() + lineEnd.size());
    for (std::int64_t i = 0; i < width; ++i)
        borderLine += fill;
    borderLine += lineEnd;

    std::string block = borderLine;
    block += "//";
    block += border;
    block.append(static_cast<std::size_t>(before), ' ');
    block += text;
    block.append(static_cast<std::size_t>(after), ' ');
    block += border;
    block += lineEnd;
    block += borderLine;
    return block;
}

} // namespace varkel
