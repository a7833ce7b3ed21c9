// User tools without widgets: the checks of the tool dialog, the settings
// they are stored in, and the splitting of a tool's command line.

#include "app/profile.h"
#include "app/settings.h"
#include "app/tempdir.h"
#include "dialogs/commandline.h"
#include "dialogs/usertools.h"

#include <gtest/gtest.h>

using namespace varkel;
using Words = std::vector<std::string>;

TEST(UserToolCheck, LengthIsCheckedFirstThenNameThenPath)
{
    const std::string n32(32, 'n'), n33(33, 'n');
    EXPECT_EQ(CheckUserTool(n32, "/bin/true"), ToolCheck::Ok);
    EXPECT_EQ(CheckUserTool(n33, "/bin/true"), ToolCheck::NameTooLong);
    // A name too long and an empty path: only the length is reported.
    EXPECT_EQ(CheckUserTool(n33, ""), ToolCheck::NameTooLong);
    EXPECT_EQ(CheckUserTool("", ""), ToolCheck::NameEmpty);
    EXPECT_EQ(CheckUserTool("Tool", ""), ToolCheck::PathEmpty);
    // Taken as typed: spaces are a name, a missing program is a path.
    EXPECT_EQ(CheckUserTool("   ", "/no/such/program"), ToolCheck::Ok);
    EXPECT_EQ(CheckUserTool("x", " "), ToolCheck::Ok);
    // Characters are counted, not bytes: 32 times "\xC3\xA9" is 32 characters.
    std::string accented;
    for (int i = 0; i < 32; ++i)
        accented += "\xC3\xA9";
    EXPECT_EQ(CheckUserTool(accented, "p"), ToolCheck::Ok);
    EXPECT_EQ(CheckUserTool(accented + "e", "p"), ToolCheck::NameTooLong);

    EXPECT_EQ(ToolCheckMessage(ToolCheck::NameEmpty), "Please enter a Tool Name");
    EXPECT_EQ(ToolCheckMessage(ToolCheck::PathEmpty), "Please enter a Path");
    EXPECT_EQ(ToolCheckMessage(ToolCheck::Ok), "");
}

TEST(UserToolSettings, WrittenListReadsBack)
{
    test::TempDir dir;
    const std::string ini = dir.file("Varkel.ini");
    test::writeAll(ini, "[General]\r\nQVersion=Q3\r\n");
    ASSERT_TRUE(WriteUserTools(ini, {"Editor", "Game Launcher", "x"},
                               {"/usr/bin/editor --new", "\"/opt/My Games/quake3\" +exec a.cfg", "y"}));
    ASSERT_TRUE(WriteUserTools(ini, {"Game Launcher"}, {"/opt/launch"}));

    const Settings s = ReadSettings(ini);
    EXPECT_EQ(s.ToolNames, (Words{"Game Launcher"}));
    EXPECT_EQ(s.ToolPaths, (Words{"/opt/launch"}));
    EXPECT_EQ(s.QVersion, "Q3"); // the rest of the file is kept
    EXPECT_EQ(GetProfileString("User Tools", "ToolName1", "", ini), "Game Launcher");

    ASSERT_TRUE(WriteUserTools(ini, {}, {}));
    EXPECT_TRUE(ReadSettings(ini).ToolNames.empty());
}

TEST(CommandLineSplit, WordsAndQuotes)
{
    EXPECT_EQ(SplitCommandLine("prog"), (Words{"prog"}));
    EXPECT_EQ(SplitCommandLine("  prog   a\tb \n c  "), (Words{"prog", "a", "b", "c"}));
    EXPECT_EQ(SplitCommandLine("\"/opt/My Tools/run\" --file 'a b'"),
              (Words{"/opt/My Tools/run", "--file", "a b"}));
    EXPECT_EQ(SplitCommandLine("a\"b c\"d'e f'g"), (Words{"ab cde fg"}));
    EXPECT_EQ(SplitCommandLine("prog \"\" ''"), (Words{"prog", "", ""}));
    EXPECT_EQ(SplitCommandLine("   "), (Words{}));
}

TEST(CommandLineSplit, Backslashes)
{
    EXPECT_EQ(SplitCommandLine(R"(/opt/My\ Tools/run a\"b)"), (Words{"/opt/My Tools/run", "a\"b"}));
    EXPECT_EQ(SplitCommandLine(R"(a\\b)"), (Words{"a\\b"}));
    // Inside double quotes only \" \\ \$ \` escape; other backslashes stay.
    EXPECT_EQ(SplitCommandLine(R"("a\"b\\c\$d\`e\nf")"), (Words{"a\"b\\c$d`e\\nf"}));
    // Inside single quotes nothing escapes.
    EXPECT_EQ(SplitCommandLine(R"('a\b\\c')"), (Words{"a\\b\\\\c"}));
    EXPECT_EQ(SplitCommandLine("a\\\nb"), (Words{"ab"}));   // line continuation
    EXPECT_EQ(SplitCommandLine("prog a\\"), (Words{"prog", "a\\"})); // trailing backslash stays
    EXPECT_EQ(SplitCommandLine(R"(C:\Games\quake.exe)"), (Words{"C:Gamesquake.exe"}));
}

TEST(CommandLineSplit, NothingIsExpandedOrRun)
{
    EXPECT_EQ(SplitCommandLine("echo $HOME ~ *.cfg"), (Words{"echo", "$HOME", "~", "*.cfg"}));
    EXPECT_EQ(SplitCommandLine("\"$HOME\" '${PATH}'"), (Words{"$HOME", "${PATH}"}));
    EXPECT_EQ(SplitCommandLine("prog a;rm -rf x"), (Words{"prog", "a;rm", "-rf", "x"}));
    EXPECT_EQ(SplitCommandLine("prog ; reboot && x || y | z > f < g & `id` $(id) # c"),
              (Words{"prog", ";", "reboot", "&&", "x", "||", "y", "|", "z", ">", "f", "<", "g", "&", "`id`", "$(id)",
                     "#", "c"}));
}

TEST(CommandLineSplit, OpenQuoteIsRefused)
{
    EXPECT_FALSE(SplitCommandLine("prog \"unterminated"));
    EXPECT_FALSE(SplitCommandLine("prog 'unterminated"));
    EXPECT_FALSE(SplitCommandLine("prog \"a\\\""));
    EXPECT_TRUE(SplitCommandLine("prog \"it's\""));
}
