#include "language/dictionary.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace varkel {

// ---------------------------------------------------------------------------
// Latin-1 case mapping: A-Z and the accented capitals 0xC0..0xDE (except the
// multiplication sign 0xD7) map to their small letters, 32 apart.

char lowerLatin1(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return static_cast<char>(u + 32);
    return c;
}

char upperLatin1(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
        return static_cast<char>(u - 32);
    return c;
}

std::string toLowerLatin1(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = lowerLatin1(c);
    return out;
}

std::string toUpperLatin1(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = upperLatin1(c);
    return out;
}

// ---------------------------------------------------------------------------
// GameDictionary

GameDictionary::GameDictionary()
{
    m_keywords.reserve(1024);
    m_keyIndex.reserve(128);
}

int GameDictionary::find(const WordMap &map, std::string_view lowerWord)
{
    const auto it = map.find(lowerWord);
    return it == map.end() ? -1 : it->second;
}

// Looks up a word case-insensitively. Short words are lower-cased into a
// stack buffer; a word longer than every key cannot match.
int GameDictionary::findAnyCase(const WordMap &map, std::size_t maxLength, std::string_view word)
{
    if (word.size() > maxLength)
        return -1;
    constexpr std::size_t kBuffer = 64;
    if (word.size() <= kBuffer) {
        char buffer[kBuffer];
        for (std::size_t i = 0; i < word.size(); ++i)
            buffer[i] = lowerLatin1(word[i]);
        return find(map, std::string_view(buffer, word.size()));
    }
    return find(map, toLowerLatin1(word));
}

int GameDictionary::Lookup(std::string_view word) const
{
    const int cls = findAnyCase(m_keywords, m_maxKeywordLength, word);
    return cls < 0 ? 0 : cls;
}

bool GameDictionary::Lookup(std::string &word, int &keywordClass) const
{
    for (char &c : word)
        c = lowerLatin1(c);
    const int cls = find(m_keywords, word);
    if (cls < 0)
        return false;
    keywordClass = cls;
    return true;
}

int GameDictionary::KeyIndex(std::string_view keyName) const
{
    const int number = KeyNumber(keyName);
    return number < kDeviceSlotCount ? number : -1;
}

int GameDictionary::KeyNumber(std::string_view keyName) const
{
    return findAnyCase(m_keyIndex, m_maxKeyNameLength, keyName);
}

std::string_view GameDictionary::KeyNameOf(int keyNumber) const
{
    if (keyNumber < 0)
        return {};
    if (keyNumber < kDeviceSlotCount)
        return m_keyNames[static_cast<std::size_t>(keyNumber)];
    const auto extra = static_cast<std::size_t>(keyNumber - kDeviceSlotCount);
    return extra < m_extraKeyNames.size() ? std::string_view(m_extraKeyNames[extra]) : std::string_view();
}

int GameDictionary::setNumber() const
{
    if (m_set.size() < 2 || m_set[1] < '0' || m_set[1] > '9')
        return 0;
    return m_set[1] - '0';
}

void GameDictionary::Clear()
{
    m_keywords.clear();
    m_keyIndex.clear();
    m_maxKeywordLength = 0;
    m_maxKeyNameLength = 0;
    for (auto &name : m_keyNames)
        name.clear();
    m_extraKeyNames.clear();
    m_commands.clear();
    m_cvars.clear();
    m_keyNameList.clear();
    m_items.clear();
    m_step = BuildStep::NotStarted;
}

// ---------------------------------------------------------------------------
// Reading the data files

namespace {

// Reads a whole file. On failure returns the error class of the failed call.
ErrorCode readFile(const std::string &path, std::string &out)
{
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return errno ? errorFromErrno(errno) : ErrorCode::FileNotFound;
    out.clear();
    char chunk[16384];
    for (;;) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
        out.append(chunk, n);
        if (n < sizeof chunk) {
            if (std::ferror(file.get()))
                return errno ? errorFromErrno(errno) : ErrorCode::FileIo;
            break;
        }
    }
    return ErrorCode::None;
}

// Splits a data file into lines. A line ends at CR, at CR LF, or at a lone LF
// (files edited with a Linux editor); a file's final line end yields no extra
// empty line, but blank lines inside the file are kept as empty lines.
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

bool isCommentLine(std::string_view line)
{
    return line.find("//") != std::string_view::npos;
}

// Removes leading and trailing spaces (spaces only: a tab stays) and lower-cases.
std::string prepare(std::string_view line)
{
    const auto first = line.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = line.find_last_not_of(' ');
    return toLowerLatin1(line.substr(first, last - first + 1));
}

bool isDirectory(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string quoted(std::string_view word)
{
    std::string s;
    s.reserve(word.size() + 2);
    s += '"';
    s += word;
    s += '"';
    return s;
}

} // namespace

Error BuildDictionary(GameDictionary &dict, const std::string &dataDir, std::string_view set)
{
    // 1-2: the set becomes current and everything is emptied.
    dict.m_set.assign(set);
    dict.Clear();
    dict.m_step = BuildStep::Cleared;

    std::string text;
    std::string path;
    auto open = [&](std::string_view name) -> Error {
        path = dataDir;
        if (!path.empty() && path.back() != '/')
            path += '/';
        path += set;
        path += name;
        const ErrorCode code = readFile(path, text);
        if (code == ErrorCode::None)
            return {};
        if (code == ErrorCode::FileNotFound && !isDirectory(dataDir))
            return Error{ErrorCode::DataFolderMissing, dataDir};
        return Error{code, path};
    };
    auto addKeyword = [&](const std::string &word, int cls) -> Error {
        if (!dict.m_keywords.emplace(word, cls).second)
            return Error{ErrorCode::DuplicateEntry, quoted(word) + " in " + path};
        if (word.size() > dict.m_maxKeywordLength)
            dict.m_maxKeywordLength = word.size();
        return {};
    };

    // 3: commands. A word twice is a failure.
    if (Error e = open("cmdlst.dat"))
        return e;
    for (std::string_view line : splitLines(text)) {
        if (isCommentLine(line))
            continue;
        std::string word = prepare(line);
        if (Error e = addKeyword(word, Command))
            return e;
        dict.m_commands.push_back(std::move(word));
    }
    dict.m_step = BuildStep::Commands;

    // 4: items, for every set but Q1. An item that is already a command or an
    // item is a failure.
    if (set != "Q1") {
        if (Error e = open("items.dat"))
            return e;
        for (std::string_view line : splitLines(text)) {
            if (isCommentLine(line))
                continue;
            if (Error e = addKeyword(prepare(line), Item))
                return e;
        }
    }
    dict.m_step = BuildStep::Items;

    // 5-6: the item picker. Lines are kept exactly; the k-th entry shows
    // picture k + 1, so picture 1 of a list is never used by an entry.
    if (Error e = open("ItemList.dat"))
        return e;
    int picture = 1;
    for (std::string_view line : splitLines(text)) {
        if (isCommentLine(line))
            continue;
        ++picture;
        ItemEntry entry;
        entry.text.assign(line);
        entry.picture = picture;
        entry.heading = line.size() >= 3 && line.substr(3) == "Items";
        dict.m_items.push_back(std::move(entry));
    }
    dict.m_step = BuildStep::ItemList;

    // 7: key names, one counted line per device slot. "void" leaves a slot
    // without a name. A key name that is already a keyword keeps its class;
    // the same key name twice is a failure, and so is a 111th slot.
    if (Error e = open("keynames.dat"))
        return e;
    int slot = 0;
    for (std::string_view line : splitLines(text)) {
        if (isCommentLine(line))
            continue;
        if (slot >= kDeviceSlotCount)
            return Error{ErrorCode::TooManyKeyNames, path};
        std::string name = prepare(line);
        if (name.compare(0, 4, "void") != 0) {
            dict.m_keyNames[slot] = name;
            dict.m_keyNameList.push_back(toUpperLatin1(name));
            if (!dict.m_keywords.contains(name)) {
                if (Error e = addKeyword(name, KeyName))
                    return e;
            }
            if (!dict.m_keyIndex.emplace(name, slot).second)
                return Error{ErrorCode::DuplicateEntry, quoted(name) + " in " + path};
            if (name.size() > dict.m_maxKeyNameLength)
                dict.m_maxKeyNameLength = name.size();
        }
        ++slot;
    }

    // The game's other key names, numbered after the slots. The file is
    // optional: without it only the panel's keys are known. A name that is
    // already a key (a slot's, or earlier in the file) is passed over, so a
    // key moved onto a slot by editing keynames.dat keeps working; so are
    // "=" and "~", which name slots already.
    if (Error e = open("extrakeys.dat")) {
        if (e.code != ErrorCode::FileNotFound)
            return e;
        text.clear();
    }
    for (std::string_view line : splitLines(text)) {
        if (isCommentLine(line))
            continue;
        std::string name = prepare(line);
        if (name.empty() || name.compare(0, 4, "void") == 0 || name == "=" || name == "~" ||
            dict.m_keyIndex.contains(name))
            continue;
        if (!dict.m_keywords.contains(name)) {
            if (Error e = addKeyword(name, KeyName))
                return e;
        }
        const int number = kDeviceSlotCount + static_cast<int>(dict.m_extraKeyNames.size());
        dict.m_keyIndex.emplace(name, number);
        if (name.size() > dict.m_maxKeyNameLength)
            dict.m_maxKeyNameLength = name.size();
        dict.m_extraKeyNames.push_back(std::move(name));
    }
    dict.m_step = BuildStep::KeyNames;

    // 8: the two console keys scripts write as symbols.
    path = "the key names";
    if (Error e = addKeyword("=", KeyName))
        return e;
    if (Error e = addKeyword("~", KeyName))
        return e;
    dict.m_step = BuildStep::KeySymbols;

    // 9: console variables. One that is already a command, item or key name
    // keeps that class but is listed all the same.
    if (Error e = open("cvrlst.dat"))
        return e;
    for (std::string_view line : splitLines(text)) {
        if (isCommentLine(line))
            continue;
        std::string word = prepare(line);
        dict.m_cvars.push_back(word);
        if (!dict.m_keywords.contains(word))
            addKeyword(word, Cvar);
    }
    dict.m_step = BuildStep::Complete;
    return {};
}

// ---------------------------------------------------------------------------

std::string itemInsertText(std::string_view set, const ItemEntry &entry)
{
    if (entry.heading)
        return {};
    const std::string_view text = entry.text;
    if (set == "Q1")
        return "IMPULSE " + std::string(text.substr(0, 1));
    if (set == "Q3") {
        std::string_view number = text.substr(0, 2);
        while (!number.empty() && number.front() == ' ')
            number.remove_prefix(1);
        while (!number.empty() && number.back() == ' ')
            number.remove_suffix(1);
        return "weapon " + std::string(number);
    }
    return entry.text;
}

} // namespace varkel
