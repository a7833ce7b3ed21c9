// varkel-cli bindings, run as a separate process.
#include "bindingfixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Result {
    int status = -1; // exit code, or -1 when the process did not exit normally
    std::string out;
    std::string err;
};

std::string shellQuoted(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs the program with the given arguments, capturing its output.
Result run(const std::string &program, const std::vector<std::string> &args)
{
    const fs::path errFile = fs::temp_directory_path() / ("varkel-cli-err-" + std::to_string(::getpid()));
    std::string command = shellQuoted(program);
    for (const std::string &a : args)
        command += ' ' + shellQuoted(a);
    command += " 2>" + shellQuoted(errFile.string());
    Result r;
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return r;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        r.out.append(buffer, n);
    const int wstatus = ::pclose(pipe);
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    std::ifstream in(errFile, std::ios::binary);
    r.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fs::remove(errFile);
    return r;
}

std::string cliPath()
{
    const char *cli = std::getenv("VARKEL_CLI");
    return cli && *cli && fs::exists(cli) ? cli : std::string();
}

// Checks the shape of a tsv listing: slot lines in rising slot order with
// five fields and a state, then var lines with three fields, then list lines
// with two.
void checkListing(const std::string &out, const std::string &what)
{
    std::istringstream in(out);
    std::string line;
    int section = 0;
    int lastSlot = -1;
    while (std::getline(in, line)) {
        const auto tabs = std::count(line.begin(), line.end(), '\t');
        const std::string kind = line.substr(0, line.find('\t'));
        const int order = kind == "slot" ? 0 : kind == "var" ? 1 : kind == "list" ? 2 : -1;
        ASSERT_GE(order, section) << what << ": " << line;
        section = order;
        if (kind == "slot") {
            ASSERT_GE(tabs, 4) << what << ": " << line;
            const int slot = std::stoi(line.substr(5));
            ASSERT_TRUE(slot > lastSlot && slot < 110) << what << ": " << line;
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
        m_cli = cliPath();
        if (m_cli.empty())
            GTEST_SKIP() << "VARKEL_CLI is not set";
        m_dir = fs::temp_directory_path() / ("varkel-cli-bindings-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        if (!m_dir.empty())
            fs::remove_all(m_dir, ec);
    }
    std::string script(const std::string &name, const std::string &text)
    {
        const fs::path p = m_dir / name;
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
    Result bindings(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"bindings", "--data", varkel::test::testData().dir()});
        return run(m_cli, args);
    }

    std::string m_cli;
    fs::path m_dir;
};

} // namespace

TEST_F(CliBindings, PrintsSlotsVariablesAndList)
{
    const std::string a = script("a.cfg", "bind f +use\r\nbind x \"+attack\"\r\nalias zoom \"fov 30\"\r\n");
    const std::string b = script("b.cfg", "bind f +attack\nbind = +back\nbind + +back\n"
                                          "alias zoom \"fov 30\"\nalias zoom x\nalias b 2\n");
    Result r = bindings({b});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t25\t+\tOn\t+back\n"
                     "slot\t44\tf\tOn\t+attack\n"
                     "var\tzoom\tfov 30\n"
                     "var\tb\t2\n"
                     "list\tzoom\nlist\tzoom\nlist\tb\n");

    r = bindings({"--conflicts", "all", a, b});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t25\t+\tOn\t+back\n"
                     "slot\t44\tf\tCON\t+attack\n"
                     "slot\t55\tx\tOn\t\n"
                     "var\tzoom\tfov 30\n"
                     "var\tb\t2\n"
                     "list\tzoom\nlist\tzoom\nlist\tb\n");

    // With none or active only the last file is read.
    r = bindings({"--conflicts=none", b, a});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "slot\t44\tf\tOn\t+use\n"
                     "slot\t55\tx\tOn\t+attack\n"
                     "var\tzoom\tfov 30\n"
                     "list\tzoom\n");

    r = bindings({"--set", "Q3", "--format", "table", b});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("+attack"), std::string::npos);
    EXPECT_NE(r.out.find("Vstr list (0)"), std::string::npos);
}

TEST_F(CliBindings, BadArgumentsAndFilesFailWithAMessage)
{
    const std::string ok = script("ok.cfg", "bind f +use\n");
    const std::vector<std::vector<std::string>> bad{
        {},
        {"--set", "Q4", ok},
        {"--set"},
        {"--conflicts", "some", ok},
        {"--format", "xml", ok},
        {"--bogus", ok},
        {(m_dir / "missing.cfg").string()},
        {m_dir.string()},
        {ok, (m_dir / "missing.cfg").string()},
    };
    for (const auto &args : bad) {
        const Result r = bindings(args);
        EXPECT_NE(r.status, 0) << ::testing::PrintToString(args);
        EXPECT_FALSE(r.err.empty()) << ::testing::PrintToString(args);
        EXPECT_TRUE(r.out.empty()) << ::testing::PrintToString(args);
    }
    const Result r = run(m_cli, {"bindings", "--data", (m_dir / "nodata").string(), ok});
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
    for (const auto &[folder, set] : std::map<std::string, std::string>{{"q1", "Q1"}, {"q2", "Q2"}, {"q3", "Q3"}}) {
        std::vector<std::string> scripts;
        for (const auto &entry : fs::directory_iterator(corpus / folder))
            if (entry.is_regular_file())
                scripts.push_back(entry.path().string());
        std::sort(scripts.begin(), scripts.end());
        std::string dataDir = varkel::test::testData().dir();
        if (fs::exists(shipped / (set + "keynames.dat")))
            dataDir = shipped.string();
        for (const std::string &file : scripts) {
            for (const char *mode : {"none", "active", "all"}) {
                const Result r = run(m_cli, {"bindings", "--set", set, "--data", dataDir, "--conflicts", mode, file});
                ASSERT_EQ(r.status, 0) << file << " " << mode << ": " << r.err;
                checkListing(r.out, file);
            }
            ++files;
        }
        std::vector<std::string> all{"bindings", "--set", set, "--data", dataDir, "--conflicts", "all"};
        all.insert(all.end(), scripts.begin(), scripts.end());
        const Result r = run(m_cli, all);
        ASSERT_EQ(r.status, 0) << folder << ": " << r.err;
        checkListing(r.out, folder);
        EXPECT_NE(r.out.find("slot\t"), std::string::npos) << folder;
    }
    EXPECT_GT(files, 50);
}
