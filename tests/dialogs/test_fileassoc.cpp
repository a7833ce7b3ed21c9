#include "app/tempdir.h"
#include "dialogs/desktopfiles.h"
#include "dialogs/fileassoc.h"
#include "dialogs/mimeapps.h"
#include "dialogs/regstore.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using namespace varkel;
using namespace varkel::test;
namespace fs = std::filesystem;

namespace {

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// A temporary XDG home and system folders for one test, set in the
// environment as the program would find them. The MIME database "update"
// compiles the glob list and the type's parent as update-mime-database does.
class Association : public ::testing::Test
{
protected:
    AssociationPlaces places(const std::string &programDir)
    {
        AssociationPlaces p = DefaultAssociationPlaces();
        p.programDir = programDir;
        p.desktop.programPath = programDir + "/varkel";
        p.desktop.iconSvg = "<svg/>";
        p.desktop.updateMimeDatabase = [this](const std::string &mimeDir) {
            updates.push_back(mimeDir);
            std::string globs;
            const std::string package = readAll(mimeDir + "/packages/varkel.xml");
            for (std::size_t at = package.find("pattern=\""); at != std::string::npos;
                 at = package.find("pattern=\"", at + 1)) {
                const std::size_t start = at + 9;
                globs += "80:text/x-varkel-config:" + package.substr(start, package.find('"', start) - start) + "\n";
            }
            writeAll(mimeDir + "/globs2", globs);
            writeAll(mimeDir + "/subclasses", "text/x-varkel-config text/plain\n");
        };
        return p;
    }
    // Applies a check box, recording the questions and answering them.
    bool apply(std::string_view ext, bool checked, bool answer, const AssociationPlaces &p)
    {
        return ApplyFileTypeAssociation(ext, checked, [&](const std::string &question) {
            questions.push_back(question);
            return answer;
        }, p);
    }
    std::string command() { return GetRegString("Varkel.Config\\shell\\open\\command", ""); }
    // Writes a file below the temporary folder, making its folders.
    void put(const std::string &name, const std::string &text)
    {
        fs::create_directories(fs::path(dir.file(name)).parent_path());
        writeAll(dir.file(name), text);
    }

    TempDir dir;
    EnvOverride dataEnv{"XDG_DATA_HOME", dir.file("data").c_str()};
    EnvOverride configEnv{"XDG_CONFIG_HOME", dir.file("config").c_str()};
    EnvOverride dataDirsEnv{"XDG_DATA_DIRS", dir.file("sysdata").c_str()};
    EnvOverride configDirsEnv{"XDG_CONFIG_DIRS", dir.file("sysconfig").c_str()};
    EnvOverride desktopEnv{"XDG_CURRENT_DESKTOP", "X-Test:KDE"};
    std::vector<std::string> questions, updates;
    const std::string programDir = "/opt/games/varkel";
    const std::string otherProgram = "*.cfg files are currently associated with another application.\n"
                                     "Do you wish to overwrite?";
};

} // namespace

TEST_F(Association, StoreLivesBelowTheDataHomeAndReadsBackValues)
{
    EXPECT_EQ(AssociationStorePath(), dir.file("data") + "/Varkel/classes.ini");
    ASSERT_TRUE(RegisterFileType("cfg", places(programDir)));
    EXPECT_EQ(GetRegString("Varkel.Config", ""), "Varkel Quake Configuration Script");
    EXPECT_EQ(GetRegString(".CFG", ""), "Varkel.Config"); // keys match without regard to case
    EXPECT_EQ(command(), "/opt/games/varkel/varkel %1");
    EXPECT_EQ(GetRegString("Varkel.Config\\DefaultIcon", ""), "/opt/games/varkel/varkel,0");
    EXPECT_EQ(GetRegString(".rc", ""), "");

    const RegStore store(AssociationStorePath());
    ASSERT_TRUE(store.SetString("Some\\Key", "", "  spaced \"text\"  "));
    ASSERT_TRUE(store.SetDword("Some\\Key", "Count", 0xDEADBEEF));
    writeAll(store.Path(), readAll(store.Path()) + "[Other]\r\nBlob=hex:01,02\r\n");
    RegStore::Key key;
    ASSERT_EQ(store.OpenKey("Some\\Key", key), kRegSuccess);
    RegValue value;
    EXPECT_EQ(QueryRegValue(key, "", value), kRegSuccess);
    EXPECT_EQ(std::get<std::string>(value), "  spaced \"text\"  ");
    EXPECT_EQ(QueryRegValue(key, "count", value), kRegSuccess);
    EXPECT_EQ(std::get<std::uint32_t>(value), 0xDEADBEEFu);
    EXPECT_EQ(GetRegString("Some\\Key", "Count"), std::to_string(0xDEADBEEFu));
    value = {};
    EXPECT_EQ(QueryRegValue(key, "Missing", value), kRegNotFound);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(value));
    ASSERT_EQ(store.OpenKey("Other", key), kRegSuccess);
    EXPECT_EQ(QueryRegValue(key, "Blob", value), kRegUnsupportedType);
    EXPECT_EQ(GetRegString("Other", "Blob"), "");
    // A key with keys below it opens; an unknown one, or a prefix, does not.
    EXPECT_EQ(store.OpenKey("Some", key), kRegSuccess);
    EXPECT_EQ(store.OpenKey("Som", key), kRegNotFound);
    // Values that could not be read back are refused.
    EXPECT_FALSE(store.SetString("Some\\Key", "", "two\nlines"));
    EXPECT_FALSE(store.SetString("Bad]Key", "", "x"));
}

TEST_F(Association, AsksOnlyWhenTheDesktopOpensTheFilesWithAnotherProgram)
{
    const AssociationPlaces p = places(programDir);
    // Nothing opens *.cfg yet: no question.
    EXPECT_FALSE(IsFileTypeAssociated("cfg", p));
    EXPECT_TRUE(apply("cfg", true, false, p));
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(IsFileTypeAssociated("cfg", p));
    EXPECT_FALSE(IsFileTypeAssociated("rc", p));
    EXPECT_TRUE(apply("rc", true, false, p));
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(IsFileTypeAssociated("rc", p));

    // Another program has since been made the default for Varkel's type: the
    // box shows unchecked and applying asks; no leaves its choice alone.
    const std::string mimeapps = dir.file("config/mimeapps.list");
    put("data/applications/kate.desktop", "[Desktop Entry]\n");
    writeAll(mimeapps, "[Default Applications]\ntext/x-varkel-config=kate.desktop;varkel.desktop;\n");
    EXPECT_FALSE(IsFileTypeAssociated("cfg", p));
    EXPECT_FALSE(apply("cfg", true, false, p));
    EXPECT_EQ(questions, std::vector<std::string>{otherProgram});
    EXPECT_EQ(readAll(mimeapps), "[Default Applications]\ntext/x-varkel-config=kate.desktop;varkel.desktop;\n");
    EXPECT_TRUE(apply("cfg", true, true, p));
    EXPECT_EQ(readAll(mimeapps), "[Default Applications]\ntext/x-varkel-config=varkel.desktop;kate.desktop;\n");
    EXPECT_TRUE(IsFileTypeAssociated("cfg", p));
}

TEST_F(Association, FirstUseWhereTextFilesOpenElsewhereAsks)
{
    // The distribution makes an installed editor the default for plain text,
    // which *.cfg files are while no glob names them.
    put("sysdata/applications/gedit.desktop", "[Desktop Entry]\n");
    put("sysconfig/mimeapps.list", "[Default Applications]\ntext/plain=gedit.desktop\n");
    const AssociationPlaces p = places(programDir);
    EXPECT_FALSE(apply("cfg", true, false, p));
    EXPECT_EQ(questions, std::vector<std::string>{otherProgram});
    // No leaves everything alone.
    EXPECT_FALSE(fs::exists(dir.file("data")));
    EXPECT_FALSE(fs::exists(dir.file("config")));
    EXPECT_TRUE(apply("cfg", true, true, p));
    EXPECT_TRUE(IsFileTypeAssociated("cfg", p));
    // Varkel's type is now the desktop's choice: no further question.
    questions.clear();
    EXPECT_TRUE(apply("cfg", true, false, p));
    EXPECT_TRUE(questions.empty());
}

TEST_F(Association, ChangedDesktopFilesAreReplacedOnlyWhenTheUserAgrees)
{
    const AssociationPlaces p = places(programDir);
    ASSERT_TRUE(RegisterFileType("cfg", p));
    const std::string entry = dir.file("data/applications/varkel.desktop");
    const std::string icon = dir.file("data/icons/hicolor/scalable/apps/varkel.svg");
    const std::string ours = readAll(entry);
    // Unchanged files are rewritten without a question.
    EXPECT_TRUE(ChangedDesktopFiles(p.desktop).empty());
    EXPECT_TRUE(apply("cfg", true, false, p));
    EXPECT_TRUE(questions.empty());

    // The user's edits: no keeps each file, and the association goes on.
    writeAll(entry, ours + "X-My-Setting=1\n");
    writeAll(icon, "<svg>mine</svg>");
    EXPECT_TRUE(apply("rc", true, false, p));
    ASSERT_EQ(questions, (std::vector<std::string>{ReplaceFileQuestion(entry), ReplaceFileQuestion(icon)}));
    EXPECT_EQ(questions[0], entry + " differs from the file Varkel would write there.\nDo you wish to overwrite?");
    EXPECT_EQ(readAll(entry), ours + "X-My-Setting=1\n");
    EXPECT_EQ(readAll(icon), "<svg>mine</svg>");
    EXPECT_TRUE(IsFileTypeAssociated("rc", p));
    EXPECT_TRUE(contains(readAll(dir.file("data/mime/packages/varkel.xml")), "\"*.rc\""));
    // Yes replaces them.
    EXPECT_TRUE(apply("rc", true, true, p));
    EXPECT_EQ(readAll(entry), ours);
    EXPECT_EQ(readAll(icon), "<svg/>");

    // The program moved: the stored command and the entry's Exec line are
    // another folder's, so the box shows unchecked and the entry is only
    // replaced after asking.
    questions.clear();
    const AssociationPlaces moved = places("/home/player/varkel");
    EXPECT_FALSE(IsFileTypeAssociated("cfg", moved));
    EXPECT_TRUE(apply("cfg", true, false, moved));
    EXPECT_EQ(questions, std::vector<std::string>{ReplaceFileQuestion(entry)});
    EXPECT_EQ(readAll(entry), ours);
    EXPECT_EQ(command(), "/home/player/varkel/varkel %1");
    EXPECT_TRUE(apply("cfg", true, true, moved));
    EXPECT_TRUE(contains(readAll(entry), "\nExec=\"/home/player/varkel/varkel\" %f\n"));
    EXPECT_FALSE(IsFileTypeAssociated("cfg", p));
}

// The desktop's default application, read as the MIME rules give it.
TEST_F(Association, DesktopDefaultFollowsTheLookupOrder)
{
    const AssociationPlaces p = places(programDir);
    for (const char *app : {"a.desktop", "b.desktop", "c.desktop"})
        put(std::string("sysdata/applications/") + app, "[Desktop Entry]\n");
    put("data/applications/vendor/tool.desktop", "[Desktop Entry]\n"); // id vendor-tool.desktop
    EXPECT_TRUE(DesktopEntryInstalled("vendor-tool.desktop", p.desktop));
    EXPECT_FALSE(DesktopEntryInstalled("missing.desktop", p.desktop));
    EXPECT_EQ((MimeAppsListPaths(p.desktop)),
              (std::vector<std::string>{
                  dir.file("config/x-test-mimeapps.list"), dir.file("config/kde-mimeapps.list"),
                  dir.file("config/mimeapps.list"), dir.file("sysconfig/x-test-mimeapps.list"),
                  dir.file("sysconfig/kde-mimeapps.list"), dir.file("sysconfig/mimeapps.list"),
                  dir.file("data/applications/x-test-mimeapps.list"), dir.file("data/applications/kde-mimeapps.list"),
                  dir.file("data/applications/mimeapps.list"), dir.file("sysdata/applications/x-test-mimeapps.list"),
                  dir.file("sysdata/applications/kde-mimeapps.list"), dir.file("sysdata/applications/mimeapps.list")}));

    struct Case {
        std::vector<std::pair<std::string, std::string>> files;
        std::string expected;
    };
    const std::string group = "[Default Applications]\n";
    const Case cases[] = {
        {{}, ""},
        // The distribution's default.
        {{{"sysdata/applications/mimeapps.list", group + "text/plain=a.desktop;\n"}}, "a.desktop"},
        // The user's file comes first, its desktop's own file before it.
        {{{"sysdata/applications/mimeapps.list", group + "text/plain=a.desktop;\n"},
          {"config/mimeapps.list", group + "text/plain=b.desktop;\n"},
          {"config/kde-mimeapps.list", group + "text/plain=vendor-tool.desktop;\n"}},
         "vendor-tool.desktop"},
        // An entry that is not installed gives way to the next one, in the
        // same line or in the next file.
        {{{"config/mimeapps.list", group + "text/plain=gone.desktop;c.desktop\n"}}, "c.desktop"},
        {{{"config/mimeapps.list", group + "text/plain=gone.desktop;\n"},
          {"sysconfig/mimeapps.list", "# comment\n" + group + " text/plain = b.desktop ;\n"}},
         "b.desktop"},
        // Removed in a more important file: no longer a candidate.
        {{{"config/mimeapps.list", "[Removed Associations]\ntext/plain=a.desktop;\n"},
          {"sysconfig/mimeapps.list", group + "text/plain=a.desktop;b.desktop;\n"}},
         "b.desktop"},
        // Lines of other groups and types do not count.
        {{{"config/mimeapps.list", "[Added Associations]\ntext/plain=a.desktop;\n" + group + "text/html=b.desktop;\n"}},
         ""},
    };
    for (const Case &c : cases) {
        for (const char *d : {"config", "sysconfig", "data", "sysdata"})
            for (const char *name : {"mimeapps.list", "kde-mimeapps.list", "applications/mimeapps.list"})
                fs::remove(dir.file(std::string(d) + "/" + name));
        for (const auto &[name, text] : c.files)
            put(name, text);
        EXPECT_EQ(ExtensionDefaultApplication("cfg", p.desktop), c.expected) << ::testing::PrintToString(c.files);
    }

    // The type of *.cfg: the heaviest glob, the user's folder on a tie; a
    // folder can clear the globs of a type for the folders after it.
    put("sysdata/mime/globs2", "50:text/x-one:*.cfg\n60:text/x-two:*.CFG\n40:text/x-three:*.cfg:cs\n");
    EXPECT_EQ(GlobMimeType("cfg", p.desktop), "text/x-two");
    put("data/mime/globs2", "60:text/x-mine:*.cfg\n");
    EXPECT_EQ(GlobMimeType("cfg", p.desktop), "text/x-mine");
    put("data/mime/globs2", "0:text/x-two:__NOGLOBS__\n");
    EXPECT_EQ(GlobMimeType("cfg", p.desktop), "text/x-one");
    // A type without a default of its own takes that of its parent.
    put("sysdata/mime/subclasses", "text/x-one text/x-base\n");
    put("config/mimeapps.list", group + "text/x-base=c.desktop;\ntext/plain=a.desktop;\n");
    EXPECT_EQ(ExtensionDefaultApplication("cfg", p.desktop), "c.desktop");
    EXPECT_EQ((ParentMimeTypes("text/x-one", p.desktop)), (std::vector<std::string>{"text/x-base", "text/plain"}));
}

TEST_F(Association, UncheckingLeavesTheAssociation)
{
    const AssociationPlaces p = places(programDir);
    ASSERT_TRUE(RegisterFileType("cfg", p));
    const std::string store = readAll(AssociationStorePath()), mimeapps = readAll(dir.file("config/mimeapps.list"));
    EXPECT_FALSE(apply("cfg", false, true, p));
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(IsFileTypeAssociated("cfg", p));
    EXPECT_EQ(readAll(AssociationStorePath()), store);
    EXPECT_EQ(readAll(dir.file("config/mimeapps.list")), mimeapps);
}

TEST_F(Association, DesktopFilesAreWrittenBelowTheXdgHome)
{
    const std::string head = "# my associations\r\n[Added Associations]\r\ntext/x-varkel-config=other.desktop;\r\n"
                             "\r\n[Default Applications]\r\ntext/html=firefox.desktop;\r\nimage/png = viewer.desktop;\r\n";
    const std::string tail = "\r\n[Removed Associations]\r\ntext/plain=gedit.desktop;";
    fs::create_directories(dir.file("config"));
    writeAll(dir.file("config/mimeapps.list"), head + tail);

    ASSERT_TRUE(RegisterFileType("cfg", places(programDir)));
    ASSERT_TRUE(RegisterFileType("rc", places(programDir)));

    const std::string desktop = readAll(dir.file("data/applications/varkel.desktop"));
    EXPECT_TRUE(contains(desktop, "[Desktop Entry]\nType=Application\n"));
    EXPECT_TRUE(contains(desktop, "\nExec=\"/opt/games/varkel/varkel\" %f\n"));
    EXPECT_TRUE(contains(desktop, "\nIcon=varkel\n"));
    EXPECT_TRUE(contains(desktop, "\nMimeType=text/x-varkel-config;\n"));
    EXPECT_EQ(readAll(dir.file("data/icons/hicolor/scalable/apps/varkel.svg")), "<svg/>");
    const std::string mime = readAll(dir.file("data/mime/packages/varkel.xml"));
    EXPECT_TRUE(contains(mime, "<mime-type type=\"text/x-varkel-config\">"));
    EXPECT_TRUE(contains(mime, "<glob pattern=\"*.cfg\" weight=\"80\"/>"));
    EXPECT_TRUE(contains(mime, "<glob pattern=\"*.rc\" weight=\"80\"/>"));
    EXPECT_EQ(updates, (std::vector<std::string>{dir.file("data/mime"), dir.file("data/mime")}));

    // Our line joins the end of [Default Applications]; all else is as it was.
    EXPECT_EQ(readAll(dir.file("config/mimeapps.list")), head + "text/x-varkel-config=varkel.desktop;\r\n" + tail);

    // Nothing outside the temporary home.
    std::vector<std::string> written;
    for (const auto &entry : fs::recursive_directory_iterator(dir.path()))
        if (entry.is_regular_file())
            written.push_back(fs::relative(entry.path(), dir.path()).string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"config/mimeapps.list", "data/Varkel/classes.ini",
                                                 "data/applications/varkel.desktop",
                                                 "data/icons/hicolor/scalable/apps/varkel.svg",
                                                 "data/mime/globs2", "data/mime/packages/varkel.xml",
                                                 "data/mime/subclasses"}));
}

TEST_F(Association, FailuresWriteNothingElse)
{
    for (const char *ext : {"", "c/fg", "../x", "c]fg", "c fg", ".cfg"}) {
        EXPECT_FALSE(RegisterFileType(ext, places(programDir))) << ext;
        EXPECT_FALSE(IsFileTypeAssociated(ext, places(programDir))) << ext;
    }
    EXPECT_FALSE(fs::exists(dir.file("data")));

    // A mimeapps.list that cannot be read is never replaced by a file holding
    // only our line.
    fs::create_directories(dir.file("config/mimeapps.list"));
    EXPECT_FALSE(RegisterFileType("cfg", places(programDir)));
    EXPECT_TRUE(fs::is_directory(dir.file("config/mimeapps.list")));
    // The desktop was not told, so the files do not open in Varkel.
    EXPECT_FALSE(IsFileTypeAssociated("cfg", places(programDir)));
}

TEST_F(Association, FailedStoreWriteReportsNothingAndLeavesTheDesktopAlone)
{
    // A folder where the store file should be: every write fails, as root too.
    fs::create_directories(AssociationStorePath());
    const AssociationPlaces p = places(programDir);
    // The box keeps the state the user gave it; nothing is reported.
    EXPECT_TRUE(apply("cfg", true, true, p));
    EXPECT_FALSE(RegisterFileType("rc", p));
    EXPECT_FALSE(IsFileTypeAssociated("cfg", p));
    EXPECT_FALSE(fs::exists(dir.file("data/applications")));
    EXPECT_FALSE(fs::exists(dir.file("config/mimeapps.list")));
}

TEST(XdgFolders, RelativeOrEmptyValuesFallBackToHome)
{
    test::EnvOverride home("HOME", "/home/player");
    {
        test::EnvOverride data("XDG_DATA_HOME", "relative/share"), config("XDG_CONFIG_HOME", "");
        EXPECT_EQ(XdgDataHome(), "/home/player/.local/share");
        EXPECT_EQ(XdgConfigHome(), "/home/player/.config");
    }
    test::EnvOverride data("XDG_DATA_HOME", "/data/share");
    EXPECT_EQ(XdgDataHome(), "/data/share");
}

TEST(DesktopEntry, ExecQuotesThePathExactly)
{
    EXPECT_EQ(DesktopExecArgument("/my games/100%/varkel"), "\"/my games/100%%/varkel\"");
    // '"', '`' and '$' get one backslash; a backslash itself ends up as four.
    EXPECT_EQ(DesktopExecArgument("/a\"b`c$d\\e"), "\"/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e\"");
}

TEST(MimeApps, DefaultApplicationLine)
{
    const std::string line = "text/x-varkel-config=varkel.desktop;\n";
    const std::pair<std::string, std::string> cases[] = {
        // No file: the group is created.
        {"", "[Default Applications]\n" + line},
        // No group, no final line break: the last line is ended first.
        {"[Added Associations]\na/b=x.desktop;", "[Added Associations]\na/b=x.desktop;\n[Default Applications]\n" + line},
        // An existing line keeps the other applications after ours, once.
        {"[Default Applications]\r\ntext/x-varkel-config=a.desktop;varkel.desktop;b.desktop\r\ntext/plain=a.desktop;\r\n",
         "[Default Applications]\r\ntext/x-varkel-config=varkel.desktop;a.desktop;b.desktop;\r\ntext/plain=a.desktop;\r\n"},
        // A group at the end without a final line break.
        {"[Default Applications]\ntext/plain=a.desktop;", "[Default Applications]\ntext/plain=a.desktop;\n" + line},
        // The same key in another group is not ours to change.
        {"[Added Associations]\ntext/x-varkel-config=a.desktop;\n[Default Applications]\n",
         "[Added Associations]\ntext/x-varkel-config=a.desktop;\n[Default Applications]\n" + line},
    };
    for (const auto &[before, after] : cases) {
        EXPECT_EQ(SetDefaultApplication(before, "text/x-varkel-config", "varkel.desktop"), after) << before;
        // Applying twice changes nothing more.
        EXPECT_EQ(SetDefaultApplication(after, "text/x-varkel-config", "varkel.desktop"), after) << before;
    }
}

TEST_F(Association, MimeDatabaseToolRunsWithoutAShellWhenPresent)
{
    if (std::system("command -v update-mime-database >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "update-mime-database is not installed";
    AssociationPlaces p = places(programDir);
    p.desktop.updateMimeDatabase = RunUpdateMimeDatabase;
    ASSERT_TRUE(RegisterFileType("cfg", p));
    const std::string globs = readAll(dir.file("data/mime/globs2"));
    EXPECT_TRUE(contains(globs, "80:text/x-varkel-config:*.cfg")) << globs;
}
