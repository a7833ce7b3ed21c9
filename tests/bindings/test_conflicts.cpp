#include "bindings/bindingscan.h"
#include "bindings/conflicts.h"
#include "bindings/keystatetable.h"
#include "bindingfixture.h"

#include <gtest/gtest.h>
#include <vector>

using namespace varkel;
using varkel::test::RecordingSink;
using varkel::test::testDictionary;

namespace {

constexpr int kSlotF = 44;
constexpr int kSlotG = 45;
constexpr int kSlotX = 55;

} // namespace

TEST(ShowAllConflicts, StatesOfAllScriptsTextsOfTheActiveOne)
{
    const std::vector<std::string_view> texts{
        "bind f +use\nbind g +jump\nbind x +attack\nalias a 1\n",
        "bind f +attack\nbind x +attack\nbind g +jump\nbind g +duck\nalias b 2\n",
    };
    BindingState state;
    KeyStateTable states;
    ShowAllConflicts(state, testDictionary("Q2"), texts, 1, &states);

    // Bound differently in two scripts.
    EXPECT_EQ(states.state(kSlotF), KeyState::CON);
    EXPECT_EQ(state.BoundText[kSlotF], "+attack");
    // The same command in both.
    EXPECT_EQ(states.state(kSlotX), KeyState::On);
    // Twice in the active one: its last binding is the text shown.
    EXPECT_EQ(states.state(kSlotG), KeyState::CON);
    EXPECT_EQ(state.BoundText[kSlotG], "+duck");
    // The lists are the active script's.
    EXPECT_EQ(state.aliasList, std::vector<std::string>{"b"});

    // A key bound only elsewhere is On without a text; the active script
    // need not be the last one scanned.
    const std::vector<std::string_view> two{"bind f +use\n", "bind x +attack\n"};
    ShowAllConflicts(state, testDictionary("Q2"), two, 1, &states);
    EXPECT_EQ(states.state(kSlotF), KeyState::On);
    EXPECT_TRUE(state.Bound[kSlotF] == 1 && state.BoundText[kSlotF].empty());
    EXPECT_EQ(state.boundAt[kSlotF], BindingState::kNowhere);
    ShowAllConflicts(state, testDictionary("Q2"), two, 0, &states);
    EXPECT_EQ(state.BoundText[kSlotF], "+use");
    EXPECT_EQ(state.BoundText[kSlotX], "");
    // Only lines of the active script are remembered: the place the second
    // script's line has must not be taken for one in the first.
    EXPECT_EQ(state.boundAt[kSlotF], 0);
    EXPECT_EQ(state.boundAt[kSlotX], BindingState::kNowhere);
}

TEST(ShowAllConflicts, ClearsFirstAndLeavesNoStaleState)
{
    BindingState state;
    KeyStateTable states;
    const GameDictionary &dict = testDictionary("Q2");
    const std::vector<std::string_view> before{"bind f +use\n", "bind f +attack\n"};
    ShowAllConflicts(state, dict, before, 1, &states);
    ASSERT_EQ(states.state(kSlotF), KeyState::CON);

    const std::vector<std::string_view> after{"bind x +use\n"};
    RecordingSink sink;
    ShowAllConflicts(state, dict, after, 0, &sink);
    // Every slot shown Off, then x On; the final scan of the active script
    // shows nothing.
    ASSERT_EQ(sink.calls.size(), 111u);
    EXPECT_EQ(sink.calls.back().slot, kSlotX);
    EXPECT_EQ(sink.calls.back().state, KeyState::On);
    EXPECT_EQ(state.Bound[kSlotF], 0);
    EXPECT_EQ(state.BoundText[kSlotF], "");
}

TEST(RefreshDocumentBindings, ActiveAndNoneScanOnlyTheActiveScript)
{
    const std::vector<std::string_view> texts{"bind f +use\n", "bind f +attack\nbind f +jump\n"};
    const GameDictionary &dict = testDictionary("Q2");
    BindingState state;
    KeyStateTable states;

    RefreshDocumentBindings(state, dict, ConflictType::Active, texts, 1, &states);
    EXPECT_EQ(states.state(kSlotF), KeyState::CON);
    EXPECT_EQ(state.BoundText[kSlotF], "+attack");

    RefreshDocumentBindings(state, dict, ConflictType::None, texts, 1, &states);
    EXPECT_EQ(states.state(kSlotF), KeyState::On);
    EXPECT_EQ(state.BoundText[kSlotF], "+jump");

    RefreshDocumentBindings(state, dict, ConflictType::Active, texts, 0, &states);
    EXPECT_EQ(states.state(kSlotF), KeyState::On);
    EXPECT_EQ(state.BoundText[kSlotF], "+use");

    RefreshDocumentBindings(state, dict, ConflictType::All, texts, 0, &states);
    EXPECT_EQ(states.state(kSlotF), KeyState::CON);
    EXPECT_EQ(state.BoundText[kSlotF], "+use");
}
