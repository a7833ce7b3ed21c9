#include "bindings/bindingsearch.h"

#include <gtest/gtest.h>
#include <string>

using namespace varkel;

namespace {

// Position of the first occurrence of `line` in `text` (the test's own scripts
// hold each line once).
std::ptrdiff_t at(std::string_view text, std::string_view line)
{
    const std::size_t p = text.find(line);
    EXPECT_NE(p, std::string_view::npos) << line;
    return static_cast<std::ptrdiff_t>(p);
}

} // namespace

TEST(FindBinding, FiveSearchTextsInOrder)
{
    // Each form alone.
    struct Case {
        std::string text;
        std::string matched;
    } cases[] = {
        {"x\nbind mouse1 +attack\n", "bind mouse1 +attack"},
        {"x\nbind \"mouse1\" +attack\n", "bind \"mouse1\" +attack"},
        {"x\nbind mouse1 \"+attack\"\n", "bind mouse1 \"+attack\""},
        {"x\nbind \"mouse1\" \"+attack\"\n", "bind \"mouse1\" \"+attack\""},
        {"x\nalias fire +attack\n", "+attack"},
    };
    for (const Case &c : cases) {
        const TextMatch m = FindBinding(c.text, "mouse1", "+attack", 0);
        EXPECT_EQ(m.position, at(c.text, c.matched)) << c.text;
        EXPECT_EQ(m.length, c.matched.size()) << c.text;
    }
    EXPECT_FALSE(FindBinding("bind mouse2 +jump\n", "mouse1", "+attack", 0).found());
    // An earlier search text wins over an earlier position.
    const std::string text = "+attack\nbind mouse1 \"+attack\"\nbind mouse1 +attack\n";
    EXPECT_EQ(FindBinding(text, "mouse1", "+attack", 0).position, at(text, "bind mouse1 +attack"));
}

TEST(FindBinding, IgnoresCaseAndStartsAtStart)
{
    const std::string text = "BIND MOUSE1 +ATTACK\nbind mouse1 +attack\n";
    EXPECT_EQ(FindBinding(text, "mouse1", "+attack", 0).position, 0);
    EXPECT_EQ(FindBinding(text, "mouse1", "+attack", 1).position, at(text, "bind mouse1"));
    EXPECT_FALSE(FindBinding(text, "mouse1", "+attack", 33).found());
    EXPECT_FALSE(FindBinding(text, "mouse1", "+attack", 1000).found());
    // Latin-1 letters fold too.
    EXPECT_EQ(FindBinding("bind x say \xC9T\xC9", "x", "say \xE9t\xE9", 0).position, 0);
}

TEST(FindBinding, EmptyCommandMatchesAnyBindingOfTheKey)
{
    const std::string text = "bind ff +x\nbind f \"+use\"\n";
    const TextMatch m = FindBinding(text, "f", "", 0);
    EXPECT_EQ(m.position, at(text, "bind f "));
    EXPECT_EQ(m.length, 7u);
    // The fifth search text is empty then, and an empty text is never found.
    EXPECT_FALSE(FindBinding("alias x y\n", "f", "", 0).found());
}

TEST(FindNextConflict, PlusLinesBeforeEqualsLines)
{
    const std::string text = "// line 1\n"
                             "bind + a\n"
                             "echo 3\n"
                             "bind = b\n"
                             "echo 5\n"
                             "bind + c\n";
    // Caret at the start of line 1; each call starts one past the caret.
    std::ptrdiff_t caret = 0;
    TextMatch m = FindNextConflict(text, "+", caret + 1);
    EXPECT_EQ(m.position, at(text, "bind + a"));
    caret = m.position;
    m = FindNextConflict(text, "+", caret + 1);
    EXPECT_EQ(m.position, at(text, "bind + c"));
    caret = m.position;
    EXPECT_FALSE(FindNextConflict(text, "+", caret + 1).found());

    const std::string onlyEquals = "// line 1\necho 2\necho 3\nbind = b\n";
    EXPECT_EQ(FindNextConflict(onlyEquals, "+", 1).position, at(onlyEquals, "bind = b"));
}

TEST(FindNextConflict, GraveAndTildeAndOrdinaryKeys)
{
    const std::string text = "bind ~ a\nbind ` b\nbind f c\nbind f d\n";
    EXPECT_EQ(FindNextConflict(text, "`", 1).position, at(text, "bind ` b"));
    EXPECT_FALSE(FindNextConflict(text, "`", at(text, "bind ` b") + 1).found());
    EXPECT_EQ(FindNextConflict(text, "`", 0).position, at(text, "bind ` b"));
    // A line that starts exactly at the caret is skipped.
    const std::ptrdiff_t first = at(text, "bind f c");
    EXPECT_EQ(FindNextConflict(text, "f", first + 1).position, at(text, "bind f d"));
    EXPECT_FALSE(FindNextConflict(text, "f", at(text, "bind f d") + 1).found());
}

TEST(HandleDupKeys, SelectsTheFirstLineOfEitherName)
{
    const std::string onlyEquals = "echo\nbind = +zoom\n";
    EXPECT_EQ(HandleDupKeys(onlyEquals, "+").position, at(onlyEquals, "bind = +zoom"));

    EXPECT_EQ(HandleDupKeys("bind = a\nbind + b\n", "+").position, 0);
    EXPECT_EQ(HandleDupKeys("bind + b\nbind = a\n", "+").position, 0);

    const std::string grave = "bind \"`\" x\nbind ~ y\n";
    const TextMatch g = HandleDupKeys(grave, "`");
    EXPECT_EQ(g.position, 0);
    EXPECT_EQ(g.length, std::string("bind \"`\" ").size());
    EXPECT_EQ(HandleDupKeys("bind ~ y\n", "`").position, 0);

    EXPECT_FALSE(HandleDupKeys("bind f x\n", "+").found());
}
