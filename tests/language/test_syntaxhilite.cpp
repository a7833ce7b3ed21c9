#include "app/tempdir.h"
#include "language/dictionary.h"
#include "language/syntaxhilite.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <tuple>
#include <vector>

using namespace varkel;

namespace {

// A small vocabulary: lower-case word -> class, looked up case-insensitively.
const std::map<std::string, int> kWords = {
    {"bind", Command},   {"alias", Command}, {"+attack", Command}, {"wait", Command},
    {"say", Command},    {"rocket", Item},   {"sensitivity", Cvar}, {"name", Cvar},
    {"x", KeyName},      {"mouse1", KeyName}, {"1", KeyName},       {"=", KeyName},
};

int stubLookup(std::string_view word)
{
    const auto it = kWords.find(toLowerLatin1(word));
    return it == kWords.end() ? 0 : it->second;
}

std::string classes(std::string_view text, bool colorStrings = false)
{
    return hiLiteClasses(text, stubLookup, colorStrings);
}

using PaintRun = std::tuple<std::size_t, std::size_t, int>;

std::vector<PaintRun> runs(std::string_view text, std::size_t offset, bool colorStrings = false)
{
    std::vector<PaintRun> out;
    SyntaxHiLite(text, offset, stubLookup, colorStrings,
                 [&](std::size_t start, std::size_t length, KeywordClass k) { out.emplace_back(start, length, k); });
    return out;
}

} // namespace

// A bind line with a quoted pair of commands: as a whole string, or word by
// word with ";" separating the words.
TEST(SyntaxHiLite, BindLineWithQuotedCommands)
{
    const std::string line = "bind x \"+attack;wait\"\r\n";
    EXPECT_EQ(classes(line, false), "2222050" + std::string(14, '8') + "00");
    EXPECT_EQ(classes(line, true), "2222050" "1" "2222222" "0" "2222" "1" "00");
    // Outside a string ";" is part of the word.
    EXPECT_EQ(classes("+attack;wait\n"), "111111111111" "0");
}

TEST(SyntaxHiLite, DigitsArePaintedOneByOneThenOverwrittenByTheirWord)
{
    // Unknown words lose their digit colour, numbers keep it digit by digit
    // (the point, the sign and the exponent letter stay unpainted), keywords
    // ending in a digit take their class.
    EXPECT_EQ(classes("cl_9x 1.5 -5 1e5 mouse1\n"), "11111" "0" "707" "0" "07" "0" "707" "0" "555555" "0");
    // A key name that is a digit: first the number colour, then the key name.
    EXPECT_EQ(runs("bind 1\n", 0),
              (std::vector<PaintRun>{{0, 4, Command}, {5, 1, Number}, {5, 1, KeyName}}));
    // A word glued to a digit-led word is still one word.
    EXPECT_EQ(classes("12ab\n"), "1111" "0");
}

TEST(SyntaxHiLite, UnterminatedStringEndsThePass)
{
    const std::string text = "name 5 \"say 5\r\nbind x\r\n";
    const std::string got = classes(text);
    EXPECT_EQ(got.substr(0, 8), "33330" "7" "0" "1");
    EXPECT_EQ(got.substr(8), std::string(text.size() - 8, '0'));
}

TEST(SyntaxHiLite, TokenAfterAStringIsSkipped)
{
    // The word glued to a closing quote is neither looked up nor painted; the
    // next word is.
    EXPECT_EQ(classes("\"a\"name name\n"), "888" "0000" "0" "3333" "0");
    EXPECT_EQ(classes("\"a\"name name\n", true), "111" "0000" "0" "3333" "0");
    // A second string that starts before the next delimiter is not a string:
    // only its quotes are painted plain.
    EXPECT_EQ(classes("\"a\"\"b\" name\n"), "888" "1" "0" "1" "0" "3333" "0");
    // A quote inside a word finds itself as its closing quote.
    EXPECT_EQ(classes("say\"hi\" name\n"), "000" "8" "00" "1" "0" "3333" "0");
}

TEST(SyntaxHiLite, Comments)
{
    // Up to and including the line feed; the next line is scanned as usual.
    EXPECT_EQ(classes("bind x // hi 5\r\nname\r\n"), "2222050" + std::string(9, '6') + "3333" "00");
    // On a last line without a line break the comment stays uncoloured, and so
    // do the digits in it.
    EXPECT_EQ(classes("name // hi 5"), "3333" + std::string(8, '0'));
    // "//" glued to a word: the word is not painted, its digits are.
    EXPECT_EQ(classes("bind//x\nname\n"), "0000" "6666" "3333" "0");
    EXPECT_EQ(classes("x5//c\n"), "07" "6666");
    // A "//" inside a string is part of the string.
    EXPECT_EQ(classes("\"a//b\"\n"), "888888" "0");
}

// A keyword is followed by the next position as it is: a space after it ends
// an empty word that is looked up. After any other word the spaces are skipped.
TEST(SyntaxHiLite, SpacesAreSkippedOnlyAfterAnUnfoundWord)
{
    std::vector<std::string> looked;
    auto recording = [&](std::string_view w) {
        looked.emplace_back(w);
        return stubLookup(w);
    };
    SyntaxHiLite("bind  x\n", 0, recording, false, [](std::size_t, std::size_t, KeywordClass) {});
    EXPECT_EQ(looked, (std::vector<std::string>{"bind", "", "x", ""}));
    looked.clear();
    SyntaxHiLite("foo  x\n", 0, recording, false, [](std::size_t, std::size_t, KeywordClass) {});
    EXPECT_EQ(looked, (std::vector<std::string>{"foo", "x", ""}));
}

TEST(SyntaxHiLite, WordsDelimitersAndCase)
{
    // Case-insensitive lookup, tabs as spaces, the last word without a line
    // break looked up like any other, delimiters left unpainted.
    EXPECT_EQ(classes("BIND\tX\r\n"), "2222" "0" "5" "00");
    EXPECT_EQ(classes("bind x"), "2222" "0" "5");
    EXPECT_EQ(classes(""), "");
    EXPECT_EQ(classes("   \r\n\t"), "000000");
    // Latin-1 bytes are word characters.
    EXPECT_EQ(classes("na\xE9me name\n"), "11111" "0" "3333" "0");
}

TEST(SyntaxHiLite, StringContentsWordByWord)
{
    // Inside a string a numeric word is a number, even a keyword, and is
    // painted whole (point included); "//" is a plain word.
    EXPECT_EQ(classes("bind 1 \"say 1.5 //x;1\"\n", true),
              "2222" "0" "5" "0" "1" "222" "0" "777" "0" "111" "0" "7" "1" "0");
    // An empty string has no contents to colour.
    EXPECT_EQ(classes("\"\" x\n", true), "11" "0" "5" "0");
    EXPECT_EQ(classes("\"\" x\n", false), "88" "0" "5" "0");
}

TEST(SyntaxHiLite, RunsLandAtTheOffsetInPaintingOrder)
{
    EXPECT_EQ(runs("mouse1 \"a\"\n", 100),
              (std::vector<PaintRun>{{105, 1, Number}, {100, 6, KeyName}, {107, 1, PlainText},
                                {109, 1, PlainText}, {107, 3, String}}));
    std::vector<PaintRun> sub;
    SyntaxHiLiteSubString("say;;5", 10, stubLookup,
                          [&](std::size_t s, std::size_t l, KeywordClass k) { sub.emplace_back(s, l, k); });
    EXPECT_EQ(sub, (std::vector<PaintRun>{{10, 3, Command}, {15, 1, Number}}));
}

TEST(SyntaxHiLite, NumericTokens)
{
    for (const char *yes : {"0", "-1", "+1.5", ".5", "5.", "1e5", "1E-5", "2.5e+10"})
        EXPECT_TRUE(isNumericToken(yes)) << yes;
    for (const char *no : {"", "-", ".", "+.", "1.2.3", "e5", "1e", "1e+", "1x", "--1", "0x10", "1,5", " 1"})
        EXPECT_FALSE(isNumericToken(no)) << no;
}

TEST(SyntaxHiLite, LineSpans)
{
    const std::string text = "ab\r\ncd\ref\ngh";
    auto span = [&](std::size_t pos) {
        const LineSpan s = lineSpanAt(text, pos);
        return std::make_pair(s.start, s.length);
    };
    EXPECT_EQ(span(0), std::make_pair(0ul, 4ul));
    EXPECT_EQ(span(2), std::make_pair(0ul, 4ul));
    EXPECT_EQ(span(3), std::make_pair(0ul, 4ul)); // the LF of a CR LF
    EXPECT_EQ(span(4), std::make_pair(4ul, 3ul)); // a lone CR ends a line
    EXPECT_EQ(span(7), std::make_pair(7ul, 3ul));
    EXPECT_EQ(span(10), std::make_pair(10ul, 2ul));
    EXPECT_EQ(span(12), std::make_pair(10ul, 2ul)); // the end: last line
    EXPECT_EQ(lineSpanAt("ab\n", 3).length, 0u);    // empty last line
    EXPECT_EQ(lineSpanAt("", 0).length, 0u);
}

// The line pass with a dictionary built from data files: it colours only its
// line, exactly as the whole pass colours that line.
TEST(SyntaxHiLite, LinePassWithABuiltDictionary)
{
    test::TempDir dir;
    for (const auto &[name, content] : {std::pair{"cmdlst", "bind\nquit\n"}, {"items", "rocket\n"},
                                         {"ItemList", "Rocket Launcher\n"}, {"keynames", "x\nvoid\n"},
                                         {"cvrlst", "name\nquit\n"}})
        test::writeAll(dir.file(std::string("Q2") + name + ".dat"), content);
    GameDictionary dictionary;
    const Error e = BuildDictionary(dictionary, dir.path(), "Q2");
    ASSERT_FALSE(e) << e.description();

    const std::string doc = "bind x quit\r\nname 5 rocket // c\r\nX = ~\r\n\r\n";
    const std::string whole = hiLiteClasses(doc, dictionary, false);
    EXPECT_EQ(whole, "2222050" "2222" "00" "3333" "0" "7" "0" "444444" "0" + std::string(6, '6') + "5" "0"
                     "5" "0" "5" "00" "00");

    const std::size_t lineStart = 13;
    std::string painted(doc.size(), '0');
    hiLiteLine(doc, lineStart + 3, dictionary, false, classPainter(painted));
    const std::size_t lineLength = doc.find('\n', lineStart) + 1 - lineStart;
    EXPECT_EQ(painted.substr(lineStart, lineLength), whole.substr(lineStart, lineLength));
    EXPECT_EQ(painted.substr(0, lineStart), std::string(lineStart, '0'));
    EXPECT_EQ(painted.substr(lineStart + lineLength), std::string(doc.size() - lineStart - lineLength, '0'));

    // The style buffer an editor takes holds the same pass, offset and all.
    const std::string line = doc.substr(lineStart, lineLength);
    std::string styles = hiLiteStyles(line, lineStart, dictionary, false, '\xFF');
    for (char &c : styles)
        c = c == '\xFF' ? '0' : static_cast<char>('0' + c);
    EXPECT_EQ(styles, whole.substr(lineStart, lineLength));

    // The empty last line colours nothing.
    std::string untouched(doc.size(), '0');
    hiLiteLine(doc, doc.size(), dictionary, false, classPainter(untouched));
    EXPECT_EQ(untouched, std::string(doc.size(), '0'));
}

// The classes handed out piece by piece are those of one whole pass, also
// where strings run across lines or stay open, which only a pass over the
// whole rest of the text colours right.
TEST(SyntaxHiLite, ClassesInPiecesAreThoseOfTheWholePass)
{
    GameDictionary dict;
    ASSERT_FALSE(BuildDictionary(dict, VARKEL_SOURCE_DIR "/Data", "Q2"));
    std::vector<std::string> texts = {
        "bind x \"+attack\"\r\nalias a \"say hi\r\nbind 1 \"wait\"\r\n// note\r\nsensitivity 3\r\n",
        "bind mouse1 +attack\nsay \"open\nname x\n",
        "// no line feed at the end",
    };
    std::mt19937 rng(3);
    for (int t = 0; t < 40; ++t) {
        static const char *const kParts[] = {"bind ", "x ", "\"", "\r\n", "\n", "// c", " 1.5 ", "mouse1", "\r", ";"};
        std::string text;
        for (int k = 0; k < 200; ++k)
            text += kParts[rng() % std::size(kParts)];
        texts.push_back(text);
    }
    for (const std::string &text : texts) {
        for (bool colorStrings : {false, true}) {
            const std::string whole = hiLiteClasses(text, dict, colorStrings);
            for (std::size_t pieceSize : {1u, 7u, 64u, 100000u}) {
                std::string pieces;
                hiLiteClassesInPieces(text, dict, colorStrings, pieceSize, [&](std::size_t start, std::string_view c) {
                    EXPECT_EQ(start, pieces.size());
                    pieces += c;
                });
                EXPECT_EQ(pieces, whole) << text;
            }
        }
    }
}
