// Cost of reading the bindings of a 1 MB script (GetBindings after ClearData,
// as the frame does after each key with automatic refresh on), of
// ShowAllConflicts over it and two more scripts, and of the slowest
// FindBinding (a key with no bind line: all five texts searched to the end).
// Each figure is printed with its ratio to copying the same bytes once
// (measured in the same run).
//
// The script is made of the Quake II corpus scripts, repeated to 1 MB; when
// the corpus is absent, of the shipped sample script.

#include "bindings/bindingscan.h"
#include "bindings/bindingsearch.h"
#include "bindings/conflicts.h"
#include "bindings/keystatetable.h"
#include "language/dictionary.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace varkel;
using Clock = std::chrono::steady_clock;

namespace {

std::string readFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Median time of `runs` calls of f, in microseconds.
template<typename F>
double medianMicros(int runs, F &&f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = Clock::now();
        f();
        const auto t1 = Clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    GameDictionary dict;
    if (Error e = BuildDictionary(dict, VARKEL_SOURCE_DIR "/Data", "Q2")) {
        std::fprintf(stderr, "cannot build Q2: %s\n", e.description().c_str());
        return 1;
    }

    std::string piece;
    const std::filesystem::path corpus = VARKEL_SHARED_DIR "/corpus/q2";
    if (std::filesystem::exists(corpus)) {
        std::vector<std::filesystem::path> files;
        for (const auto &entry : std::filesystem::directory_iterator(corpus))
            files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto &f : files) {
            piece += readFile(f);
            if (!piece.empty() && piece.back() != '\n')
                piece += "\r\n";
        }
    } else {
        piece = readFile(VARKEL_SOURCE_DIR "/Data/Q2sample.dat");
    }
    if (piece.empty()) {
        std::fprintf(stderr, "no script text to measure\n");
        return 1;
    }
    constexpr std::size_t kSize = 1 << 20;
    std::string script;
    while (script.size() < kSize)
        script += piece;
    script.resize(kSize);
    const std::size_t lines = static_cast<std::size_t>(std::count(script.begin(), script.end(), '\n'));

    constexpr int kRuns = 31;
    std::string copy(script.size(), '\0');
    const double copyUs = medianMicros(kRuns, [&] {
        std::memcpy(copy.data(), script.data(), script.size());
        asm volatile("" : : "r"(copy.data()) : "memory");
    });

    BindingState state;
    KeyStateTable states;
    const double scanUs = medianMicros(kRuns, [&] {
        ClearData(state, &states);
        GetBindings(state, script, dict, ConflictType::Active, false, &states);
    });
    int bound = 0;
    for (int slot = 0; slot < BindingState::SlotCount; ++slot)
        bound += state.Bound[static_cast<std::size_t>(slot)];

    const std::vector<std::string_view> texts{piece, piece, script};
    const double allUs = medianMicros(kRuns, [&] {
        ShowAllConflicts(state, dict, texts, texts.size() - 1, &states);
    });

    const double findUs = medianMicros(kRuns, [&] {
        const TextMatch m = FindBinding(script, "kp_5", "no such command here", 0);
        asm volatile("" : : "r"(m.position) : "memory");
    });

    std::printf("script: %zu bytes, %zu lines, %d slots bound, %zu user variables\n", script.size(),
                lines, bound, state.userVariables.size());
    std::printf("baseline  copy of the script          %10.1f us   1.00x\n", copyUs);
    std::printf("ClearData + GetBindings (1 MB)         %10.1f us  %6.2fx  (%.2f ms)\n", scanUs,
                scanUs / copyUs, scanUs / 1000.0);
    std::printf("ShowAllConflicts (1 MB + 2 scripts)    %10.1f us  %6.2fx  (%.2f ms)\n", allUs,
                allUs / copyUs, allUs / 1000.0);
    std::printf("FindBinding, not found (1 MB, 5 texts) %10.1f us  %6.2fx  (%.2f ms)\n", findUs,
                findUs / copyUs, findUs / 1000.0);
    return 0;
}
