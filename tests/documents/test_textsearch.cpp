#include "documents/textsearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace varkel;

namespace {

// Every start in order, comparing byte by byte.
std::size_t naiveFind(std::string_view text, std::string_view what)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (what.empty() || what.size() > text.size())
        return std::string_view::npos;
    for (std::size_t i = 0; i + what.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < what.size() && lower(text[i + k]) == lower(what[k]))
            ++k;
        if (k == what.size())
            return i;
    }
    return std::string_view::npos;
}

} // namespace

TEST(TextSearch, IgnoresTheCaseOfAsciiLettersOnly)
{
    EXPECT_EQ(FindIgnoringAsciiCase("alias +ZOOM \"fov 30\"", "+zoom"), 6u);
    EXPECT_EQ(FindIgnoringAsciiCase("say \xC9t\xE9", "\xE9"), 6u);   // no Latin-1 folding
    EXPECT_EQ(FindIgnoringAsciiCase("[x] {x}", "{X}"), 4u);           // '[' is not '{'
    EXPECT_EQ(FindIgnoringAsciiCase("bind", "bindx"), std::string_view::npos);
    EXPECT_EQ(FindIgnoringAsciiCase("bind", ""), std::string_view::npos);
    EXPECT_EQ(FindIgnoringAsciiCase("qQq", "QQ"), 0u);
}

TEST(TextSearch, RandomTextsAgreeWithAByteByByteSearch)
{
    std::mt19937 rng(5);
    static const char kBytes[] = "aAbBzZqQ 1;\"\xC0\xE0";
    for (int round = 0; round < 3000; ++round) {
        std::string text, what;
        for (int i = static_cast<int>(rng() % 60); i > 0; --i)
            text += kBytes[rng() % (sizeof kBytes - 1)];
        for (int i = 1 + static_cast<int>(rng() % 4); i > 0; --i)
            what += kBytes[rng() % (sizeof kBytes - 1)];
        ASSERT_EQ(FindIgnoringAsciiCase(text, what), naiveFind(text, what)) << text << " / " << what;
    }
}

// Long texts are searched a stretch at a time: a match is found wherever it
// lies, also across the end of a stretch, and a rare case of the first byte
// does not hide a near match in the other case.
TEST(TextSearch, MatchesAcrossStretchesOfALongText)
{
    for (std::size_t at : {0u, 65530u, 65533u, 65536u, 65537u, 131070u, 199995u}) {
        std::string text(200000, 'a');
        text.replace(at, 4, "BiNd");
        EXPECT_EQ(FindIgnoringAsciiCase(text, "bind"), at);
        EXPECT_EQ(FindIgnoringAsciiCase(text, "nd"), at + 2);
    }
    std::string text(300000, 'x');
    text.replace(10, 4, "bind");
    text.replace(299000, 4, "BIND");
    EXPECT_EQ(FindIgnoringAsciiCase(text, "Bind"), 10u);
    EXPECT_EQ(FindIgnoringAsciiCase(std::string_view(text).substr(11), "bind"), 299000u - 11u);
}
