#include "language/commentblock.h"

#include "language/dictionary.h"

#include <cstdint>

namespace varkel {

namespace {

// (d / 2) rounded to the nearest whole number, halves to the even neighbour.
std::int64_t halfRoundedToEven(std::int64_t d)
{
    const std::int64_t floorHalf = d >= 0 ? d / 2 : -((-d + 1) / 2);
    if (d % 2 == 0)
        return floorHalf;
    return floorHalf % 2 == 0 ? floorHalf : floorHalf + 1;
}

} // namespace

std::string BuildCommentBlock(std::string &text, const CommentBlockSettings &settings,
                              std::string_view lineEnd)
{
    const std::int64_t n = static_cast<std::int64_t>(text.size());
    if (settings.commentUCase)
        text = toUpperLatin1(text);

    const std::string border = settings.commentChar.empty() ? std::string("*") : settings.commentChar;

    std::int64_t width = 0; // characters after "//"
    std::int64_t before = 0;
    std::int64_t after = 0;
    if (settings.commentAutoSize) {
        width = n + 10;
        before = settings.commentAlignment ? 4 : 1;
        after = settings.commentAlignment ? 4 : 7;
    } else {
        std::int64_t size = settings.commentSize;
        std::int64_t left = 0;
        std::int64_t right = 0;
        if (!settings.commentAlignment) {
            left = 2;
            right = size - n - 3;
        } else if (n > size) {
            left = 2;
            right = 1;
            size = n + 4;
        } else {
            left = halfRoundedToEven(size - n);
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
    borderLine.append(static_cast<std::size_t>(width), border.front());
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
