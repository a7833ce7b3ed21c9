#pragma once
// Runs varkel-cli (named by VARKEL_CLI, which ctest sets) as a separate
// process and captures what it prints.

#include "app/tempdir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace varkel::test {

struct CliResult {
    int status = -1; // exit code, or -1 when the process did not exit normally
    std::string out;
    std::string err;
};

inline std::string cliPath()
{
    const char *cli = std::getenv("VARKEL_CLI");
    return cli && *cli && std::filesystem::exists(cli) ? cli : std::string();
}

inline std::string shellQuoted(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Where the program's standard input comes from and its output goes.
struct CliIo {
    std::optional<std::string> input; // fed to standard input when set
    std::string outputTo;             // a file that takes standard output instead of the capture

    static CliIo withInput(std::string text)
    {
        CliIo io;
        io.input = std::move(text);
        return io;
    }
    static CliIo writingTo(std::string file)
    {
        CliIo io;
        io.outputTo = std::move(file);
        return io;
    }
};

inline CliResult runCli(const std::vector<std::string> &args, const CliIo &io = {})
{
    const TempDir tmp;
    std::string command = shellQuoted(cliPath());
    for (const std::string &a : args)
        command += ' ' + shellQuoted(a);
    command += " 2>" + shellQuoted(tmp.file("err"));
    if (io.input) {
        writeAll(tmp.file("in"), *io.input);
        command += " <" + shellQuoted(tmp.file("in"));
    }
    if (!io.outputTo.empty())
        command += " >" + shellQuoted(io.outputTo);
    CliResult r;
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return r;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        r.out.append(buffer, n);
    const int wstatus = ::pclose(pipe);
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    r.err = readAll(tmp.file("err"));
    return r;
}

// A test of varkel-cli run as a separate process, with scripts written
// into a folder of its own; skipped when the tool is not known.
class CliScriptTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (cliPath().empty())
            GTEST_SKIP() << "VARKEL_CLI is not set";
    }
    // Writes `text` to `name` (a path inside the folder) and returns its path.
    std::string script(const std::string &name, const std::string &text)
    {
        std::filesystem::create_directories(std::filesystem::path(dir.file(name)).parent_path());
        writeAll(dir.file(name), text);
        return dir.file(name);
    }
    TempDir dir;
};

} // namespace varkel::test
