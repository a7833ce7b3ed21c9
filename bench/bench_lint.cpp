// Cost of checking a 10 MB script (the corpus scripts of all three games
// repeated, then those of each game with its own vocabulary), printed as
// ratios to reading the same bytes with ScriptReader alone (cutting them
// into commands and words), measured in the same run, alternating:
//   - LintScript with no files: every check but exec-missing / exec-cycle;
//   - LintScript with the script's folder in memory (every exec line looked
//     up, none found: the chain runs no other script);
//   - LineLinter over every line in turn, as an editor re-checks the line
//     being typed, with the worst single line (the first use of an unknown
//     name works out its suggestions).
// The scripts of all three games are checked with the Q2 vocabulary: the
// other games' words make many unknown names, the costly case.

#include "bindings/lint.h"
#include "bindings/memoryscriptfiles.h"
#include "bindings/scriptreader.h"
#include "language/dictionary.h"

#include "benchsupport.h"

#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace varkel;

namespace {

constexpr std::size_t kSize = std::size_t(10) << 20;
constexpr int kRuns = 9;

// One script: the corpus scripts under `folder` repeated to 10 MB, checked
// with the vocabulary of `set`. The line checks are measured too when
// `lines` is set.
bool measure(const char *label, const std::string &folder, const std::string &set, bool lines)
{
    GameDictionary dict;
    if (const Error e = BuildDictionary(dict, VARKEL_SOURCE_DIR "/Data", set)) {
        std::fprintf(stderr, "cannot read the %s data: %s\n", set.c_str(), e.description().c_str());
        return false;
    }
    const LintVocabulary vocab(dict);
    const std::string script = bench::ScriptOfSize(bench::CorpusText(folder), kSize);

    std::size_t commands = 0;
    const auto readOnly = [&] {
        commands = 0;
        ScriptReader reader(script);
        ScriptCommand c;
        while (reader.next(c))
            ++commands;
    };

    std::array<std::size_t, kLintCodeCount> counts{};
    LintReport last;
    const auto [readMs, lintMs] =
        bench::MedianPair(kRuns, readOnly, [&] { last = LintScript(vocab, "bench.cfg", script, nullptr); });
    for (const LintFinding &f : last.findings)
        ++counts[static_cast<std::size_t>(f.code)];

    MemoryScriptFiles files;
    files.add("bench.cfg", script);
    std::size_t withFiles = 0;
    const auto [readMs2, chainMs] = bench::MedianPair(kRuns, readOnly, [&] {
        withFiles = LintScript(vocab, "bench.cfg", script, &files).findings.size();
    });

    std::printf("%s, %s vocabulary: %zu bytes, %zu commands; %zu findings (%zu with exec lookups):", label,
                set.c_str(), script.size(), commands, last.findings.size(), withFiles);
    for (int c = 0; c < kLintCodeCount; ++c)
        std::printf(" %s %zu", std::string(LintCodeName(static_cast<LintCode>(c))).c_str(),
                    counts[static_cast<std::size_t>(c)]);
    std::printf("\n");
    std::printf("  baseline  ScriptReader over the script     %8.2f ms   1.00x\n", readMs);
    std::printf("  LintScript, no files                     %8.2f ms  %5.2fx\n", lintMs, lintMs / readMs);
    std::printf("  LintScript, exec lines looked up         %8.2f ms  %5.2fx\n", chainMs, chainMs / readMs2);
    if (!lines)
        return true;

    // Every line re-checked alone, with the names of the whole pass.
    const std::vector<std::size_t> starts = LineStarts(script);
    std::vector<double> lineTimes;
    std::size_t lineFindings = 0;
    const auto [readMs3, linesMs] = bench::MedianPair(3, readOnly, [&] {
        lineFindings = 0;
        lineTimes.clear();
        LineLinter linter(vocab, last.names);
        std::vector<LintFinding> found;
        for (std::size_t i = 0; i < starts.size(); ++i) {
            const auto t0 = bench::Clock::now();
            found.clear();
            linter.lintLine(script, starts[i], static_cast<int>(i), found);
            lineFindings += found.size();
            lineTimes.push_back(bench::Ms(bench::Clock::now() - t0));
        }
    });
    std::sort(lineTimes.begin(), lineTimes.end());
    std::printf("  LineLinter over all %zu lines       %8.2f ms  %5.2fx  (a line: median %.4f ms, worst %.3f ms)\n",
                starts.size(), linesMs, linesMs / readMs3, lineTimes[lineTimes.size() / 2], lineTimes.back());
    return true;
}

} // namespace

int main()
{
    bool ok = measure("all three games", "", "Q2", true);
    ok = measure("Quake scripts", "q1", "Q1", false) && ok;
    ok = measure("Quake II scripts", "q2", "Q2", false) && ok;
    ok = measure("Quake III scripts", "q3", "Q3", false) && ok;
    return ok ? 0 : 1;
}
