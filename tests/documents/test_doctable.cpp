#include "documents/doctable.h"

#include <gtest/gtest.h>

using namespace varkel;

TEST(SaveAsStart, DocumentFolderThenLastFolderThenHome)
{
    EXPECT_EQ(SaveStartFolder("/games/q3/autoexec.cfg", true, "/tmp/last", "/home/p"), "/games/q3");
    EXPECT_EQ(SaveStartFolder("/autoexec.cfg", true, "/tmp/last", "/home/p"), "/");
    // An untitled document has no folder of its own, whatever its name says.
    EXPECT_EQ(SaveStartFolder("Untitled 1", false, "/tmp/last", "/home/p"), "/tmp/last");
    EXPECT_EQ(SaveStartFolder("Untitled 1", false, "", "/home/p"), "/home/p");
    EXPECT_EQ(FolderOfPath("name.cfg"), "");
}

TEST(SaveAsStart, ExtensionAddedOnlyToANameWithoutOne)
{
    EXPECT_EQ(WithDefaultExtension("/home/p/autoexec", "cfg"), "/home/p/autoexec.cfg");
    EXPECT_EQ(WithDefaultExtension("/home/p/autoexec.cfg", "cfg"), "/home/p/autoexec.cfg");
    EXPECT_EQ(WithDefaultExtension("/home/p/server.rc", "cfg"), "/home/p/server.rc");
    EXPECT_EQ(WithDefaultExtension("/home/p/notes.txt", "cfg"), "/home/p/notes.txt");
    // A dot in a folder's name is not the file's extension; a leading dot
    // starts a hidden name.
    EXPECT_EQ(WithDefaultExtension("/home/p/q3.d/bots", "cfg"), "/home/p/q3.d/bots.cfg");
    EXPECT_EQ(WithDefaultExtension("/home/p/.quakerc", "cfg"), "/home/p/.quakerc.cfg");
    EXPECT_EQ(WithDefaultExtension("/home/p/", "cfg"), "/home/p/");
}
