// The checks over the players' scripts of the corpus: every finding's place
// agrees with the script's bytes, the line-local checks line by line find
// what the whole pass finds, and the findings per 1,000 lines by code are
// printed (how noisy each check is on real scripts).
#include "bindings/diskscriptfiles.h"
#include "bindings/lint.h"
#include "language/dictionary.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace varkel;
namespace fs = std::filesystem;

TEST(LintCorpus, PlacesAgreeAndLinesMatchTheWholePass)
{
    const fs::path root = VARKEL_SHARED_DIR "/corpus";
    if (!fs::is_directory(root))
        GTEST_SKIP() << "no corpus at " << root;

    std::array<std::size_t, kLintCodeCount> counts{};
    std::size_t lines = 0, scripts = 0;
    DiskScriptFiles disk;
    for (const char *game : {"q1", "q2", "q3"}) {
        GameDictionary dict;
        ASSERT_FALSE(BuildDictionary(dict, VARKEL_SOURCE_DIR "/Data", std::string("Q") + game[1]));
        const LintVocabulary vocab(dict);
        for (const fs::path &file : test::CorpusScripts(game)) {
            const std::string text = test::FileBytes(file);
            const LintReport report = LintScript(vocab, file.string(), text, &disk);
            const std::vector<std::size_t> starts = LineStarts(text);
            lines += starts.size() - (!text.empty() && starts.back() == text.size() ? 1 : 0);
            ++scripts;

            std::vector<LintFinding> expected;
            for (const LintFinding &f : report.findings) {
                ++counts[static_cast<std::size_t>(f.code)];
                ASSERT_LT(static_cast<std::size_t>(f.line), starts.size()) << file;
                EXPECT_EQ(f.position, starts[static_cast<std::size_t>(f.line)] + f.column) << file;
                EXPECT_LE(f.position + f.length, text.size()) << file;
                if (IsLineLocal(f.code))
                    expected.push_back(f);
            }
            std::vector<LintFinding> local;
            LineLinter linter(vocab, report.names);
            for (std::size_t i = 0; i < starts.size(); ++i)
                linter.lintLine(text, starts[i], static_cast<int>(i), local);
            std::stable_sort(local.begin(), local.end(), [](const LintFinding &a, const LintFinding &b) {
                return a.position != b.position ? a.position < b.position : a.code < b.code;
            });
            ASSERT_EQ(local.size(), expected.size()) << file;
            for (std::size_t i = 0; i < local.size(); ++i) {
                EXPECT_EQ(local[i].position, expected[i].position) << file;
                EXPECT_EQ(local[i].message, expected[i].message) << file;
            }
        }
    }
    std::printf("lint over the corpus: %zu scripts, %zu lines; findings per 1,000 lines:\n", scripts, lines);
    for (int c = 0; c < kLintCodeCount; ++c)
        std::printf("  %-15s %7.2f  (%zu)\n", std::string(LintCodeName(static_cast<LintCode>(c))).c_str(),
                    1000.0 * static_cast<double>(counts[static_cast<std::size_t>(c)]) / static_cast<double>(lines),
                    counts[static_cast<std::size_t>(c)]);
}
