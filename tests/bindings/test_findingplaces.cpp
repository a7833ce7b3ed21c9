// The findings of a check follow the edits of the text: after any run of
// inserts, deletes and replaced runs they stand where moving every finding
// at once would have put them.
#include "bindings/findingplaces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace varkel;

namespace {

LintFinding findingAt(std::size_t position, std::size_t tag)
{
    LintFinding f;
    f.position = position;
    f.length = tag % 7;
    f.name = "n" + std::to_string(tag);
    return f;
}

} // namespace

TEST(FindingPlaces, EditsMoveTheFindingsAsMovingEachOneWould)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 20; ++round) {
        std::vector<LintFinding> model;
        std::size_t textSize = 5000;
        for (std::size_t p = 0, tag = 0; p < textSize; p += 1 + rng() % 60, ++tag)
            model.push_back(findingAt(p, tag));
        FindingPlaces places;
        places.Assign(model);
        for (int step = 0; step < 300; ++step) {
            const std::size_t at = rng() % (textSize + 1);
            const unsigned kind = rng() % 3;
            if (kind == 0) {
                const std::size_t n = 1 + rng() % 40;
                places.Inserted(at, n);
                for (LintFinding &f : model)
                    if (f.position >= at)
                        f.position += n;
                textSize += n;
            } else if (kind == 1) {
                const std::size_t n = std::min<std::size_t>(textSize - at, rng() % 50);
                places.Deleted(at, n);
                for (LintFinding &f : model)
                    f.position = f.position >= at + n ? f.position - n : f.position >= at ? at : f.position;
                textSize -= n;
            } else {
                // The findings of a range are found again.
                const std::size_t to = std::min(textSize, at + rng() % 200);
                const std::size_t first = places.LowerBound(at);
                const std::size_t last = places.LowerBound(to);
                std::vector<LintFinding> fresh;
                for (std::size_t p = at; p < to; p += 1 + rng() % 40)
                    fresh.push_back(findingAt(p, 1000 + static_cast<std::size_t>(step)));
                const auto lo = std::lower_bound(model.begin(), model.end(), at,
                                                 [](const LintFinding &f, std::size_t p) { return f.position < p; });
                const auto hi = std::lower_bound(lo, model.end(), to,
                                                 [](const LintFinding &f, std::size_t p) { return f.position < p; });
                ASSERT_EQ(first, static_cast<std::size_t>(lo - model.begin()));
                ASSERT_EQ(last, static_cast<std::size_t>(hi - model.begin()));
                const auto where = model.erase(lo, hi);
                model.insert(where, fresh.begin(), fresh.end());
                places.Replace(first, last, fresh);
            }
            ASSERT_EQ(places.size(), model.size()) << "step " << step;
            const std::size_t probe = model.empty() ? 0 : rng() % model.size();
            if (!model.empty()) {
                ASSERT_EQ(places.PositionAt(probe), model[probe].position) << "step " << step;
                ASSERT_EQ(places.At(probe).name, model[probe].name);
            }
        }
        const std::vector<LintFinding> all = places.All();
        ASSERT_EQ(all.size(), model.size());
        for (std::size_t i = 0; i < all.size(); ++i) {
            EXPECT_EQ(all[i].position, model[i].position) << i;
            EXPECT_EQ(all[i].name, model[i].name) << i;
        }
    }
}
