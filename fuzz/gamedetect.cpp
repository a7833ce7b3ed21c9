// Telling a script's game from its words, on any text: the set is always one
// of the three, the scores are the clues' points, every clue points at its
// own first use in the text, the summary is one line and the explanation one
// line per clue under its two head lines. The result does not change when
// ASCII letters change case or a comment line is added at the end.
// Targets: src/language/gamedetect.cpp
//
// Input: an options byte (bits 0-2: the default set), then the script.

#include "support.h"

#include "language/gamedetect.h"

#include <algorithm>
#include <array>

using namespace varkel;

namespace {

constexpr std::array<std::string_view, 8> kDefaults{"Q1", "Q2", "Q3", "", "Q4", "q3", "Q2 ", "Quake"};

// The clues in the order the result lists them.
constexpr std::array<std::string_view, 13> kClueOrder{
    "vstr", "seta", "cg_ variables", "^ colour codes", "impulse", "+mlook statements", "alias",
    "words only Q1 knows", "words only Q2 knows", "words only Q3 knows", "words Q1 and Q2 know",
    "words Q1 and Q3 know", "words Q2 and Q3 know"};

const GameDetector &detector()
{
    static const GameDetector d = [] {
        GameDetector built;
        FUZZ_CHECK(!BuildGameDetector(built, VARKEL_SOURCE_DIR "/Data"));
        FUZZ_CHECK(!built.empty());
        return built;
    }();
    return d;
}

std::string upperAscii(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - ('a' - 'A'));
    return out;
}

bool sameDetection(const GameDetection &a, const GameDetection &b)
{
    if (a.set != b.set || a.weak != b.weak || a.scores != b.scores || a.clues.size() != b.clues.size())
        return false;
    for (std::size_t i = 0; i < a.clues.size(); ++i) {
        const DetectionClue &x = a.clues[i], &y = b.clues[i];
        if (x.what != y.what || x.sets != y.sets || x.uses != y.uses || x.points != y.points ||
            x.firstAt != y.firstAt || x.examples != y.examples)
            return false;
    }
    return true;
}

std::vector<std::string_view> lines(std::string_view text)
{
    std::vector<std::string_view> out;
    for (;;) {
        const std::size_t lf = text.find('\n');
        out.push_back(text.substr(0, lf));
        if (lf == std::string_view::npos)
            return out;
        text.remove_prefix(lf + 1);
    }
}

std::string scoresText(const GameDetection &d)
{
    return "Q1 " + std::to_string(d.scores[0]) + ", Q2 " + std::to_string(d.scores[1]) + ", Q3 " +
           std::to_string(d.scores[2]);
}

void checkDetection(const GameDetection &d, std::string_view text, std::string_view defaultSet)
{
    // One of the three sets, chosen by the rule or taken as the default.
    FUZZ_CHECK(std::find(kGameSets.begin(), kGameSets.end(), d.set) != kGameSets.end());
    std::array<int, kGameSetCount> sum{};
    std::size_t order = 0;
    for (const DetectionClue &clue : d.clues) {
        // Known clues, each once, in the fixed order.
        const auto at = std::find(kClueOrder.begin() + static_cast<std::ptrdiff_t>(order), kClueOrder.end(), clue.what);
        FUZZ_CHECK(at != kClueOrder.end());
        order = static_cast<std::size_t>(at - kClueOrder.begin()) + 1;
        FUZZ_CHECK(clue.sets > 0 && clue.sets < 8);
        FUZZ_CHECK(clue.uses >= 1 && clue.points >= 1);
        FUZZ_CHECK(clue.examples.size() <= 3 && clue.examples.size() <= static_cast<std::size_t>(clue.uses));
        FUZZ_CHECK(clue.firstAt < text.size());
        // The first use is the first example, or the telling word itself.
        const std::string rest = fuzz::lowerAscii(text.substr(clue.firstAt, 256));
        if (!clue.examples.empty())
            FUZZ_CHECK(rest.compare(0, clue.examples.front().size(), clue.examples.front()) == 0);
        else if (clue.what == "^ colour codes")
            FUZZ_CHECK(rest.size() >= 2 && rest[0] == '^' && rest[1] >= '0' && rest[1] <= '9');
        else if (clue.what == "+mlook statements")
            FUZZ_CHECK(rest.compare(0, 6, "+mlook") == 0);
        else
            FUZZ_CHECK(rest.compare(0, clue.what.size(), clue.what) == 0);
        for (const std::string &example : clue.examples) {
            FUZZ_CHECK(!example.empty() && example == fuzz::lowerAscii(example));
            FUZZ_CHECK(std::none_of(example.begin(), example.end(),
                                    [](char c) { return static_cast<unsigned char>(c) <= 0x20; }));
            FUZZ_CHECK(fuzz::lowerAscii(text).find(example) != std::string::npos);
        }
        for (int s = 0; s < kGameSetCount; ++s)
            if (clue.sets & (1u << s))
                sum[static_cast<std::size_t>(s)] += clue.points;
    }
    FUZZ_CHECK(sum == d.scores);

    std::array<int, kGameSetCount> sorted = d.scores;
    std::sort(sorted.begin(), sorted.end());
    const bool clear = sorted[2] >= GameDetector::kMinScore && sorted[2] - sorted[1] >= GameDetector::kMinLead;
    FUZZ_CHECK(d.weak == !clear);
    if (clear) {
        const std::size_t set = static_cast<std::size_t>(std::find(kGameSets.begin(), kGameSets.end(), d.set) - kGameSets.begin());
        FUZZ_CHECK(d.scores[set] == sorted[2]);
    } else {
        const bool known = std::find(kGameSets.begin(), kGameSets.end(), defaultSet) != kGameSets.end();
        FUZZ_CHECK(d.set == (known ? defaultSet : "Q2"));
    }

    // The summary: one line, the scores first, then each clue.
    const std::string summary = d.Summary();
    FUZZ_CHECK(summary.find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(summary.rfind(scoresText(d), 0) == 0);
    FUZZ_CHECK((summary.find("; weak evidence, default set") != std::string::npos) == d.weak);
    for (const DetectionClue &clue : d.clues)
        FUZZ_CHECK(summary.find("; " + clue.what + " x" + std::to_string(clue.uses)) != std::string::npos);

    // The explanation: the game and its set, the points, a line per clue.
    const std::string explanation = d.Explanation();
    const std::vector<std::string_view> rows = lines(explanation);
    FUZZ_CHECK(rows.size() == 2 + d.clues.size());
    FUZZ_CHECK(rows[0].find(" (" + d.set + "): ") != std::string_view::npos);
    FUZZ_CHECK(rows[1] == "Points: " + scoresText(d));
    for (std::size_t i = 0; i < d.clues.size(); ++i) {
        const DetectionClue &clue = d.clues[i];
        const std::string_view row = rows[2 + i];
        FUZZ_CHECK(row.rfind(clue.what, 0) == 0);
        const std::string points = ": +" + std::to_string(clue.points) + " for ";
        FUZZ_CHECK(row.find(points) != std::string_view::npos);
        FUZZ_CHECK(row.find('\r') == std::string_view::npos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size);
    const std::string_view defaultSet = kDefaults[input.options() & 7u];
    const std::string_view text = input.body();

    const GameDetection d = detector().Detect(text, defaultSet);
    checkDetection(d, text, defaultSet);

    // The same text elsewhere in memory, in capitals, and with a comment
    // line after it reads the same.
    const std::string copy(text);
    FUZZ_CHECK(sameDetection(detector().Detect(copy, defaultSet), d));
    FUZZ_CHECK(sameDetection(detector().Detect(upperAscii(text), defaultSet), d));
    const std::string commented = copy + "\n// seta vstr cg_fov ^1 impulse 7 \"alias\" bind";
    const GameDetection c = detector().Detect(commented, defaultSet);
    FUZZ_CHECK(sameDetection(c, d));

    // A detector that has learnt nothing finds only what needs no
    // vocabulary: cg_ variables and colour codes.
    static const GameDetector empty;
    const GameDetection none = empty.Detect(text, defaultSet);
    checkDetection(none, text, defaultSet);
    for (const DetectionClue &clue : none.clues)
        FUZZ_CHECK(clue.what == "cg_ variables" || clue.what == "^ colour codes");
    return 0;
}
