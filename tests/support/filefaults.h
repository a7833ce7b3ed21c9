#pragma once
// A failing file system for the writers' tests: makes chosen steps of
// ReadFileBytes / WriteFileSafely fail with a chosen errno, runs one
// operation against every such failure in turn, and caps the size of files
// for a real write failure.

#include "app/safefile.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace varkel::test {

// The errors a full disk, a quota, a permission and a failing device give.
inline constexpr int kInjectedErrors[] = {ENOSPC, EDQUOT, EACCES, EIO};

inline const char *stepName(FileStep step)
{
    static const char *const names[] = {"Read",   "CreateTemp",  "Chown",        "Chmod",    "Write",
                                        "Flush",  "Close",       "Rename",       "OpenInPlace",
                                        "Reserve", "InPlaceWrite", "Truncate", "Restore"};
    return names[static_cast<int>(step)];
}

inline const char *errorName(int err)
{
    switch (err) {
    case ENOSPC: return "ENOSPC";
    case EDQUOT: return "EDQUOT";
    case EACCES: return "EACCES";
    case EIO: return "EIO";
    default: return "errno";
    }
}

// Makes steps fail while it lives, and records every step met.
class FileFaults
{
public:
    FileFaults()
    {
        SetFileFaultHookForTesting([this](FileStep step) { return onStep(step); });
    }
    ~FileFaults() { SetFileFaultHookForTesting({}); }
    FileFaults(const FileFaults &) = delete;
    FileFaults &operator=(const FileFaults &) = delete;

    // Every call of step fails with err.
    void always(FileStep step, int err) { m_always[step] = err; }
    // The first call of step fails with err; later ones succeed.
    void first(FileStep step, int err) { m_first[step] = err; }
    // The n-th step met (0-based) fails with err.
    void at(std::size_t n, int err) { m_at[n] = err; }

    const std::vector<FileStep> &steps() const { return m_steps; }
    int injected() const { return m_injected; }

private:
    int onStep(FileStep step)
    {
        const std::size_t n = m_steps.size();
        m_steps.push_back(step);
        int err = 0;
        if (auto it = m_at.find(n); it != m_at.end())
            err = it->second;
        else if (auto it = m_always.find(step); it != m_always.end())
            err = it->second;
        else if (auto it = m_first.find(step); it != m_first.end()) {
            err = it->second;
            m_first.erase(it);
        }
        m_injected += err != 0;
        return err;
    }

    std::map<FileStep, int> m_always, m_first;
    std::map<std::size_t, int> m_at;
    std::vector<FileStep> m_steps;
    int m_injected = 0;
};

// Runs one write against every failure of the file system in turn, each with
// every error of kInjectedErrors: each step it meets failing once; each kind
// of step failing every time; and then all of that again while no temporary
// file can be made (so the target is rewritten in place), together with the
// first attempt to put the old bytes back failing too. Before each run
// `reset` puts the starting files back; `run` performs the write under the
// faults and checks the outcome (`what` describes the case). Returns the
// number of runs in which a failure was injected.
inline int RunAgainstEveryFault(const std::function<void()> &reset,
                                const std::function<void(FileFaults &faults, const std::string &what)> &run)
{
    int injected = 0;
    auto once = [&](const std::string &what, const std::function<void(FileFaults &)> &arrange) {
        reset();
        FileFaults faults;
        arrange(faults);
        run(faults, what);
        injected += faults.injected() > 0;
    };
    auto stepsOf = [&](const std::function<void(FileFaults &)> &arrange) {
        reset();
        FileFaults faults;
        arrange(faults);
        run(faults, "no fault");
        return faults.steps();
    };
    const auto noTemp = [](FileFaults &f) { f.always(FileStep::CreateTemp, EACCES); };

    for (bool inPlace : {false, true}) {
        const auto base = inPlace ? std::function<void(FileFaults &)>(noTemp) : [](FileFaults &) {};
        const std::string mode = inPlace ? " (in place)" : "";
        const std::vector<FileStep> steps = stepsOf(base);
        for (int err : kInjectedErrors) {
            const std::string e = errorName(err);
            for (std::size_t n = 0; n < steps.size(); ++n) {
                if (inPlace && steps[n] == FileStep::CreateTemp)
                    continue;
                const std::string what = "step " + std::to_string(n) + " " + stepName(steps[n]) + " once, " + e + mode;
                once(what, [&](FileFaults &f) { base(f); f.at(n, err); });
            }
            for (int k = 0; k <= static_cast<int>(FileStep::Restore); ++k) {
                const auto step = static_cast<FileStep>(k);
                if (inPlace && step == FileStep::CreateTemp)
                    continue;
                once(std::string(stepName(step)) + " always, " + e + mode, [&](FileFaults &f) {
                    base(f);
                    f.always(step, err);
                });
                if (inPlace)
                    once(std::string(stepName(step)) + " always and the first Restore, " + e + mode,
                         [&](FileFaults &f) {
                             base(f);
                             f.always(step, err);
                             f.first(FileStep::Restore, err);
                         });
            }
        }
    }
    return injected;
}

// Caps the size of files this process may write, for one scope: a write past
// the cap fails with EFBIG, as one fails on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit capped = m_old;
        capped.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// Temporary files of the safe writer left anywhere below dir.
inline std::vector<std::string> LeftoverTemporaries(const std::string &dir)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(dir, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->path().filename().string().find(".varkel-") != std::string::npos)
            found.push_back(it->path().string());
    return found;
}

} // namespace varkel::test
