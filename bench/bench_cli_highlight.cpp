// `varkel-cli highlight --format ansi` against Kate's highlighting engine
// (kate-syntax-highlighter with its INI definition, ANSI output) on a 10 MB
// script built from the corpus: the CPU time of each process, output written
// to a file, and how many times faster varkel-cli is. The comparison is
// skipped when kate-syntax-highlighter is not installed.
//   build/bench_cli_highlight

#include "benchsupport.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace varkel::bench;

namespace {

// Runs argv with its output in `out`; the CPU time (user and system) it took
// in milliseconds, or a negative value when it could not run.
double ChildCpuMs(const std::vector<std::string> &argv, const std::string &out)
{
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        std::vector<char *> args;
        for (const std::string &a : argv)
            args.push_back(const_cast<char *>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return Ms(std::chrono::seconds(usage.ru_utime.tv_sec) + std::chrono::microseconds(usage.ru_utime.tv_usec) +
              std::chrono::seconds(usage.ru_stime.tv_sec) + std::chrono::microseconds(usage.ru_stime.tv_usec));
}

} // namespace

int main()
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("varkel-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string script = (dir / "big.cfg").string();
    const std::string out = (dir / "out.txt").string();
    std::ofstream(script, std::ios::binary) << ScriptOfSize(CorpusText("q2"), size_t(10) << 20);

    const std::vector<std::string> ours = {VARKEL_BINARY_DIR "/varkel-cli", "highlight", "--set", "Q2",
                                           "--format", "ansi", script};
    const std::vector<std::string> kate = {"kate-syntax-highlighter", "--syntax", "INI Files",
                                           "--output-format", "ansi", script};
    std::vector<double> a, b;
    for (int r = 0; r < 7; ++r) {
        a.push_back(ChildCpuMs(ours, out));
        b.push_back(ChildCpuMs(kate, out));
    }
    std::filesystem::remove_all(dir);
    const double mine = Median(a);
    std::printf("10MB varkel-cli-highlight: median %.1f ms, worst %.1f ms\n", mine, *std::max_element(a.begin(), a.end()));
    if (*std::min_element(b.begin(), b.end()) < 0) {
        std::printf("kate-syntax-highlighter not found: no comparison\n");
        return 0;
    }
    const double theirs = Median(b);
    std::printf("10MB kate-syntax-highlighter: median %.1f ms, worst %.1f ms\n", theirs,
                *std::max_element(b.begin(), b.end()));
    std::printf("varkel-cli highlight is %.1f times as fast\n", theirs / mine);
    return 0;
}
