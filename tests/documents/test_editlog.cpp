#include "documents/editlog.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace varkel;

namespace {

// Checks that the text outside the ranges is the earlier text, shifted by
// what the ranges before it gained.
void ExpectOnlyRangesChanged(const std::string &before, const std::string &after,
                             const std::vector<TextRange> &ranges)
{
    std::size_t from = 0;      // in `after`
    std::ptrdiff_t shift = 0;  // after - before, so far
    for (const TextRange &r : ranges) {
        ASSERT_LE(from, r.start);
        ASSERT_LE(r.start, r.end);
        const std::size_t oldFrom = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(from) - shift);
        EXPECT_EQ(after.substr(from, r.start - from), before.substr(oldFrom, r.start - from));
        shift += r.grown;
        from = r.end;
    }
    const std::size_t oldFrom = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(from) - shift);
    EXPECT_EQ(after.substr(from), before.substr(oldFrom));
    EXPECT_EQ(static_cast<std::ptrdiff_t>(after.size()) - static_cast<std::ptrdiff_t>(before.size()), shift);
}

} // namespace

TEST(EditLog, RangesJoinWhereChangesMeetAndShiftBehindThem)
{
    EditLog log;
    const std::uint64_t seen = log.Serial();
    log.Record(10, 0, 3);  // insert 3 at 10: [10, 13)
    log.Record(40, 5, 0);  // remove 5 at 40: empty range at 40
    log.Record(2, 1, 1);   // replace 1 at 2: [2, 3), the others stay
    std::vector<TextRange> ranges;
    ASSERT_TRUE(log.ChangedSince(seen, ranges));
    EXPECT_EQ(ranges, (std::vector<TextRange>{{2, 3, 0}, {10, 13, 3}, {40, 40, -5}}));
    // An insertion that touches the first range joins it; the later ones
    // move with the text.
    log.Record(3, 0, 4);
    ASSERT_TRUE(log.ChangedSince(seen, ranges));
    EXPECT_EQ(ranges, (std::vector<TextRange>{{2, 7, 4}, {14, 17, 3}, {44, 44, -5}}));
    // Removing everything from inside the first to past the last leaves one.
    log.Record(5, 45, 0);
    ASSERT_TRUE(log.ChangedSince(seen, ranges));
    EXPECT_EQ(ranges, (std::vector<TextRange>{{2, 5, -43}}));
    // Nothing changed since the latest change.
    ASSERT_TRUE(log.ChangedSince(log.Serial(), ranges));
    EXPECT_TRUE(ranges.empty());
    EXPECT_FALSE(log.ChangedSince(log.Serial() + 1, ranges));
}

TEST(EditLog, ReaderTooFarBehindReadsTheWholeText)
{
    EditLog log;
    for (std::size_t i = 0; i < EditLog::kKept; ++i)
        log.Record(i, 0, 1);
    std::vector<TextRange> ranges;
    EXPECT_TRUE(log.ChangedSince(0, ranges));
    log.Record(0, 0, 1);
    EXPECT_FALSE(log.ChangedSince(0, ranges));
    EXPECT_TRUE(log.ChangedSince(1, ranges));
}

TEST(EditLog, RandomEditsChangeNothingOutsideTheRanges)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        std::string text(static_cast<std::size_t>(rng() % 300), 'a');
        for (char &c : text)
            c = static_cast<char>('a' + rng() % 26);
        EditLog log;
        std::vector<std::pair<std::uint64_t, std::string>> seen{{log.Serial(), text}};
        const int edits = 1 + static_cast<int>(rng() % 90); // up to more ranges than are kept apart
        for (int k = 0; k < edits; ++k) {
            const std::size_t pos = text.empty() ? 0 : rng() % (text.size() + 1);
            const std::size_t removed = std::min<std::size_t>(rng() % 6, text.size() - pos);
            const std::string inserted(rng() % 5, static_cast<char>('A' + k % 26));
            text.replace(pos, removed, inserted);
            log.Record(pos, removed, inserted.size());
            if (rng() % 4 == 0)
                seen.emplace_back(log.Serial(), text);
        }
        for (const auto &[serial, before] : seen) {
            std::vector<TextRange> ranges;
            ASSERT_TRUE(log.ChangedSince(serial, ranges));
            ASSERT_LE(ranges.size(), EditLog::kMaxRanges);
            ExpectOnlyRangesChanged(before, text, ranges);
        }
    }
}

// Replace All of a word that occurs a few hundred times: each occurrence
// stays a range of its own, so that only its lines are read again.
TEST(EditLog, HundredsOfSeparateChangesStaySeparate)
{
    EditLog log;
    for (std::size_t i = 0; i < 300; ++i)
        log.Record(i * 1000 + i, 5, 6);
    std::vector<TextRange> ranges;
    ASSERT_TRUE(log.ChangedSince(0, ranges));
    ASSERT_EQ(ranges.size(), 300u);
    EXPECT_EQ(ranges[299], (TextRange{299 * 1001, 299 * 1001 + 6, 1}));
}
