#pragma once
// What the benchmarks share: test scripts of a given size built from the
// players' scripts of the corpus, and median timings.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace varkel::bench {

using Clock = std::chrono::steady_clock;

inline std::string ReadWholeFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The corpus scripts under `folder` (e.g. "q2"; "" for all), joined in name
// order, each ending in a line break; a few made-up lines when the corpus is
// not there. The corpus's own notes (*.md) are no scripts.
inline std::string CorpusText(const std::string &folder = {})
{
    std::vector<std::filesystem::path> files;
    const std::filesystem::path root = std::filesystem::path(VARKEL_SHARED_DIR "/corpus") / folder;
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file() && it->path().extension() != ".md")
            files.push_back(it->path());
    std::sort(files.begin(), files.end());
    std::string text;
    for (const auto &f : files) {
        text += ReadWholeFile(f);
        if (!text.empty() && text.back() != '\n')
            text += "\r\n";
    }
    if (text.empty())
        text = "bind mouse1 \"+attack\"\r\nalias +zoom \"fov 30; sensitivity 2\"\r\nset cl_run 1 // run\r\n";
    return text;
}

// `seed` repeated and cut to exactly `size` bytes.
inline std::string ScriptOfSize(const std::string &seed, std::size_t size)
{
    std::string text;
    text.reserve(size + seed.size());
    while (text.size() < size)
        text += seed;
    text.resize(size);
    return text;
}

// Median time of `reps` runs of f, in milliseconds.
template<typename F>
double MedianMs(int reps, F &&f)
{
    std::vector<double> times;
    for (int r = 0; r < reps; ++r) {
        const auto t0 = Clock::now();
        f();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Median times of a and b run in turn, so that a change in the machine's
// load hits both alike.
inline std::pair<double, double> MedianPair(int reps, const std::function<void()> &a, const std::function<void()> &b)
{
    std::vector<double> ta, tb;
    for (int r = 0; r < reps; ++r) {
        auto t0 = Clock::now();
        a();
        ta.push_back(Ms(Clock::now() - t0));
        t0 = Clock::now();
        b();
        tb.push_back(Ms(Clock::now() - t0));
    }
    return {Median(ta), Median(tb)};
}

} // namespace varkel::bench
