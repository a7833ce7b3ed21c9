// Reading a script command by command, as the game cuts it.
#include "bindings/scriptreader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace varkel;

namespace {

// Every command as "line:word|word|...".
std::vector<std::string> commands(std::string_view text)
{
    std::vector<std::string> out;
    ScriptReader reader(text);
    ScriptCommand c;
    while (reader.next(c)) {
        std::string s = std::to_string(c.line + 1) + ":";
        for (std::size_t i = 0; i < c.words.size(); ++i)
            s += (i ? "|" : "") + std::string(c.words[i].text);
        out.push_back(s);
    }
    return out;
}

using List = std::vector<std::string>;

} // namespace

TEST(ScriptReader, LinesEndAtLineFeedCarriageReturnOrBoth)
{
    EXPECT_EQ(commands("a\nb\r\nc\rd\r\r\ne\n\nf"), (List{"1:a", "2:b", "3:c", "4:d", "6:e", "8:f"}));
    EXPECT_EQ(commands(""), List{});
    EXPECT_EQ(commands("\r\n\n\r  \t\r\n"), List{});
    // A quote never closed stops at the line end, a lone carriage return included.
    EXPECT_EQ(commands("bind x \"a b\rbind y c"), (List{"1:bind|x|a b", "2:bind|y|c"}));
}

TEST(ScriptReader, SemicolonsOutsideQuotesCutCommands)
{
    EXPECT_EQ(commands("bind x a;bind y b ; ;; echo"), (List{"1:bind|x|a", "1:bind|y|b", "1:echo"}));
    EXPECT_EQ(commands("bind x \"+a; wait; -a\";echo"), (List{"1:bind|x|+a; wait; -a", "1:echo"}));
    EXPECT_EQ(commands("a\"b;c\"d;e"), (List{"1:a|b;c|d", "1:e"}));
}

TEST(ScriptReader, DoubleSlashOutsideQuotesEndsTheLine)
{
    EXPECT_EQ(commands("bind x a // bind y b; bind z c\nbind w d"), (List{"1:bind|x|a", "2:bind|w|d"}));
    EXPECT_EQ(commands("bind x a//b\n//bind y\n  // x"), (List{"1:bind|x|a"}));
    EXPECT_EQ(commands("bind x \"say http://a;b\" c"), (List{"1:bind|x|say http://a;b|c"}));
    EXPECT_EQ(commands("say a/b /c / d"), (List{"1:say|a/b|/c|/|d"}));
    // An unclosed quote hides a later "//" and ";".
    EXPECT_EQ(commands("bind x \"a // b; c\nd"), (List{"1:bind|x|a // b; c", "2:d"}));

    ScriptReader reader("bind x a  // note\r\nb;c // n");
    ScriptCommand c;
    ASSERT_TRUE(reader.next(c));
    EXPECT_EQ(c.comment, 10u);
    ASSERT_TRUE(reader.next(c));
    EXPECT_EQ(c.comment, std::string_view::npos);
    ASSERT_TRUE(reader.next(c));
    EXPECT_EQ(c.comment, 23u);
    EXPECT_FALSE(reader.next(c));
}

TEST(ScriptReader, BlanksAreEveryByteUpToTheSpace)
{
    EXPECT_EQ(commands(std::string("bind\tx\x01+a\x00" "b\x1f" "c\x7f\xa0", 15)),
              (List{"1:bind|x|+a|b|c\x7f\xa0"}));
    EXPECT_EQ(commands("   bind     x\t\t y   "), (List{"1:bind|x|y"}));
}

TEST(ScriptReader, AQuoteStartsAWordWhereverItStands)
{
    EXPECT_EQ(commands("ab\"cd ef\"gh"), (List{"1:ab|cd ef|gh"}));
    EXPECT_EQ(commands("bind \"x\"\"\" y"), (List{"1:bind|x||y"}));
    EXPECT_EQ(commands("\"\""), (List{"1:"}));
    EXPECT_EQ(commands("bind x \"unclosed  "), (List{"1:bind|x|unclosed  "}));
    EXPECT_EQ(commands("bind x \""), (List{"1:bind|x|"}));

    // Offsets are the script's own: quotes are part of a word's extent, not of its text.
    ScriptReader reader("\n  bind \"MOUSE1\" a\"b");
    ScriptCommand c;
    ASSERT_TRUE(reader.next(c));
    EXPECT_EQ(c.line, 1);
    EXPECT_EQ(c.lineStart, 1u);
    EXPECT_EQ(c.start, 3u);
    EXPECT_EQ(c.end, 20u);
    ASSERT_EQ(c.words.size(), 4u);
    EXPECT_TRUE(c.is("bind"));
    const ScriptWord &key = c.words[1];
    EXPECT_EQ(key.text, "MOUSE1");
    EXPECT_EQ(key.start, 8u);
    EXPECT_EQ(key.end, 16u);
    EXPECT_TRUE(key.quoted && key.closed);
    EXPECT_EQ(c.words[2].start, 17u);
    EXPECT_FALSE(c.words[2].quoted);
    EXPECT_EQ(c.words[3].text, "b");
    EXPECT_EQ(c.words[3].start, 18u);
    EXPECT_TRUE(c.words[3].quoted && !c.words[3].closed);
}

TEST(ScriptReader, FirstWordComparedWithoutCase)
{
    ScriptReader reader("BiNd x y\nbindx y\nbin");
    ScriptCommand c;
    ASSERT_TRUE(reader.next(c));
    EXPECT_TRUE(c.is("bind"));
    ASSERT_TRUE(reader.next(c));
    EXPECT_FALSE(c.is("bind"));
    ASSERT_TRUE(reader.next(c));
    EXPECT_FALSE(c.is("bind"));
    EXPECT_TRUE(EqualsNoCase("KP_ENTER", "kp_enter"));
    EXPECT_FALSE(EqualsNoCase("\xc4", "\xe4")); // only ASCII letters fold
}
