#include "language/dictionary.h"

#include "app/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

using namespace varkel;
using varkel::test::writeAll;
namespace fs = std::filesystem;
using Words = std::vector<std::string>;

namespace {

// A throw-away data folder holding a small complete set "Q2" with one of
// everything; files are written with CR LF.
class Dictionary : public ::testing::Test
{
protected:
    void SetUp() override { writeSet("Q2"); }

    void write(const std::string &name, std::initializer_list<std::string_view> lines)
    {
        std::string text;
        for (auto line : lines)
            text.append(line).append("\r\n");
        writeAll(dir.file(name), text);
    }
    void writeSet(const std::string &set)
    {
        write(set + "cmdlst.dat", {"bind", "alias", "pause", "gamma"});
        write(set + "items.dat", {"railgun", "shells"});
        write(set + "ItemList.dat", {"Q2 Items", "use Railgun"});
        write(set + "keynames.dat", {"ESCAPE", "void", "pause", "mouse1", "railgun"});
        write(set + "cvrlst.dat", {"sensitivity", "gamma", "mouse1", "shells"});
    }
    Error build(const std::string &set = "Q2") { return BuildDictionary(dict, dir.path(), set); }

    test::TempDir dir;
    GameDictionary dict;
};

} // namespace

TEST_F(Dictionary, ClassPrecedenceFollowsTheOrderOfTheFiles)
{
    ASSERT_FALSE(build());
    EXPECT_EQ(dict.completedStep(), BuildStep::Complete);
    EXPECT_EQ(dict.setNumber(), 2);
    EXPECT_EQ(dict.Lookup("bind"), Command);
    EXPECT_EQ(dict.Lookup("pause"), Command);    // a key name that is a command stays a command
    EXPECT_EQ(dict.Lookup("railgun"), Item);     // ... and one that is an item stays an item
    EXPECT_EQ(dict.Lookup("escape"), KeyName);
    EXPECT_EQ(dict.Lookup("mouse1"), KeyName);   // a cvar that is a key name stays a key name
    EXPECT_EQ(dict.Lookup("gamma"), Command);    // a cvar that is a command stays a command
    EXPECT_EQ(dict.Lookup("shells"), Item);
    EXPECT_EQ(dict.Lookup("sensitivity"), Cvar);
    EXPECT_EQ(dict.Lookup("="), KeyName);
    EXPECT_EQ(dict.Lookup("~"), KeyName);
    EXPECT_EQ(dict.Lookup("void"), 0);

    // Every key name and cvar is listed whatever its class.
    EXPECT_EQ(dict.Cvars(), (Words{"sensitivity", "gamma", "mouse1", "shells"}));
    EXPECT_EQ(dict.KeyNameList(), (Words{"ESCAPE", "PAUSE", "MOUSE1", "RAILGUN"}));
    EXPECT_EQ(dict.KeyIndex("RailGun"), 4);
}

TEST_F(Dictionary, QuakeDoesNotReadItems)
{
    writeSet("Q1");
    // Would fail (an item that is a command) if it were read.
    write("Q1items.dat", {"bind", "bind"});
    ASSERT_FALSE(build("Q1"));
    EXPECT_EQ(dict.Lookup("railgun"), KeyName);
    EXPECT_EQ(dict.Lookup("shells"), Cvar);
    EXPECT_FALSE(dict.usesVstr());
    // Without the file at all it builds just the same.
    fs::remove(dir.file("Q1items.dat"));
    EXPECT_FALSE(build("Q1"));
}

TEST_F(Dictionary, LinePreparationAndLineEnds)
{
    // Spaces trimmed and lower case; a tab stays; "//" anywhere skips the
    // whole line; a blank line is an empty entry.
    write("Q2cmdlst.dat", {"  BIND  ", "\tExec", "echo // prints text", "cl_x//y", "// header", "", "Wait"});
    ASSERT_FALSE(build());
    EXPECT_EQ(dict.Commands(), (Words{"bind", "\texec", "", "wait"}));
    EXPECT_EQ(dict.Lookup("exec"), 0);
    EXPECT_EQ(dict.Lookup("echo"), 0);
    EXPECT_EQ(dict.Lookup("cl_x"), 0);

    // CR LF, a lone CR, a lone LF, and a last line without a line end; a
    // final line end adds no empty line; an empty file adds nothing.
    const std::pair<std::string, Words> cases[] = {
        {"one\r\ntwo\rthree\nfour", {"one", "two", "three", "four"}}, {"one\r\n", {"one"}}, {"", {}}};
    for (const auto &[bytes, commands] : cases) {
        writeAll(dir.file("Q2cmdlst.dat"), bytes);
        ASSERT_FALSE(build());
        EXPECT_EQ(dict.Commands(), commands) << bytes;
    }
}

TEST_F(Dictionary, ItemListLinesKeptVerbatimWithPictures)
{
    write("Q2ItemList.dat", {"Q2 Items", "  use Super Shotgun ", "// not an entry", "use Quad Damage", "TA Items", "XItems"});
    ASSERT_FALSE(build());
    const auto &items = dict.Items();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[1].text, "  use Super Shotgun ");
    for (std::size_t k = 0; k < items.size(); ++k)
        EXPECT_EQ(items[k].picture, int(k) + 2) << k; // picture 1 is never used
    EXPECT_TRUE(items[0].heading && items[3].heading);
    EXPECT_FALSE(items[1].heading);
    EXPECT_FALSE(items[4].heading); // "Items" must start at the fourth character
    EXPECT_EQ(dict.Lookup("use"), 0); // ItemList entries are not keywords

    EXPECT_EQ(itemInsertText("Q1", {"7 Rocket Launcher", 2, false}), "IMPULSE 7");
    EXPECT_EQ(itemInsertText("Q3", {"10 Grappling Hook", 2, false}), "weapon 10");
    EXPECT_EQ(itemInsertText("Q2", {"use Railgun", 2, false}), "use Railgun");
    EXPECT_EQ(itemInsertText("Q3", {"Q3 Items", 2, true}), "");
}

TEST_F(Dictionary, KeyNameSlotsAndAtMost110)
{
    write("Q2keynames.dat", {"// slots", "void", "TAB", "VOID", "voided", "  Mouse1 ", "// end"});
    ASSERT_FALSE(build());
    // "void" in any case, and only its first four characters count.
    EXPECT_EQ(Words(dict.KeyNames().begin(), dict.KeyNames().begin() + 6), (Words{"", "tab", "", "", "mouse1", ""}));
    EXPECT_EQ(dict.KeyNameList(), (Words{"TAB", "MOUSE1"}));
    EXPECT_EQ(dict.KeyIndex("TAB"), 1);
    EXPECT_EQ(dict.KeyIndex("void"), -1);
    EXPECT_EQ(dict.KeyIndex(""), -1);

    std::string text = "// header\r\n";
    for (int i = 0; i < kDeviceSlotCount; ++i)
        text += (i % 7 == 0 ? "void" : "k" + std::to_string(i)) + "\r\n";
    writeAll(dir.file("Q2keynames.dat"), text);
    ASSERT_FALSE(build());
    EXPECT_EQ(dict.KeyIndex("K109"), 109);
    writeAll(dir.file("Q2keynames.dat"), text + "extra\r\n");
    EXPECT_EQ(build().code, ErrorCode::TooManyKeyNames);
    EXPECT_EQ(dict.completedStep(), BuildStep::ItemList);
    EXPECT_EQ(dict.KeyIndex("k109"), 109); // the 110 slots read before stay
    EXPECT_EQ(dict.KeyIndex("extra"), -1);
    EXPECT_TRUE(dict.Cvars().empty());
}

TEST_F(Dictionary, ExtraKeyNamesAfterTheSlots)
{
    // Without the file (an older data folder) only the panel's keys exist.
    ASSERT_FALSE(build());
    EXPECT_TRUE(dict.ExtraKeyNames().empty());
    EXPECT_EQ(dict.KeyNumber("mouse1"), 3);

    // Comments, blank and void lines, the symbol keys and names a slot (or
    // an earlier line) already holds are passed over; a name that is already
    // a keyword keeps its class.
    write("Q2extrakeys.dat", {"// more keys", "  MOUSE4 ", "", "void", "mouse1", "=", "~", "pause", "CapsLock",
                              "mouse4", "Aux1"});
    ASSERT_FALSE(build());
    EXPECT_EQ(dict.completedStep(), BuildStep::Complete);
    EXPECT_EQ(dict.ExtraKeyNames(), (Words{"mouse4", "capslock", "aux1"}));
    EXPECT_EQ(dict.KeyNumber("MOUSE4"), kDeviceSlotCount);
    EXPECT_EQ(dict.KeyNumber("aux1"), kDeviceSlotCount + 2);
    EXPECT_EQ(dict.KeyIndex("mouse4"), -1);
    EXPECT_EQ(dict.KeyNameOf(kDeviceSlotCount + 1), "capslock");
    EXPECT_EQ(dict.KeyNameOf(3), "mouse1");
    EXPECT_EQ(dict.KeyNameOf(kDeviceSlotCount + 3), "");
    EXPECT_EQ(dict.KeyNameOf(-1), "");
    EXPECT_EQ(dict.Lookup("Mouse4"), KeyName);
    EXPECT_EQ(dict.Lookup("capslock"), KeyName);
    EXPECT_EQ(dict.Lookup("pause"), Command);
    // The panel's lists are left as they were.
    EXPECT_EQ(dict.KeyNameList(), (Words{"ESCAPE", "PAUSE", "MOUSE1", "RAILGUN"}));
    EXPECT_EQ(dict.KeyNames()[4], "railgun");

    // A folder in place of the file is a failure like any other.
    fs::remove(dir.file("Q2extrakeys.dat"));
    fs::create_directory(dir.file("Q2extrakeys.dat"));
    EXPECT_TRUE(build());
    EXPECT_EQ(dict.completedStep(), BuildStep::ItemList);
}

TEST_F(Dictionary, LookupIsCaseInsensitive)
{
    write("Q2cmdlst.dat", {"bind", "\xC9TAT", std::string(100, 'x')});
    ASSERT_FALSE(build());
    EXPECT_EQ(dict.Lookup("BiNd"), Command);
    EXPECT_EQ(dict.Lookup("\xE9tat"), Command);  // Latin-1 capitals fold as well
    EXPECT_EQ(dict.Lookup(std::string(100, 'X')), Command); // longer than the stack buffer
    EXPECT_EQ(dict.Lookup(std::string(101, 'x')), 0);
    EXPECT_EQ(dict.Lookup(""), 0);

    // The by-reference form lower-cases the caller's word in any case and
    // leaves the class alone when the word is absent.
    std::string word = "BIND";
    int cls = -1;
    EXPECT_TRUE(dict.Lookup(word, cls));
    EXPECT_EQ(word, "bind");
    EXPECT_EQ(cls, Command);
    word = "NoSuch";
    cls = 42;
    EXPECT_FALSE(dict.Lookup(word, cls));
    EXPECT_EQ(word, "nosuch");
    EXPECT_EQ(cls, 42);
}

// ---------------------------------------------------------------------------
// Failures stop the build where they happen and keep what came before.

TEST_F(Dictionary, MissingFilesStopTheBuildAndKeepTheEarlierSteps)
{
    ASSERT_FALSE(build());
    // No command list: everything from the previous build is gone, the new
    // set is current, nothing else was read.
    Error e = build("Q3");
    EXPECT_EQ(e.code, ErrorCode::FileNotFound);
    EXPECT_NE(e.detail.find("Q3cmdlst.dat"), std::string::npos);
    EXPECT_EQ(dict.Set(), "Q3");
    EXPECT_EQ(dict.completedStep(), BuildStep::Cleared);
    EXPECT_EQ(dict.keywordCount(), 0u);
    EXPECT_TRUE(dict.KeyNameList().empty() && dict.Items().empty());
    EXPECT_EQ(BuildDictionary(dict, dir.file("absent"), "Q2").code, ErrorCode::DataFolderMissing);

    const std::pair<const char *, BuildStep> steps[] = {{"Q2items.dat", BuildStep::Commands},
                                                        {"Q2ItemList.dat", BuildStep::Items},
                                                        {"Q2keynames.dat", BuildStep::ItemList},
                                                        {"Q2cvrlst.dat", BuildStep::KeySymbols}};
    for (const auto &[file, step] : steps) {
        fs::remove(dir.file(file));
        EXPECT_EQ(build().code, ErrorCode::FileNotFound) << file;
        EXPECT_EQ(dict.completedStep(), step) << file;
        EXPECT_EQ(dict.Lookup("bind"), Command) << file;
        EXPECT_EQ(dict.Lookup("railgun"), step == BuildStep::Commands ? 0 : Item) << file;
        EXPECT_EQ(dict.KeyIndex("escape"), step == BuildStep::KeySymbols ? 0 : -1) << file;
        EXPECT_EQ(dict.Lookup("~"), step == BuildStep::KeySymbols ? KeyName : 0) << file;
        EXPECT_TRUE(dict.Cvars().empty());
        writeSet("Q2");
    }
    // A folder in place of a file is a failure too.
    fs::remove(dir.file("Q2keynames.dat"));
    fs::create_directory(dir.file("Q2keynames.dat"));
    EXPECT_TRUE(build());
    EXPECT_EQ(dict.completedStep(), BuildStep::ItemList);
}

TEST_F(Dictionary, DuplicatesStopTheBuildAndKeepTheEarlierEntries)
{
    write("Q2cmdlst.dat", {"bind", "exec", "BIND", "wait"});
    Error e = build();
    EXPECT_EQ(e.code, ErrorCode::DuplicateEntry);
    EXPECT_NE(e.description().find("\"bind\""), std::string::npos);
    EXPECT_EQ(dict.completedStep(), BuildStep::Cleared);
    EXPECT_EQ(dict.Commands(), (Words{"bind", "exec"}));
    EXPECT_EQ(dict.Lookup("wait"), 0);
    EXPECT_EQ(dict.Lookup("railgun"), 0);

    writeSet("Q2");
    write("Q2items.dat", {"railgun", "bind", "shells"}); // an item that is a command
    EXPECT_EQ(build().code, ErrorCode::DuplicateEntry);
    EXPECT_EQ(dict.completedStep(), BuildStep::Commands);
    EXPECT_EQ(dict.Lookup("railgun"), Item);
    EXPECT_EQ(dict.Lookup("bind"), Command);
    EXPECT_EQ(dict.Lookup("shells"), 0);

    writeSet("Q2");
    write("Q2keynames.dat", {"escape", "tab", "Escape", "enter"});
    EXPECT_EQ(build().code, ErrorCode::DuplicateEntry);
    EXPECT_EQ(dict.completedStep(), BuildStep::ItemList);
    EXPECT_EQ(dict.KeyIndex("tab"), 1);
    EXPECT_EQ(dict.KeyIndex("enter"), -1);
    // The slot and list entry of the second "escape" were filled before its
    // index entry failed.
    EXPECT_EQ(dict.KeyNames()[2], "escape");
    EXPECT_EQ(dict.KeyNameList(), (Words{"ESCAPE", "TAB", "ESCAPE"}));
    EXPECT_EQ(dict.Lookup("="), 0);

    for (const char *symbol : {"=", "~"}) {
        write("Q2keynames.dat", {"escape", symbol, "tab"});
        EXPECT_EQ(build().code, ErrorCode::DuplicateEntry) << symbol;
        // The whole key file was read; the symbols step and cvars were not.
        EXPECT_EQ(dict.completedStep(), BuildStep::KeyNames) << symbol;
        EXPECT_EQ(dict.KeyIndex("tab"), 2);
        EXPECT_TRUE(dict.Cvars().empty());
        // The symbols step stopped at "=" before "~" went in.
        EXPECT_TRUE(std::string_view(symbol) == "~" || dict.Lookup("~") == 0);
    }

    // The next build starts afresh.
    writeSet("Q2");
    ASSERT_FALSE(build());
    EXPECT_EQ(dict.Commands().size(), 4u);
}

// ---------------------------------------------------------------------------
// The data files the product ships.

namespace {
const std::string kShipped = VARKEL_SOURCE_DIR "/Data";
} // namespace

TEST(ShippedData, EverySetBuildsWithThePanelsSlots)
{
    for (const char *set : {"Q1", "Q2", "Q3"}) {
        SCOPED_TRACE(set);
        GameDictionary dict;
        Error e = BuildDictionary(dict, kShipped, set);
        ASSERT_FALSE(e) << e.description();
        for (const char *command : {"bind", "exec", "+attack", "-attack"})
            EXPECT_EQ(dict.Lookup(command), Command) << command;
        EXPECT_EQ(dict.Lookup("sensitivity"), Cvar);
        // The panel's slots: the void keys, the two symbol keys, mouse and joystick.
        for (int slot : {40, 64, 69, 70, 71, 72, 84})
            EXPECT_EQ(dict.KeyNames()[slot], "") << slot;
        EXPECT_EQ(dict.KeyNames()[13], "`");
        EXPECT_EQ(dict.KeyNames()[25], "+");
        const char *const devices[] = {"mouse1", "mouse2", "mouse3", "mwheelup", "mwheeldown", "joy1"};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(dict.KeyIndex(devices[i]), 101 + i) << devices[i];
        ASSERT_FALSE(dict.Items().empty());
        EXPECT_TRUE(dict.Items().front().heading);
    }
    // Every key of each game's key table is a key name, on the panel or off it.
    const std::pair<const char *, const char *> offPanel[] = {{"Q1", "aux32"}, {"Q2", "aux1"}, {"Q3", "mouse4"},
                                                              {"Q3", "capslock"}, {"Q3", "kp_numlock"}};
    for (const auto &[set, key] : offPanel) {
        GameDictionary dict;
        ASSERT_FALSE(BuildDictionary(dict, kShipped, set));
        EXPECT_EQ(dict.Lookup(key), KeyName) << set << ' ' << key;
        EXPECT_GE(dict.KeyNumber(key), kDeviceSlotCount) << set << ' ' << key;
        EXPECT_EQ(dict.KeyIndex(key), -1) << set << ' ' << key;
    }
    GameDictionary q3;
    ASSERT_FALSE(BuildDictionary(q3, kShipped, "Q3"));
    EXPECT_TRUE(q3.usesVstr());
    EXPECT_EQ(q3.Lookup("alias"), 0);
    EXPECT_EQ(q3.Lookup("seta"), Command);
    const auto &items = q3.Items();
    auto hook = std::find_if(items.begin(), items.end(), [](const ItemEntry &i) { return i.text == "10 Grappling Hook"; });
    ASSERT_NE(hook, items.end());
    EXPECT_EQ(itemInsertText("Q3", *hook), "weapon 10");
}

TEST(ShippedData, MatchesTheVocabularyLists)
{
    const std::string vocab = VARKEL_SHARED_DIR "/vocab";
    if (!fs::exists(vocab))
        GTEST_SKIP() << "no vocabulary lists at " << vocab;
    if (std::system("python3 --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 not available";
    const std::string cmd = "python3 '" VARKEL_SOURCE_DIR "/tools/make_data.py' --check --vocab '" + vocab
        + "' --out '" + kShipped + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << "Data/ is out of date: run tools/make_data.py";
}
