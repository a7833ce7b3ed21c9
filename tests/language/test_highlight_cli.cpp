// varkel-cli highlight and comment-block, run as a separate program.
#include "language/dictionary.h"
#include "language/syntaxhilite.h"
#include "support/runcli.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace varkel;
using namespace varkel::test;

namespace {

class CliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (cliPath().empty())
            GTEST_SKIP() << "VARKEL_CLI is not set (run under ctest)";
        // A small vocabulary for every set, so that the tests need no shipped data.
        for (const std::string s : {"Q1", "Q2", "Q3"}) {
            writeAll(dir.file(s + "cmdlst.dat"), "bind\r\nalias\r\nexec\r\n+attack\r\nwait\r\nseta\r\nvstr\r\necho\r\n");
            writeAll(dir.file(s + "items.dat"), "rocket\r\nrailgun\r\n");
            writeAll(dir.file(s + "ItemList.dat"), "1 Axe\r\n");
            writeAll(dir.file(s + "keynames.dat"), "tab\r\nenter\r\nspace\r\nmouse1\r\nmouse2\r\nmwheelup\r\n1\r\n2\r\nvoid\r\n");
            writeAll(dir.file(s + "cvrlst.dat"), "sensitivity\r\nname\r\ncg_fov\r\nfov\r\n");
        }
    }
    // highlight with the stub vocabulary.
    CliResult highlight(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"highlight", "--data", dir.path()});
        return runCli(args);
    }
    TempDir dir;
};

} // namespace

TEST_F(CliTest, HighlightPrintsTheClassOfEveryByte)
{
    writeAll(dir.file("a.cfg"), "bind mouse1 \"+attack;wait\" // fire\r\nseta name 1.5");
    CliResult r = highlight({"--format", "classes", dir.file("a.cfg")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "222205555550888888888888880" + std::string(9, '6') + "2222033330707\n");
    r = highlight({"--set", "Q3", "--color-strings", "--format", "classes", dir.file("a.cfg")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "222205555550122222220222210" + std::string(9, '6') + "2222033330707\n");

    // ANSI output: the default colours on the terminal's own background and
    // in its own text colour for plain text, and no raw escape from the script.
    writeAll(dir.file("b.cfg"), "bind x\r\n\x1b[2J");
    const EnvOverride noColor("NO_COLOR", nullptr), term("TERM", "xterm");
    r = highlight({"--format", "ansi", dir.file("b.cfg")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\x1b[38;2;0;0;255mbind"), std::string::npos); // commands in blue
    EXPECT_EQ(r.out.find("\x1b[48;"), std::string::npos) << r.out;     // no background
    EXPECT_EQ(r.out.find("\x1b[38;2;0;0;0m"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("^[[2J"), std::string::npos);
    EXPECT_EQ(r.out.find("\x1b[2J"), std::string::npos);

    // NO_COLOR or a dumb terminal: the same text without a single escape.
    for (const auto &[name, value] : {std::pair{"NO_COLOR", "1"}, std::pair{"TERM", "dumb"}}) {
        const EnvOverride plain(name, value);
        r = highlight({"--format", "ansi", dir.file("b.cfg")});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "bind x\n^[[2J\n") << name;
    }
}

// The ANSI text is UTF-8 for the terminal: a Latin-1 script's bytes are
// converted, a UTF-8 script's characters pass as they are, and --encoding
// overrides the guess either way.
TEST_F(CliTest, HighlightShowsEitherEncodingAsUtf8)
{
    const EnvOverride noColor("NO_COLOR", "1");
    writeAll(dir.file("latin.cfg"), "echo caf\xE9\r\n");
    writeAll(dir.file("utf8.cfg"), "echo caf\xC3\xA9 \xE2\x82\xAC\xC2\x9B\r\n");
    writeAll(dir.file("bom.cfg"), "\xEF\xBB\xBF" "echo \xE9");
    CliResult r = highlight({"--format", "ansi", dir.file("latin.cfg")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "echo caf\xC3\xA9\n");
    // A C1 control stays harmless in UTF-8 too.
    r = highlight({"--format", "ansi", dir.file("utf8.cfg")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "echo caf\xC3\xA9 \xE2\x82\xAC" "M-^[\n");
    r = highlight({"--format", "ansi", "--encoding", "latin1", dir.file("utf8.cfg")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "echo caf\xC3\x83\xC2\xA9 \xC3\xA2M-^B\xC2\xAC\xC3\x82M-^[\n");
    r = highlight({"--format", "ansi", "--encoding=UTF8", dir.file("latin.cfg")});
    ASSERT_EQ(r.status, 2) << "the option takes its value after a space, as the others";
    r = highlight({"--format", "ansi", "--encoding", "UTF8", dir.file("latin.cfg")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "echo caf\xC3\xA9\n"); // an ill-formed byte reads as Latin-1
    r = highlight({"--format", "ansi", "--encoding", "auto", dir.file("bom.cfg")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "\xEF\xBB\xBF" "echo \xC3\xA9\n");
    // A character across the border of the pieces the output is made in
    // comes out once and whole.
    const std::string longLine = std::string((1 << 16) - 1, 'a') + "\xC3\xA9" + std::string(9, 'b');
    writeAll(dir.file("long.cfg"), longLine);
    r = highlight({"--format", "ansi", dir.file("long.cfg")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out == longLine + "\n") << r.out.size();
    // The classes are one per byte whatever the encoding.
    r = highlight({"--format", "classes", "--encoding", "utf8", dir.file("utf8.cfg")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.size(), std::string("echo caf\xC3\xA9 \xE2\x82\xAC\xC2\x9B\r\n").size() + 1);
    r = highlight({"--encoding", "utf16", dir.file("utf8.cfg")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown encoding 'utf16'"), std::string::npos) << r.err;
}

// What every command shares: its own help, standard input for "-", set names
// in any case, and a failure when the output cannot be written.
TEST_F(CliTest, EveryCommandSharesTheCommonHandling)
{
    writeAll(dir.file("a.cfg"), "bind mouse1 \"+attack\"\r\nalias x \"echo hi\"\r\n");
    const std::string file = dir.file("a.cfg"), data = dir.path();
    const std::vector<std::vector<std::string>> commands{
        {"highlight", "--data", data, "--format", "classes", "--set", "Q3"},
        {"bindings", "--data", data, "--set", "Q3"},
        {"comment-block"},
    };
    for (const std::vector<std::string> &base : commands) {
        const std::string &name = base.front();
        for (const std::vector<std::string> &help : {std::vector<std::string>{name, "--help"},
                                                       {name, "-h"}, {"help", name}}) {
            const CliResult r = runCli(help);
            EXPECT_EQ(r.status, 0) << ::testing::PrintToString(help) << r.err;
            EXPECT_EQ(r.out.rfind("Usage: varkel-cli " + name + " ", 0), 0u) << r.out;
            EXPECT_TRUE(r.err.empty()) << r.err;
        }
        std::vector<std::string> run = base;
        run.push_back(name == "comment-block" ? "Keys" : file);
        const CliResult good = runCli(run);
        ASSERT_EQ(good.status, 0) << good.err;
        ASSERT_FALSE(good.out.empty());

        // A full disk fails with a message, for the help text as well.
        for (const std::vector<std::string> &args : {run, std::vector<std::string>{name, "--help"}}) {
            const CliResult full = runCli(args, CliIo::writingTo("/dev/full"));
            EXPECT_EQ(full.status, 1) << ::testing::PrintToString(args);
            EXPECT_NE(full.err.find("cannot write the output"), std::string::npos) << full.err;
        }
        if (name == "comment-block")
            continue;

        // "-" reads the script from standard input; "q3" is Q3.
        run.back() = "-";
        EXPECT_EQ(runCli(run, CliIo::withInput(readAll(file))).out, good.out) << name;
        run.back() = file;
        *std::find(run.begin(), run.end(), "Q3") = "q3";
        EXPECT_EQ(runCli(run).out, good.out) << name;
    }
    const CliResult twice = runCli({"bindings", "--data", data, "-", "-"}, CliIo::withInput(""));
    EXPECT_EQ(twice.status, 2);
    EXPECT_NE(runCli({"--version"}, CliIo::writingTo("/dev/full")).status, 0);
    EXPECT_NE(runCli({"--help"}, CliIo::writingTo("/dev/full")).status, 0);
}

TEST_F(CliTest, HighlightFailuresAreReported)
{
    writeAll(dir.file("c.cfg"), "bind\r\n");
    const std::string file = dir.file("c.cfg"), data = dir.path();
    const std::pair<std::vector<std::string>, const char *> cases[] = {
        {{"highlight", "--data", dir.file("none"), file}, "data folder not found"},
        {{"highlight", "--data", data, dir.file("missing.cfg")}, "cannot read"},
        {{"highlight", "--data", data, data}, "cannot read"},
        {{"highlight", "--set", "Q4", "--data", data, file}, "unknown command set"},
        {{"highlight", "--format", "html", "--data", data, file}, "unknown format"},
        {{"highlight", "--data", data}, "needs a FILE"},
        {{"highlight", "--set"}, "needs a value"},
        {{"highlight", "--bogus", file}, "unknown option"},
    };
    for (const auto &[args, message] : cases) {
        const CliResult r = runCli(args);
        EXPECT_NE(r.status, 0) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find(message), std::string::npos) << ::testing::PrintToString(args) << " -> " << r.err;
    }
    // A data folder with a broken file: the build failure is reported.
    writeAll(dir.file("Q2cmdlst.dat"), "bind\r\nbind\r\n");
    const CliResult r = highlight({file});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("dictionary"), std::string::npos) << r.err;
}

TEST_F(CliTest, CommentBlock)
{
    CliResult r = runCli({"comment-block", "Keys"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "//**************\n//*    KEYS    *\n//**************\n");
    r = runCli({"comment-block", "--char", "=", "--size", "20", "--fixed", "--left", "--keep-case", "--crlf", "abcde"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "//" + std::string(20, '=') + "\r\n//= abcde" + std::string(12, ' ') + "=\r\n//" +
                         std::string(20, '=') + "\r\n");
    for (const std::vector<std::string> &bad : std::vector<std::vector<std::string>>{
             {}, {"--size", "-1", "x"}, {"--size", "2x", "x"}, {"--char", "", "x"}, {"a", "b"}}) {
        std::vector<std::string> args{"comment-block"};
        args.insert(args.end(), bad.begin(), bad.end());
        EXPECT_EQ(runCli(args).status, 2) << ::testing::PrintToString(bad);
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
    ASSERT_FALSE(BuildDictionary(dictionary, dir.path(), "Q2"));
    // The shipped data, when it is there beside the program.
    const bool haveShipped = fs::exists(fs::path(cliPath()).parent_path() / "Data" / "Q3cmdlst.dat");

    int files = 0;
    for (const char *game : {"q1", "q2", "q3"}) {
        const std::string set = std::string("Q") + game[1];
        for (const auto &entry : fs::directory_iterator(corpus / game)) {
            if (!entry.is_regular_file())
                continue;
            ++files;
            const std::string path = entry.path().string();
            const std::string text = readAll(path);
            CliResult r = highlight({"--format", "classes", path});
            EXPECT_EQ(r.status, 0) << path;
            EXPECT_TRUE(r.out == hiLiteClasses(text, dictionary, false) + "\n") << path;
            if (!haveShipped)
                continue;
            for (bool strings : {false, true}) {
                std::vector<std::string> args{"highlight", "--format", "classes", "--set", set, path};
                if (strings)
                    args.push_back("--color-strings");
                r = runCli(args);
                EXPECT_EQ(r.status, 0) << path;
                EXPECT_EQ(r.out.size(), text.size() + 1) << path;
            }
        }
    }
    EXPECT_GT(files, 0);
}
