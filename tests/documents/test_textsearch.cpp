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

namespace {
TextFound findFolding(std::string_view text, std::string_view what, Encoding encoding, std::size_t from = 0)
{
    return FindFoldingCase(text, from, text.size(), what, encoding);
}
} // namespace

TEST(TextSearch, FoldsLettersOfEveryAlphabetInUtf8)
{
    const std::string text = "say \xC3\x84rger \xCE\xA3\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1 \xD0\x9F\xD0\xA0\xD0\x98\xD0\x92\xD0\x95\xD0\xA2";
    TextFound m = findFolding(text, "SAY \xC3\xA4RGER", Encoding::Utf8);
    EXPECT_EQ(m.position, 0u);
    EXPECT_EQ(m.length, 10u);
    m = findFolding(text, "\xCF\x83\xCE\xBF\xCF\x86\xCE\xB9\xCE\xAC", Encoding::Utf8); // σοφιά, accents kept
    EXPECT_FALSE(m.found());
    m = findFolding(text, "\xCF\x83\xCE\x9F\xCE\xA6", Encoding::Utf8); // σΟΦ
    EXPECT_EQ(m.position, 11u);
    EXPECT_EQ(m.length, 6u);
    m = findFolding(text, "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", Encoding::Utf8); // привет
    EXPECT_EQ(m.position, 22u);
    EXPECT_EQ(m.length, 12u);
    // A match may take other bytes than the query: the long s is an s.
    m = findFolding("cla\xC5\xBF" "s", "SS", Encoding::Utf8);
    EXPECT_EQ(m.position, 3u);
    EXPECT_EQ(m.length, 3u);
    m = findFolding("class", "\xC5\xBF\xC5\xBF", Encoding::Utf8);
    EXPECT_EQ(m.position, 3u);
    EXPECT_EQ(m.length, 2u);
}

TEST(TextSearch, Utf8MatchesCoverWholeCharactersAndKeepIllFormedBytes)
{
    // "é" is C3 A9; a search from inside it starts at the next character,
    // and A9 alone (©) is not found in the middle of it.
    const std::string text = "\xC3\xA9\xC3\xA9";
    EXPECT_EQ(findFolding(text, "\xC3\x89", Encoding::Utf8, 1).position, 2u);
    EXPECT_FALSE(findFolding(text, "\xC2\xA9", Encoding::Utf8).found());
    // An ill-formed byte matches only itself, never the character it
    // would be in Latin-1.
    EXPECT_FALSE(findFolding("caf\xE9!", "CAF\xC3\x89", Encoding::Utf8).found());
    EXPECT_EQ(findFolding("caf\xE9!", "AF\xE9", Encoding::Utf8).position, 1u);
    // The match ends within the range; a character across its end is not taken.
    EXPECT_FALSE(FindFoldingCase("x\xC3\x84", 0, 2, "\xC3\xA4", Encoding::Utf8).found());
    EXPECT_EQ(FindFoldingCase("\xC3\x84x\xC3\x84", 1, 5, "\xC3\xA4", Encoding::Utf8).position, 3u);
    EXPECT_FALSE(findFolding("abc", "", Encoding::Utf8).found());
}

TEST(TextSearch, Latin1FoldsItsOwnLetters)
{
    TextFound m = findFolding("say \xC4rger \xFF", "\xE4RGER", Encoding::Latin1);
    EXPECT_EQ(m.position, 4u);
    EXPECT_EQ(m.length, 5u);
    EXPECT_EQ(findFolding("\xC9T\xC9", "\xE9t\xE9", Encoding::Latin1).position, 0u);
    // Letters whose other case Latin-1 lacks, and signs, match only themselves.
    EXPECT_FALSE(findFolding("\xB5", "\xE6", Encoding::Latin1).found());
    EXPECT_FALSE(findFolding("\xD7", "\xF7", Encoding::Latin1).found());
    EXPECT_EQ(findFolding("a\xFF", "\xFF", Encoding::Latin1).position, 1u);
}
