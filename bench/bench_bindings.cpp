// Cost of reading the bindings of a 1 MB script (GetBindings after ClearData,
// as the frame does after each key with automatic refresh on), of
// ShowAllConflicts over it and two more scripts, and of the slowest
// FindBinding (a key with no bind line: all five texts searched to the end).
// Each figure is printed with its ratio to copying the same bytes once
// (measured in the same run).
//
// The script is made of the Quake II corpus scripts, repeated to 1 MB.

#include "bindings/bindingscan.h"
#include "bindings/bindingsearch.h"
#include "bindings/conflicts.h"
#include "bindings/keystatetable.h"
#include "language/dictionary.h"

#include "benchsupport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace varkel;

namespace {

// Median time of `runs` calls of f, in microseconds.
template<typename F>
double medianMicros(int runs, F &&f)
{
    return bench::MedianMs(runs, std::forward<F>(f)) * 1000.0;
}

} // namespace

int main()
{
    GameDictionary dict;
    if (Error e = BuildDictionary(dict, VARKEL_SOURCE_DIR "/Data", "Q2")) {
        std::fprintf(stderr, "cannot build Q2: %s\n", e.description().c_str());
        return 1;
    }

    const std::string piece = bench::CorpusText("q2");
    const std::string script = bench::ScriptOfSize(piece, 1 << 20);
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
