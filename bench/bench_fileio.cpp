// Opening and saving a large script: ReadFileBytes + WriteFileSafely against a
// plain stream read + write of the same bytes, measured in the same run.

#include "documents/fileio.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Each line prints the median times of Varkel's open + save and of the plain
// stream read + write, their ratio, and the same split into open and save
// (the safe save flushes to disk, which a plain write does not).

// A script of exactly `size` bytes made by repeating the corpus files, or
// generated bind lines when the corpus is not there.
std::string buildScript(size_t size)
{
    std::string unit;
    const fs::path corpus = VARKEL_SHARED_DIR "/corpus";
    if (fs::is_directory(corpus)) {
        std::vector<fs::path> files;
        for (const auto &e : fs::recursive_directory_iterator(corpus))
            if (e.is_regular_file())
                files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const auto &f : files) {
            std::ifstream in(f, std::ios::binary);
            unit.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    if (unit.empty())
        for (int i = 0; i < 1000; ++i)
            unit += "bind k" + std::to_string(i) + " \"say line " + std::to_string(i) + "; +attack\"\r\n";
    std::string script;
    script.reserve(size);
    while (script.size() < size)
        script.append(unit, 0, std::min(unit.size(), size - script.size()));
    return script;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs a and b in turn, so that a change in the machine's load hits both
// alike; returns their median times in milliseconds.
std::pair<double, double> medianMs(int reps, const std::function<void()> &a, const std::function<void()> &b)
{
    std::vector<double> ta, tb;
    const auto time = [](const std::function<void()> &run) {
        const auto start = Clock::now();
        run();
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    for (int i = 0; i < reps; ++i) {
        ta.push_back(time(a));
        tb.push_back(time(b));
    }
    return {median(ta), median(tb)};
}

void check(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

void runCase(const fs::path &dir, const char *label, size_t size, int reps)
{
    const std::string script = buildScript(size);
    const fs::path src = dir / "script.cfg";
    const fs::path ours = dir / "ours.cfg";
    const fs::path plain = dir / "plain.cfg";
    std::ofstream(src, std::ios::binary).write(script.data(), static_cast<std::streamsize>(script.size()));

    const auto oursRead = [&] {
        varkel::ReadResult r = varkel::ReadFileBytes(src.string());
        check(!r.error && r.bytes.size() == size, "ReadFileBytes failed");
        return std::move(r.bytes);
    };
    const auto oursSave = [&](const std::string &bytes) {
        check(!varkel::WriteFileSafely(ours.string(), bytes), "WriteFileSafely failed");
    };
    const auto plainRead = [&] {
        std::ifstream in(src, std::ios::binary);
        std::string bytes(size, '\0');
        check(static_cast<bool>(in.read(bytes.data(), static_cast<std::streamsize>(size))), "ifstream read failed");
        return bytes;
    };
    const auto plainSave = [&](const std::string &bytes) {
        std::ofstream out(plain, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        check(!out.fail(), "ofstream write failed");
    };

    const auto [both, plainBoth] = medianMs(reps, [&] { oursSave(oursRead()); }, [&] { plainSave(plainRead()); });
    const auto [open, plainOpen] = medianMs(reps, [&] { oursRead(); }, [&] { plainRead(); });
    const auto [save, plainSaveMs] = medianMs(reps, [&] { oursSave(script); }, [&] { plainSave(script); });
    check(varkel::ReadFileBytes(ours.string()).bytes == script, "saved copy differs");

    std::printf("%-5s open+save %8.2f ms, plain %8.2f ms: ratio %5.2f"
                "   (open %7.2f / %7.2f ms = %4.2f; save %7.2f / %7.2f ms = %4.2f)\n",
                label, both, plainBoth, both / plainBoth, open, plainOpen, open / plainOpen, save, plainSaveMs,
                save / plainSaveMs);
}

} // namespace

int main()
{
    std::string pattern = (fs::temp_directory_path() / "varkel-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path dir = pattern;
    int rc = 0;
    try {
        std::printf("median of repeated runs, temporary folder %s\n", dir.c_str());
        runCase(dir, "1 MB", 1u << 20, 21);
        runCase(dir, "50 MB", 50u << 20, 9);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_fileio: %s\n", e.what());
        rc = 1;
    }
    fs::remove_all(dir);
    return rc;
}
