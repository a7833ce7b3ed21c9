#include "language/gamedetect.h"

#include "language/dictionary.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <unordered_map>

namespace varkel {

namespace {

// The points of each kind of evidence, given for each use up to kMaxUses
// uses (for the word clues: each distinct word for its own uses), so that a
// long list of the same line cannot outweigh everything else.
constexpr int kMaxUses = 3;
constexpr int kOwnWord = 4;    // a word only one game knows
constexpr int kSharedWord = 1; // a word two of the games know
constexpr int kSeta = 4;       // Quake III's archived set (some later Quake II engines have it too)
constexpr int kVstr = 8;       // running a variable as a script: Quake III only
constexpr int kCgVariable = 4; // cgame variables (cg_...), also those of Quake III mods
constexpr int kColourCode = 4; // ^1 style colour codes in text
constexpr int kImpulse = 8;    // weapons by impulse number: Quake
constexpr int kMlook = 8;      // +mlook run as a statement of its own: Quake's mouse look habit
constexpr int kAlias = 6;      // Quake III has no alias

constexpr unsigned kQ1 = 1, kQ2 = 2, kQ3 = 4;

// Vocabulary words are at most this long; longer ones are left out.
constexpr std::size_t kMaxWordLength = 256;
constexpr std::uint64_t kHashSeed = 14695981039346656037ull;

int capped(int uses)
{
    return std::min(uses, kMaxUses);
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsLower(std::string_view word, std::string_view lowerKeyword)
{
    if (word.size() != lowerKeyword.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (lower(word[i]) != lowerKeyword[i])
            return false;
    return true;
}

std::string setNames(unsigned sets)
{
    std::string names;
    for (int s = 0; s < kGameSetCount; ++s) {
        if (!(sets & (1u << s)))
            continue;
        if (!names.empty())
            names += ' ';
        names += kGameSets[static_cast<std::size_t>(s)];
    }
    return names;
}

std::string_view gameTitle(std::string_view set)
{
    if (set == "Q1")
        return "Quake";
    if (set == "Q3")
        return "Quake III Arena";
    return "Quake II";
}

// The word clues, by the sets that know the word (index = mask).
constexpr std::array<std::string_view, 8> kWordClue{
    "", "words only Q1 knows", "words only Q2 knows", "words Q1 and Q2 know",
    "words only Q3 knows", "words Q1 and Q3 know", "words Q2 and Q3 know", ""};

} // namespace

// ---------------------------------------------------------------------------
// One pass over a script, counting what the score needs.

class DetectionScan
{
public:
    // The telling words, each a clue of its own rather than a vocabulary word.
    enum SignWord : unsigned char { NoSign, Seta, Vstr, Impulse, Alias, Mlook };
    static constexpr std::array<std::pair<std::string_view, SignWord>, 5> kSignWords{{
        {"seta", Seta}, {"vstr", Vstr}, {"impulse", Impulse}, {"alias", Alias}, {"+mlook", Mlook}}};

    DetectionScan(const GameDetector &detector, std::string_view text)
        : m_detector(detector), m_text(text), m_uses(detector.m_entries.size(), 0),
          m_first(detector.m_entries.size(), 0), m_defined(detector.m_entries.size(), 0)
    {
    }

    void run();
    GameDetection result(std::string_view defaultSet) const;

private:
    // Where a word stands.
    enum class Place { TopHead, Head, Name };
    struct Word {
        std::string_view text;
        bool quoted = false;
    };
    struct Sign {
        int uses = 0;
        std::size_t firstAt = 0;
        void add(std::size_t at)
        {
            if (uses++ == 0)
                firstAt = at;
        }
    };

    void statements(std::string_view text, bool top);
    void statement(const Word *words, int count, bool top);
    void word(std::string_view w, Place place);
    void define(std::string_view name);
    int vocabularyIndex(std::string_view w) const;
    std::size_t offsetOf(std::string_view w) const { return static_cast<std::size_t>(w.data() - m_text.data()); }

    const GameDetector &m_detector;
    std::string_view m_text;
    std::vector<int> m_uses;            // per vocabulary word
    std::vector<std::size_t> m_first;   // per vocabulary word: first use
    std::vector<unsigned char> m_defined; // per vocabulary word: the script defines it as an alias
    std::vector<int> m_order;           // vocabulary words in the order of their first use
    // cg_ words the vocabulary does not know (a mod's), lower case -> uses.
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, Sign, Hash, std::equal_to<>> m_otherCg;
    std::vector<std::string_view> m_otherCgOrder;
    std::string m_cgKey; // the lower-case form of the cg_ word at hand
    Sign m_seta, m_vstr, m_colour, m_impulse, m_mlook, m_alias;
};

int DetectionScan::vocabularyIndex(std::string_view w) const
{
    if (w.size() > m_detector.m_maxLength)
        return -1;
    char buffer[kMaxWordLength];
    std::uint64_t hash = kHashSeed;
    for (std::size_t i = 0; i < w.size(); ++i) {
        buffer[i] = lower(w[i]);
        hash = GameDetector::hashStep(hash, buffer[i]);
    }
    return m_detector.find(std::string_view(buffer, w.size()), hash);
}

void DetectionScan::run()
{
    std::size_t pos = 0;
    while (pos < m_text.size()) {
        std::size_t end = m_text.find('\n', pos);
        if (end == std::string_view::npos)
            end = m_text.size();
        std::string_view line = m_text.substr(pos, end - pos);
        pos = end + 1;
        const std::size_t comment = line.find("//");
        if (comment != std::string_view::npos)
            line = line.substr(0, comment);
        for (std::size_t caret = line.find('^'); caret != std::string_view::npos; caret = line.find('^', caret + 1))
            if (caret + 1 < line.size() && line[caret + 1] >= '0' && line[caret + 1] <= '9')
                m_colour.add(offsetOf(line.substr(caret)));
        statements(line, true);
    }
}

// How the statement splitter sees each byte.
enum ByteKind : unsigned char { WordByte, Blank, Quote, StatementEnd };
constexpr std::array<unsigned char, 256> kByteKinds = [] {
    std::array<unsigned char, 256> kinds{};
    for (int c = 0; c <= ' '; ++c)
        kinds[static_cast<std::size_t>(c)] = Blank;
    kinds['"'] = Quote;
    kinds[';'] = StatementEnd;
    kinds['\r'] = StatementEnd;
    return kinds;
}();

inline unsigned char kindOf(char c)
{
    return kByteKinds[static_cast<unsigned char>(c)];
}

// Splits text into statements at ";" and at a carriage return (which the
// games read as a line end), and each statement into words: spaces and
// control characters separate words, a double-quoted run is one word. Only
// the first three words of a statement matter.
void DetectionScan::statements(std::string_view text, bool top)
{
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    const char *p = begin;
    while (p < end) {
        Word words[3];
        int count = 0;
        while (p < end) {
            const unsigned char kind = kindOf(*p);
            if (kind == StatementEnd) {
                ++p;
                break;
            }
            if (kind == Blank) {
                ++p;
                continue;
            }
            const char *start = p;
            bool quoted = false;
            if (kind == Quote) {
                quoted = true;
                ++start;
                const void *close = std::memchr(start, '"', static_cast<std::size_t>(end - start));
                p = close ? static_cast<const char *>(close) : end;
            } else {
                while (p < end && kindOf(*p) == WordByte)
                    ++p;
            }
            if (count < 3)
                words[count] = {std::string_view(start, static_cast<std::size_t>(p - start)), quoted};
            ++count;
            if (quoted && p < end)
                ++p; // the closing quote
        }
        if (count > 0)
            statement(words, std::min(count, 3), top);
    }
}

void DetectionScan::statement(const Word *words, int count, bool top)
{
    const std::string_view head = words[0].text;
    word(head, top ? Place::TopHead : Place::Head);
    if (count < 2)
        return;
    if (equalsLower(head, "alias")) {
        define(words[1].text);
        if (count >= 3) {
            if (words[2].quoted)
                statements(words[2].text, false);
            else
                word(words[2].text, Place::Head);
        }
    } else if (equalsLower(head, "bind")) {
        if (count >= 3) {
            if (words[2].quoted)
                statements(words[2].text, false);
            else
                word(words[2].text, Place::Head);
        }
    } else if (equalsLower(head, "set") || equalsLower(head, "seta") || equalsLower(head, "sets") ||
               equalsLower(head, "setu")) {
        word(words[1].text, Place::Name);
        // A quoted value set at the top may be a script run later with vstr.
        if (count >= 3 && words[2].quoted && top)
            statements(words[2].text, false);
    }
}

void DetectionScan::define(std::string_view name)
{
    const int index = vocabularyIndex(name);
    if (index >= 0)
        m_defined[static_cast<std::size_t>(index)] = 1;
}

void DetectionScan::word(std::string_view w, Place place)
{
    if (w.empty())
        return;
    const std::size_t at = offsetOf(w);
    const int index = vocabularyIndex(w);
    if (index >= 0) {
        const auto i = static_cast<std::size_t>(index);
        switch (m_detector.m_entries[i].sign) {
        case Seta:
            m_seta.add(at);
            return;
        case Vstr:
            m_vstr.add(at);
            return;
        case Impulse:
            m_impulse.add(at);
            return;
        case Alias:
            m_alias.add(at);
            return;
        case Mlook:
            if (place == Place::TopHead)
                m_mlook.add(at);
            return;
        default:
            break;
        }
        if (m_uses[i]++ == 0) {
            m_first[i] = at;
            m_order.push_back(index);
        }
        return;
    }
    // A cg_ word the vocabulary does not know: a mod's variable, unless it is
    // a quoted run holding blanks, which names no variable.
    if (w.size() > 3 && lower(w[0]) == 'c' && lower(w[1]) == 'g' && w[2] == '_' &&
        std::none_of(w.begin(), w.end(), [](char c) { return static_cast<unsigned char>(c) <= 0x20; })) {
        std::string &key = m_cgKey;
        key.assign(w);
        std::transform(key.begin(), key.end(), key.begin(), lower);
        auto it = m_otherCg.find(key);
        if (it == m_otherCg.end()) {
            it = m_otherCg.emplace(key, Sign{}).first;
            m_otherCgOrder.push_back(it->first);
        }
        it->second.add(at);
    }
}

GameDetection DetectionScan::result(std::string_view defaultSet) const
{
    GameDetection r;
    auto addSign = [&](std::string_view what, unsigned sets, const Sign &sign, int weight) {
        if (sign.uses == 0)
            return;
        DetectionClue clue;
        clue.what = what;
        clue.sets = sets;
        clue.uses = sign.uses;
        clue.points = weight * capped(sign.uses);
        clue.firstAt = sign.firstAt;
        r.clues.push_back(std::move(clue));
    };
    addSign("vstr", kQ3, m_vstr, kVstr);
    addSign("seta", kQ3, m_seta, kSeta);

    // cg_ variables, known or not, each counted by its own uses.
    DetectionClue cg;
    cg.what = "cg_ variables";
    cg.sets = kQ3;
    cg.firstAt = m_text.size();
    auto addCg = [&](int uses, std::size_t at) {
        ++cg.uses;
        cg.points += kCgVariable * capped(uses);
        cg.firstAt = std::min(cg.firstAt, at);
    };
    std::array<DetectionClue, 8> words;
    std::vector<std::pair<std::size_t, std::string_view>> cgNames; // (first use, name)
    for (int index : m_order) {
        const auto i = static_cast<std::size_t>(index);
        if (m_defined[i])
            continue;
        const std::string_view name = m_detector.m_entries[i].name;
        if (name.size() > 3 && name.compare(0, 3, "cg_") == 0) {
            addCg(m_uses[i], m_first[i]);
            cgNames.emplace_back(m_first[i], name);
            continue;
        }
        const unsigned mask = m_detector.m_entries[i].sets;
        if (mask == 0 || mask == (kQ1 | kQ2 | kQ3))
            continue;
        DetectionClue &clue = words[mask];
        if (clue.uses++ == 0)
            clue.firstAt = m_first[i];
        clue.points += (std::popcount(mask) == 1 ? kOwnWord : kSharedWord) * capped(m_uses[i]);
        if (clue.examples.size() < 3)
            clue.examples.emplace_back(name);
    }
    for (std::string_view name : m_otherCgOrder) {
        const Sign &sign = m_otherCg.find(name)->second;
        addCg(sign.uses, sign.firstAt);
        cgNames.emplace_back(sign.firstAt, name);
    }
    if (cg.uses > 0) {
        std::sort(cgNames.begin(), cgNames.end());
        for (std::size_t k = 0; k < cgNames.size() && k < 3; ++k)
            cg.examples.emplace_back(cgNames[k].second);
        r.clues.push_back(std::move(cg));
    }
    addSign("^ colour codes", kQ3, m_colour, kColourCode);
    addSign("impulse", kQ1, m_impulse, kImpulse);
    addSign("+mlook statements", kQ1, m_mlook, kMlook);
    addSign("alias", kQ1 | kQ2, m_alias, kAlias);
    for (unsigned mask : {kQ1, kQ2, kQ3, kQ1 | kQ2, kQ1 | kQ3, kQ2 | kQ3}) {
        DetectionClue &clue = words[mask];
        if (clue.uses == 0)
            continue;
        clue.what = kWordClue[mask];
        clue.sets = mask;
        r.clues.push_back(std::move(clue));
    }

    for (const DetectionClue &clue : r.clues)
        for (int s = 0; s < kGameSetCount; ++s)
            if (clue.sets & (1u << s))
                r.scores[static_cast<std::size_t>(s)] += clue.points;

    // The best set, the first of Q1, Q2, Q3 on a tie.
    int best = 0;
    for (int s = 1; s < kGameSetCount; ++s)
        if (r.scores[static_cast<std::size_t>(s)] > r.scores[static_cast<std::size_t>(best)])
            best = s;
    int second = -1;
    for (int s = 0; s < kGameSetCount; ++s)
        if (s != best && (second < 0 || r.scores[static_cast<std::size_t>(s)] > second))
            second = r.scores[static_cast<std::size_t>(s)];
    const int top = r.scores[static_cast<std::size_t>(best)];
    if (top >= GameDetector::kMinScore && top - second >= GameDetector::kMinLead) {
        r.set = kGameSets[static_cast<std::size_t>(best)];
    } else {
        r.weak = true;
        const bool known = std::find(kGameSets.begin(), kGameSets.end(), defaultSet) != kGameSets.end();
        r.set = known ? defaultSet : "Q2";
    }
    return r;
}

// ---------------------------------------------------------------------------

std::uint64_t GameDetector::hashStep(std::uint64_t h, char lowerByte)
{
    return (h ^ static_cast<unsigned char>(lowerByte)) * 1099511628211ull;
}

int GameDetector::find(std::string_view lowerWord, std::uint64_t hash) const
{
    if (m_table.empty())
        return -1;
    const std::size_t mask = m_table.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
        const std::uint32_t slot = m_table[i];
        if (slot == 0)
            return -1;
        if (m_entries[slot - 1].name == lowerWord)
            return static_cast<int>(slot - 1);
    }
}

int GameDetector::insert(std::string_view lowerWord)
{
    std::uint64_t hash = kHashSeed;
    for (char c : lowerWord)
        hash = hashStep(hash, c);
    int index = find(lowerWord, hash);
    if (index >= 0)
        return index;
    index = static_cast<int>(m_entries.size());
    m_entries.push_back({std::string(lowerWord), 0, 0});
    const std::size_t mask = m_table.size() - 1;
    std::size_t i = static_cast<std::size_t>(hash) & mask;
    while (m_table[i] != 0)
        i = (i + 1) & mask;
    m_table[i] = static_cast<std::uint32_t>(index + 1);
    m_maxLength = std::max(m_maxLength, lowerWord.size());
    return index;
}

void GameDetector::Learn(const GameDictionary &q1, const GameDictionary &q2, const GameDictionary &q3)
{
    m_entries.clear();
    m_maxLength = 0;
    const GameDictionary *dicts[kGameSetCount] = {&q1, &q2, &q3};
    std::size_t total = DetectionScan::kSignWords.size();
    for (const GameDictionary *dict : dicts)
        total += dict->Commands().size() + dict->Cvars().size();
    std::size_t size = 16;
    while (size < 2 * total)
        size *= 2;
    m_table.assign(size, 0);

    // The telling words are known whatever the data files hold.
    for (const auto &[word, sign] : DetectionScan::kSignWords)
        m_entries[static_cast<std::size_t>(insert(word))].sign = sign;
    for (int s = 0; s < kGameSetCount; ++s) {
        const auto bit = static_cast<unsigned char>(1u << s);
        for (const auto *list : {&dicts[s]->Commands(), &dicts[s]->Cvars()})
            for (const std::string &word : *list)
                if (!word.empty() && word.size() <= kMaxWordLength)
                    m_entries[static_cast<std::size_t>(insert(word))].sets |= bit;
    }
}

GameDetection GameDetector::Detect(std::string_view text, std::string_view defaultSet) const
{
    DetectionScan scan(*this, text);
    scan.run();
    return scan.result(defaultSet);
}

Error BuildGameDetector(GameDetector &detector, const std::string &dataDir)
{
    GameDictionary dicts[kGameSetCount];
    for (int s = 0; s < kGameSetCount; ++s)
        if (Error e = BuildDictionary(dicts[s], dataDir, kGameSets[static_cast<std::size_t>(s)]))
            return e;
    detector.Learn(dicts[0], dicts[1], dicts[2]);
    return {};
}

// ---------------------------------------------------------------------------

namespace {

// " (a b ...)": a clue's example words, joined by sep, with an ellipsis when
// the clue was met more often than it keeps examples.
void appendExamples(std::string &out, const DetectionClue &clue, std::string_view sep)
{
    if (clue.examples.empty())
        return;
    out += " (";
    for (std::size_t k = 0; k < clue.examples.size(); ++k) {
        if (k > 0)
            out += sep;
        out += clue.examples[k];
    }
    if (clue.uses > static_cast<int>(clue.examples.size())) {
        out += sep;
        out += "...";
    }
    out += ')';
}

} // namespace

std::string GameDetection::Summary() const
{
    std::string out;
    for (int s = 0; s < kGameSetCount; ++s) {
        if (s > 0)
            out += ", ";
        out += kGameSets[static_cast<std::size_t>(s)];
        out += ' ';
        out += std::to_string(scores[static_cast<std::size_t>(s)]);
    }
    if (weak)
        out += "; weak evidence, default set";
    for (const DetectionClue &clue : clues) {
        out += "; ";
        out += clue.what;
        out += " x";
        out += std::to_string(clue.uses);
        appendExamples(out, clue, " ");
        out += ": +";
        out += std::to_string(clue.points);
        out += ' ';
        out += setNames(clue.sets);
    }
    return out;
}

std::string GameDetection::Explanation() const
{
    std::string out;
    out += gameTitle(set);
    out += " (";
    out += set;
    out += weak ? "): the default set; the script's words do not tell its game.\n"
                : "): chosen by the script's words.\n";
    out += "Points: ";
    for (int s = 0; s < kGameSetCount; ++s) {
        if (s > 0)
            out += ", ";
        out += kGameSets[static_cast<std::size_t>(s)];
        out += ' ';
        out += std::to_string(scores[static_cast<std::size_t>(s)]);
    }
    out += '\n';
    for (const DetectionClue &clue : clues) {
        out += clue.what;
        appendExamples(out, clue, ", ");
        out += ", ";
        out += std::to_string(clue.uses);
        out += clue.examples.empty() ? (clue.uses == 1 ? " time" : " times") : (clue.uses == 1 ? " word" : " words");
        out += ": +";
        out += std::to_string(clue.points);
        out += " for ";
        out += setNames(clue.sets);
        out += '\n';
    }
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

} // namespace varkel
