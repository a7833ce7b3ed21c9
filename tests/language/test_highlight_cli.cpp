// varkel-cli highlight and comment-block, run as a separate program.
#include "language/dictionary.h"
#include "language/syntaxhilite.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace varkel;

namespace {

struct CommandResult {
    int exitCode = -1;
    std::string out;
};

std::string shellQuoted(const std::string &s)
{
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

// Runs a command line through the shell; stderr is discarded unless the
// command line redirects it.
CommandResult run(const std::string &commandLine)
{
    CommandResult r;
    FILE *p = popen(commandLine.c_str(), "r");
    if (!p)
        return r;
    char buffer[65536];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0)
        r.out.append(buffer, n);
    const int status = pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string readAll(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char *cli = std::getenv("VARKEL_CLI");
        if (!cli || !fs::exists(cli))
            GTEST_SKIP() << "VARKEL_CLI is not set (run under ctest)";
        m_cli = shellQuoted(cli);
        m_dir = fs::temp_directory_path() / ("varkel-cli-test-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        // A small vocabulary for every set, so that the tests need no shipped data.
        for (const char *set : {"Q1", "Q2", "Q3"}) {
            const std::string s = set;
            write(s + "cmdlst.dat", "bind\r\nalias\r\nexec\r\n+attack\r\nwait\r\nseta\r\nvstr\r\necho\r\n");
            write(s + "items.dat", "rocket\r\nrailgun\r\n");
            write(s + "ItemList.dat", "1 Axe\r\n");
            write(s + "keynames.dat", "tab\r\nenter\r\nspace\r\nmouse1\r\nmouse2\r\nmwheelup\r\n1\r\n2\r\nvoid\r\n");
            write(s + "cvrlst.dat", "sensitivity\r\nname\r\ncg_fov\r\nfov\r\n");
        }
    }
    void TearDown() override
    {
        if (!m_dir.empty())
            fs::remove_all(m_dir);
    }
    void write(const std::string &name, const std::string &content)
    {
        std::ofstream(m_dir / name, std::ios::binary) << content;
    }
    std::string dataOption() const { return " --data " + shellQuoted(m_dir.string()); }

    std::string m_cli;
    fs::path m_dir;
};

} // namespace

TEST_F(CliTest, HighlightPrintsTheClassOfEveryByte)
{
    write("a.cfg", "bind mouse1 \"+attack;wait\" // fire\r\nseta name 1.5");
    const std::string file = shellQuoted((m_dir / "a.cfg").string());
    CommandResult r = run(m_cli + " highlight --format classes" + dataOption() + " " + file);
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "222205555550888888888888880" + std::string(9, '6') + "2222033330707\n");

    r = run(m_cli + " highlight --set Q3 --color-strings --format classes" + dataOption() + " " + file);
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "222205555550122222220222210" + std::string(9, '6') + "2222033330707\n");
}

TEST_F(CliTest, HighlightAnsiUsesTheDefaultColours)
{
    write("b.cfg", "bind x\r\n\x1b[2J");
    const CommandResult r = run(m_cli + " highlight --format ansi" + dataOption() + " " +
                                shellQuoted((m_dir / "b.cfg").string()));
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("\x1b[38;2;0;0;255mbind"), std::string::npos); // commands in blue
    EXPECT_NE(r.out.find("\x1b[48;2;255;255;255m"), std::string::npos); // white background
    EXPECT_NE(r.out.find("^[[2J"), std::string::npos);                  // no raw escape from the script
    EXPECT_EQ(r.out.find("\x1b[2J"), std::string::npos);
}

TEST_F(CliTest, HighlightFailuresAreReported)
{
    write("c.cfg", "bind\r\n");
    const std::string file = shellQuoted((m_dir / "c.cfg").string());
    struct Case {
        std::string args;
        const char *message;
    } cases[] = {
        {" highlight --data " + shellQuoted((m_dir / "none").string()) + " " + file, "data folder not found"},
        {" highlight" + dataOption() + " " + shellQuoted((m_dir / "missing.cfg").string()), "cannot read"},
        {" highlight" + dataOption() + " " + shellQuoted(m_dir.string()), "cannot read"},
        {" highlight --set Q4" + dataOption() + " " + file, "unknown command set"},
        {" highlight --format html" + dataOption() + " " + file, "unknown format"},
        {" highlight" + dataOption(), "needs a FILE"},
        {" highlight --set", "needs a value"},
        {" highlight --bogus " + file, "unknown option"},
    };
    for (const Case &c : cases) {
        const CommandResult r = run(m_cli + c.args + " 2>&1 >/dev/null");
        EXPECT_NE(r.exitCode, 0) << c.args;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << " -> " << r.out;
    }
    // A data folder with a broken file: the build failure is reported.
    write("Q2cmdlst.dat", "bind\r\nbind\r\n");
    const CommandResult r = run(m_cli + " highlight" + dataOption() + " " + file + " 2>&1 >/dev/null");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.out.find("dictionary"), std::string::npos) << r.out;
}

TEST_F(CliTest, CommentBlock)
{
    CommandResult r = run(m_cli + " comment-block 'Keys'");
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "//**************\n//*    KEYS    *\n//**************\n");
    r = run(m_cli + " comment-block --char = --size 20 --fixed --left --keep-case --crlf abcde");
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "//" + std::string(20, '=') + "\r\n//= abcde" + std::string(12, ' ') + "=\r\n//" +
                         std::string(20, '=') + "\r\n");
    for (const char *bad : {" comment-block", " comment-block --size -1 x", " comment-block --size 2x x",
                            " comment-block --char '' x", " comment-block a b"}) {
        r = run(m_cli + bad + " 2>/dev/null");
        EXPECT_EQ(r.exitCode, 2) << bad;
    }
}

// Every corpus script goes through the command-line colouring without a
// failure, one class character per byte; with the stub vocabulary the result
// is also compared with the colouring done in this process.
TEST_F(CliTest, HighlightEveryCorpusScript)
{
    const fs::path corpus = fs::path(VARKEL_SHARED_DIR) / "corpus";
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "no corpus at " << corpus;
    GameDictionary dictionary;
    ASSERT_FALSE(BuildDictionary(dictionary, m_dir.string(), "Q2"));

    // The shipped data, when it is there beside the program.
    const char *cli = std::getenv("VARKEL_CLI");
    const fs::path shipped = fs::path(cli).parent_path() / "Data";
    const bool haveShipped = fs::exists(shipped / "Q1cmdlst.dat") && fs::exists(shipped / "Q2cmdlst.dat") &&
                             fs::exists(shipped / "Q3cmdlst.dat");

    int files = 0;
    for (const char *game : {"q1", "q2", "q3"}) {
        if (!fs::is_directory(corpus / game))
            continue;
        const std::string set = std::string("Q") + game[1];
        for (const auto &entry : fs::directory_iterator(corpus / game)) {
            if (!entry.is_regular_file())
                continue;
            ++files;
            const std::string path = entry.path().string();
            const std::string text = readAll(entry.path());
            const std::string expected = hiLiteClasses(text, dictionary, false) + "\n";

            CommandResult r = run(m_cli + " highlight --format classes" + dataOption() + " " + shellQuoted(path));
            EXPECT_EQ(r.exitCode, 0) << path;
            EXPECT_EQ(r.out.size(), text.size() + 1) << path;
            EXPECT_TRUE(r.out == expected) << path;

            if (haveShipped) {
                r = run(m_cli + " highlight --format classes --set " + set + " " + shellQuoted(path));
                EXPECT_EQ(r.exitCode, 0) << path;
                EXPECT_EQ(r.out.size(), text.size() + 1) << path;
                r = run(m_cli + " highlight --format classes --color-strings --set " + set + " " + shellQuoted(path));
                EXPECT_EQ(r.exitCode, 0) << path;
                EXPECT_EQ(r.out.size(), text.size() + 1) << path;
            }
        }
    }
    EXPECT_GT(files, 0);
}
