#include "bindings/getword.h"
#include "support/corpus.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace varkel;

namespace {

std::vector<std::string> words(std::string_view line, int count)
{
    std::vector<std::string> out;
    for (int n = 1; n <= count; ++n)
        out.push_back(GetWord(line, n));
    return out;
}

using W = std::vector<std::string>;

} // namespace

TEST(GetWord, SpacesAndTabsSeparateWords)
{
    EXPECT_EQ(words("bind mouse1 +attack", 4), (W{"bind", "mouse1", "+attack", ""}));
    EXPECT_EQ(words("  bind \t mouse1\t\t+attack  ", 3), (W{"bind", "mouse1", "+attack"}));
    EXPECT_EQ(GetWord("", 1), "");
    EXPECT_EQ(GetWord("   ", 1), "");
    EXPECT_EQ(GetWord("a b", 0), "");
    EXPECT_EQ(GetWord("a b", 1000000), "");
}

TEST(GetWord, QuotedWordsLoseTheirQuotes)
{
    EXPECT_EQ(words("bind MOUSE1 \"+attack\"", 3), (W{"bind", "MOUSE1", "+attack"}));
    EXPECT_EQ(words("bind t \"say hello world\" x", 4), (W{"bind", "t", "say hello world", "x"}));
    // Three characters is the shortest quoted word that is unwrapped.
    EXPECT_EQ(GetWord("\"a\"", 1), "a");
    // The inside is trimmed; a tab inside quotes becomes a space.
    EXPECT_EQ(GetWord("x \"  two  words  \"", 2), "two  words");
    EXPECT_EQ(GetWord("bind x \"say\thello\"", 3), "say hello");
    EXPECT_EQ(GetWord("x \"   \"", 2), "");
}

TEST(GetWord, EmptyQuotesStayTwoQuoteCharacters)
{
    EXPECT_EQ(words("bind x \"\" y", 4), (W{"bind", "x", "\"\"", "y"}));
    EXPECT_EQ(words("\"\"\"\"", 3), (W{"\"\"", "\"\"", ""}));
}

TEST(GetWord, UnclosedQuoteRunsToTheEndOfTheLine)
{
    EXPECT_EQ(words("bind x \"say a b", 4), (W{"bind", "x", "say a b", ""}));
    // Fewer than three characters: returned as written, quote included.
    EXPECT_EQ(GetWord("bind x \"a", 3), "\"a");
    EXPECT_EQ(GetWord("bind x \"", 3), "\"");
    // Three characters: only the opening quote goes; the rest is trimmed.
    EXPECT_EQ(GetWord("bind x \"ab", 3), "ab");
    EXPECT_EQ(GetWord("bind x \"a ", 3), "a");
}

TEST(GetWord, QuoteInsideAWordDoesNotEndIt)
{
    EXPECT_EQ(words("say\"hello world\" x", 3), (W{"say\"hello", "world\"", "x"}));
    EXPECT_EQ(words("a\"b\"c d", 2), (W{"a\"b\"c", "d"}));
}

TEST(GetWord, TextRightAfterAClosingQuoteStartsANewWord)
{
    EXPECT_EQ(words("\"abc\"def ghi", 3), (W{"abc", "def", "ghi"}));
    EXPECT_EQ(words("\"a b\"\"c d\"", 3), (W{"a b", "c d", ""}));
    EXPECT_EQ(words("\"a b\"\"\"x", 3), (W{"a b", "\"\"", "x"}));
}

// The one-pass splitter the scan uses must give exactly GetWord's words, on
// every line of real scripts.
TEST(GetWord, SplitterAgreesWithGetWordOnTheCorpus)
{
    const auto scripts = test::CorpusScripts();
    if (scripts.empty())
        GTEST_SKIP() << "no corpus";
    std::size_t lines = 0;
    for (const auto &path : scripts) {
        const std::string text = test::FileBytes(path);
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string::npos)
                end = text.size();
            const std::string_view line(text.data() + pos, end - pos);
            pos = end + 1;
            std::string_view split[5];
            const std::size_t count = splitWords(line, split, 5);
            for (int n = 1; n <= 5; ++n) {
                const std::string expected = GetWord(line, n);
                const std::string got = static_cast<std::size_t>(n) <= count ? wordText(split[n - 1]) : "";
                ASSERT_EQ(got, expected) << path << " line: " << line << " word " << n;
            }
            ++lines;
        }
    }
    EXPECT_GT(lines, 1000u);
}
