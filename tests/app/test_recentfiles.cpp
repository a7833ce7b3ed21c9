#include "app/profile.h"
#include "app/recentfiles.h"
#include "app/tempdir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace varkel;
using varkel::test::readAll;
using varkel::test::writeAll;

namespace {

class RecentFiles : public ::testing::Test
{
protected:
    test::TempDir dir;
    std::string ini = dir.file("Varkel.ini");

    RecentList add(const std::string &path) { return SetRecentFilesList(path, "Add", ini); }
    RecentList stored() { return SetRecentFilesList("", "", ini); }
};

} // namespace

TEST_F(RecentFiles, AddMovesToTopAndDropsTheOldest)
{
    for (const char *p : {"/a", "/b", "/c", "/d", "/e"})
        add(p);
    EXPECT_EQ(stored(), (RecentList{"/e", "/d", "/c", "/b", "/a"}));
    EXPECT_EQ(add("/f"), (RecentList{"/f", "/e", "/d", "/c", "/b"}));
    EXPECT_EQ(add("/d"), (RecentList{"/d", "/f", "/e", "/c", "/b"})); // entry 3 to the top
    EXPECT_EQ(add("/D"), (RecentList{"/D", "/d", "/f", "/e", "/c"})); // letter case counts
    EXPECT_EQ(stored(), (RecentList{"/D", "/d", "/f", "/e", "/c"}));
    EXPECT_EQ(GetProfileString("RecentFiles", "RecentFile5", "", ini), "/c");
}

TEST_F(RecentFiles, RemoveClosesTheGap)
{
    writeAll(ini, "[RecentFiles]\nRecentFile1=/a\nRecentFile2=  /b  \nRecentFile3=/c\n");
    EXPECT_EQ(SetRecentFilesList("/b", "Remove", ini), (RecentList{"/a", "/c", "", "", ""}));
    EXPECT_EQ(SetRecentFilesList("/x", "Remove", ini), (RecentList{"/a", "/c", "", "", ""}));
    EXPECT_EQ(SetRecentFilesList("/a", "Remove", ini), (RecentList{"/c", "", "", "", ""}));
    EXPECT_EQ(readAll(ini), "[RecentFiles]\nRecentFile1=/c\nRecentFile2=\nRecentFile3=\n"
                            "RecentFile4=\nRecentFile5=\n");
}

TEST_F(RecentFiles, EveryChangeRewritesAllFiveKeys)
{
    writeAll(ini, "[RecentFiles]\nRecentFile1=/a\n");
    EXPECT_EQ(stored(), (RecentList{"/a", "", "", "", ""}));
    EXPECT_EQ(readAll(ini), "[RecentFiles]\nRecentFile1=/a\n"); // listing writes nothing
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.ini")) ||
                 SetRecentFilesList("", "Add", dir.file("none.ini"))[0].size());

    add("/a"); // already entry 1: nothing moves, the keys are still written
    EXPECT_EQ(readAll(ini), "[RecentFiles]\nRecentFile1=/a\nRecentFile2=\nRecentFile3=\n"
                            "RecentFile4=\nRecentFile5=\n");
}

TEST_F(RecentFiles, HandEditedListIsClosedUpAndLineBreaksAreNotStored)
{
    writeAll(ini, "[RecentFiles]\nRecentFile1=\nRecentFile2=/a\nRecentFile4=/b\n");
    EXPECT_EQ(add("/c"), (RecentList{"/c", "/a", "/b", "", ""}));
    EXPECT_EQ(add("/evil\nRecentFile1=/x"), (RecentList{"/c", "/a", "/b", "", ""}));
    EXPECT_EQ(stored(), (RecentList{"/c", "/a", "/b", "", ""}));
}

TEST(TruncLongPath, ShortensLongPathsForCaptions)
{
    const std::string p31 = "/home/player/quake2/baseq2/a.cf"; // 31
    ASSERT_EQ(p31.size(), 31u);
    EXPECT_EQ(TruncLongPath(p31), p31);
    const std::string p32 = p31 + "g";
    EXPECT_EQ(TruncLongPath(p32), "/home/player/quake2/.../a.cfg");

    // The longest prefix that fits is taken.
    EXPECT_EQ(TruncLongPath("/mnt/games/some-very-long-folder/abcdefgh.cfg"), "/mnt/games/.../abcdefgh.cfg");
    // Only the drive-like part fits: 19 characters are too short a candidate.
    const std::string drive = "/c/a-rather-long-folder-name/abcdefgh.cfg";
    EXPECT_EQ(TruncLongPath(drive), drive.substr(0, 13) + "..." + drive.substr(drive.size() - 16));
    EXPECT_EQ(TruncLongPath("/c/.../abcdefgh.cfg").size(), 19u);
    // A file name too long for any prefix, and no separator at all.
    const std::string longName = "/q/" + std::string(40, 'x') + ".cfg";
    EXPECT_EQ(TruncLongPath(longName), longName.substr(0, 13) + "..." + longName.substr(longName.size() - 16));
    const std::string flat(40, 'n');
    EXPECT_EQ(TruncLongPath(flat), std::string(13, 'n') + "..." + std::string(16, 'n'));
    EXPECT_EQ(TruncLongPath(flat).size(), 32u);

    // Characters, not bytes: "é" (two bytes) is one character and never cut.
    const std::string accented = "/" + std::string(12, 'a') + "\xC3\xA9" + std::string(30, 'b');
    EXPECT_EQ(TruncLongPath(accented), "/" + std::string(12, 'a') + "..." + std::string(16, 'b'));
    const std::string accented2 = "/" + std::string(11, 'a') + "\xC3\xA9" + std::string(30, 'b');
    EXPECT_EQ(TruncLongPath(accented2), "/" + std::string(11, 'a') + "\xC3\xA9..." + std::string(16, 'b'));
}


TEST_F(RecentFiles, PathsWithOuterBlanksSurvive)
{
    const std::string spaced = "/home/x/my script.cfg ";
    add("/a");
    add(spaced);
    add(" /leading blank.cfg");
    EXPECT_EQ(stored(), (RecentList{" /leading blank.cfg", spaced, "/a", "", ""}));
    EXPECT_EQ(SetRecentFilesList(spaced, "Remove", ini), (RecentList{" /leading blank.cfg", "/a", "", "", ""}));
}
