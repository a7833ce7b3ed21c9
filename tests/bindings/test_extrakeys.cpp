// Keys of the game that have no place on the device panel (MOUSE4, CAPSLOCK,
// AUX1...): read by the binding scan, kept in the binding table beside the
// slots, with conflicts found by the same rules.
#include "bindings/bindingscan.h"
#include "bindings/bindingsearch.h"
#include "bindings/conflicts.h"
#include "bindings/keystatetable.h"
#include "bindingfixture.h"
#include "language/syntaxhilite.h"

#include <gtest/gtest.h>

using namespace varkel;
using varkel::test::RecordingSink;
using varkel::test::testDictionary;

namespace {

constexpr int kSlotF = 44;
// Q3's extra keys in the test data: capslock, mouse4, mouse5, aux1.
constexpr std::size_t kMouse4 = 1;
constexpr std::size_t kMouse5 = 2;

const BindingState::ExtraKey &extra(const BindingState &state, std::size_t index)
{
    static const BindingState::ExtraKey none;
    return index < state.extraKeys.size() ? state.extraKeys[index] : none;
}

} // namespace

TEST(ExtraKeys, NumberedAfterTheSlots)
{
    const GameDictionary &q3 = testDictionary("Q3");
    EXPECT_EQ(KeyNumber(q3, "MOUSE4"), kDeviceSlotCount + 1);
    EXPECT_EQ(KeyIndex(q3, "mouse4"), -1) << "no slot of the panel";
    EXPECT_EQ(KeyNumber(q3, "f"), kSlotF);
    EXPECT_EQ(KeyNumber(q3, "="), KeyIndex(q3, "+"));
    EXPECT_EQ(KeyNumber(q3, "mouse6"), -1);
    // Each game has its own keys.
    EXPECT_EQ(KeyNumber(testDictionary("Q1"), "mouse4"), -1);
    EXPECT_EQ(KeyNumber(testDictionary("Q1"), "aux2"), kDeviceSlotCount + 1);
}

TEST(ExtraKeys, BoundInTheTableNotOnThePanel)
{
    const std::string_view text = "bind MOUSE4 \"+zoom\"\nbind f +use\nbind mouse5 \"say hi there\"\nbind mouse6 x\n";
    BindingState state;
    RecordingSink sink;
    GetBindings(state, text, testDictionary("Q3"), ConflictType::Active, false, &sink);

    const auto &m4 = extra(state, kMouse4);
    EXPECT_TRUE(m4.Bound);
    EXPECT_EQ(m4.state, KeyState::On);
    EXPECT_EQ(m4.BoundText, "+zoom");
    EXPECT_EQ(m4.boundAt, 0);
    EXPECT_EQ(extra(state, kMouse5).BoundText, "say hi there");
    EXPECT_EQ(extra(state, kMouse5).boundAt, static_cast<std::ptrdiff_t>(text.find("bind mouse5")));
    EXPECT_FALSE(extra(state, 0).Bound);
    // The panel's slots keep their numbers, and the panel hears of nothing else.
    EXPECT_EQ(state.BoundText[kSlotF], "+use");
    ASSERT_EQ(sink.calls.size(), 1u);
    EXPECT_EQ(sink.calls[0].slot, kSlotF);

    // The same line means nothing to a game without the key.
    BindingState q1;
    GetBindings(q1, text, testDictionary("Q1"), ConflictType::Active, false, nullptr);
    EXPECT_TRUE(q1.extraKeys.empty());
}

TEST(ExtraKeys, ConflictsByTheRulesOfTheSlots)
{
    const std::string_view text = "bind mouse4 +zoom\nbind mouse4 +zoom\nbind mouse5 a\nbind MOUSE5 b\n";
    BindingState state;
    GetBindings(state, text, testDictionary("Q3"), ConflictType::Active, false, nullptr);
    EXPECT_EQ(extra(state, kMouse4).state, KeyState::On) << "the same command twice is no conflict";
    EXPECT_EQ(extra(state, kMouse5).state, KeyState::CON);
    EXPECT_EQ(extra(state, kMouse5).BoundText, "a");
    EXPECT_EQ(extra(state, kMouse5).boundAt, static_cast<std::ptrdiff_t>(text.find("bind mouse5")));

    // Without conflict marking the last binding wins.
    ClearData(state, nullptr);
    EXPECT_TRUE(state.extraKeys.empty());
    GetBindings(state, text, testDictionary("Q3"), ConflictType::None, false, nullptr);
    EXPECT_EQ(extra(state, kMouse5).state, KeyState::On);
    EXPECT_EQ(extra(state, kMouse5).BoundText, "b");
    EXPECT_EQ(extra(state, kMouse5).boundAt, static_cast<std::ptrdiff_t>(text.find("bind MOUSE5")));
}

TEST(ExtraKeys, AcrossAllScriptsStatesOfAllTextsOfTheActiveOne)
{
    const std::vector<std::string_view> texts{"bind mouse4 +zoom\nbind mouse5 a\n", "bind mouse4 +attack\n"};
    BindingState state;
    KeyStateTable states;
    ShowAllConflicts(state, testDictionary("Q3"), texts, 1, &states);
    EXPECT_EQ(extra(state, kMouse4).state, KeyState::CON);
    EXPECT_EQ(extra(state, kMouse4).BoundText, "+attack");
    EXPECT_EQ(extra(state, kMouse4).boundAt, 0);
    // Bound only in the other script: On, no text, no line.
    EXPECT_EQ(extra(state, kMouse5).state, KeyState::On);
    EXPECT_TRUE(extra(state, kMouse5).Bound && extra(state, kMouse5).BoundText.empty());
    EXPECT_EQ(extra(state, kMouse5).boundAt, BindingState::kNowhere);

    // A refresh of the active script alone starts from nothing.
    RefreshDocumentBindings(state, testDictionary("Q3"), ConflictType::Active, texts, 1, &states);
    EXPECT_EQ(extra(state, kMouse4).state, KeyState::On);
    EXPECT_FALSE(extra(state, kMouse5).Bound);
}

TEST(ExtraKeys, ColouredAsKeyNamesInTheirGame)
{
    const std::string text = "bind mouse4 \"+attack\"";
    const std::string mouse4(6, '5');
    EXPECT_EQ(hiLiteClasses(text, testDictionary("Q3"), false).substr(5, 6), mouse4);
    EXPECT_NE(hiLiteClasses(text, testDictionary("Q1"), false).substr(5, 6), mouse4);
    EXPECT_EQ(hiLiteClasses("bind AUX2 x", testDictionary("Q1"), false).substr(5, 4), "5555");
}

TEST(ExtraKeys, AClickFindsTheirLineAndTheNextConflict)
{
    const GameDictionary &q3 = testDictionary("Q3");
    const int mouse4 = KeyNumber(q3, "mouse4");
    // Aligned so that no text search hits the taken line.
    const std::string text = "bind mouse5 +zoom\nbind mouse4    \"+zoom\"\nbind \"MOUSE4\" +attack\n";
    BindingState state;
    GetBindings(state, text, q3, ConflictType::Active, false, nullptr);
    EXPECT_EQ(state.boundTextOf(mouse4), "+zoom");
    const TextMatch m = FindSlotBinding(text, state, q3, mouse4);
    EXPECT_EQ(m.position, static_cast<std::ptrdiff_t>(text.find("bind mouse4")));
    EXPECT_EQ(m.length, std::string("bind mouse4    \"+zoom\"").size());

    // The next binding of the key from one past the caret, then none.
    const TextMatch next = FindNextConflict(text, q3, mouse4, m.position + 1);
    EXPECT_EQ(next.position, static_cast<std::ptrdiff_t>(text.find("bind \"MOUSE4\"")));
    EXPECT_FALSE(FindNextConflict(text, q3, mouse4, next.position + 1).found());

    // Moved under the record: the text search for its recorded command.
    const std::string edited = "echo\n" + text;
    EXPECT_EQ(FindSlotBinding(edited, state, q3, mouse4).position, FindBinding(edited, "mouse4", "+zoom", 0).position);
    // A number the game does not have, or a key never bound, finds nothing.
    EXPECT_FALSE(FindSlotBinding(text, state, q3, kDeviceSlotCount + 1000).found());
    EXPECT_FALSE(FindSlotBinding(text, state, q3, KeyNumber(q3, "capslock")).found());
}
