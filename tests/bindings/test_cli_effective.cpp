// varkel-cli bindings --effective, run as a separate process.
#include "support/runcli.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace varkel::test;

namespace {

class CliEffective : public CliScriptTest
{
};

} // namespace

TEST_F(CliEffective, PrintsBindingsByKeyThenNotesInTheOrderMet)
{
    const std::string start = script("cfg/autoexec.cfg", "unbindall\r\nbind Z \"+attack\"; exec binds\r\n"
                                                         "exec nothere\r\nexec autoexec.cfg\r\nBIND b say  hi\r\n");
    script("cfg/binds.cfg", "bind a jump\nbind z +use\nexec sub/more\n");
    script("cfg/sub/more.cfg", "bind mouse1 \"+attack; wait\"\nexec binds\n");
    const CliResult r = runCli({"bindings", "--effective", start});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string folder = dir.file("cfg");
    EXPECT_EQ(r.out, "bind\ta\t" + folder + "/binds.cfg:1\tjump\n"
                     "bind\tb\t" + start + ":5\tsay hi\n"
                     "bind\tmouse1\t" + folder + "/sub/more.cfg:1\t+attack; wait\n"
                     "bind\tz\t" + folder + "/binds.cfg:2\t+use\n"
                     "note\t" + folder + "/sub/more.cfg:2\tcycle\tbinds\n"
                     "note\t" + start + ":3\tmissing\tnothere\n"
                     "note\t" + start + ":4\tcycle\tautoexec.cfg\n");
}

TEST_F(CliEffective, PathsAreWrittenAsTheStartingFileIsGiven)
{
    script("q2/auto.cfg", "exec x/keys\n");
    script("q2/x/keys.cfg", "bind k 1\n");
    const std::string command = "cd " + shellQuoted(dir.path()) + " && " + shellQuoted(cliPath()) +
                                " bindings --effective q2/auto.cfg && cd q2 && " + shellQuoted(cliPath()) +
                                " bindings --effective auto.cfg";
    FILE *pipe = ::popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_EQ(out, "bind\tk\tq2/x/keys.cfg:1\t1\nbind\tk\tx/keys.cfg:1\t1\n");
}

TEST_F(CliEffective, BadArgumentsAndFiles)
{
    const std::string ok = script("ok.cfg", "bind f +use\n");
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {"--effective"}, {"--effective", ok, ok}, {"--effective", "--lines", ok},
             {"--effective", "--format", "table", ok}, {"--effective", "--conflicts", "all", ok}}) {
        std::vector<std::string> all{"bindings"};
        all.insert(all.end(), args.begin(), args.end());
        const CliResult r = runCli(all);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
    for (const std::string &path : {dir.file("missing.cfg"), dir.path()}) {
        const CliResult r = runCli({"bindings", "--effective", path});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("cannot read"), std::string::npos) << r.err;
    }
    // --format tsv is what --effective prints anyway; --set and --data are not needed.
    const CliResult r = runCli({"bindings", "--format", "tsv", "--set", "Q3", "--effective", ok});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "bind\tf\t" + ok + ":1\t+use\n");
    EXPECT_NE(runCli({"bindings", "--help"}).out.find("--effective"), std::string::npos);
    EXPECT_NE(runCli({"--help"}).out.find("--effective"), std::string::npos);
}
