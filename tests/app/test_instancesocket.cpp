#include "app/instancesocket.h"
#include "app/tempdir.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace varkel;

TEST(InstanceSocket, SessionTagNamesTheDisplayTheWindowsGoTo)
{
    EXPECT_EQ(SessionTag({"wayland", "wayland-1", ":0", "3"}), "wayland-1");
    EXPECT_EQ(SessionTag({"xcb", "wayland-1", ":0.0", "3"}), ":0");   // X, screen number dropped
    EXPECT_EQ(SessionTag({"xcb", "", "host:10.1", ""}), "host:10");
    EXPECT_EQ(SessionTag({"offscreen", "", ":51", "3"}), ":51");
    EXPECT_EQ(SessionTag({"offscreen", "wayland-0", ":51", ""}), "wayland-0");
    EXPECT_EQ(SessionTag({"offscreen", "", "", "c7"}), "sessionc7");
    EXPECT_EQ(SessionTag({"", "", "", ""}), "console");
    EXPECT_EQ(SessionTag({"wayland", "/run/user/7/wayland-0", "", ""}), "_run_user_7_wayland-0");
    EXPECT_NE(SessionTag({"xcb", "", ":0", ""}), SessionTag({"xcb", "", ":1", ""}));
}

TEST(InstanceSocket, OnlyAFolderOfOurOwnThatNobodyElseMayEnterIsPrivate)
{
    test::TempDir dir;
    const std::string own = dir.file("own");
    ASSERT_EQ(::mkdir(own.c_str(), 0700), 0);
    EXPECT_TRUE(IsPrivateDirectory(own, ::geteuid()));
    EXPECT_FALSE(IsPrivateDirectory(own, ::geteuid() + 1)); // somebody else's
    ASSERT_EQ(::symlink(own.c_str(), dir.file("link").c_str()), 0);
    EXPECT_FALSE(IsPrivateDirectory(dir.file("link"), ::geteuid()));
    for (mode_t mode : {0750, 0705, 0777, 01777}) {
        ASSERT_EQ(::chmod(own.c_str(), mode), 0);
        EXPECT_FALSE(IsPrivateDirectory(own, ::geteuid())) << std::oct << mode;
    }
    test::writeAll(dir.file("file"), "");
    ::chmod(dir.file("file").c_str(), 0600);
    EXPECT_FALSE(IsPrivateDirectory(dir.file("file"), ::geteuid()));
    EXPECT_FALSE(IsPrivateDirectory(dir.file("missing"), ::geteuid()));
    EXPECT_FALSE(IsPrivateDirectory("", ::geteuid()));
}

TEST(InstanceSocket, SocketFolderIsTheRuntimeFolderOrAPrivateOneInTemp)
{
    test::TempDir dir;
    const uid_t uid = ::geteuid();
    const std::string runtime = dir.file("runtime");
    const std::string temp = dir.file("tmp");
    ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(temp.c_str(), 01777), 0);
    EXPECT_EQ(InstanceSocketDirectory(runtime, temp, uid), runtime);

    // A runtime folder that others may enter, or that is not ours, is passed
    // over for a folder of our own, made private.
    const std::string fallback = temp + "/varkel-" + std::to_string(uid);
    ASSERT_EQ(::chmod(runtime.c_str(), 0755), 0);
    EXPECT_EQ(InstanceSocketDirectory(runtime, temp, uid), fallback);
    struct stat st;
    ASSERT_EQ(::lstat(fallback.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(InstanceSocketDirectory("", temp, uid), fallback);

    // The fallback is checked like any other: somebody may have made it first.
    ASSERT_EQ(::chmod(fallback.c_str(), 0777), 0);
    EXPECT_EQ(InstanceSocketDirectory("", temp, uid), "");
    ASSERT_EQ(::rmdir(fallback.c_str()), 0);
    ASSERT_EQ(::symlink(runtime.c_str(), fallback.c_str()), 0);
    EXPECT_EQ(InstanceSocketDirectory("", temp, uid), "");
    EXPECT_EQ(InstanceSocketDirectory("", "", uid), "");
}

TEST(InstanceSocket, SocketPathNamesSessionAndInstance)
{
    EXPECT_EQ(InstanceSocketPath("/run/user/7", ":0", ""), "/run/user/7/varkel-:0");
    EXPECT_EQ(InstanceSocketPath("/run/user/7", ":0", "test 1/x"), "/run/user/7/varkel-:0-test_1_x");
    EXPECT_EQ(InstanceSocketPath("", ":0", "a"), "");
    // A path that does not fit in a socket address cannot be used.
    EXPECT_EQ(InstanceSocketPath("/" + std::string(120, 'd'), ":0", ""), "");
}

TEST(InstanceSocket, PeerCredentialsComeFromTheKernel)
{
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    EXPECT_TRUE(PeerRunsAs(fds[0], ::geteuid()));
    EXPECT_FALSE(PeerRunsAs(fds[0], ::geteuid() + 1));
    ::close(fds[0]);
    ::close(fds[1]);
    EXPECT_FALSE(PeerRunsAs(-1, ::geteuid()));
}
