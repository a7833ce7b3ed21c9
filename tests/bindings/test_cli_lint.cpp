// varkel-cli lint, run as a separate process.
#include "support/runcli.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace varkel::test;

namespace {

class CliLint : public CliScriptTest
{
};

} // namespace

TEST_F(CliLint, OneLinePerFindingInFileOrderAndExitOneOnAWarning)
{
    const std::string a = script("cfg/a.cfg", "bind x +attack\r\nbind x +atack\r\nexec nothere\r\nexec b\r\n");
    const std::string b = script("cfg/b.cfg", "alias loop \"echo; loop\"\nsay \"hi\n");
    const CliResult r = runCli({"lint", "--set", "q2", a, b});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, a + ":2:6: warning: \"x\" is bound again: line 1 bound it to \"+attack\" [duplicate-bind]\n" +
                         a + ":2:8: note: unknown command or variable \"+atack\" (did you mean +attack?) [unknown-name]\n" +
                         a + ":3:6: warning: no script \"nothere\" or \"nothere.cfg\" found [exec-missing]\n" +
                         b + ":1:7: warning: alias \"loop\" runs itself again (loop -> loop) with no wait and no "
                             "alias or set on the way: the game hangs [alias-loop]\n" +
                         b + ":2:5: warning: this quote is never closed: the rest of the line is one word "
                             "[unclosed-quote]\n");
}

TEST_F(CliLint, NotesAloneExitZeroAndOwnNamesSilenceThem)
{
    const std::string a = script("a.cfg", "modcvar 1\n+hook\n");
    CliResult r = runCli({"lint", "--set=Q2", a});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, a + ":1:1: note: unknown command or variable \"modcvar\" [unknown-name]\n" + a +
                         ":2:1: note: unknown command or variable \"+hook\" [unknown-name]\n");

    const std::string names = script("names.txt", "ModCvar\r\n+hook\r\n");
    r = runCli({"lint", "--set", "Q2", "--names", names, a});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");

    // A clean script prints nothing; standard input is read as "-".
    r = runCli({"lint", "--set", "Q2", "-"}, CliIo::withInput("bind mouse1 +attack\n"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(CliLint, AliasesOfEveryScriptGivenAreKnownInAll)
{
    const std::string aliases = script("aliases.cfg", "alias +zoom \"fov 30\"\n");
    const std::string binds = script("binds.cfg", "bind z +zoom\n-zoom\n");
    EXPECT_EQ(runCli({"lint", "--set", "Q2", binds}).out,
              binds + ":1:8: note: unknown command or variable \"+zoom\" [unknown-name]\n" + binds +
                  ":2:1: note: unknown command or variable \"-zoom\" [unknown-name]\n");
    const CliResult r = runCli({"lint", "--set", "Q2", binds, aliases});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

TEST_F(CliLint, TheSetIsDetectedByDefault)
{
    // Quake III words: seta and vstr are known, mouse5 is a key.
    const std::string q3 = script("q3.cfg", "seta cg_fov 110\nseta cg_drawfps 1\nset z1 \"cg_fov 90; set zz vstr z2\"\n"
                                            "set z2 \"cg_fov 110; set zz vstr z1\"\nbind mouse5 vstr zz\n");
    CliResult r = runCli({"lint", q3});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "");
    r = runCli({"lint", "--set", "Q1", q3});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("unknown key \"mouse5\""), std::string::npos);
}

TEST_F(CliLint, BadArgumentsAndFiles)
{
    const std::string ok = script("ok.cfg", "bind f +use\n");
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {}, {"--set", "Q4", ok}, {"--set"}, {"--names"}, {"--data", "", ok}, {"--bogus", ok}, {"-", "-"}}) {
        std::vector<std::string> all{"lint"};
        all.insert(all.end(), args.begin(), args.end());
        const CliResult r = runCli(all);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
    CliResult r = runCli({"lint", dir.file("missing.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.cfg"), std::string::npos);
    r = runCli({"lint", "--names", dir.file("nonames.txt"), ok});
    EXPECT_EQ(r.status, 1);
    r = runCli({"lint", "--data", dir.path(), ok});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("game data"), std::string::npos);

    for (const std::vector<std::string> &help : std::vector<std::vector<std::string>>{{"lint", "--help"}, {"help", "lint"}}) {
        r = runCli(help);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.rfind("Usage: varkel-cli lint", 0), 0u);
        EXPECT_NE(r.out.find("unknown-name"), std::string::npos);
    }
    EXPECT_NE(runCli({"--help"}).out.find("  lint "), std::string::npos);
}

// A name quoted from a script comes out as UTF-8, read in that script's
// encoding (or the one given); the path stays as given.
TEST_F(CliLint, QuotedTextIsUtf8InEachScriptsEncoding)
{
    const std::string latin = script("latin.cfg", "caf\xE9 1\n");
    const std::string utf8 = script("utf8.cfg", "caf\xC3\xA9 1\n");
    const std::string note = ":1:1: note: unknown command or variable \"caf\xC3\xA9\" [unknown-name]\n";
    CliResult r = runCli({"lint", "--set=Q2", latin, utf8});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, latin + note + utf8 + note);
    r = runCli({"lint", "--set=Q2", "--encoding", "latin1", utf8});
    EXPECT_EQ(r.out, utf8 + ":1:1: note: unknown command or variable \"caf\xC3\x83\xC2\xA9\" [unknown-name]\n");
    r = runCli({"lint", "--set=Q2", "--encoding=utf8", latin});
    EXPECT_EQ(r.out, latin + note);
    EXPECT_EQ(runCli({"lint", "--encoding", "koi8", latin}).status, 2);
}
