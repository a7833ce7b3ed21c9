#include "language/dictionary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <unistd.h>

using namespace varkel;
namespace fs = std::filesystem;

namespace {

// A throw-away data folder; files are written with CR LF unless given raw.
class DataFolder
{
public:
    DataFolder()
    {
        static int counter = 0;
        m_path = fs::temp_directory_path()
            / ("varkel-dict-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        fs::create_directories(m_path);
    }
    ~DataFolder() { fs::remove_all(m_path); }

    void write(const std::string &name, std::initializer_list<std::string_view> lines)
    {
        std::string text;
        for (auto line : lines) {
            text += line;
            text += "\r\n";
        }
        writeRaw(name, text);
    }
    void writeRaw(const std::string &name, std::string_view bytes)
    {
        std::ofstream(m_path / name, std::ios::binary) << bytes;
    }
    void remove(const std::string &name) { fs::remove(m_path / name); }
    std::string path() const { return m_path.string(); }

    // A small complete set "Q2" with one of everything.
    void writeSet(const std::string &set = "Q2")
    {
        write(set + "cmdlst.dat", {"bind", "alias", "pause", "gamma"});
        write(set + "items.dat", {"railgun", "shells"});
        write(set + "ItemList.dat", {"Q2 Items", "use Railgun"});
        write(set + "keynames.dat", {"ESCAPE", "void", "pause", "mouse1", "railgun"});
        write(set + "cvrlst.dat", {"sensitivity", "gamma", "mouse1", "shells"});
    }

private:
    fs::path m_path;
};

} // namespace

// ---------------------------------------------------------------------------

TEST(Dictionary, ClassPrecedenceFollowsTheOrderOfTheFiles)
{
    DataFolder data;
    data.writeSet();
    GameDictionary dict;
    ASSERT_FALSE(BuildDictionary(dict, data.path(), "Q2"));
    EXPECT_EQ(dict.completedStep(), BuildStep::Complete);
    EXPECT_EQ(dict.Set(), "Q2");
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
    EXPECT_EQ(dict.Lookup("nothing"), 0);

    // Every key name and cvar is listed whatever its class.
    EXPECT_EQ(dict.Cvars(), (std::vector<std::string>{"sensitivity", "gamma", "mouse1", "shells"}));
    EXPECT_EQ(dict.KeyNameList(), (std::vector<std::string>{"ESCAPE", "PAUSE", "MOUSE1", "RAILGUN"}));
    EXPECT_EQ(dict.Commands(), (std::vector<std::string>{"bind", "alias", "pause", "gamma"}));
    EXPECT_EQ(dict.KeyIndex("pause"), 2);
    EXPECT_EQ(dict.KeyIndex("RailGun"), 4);
}

TEST(Dictionary, QuakeDoesNotReadItems)
{
    DataFolder data;
    data.writeSet("Q1");
    // Would fail (an item that is a command) if it were read.
    data.write("Q1items.dat", {"bind", "bind"});
    GameDictionary dict;
    ASSERT_FALSE(BuildDictionary(dict, data.path(), "Q1"));
    EXPECT_EQ(dict.Lookup("railgun"), KeyName);
    EXPECT_EQ(dict.Lookup("shells"), Cvar);
    EXPECT_FALSE(dict.usesVstr());

    // Without the file at all it builds just the same.
    data.remove("Q1items.dat");
    EXPECT_FALSE(BuildDictionary(dict, data.path(), "Q1"));
}

TEST(Dictionary, LinePreparation)
{
    DataFolder data;
    data.writeSet();
    // Spaces trimmed and lower case; a tab stays; "//" anywhere skips the
    // whole line; a blank line is an empty entry.
    data.write("Q2cmdlst.dat", {"  BIND  ", "\tExec", "echo // prints text", "cl_x//y", "// header", "", "Wait"});
    GameDictionary dict;
    ASSERT_FALSE(BuildDictionary(dict, data.path(), "Q2"));
    EXPECT_EQ(dict.Commands(), (std::vector<std::string>{"bind", "\texec", "", "wait"}));
    EXPECT_EQ(dict.Lookup("exec"), 0);
    EXPECT_EQ(dict.Lookup("echo"), 0);
    EXPECT_EQ(dict.Lookup("cl_x"), 0);
    EXPECT_EQ(dict.Lookup("BIND"), Command);
}

TEST(Dictionary, LineEnds)
{
    DataFolder data;
    data.writeSet();
    // CR LF, a lone CR, a lone LF, and a last line without a line end.
    data.writeRaw("Q2cmdlst.dat", "one\r\ntwo\rthree\nfour");
    GameDictionary dict;
    ASSERT_FALSE(BuildDictionary(dict, data.path(), "Q2"));
    EXPECT_EQ(dict.Commands(), (std::vector<std::string>{"one", "two", "three", "four"}));

    // A final line end adds no empty line; an empty file adds nothing.
    data.writeRaw("Q2cmdlst.dat", "one\r\n");
    ASSERT_FALSE(BuildDictionary(dict, data.path(), "Q2"));
    EXPECT_EQ(dict.Commands(), (std::vector<std::string>{"one"}));
    data.writeRaw("Q2cmdlst.dat", "");
    ASSERT_FALSE(BuildDictionary(dict, data.path(), "Q2"));
    EXPECT_TRUE(dict.Commands().empty());
}

TEST(Dictionary, ItemListLinesKeptVerbatimWithPictures)
{
    DataFolder data;
    data.writeSet();
    data.write("Q2ItemList.dat", {"Q2 Items", "  use Super Shotgun ", "// not an entry", "use Quad Damage", "TA Items", "XItems"});
    GameDictionary dict;
    ASSERT_FALSE(BuildDictionary(dict, data.path(), "Q2"));
    const auto &items = dict.Items();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[1].text, "  use Super Shotgun ");
    EXPECT_EQ(items[2].text, "use Quad Damage");
    for (std::size_t k = 0; k < items.size(); ++k)
        EXPECT_EQ(items[k].picture, int(k) + 2) << k; // picture 1 is never used
    EXPECT_TRUE(items[0].heading);
    EXPECT_FALSE(items[1].heading);
    EXPECT_TRUE(items[3].heading);
    EXPECT_FALSE(items[4].heading); // "Items" must start at the fourth character
    // ItemList entries are not keywords.
    EXPECT_EQ(dict.Lookup("use"), 0);
}

TEST(Dictionary, ItemInsertTextPerSet)
{
    EXPECT_EQ(itemInsertText("Q1", {"7 Rocket Launcher", 2, false}), "IMPULSE 7");
    EXPECT_EQ(itemInsertText("Q3", {"10 Grappling Hook", 2, false}), "weapon 10");
    EXPECT_EQ(itemInsertText("Q3", {"5 Rocket Launcher", 2, false}), "weapon 5");
    EXPECT_EQ(itemInsertText("Q2", {"use Railgun", 2, false}), "use Railgun");
    EXPECT_EQ(itemInsertText("Q3", {"Q3 Items", 2, true}), "");
}

TEST(Dictionary, KeyNameSlots)
{
    DataFolder data;
    data.writeSet();
    data.write("Q2keynames.dat", {"// slots", "void", "TAB", "VOID", "voided", "  Mouse1 ", "// end"});
    GameDictionary dict;
    ASSERT_FALSE(BuildDictionary(dict, data.path(), "Q2"));
    const auto &names = dict.KeyNames();
    EXPECT_EQ(names[0], "");
    EXPECT_EQ(names[1], "tab");
    EXPECT_EQ(names[2], ""); // "void" in any case
    EXPECT_EQ(names[3], ""); // only the first four characters count
    EXPECT_EQ(names[4], "mouse1");
    EXPECT_EQ(names[5], "");
    EXPECT_EQ(dict.KeyNameList(), (std::vector<std::string>{"TAB", "MOUSE1"}));
    EXPECT_EQ(dict.KeyIndex("tab"), 1);
    EXPECT_EQ(dict.KeyIndex("TAB"), 1);
    EXPECT_EQ(dict.KeyIndex("mouse1"), 4);
    EXPECT_EQ(dict.KeyIndex("void"), -1);
    EXPECT_EQ(dict.KeyIndex(""), -1);
    EXPECT_EQ(dict.KeyIndex("escape"), -1);
}

TEST(Dictionary, AtMost110KeyNames)
{
    DataFolder data;
    data.writeSet();
    std::string text = "// header\r\n";
    for (int i = 0; i < kDeviceSlotCount; ++i)
        text += (i % 7 == 0 ? "void" : "k" + std::to_string(i)) + "\r\n";
    data.writeRaw("Q2keynames.dat", text);
    GameDictionary dict;
    ASSERT_FALSE(BuildDictionary(dict, data.path(), "Q2"));
    EXPECT_EQ(dict.KeyNames()[109], "k109");
    EXPECT_EQ(dict.KeyIndex("K109"), 109);

    data.writeRaw("Q2keynames.dat", text + "extra\r\n");
    Error e = BuildDictionary(dict, data.path(), "Q2");
    EXPECT_EQ(e.code, ErrorCode::TooManyKeyNames);
    EXPECT_EQ(dict.completedStep(), BuildStep::ItemList);
    EXPECT_EQ(dict.KeyIndex("k109"), 109); // the 110 slots read before stay
    EXPECT_EQ(dict.KeyIndex("extra"), -1);
    EXPECT_EQ(dict.Lookup("="), 0);
    EXPECT_TRUE(dict.Cvars().empty());
}

TEST(Dictionary, LookupIsCaseInsensitive)
{
    DataFolder data;
    data.writeSet();
    const std::string longWord(100, 'x');
    data.write("Q2cmdlst.dat", {"bind", "\xC9TAT", longWord});
    GameDictionary dict;
    ASSERT_FALSE(BuildDictionary(dict, data.path(), "Q2"));
    EXPECT_EQ(dict.Lookup("BiNd"), Command);
    EXPECT_EQ(dict.Lookup("\xE9tat"), Command);  // Latin-1 capitals fold as well
    EXPECT_EQ(dict.Lookup("\xC9TAT"), Command);
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

TEST(DictionaryFailure, MissingFilesAndFolder)
{
    DataFolder data;
    data.writeSet();
    GameDictionary dict;
    ASSERT_FALSE(BuildDictionary(dict, data.path(), "Q2"));

    // No command list: everything from the previous build is gone, the new
    // set is current, nothing else was read.
    Error e = BuildDictionary(dict, data.path(), "Q3");
    EXPECT_EQ(e.code, ErrorCode::FileNotFound);
    EXPECT_NE(e.detail.find("Q3cmdlst.dat"), std::string::npos);
    EXPECT_EQ(dict.Set(), "Q3");
    EXPECT_EQ(dict.completedStep(), BuildStep::Cleared);
    EXPECT_EQ(dict.keywordCount(), 0u);
    EXPECT_TRUE(dict.KeyNameList().empty());
    EXPECT_TRUE(dict.Items().empty());
    EXPECT_EQ(dict.KeyIndex("escape"), -1);

    e = BuildDictionary(dict, data.path() + "/absent", "Q2");
    EXPECT_EQ(e.code, ErrorCode::DataFolderMissing);

    data.remove("Q2items.dat");
    e = BuildDictionary(dict, data.path(), "Q2");
    EXPECT_EQ(e.code, ErrorCode::FileNotFound);
    EXPECT_EQ(dict.completedStep(), BuildStep::Commands);
    EXPECT_EQ(dict.Lookup("bind"), Command);
    EXPECT_TRUE(dict.Items().empty());
    data.writeSet();

    data.remove("Q2ItemList.dat");
    e = BuildDictionary(dict, data.path(), "Q2");
    EXPECT_EQ(e.code, ErrorCode::FileNotFound);
    EXPECT_EQ(dict.completedStep(), BuildStep::Items);
    EXPECT_EQ(dict.Lookup("railgun"), Item);
    EXPECT_EQ(dict.KeyIndex("escape"), -1);
    data.writeSet();

    data.remove("Q2cvrlst.dat");
    e = BuildDictionary(dict, data.path(), "Q2");
    EXPECT_EQ(e.code, ErrorCode::FileNotFound);
    EXPECT_EQ(dict.completedStep(), BuildStep::KeySymbols);
    EXPECT_EQ(dict.Lookup("~"), KeyName);
    EXPECT_EQ(dict.KeyIndex("escape"), 0);
    EXPECT_TRUE(dict.Cvars().empty());
}

TEST(DictionaryFailure, DirectoryInPlaceOfAFile)
{
    DataFolder data;
    data.writeSet();
    data.remove("Q2keynames.dat");
    fs::create_directory(data.path() + "/Q2keynames.dat");
    GameDictionary dict;
    Error e = BuildDictionary(dict, data.path(), "Q2");
    EXPECT_TRUE(e);
    EXPECT_EQ(dict.completedStep(), BuildStep::ItemList);
}

TEST(DictionaryFailure, CommandTwice)
{
    DataFolder data;
    data.writeSet();
    data.write("Q2cmdlst.dat", {"bind", "exec", "BIND", "wait"});
    GameDictionary dict;
    Error e = BuildDictionary(dict, data.path(), "Q2");
    EXPECT_EQ(e.code, ErrorCode::DuplicateEntry);
    EXPECT_NE(e.description().find("\"bind\""), std::string::npos);
    EXPECT_EQ(dict.completedStep(), BuildStep::Cleared);
    EXPECT_EQ(dict.Commands(), (std::vector<std::string>{"bind", "exec"}));
    EXPECT_EQ(dict.Lookup("wait"), 0);
    EXPECT_EQ(dict.Lookup("railgun"), 0);
}

TEST(DictionaryFailure, ItemThatIsACommand)
{
    DataFolder data;
    data.writeSet();
    data.write("Q2items.dat", {"railgun", "bind", "shells"});
    GameDictionary dict;
    Error e = BuildDictionary(dict, data.path(), "Q2");
    EXPECT_EQ(e.code, ErrorCode::DuplicateEntry);
    EXPECT_EQ(dict.completedStep(), BuildStep::Commands);
    EXPECT_EQ(dict.Lookup("railgun"), Item);
    EXPECT_EQ(dict.Lookup("bind"), Command);
    EXPECT_EQ(dict.Lookup("shells"), 0);
    EXPECT_TRUE(dict.Items().empty());
}

TEST(DictionaryFailure, KeyNameTwice)
{
    DataFolder data;
    data.writeSet();
    data.write("Q2keynames.dat", {"escape", "tab", "Escape", "enter"});
    GameDictionary dict;
    Error e = BuildDictionary(dict, data.path(), "Q2");
    EXPECT_EQ(e.code, ErrorCode::DuplicateEntry);
    EXPECT_EQ(dict.completedStep(), BuildStep::ItemList);
    EXPECT_EQ(dict.KeyIndex("escape"), 0);
    EXPECT_EQ(dict.KeyIndex("tab"), 1);
    EXPECT_EQ(dict.KeyIndex("enter"), -1);
    // The slot and list entry of the second "escape" were filled before its
    // index entry failed.
    EXPECT_EQ(dict.KeyNames()[2], "escape");
    EXPECT_EQ(dict.KeyNameList(), (std::vector<std::string>{"ESCAPE", "TAB", "ESCAPE"}));
    EXPECT_EQ(dict.Lookup("="), 0);
    EXPECT_TRUE(dict.Cvars().empty());
    EXPECT_EQ(dict.Items().size(), 2u);
}

TEST(DictionaryFailure, EqualsOrTildeAsKeyName)
{
    for (const char *symbol : {"=", "~"}) {
        DataFolder data;
        data.writeSet();
        data.write("Q2keynames.dat", {"escape", symbol, "tab"});
        GameDictionary dict;
        Error e = BuildDictionary(dict, data.path(), "Q2");
        EXPECT_EQ(e.code, ErrorCode::DuplicateEntry) << symbol;
        // The whole key file was read; the symbols step and cvars were not.
        EXPECT_EQ(dict.completedStep(), BuildStep::KeyNames) << symbol;
        EXPECT_EQ(dict.KeyIndex("tab"), 2);
        EXPECT_TRUE(dict.Cvars().empty());
        if (std::string_view(symbol) == "=") {
            EXPECT_EQ(dict.Lookup("~"), 0);
        }
    }
}

TEST(DictionaryFailure, NextBuildStartsAfresh)
{
    DataFolder data;
    data.writeSet();
    data.write("Q2cmdlst.dat", {"bind", "bind"});
    GameDictionary dict;
    ASSERT_TRUE(BuildDictionary(dict, data.path(), "Q2"));
    data.writeSet();
    ASSERT_FALSE(BuildDictionary(dict, data.path(), "Q2"));
    EXPECT_EQ(dict.Commands().size(), 4u);
    EXPECT_EQ(dict.completedStep(), BuildStep::Complete);
}

// ---------------------------------------------------------------------------
// The data files the product ships.

namespace {
const std::string kShipped = VARKEL_SOURCE_DIR "/Data";

std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
} // namespace

TEST(ShippedData, EverySetBuildsAndKnowsTheCommonWords)
{
    for (const char *set : {"Q1", "Q2", "Q3"}) {
        SCOPED_TRACE(set);
        GameDictionary dict;
        Error e = BuildDictionary(dict, kShipped, set);
        ASSERT_FALSE(e) << e.description();
        EXPECT_EQ(dict.completedStep(), BuildStep::Complete);

        EXPECT_EQ(dict.Lookup("bind"), Command);
        EXPECT_EQ(dict.Lookup("exec"), Command);
        EXPECT_EQ(dict.Lookup("+attack"), Command);
        EXPECT_EQ(dict.Lookup("-attack"), Command);
        EXPECT_EQ(dict.Lookup("sensitivity"), Cvar);
        EXPECT_NE(dict.Lookup("name"), 0);
        for (const char *key : {"mouse1", "mouse2", "mouse3", "mwheelup", "mwheeldown"})
            EXPECT_EQ(dict.Lookup(key), KeyName) << key;

        const auto &names = dict.KeyNames();
        for (int slot : {40, 64, 69, 70, 71, 72, 84})
            EXPECT_EQ(names[slot], "") << slot;
        EXPECT_EQ(names[0], "escape");
        EXPECT_EQ(names[13], "`");
        EXPECT_EQ(names[25], "+");
        EXPECT_EQ(names[50], "semicolon");
        EXPECT_EQ(names[68], "space");
        EXPECT_EQ(names[73], "pause");
        EXPECT_EQ(dict.KeyIndex("MOUSE1"), 101);
        EXPECT_EQ(dict.KeyIndex("mouse2"), 102);
        EXPECT_EQ(dict.KeyIndex("mouse3"), 103);
        EXPECT_EQ(dict.KeyIndex("mwheelup"), 104);
        EXPECT_EQ(dict.KeyIndex("mwheeldown"), 105);
        EXPECT_EQ(dict.KeyIndex("joy1"), 106);
        EXPECT_EQ(dict.KeyIndex("joy4"), 109);

        ASSERT_FALSE(dict.Items().empty());
        EXPECT_EQ(dict.Items().front().text, std::string(set) + " Items");
        EXPECT_TRUE(dict.Items().front().heading);
    }
}

TEST(ShippedData, GameDifferences)
{
    GameDictionary dict;
    ASSERT_FALSE(BuildDictionary(dict, kShipped, "Q1"));
    EXPECT_EQ(dict.Lookup("alias"), Command);
    EXPECT_EQ(dict.Lookup("impulse"), Command);
    EXPECT_EQ(dict.Lookup("pause"), Command);
    EXPECT_EQ(dict.Lookup("vstr"), 0);
    EXPECT_EQ(dict.KeyIndex("pause"), 73);
    EXPECT_EQ(dict.KeyNames()[99], ""); // Quake has no keypad names
    EXPECT_EQ(itemInsertText("Q1", dict.Items()[7]), "IMPULSE 7");

    ASSERT_FALSE(BuildDictionary(dict, kShipped, "Q2"));
    EXPECT_EQ(dict.Lookup("alias"), Command);
    EXPECT_EQ(dict.Lookup("use"), Command);
    EXPECT_EQ(dict.Lookup("railgun"), Item);
    EXPECT_EQ(dict.KeyNames()[99], "kp_plus");
    EXPECT_EQ(dict.KeyNames()[100], "kp_enter");
    EXPECT_EQ(dict.KeyNames()[86], ""); // no keypad star in Quake II

    ASSERT_FALSE(BuildDictionary(dict, kShipped, "Q3"));
    EXPECT_TRUE(dict.usesVstr());
    EXPECT_EQ(dict.Lookup("alias"), 0);
    EXPECT_EQ(dict.Lookup("vstr"), Command);
    EXPECT_EQ(dict.Lookup("seta"), Command);
    EXPECT_EQ(dict.Lookup("set"), Command);
    EXPECT_EQ(dict.Lookup("cg_fov"), Cvar);
    EXPECT_EQ(dict.Lookup("weapon"), Command);
    EXPECT_EQ(dict.KeyNames()[86], "kp_star");
    const auto &items = dict.Items();
    auto hook = std::find_if(items.begin(), items.end(), [](const ItemEntry &i) { return i.text == "10 Grappling Hook"; });
    ASSERT_NE(hook, items.end());
    EXPECT_EQ(itemInsertText("Q3", *hook), "weapon 10");
}

TEST(ShippedData, FilesUseCrLfAndSamplesExist)
{
    for (const char *set : {"Q1", "Q2", "Q3"}) {
        for (const char *name : {"cmdlst.dat", "cvrlst.dat", "items.dat", "ItemList.dat", "keynames.dat", "sample.dat"}) {
            const std::string path = kShipped + "/" + set + name;
            const std::string text = readAll(path);
            ASSERT_FALSE(text.empty()) << path;
            EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << path;
            for (std::size_t i = 0; i < text.size(); ++i) {
                if (text[i] == '\n') {
                    ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << path << " offset " << i;
                }
            }
        }
    }
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
