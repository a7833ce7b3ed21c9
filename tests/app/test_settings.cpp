#include "app/profile.h"
#include "app/settings.h"
#include "app/tempdir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace varkel;
using varkel::test::readAll;
using varkel::test::writeAll;
using varkel::test::EnvOverride;

namespace {

class SettingsFile : public ::testing::Test
{
protected:
    test::TempDir dir;
    std::string ini = dir.file("Varkel.ini");
};

} // namespace

TEST_F(SettingsFile, EmptyOrAbsentFileGivesEveryDefault)
{
    for (bool create : {false, true}) {
        if (create)
            writeAll(ini, "");
        const Settings s = ReadSettings(ini);
        EXPECT_EQ(s.QVersion, "Q2");
        EXPECT_TRUE(s.AutoSyntaxType == 2 && s.ConflictType == 2 && s.CommentSize == 20 && s.FontSize == 10);
        EXPECT_TRUE(s.AutoRefresh && s.ShowKeyboard && s.CommentAutoSize && s.CommentAlignment && s.CommentUCase &&
                    s.ShowTipOday && s.ShowLineNumbers);
        EXPECT_FALSE(s.FontBold || s.FontItalic || s.ColorStringElements);
        EXPECT_EQ(s.CommentChar, "*");
        EXPECT_EQ(s.FontName, "Courier New");
        EXPECT_EQ(s.BGColor, 0xFFFFFFu);
        EXPECT_EQ(s.SyntaxColors, kDefaultSyntaxColors);
        EXPECT_TRUE(s.ToolNames.empty() && s.ToolPaths.empty());
    }
}

TEST_F(SettingsFile, StoredValuesAreReadAsTheyAreStored)
{
    writeAll(ini, "[General]\nQVersion=Q9\nAutoRefresh=False\nShowKeyboard=true\nCommentChar=#=\n"
                  "ShowTipOday=1\nShowLineNumbers=False\n"
                  "[Font]\nBold=true\nItalic=True\nSize=10.5\nSyntaxColor3=42\nBGColor=abc\n"
                  "[User Tools]\nNumUserTools=2\nToolName1=Quake\nToolPath1=/usr/games/quake -x\n"
                  "ToolName3=ignored\n");
    const Settings s = ReadSettings(ini);
    EXPECT_EQ(s.QVersion, "Q9"); // not validated here
    EXPECT_FALSE(s.AutoRefresh);
    EXPECT_FALSE(s.ShowKeyboard);
    EXPECT_FALSE(s.ShowTipOday);
    EXPECT_FALSE(s.ShowLineNumbers);
    EXPECT_EQ(s.CommentChar, "#=");
    EXPECT_FALSE(s.FontBold);
    EXPECT_TRUE(s.FontItalic);
    EXPECT_EQ(s.FontSize, 10);
    EXPECT_EQ(s.SyntaxColors[3], 42u);
    EXPECT_EQ(s.SyntaxColors[4], 12583104u);
    EXPECT_EQ(s.BGColor, 0u);
    EXPECT_EQ(s.ToolNames, (std::vector<std::string>{"Quake", ""}));
    EXPECT_EQ(s.ToolPaths, (std::vector<std::string>{"/usr/games/quake -x", ""}));

    writeAll(ini, "[User Tools]\nNumUserTools=0\nToolName1=a\n");
    EXPECT_TRUE(ReadSettings(ini).ToolNames.empty());
    writeAll(ini, "[User Tools]\nNumUserTools=-3\n");
    EXPECT_TRUE(ReadSettings(ini).ToolPaths.empty());
}

TEST_F(SettingsFile, TheBindingsTableIsHiddenOnTheRightUntilStoredOtherwise)
{
    Settings s = ReadSettings(ini);
    EXPECT_FALSE(s.ShowBindingsTable);
    EXPECT_EQ(s.BindingsTableArea, 2);
    writeAll(ini, "[General]\nShowBindingsTable=True\nBindingsTableArea=8\n");
    s = ReadSettings(ini);
    EXPECT_TRUE(s.ShowBindingsTable);
    EXPECT_EQ(s.BindingsTableArea, 8);
    // No side of the frame: the right one.
    for (const char *area : {"0", "3", "16", "x"}) {
        writeAll(ini, std::string("[General]\nBindingsTableArea=") + area + "\n");
        EXPECT_EQ(ReadSettings(ini).BindingsTableArea, 2) << area;
    }
}

TEST_F(SettingsFile, ChecksAndCompletionsAreOnAndTheProblemsListHiddenAtTheBottomUntilStoredOtherwise)
{
    Settings s = ReadSettings(ini);
    EXPECT_TRUE(s.CheckScripts && s.OfferCompletions);
    EXPECT_FALSE(s.ShowProblems);
    EXPECT_EQ(s.ProblemsArea, 8);
    writeAll(ini, "[General]\nCheckScripts=False\nOfferCompletions=False\nShowProblems=True\nProblemsArea=1\n");
    s = ReadSettings(ini);
    EXPECT_FALSE(s.CheckScripts || s.OfferCompletions);
    EXPECT_TRUE(s.ShowProblems);
    EXPECT_EQ(s.ProblemsArea, 1);
    writeAll(ini, "[General]\nProblemsArea=5\n");
    EXPECT_EQ(ReadSettings(ini).ProblemsArea, 8);
}

namespace {
// State, whether the rectangle applies, and the rectangle, in one comparable value.
std::vector<int> frame(const FrameGeometry &g)
{
    return {g.windowState, g.applyRect, g.left, g.top, g.width, g.height};
}
} // namespace

TEST_F(SettingsFile, FrameDefaultsAreCentredAndClampedToTheScreen)
{
    // 20000 - 12495 = 7505 -> 3752.5 -> 3752; 16205 * 0.8 = 12964, (16205 - 12964) / 2 = 1620.5 -> 1620
    EXPECT_EQ(frame(ReadFrameGeometry(ini, 20000, 16205)), (std::vector<int>{0, 1, 3752, 1620, 12495, 12964}));
    // 3753.5 -> 3754; 12966, 1620.5 -> 1620
    EXPECT_EQ(frame(ReadFrameGeometry(ini, 20002, 16207)), (std::vector<int>{0, 1, 3754, 1620, 12495, 12966}));

    const std::pair<std::string, std::vector<int>> cases[] = {
        // The right edge meets the screen's.
        {"Left=10000\nTop=100\nWidth=12495\nHeight=9000\n", {0, 1, 19200 - 12495, 100, 12495, 9000}},
        // Too big: the default width, 80 % of the screen's height.
        {"Left=500\nTop=9000\nWidth=25000\nHeight=20000\n", {0, 1, 500, 14400 - 11520, 12495, 11520}},
        {"Left=-300\nTop=-1\nWidth=0\nHeight=-5\n", {0, 1, 0, 0, 12495, 11520}},
        {"WindowState=2\nLeft=99999\nWidth=1\n", {2, 0, 3352, 1440, 12495, 11520}},
        {"WindowState=7\n", {0, 1, 3352, 1440, 12495, 11520}},
    };
    for (const auto &[general, expected] : cases) {
        writeAll(ini, "[General]\n" + general);
        EXPECT_EQ(frame(ReadFrameGeometry(ini, 19200, 14400)), expected) << general; // 1280 x 960 pixels
    }
}

TEST_F(SettingsFile, FrameIsWrittenByItsState)
{
    WriteFrameGeometry(ini, 1, 1, 2, 3, 4);
    EXPECT_FALSE(std::filesystem::exists(ini));
    WriteFrameGeometry(ini, 2, 1, 2, 3, 4);
    EXPECT_EQ(readAll(ini), "[General]\nWindowState=2\n");
    WriteFrameGeometry(ini, 0, 150, 300, 9000, 7000);
    EXPECT_EQ(readAll(ini), "[General]\nWindowState=0\nLeft=150\nTop=300\nWidth=9000\nHeight=7000\n");
    EXPECT_EQ(frame(ReadFrameGeometry(ini, 19200, 14400)), (std::vector<int>{0, 1, 150, 300, 9000, 7000}));
}

TEST_F(SettingsFile, IniPathFollowsEnvironmentAndWritableFolder)
{
    {
        EnvOverride env("VARKEL_INI", "/somewhere/else.ini");
        EXPECT_EQ(ResolveIniPath(dir.path()), "/somewhere/else.ini");
    }
    EnvOverride noIni("VARKEL_INI", "");
    // A writable folder that is neither a portable copy nor a build folder
    // (an installed copy in a folder of the user's) keeps no settings.
    {
        EnvOverride xdg("XDG_CONFIG_HOME", dir.file("installed").c_str());
        EXPECT_EQ(ResolveIniPath(dir.path()), dir.file("installed/Varkel/Varkel.ini"));
    }
    // A portable copy: the file is already there.
    writeAll(ini, "");
    EXPECT_EQ(ResolveIniPath(dir.path() + "/"), ini);
    // The build folder makes its own.
    std::filesystem::remove(ini);
    writeAll(dir.file("CMakeCache.txt"), "");
    EXPECT_EQ(ResolveIniPath(dir.path() + "/"), ini);

    // An application folder that cannot hold the file (its parent is a file).
    writeAll(dir.file("plain"), "x");
    const std::string appDir = dir.file("plain/app");
    {
        EnvOverride xdg("XDG_CONFIG_HOME", dir.file("config").c_str());
        EXPECT_EQ(ResolveIniPath(appDir), dir.file("config/Varkel/Varkel.ini"));
        EXPECT_TRUE(std::filesystem::is_directory(dir.file("config/Varkel")));
    }
    EnvOverride xdg("XDG_CONFIG_HOME", nullptr);
    EnvOverride home("HOME", dir.file("home").c_str());
    EXPECT_EQ(ResolveIniPath(appDir), dir.file("home/.config/Varkel/Varkel.ini"));
    EXPECT_TRUE(WriteProfileString("General", "QVersion", "Q1", ResolveIniPath(appDir)));
}

TEST_F(SettingsFile, HandEditedNumbersAreKeptInTheirRanges)
{
    // Sizes that would allocate or draw without end read as the nearest size
    // the program writes; colours and modes that do not exist as their defaults.
    writeAll(ini, "[General]\nCommentSize=20000000\nAutoSyntaxType=7\nConflictType=-1\n"
                  "[Font]\nSize=2147483647\nBGColor=-1\nSyntaxColor0=16777216\nSyntaxColor1=-5\nSyntaxColor2=16777215\n"
                  "[User Tools]\nNumUserTools=2147483647\n");
    Settings s = ReadSettings(ini);
    EXPECT_EQ(s.CommentSize, kMaxCommentSize);
    EXPECT_EQ(s.AutoSyntaxType, 2);
    EXPECT_EQ(s.ConflictType, 2);
    EXPECT_EQ(s.FontSize, kMaxFontSize);
    EXPECT_EQ(s.BGColor, 0xFFFFFFu);
    EXPECT_EQ(s.SyntaxColors[0], kDefaultSyntaxColors[0]);
    EXPECT_EQ(s.SyntaxColors[1], kDefaultSyntaxColors[1]);
    EXPECT_EQ(s.SyntaxColors[2], 0xFFFFFFu);
    EXPECT_EQ(s.ToolNames.size(), static_cast<std::size_t>(kMaxUserTools));

    writeAll(ini, "[General]\nCommentSize=-40\n[Font]\nSize=0\n");
    s = ReadSettings(ini);
    EXPECT_EQ(s.CommentSize, 0);
    EXPECT_EQ(s.FontSize, 10); // a font needs a size: the default one
    writeAll(ini, "[General]\nCommentSize=2147483647\n[Font]\nSize=-3\n");
    s = ReadSettings(ini);
    EXPECT_EQ(s.CommentSize, kMaxCommentSize);
    EXPECT_EQ(s.FontSize, 10);

    // Extreme placements still give a frame on the screen.
    writeAll(ini, "[General]\nLeft=-2147483648\nTop=2147483647\nWidth=2147483647\nHeight=-2147483648\n");
    EXPECT_EQ(frame(ReadFrameGeometry(ini, 19200, 14400)), (std::vector<int>{0, 1, 0, 14400 - 11520, 12495, 11520}));
}

TEST_F(SettingsFile, SettingsFileThatIsNoRegularFileIsRefused)
{
    EXPECT_FALSE(CheckIniPath(ini)); // not there yet
    writeAll(ini, "[General]\n");
    EXPECT_FALSE(CheckIniPath(ini));
    ASSERT_EQ(::symlink("Varkel.ini", dir.file("link.ini").c_str()), 0);
    EXPECT_FALSE(CheckIniPath(dir.file("link.ini")));
    EXPECT_EQ(CheckIniPath(dir.path()).code, ErrorCode::SettingsNotAFile);
    EXPECT_EQ(CheckIniPath(dir.path()).detail, dir.path());
    EXPECT_EQ(CheckIniPath("/dev/null").code, ErrorCode::SettingsNotAFile);

    const std::string fifo = dir.file("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(CheckIniPath(fifo).code, ErrorCode::SettingsNotAFile);
    // Nothing may wait for a writer at the pipe's other end; the calls run in
    // a child process whose alarm ends a wait that never would.
    EXPECT_EXIT(
        {
            ::alarm(20);
            const bool wrote = WriteProfileString("General", "QVersion", "Q1", fifo);
            const Settings s = ReadSettings(fifo);
            std::_Exit(!wrote && s.QVersion == "Q2" ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
