#include "documents/fileio.h"

#include "app/tempdir.h"
#include "support/filefaults.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace varkel;
namespace fs = std::filesystem;

namespace {

class FileIo : public ::testing::Test {
protected:
    std::string at(const std::string &name) const { return dir.file(name); }
    // Names in the folder, to see that no temporary file was left behind.
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(dir.path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    test::TempDir dir;
};

std::string everyByte()
{
    std::string s;
    for (int round = 0; round < 2; ++round)
        for (int b = 0; b < 256; ++b)
            s += static_cast<char>(round ? 255 - b : b);
    return s;
}

} // namespace

TEST_F(FileIo, GeneratedContentRoundTripsOverTheSameTarget)
{
    // Long and short contents alternate, so a stale tail would show.
    const std::string cases[] = {
        everyByte(),
        std::string("\0", 1),
        "bind x \"say a\"\r\nbind y jump\r\n",
        "",
        "unix\nlines\n",
        "old\rmac\r",
        "mixed\r\nends\nhere\rand\r\n\n\r\r\nno final break",
        "x\r",
        std::string(3, '\0') + "\r\n" + everyByte() + "\n\r",
    };
    for (const std::string &bytes : cases) {
        SCOPED_TRACE(::testing::PrintToString(bytes.substr(0, 40)));
        test::writeAll(at("src.cfg"), bytes);
        const ReadResult read = ReadFileBytes(at("src.cfg"));
        ASSERT_FALSE(read.error);
        EXPECT_EQ(read.bytes, bytes);
        ASSERT_FALSE(WriteFileSafely(at("out.cfg"), read.bytes));
        EXPECT_EQ(test::readAll(at("out.cfg")), bytes);
    }
    EXPECT_EQ(entries(), (std::vector<std::string>{"out.cfg", "src.cfg"}));
}

TEST_F(FileIo, UnreadablePathsGiveErrorsAndNoBytes)
{
    test::writeAll(at("file.cfg"), "x");
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0600), 0);
    const std::pair<std::string, ErrorCode> cases[] = {
        {at("missing.cfg"), ErrorCode::FileNotFound},
        {dir.path(), ErrorCode::NotAFile},
        {at("fifo"), ErrorCode::NotAFile}, // must not block waiting for a writer
        {at("file.cfg/inner.cfg"), ErrorCode::PathNotFound},
    };
    for (const auto &[path, code] : cases) {
        const ReadResult r = ReadFileBytes(path);
        EXPECT_EQ(r.error.code, code) << path;
        EXPECT_EQ(r.error.detail, path);
        EXPECT_TRUE(r.bytes.empty());
    }
    if (::geteuid() != 0) {
        ::chmod(at("file.cfg").c_str(), 0200);
        EXPECT_EQ(ReadFileBytes(at("file.cfg")).error.code, ErrorCode::PermissionDenied);
    }
}

TEST_F(FileIo, FailedSaveLeavesOriginalIntact)
{
    test::writeAll(at("plain.cfg"), "original\r\n");
    fs::create_directory(at("dir.cfg"));
    const std::pair<std::string, ErrorCode> bad[] = {
        {at("nofolder/new.cfg"), ErrorCode::PathNotFound},
        {at("dir.cfg"), ErrorCode::NotAFile},
        {at("plain.cfg/inner.cfg"), ErrorCode::PathNotFound},
        {"", ErrorCode::PathNotFound},
    };
    for (const auto &[path, code] : bad)
        EXPECT_EQ(WriteFileSafely(path, "new").code, code) << path;

    // A failing step reports its own error; the write fault leaves a
    // half-written temporary file behind it.
    const std::pair<FileStep, ErrorCode> steps[] = {{FileStep::Write, ErrorCode::DiskFull},
                                                    {FileStep::Rename, ErrorCode::FileIo},
                                                    {FileStep::CreateTemp, ErrorCode::FileIo}};
    for (const auto &[step, code] : steps) {
        test::FileFaults faults;
        faults.always(step, code == ErrorCode::DiskFull ? EDQUOT : EIO);
        const Error e = WriteFileSafely(at("plain.cfg"), "replacement text");
        EXPECT_EQ(e.code, code) << test::stepName(step);
        EXPECT_EQ(e.detail, at("plain.cfg"));
    }
    EXPECT_EQ(test::readAll(at("plain.cfg")), "original\r\n");
    EXPECT_TRUE(fs::is_directory(at("dir.cfg")));
    EXPECT_EQ(entries(), (std::vector<std::string>{"dir.cfg", "plain.cfg"}));
}

TEST_F(FileIo, SaveKeepsPermissionsAndOwner)
{
    test::writeAll(at("a.cfg"), "a");
    ::chmod(at("a.cfg").c_str(), 0640);
    ASSERT_FALSE(WriteFileSafely(at("a.cfg"), "b"));
    struct stat st;
    ASSERT_EQ(::stat(at("a.cfg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A new file gets the usual mode.
    const mode_t mask = ::umask(022);
    ASSERT_FALSE(WriteFileSafely(at("new.cfg"), "n"));
    ::umask(mask);
    ASSERT_EQ(::stat(at("new.cfg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);

    if (::geteuid() == 0) { // only root can give a file away
        ASSERT_EQ(::chown(at("a.cfg").c_str(), 4242, 4343), 0);
        ASSERT_FALSE(WriteFileSafely(at("a.cfg"), "c"));
        ASSERT_EQ(::stat(at("a.cfg").c_str(), &st), 0);
        EXPECT_TRUE(st.st_uid == 4242u && st.st_gid == 4343u && (st.st_mode & 07777) == 0640u);
    }
}

TEST_F(FileIo, SaveThroughSymlinkReplacesTargetAndKeepsLink)
{
    fs::create_directory(at("real"));
    test::writeAll(at("real/game.cfg"), "old");
    fs::create_symlink("real/game.cfg", at("hop.cfg"));  // relative to the link's folder
    fs::create_symlink(at("hop.cfg"), at("link.cfg"));   // a chain of two
    ASSERT_FALSE(WriteFileSafely(at("link.cfg"), "new"));
    EXPECT_EQ(test::readAll(at("real/game.cfg")), "new");
    EXPECT_TRUE(fs::is_symlink(at("link.cfg")));
    EXPECT_TRUE(fs::is_symlink(at("hop.cfg")));
    EXPECT_EQ(fs::read_symlink(at("hop.cfg")), "real/game.cfg");

    // A dangling link gets its file created.
    fs::create_symlink("real/later.cfg", at("dangling.cfg"));
    ASSERT_FALSE(WriteFileSafely(at("dangling.cfg"), "x"));
    EXPECT_EQ(test::readAll(at("real/later.cfg")), "x");
    EXPECT_TRUE(fs::is_symlink(at("dangling.cfg")));
}

TEST_F(FileIo, FolderWithoutRoomForNewFileRewritesInPlace)
{
    test::writeAll(at("a.cfg"), "a fairly long original text\r\n");
    struct stat before, after;
    ASSERT_EQ(::stat(at("a.cfg").c_str(), &before), 0);

    {
        // A denied temporary file stands for a folder that takes no new file.
        test::FileFaults faults;
        faults.always(FileStep::CreateTemp, EACCES);
        ASSERT_FALSE(WriteFileSafely(at("a.cfg"), "short"));
        EXPECT_EQ(test::readAll(at("a.cfg")), "short");
        ASSERT_EQ(::stat(at("a.cfg").c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);

        // A failed rewrite puts the old bytes back; a missing file cannot be made.
        faults.always(FileStep::InPlaceWrite, ENOSPC);
        EXPECT_TRUE(WriteFileSafely(at("a.cfg"), "much longer replacement text"));
        EXPECT_EQ(test::readAll(at("a.cfg")), "short");
        EXPECT_EQ(WriteFileSafely(at("b.cfg"), "b").code, ErrorCode::PermissionDenied);
        EXPECT_FALSE(fs::exists(at("b.cfg")));
    }
    {
        // No free inode or a quota leaves the same way.
        test::FileFaults faults;
        faults.always(FileStep::CreateTemp, ENOSPC);
        ASSERT_FALSE(WriteFileSafely(at("a.cfg"), "no inode left"));
        EXPECT_EQ(test::readAll(at("a.cfg")), "no inode left");
    }

    if (::geteuid() != 0) { // the same with real permission bits
        ::chmod(dir.path().c_str(), 0555);
        EXPECT_FALSE(WriteFileSafely(at("a.cfg"), "in place"));
        EXPECT_EQ(test::readAll(at("a.cfg")), "in place");
    }
}

TEST_F(FileIo, ReadOnlyFileIsNotReplacedThroughItsFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    test::writeAll(at("ro.cfg"), "keep");
    ::chmod(at("ro.cfg").c_str(), 0444);
    EXPECT_EQ(WriteFileSafely(at("ro.cfg"), "x").code, ErrorCode::PermissionDenied);
    EXPECT_EQ(test::readAll(at("ro.cfg")), "keep");
}

TEST(Eol, DetectsFirstLineEnd)
{
    EXPECT_EQ(DetectEol("a\r\nb\n"), Eol::CrLf);
    EXPECT_EQ(DetectEol("a\nb\r\n"), Eol::Lf);
    EXPECT_EQ(DetectEol("a\rb\r\n"), Eol::Cr);
    EXPECT_EQ(DetectEol("\r\r\n"), Eol::Cr);
    EXPECT_EQ(DetectEol(std::string_view("\0\n", 2)), Eol::Lf);
    EXPECT_EQ(DetectEol("no break"), Eol::CrLf);
    EXPECT_EQ(DetectEol("", Eol::Lf), Eol::Lf);
    EXPECT_EQ(std::string(EolText(Eol::CrLf)).append(EolText(Eol::Lf)).append(EolText(Eol::Cr)), "\r\n\n\r");
}
