#pragma once
// Telling which game a script was written for from its own words: a score
// for each command set ("Q1", "Q2", "Q3") that anyone can follow. The words
// at command positions (the first word of each statement, also inside
// `alias` and `bind` bodies, and the variable of `set`/`seta`) are looked up
// in the commands and console variables of the three sets: a word only one
// game knows speaks for that game, a word two games know for both of them,
// a little. A few habits tell more than any single word: `seta`, `vstr`,
// `cg_` variables and ^ colour codes point to Quake III Arena; `impulse` and
// `+mlook` run as a statement of its own point to Quake; `alias` to the two
// games that have it. When the scores cannot tell, the default set is used.

#include "app/errors.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <cstdint>
#include <vector>

namespace varkel {

class GameDictionary;

// The three command sets, in this order everywhere below.
inline constexpr int kGameSetCount = 3;
inline constexpr std::array<std::string_view, kGameSetCount> kGameSets{"Q1", "Q2", "Q3"};

// One kind of evidence found in a script and what it gave.
struct DetectionClue {
    std::string what;                  // e.g. "vstr", "cg_ variables", "words only Q2 knows"
    unsigned sets = 0;                 // the sets it speaks for: bit 0 Q1, bit 1 Q2, bit 2 Q3
    int uses = 0;                      // how often the script shows it (distinct words for word clues)
    int points = 0;                    // added to the score of each of those sets
    std::size_t firstAt = 0;           // byte offset in the script of its first use
    std::vector<std::string> examples; // up to three words, in the order the script first uses them
};

struct GameDetection {
    std::string set;                 // the set to use: "Q1", "Q2" or "Q3"
    bool weak = false;               // the words could not tell: `set` is the default
    std::array<int, kGameSetCount> scores{};
    std::vector<DetectionClue> clues; // only those found, in a fixed order

    // One line: the scores, whether the default was taken, and each clue.
    std::string Summary() const;
    // A few lines for a tool tip: the set and why it was chosen.
    std::string Explanation() const;
};

class GameDetector
{
public:
    GameDetector() = default;

    // Learns the commands and console variables of the three sets from
    // their dictionaries (Q1, Q2, Q3 in this order).
    void Learn(const GameDictionary &q1, const GameDictionary &q2, const GameDictionary &q3);
    bool empty() const { return m_entries.empty(); }

    // Scores a whole script and chooses its set. `defaultSet` is taken when
    // the evidence is weak: the best set needs at least kMinScore points and
    // a lead of kMinLead over the next. A default other than the three sets
    // counts as "Q2".
    GameDetection Detect(std::string_view text, std::string_view defaultSet) const;

    static constexpr int kMinScore = 6;
    static constexpr int kMinLead = 4;

private:
    // A word of the vocabulary: which sets know it (bits as in
    // DetectionClue::sets) and its lower-case spelling.
    struct Entry {
        std::string name;
        unsigned char sets = 0;
        unsigned char sign = 0; // a telling word (DetectionScan::SignWord), 0 for none
    };
    // Open-addressed table of entry numbers + 1 (0 = free), indexed by the
    // hash of the lower-case word: the lookup lower-cases and hashes a
    // script's word in one pass, without allocating.
    static std::uint64_t hashStep(std::uint64_t h, char lowerByte);
    int find(std::string_view lowerWord, std::uint64_t hash) const;
    int insert(std::string_view lowerWord);

    std::vector<Entry> m_entries;
    std::vector<std::uint32_t> m_table;
    std::size_t m_maxLength = 0;

    friend class DetectionScan;
};

// Builds the dictionaries of the three sets from dataDir and teaches the
// detector their words. Returns the first set's failure, if any.
Error BuildGameDetector(GameDetector &detector, const std::string &dataDir);

} // namespace varkel
