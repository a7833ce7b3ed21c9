// varkel-cli bindings, run as a separate process.
#include "bindingfixture.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace fs = std::filesystem;

namespace {

struct Result {
    int status = -1; // exit code, or -1 when the process did not exit normally
    std::string out;
    std::string err;
};

std::string readAll(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs the program with the given arguments, capturing its output.
Result run(const std::string &program, const std::vector<std::string> &args)
{
    Result r;
    const fs::path errFile = fs::temp_directory_path() / ("varkel-cli-err-" + std::to_string(::getpid()));
    int out[2];
    if (::pipe(out) != 0)
        return r;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char *> argv{const_cast<char *>(program.c_str())};
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
        ::close(out[0]);
        return r;
    }
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(out[0], buffer, sizeof buffer)) > 0)
        r.out.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    r.err = readAll(errFile);
    fs::remove(errFile);
    return r;
}

std::string cliPath()
{
    const char *cli = std::getenv("VARKEL_CLI");
    return cli && *cli && fs::exists(cli) ? cli : std::string();
}

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        out.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

std::vector<std::string> fields(const std::string &line)
{
    std::vector<std::string> out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', pos);
        out.push_back(line.substr(pos, tab == std::string::npos ? std::string::npos : tab - pos));
        if (tab == std::string::npos)
            return out;
        pos = tab + 1;
    }
}

// Checks the shape of a tsv listing: slot lines in rising slot order with
// five fields, then var lines with three, then list lines with two.
void checkListing(const std::string &out, const std::string &what)
{
    int section = 0;
    int lastSlot = -1;
    for (const std::string &line : lines(out)) {
        const std::vector<std::string> f = fields(line);
        if (f[0] == "slot") {
            ASSERT_EQ(section, 0) << what << ": " << line;
            ASSERT_GE(f.size(), 5u) << what << ": " << line;
            const int slot = std::stoi(f[1]);
            ASSERT_GT(slot, lastSlot) << what;
            ASSERT_LT(slot, 110) << what;
            lastSlot = slot;
            ASSERT_TRUE(f[3] == "On" || f[3] == "CON") << what << ": " << line;
        } else if (f[0] == "var") {
            ASSERT_LE(section, 1) << what << ": " << line;
            section = 1;
            ASSERT_GE(f.size(), 3u) << what << ": " << line;
        } else {
            ASSERT_EQ(f[0], "list") << what << ": " << line;
            section = 2;
            ASSERT_EQ(f.size(), 2u) << what << ": " << line;
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
