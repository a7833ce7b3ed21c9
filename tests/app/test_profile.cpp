#include "app/profile.h"
#include "app/tempdir.h"
#include "support/filefaults.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace varkel;
using varkel::test::readAll;
using varkel::test::writeAll;

namespace {

class Profile : public ::testing::Test
{
protected:
    test::TempDir dir;
    std::string ini = dir.file("Varkel.ini");
};

} // namespace

TEST_F(Profile, DefaultsAndNamesWithoutCaseOrSpaces)
{
    EXPECT_EQ(GetProfileInt("General", "CommentSize", 20, ini), 20); // no file
    writeAll(ini, "[Font]\nName=Arial\n[ general ]\r\n  qVERSION =  Q3 \t\r\n");
    EXPECT_EQ(GetProfileString("General", "Name", "x", ini), "x"); // not in its section
    EXPECT_EQ(GetProfileString("Font", "Size", "10", ini), "10");
    EXPECT_EQ(GetProfileString("GENERAL", "qversion", "Q2", ini), "Q3");
}

TEST_F(Profile, IntegersTakeTheLeadingDigits)
{
    // An empty value counts as missing; a huge one is clamped.
    const std::pair<const char *, int> cases[] = {{"12abc", 12}, {"abc", 0}, {"-250", -250}, {"", 5},
                                                  {"10.5", 10}, {"99999999999", INT_MAX}, {" 7", 7}, {"-", 0}};
    for (const auto &[value, expected] : cases) {
        writeAll(ini, std::string("[N]\nk=") + value + "\n");
        EXPECT_EQ(GetProfileInt("N", "k", 5, ini), expected) << value;
    }
}

TEST_F(Profile, LongValuesReadBackAs255Characters)
{
    const std::string value(300, 'v');
    ASSERT_TRUE(WriteProfileString("Tools", "ToolPath1", value, ini));
    EXPECT_EQ(GetProfileString("Tools", "ToolPath1", "", ini), value.substr(0, 255));
    EXPECT_NE(readAll(ini).find(value), std::string::npos); // stored whole
}

TEST_F(Profile, MalformedFileIsReadAsFarAsItMakesSense)
{
    writeAll(ini, "\xEF\xBB\xBF" "Orphan=1\n"
                  "garbage line\n"
                  "[General\n"
                  "[General]\n"
                  ";QVersion=Q1\n"
                  "=nameless\n"
                  "QVersion=Q3\r"
                  "QVersion=Q1\r"
                  "\x01\x02\xff\n"
                  "[Other]\n"
                  "Orphan=2\n"
                  "[general]\n"
                  "QVersion=Q2\n"
                  "Extra=yes");
    EXPECT_EQ(GetProfileString("General", "QVersion", "", ini), "Q3"); // first one wins
    EXPECT_EQ(GetProfileString("General", "Extra", "", ini), "yes");  // repeated section is searched
    EXPECT_EQ(GetProfileString("General", "Orphan", "", ini), "");
    EXPECT_EQ(GetProfileString("Other", "Orphan", "", ini), "2");
    EXPECT_EQ(GetProfileString("General", "", "d", ini), "d");
}

TEST_F(Profile, WriteChangesOnlyThatLine)
{
    const std::string before = "; Varkel settings\r\n"
                               "[GENERAL]\r\n"
                               "qversion = Q1   \r\n"
                               "CommentChar=*\r\n"
                               "\r\n"
                               "; font follows\r\n"
                               "[Font]\r\n"
                               "Name=Courier New";
    writeAll(ini, before);

    ASSERT_TRUE(WriteProfileString("General", "QVersion", "Q3", ini));
    std::string expected = before;
    expected.replace(expected.find("Q1   "), 5, "Q3");
    EXPECT_EQ(readAll(ini), expected);

    // A new key goes after the last key of its section, in the file's line style.
    ASSERT_TRUE(WriteProfileString("General", "ConflictType", "1", ini));
    expected.insert(expected.find("\r\n\r\n;") + 2, "ConflictType=1\r\n");
    EXPECT_EQ(readAll(ini), expected);

    // A key of the last section, which has no final line break.
    ASSERT_TRUE(WriteProfileString("Font", "Size", "12", ini));
    expected += "\r\nSize=12\r\n";
    EXPECT_EQ(readAll(ini), expected);

    // A new section at the end, after a blank line.
    ASSERT_TRUE(WriteProfileString("RecentFiles", "RecentFile1", "/tmp/a b.cfg", ini));
    expected += "\r\n[RecentFiles]\r\nRecentFile1=/tmp/a b.cfg\r\n";
    EXPECT_EQ(readAll(ini), expected);
    EXPECT_EQ(GetProfileString("recentfiles", "recentfile1", "", ini), "/tmp/a b.cfg");

    // An empty value stays a key.
    ASSERT_TRUE(WriteProfileString("General", "CommentChar", "", ini));
    EXPECT_NE(readAll(ini).find("CommentChar=\r\n"), std::string::npos);
}

TEST_F(Profile, ANewKeyNeverJoinsTheLineBreakAfterIt)
{
    // The file's style is a lone CR (its first line), but the key goes in
    // before the LF of a blank line: a CR there would make one CR LF of the
    // two and the blank line would be gone. The new line takes the break of
    // the line above it instead.
    writeAll(ini, "; notes\r[General]\nA=1\n\n[Font]\nName=x\n");
    ASSERT_TRUE(WriteProfileString("General", "B", "2", ini));
    EXPECT_EQ(readAll(ini), "; notes\r[General]\nA=1\nB=2\n\n[Font]\nName=x\n");
    // Where nothing can join (before a CR or a section), the file's style stays.
    writeAll(ini, "; notes\r[General]\r\n\r\n[Font]\r");
    ASSERT_TRUE(WriteProfileString("General", "B", "2", ini));
    EXPECT_EQ(readAll(ini), "; notes\r[General]\r\nB=2\r\r\n[Font]\r");
    writeAll(ini, "; notes\r[General]\nA=1\n[Font]\n");
    ASSERT_TRUE(WriteProfileString("General", "B", "2", ini));
    EXPECT_EQ(readAll(ini), "; notes\r[General]\nA=1\nB=2\r[Font]\n");
}

TEST_F(Profile, WriteCreatesTheFileAndUpdatesTheKeyThatIsRead)
{
    ASSERT_TRUE(WriteProfileString("General", "QVersion", "Q2", ini));
    ASSERT_TRUE(WriteProfileInt("General", "Width", 12495, ini));
    EXPECT_EQ(readAll(ini), "[General]\nQVersion=Q2\nWidth=12495\n");

    writeAll(ini, "[General]\nA=1\nA=2\n[Font]\n[General]\nA=3\n");
    ASSERT_TRUE(WriteProfileString("General", "A", "9", ini));
    EXPECT_EQ(readAll(ini), "[General]\nA=9\nA=2\n[Font]\n[General]\nA=3\n");
    EXPECT_EQ(GetProfileInt("General", "A", 0, ini), 9);
}

TEST_F(Profile, WriteRefusesTextThatCouldNotBeReadBack)
{
    writeAll(ini, "[General]\nA=1\n");
    EXPECT_FALSE(WriteProfileString("General", "A", "x\nB=2", ini));
    EXPECT_FALSE(WriteProfileString("General", "A=B", "x", ini));
    EXPECT_FALSE(WriteProfileString("Gen]eral", "A", "x", ini));
    EXPECT_FALSE(WriteProfileString("General", "", "x", ini));
    EXPECT_EQ(readAll(ini), "[General]\nA=1\n");
}

TEST_F(Profile, FailedWriteLeavesEverythingAsItWas)
{
    // A folder that cannot exist (its parent is a file) fails also for root.
    writeAll(dir.file("plain"), "x");
    EXPECT_FALSE(WriteProfileString("General", "A", "1", dir.file("plain/Varkel.ini")));
    // A file that cannot be read is not replaced.
    ASSERT_EQ(::mkdir(dir.file("adir").c_str(), 0755), 0);
    EXPECT_FALSE(WriteProfileString("General", "A", "1", dir.file("adir")));
    EXPECT_EQ(GetProfileString("General", "A", "d", dir.file("adir")), "d");
}

TEST_F(Profile, WriteProtectionIsRespected)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    writeAll(ini, "[General]\nA=1\n");
    ::chmod(ini.c_str(), 0444);
    EXPECT_FALSE(WriteProfileString("General", "A", "2", ini));
    EXPECT_EQ(readAll(ini), "[General]\nA=1\n");
    ::chmod(ini.c_str(), 0644);
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_FALSE(WriteProfileString("General", "A", "2", dir.file("new.ini")));
    EXPECT_TRUE(WriteProfileString("General", "A", "2", ini)); // rewritten in place
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(readAll(ini), "[General]\nA=2\n");
}

TEST_F(Profile, ReplaceKeepsPermissionsAndSymbolicLinks)
{
    const std::string target = dir.file("real.ini");
    writeAll(target, "[General]\nA=1\n");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(::symlink("real.ini", ini.c_str()), 0);

    ASSERT_TRUE(WriteProfileString("General", "A", "2", ini));
    struct stat st;
    ASSERT_EQ(::lstat(ini.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(readAll(target), "[General]\nA=2\n");

    // A link to a file not there yet creates that file.
    ASSERT_EQ(::symlink("later.ini", dir.file("dangling.ini").c_str()), 0);
    ASSERT_TRUE(WriteProfileString("General", "A", "3", dir.file("dangling.ini")));
    EXPECT_EQ(readAll(dir.file("later.ini")), "[General]\nA=3\n");
    // No temporary files are left behind.
    int entries = 0;
    for ([[maybe_unused]] auto &e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 4);
}

TEST_F(Profile, WriteThatRunsOutOfRoomKeepsEveryByte)
{
    const std::string before = "[General]\nQVersion=Q2\n[RecentFiles]\nRecentFile1=/home/x/a.cfg\n"
                               "[User Tools]\nNumUserTools=1\nToolName1=Quake\nToolPath1=/usr/games/quake\n";
    // The second name leaves no room beside it for a longer temporary name.
    for (const std::string &path : {ini, dir.file(std::string(250, 'v') + ".ini")}) {
        writeAll(path, before);
        {
            test::FileSizeLimit limit(before.size() + 8);
            EXPECT_FALSE(WriteProfileString("General", "QVersion", std::string(40, 'x'), path));
        }
        EXPECT_EQ(readAll(path), before);
    }
    if (::geteuid() != 0) { // a folder that takes no new file: the file is rewritten in place
        ::chmod(dir.path().c_str(), 0555);
        {
            test::FileSizeLimit limit(before.size() + 8);
            EXPECT_FALSE(WriteProfileString("General", "QVersion", std::string(40, 'x'), ini));
        }
        ::chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(readAll(ini), before);
    }
    int entries = 0;
    for ([[maybe_unused]] auto &e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2);
}

TEST_F(Profile, QuotedValuesKeepTheirBlanks)
{
    // Blanks at either end, and quotes at both ends, survive a write and a read.
    const std::string values[] = {"/home/x/my script.cfg ", " ", "  two  ", "\"quoted\"", "\"", "a \"b\" c",
                                  "\t", ""};
    for (const std::string &value : values) {
        ASSERT_TRUE(WriteProfileString("General", "CommentChar", value, ini));
        EXPECT_EQ(GetProfileString("General", "CommentChar", "*", ini), value) << '[' << value << ']';
    }
    ASSERT_TRUE(WriteProfileString("General", "CommentChar", " ", ini));
    EXPECT_EQ(readAll(ini), "[General]\nCommentChar=\" \"\n");

    // Values stored without quotes read as before; one pair of quotes is taken off.
    writeAll(ini, "[General]\nA=  plain value \nB=\"x\"\nC=\"\"\"\"\nD=say \"hi\"\nE=\"open\nF=\"5\"\n");
    EXPECT_EQ(GetProfileString("General", "A", "", ini), "plain value");
    EXPECT_EQ(GetProfileString("General", "B", "", ini), "x");
    EXPECT_EQ(GetProfileString("General", "C", "", ini), "\"\"");
    EXPECT_EQ(GetProfileString("General", "D", "", ini), "say \"hi\"");
    EXPECT_EQ(GetProfileString("General", "E", "", ini), "\"open");
    EXPECT_EQ(GetProfileInt("General", "F", 0, ini), 5);
}
