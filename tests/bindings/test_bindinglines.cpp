// The binding scan's findings kept line by line: after any series of edits,
// reading only the changed lines gives the findings of a whole re-read, and
// the binding table, the lists and the key states built from them are those
// of a scan of the text.

#include "bindings/bindinglines.h"
#include "bindingfixture.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

using namespace varkel;
using varkel::test::RecordingSink;
using varkel::test::testDictionary;

namespace {

void ExpectSameFindings(const BindingLines &a, const BindingLines &b)
{
    const std::vector<LineFinding> fa = a.Findings();
    const std::vector<LineFinding> fb = b.Findings();
    ASSERT_EQ(fa.size(), fb.size());
    for (std::size_t i = 0; i < fa.size(); ++i) {
        const LineFinding &x = fa[i];
        const LineFinding &y = fb[i];
        EXPECT_TRUE(x.kind == y.kind && x.at == y.at && x.key == y.key && x.name == y.name && x.text == y.text)
            << "finding " << i << ": " << x.name << x.text << " at " << x.at << " / " << y.name << y.text << " at "
            << y.at;
    }
}

void ExpectSameState(const BindingState &a, const BindingState &b)
{
    EXPECT_EQ(a.BoundText, b.BoundText);
    EXPECT_EQ(a.Bound, b.Bound);
    EXPECT_EQ(a.boundAt, b.boundAt);
    ASSERT_EQ(a.extraKeys.size(), b.extraKeys.size());
    for (std::size_t i = 0; i < a.extraKeys.size(); ++i) {
        EXPECT_EQ(a.extraKeys[i].BoundText, b.extraKeys[i].BoundText);
        EXPECT_EQ(a.extraKeys[i].Bound, b.extraKeys[i].Bound);
        EXPECT_EQ(a.extraKeys[i].state, b.extraKeys[i].state);
        EXPECT_EQ(a.extraKeys[i].boundAt, b.extraKeys[i].boundAt);
    }
    EXPECT_EQ(a.userVariables.entries(), b.userVariables.entries());
    EXPECT_EQ(a.aliasList, b.aliasList);
}

void ExpectSameCalls(const RecordingSink &a, const RecordingSink &b)
{
    ASSERT_EQ(a.calls.size(), b.calls.size());
    for (std::size_t i = 0; i < a.calls.size(); ++i)
        EXPECT_TRUE(a.calls[i].slot == b.calls[i].slot && a.calls[i].state == b.calls[i].state) << "call " << i;
}

std::vector<std::string> SampleScripts()
{
    const std::vector<std::filesystem::path> all = test::CorpusScripts();
    std::vector<std::string> sample;
    for (std::size_t i = 2; i < all.size(); i += 6)
        sample.push_back(test::FileBytes(all[i]));
    return sample;
}

} // namespace

TEST(BindingLines, FindingsMoveWithTheirLinesAndChangedLinesAreReadAgain)
{
    const GameDictionary &dict = testDictionary("Q2");
    std::string text = "bind f +use\nalias a 1\nbind g +jump\n";
    BindingLines lines;
    lines.Read(text, dict);
    ASSERT_EQ(lines.Findings().size(), 3u);
    EditLog log;
    // A line put in front: the others move, the new one is found.
    text.insert(0, "bind x +attack\n");
    log.Record(0, 0, 15);
    std::vector<TextRange> changed;
    ASSERT_TRUE(log.ChangedSince(0, changed));
    lines.Update(text, changed, dict);
    ASSERT_EQ(lines.Findings().size(), 4u);
    EXPECT_EQ(lines.Findings()[0].text, "+attack");
    EXPECT_EQ(lines.Findings()[3].at, 15u + 22u);
    // A line end removed joins two lines: the alias is part of the binding.
    const std::uint64_t seen = log.Serial();
    text.erase(26, 1);
    log.Record(26, 1, 0);
    ASSERT_TRUE(log.ChangedSince(seen, changed));
    lines.Update(text, changed, dict);
    BindingLines whole;
    whole.Read(text, dict);
    ExpectSameFindings(lines, whole);
    EXPECT_EQ(lines.Findings().size(), 3u);
}

// A script of many findings: edits that add, remove and join lines across
// the places where the kept findings are split.
TEST(BindingLines, EditsOfABigScriptGiveTheWholeScansResult)
{
    const std::vector<std::string> scripts = SampleScripts();
    if (scripts.empty())
        GTEST_SKIP() << "the corpus is not there";
    GameDictionary dict;
    ASSERT_FALSE(BuildDictionary(dict, VARKEL_SOURCE_DIR "/Data", "Q2"));
    std::string text;
    while (text.size() < 300000)
        for (const std::string &script : scripts)
            text += script + "\nbind f +use\nalias a b\n";
    BindingLines lines;
    lines.Read(text, dict);
    ASSERT_GT(lines.Findings().size(), 2000u);
    EditLog log;
    std::mt19937 rng(7);
    for (int step = 0; step < 120; ++step) {
        const std::uint64_t seen = log.Serial();
        // One to a few edits between two reads.
        for (int k = 1 + static_cast<int>(rng() % 3); k > 0; --k) {
            const std::size_t at = rng() % (text.size() + 1);
            const std::size_t cut = std::min<std::size_t>(text.size() - at, rng() % 3 ? rng() % 10 : rng() % 40000);
            std::string piece = rng() % 2 ? std::string("bind x +attack\n") : std::string();
            if (rng() % 4 == 0)
                piece = text.substr(rng() % text.size(), rng() % 30000);
            text.replace(at, cut, piece);
            log.Record(at, cut, piece.size());
        }
        std::vector<TextRange> changed;
        ASSERT_TRUE(log.ChangedSince(seen, changed));
        lines.Update(text, changed, dict);
        BindingLines whole;
        whole.Read(text, dict);
        ExpectSameFindings(lines, whole);
        if (testing::Test::HasFailure())
            FAIL() << "step " << step;
    }
}

TEST(BindingLines, RandomEditsOfCorpusScriptsGiveTheWholeScansResult)
{
    const std::vector<std::string> scripts = SampleScripts();
    if (scripts.empty())
        GTEST_SKIP() << "the corpus is not there";
    static const char *const kPieces[] = {"\n", "\r\n", "bind ", "mouse1 ", "alias ", "set ", "//", "\"", " ", "\r"};
    for (const char *set : {"Q1", "Q2", "Q3"}) {
        GameDictionary dict;
        ASSERT_FALSE(BuildDictionary(dict, VARKEL_SOURCE_DIR "/Data", set));
        std::mt19937 rng(static_cast<unsigned>(set[1]));
        for (const std::string &original : scripts) {
            std::string text = original;
            EditLog log;
            BindingLines lines;
            lines.Read(text, dict);
            std::uint64_t seen = log.Serial();
            for (int step = 0; step < 150; ++step) {
                // One to a few edits between two reads.
                for (int k = 1 + static_cast<int>(rng() % 3); k > 0; --k) {
                    const std::size_t at = text.empty() ? 0 : rng() % (text.size() + 1);
                    const std::size_t cut = std::min<std::size_t>(text.size() - at, rng() % 3 ? rng() % 8 : rng() % 200);
                    std::string piece;
                    if (rng() % 2)
                        piece = kPieces[rng() % std::size(kPieces)];
                    else if (!original.empty())
                        piece = original.substr(rng() % original.size(), rng() % 80);
                    text.replace(at, cut, piece);
                    log.Record(at, cut, piece.size());
                }
                std::vector<TextRange> changed;
                ASSERT_TRUE(log.ChangedSince(seen, changed));
                seen = log.Serial();
                lines.Update(text, changed, dict);
                BindingLines whole;
                whole.Read(text, dict);
                ExpectSameFindings(lines, whole);
                if (testing::Test::HasFailure())
                    FAIL() << set << ", step " << step;
            }
            // The table, the lists and the states built from the findings.
            for (ConflictType type : {ConflictType::None, ConflictType::All}) {
                BindingState fromText, fromLines;
                RecordingSink textSink, linesSink;
                ClearData(fromText, nullptr);
                ClearData(fromLines, nullptr);
                GetBindings(fromText, text, dict, type, false, &textSink);
                GetBindings(fromLines, lines, type, false, &linesSink);
                ExpectSameState(fromText, fromLines);
                ExpectSameCalls(textSink, linesSink);
            }
        }
    }
}
