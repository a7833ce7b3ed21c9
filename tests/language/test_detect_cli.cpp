// varkel-cli detect, and highlight --set auto, run as a separate program.
#include "support/runcli.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace varkel::test;

namespace {

class CliDetect : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (cliPath().empty())
            GTEST_SKIP() << "VARKEL_CLI is not set (run under ctest)";
        // Each set knows bind and echo; alias and impulse belong to Q1 and
        // Q2, set, seta and vstr to Q3, hand to Q2; mouse4 is a Q3 key.
        for (const std::string s : {"Q1", "Q2", "Q3"}) {
            std::string commands = "bind\r\necho\r\n+attack\r\n";
            commands += s == "Q3" ? "set\r\nseta\r\nvstr\r\n" : "alias\r\nimpulse\r\n";
            writeAll(data.file(s + "cmdlst.dat"), commands);
            writeAll(data.file(s + "items.dat"), "");
            writeAll(data.file(s + "ItemList.dat"), "1 Axe\r\n");
            writeAll(data.file(s + "keynames.dat"), "mouse1\r\nf\r\n");
            writeAll(data.file(s + "extrakeys.dat"), s == "Q3" ? "mouse4\r\n" : "");
            writeAll(data.file(s + "cvrlst.dat"), s == "Q2" ? "hand\r\nfreelook\r\n" : "fov\r\n");
        }
    }
    std::string script(const std::string &name, const std::string &text)
    {
        writeAll(dir.file(name), text);
        return dir.file(name);
    }
    CliResult detect(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"detect", "--data", data.path()});
        return runCli(args);
    }
    TempDir data, dir;
};

} // namespace

TEST_F(CliDetect, OneLinePerScript)
{
    const std::string q1 = script("q1.cfg", "alias rl \"impulse 7\"\r\nbind f rl\r\n");
    const std::string q2 = script("q2.cfg", "hand 2\nfreelook 1\n");
    const std::string q3 = script("q3 with space.cfg", "seta a 1\nbind f \"vstr a\"\n");
    const std::string none = script("none.cfg", "");
    const CliResult r = detect({q1, q2, q3, none});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, q1 + "\tQ1\tQ1 14, Q2 6, Q3 0; impulse x1: +8 Q1; alias x1: +6 Q1 Q2\n" +
                     q2 + "\tQ2\tQ1 0, Q2 8, Q3 0; words only Q2 knows x2 (hand freelook): +8 Q2\n" +
                     q3 + "\tQ3\tQ1 0, Q2 0, Q3 12; vstr x1: +8 Q3; seta x1: +4 Q3\n" +
                     none + "\tQ2\tQ1 0, Q2 0, Q3 0; weak evidence, default set\n");

    // Weak evidence gives the default set.
    CliResult d = detect({"--default", "Q3", none, q1});
    ASSERT_EQ(d.status, 0) << d.err;
    std::istringstream lines(d.out);
    std::string first, second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(first.substr(0, none.size() + 4), none + "\tQ3\t");
    EXPECT_EQ(second.substr(0, q1.size() + 4), q1 + "\tQ1\t");
}

TEST_F(CliDetect, BadArgumentsAndFiles)
{
    const std::string ok = script("ok.cfg", "seta a 1\n");
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {}, {"--default", "Q4", ok}, {"--default"}, {"--bogus", ok}}) {
        const CliResult r = detect(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_TRUE(r.out.empty() && !r.err.empty());
    }
    // A script that cannot be read is reported; the others are still told.
    const CliResult r = detect({dir.file("missing.cfg"), ok});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.cfg"), std::string::npos);
    EXPECT_EQ(r.out.substr(0, ok.size() + 4), ok + "\tQ2\t");
    const CliResult noData = runCli({"detect", "--data", dir.file("nodata"), ok});
    EXPECT_EQ(noData.status, 1);
    EXPECT_TRUE(noData.out.empty());
    EXPECT_NE(runCli({"detect", "--help"}).out.find("PATH"), std::string::npos);
    EXPECT_NE(runCli({"--help"}).out.find("detect [--default Q1|Q2|Q3]"), std::string::npos);
}

TEST_F(CliDetect, HighlightWithTheDetectedSet)
{
    // mouse4 is a key name of Q3 only: the detected set colours it.
    const std::string q3 = script("q3.cfg", "seta a 1\nvstr a\nbind mouse4 +attack\n");
    const std::string line = "bind mouse4 +attack";
    CliResult r = runCli({"highlight", "--data", data.path(), "--set", "auto", "--format", "classes", q3});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(r.out.size() - line.size() - 2, 11), "22220555555");
    r = runCli({"highlight", "--data", data.path(), "--set", "Q2", "--format", "classes", q3});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(r.out.size() - line.size() - 2, 11), "22220111111");
    r = runCli({"highlight", "--data", data.path(), "--set", "Q5", q3});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("auto"), std::string::npos);
    EXPECT_NE(runCli({"--help"}).out.find("highlight [--set Q1|Q2|Q3|auto]"), std::string::npos);
}
