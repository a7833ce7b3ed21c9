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
