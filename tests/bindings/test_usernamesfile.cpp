#include "app/tempdir.h"
#include "bindings/usernamesfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace varkel;
using varkel::test::readAll;
using varkel::test::writeAll;

TEST(UserNamesFile, OneFileASetBesideTheSettings)
{
    EXPECT_EQ(UserNamesPath("/home/p/.config/Varkel/Varkel.ini", "Q3"), "/home/p/.config/Varkel/names-q3.txt");
    EXPECT_EQ(UserNamesPath("Varkel.ini", "Q1"), "names-q1.txt");
}

TEST(UserNamesFile, NamesAreAddedOnceInTheFilesOwnLineEnds)
{
    test::TempDir dir;
    const std::string path = dir.file("names-q2.txt");
    EXPECT_TRUE(ReadUserNames(path).empty());
    ASSERT_FALSE(AddUserName(path, "mod_speed"));
    EXPECT_EQ(readAll(path), "mod_speed\n");
    writeAll(path, "a\r\nb");
    ASSERT_FALSE(AddUserName(path, "Hook"));
    ASSERT_FALSE(AddUserName(path, "hook"));
    EXPECT_EQ(readAll(path), "a\r\nb\r\nHook\r\n");
    EXPECT_EQ(ReadUserNames(path), (std::vector<std::string>{"a", "b", "Hook"}));
    // A folder where the file should be is refused and left alone.
    const std::string folder = dir.file("names-q3.txt");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    EXPECT_TRUE(static_cast<bool>(AddUserName(folder, "x")));
}
