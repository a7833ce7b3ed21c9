#include "bindings/lint.h"

#include "bindings/execchain.h"
#include "bindings/scriptfiles.h"
#include "language/dictionary.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <unordered_map>

namespace varkel {

// ---------------------------------------------------------------------------
// Codes

std::string_view LintCodeName(LintCode code)
{
    switch (code) {
    case LintCode::UnclosedQuote:
        return "unclosed-quote";
    case LintCode::UnknownKey:
        return "unknown-key";
    case LintCode::DuplicateBind:
        return "duplicate-bind";
    case LintCode::ExecMissing:
        return "exec-missing";
    case LintCode::ExecCycle:
        return "exec-cycle";
    case LintCode::AliasLoop:
        return "alias-loop";
    case LintCode::UnknownName:
        return "unknown-name";
    }
    return {};
}

std::string_view LintSeverityName(LintSeverity severity)
{
    return severity == LintSeverity::Warning ? "warning" : "note";
}

LintSeverity LintSeverityOf(LintCode code)
{
    return code == LintCode::UnknownName ? LintSeverity::Note : LintSeverity::Warning;
}

bool IsLineLocal(LintCode code)
{
    return code == LintCode::UnclosedQuote || code == LintCode::UnknownKey || code == LintCode::UnknownName;
}

std::string FormatFinding(const LintFinding &f)
{
    std::string out = std::to_string(f.line + 1) + ':' + std::to_string(f.column + 1) + ": ";
    out += LintSeverityName(f.severity);
    out += ": ";
    out += f.message;
    out += " [";
    out += LintCodeName(f.code);
    out += ']';
    return out;
}

// ---------------------------------------------------------------------------
// Vocabulary

namespace {

std::string lowered(std::string_view text)
{
    std::string out;
    AsciiLower(text, out);
    return out;
}

void sortUnique(std::vector<std::string> &list)
{
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

LintVocabulary::LintVocabulary(const GameDictionary &dict) : m_set(dict.Set()), m_vstr(dict.usesVstr())
{
    for (const auto *list : {&dict.Commands(), &dict.Cvars()})
        for (const std::string &name : *list)
            if (!name.empty())
                m_sortedNames.push_back(lowered(name));
    sortUnique(m_sortedNames);
    m_names.insert(m_sortedNames.begin(), m_sortedNames.end());

    for (const std::string &key : dict.KeyNames())
        if (!key.empty())
            m_sortedKeys.push_back(lowered(key));
    for (const std::string &key : dict.ExtraKeyNames())
        if (!key.empty())
            m_sortedKeys.push_back(lowered(key));
    sortUnique(m_sortedKeys);
    m_keys.insert(m_sortedKeys.begin(), m_sortedKeys.end());
}

bool LintVocabulary::isKey(std::string_view word) const
{
    // One printable character is a key of its own in every game.
    if (word.size() == 1)
        return word[0] >= 0x20 && word[0] <= 0x7e;
    // Quake III also takes a key by its number.
    if (m_vstr && word.size() == 4 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X') && isHexDigit(word[2]) &&
        isHexDigit(word[3]))
        return true;
    constexpr std::size_t kBuffer = 32;
    if (word.empty() || word.size() > kBuffer)
        return false;
    char buffer[kBuffer];
    for (std::size_t i = 0; i < word.size(); ++i)
        buffer[i] = word[i] >= 'A' && word[i] <= 'Z' ? static_cast<char>(word[i] - 'A' + 'a') : word[i];
    return m_keys.find(std::string_view(buffer, word.size())) != m_keys.end();
}

void LintVocabulary::setUserNames(const std::vector<std::string> &names)
{
    m_userNames.clear();
    m_sortedUserNames.clear();
    for (const std::string &name : names)
        addUserName(name);
}

void LintVocabulary::addUserName(std::string_view name)
{
    if (name.empty())
        return;
    std::string lower = lowered(name);
    if (!m_userNames.insert(lower).second)
        return;
    m_sortedUserNames.insert(std::lower_bound(m_sortedUserNames.begin(), m_sortedUserNames.end(), lower),
                             std::move(lower));
}

std::vector<std::string> ParseUserNames(std::string_view text)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        while (!line.empty() && IsScriptBlank(line.front()))
            line.remove_prefix(1);
        while (!line.empty() && IsScriptBlank(line.back()))
            line.remove_suffix(1);
        if (!line.empty())
            names.emplace_back(line);
        start = end + 1;
    }
    return names;
}

std::string WithUserName(std::string_view text, std::string_view name)
{
    std::string out(text);
    for (const std::string &known : ParseUserNames(text))
        if (EqualsNoCase(known, name))
            return out;
    // The list's own line end: the first one it holds.
    std::string_view lineEnd = "\n";
    if (const std::size_t at = text.find_first_of("\r\n"); at != std::string_view::npos)
        lineEnd = text[at] == '\n' ? "\n" : (at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r");
    if (!out.empty() && out.back() != '\n' && out.back() != '\r')
        out += lineEnd;
    out += name;
    out += lineEnd;
    return out;
}

void ScriptNames::merge(const ScriptNames &other)
{
    defined.insert(other.defined.begin(), other.defined.end());
    runVariables.insert(other.runVariables.begin(), other.runVariables.end());
}

// ---------------------------------------------------------------------------
// Nearest names

namespace {

// The edit distance of a and b when it is at most `limit` (one insertion,
// deletion, change, or swap of two neighbours each), otherwise limit + 1.
std::size_t boundedDistance(std::string_view a, std::string_view b, std::size_t limit)
{
    const std::size_t n = a.size(), m = b.size();
    if ((n > m ? n - m : m - n) > limit)
        return limit + 1;
    constexpr std::size_t kMax = 64;
    if (m >= kMax)
        return limit + 1;
    // Three rows of the table, turned round rather than copied.
    std::size_t rows[3][kMax + 1];
    std::size_t *before = rows[0], *previous = rows[1], *current = rows[2];
    for (std::size_t j = 0; j <= m; ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= n; ++i) {
        current[0] = i;
        std::size_t rowLeast = current[0];
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            std::size_t d = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d = std::min(d, before[j - 2] + 1);
            current[j] = d;
            rowLeast = std::min(rowLeast, d);
        }
        if (rowLeast > limit)
            return limit + 1;
        std::size_t *const oldest = before;
        before = previous;
        previous = current;
        current = oldest;
    }
    return std::min(previous[m], limit + 1);
}

// How far a name may be from a word and still be offered for it: a
// two-letter word is near too many names to suggest any.
std::size_t distanceLimit(std::size_t length)
{
    return length <= 2 ? 0 : length <= 5 ? 1 : length <= 9 ? 2 : 3;
}

// The names suggestions are taken from, each with the set of bytes it holds
// (a bit per byte, folded into 64): a name that holds k bytes the word does
// not (or the other way round) is at least k edits away, which rules out
// most names without working out their distance.
inline unsigned bitCount(std::uint64_t x)
{
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0full;
    return static_cast<unsigned>((x * 0x0101010101010101ull) >> 56);
}

class NameIndex
{
public:
    void add(const std::vector<std::string> &list)
    {
        for (const std::string &name : list) {
            if (name.size() >= m_byLength.size())
                continue; // longer than any word a distance is worked out for
            m_byLength[name.size()].push_back(Entry{name, mask(name)});
            ++m_count;
        }
    }

    std::vector<std::string> nearest(std::string_view lower, std::size_t limit) const
    {
        const std::size_t most = distanceLimit(lower.size());
        if (most == 0 || lower.size() >= m_byLength.size())
            return {};
        const std::uint64_t wordMask = mask(lower);
        std::vector<std::pair<std::size_t, std::string_view>> found;
        const std::size_t shortest = lower.size() > most ? lower.size() - most : 0;
        const std::size_t longest = std::min(lower.size() + most, m_byLength.size() - 1);
        for (std::size_t length = shortest; length <= longest; ++length)
            for (const Entry &e : m_byLength[length]) {
                if (bitCount(e.mask & ~wordMask) > most || bitCount(wordMask & ~e.mask) > most)
                    continue;
                const std::size_t d = boundedDistance(lower, e.name, most);
                if (d <= most && d > 0)
                    found.emplace_back(d, e.name);
            }
        std::sort(found.begin(), found.end());
        // Only the nearest: a name one edit away hides those two away.
        std::vector<std::string> names;
        for (const auto &[d, name] : found) {
            if (names.size() == limit || d > found.front().first)
                break;
            if (std::find(names.begin(), names.end(), name) == names.end())
                names.emplace_back(name);
        }
        return names;
    }

    bool empty() const { return m_count == 0; }

private:
    struct Entry {
        std::string_view name;
        std::uint64_t mask;
    };

    static std::uint64_t mask(std::string_view s)
    {
        std::uint64_t m = 0;
        for (const char c : s)
            m |= std::uint64_t(1) << (static_cast<unsigned char>(c) % 64);
        return m;
    }

    std::array<std::vector<Entry>, 64> m_byLength; // the names by their length
    std::size_t m_count = 0;
};

} // namespace

std::vector<std::string> NearestNames(std::string_view word, const std::vector<const std::vector<std::string> *> &lists,
                                      std::size_t limit)
{
    NameIndex index;
    for (const std::vector<std::string> *list : lists)
        index.add(*list);
    return index.nearest(lowered(word), limit);
}

// ---------------------------------------------------------------------------
// Checking commands

namespace {

// How deep bodies inside bodies are read (`bind k "alias a b"` is two).
constexpr int kMaxBodyDepth = 4;

// Suggestions are taken from the script's own names up to this many.
constexpr std::size_t kMaxSuggestedDefinitions = 10000;

bool isSetCommand(std::string_view lower)
{
    return lower == "set" || lower == "seta" || lower == "sets" || lower == "setu";
}

// A body command that keeps a loop from hanging the game: it waits a frame,
// or it redefines an alias or variable (so the next round may differ).
bool breaksLoop(std::string_view lower)
{
    return lower == "wait" || lower == "alias" || isSetCommand(lower);
}

std::string quotedList(const std::vector<std::string> &names)
{
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            out += i + 1 == names.size() ? " or " : ", ";
        out += names[i];
    }
    return out;
}

// The text of a command's body from word `first` on: the word itself when it
// is the last, else the command's bytes from that word to its end (the game
// joins the words and reads them again).
std::string_view bodyOf(const ScriptCommand &c, std::string_view readerText, std::size_t first)
{
    if (first + 1 == c.words.size())
        return c.words[first].text;
    return readerText.substr(c.words[first].start, c.end - c.words[first].start);
}

bool byPlace(const LintFinding &a, const LintFinding &b)
{
    return a.position != b.position ? a.position < b.position : a.code < b.code;
}

// An `exec` inside a body: checked against the files by LintScript.
struct BodyExec {
    std::string_view name;
    std::size_t position = 0;
    std::size_t length = 0;
    int line = 0;
    std::size_t lineStart = 0;
};

// The line-local checks of commands, top level and bodies alike. `base` is
// the script's first byte: every word is a view into the script, so its
// place is where its bytes are.
class CommandChecker
{
public:
    CommandChecker(const LintVocabulary &vocab, const ScriptNames &names) : m_vocab(vocab), m_names(names) {}

    // The script checked next, whose first byte is `base`, and where its
    // findings go. The suggestions found so far are kept: they depend on
    // the names only.
    void begin(const char *base, std::vector<LintFinding> *out)
    {
        m_base = base;
        m_out = out;
        bodyExecs.clear();
    }

    // A command read from `readerText` (a view into the script) on the line
    // `line` that begins at byte `lineStart`.
    void check(const ScriptCommand &c, std::string_view readerText, int line, std::size_t lineStart)
    {
        m_line = line;
        m_lineStart = lineStart;
        const std::size_t first = m_out->size();
        for (const ScriptWord &w : c.words)
            if (!w.closed)
                add(LintCode::UnclosedQuote, offset(readerText, w.start), 1,
                    "this quote is never closed: the rest of the line is one word", {});
        checkCommand(c, readerText, 0);
        // The command's findings in the order of their places, so that the
        // findings of a script come out in order.
        if (m_out->size() - first > 1)
            std::stable_sort(m_out->begin() + static_cast<std::ptrdiff_t>(first), m_out->end(), byPlace);
    }

    std::vector<BodyExec> bodyExecs;

private:
    std::size_t offset(std::string_view readerText, std::size_t at) const
    {
        return static_cast<std::size_t>(readerText.data() - m_base) + at;
    }

    void add(LintCode code, std::size_t position, std::size_t length, std::string message, std::string_view name)
    {
        LintFinding f;
        f.code = code;
        f.severity = LintSeverityOf(code);
        f.line = m_line;
        f.column = position - m_lineStart;
        f.position = position;
        f.length = std::max<std::size_t>(length, 1);
        f.message = std::move(message);
        f.name = name;
        m_out->push_back(std::move(f));
    }

    bool known(std::string_view lower) const
    {
        if (m_vocab.isCommandOrCvar(lower) || m_vocab.isUserName(lower) || m_names.defined.count(lower))
            return true;
        // -x and +x go with the + command or alias +x.
        if (lower.size() > 1 && (lower[0] == '+' || lower[0] == '-')) {
            m_plus.assign(1, '+');
            m_plus.append(lower.substr(1));
            return m_vocab.isCommandOrCvar(m_plus) || m_vocab.isUserName(m_plus) || m_names.defined.count(m_plus);
        }
        return false;
    }

    const std::string &suggestion(const std::string &lower, bool key)
    {
        auto &cache = key ? m_keySuggestions : m_nameSuggestions;
        const auto it = cache.find(lower);
        if (it != cache.end())
            return it->second;
        NameIndex &index = key ? m_keyIndex : m_nameIndex;
        if (index.empty()) {
            if (key) {
                index.add(m_vocab.keyNames());
            } else {
                // A script that defines a great many names (a generated
                // one) would make every suggestion slow: its names are then
                // left out of them.
                if (m_names.defined.size() <= kMaxSuggestedDefinitions)
                    m_defined.assign(m_names.defined.begin(), m_names.defined.end());
                index.add(m_vocab.names());
                index.add(m_vocab.userNames());
                index.add(m_defined);
            }
        }
        const std::vector<std::string> nearest = index.nearest(lower, 3);
        return cache.emplace(lower, nearest.empty() ? std::string() : " (did you mean " + quotedList(nearest) + "?)")
            .first->second;
    }

    void checkKey(const ScriptWord &key, std::string_view readerText)
    {
        if (m_vocab.isKey(key.text) || key.text.find('$') != std::string_view::npos)
            return;
        std::string lower = lowered(key.text);
        std::string message = key.text.empty() ? std::string("the key name is empty")
                                               : "unknown key \"" + std::string(key.text) + "\"";
        if (!key.text.empty())
            message += suggestion(lower, true);
        add(LintCode::UnknownKey, offset(readerText, key.start), key.end - key.start, std::move(message), key.text);
    }

    void checkBody(std::string_view body, int depth)
    {
        if (depth >= kMaxBodyDepth)
            return;
        ScriptReader reader(body);
        ScriptCommand &command = m_bodyCommands[static_cast<std::size_t>(depth)];
        while (reader.next(command))
            checkCommand(command, body, depth + 1);
    }

    void checkCommand(const ScriptCommand &c, std::string_view readerText, int depth)
    {
        const ScriptWord &first = c.words.front();
        AsciiLower(first.text, m_lower);
        // A word with a "$" in it is a macro that the engines which have
        // them expand before running the command: its name is not known yet.
        if (!m_lower.empty() && !known(m_lower) && m_lower.find('$') == std::string::npos) {
            auto it = m_unknownMessages.find(first.text);
            if (it == m_unknownMessages.end()) {
                const std::string lower = m_lower;
                it = m_unknownMessages
                         .emplace(std::string(first.text), "unknown command or variable \"" + std::string(first.text) +
                                                               "\"" + suggestion(lower, false))
                         .first;
            }
            add(LintCode::UnknownName, offset(readerText, first.start), first.end - first.start, it->second,
                first.text);
        }
        if (m_lower == "bind") {
            if (c.words.size() >= 2)
                checkKey(c.words[1], readerText);
            if (c.words.size() >= 3)
                checkBody(bodyOf(c, readerText, 2), depth);
        } else if (m_lower == "unbind") {
            if (c.words.size() >= 2)
                checkKey(c.words[1], readerText);
        } else if (m_lower == "alias") {
            if (c.words.size() >= 3)
                checkBody(bodyOf(c, readerText, 2), depth);
        } else if (isSetCommand(m_lower)) {
            // A variable's value is a script only when some vstr runs it.
            if (m_vocab.usesVstr() && c.words.size() >= 3) {
                AsciiLower(c.words[1].text, m_lower);
                if (m_names.runVariables.count(m_lower))
                    checkBody(bodyOf(c, readerText, 2), depth);
            }
        } else if (m_lower == "exec" && depth > 0 && c.words.size() >= 2 && !c.words[1].text.empty()) {
            const ScriptWord &name = c.words[1];
            bodyExecs.push_back(
                BodyExec{name.text, offset(readerText, name.start), name.end - name.start, m_line, m_lineStart});
        }
    }

    const LintVocabulary &m_vocab;
    const ScriptNames &m_names;
    const char *m_base = nullptr;
    std::vector<LintFinding> *m_out = nullptr;
    int m_line = 0;
    std::size_t m_lineStart = 0;
    std::string m_lower;
    mutable std::string m_plus;
    std::vector<std::string> m_defined; // the defined names, once a suggestion needs them
    NameIndex m_nameIndex, m_keyIndex;
    std::array<ScriptCommand, kMaxBodyDepth> m_bodyCommands; // one per depth, their storage reused
    std::unordered_map<std::string, std::string, NameHash, std::equal_to<>> m_unknownMessages; // by the word as written
    std::unordered_map<std::string, std::string> m_nameSuggestions, m_keySuggestions;
};

// ---------------------------------------------------------------------------
// Collecting what the scripts define: the names, and for the loop check the
// bodies of aliases (Q1, Q2) or of variables (Q3) with what they run.

class Definitions
{
public:
    explicit Definitions(const LintVocabulary &vocab) : m_vstr(vocab.usesVstr()) {}

    struct Place {
        std::size_t script = 0;
        int line = 0;
        std::size_t lineStart = 0;
        std::size_t position = 0; // of the name
        std::size_t length = 0;
    };

    // A top-level command of script `script`, whose bytes begin at `base`.
    void command(std::size_t script, const char *base, const ScriptCommand &c, std::string_view readerText)
    {
        m_script = script;
        m_base = base;
        m_line = c.line;
        m_lineStart = c.lineStart;
        collect(c, readerText, 0);
    }

    ScriptNames names;

    // The names on a loop that hangs the game, with the place of each
    // definition that takes part in it.
    struct Loop {
        Place place;
        std::string name;
        std::vector<std::string> path; // name, ..., name
    };
    std::vector<Loop> loops(std::size_t script) const;

private:
    // A definition that can take part in a hanging loop: its body neither
    // waits nor redefines anything.
    struct Definition {
        int name = 0;
        Place place;
        std::vector<int> calls;
    };

    int intern(std::string_view lower)
    {
        if (const auto it = m_ids.find(lower); it != m_ids.end())
            return it->second;
        const auto it = m_ids.emplace(std::string(lower), static_cast<int>(m_idNames.size())).first;
        m_idNames.push_back(it->first);
        return it->second;
    }

    void define(const ScriptWord &name, std::string_view nameLower, std::string_view body, std::string_view readerText)
    {
        Definition d;
        ScriptReader reader(body);
        ScriptCommand &command = m_defineCommand;
        while (reader.next(command)) {
            AsciiLower(command.words.front().text, m_lower);
            if (breaksLoop(m_lower))
                return;
            if (!m_vstr)
                d.calls.push_back(intern(m_lower));
            else if (m_lower == "vstr" && command.words.size() >= 2)
                d.calls.push_back(intern(lowered(command.words[1].text)));
        }
        // In Quake III only vstr runs a variable: a value that runs none
        // (most are plain values) cannot be on a loop.
        if (m_vstr && d.calls.empty())
            return;
        d.name = intern(nameLower);
        d.place = Place{m_script, m_line, m_lineStart,
                        static_cast<std::size_t>(readerText.data() - m_base) + name.start, name.end - name.start};
        m_definitions.push_back(std::move(d));
    }

    void collectBody(std::string_view body, int depth)
    {
        if (depth >= kMaxBodyDepth)
            return;
        ScriptReader reader(body);
        ScriptCommand &command = m_bodyCommands[static_cast<std::size_t>(depth)];
        while (reader.next(command))
            collect(command, body, depth + 1);
    }

    void collect(const ScriptCommand &c, std::string_view readerText, int depth)
    {
        AsciiLower(c.words.front().text, m_lower);
        if (m_lower == "alias" || isSetCommand(m_lower)) {
            const bool alias = m_lower == "alias";
            if (c.words.size() < 2 || c.words[1].text.empty())
                return;
            AsciiLower(c.words[1].text, m_name);
            if (names.defined.find(m_name) == names.defined.end())
                names.defined.insert(m_name);
            if (c.words.size() < 3 || (!alias && !m_vstr))
                return;
            const std::string_view body = bodyOf(c, readerText, 2);
            if (alias != m_vstr)
                define(c.words[1], m_name, body, readerText);
            collectBody(body, depth);
        } else if (m_lower == "vstr") {
            if (c.words.size() >= 2 && !c.words[1].text.empty())
                names.runVariables.insert(lowered(c.words[1].text));
        } else if (m_lower == "bind") {
            if (c.words.size() >= 3)
                collectBody(bodyOf(c, readerText, 2), depth);
        }
    }

    bool m_vstr;
    std::size_t m_script = 0;
    const char *m_base = nullptr;
    int m_line = 0;
    std::size_t m_lineStart = 0;
    std::string m_lower;
    std::string m_name; // a defined name in lower case, its storage reused
    std::array<ScriptCommand, kMaxBodyDepth> m_bodyCommands; // one per depth, their storage reused
    ScriptCommand m_defineCommand;
    std::unordered_map<std::string, int, NameHash, std::equal_to<>> m_ids;
    std::vector<std::string_view> m_idNames; // views of m_ids' keys, by id
    std::vector<Definition> m_definitions;
};

std::vector<Definitions::Loop> Definitions::loops(std::size_t script) const
{
    // The graph: a name runs the names its (non-breaking) definitions call,
    // among those that have such a definition themselves.
    const std::size_t n = m_idNames.size();
    std::vector<std::vector<int>> edges(n);
    std::vector<bool> node(n, false);
    for (const Definition &d : m_definitions)
        node[static_cast<std::size_t>(d.name)] = true;
    for (const Definition &d : m_definitions)
        for (const int call : d.calls)
            if (node[static_cast<std::size_t>(call)])
                edges[static_cast<std::size_t>(d.name)].push_back(call);
    for (std::vector<int> &e : edges) {
        std::sort(e.begin(), e.end());
        e.erase(std::unique(e.begin(), e.end()), e.end());
    }

    // Strongly connected parts (Tarjan's algorithm, with a stack of its own
    // so that a long chain of aliases cannot exhaust the call stack). A name
    // is on a loop when its part has more than one name or it runs itself.
    std::vector<int> index(n, -1), low(n, 0), part(n, -1);
    std::vector<bool> onStack(n, false);
    std::vector<int> stack;
    std::vector<std::pair<int, std::size_t>> calls; // (name, next edge)
    int counter = 0, parts = 0;
    std::vector<int> partSize;
    for (std::size_t root = 0; root < n; ++root) {
        if (!node[root] || index[root] >= 0)
            continue;
        calls.emplace_back(static_cast<int>(root), 0);
        while (!calls.empty()) {
            auto &[v, next] = calls.back();
            const auto vs = static_cast<std::size_t>(v);
            if (next == 0 && index[vs] < 0) {
                index[vs] = low[vs] = counter++;
                stack.push_back(v);
                onStack[vs] = true;
            }
            if (next < edges[vs].size()) {
                const int w = edges[vs][next++];
                const auto ws = static_cast<std::size_t>(w);
                if (index[ws] < 0)
                    calls.emplace_back(w, 0);
                else if (onStack[ws])
                    low[vs] = std::min(low[vs], index[ws]);
                continue;
            }
            if (low[vs] == index[vs]) {
                int size = 0;
                for (int w = -1; w != v;) {
                    w = stack.back();
                    stack.pop_back();
                    onStack[static_cast<std::size_t>(w)] = false;
                    part[static_cast<std::size_t>(w)] = parts;
                    ++size;
                }
                partSize.push_back(size);
                ++parts;
            }
            const int done = v;
            calls.pop_back();
            if (!calls.empty()) {
                const auto parent = static_cast<std::size_t>(calls.back().first);
                low[parent] = std::min(low[parent], low[static_cast<std::size_t>(done)]);
            }
        }
    }
    const auto onLoop = [&](int v) {
        const auto vs = static_cast<std::size_t>(v);
        if (part[vs] < 0)
            return false;
        if (partSize[static_cast<std::size_t>(part[vs])] > 1)
            return true;
        return std::binary_search(edges[vs].begin(), edges[vs].end(), v);
    };

    // The shortest way round from a name back to itself, inside its part; a
    // very large part is named by its size instead.
    constexpr int kMaxPathSearch = 64;
    const auto pathOf = [&](int v) {
        std::vector<std::string> path;
        const auto vs = static_cast<std::size_t>(v);
        if (partSize[static_cast<std::size_t>(part[vs])] > kMaxPathSearch)
            return path;
        std::unordered_map<int, int> from;
        std::vector<int> queue{v};
        bool found = false;
        for (std::size_t q = 0; q < queue.size() && !found; ++q) {
            const int u = queue[q];
            for (const int w : edges[static_cast<std::size_t>(u)]) {
                if (part[static_cast<std::size_t>(w)] != part[vs])
                    continue;
                if (w == v) {
                    from[-1] = u;
                    found = true;
                    break;
                }
                if (from.emplace(w, u).second)
                    queue.push_back(w);
            }
        }
        std::vector<int> back{v};
        for (int u = from[-1]; u != v; u = from[u])
            back.push_back(u);
        back.push_back(v);
        for (auto it = back.rbegin(); it != back.rend(); ++it)
            path.emplace_back(m_idNames[static_cast<std::size_t>(*it)]);
        return path;
    };

    std::vector<Loop> found;
    for (const Definition &d : m_definitions) {
        if (d.place.script != script || !onLoop(d.name))
            continue;
        Loop loop;
        loop.place = d.place;
        loop.name = m_idNames[static_cast<std::size_t>(d.name)];
        loop.path = pathOf(d.name);
        if (loop.path.empty()) {
            const int size = partSize[static_cast<std::size_t>(part[static_cast<std::size_t>(d.name)])];
            loop.path = {loop.name, "... (" + std::to_string(size) + " names)", loop.name};
        }
        found.push_back(std::move(loop));
    }
    return found;
}

std::string loopMessage(const Definitions::Loop &loop, bool vstr)
{
    std::string way;
    for (std::size_t i = 0; i < loop.path.size(); ++i) {
        if (i > 0)
            way += " -> ";
        way += loop.path[i];
    }
    const std::string what = vstr ? "variable" : "alias";
    const std::string_view breaker = vstr ? "no wait and no set" : "no wait and no alias or set";
    return what + " \"" + loop.name + "\" runs itself again (" + way + ") with " + std::string(breaker) +
           " on the way: the game hangs";
}

// Runs the whole chain (or reads the one script) and hands every top-level
// command to `onCommand` with its script's first byte. Returns the chain, or
// nothing when no files were given.
template <typename Handler>
std::unique_ptr<ExecChain> readAll(std::string_view path, std::string_view text, ScriptFiles *files,
                                   const Handler &onCommand)
{
    if (!files) {
        ScriptReader reader(text);
        ScriptCommand command;
        while (reader.next(command))
            onCommand(std::size_t(0), text.data(), command, text);
        return nullptr;
    }
    auto chain = std::make_unique<ExecChain>(*files);
    ExecChain *c = chain.get();
    chain->run(path, std::string(text), [&](std::size_t script, const ScriptCommand &command) {
        const std::string_view scriptText = c->scripts()[script].text;
        onCommand(script, scriptText.data(), command, scriptText);
    });
    return chain;
}

std::string execMissingMessage(std::string_view name)
{
    std::string message = "no script \"" + std::string(name) + "\"";
    if (!HasExtension(name))
        message += " or \"" + std::string(name) + ".cfg\"";
    return message + " found";
}

} // namespace

bool IsKnownName(std::string_view word, const LintVocabulary &vocab, const ScriptNames &names)
{
    const std::string lower = lowered(word);
    if (vocab.isCommandOrCvar(lower) || vocab.isUserName(lower) || names.defined.count(lower))
        return true;
    if (lower.size() > 1 && (lower[0] == '+' || lower[0] == '-')) {
        const std::string plus = "+" + lower.substr(1);
        return vocab.isCommandOrCvar(plus) || vocab.isUserName(plus) || names.defined.count(plus);
    }
    return false;
}

ScriptNames CollectScriptNames(const LintVocabulary &vocab, std::string_view path, std::string_view text,
                               ScriptFiles *files)
{
    Definitions definitions(vocab);
    readAll(path, text, files,
            [&](std::size_t script, const char *base, const ScriptCommand &c, std::string_view scriptText) {
                definitions.command(script, base, c, scriptText);
            });
    return std::move(definitions.names);
}

std::vector<LintFinding> LintLine(const LintVocabulary &vocab, const ScriptNames &names, std::string_view text,
                                  std::size_t lineStart, int line)
{
    std::vector<LintFinding> out;
    LineLinter(vocab, names).lintLine(text, lineStart, line, out);
    return out;
}

struct LineLinter::Checker {
    CommandChecker checker;
};

LineLinter::LineLinter(const LintVocabulary &vocab, const ScriptNames &names)
    : m_checker(std::make_unique<Checker>(Checker{CommandChecker(vocab, names)}))
{
}

LineLinter::~LineLinter() = default;

void LineLinter::lintLine(std::string_view text, std::size_t lineStart, int line, std::vector<LintFinding> &out)
{
    if (lineStart > text.size())
        return;
    std::size_t lineEnd = text.find_first_of("\r\n", lineStart);
    if (lineEnd == std::string_view::npos)
        lineEnd = text.size();
    const std::string_view lineText = text.substr(lineStart, lineEnd - lineStart);
    CommandChecker &checker = m_checker->checker;
    checker.begin(text.data(), &out);
    ScriptReader reader(lineText);
    ScriptCommand command;
    while (reader.next(command))
        checker.check(command, lineText, line, lineStart);
}

LintReport LintScript(const LintVocabulary &vocab, std::string_view path, std::string_view text, ScriptFiles *files,
                      const ScriptNames *moreNames)
{
    LintReport report;

    // First the names and definitions of the whole chain, with the place of
    // every top-level `exec` of this script and how many exec notes the
    // chain had when it was met (the notes after it, up to the next one,
    // come from the scripts it runs).
    Definitions definitions(vocab);
    struct TopExec {
        std::size_t position, length;
        int line;
        std::size_t lineStart;
        std::string_view name;
        std::size_t notesBefore;
    };
    std::vector<TopExec> topExecs;
    ExecChain *chainSeen = nullptr;
    std::unique_ptr<ExecChain> chain;
    const auto onCommand = [&](std::size_t script, const char *base, const ScriptCommand &c,
                               std::string_view scriptText) {
        definitions.command(script, base, c, scriptText);
        if (script == 0 && chainSeen && c.is("exec") && c.words.size() >= 2 && !c.words[1].text.empty())
            topExecs.push_back(TopExec{c.words[1].start, c.words[1].end - c.words[1].start, c.line, c.lineStart,
                                       c.words[1].text, chainSeen->notes().size()});
    };
    if (files) {
        chain = std::make_unique<ExecChain>(*files);
        chainSeen = chain.get();
        chain->run(path, std::string(text), [&](std::size_t script, const ScriptCommand &command) {
            const std::string_view scriptText = chainSeen->scripts()[script].text;
            onCommand(script, scriptText.data(), command, scriptText);
        });
    } else {
        ScriptReader reader(text);
        ScriptCommand command;
        while (reader.next(command))
            onCommand(0, text.data(), command, text);
    }
    report.names = std::move(definitions.names);
    if (moreNames)
        report.names.merge(*moreNames);

    // This script's own bytes (the chain's copy when there is a chain: the
    // places are the same).
    const std::string_view own = chain ? chain->scripts().front().text : text;
    std::vector<LintFinding> &out = report.findings;
    std::vector<LintFinding> late; // the findings that span lines

    // The line-local checks, and keys bound twice.
    CommandChecker checker(vocab, report.names);
    checker.begin(own.data(), &out);
    struct Bound {
        std::string command; // lower case, for the comparison
        std::string written; // as the script writes it (words joined by single spaces)
        int line = 0;
        unsigned generation = 0;
    };
    std::unordered_map<std::string, Bound> bound;
    unsigned generation = 1;
    std::string key, joined, written;
    {
        ScriptReader reader(own);
        ScriptCommand c;
        while (reader.next(c)) {
            checker.check(c, own, c.line, c.lineStart);
            if (c.is("bind") && c.words.size() >= 3 && !c.words[1].text.empty()) {
                AsciiLower(c.words[1].text, key);
                AsciiLower(c.words[2].text, joined);
                for (std::size_t i = 3; i < c.words.size(); ++i) {
                    joined += ' ';
                    const std::size_t at = joined.size();
                    joined += c.words[i].text;
                    for (std::size_t k = at; k < joined.size(); ++k)
                        if (joined[k] >= 'A' && joined[k] <= 'Z')
                            joined[k] = static_cast<char>(joined[k] - 'A' + 'a');
                }
                written.assign(c.words[2].text);
                for (std::size_t i = 3; i < c.words.size(); ++i) {
                    written += ' ';
                    written += c.words[i].text;
                }
                Bound &b = bound[key];
                if (b.generation == generation && b.command != joined) {
                    LintFinding f;
                    f.code = LintCode::DuplicateBind;
                    f.severity = LintSeverityOf(f.code);
                    f.line = c.line;
                    f.position = c.words[1].start;
                    f.column = f.position - c.lineStart;
                    f.length = c.words[1].end - c.words[1].start;
                    f.name = c.words[1].text;
                    f.message = "\"" + std::string(c.words[1].text) + "\" is bound again: line " +
                                std::to_string(b.line + 1) + " bound it to \"" + b.written + "\"";
                    late.push_back(std::move(f));
                }
                b.command = joined;
                b.written = written;
                b.line = c.line;
                b.generation = generation;
            } else if (c.is("unbind") && c.words.size() >= 2) {
                AsciiLower(c.words[1].text, key);
                if (const auto it = bound.find(key); it != bound.end())
                    it->second.generation = 0;
            } else if (c.is("unbindall")) {
                ++generation;
            }
        }
    }

    const auto add = [&](LintCode code, int line, std::size_t lineStart, std::size_t position, std::size_t length,
                         std::string message, std::string_view name) {
        LintFinding f;
        f.code = code;
        f.severity = LintSeverityOf(code);
        f.line = line;
        f.column = position - lineStart;
        f.position = position;
        f.length = std::max<std::size_t>(length, 1);
        f.message = std::move(message);
        f.name = name;
        late.push_back(std::move(f));
    };

    // The exec lines: this script's own notes at their place; a cycle
    // further down the chain at the exec line of this script that led there.
    if (chain) {
        const std::vector<ExecNote> &notes = chain->notes();
        std::vector<bool> cycleShown(topExecs.size(), false);
        for (std::size_t i = 0; i < notes.size(); ++i) {
            const ExecNote &n = notes[i];
            if (n.script == 0) {
                // The note's own exec line is among the top-level ones.
                const auto it = std::find_if(topExecs.begin(), topExecs.end(),
                                             [&](const TopExec &t) { return t.position == n.namePosition; });
                const std::size_t length = it != topExecs.end() ? it->length : n.name.size();
                if (n.kind == ExecNoteKind::Missing)
                    add(LintCode::ExecMissing, n.line, n.lineStart, n.namePosition, length,
                        execMissingMessage(n.name), n.name);
                else if (n.kind == ExecNoteKind::Cycle)
                    add(LintCode::ExecCycle, n.line, n.lineStart, n.namePosition, length,
                        "\"" + n.name + "\" is this script, already running: the game would run it again", n.name);
                continue;
            }
            if (n.kind != ExecNoteKind::Cycle)
                continue;
            // The last top-level exec met before this note.
            std::size_t t = topExecs.size();
            while (t > 0 && topExecs[t - 1].notesBefore > i)
                --t;
            if (t == 0 || cycleShown[t - 1])
                continue;
            cycleShown[t - 1] = true;
            const TopExec &top = topExecs[t - 1];
            add(LintCode::ExecCycle, top.line, top.lineStart, top.position, top.length,
                "\"" + std::string(top.name) + "\" leads to " + chain->scripts()[n.script].path + ", whose exec \"" +
                    n.name + "\" runs a script that is already running",
                top.name);
        }

        // An exec inside a body runs when the alias or key is used: its
        // script must be there then.
        const std::string folder = chain->scripts().front().folder;
        std::unordered_map<std::string, bool> found;
        for (const BodyExec &e : checker.bodyExecs) {
            const std::string name(e.name);
            auto it = found.find(name);
            if (it == found.end())
                it = found.emplace(name, FindExecScript(*files, name, folder, folder).has_value()).first;
            if (!it->second)
                add(LintCode::ExecMissing, e.line, e.lineStart, e.position, e.length, execMissingMessage(e.name),
                    e.name);
        }
    }

    // Aliases or variables that run themselves for ever.
    for (const Definitions::Loop &loop : definitions.loops(0))
        add(LintCode::AliasLoop, loop.place.line, loop.place.lineStart, loop.place.position, loop.place.length,
            loopMessage(loop, vocab.usesVstr()), loop.name);

    // The line-local findings are in order already: the others join them.
    std::stable_sort(late.begin(), late.end(), byPlace);
    const auto middle = static_cast<std::ptrdiff_t>(out.size());
    out.insert(out.end(), std::make_move_iterator(late.begin()), std::make_move_iterator(late.end()));
    std::inplace_merge(out.begin(), out.begin() + middle, out.end(), byPlace);
    return report;
}

std::vector<std::size_t> LineStarts(std::string_view text)
{
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        if (text[i] == '\r' || text[i] == '\n')
            starts.push_back(i + 1);
    }
    return starts;
}

} // namespace varkel
