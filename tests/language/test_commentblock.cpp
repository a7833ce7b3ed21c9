#include "language/commentblock.h"

#include <gtest/gtest.h>

#include <string>

using namespace varkel;

namespace {

CommentBlockSettings fixedCentred(int size)
{
    CommentBlockSettings s;
    s.CommentAutoSize = false;
    s.CommentSize = size;
    return s;
}

// A "*" block of the given width around one text line with its margins.
std::string block(std::size_t width, std::size_t before, const std::string &text, std::size_t after)
{
    const std::string border = "//" + std::string(width, '*') + "\r\n";
    return border + "//*" + std::string(before, ' ') + text + std::string(after, ' ') + "*\r\n" + border;
}

} // namespace

TEST(CommentBlock, AutoSize)
{
    CommentBlockSettings s; // defaults: "*", auto size, centred, upper case
    std::string text = "Keys";
    EXPECT_EQ(BuildCommentBlock(text, s), block(14, 4, "KEYS", 4));
    EXPECT_EQ(text, "KEYS"); // the caller's text is upper-cased in place

    s.CommentAlignment = false;
    s.CommentUCase = false;
    text = "Keys";
    EXPECT_EQ(BuildCommentBlock(text, s), block(14, 1, "Keys", 7));
    EXPECT_EQ(text, "Keys");
}

// Centring in a fixed width rounds (size - length) / 2 half to even.
TEST(CommentBlock, FixedCentredRoundsHalfToEven)
{
    const CommentBlockSettings s = fixedCentred(20);
    std::string five = "abcde";
    EXPECT_EQ(BuildCommentBlock(five, s), block(20, 7, "ABCDE", 6));   // 7.5 -> 8
    std::string seven = "abcdefg";
    EXPECT_EQ(BuildCommentBlock(seven, s), block(20, 5, "ABCDEFG", 6)); // 6.5 -> 6
    std::string seventeen(17, 'a');
    EXPECT_EQ(BuildCommentBlock(seventeen, s), block(21, 1, std::string(17, 'A'), 1)); // 1.5 -> 2
}

TEST(CommentBlock, FixedSizeWidensForLongTexts)
{
    // Centred, 19 characters in 20: both margins at their minimum, 23 wide.
    std::string nineteen(19, 'a');
    EXPECT_EQ(BuildCommentBlock(nineteen, fixedCentred(20)), block(23, 1, std::string(19, 'A'), 1));
    std::string twenty(20, 'a');
    EXPECT_EQ(BuildCommentBlock(twenty, fixedCentred(20)), block(24, 1, std::string(20, 'A'), 1));
    // Longer than the size: one space each side.
    std::string thirty(30, 'a');
    EXPECT_EQ(BuildCommentBlock(thirty, fixedCentred(10)), block(34, 1, std::string(30, 'A'), 1));

    CommentBlockSettings left = fixedCentred(20);
    left.CommentAlignment = false;
    std::string five = "abcde";
    EXPECT_EQ(BuildCommentBlock(five, left), block(20, 1, "ABCDE", 12));
    EXPECT_EQ(BuildCommentBlock(twenty, left), block(24, 1, std::string(20, 'A'), 1));

    // Degenerate sizes still give a well-formed block.
    std::string empty;
    EXPECT_EQ(BuildCommentBlock(empty, fixedCentred(0)), block(4, 1, "", 1));
}

TEST(CommentBlock, AbsurdSizesAreCutToTheLargestBlock)
{
    // Sizes past the 16-bit range build the widest block there is; negative
    // ones the narrowest.
    std::string text = "abc";
    const std::string widest = BuildCommentBlock(text, fixedCentred(kMaxCommentBlockSize));
    for (int size : {kMaxCommentBlockSize + 1, 20000000, 2147483647}) {
        text = "abc";
        EXPECT_TRUE(BuildCommentBlock(text, fixedCentred(size)) == widest) << size;
    }
    EXPECT_EQ(widest.size(), 3 * (2 + static_cast<std::size_t>(kMaxCommentBlockSize) + 2));
    text = "abc";
    EXPECT_EQ(BuildCommentBlock(text, fixedCentred(-2147483647 - 1)), block(7, 1, "ABC", 1));
}

TEST(CommentBlock, BorderAndLineEnd)
{
    CommentBlockSettings s;
    s.CommentChar = "=-";
    s.CommentUCase = false;
    std::string text = "ab";
    EXPECT_EQ(BuildCommentBlock(text, s, "\n"),
              "//============\n//=-    ab    =-\n//============\n");
    s.CommentChar.clear(); // an empty border falls back to "*"
    EXPECT_EQ(BuildCommentBlock(text, s, "\n"), "//************\n//*    ab    *\n//************\n");
    // Latin-1 letters are upper-cased too.
    s = CommentBlockSettings{};
    text = "caf\xE9";
    EXPECT_EQ(BuildCommentBlock(text, s), block(14, 4, "CAF\xC9", 4));
}

// In a UTF-8 script the block is measured by the columns its characters
// take, letters are upper-cased whatever their alphabet, and the border is
// filled with whole characters.
TEST(CommentBlock, Utf8Blocks)
{
    CommentBlockSettings s;
    std::string text = "caf\xC3\xA9 \xCF\x89";
    EXPECT_EQ(BuildCommentBlock(text, s, "\r\n", Encoding::Utf8), block(16, 4, "CAF\xC3\x89 \xCE\xA9", 4));
    text = "\xE6\x97\xA5\xE6\x9C\xAC"; // two wide characters: four columns
    EXPECT_EQ(BuildCommentBlock(text, fixedCentred(10), "\r\n", Encoding::Utf8), block(10, 2, text, 2));
    s.CommentChar = "\xE2\x80\xA2";
    s.CommentUCase = false;
    text = "ab";
    EXPECT_EQ(BuildCommentBlock(text, s, "\n", Encoding::Utf8),
              "//\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2"
              "\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\n"
              "//\xE2\x80\xA2    ab    \xE2\x80\xA2\n"
              "//\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2"
              "\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\n");
}
