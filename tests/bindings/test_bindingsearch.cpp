#include "bindings/bindingsearch.h"
#include "bindings/bindingscan.h"
#include "bindingfixture.h"
#include "support/corpus.h"

#include <gtest/gtest.h>
#include <string>

using namespace varkel;
using varkel::test::testDictionary;

namespace {

constexpr int kSlotPlus = 25;
constexpr int kSlotGrave = 13;
constexpr int kSlotF = 44;
constexpr int kSlotX = 55;

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
    const GameDictionary &dict = testDictionary("Q2");
    const std::string text = "// line 1\n"
                             "bind + a\n"
                             "echo 3\n"
                             "bind = b\n"
                             "echo 5\n"
                             "bind + c\n";
    // Caret at the start of line 1; each call starts one past the caret.
    std::ptrdiff_t caret = 0;
    TextMatch m = FindNextConflict(text, dict, kSlotPlus, caret + 1);
    EXPECT_EQ(m.position, at(text, "bind + a"));
    EXPECT_EQ(m.length, 8u); // the whole line
    caret = m.position;
    m = FindNextConflict(text, dict, kSlotPlus, caret + 1);
    EXPECT_EQ(m.position, at(text, "bind + c"));
    caret = m.position;
    EXPECT_FALSE(FindNextConflict(text, dict, kSlotPlus, caret + 1).found());

    const std::string onlyEquals = "// line 1\necho 2\necho 3\nbind = b\n";
    EXPECT_EQ(FindNextConflict(onlyEquals, dict, kSlotPlus, 1).position, at(onlyEquals, "bind = b"));
}

TEST(FindNextConflict, BindLinesAsTheScanReadsThem)
{
    const GameDictionary &dict = testDictionary("Q2");
    // Keys aligned with tabs or several blanks, quoted, in capitals; text
    // that only looks like a binding (inside an alias, after "un") is none.
    const std::string text = "alias setf \"bind f +use\"\n"
                             "unbind f \n"
                             "bind f1\t+jump\n"
                             "  BIND \"F\"\t\t\"+attack\"  // fire  \r\n"
                             "bind f    +use\n";
    TextMatch m = FindNextConflict(text, dict, kSlotF, 0);
    EXPECT_EQ(m.position, at(text, "BIND \"F\""));
    EXPECT_EQ(m.length, std::string("BIND \"F\"\t\t\"+attack\"  // fire").size());
    m = FindNextConflict(text, dict, kSlotF, m.position + 1);
    EXPECT_EQ(m.position, at(text, "bind f    +use"));
    EXPECT_FALSE(FindNextConflict(text, dict, kSlotF, m.position + 1).found());
    // The grave accent before the tilde; a line that starts at the caret is skipped.
    const std::string grave = "bind ~ a\nbind ` b\n";
    EXPECT_EQ(FindNextConflict(grave, dict, kSlotGrave, 0).position, at(grave, "bind ` b"));
    EXPECT_EQ(FindNextConflict(grave, dict, kSlotGrave, 1).position, at(grave, "bind ` b"));
    EXPECT_FALSE(FindNextConflict(grave, dict, kSlotGrave, at(grave, "bind ` b") + 1).found());
}

TEST(FindSlotBinding, SelectsTheLineTheScanTookTheTextFrom)
{
    const GameDictionary &dict = testDictionary("Q2");
    // Column-aligned: no search text matches the f line itself, and the
    // command alone occurs first on another key's line.
    const std::string text = "bind g \"+use\"\r\n"
                             "bind f        \"+use\"\r\n"
                             "bind\tf\t+attack\r\n";
    BindingState state;
    GetBindings(state, text, dict, ConflictType::Active, false, nullptr);
    TextMatch m = FindSlotBinding(text, state, dict, kSlotF);
    EXPECT_EQ(m.position, at(text, "bind f  "));
    EXPECT_EQ(m.length, std::string("bind f        \"+use\"").size());
    EXPECT_EQ(FindBinding(text, "f", "+use", 0).position, at(text, "+use")); // the text search alone: the g line

    // With conflicts off the last binding gives the text, and its line is chosen.
    ClearData(state, nullptr);
    GetBindings(state, text, dict, ConflictType::None, false, nullptr);
    EXPECT_EQ(FindSlotBinding(text, state, dict, kSlotF).position, at(text, "bind\tf"));

    // Where the script changed under the recorded place, the text search
    // takes over; an unbound key finds nothing.
    const std::string edited = "echo\n" + text;
    EXPECT_EQ(FindSlotBinding(edited, state, dict, kSlotF).position, FindBinding(edited, "f", "+attack", 0).position);
    EXPECT_FALSE(FindSlotBinding(text, state, dict, kSlotX).found());
    // The keys with two names fall back on the first line of either name.
    const std::string plus = "bind = +zoom\n";
    EXPECT_EQ(FindSlotBinding(plus, BindingState{}, dict, kSlotPlus).position, 0);
}

TEST(LineOfPosition, CountsLineEndsAsTheEditorDoes)
{
    const std::string text = "a\r\nb\nc\rd\r\n\re";
    EXPECT_EQ(LineOfPosition(text, 0), 0);
    EXPECT_EQ(LineOfPosition(text, text.find('b')), 1);
    EXPECT_EQ(LineOfPosition(text, text.find('c')), 2);
    EXPECT_EQ(LineOfPosition(text, text.find('d')), 3);
    EXPECT_EQ(LineOfPosition(text, text.find('e')), 5);
    EXPECT_EQ(LineOfPosition(text, 1000), 5);
}

// Every bound slot of every corpus script: the line a click selects is a
// `bind` line of that key, in every mode that scans one script.
TEST(FindSlotBinding, EveryCorpusBindingSelectsALineOfItsKey)
{
    if (test::CorpusScripts().empty())
        GTEST_SKIP() << "no corpus";
    int checked = 0, scripts = 0;
    for (const char *folder : {"q1", "q2", "q3"}) {
        GameDictionary dict;
        ASSERT_FALSE(BuildDictionary(dict, VARKEL_SOURCE_DIR "/Data", std::string("Q") + folder[1]));
        for (const auto &path : test::CorpusScripts(folder)) {
            ++scripts;
            const std::string text = test::FileBytes(path);
            for (ConflictType mode : {ConflictType::Active, ConflictType::None}) {
                BindingState state;
                ClearData(state, nullptr);
                GetBindings(state, text, dict, mode, false, nullptr);
                for (int slot = 0; slot < BindingState::SlotCount; ++slot) {
                    if (state.Bound[static_cast<std::size_t>(slot)] != 1)
                        continue;
                    const TextMatch m = FindSlotBinding(text, state, dict, slot);
                    ++checked;
                    EXPECT_TRUE(m.found()) << path << " slot " << slot;
                    if (!m.found())
                        continue;
                    // Read the selected line on its own, as the scan would.
                    const std::size_t from = text.rfind('\n', static_cast<std::size_t>(m.position));
                    std::size_t pos = from == std::string::npos ? 0 : from + 1;
                    ScriptLine line;
                    ASSERT_TRUE(ReadScriptLine(text, pos, line));
                    EXPECT_EQ(BindSlot(line, dict), slot)
                        << path << " slot " << slot << " selects line "
                        << LineOfPosition(text, static_cast<std::size_t>(m.position)) + 1;
                }
            }
        }
    }
    EXPECT_GT(scripts, 50);
    EXPECT_GT(checked, 1000);
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
