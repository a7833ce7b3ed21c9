// Every writer of Varkel against a failing file system: each step of the safe
// writer fails in turn with a full disk, a quota, a permission and a device
// error. Whatever fails, each file holds exactly its old bytes or exactly its
// new ones, a failure is reported, and no temporary file stays behind.

#include "app/profile.h"
#include "app/safefile.h"
#include "app/tempdir.h"
#include "dialogs/desktopfiles.h"
#include "dialogs/regstore.h"
#include "support/filefaults.h"

#include <map>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace varkel;
using namespace varkel::test;
namespace fs = std::filesystem;

namespace {

// A folder for thousands of small writes: in memory where the system offers
// a memory file system, since flushing to a real disk costs each run time.
std::filesystem::path scratchBase()
{
    std::error_code ec;
    if (fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK | X_OK) == 0)
        return "/dev/shm";
    return fs::temp_directory_path();
}

std::string fileOrNothing(const std::string &path)
{
    return fs::exists(path) ? readAll(path) : std::string("<missing>");
}

mode_t modeOf(const std::string &path)
{
    struct stat st{};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// A script with every byte value, and a longer and a shorter replacement.
std::string scriptBytes(std::size_t lines)
{
    std::string s;
    for (std::size_t i = 0; i < lines; ++i)
        s += "bind " + std::to_string(i) + " \"say \x01\xff\"\r\n";
    for (int b = 0; b < 256; ++b)
        s += static_cast<char>(b);
    return s;
}

} // namespace

TEST(WriteFaults, DocumentSave)
{
    TempDir dir(scratchBase());
    const std::string path = dir.file("game.cfg");
    const std::string before = scriptBytes(40);
    int injected = 0;
    for (const std::string &after : {scriptBytes(90), std::string("bind q quit\r\n")}) {
        injected += RunAgainstEveryFault(
            [&] {
                writeAll(path, before);
                ::chmod(path.c_str(), 0640);
            },
            [&](FileFaults &, const std::string &what) {
                SCOPED_TRACE(what);
                const Error e = WriteFileSafely(path, after);
                EXPECT_TRUE(readAll(path) == (e ? before : after)) << e.description();
                EXPECT_EQ(e.detail, e ? path : std::string());
                EXPECT_EQ(modeOf(path), 0640u);
                EXPECT_EQ(LeftoverTemporaries(dir.path()), std::vector<std::string>{});
            });
    }
    EXPECT_GT(injected, 0);
}

TEST(WriteFaults, SettingsStore)
{
    TempDir dir(scratchBase());
    const std::string ini = dir.file("Varkel.ini");
    const std::string before = "[General]\r\nQVersion=Q2\r\nCommentChar=*\r\n\r\n[RecentFiles]\r\n"
                               "RecentFile1=/home/x/a.cfg\r\nRecentFile2=/home/x/b.cfg\r\n\r\n"
                               "[User Tools]\r\nNumUserTools=1\r\nToolName1=Quake\r\nToolPath1=/usr/games/quake\r\n";
    std::string expected = before;
    expected.replace(expected.find("/home/x/a.cfg"), 13, "\"/home/x/my script.cfg \"");

    // An existing file, and a first write that creates it.
    int injected = 0;
    for (bool exists : {true, false}) {
        injected += RunAgainstEveryFault(
            [&] {
                fs::remove(ini);
                if (exists)
                    writeAll(ini, before);
            },
            [&](FileFaults &, const std::string &what) {
                SCOPED_TRACE(what);
                const bool ok = exists ? WriteProfileString("RecentFiles", "RecentFile1", "/home/x/my script.cfg ", ini)
                                       : WriteProfileString("General", "QVersion", "Q3", ini);
                const std::string after = exists ? expected : "[General]\nQVersion=Q3\n";
                const std::string old = exists ? before : "<missing>";
                EXPECT_EQ(fileOrNothing(ini), ok ? after : old);
                EXPECT_EQ(LeftoverTemporaries(dir.path()), std::vector<std::string>{});
            });
    }
    EXPECT_GT(injected, 0);
}

TEST(WriteFaults, AssociationClassStore)
{
    TempDir dir(scratchBase());
    const RegStore store(dir.file("classes.ini"));
    const std::string before = "[.cfg]\n@=\"Other.Editor\"\n[Other.Editor\\shell\\open\\command]\n@=\"other %1\"\n";
    const std::string after = "[.cfg]\n@=\"Varkel.Config\"\n[Other.Editor\\shell\\open\\command]\n@=\"other %1\"\n";
    const int injected = RunAgainstEveryFault([&] { writeAll(store.Path(), before); },
                                              [&](FileFaults &, const std::string &what) {
                                                  SCOPED_TRACE(what);
                                                  const bool ok = store.SetString(".cfg", "", "Varkel.Config");
                                                  EXPECT_EQ(readAll(store.Path()), ok ? after : before);
                                                  EXPECT_EQ(LeftoverTemporaries(dir.path()),
                                                            std::vector<std::string>{});
                                              });
    EXPECT_GT(injected, 0);
}

TEST(WriteFaults, DesktopAssociationFiles)
{
    TempDir dir(scratchBase());
    DesktopPlaces places;
    places.dataHome = dir.file("data");
    places.configHome = dir.file("config");
    places.programPath = "/opt/varkel/varkel";
    places.iconSvg = "<svg xmlns=\"http://www.w3.org/2000/svg\"/>";
    const std::vector<std::string> extensions{"cfg", "rc"};

    // Files an older copy of the program wrote, and the user's own defaults.
    const std::string mimeapps = dir.file("config/mimeapps.list");
    const std::map<std::string, std::pair<std::string, std::string>> files = {
        {dir.file("data/icons/hicolor/scalable/apps/varkel.svg"), {"<svg/>", places.iconSvg}},
        {dir.file("data/applications/varkel.desktop"),
         {"[Desktop Entry]\nExec=/old/varkel %f\n", DesktopEntryText(places.programPath)}},
        {dir.file("data/mime/packages/varkel.xml"), {"<mime-info/>\n", MimePackageText(extensions)}},
        {mimeapps,
         {"[Default Applications]\r\ntext/plain=gedit.desktop;\r\n# mine\r\n[Added Associations]\r\nx=y;\r\n",
          "[Default Applications]\r\ntext/plain=gedit.desktop;\r\ntext/x-varkel-config=varkel.desktop;\r\n"
          "# mine\r\n[Added Associations]\r\nx=y;\r\n"}},
    };

    const int injected = RunAgainstEveryFault(
        [&] {
            for (const auto &[path, contents] : files) {
                fs::create_directories(fs::path(path).parent_path());
                writeAll(path, contents.first);
            }
        },
        [&](FileFaults &, const std::string &what) {
            SCOPED_TRACE(what);
            const bool ok = WriteDesktopAssociation(places, extensions);
            bool allNew = true;
            for (const auto &[path, contents] : files) {
                const std::string now = readAll(path);
                EXPECT_TRUE(now == contents.second || (!ok && now == contents.first)) << path << ":\n" << now;
                allNew &= now == contents.second;
            }
            EXPECT_TRUE(ok || !allNew); // a reported failure left a file as it was
            EXPECT_EQ(LeftoverTemporaries(dir.path()), std::vector<std::string>{});
        });
    EXPECT_GT(injected, 0);
}

TEST(WriteFaults, FullDiskStopsRewriteInPlaceBeforeAnyByteChanges)
{
    // A real write limit, no room for a temporary file, and no way to put old
    // bytes back: room for the longer text is found missing before the first
    // byte is overwritten.
    TempDir dir(scratchBase());
    const std::string path = dir.file("game.cfg");
    const std::string before = scriptBytes(20);
    writeAll(path, before);
    {
        FileFaults faults;
        faults.always(FileStep::CreateTemp, EDQUOT);
        faults.always(FileStep::Restore, EIO);
        FileSizeLimit limit(before.size() + 10);
        EXPECT_TRUE(WriteFileSafely(path, scriptBytes(40)));
    }
    EXPECT_TRUE(readAll(path) == before);
}
