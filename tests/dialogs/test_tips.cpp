#include "app/mglobal.h"
#include "app/profile.h"
#include "app/tempdir.h"
#include "dialogs/ctips.h"
#include "dialogs/tipoftheday.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

using namespace varkel;
using varkel::test::readAll;
using varkel::test::writeAll;

namespace {

cTips tipsOf(std::initializer_list<const char *> texts)
{
    cTips tips;
    for (const char *t : texts)
        tips.Add(t);
    return tips;
}

} // namespace

TEST(Tips, IdentifiersCountFromOneWithFiveDigitsAndAreNotReused)
{
    cTips tips = tipsOf({"a", "b", "c"});
    EXPECT_EQ(tips.Item(1)->ID() + tips.Item(3)->ID(), "T00001T00003");
    EXPECT_EQ(tips.Item("T00002")->Text(), "b");

    EXPECT_TRUE(tips.Delete("T00002"));
    EXPECT_FALSE(tips.Delete("T00002"));
    EXPECT_EQ(tips.Add("d").ID(), "T00004");
    EXPECT_TRUE(tips.Delete(1));
    EXPECT_FALSE(tips.Delete(0) || tips.Delete(3));
    ASSERT_EQ(tips.Count(), 2);
    EXPECT_EQ(tips.Item(1)->Text() + tips.Item(2)->ID(), "cT00004");

    cTips many;
    for (int i = 0; i < 100000; ++i)
        many.Add("");
    EXPECT_EQ(many.Item(99999)->ID(), "T99999");
    EXPECT_EQ(many.Item(100000)->ID(), "T100000");
}

TEST(Tips, NextTipWrapsAndAnEmptyCollectionGivesNothing)
{
    cTips tips = tipsOf({"one", "two"});
    EXPECT_EQ(tips.NextTip() + tips.NextTip() + tips.NextTip(), "onetwoone");
    // A position left past the end by a deletion starts again at the first tip.
    tips.Delete(2);
    tips.NextTip();
    EXPECT_EQ(tips.Position(), 1);

    cTips none;
    EXPECT_EQ(none.NextTip() + none.RandomTip() + none.AnotherTip("x"), "x");
}

TEST(Tips, NextTipButtonSkipsTheTextShown)
{
    // Tips A, B, A, B, A with A shown: B (position 2), A (3), B (4), A (5).
    cTips tips = tipsOf({"A", "B", "A", "B", "A"});
    std::string shown = "A";
    for (int position = 2; position <= 5; ++position) {
        const std::string next = tips.AnotherTip(shown);
        EXPECT_NE(next, shown);
        EXPECT_EQ(tips.Position(), position);
        shown = next;
    }
    // It ends when no text differs: one full round, no more.
    cTips one = tipsOf({"only"});
    EXPECT_EQ(one.AnotherTip("only"), "only");
    cTips same = tipsOf({"x", "x", "x"});
    EXPECT_EQ(same.AnotherTip("x"), "x");
    EXPECT_EQ(same.Position(), 3);
}

TEST(Tips, RandomTipLeavesTheNextTipPositionAlone)
{
    cTips tips = tipsOf({"A", "B", "C"});
    const std::set<std::string> all{"A", "B", "C"};
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(all.count(tips.RandomTip()));
    // The first Next Tip after the start tip looks at position 1 first.
    EXPECT_EQ(tips.Position(), 0);
    EXPECT_EQ(tips.AnotherTip("B"), "A");
    EXPECT_EQ(tips.AnotherTip("A"), "B");

    EXPECT_EQ(cTips::RandomPosition(0.0, 3), 1);
    EXPECT_EQ(cTips::RandomPosition(0.3333, 3), 1);
    EXPECT_EQ(cTips::RandomPosition(0.3334, 3), 2);
    EXPECT_EQ(cTips::RandomPosition(0.9999999, 3), 3);
    EXPECT_EQ(cTips::RandomPosition(0.5, 0), 0);
}

TEST(TipsFile, LinesEndAtCrOrCrLfOnly)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitTipLines(""), Lines{});
    EXPECT_EQ(SplitTipLines("one"), Lines{"one"});                   // no line break at all
    EXPECT_EQ(SplitTipLines("one\r\n"), Lines{"one"});
    EXPECT_EQ(SplitTipLines("one\r\ntwo"), (Lines{"one", "two"}));  // last line without a break
    EXPECT_EQ(SplitTipLines("one\rtwo\r"), (Lines{"one", "two"}));
    EXPECT_EQ(SplitTipLines("a\nb\r\n"), (Lines{"a", "b"}));          // a lone LF ends a tip too
    EXPECT_EQ(SplitTipLines("\r\n\r\nx\r\n"), (Lines{"", "", "x"}));  // empty lines are tips
    EXPECT_EQ(SplitTipLines("a\r\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitTipLines(std::string_view(" \t\xE9\0z", 5)), Lines{std::string(" \t\xE9\0z", 5)});
}

// The start-up sequence: the dialog sets ShowAtStartup to `answer`.
TEST(StartupTip, ShowsTheFileWhenWantedAndWritesTheAnswer)
{
    test::TempDir dir;
    const std::string ini = dir.file("Varkel.ini");
    std::filesystem::create_directories(dir.file("Data"));
    const bool saved = mGlobal::ShowTipOday;
    int shown = 0, lastCount = 0;
    const auto run = [&](bool answer) {
        shown = 0;
        return ShowStartupTip(dir.path(), ini, [&](cTips &tips) {
            ++shown;
            lastCount = tips.Count();
            tips.SetShowAtStartup(answer);
        });
    };
    // A missing or empty file shows nothing and writes nothing.
    mGlobal::ShowTipOday = true;
    EXPECT_FALSE(run(false));
    writeAll(dir.file("Data/Tips.dat"), "");
    EXPECT_FALSE(run(false));
    EXPECT_TRUE(shown == 0 && mGlobal::ShowTipOday);
    EXPECT_FALSE(std::filesystem::exists(ini));
    // A single empty line is one (empty) tip.
    writeAll(dir.file("Data/Tips.dat"), "\r\n");
    EXPECT_TRUE(run(true));
    EXPECT_EQ(lastCount, 1);
    EXPECT_EQ(GetProfileString("General", "ShowTipOday", "", ini), "True");

    writeAll(dir.file("Data/Tips.dat"), "one\r\ntwo\r\n");
    EXPECT_TRUE(run(false));
    EXPECT_TRUE(shown == 1 && lastCount == 2 && !mGlobal::ShowTipOday);
    EXPECT_EQ(GetProfileString("General", "ShowTipOday", "", ini), "False");
    // The next start shows nothing and writes nothing.
    writeAll(ini, "");
    EXPECT_FALSE(run(true));
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(readAll(ini), "");
    mGlobal::ShowTipOday = saved;
}

