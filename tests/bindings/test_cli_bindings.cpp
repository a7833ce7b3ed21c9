// varkel-cli bindings, run as a separate process.
#include "bindingfixture.h"
#include "support/runcli.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;
using namespace varkel::test;

namespace {

// Checks the shape of a tsv listing: slot lines in rising slot order with
// five fields and a state, the keys off the panel (number "-") after them,
// then var lines with three fields, then list lines with two.
void checkListing(const std::string &out, const std::string &what)
{
    std::istringstream in(out);
    std::string line;
    int section = 0, lastSlot = -1;
    while (std::getline(in, line)) {
        const auto tabs = std::count(line.begin(), line.end(), '\t');
        const std::string kind = line.substr(0, line.find('\t'));
        const int order = kind == "slot" ? 0 : kind == "var" ? 1 : kind == "list" ? 2 : -1;
        ASSERT_GE(order, section) << what << ": " << line;
        section = order;
        if (kind == "slot") {
            const int slot = line.compare(5, 2, "-\t") == 0 ? 110 : std::stoi(line.substr(5));
            ASSERT_TRUE(tabs >= 4 && (slot > lastSlot || slot == 110) && slot <= 110 && lastSlot <= slot)
                << what << ": " << line;
            lastSlot = slot;
            ASSERT_TRUE(line.find("\tOn\t") != std::string::npos || line.find("\tCON\t") != std::string::npos)
                << what << ": " << line;
        } else {
            ASSERT_GE(tabs, kind == "var" ? 2 : 1) << what << ": " << line;
        }
    }
}

class CliBindings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (cliPath().empty())
            GTEST_SKIP() << "VARKEL_CLI is not set";
    }
    std::string script(const std::string &name, const std::string &text)
    {
        writeAll(dir.file(name), text);
        return dir.file(name);
    }
    CliResult bindings(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"bindings", "--data", testData().dir()});
        return runCli(args);
    }
    TempDir dir;
};

} // namespace

TEST_F(CliBindings, PrintsSlotsVariablesAndList)
{
    const std::string a = script("a.cfg", "bind f +use\r\nbind x \"+attack\"\r\nalias zoom \"fov 30\"\r\n");
    const std::string b = script("b.cfg", "bind f +attack\nbind = +back\nbind + +back\n"
                                          "alias zoom \"fov 30\"\nalias zoom x\nalias b 2\n");
    const std::string varsOfB = "var\tzoom\tfov 30\nvar\tb\t2\nlist\tzoom\nlist\tzoom\nlist\tb\n";
    CliResult r = bindings({b});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t25\t+\tOn\t+back\nslot\t44\tf\tOn\t+attack\n" + varsOfB);

    r = bindings({"--conflicts", "all", a, b});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t25\t+\tOn\t+back\nslot\t44\tf\tCON\t+attack\nslot\t55\tx\tOn\t\n" + varsOfB);

    // With none or active only the last file is read.
    r = bindings({"--conflicts=none", b, a});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t44\tf\tOn\t+use\nslot\t55\tx\tOn\t+attack\nvar\tzoom\tfov 30\nlist\tzoom\n");

    r = bindings({"--set", "Q3", "--format", "table", b});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("+attack"), std::string::npos);
    EXPECT_NE(r.out.find("Vstr list (0)"), std::string::npos);
}

TEST_F(CliBindings, LinesNameTheBindLineOfEachSlot)
{
    // The line that gave the text: the first while conflicts are marked, the
    // last without; lines counted as the editor counts them.
    const std::string a = script("a.cfg", "bind f +use\r\nbind h +left\r\n");
    const std::string b = script("b.cfg", "// keys\r\nbind g     \"+use\"\r\n\rbind\tf\t+attack\r\nbind f +jump\n");
    CliResult r = bindings({"--lines", b});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t44\tf\tCON\t" + b + ":4\t+attack\nslot\t45\tg\tOn\t" + b + ":2\t+use\n");
    r = bindings({"--conflicts=none", b, "--lines"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t44\tf\tOn\t" + b + ":5\t+jump\nslot\t45\tg\tOn\t" + b + ":2\t+use\n");
    // Across all scripts a key bound only in another one has no line.
    r = bindings({"--conflicts", "all", "--lines", a, b});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t44\tf\tCON\t" + b + ":5\t+jump\nslot\t45\tg\tOn\t" + b + ":2\t+use\n"
                     "slot\t46\th\tOn\t\t\n");
    r = bindings({"--lines", "--format", "table", b});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("State  Line"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(b + ":4  \"+attack\""), std::string::npos) << r.out;
    r = bindings({"--help"});
    EXPECT_NE(r.out.find("--lines"), std::string::npos);
}

TEST_F(CliBindings, KeysOffThePanelComeLastWithoutANumber)
{
    const std::string a = script("a.cfg", "bind mouse5 +attack\n");
    const std::string b = script("b.cfg", "bind MOUSE5 a\nbind f +use\nbind mouse4 \"+zoom\"\nbind capslock x\n"
                                          "bind capslock y\nbind mouse9 z\n");
    CliResult r = bindings({"--set", "Q3", b});
    ASSERT_EQ(r.status, 0) << r.err;
    // In the order of the game's key list, not of the script.
    EXPECT_EQ(r.out, "slot\t44\tf\tOn\t+use\nslot\t-\tcapslock\tCON\tx\nslot\t-\tmouse4\tOn\t+zoom\n"
                     "slot\t-\tmouse5\tOn\ta\n");
    // Across all scripts the text is the active script's last, as for a slot.
    r = bindings({"--set", "Q3", "--conflicts", "all", "--lines", a, b});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t44\tf\tOn\t" + b + ":2\t+use\nslot\t-\tcapslock\tCON\t" + b + ":5\ty\n"
                     "slot\t-\tmouse4\tOn\t" + b + ":3\t+zoom\nslot\t-\tmouse5\tCON\t" + b + ":1\ta\n");
    r = bindings({"--set", "Q3", "--format", "table", b});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Bindings (4)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("     -  mouse4    On     \"+zoom\""), std::string::npos) << r.out;
    // Quake knows none of these keys.
    r = bindings({"--set", "Q1", b});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t44\tf\tOn\t+use\n");
}

TEST_F(CliBindings, SetAutoReadsTheActiveScriptsGame)
{
    const std::string q3 = script("q3.cfg", "seta cg_fov 110\nbind f \"vstr zoom\"\nset zoom \"vstr unzoom\"\n"
                                            "bind mouse4 +zoom\n");
    const std::string q1 = script("q1.cfg", "alias rl \"impulse 7\"\nbind aux2 rl\nbind mouse4 rl\n");
    CliResult r = bindings({"--set", "auto", q3});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t44\tf\tOn\tvstr zoom\nslot\t-\tmouse4\tOn\t+zoom\nvar\tzoom\tvstr unzoom\n"
                     "list\tzoom\n");
    r = bindings({"--set=auto", q3, q1});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t-\taux2\tOn\trl\nvar\trl\timpulse 7\nlist\trl\n");
    // Weak evidence: the default set, Q2.
    const std::string plain = script("plain.cfg", "bind f +use\nalias a b\n");
    r = bindings({"--set", "auto", plain});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t44\tf\tOn\t+use\nvar\ta\tb\nlist\ta\n");
    EXPECT_NE(bindings({"--help"}).out.find("--set Q1|Q2|Q3|auto"), std::string::npos);
}

TEST_F(CliBindings, BadArgumentsAndFilesFailWithAMessage)
{
    const std::string ok = script("ok.cfg", "bind f +use\n"), missing = dir.file("missing.cfg");
    const std::vector<std::vector<std::string>> bad{
        {}, {"--set", "Q4", ok}, {"--set"}, {"--conflicts", "some", ok}, {"--format", "xml", ok},
        {"--bogus", ok}, {missing}, {dir.path()}, {ok, missing},
    };
    for (const auto &args : bad) {
        const CliResult r = bindings(args);
        EXPECT_TRUE(r.status != 0 && !r.err.empty() && r.out.empty()) << ::testing::PrintToString(args);
    }
    const CliResult r = runCli({"bindings", "--data", dir.file("nodata"), ok});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("data"), std::string::npos) << r.err;
}

// Every corpus script, with the shipped data when the build has it, in every
// conflict mode; and each game's scripts together in mode all.
TEST_F(CliBindings, EveryCorpusFileWithoutACrash)
{
    const fs::path corpus = fs::path(VARKEL_SHARED_DIR) / "corpus";
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "no corpus at " << corpus;
    const fs::path shipped = fs::path(VARKEL_BINARY_DIR) / "Data";
    int files = 0;
    for (const char *folder : {"q1", "q2", "q3"}) {
        const std::string set = std::string("Q") + folder[1];
        std::vector<std::string> scripts;
        for (const auto &entry : fs::directory_iterator(corpus / folder))
            if (entry.is_regular_file())
                scripts.push_back(entry.path().string());
        std::sort(scripts.begin(), scripts.end());
        const std::string dataDir = fs::exists(shipped / (set + "keynames.dat")) ? shipped.string() : testData().dir();
        for (const std::string &file : scripts) {
            for (const char *mode : {"none", "active", "all"}) {
                const CliResult r = runCli({"bindings", "--set", set, "--data", dataDir, "--conflicts", mode, file});
                ASSERT_EQ(r.status, 0) << file << " " << mode << ": " << r.err;
                checkListing(r.out, file);
            }
            ++files;
        }
        std::vector<std::string> all{"bindings", "--set", set, "--data", dataDir, "--conflicts", "all"};
        all.insert(all.end(), scripts.begin(), scripts.end());
        const CliResult r = runCli(all);
        ASSERT_EQ(r.status, 0) << folder << ": " << r.err;
        checkListing(r.out, folder);
        EXPECT_NE(r.out.find("slot\t"), std::string::npos) << folder;
    }
    EXPECT_GT(files, 50);
}

// The texts come out as UTF-8, read in the active script's encoding, guessed
// or given.
TEST_F(CliBindings, TextsAreUtf8InTheActiveScriptsEncoding)
{
    const std::string latin = script("latin.cfg", "bind x \"say caf\xE9\"\r\n");
    const std::string utf8 = script("utf8.cfg", "bind x \"say caf\xC3\xA9 \xE2\x82\xAC\"\r\n");
    CliResult r = bindings({latin});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("say caf\xC3\xA9\n"), std::string::npos) << r.out;
    r = bindings({"--format", "table", utf8});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("say caf\xC3\xA9 \xE2\x82\xAC"), std::string::npos) << r.out;
    r = bindings({"--encoding", "latin1", utf8});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("say caf\xC3\x83\xC2\xA9 \xC3\xA2\xC2\x82\xC2\xAC\n"), std::string::npos) << r.out;
    r = bindings({"--encoding=utf8", latin}); // an ill-formed byte still reads as Latin-1
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("say caf\xC3\xA9\n"), std::string::npos) << r.out;
    EXPECT_EQ(bindings({"--encoding", "ebcdic", latin}).status, 2);
}
