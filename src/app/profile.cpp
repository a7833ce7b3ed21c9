#include "app/profile.h"

#include "app/safefile.h"

#include <climits>

namespace varkel {

std::string_view TrimProfileBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

namespace {

// --- Parsing -----------------------------------------------------------------

enum class LineKind { Blank, Comment, Section, Key, Other };

struct Line {
    std::size_t begin = 0;   // first byte of the line
    std::size_t end = 0;     // end of its content (before the line break)
    std::size_t next = 0;    // first byte of the next line
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name, trimmed
    std::size_t valueBegin = 0; // Key: just after the '='
    std::string_view value;  // Key: the value, trimmed
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }


char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

// Start of the first line: a UTF-8 byte order mark is not part of the text.
std::size_t textStart(std::string_view text)
{
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

// Reads the line starting at pos (pos < text.size()). CR LF, LF and a lone CR
// all end a line.
Line readLine(std::string_view text, std::size_t pos)
{
    Line line;
    line.begin = pos;
    std::size_t e = pos;
    while (e < text.size() && text[e] != '\n' && text[e] != '\r')
        ++e;
    line.end = e;
    if (e < text.size())
        line.next = (text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ? e + 2 : e + 1;
    else
        line.next = e;

    std::string_view content = text.substr(pos, e - pos);
    std::string_view t = TrimProfileBlanks(content);
    if (t.empty()) {
        line.kind = LineKind::Blank;
    } else if (t.front() == ';' || t.front() == '#') {
        line.kind = LineKind::Comment;
    } else if (t.front() == '[') {
        std::size_t close = t.find(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = TrimProfileBlanks(t.substr(1, close - 1));
        }
    } else if (std::size_t eq = content.find('='); eq != std::string_view::npos) {
        std::string_view name = TrimProfileBlanks(content.substr(0, eq));
        if (!name.empty()) {
            line.kind = LineKind::Key;
            line.name = name;
            line.valueBegin = pos + eq + 1;
            line.value = TrimProfileBlanks(content.substr(eq + 1));
        }
    }
    return line;
}

// Calls f(line) for every line; f returns false to stop.
template <typename F>
void forEachLine(std::string_view text, F f)
{
    for (std::size_t pos = textStart(text); pos < text.size();) {
        Line line = readLine(text, pos);
        if (!f(line))
            return;
        pos = line.next;
    }
}

std::optional<std::string_view> findValue(std::string_view text, std::string_view section,
                                          std::string_view key)
{
    std::optional<std::string_view> found;
    bool inSection = false;
    forEachLine(text, [&](const Line &line) {
        if (line.kind == LineKind::Section)
            inSection = sameName(line.name, section);
        else if (inSection && line.kind == LineKind::Key && sameName(line.name, key)) {
            found = line.value;
            return false;
        }
        return true;
    });
    return found;
}

int parseLeadingInt(std::string_view s)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    long long n = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        n = n * 10 + (s[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1)
            n = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-n);
    return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

// --- Editing -----------------------------------------------------------------

bool isLineBreak(char c) { return c == '\n' || c == '\r'; }

// The line break the file already uses (that of its first line), LF for a
// file that has none yet.
std::string_view lineBreakOf(std::string_view text)
{
    std::size_t e = text.find_first_of("\r\n");
    if (e == std::string_view::npos)
        return "\n";
    if (text[e] == '\r')
        return (e + 1 < text.size() && text[e + 1] == '\n') ? "\r\n" : "\r";
    return "\n";
}

bool endsWithBlankLine(std::string_view text)
{
    // text ends with a line break; is the line before it empty?
    std::size_t n = text.size();
    if (n >= 2 && text.substr(n - 2) == "\r\n")
        n -= 2;
    else
        n -= 1;
    return n == textStart(text) || isLineBreak(text[n - 1]);
}

// Returns text with [section] key set to value.
std::string setValue(std::string text, std::string_view section, std::string_view key,
                     std::string_view value)
{
    const std::string eol(lineBreakOf(text));
    bool inSection = false;
    int sectionsSeen = 0;          // matching sections met so far
    std::optional<Line> insertAfter; // the last key of the first matching section, or its header
    std::optional<Line> keyLine;
    forEachLine(text, [&](const Line &line) {
        if (line.kind == LineKind::Section) {
            inSection = sameName(line.name, section);
            if (inSection && ++sectionsSeen == 1)
                insertAfter = line;
        } else if (inSection && line.kind == LineKind::Key) {
            if (sameName(line.name, key)) {
                keyLine = line;
                return false;
            }
            if (sectionsSeen == 1)
                insertAfter = line;
        }
        return true;
    });

    if (keyLine) {
        // "Key = old" becomes "Key = new": the spacing after '=' stays unless
        // the new value is empty (no trailing blanks are left behind).
        std::size_t from = keyLine->valueBegin;
        while (!value.empty() && from < keyLine->end && isBlank(text[from]))
            ++from;
        text.replace(from, keyLine->end - from, value);
        return text;
    }

    std::string entry;
    entry.append(key).append("=").append(value);
    if (insertAfter) {
        std::size_t at = insertAfter->next;
        if (at == text.size() && at > 0 && !isLineBreak(text.back())) {
            text += eol;
            at = text.size();
        }
        // A lone CR right before an LF would make one CR LF of the two, and
        // the line after the new one would be lost: there the new line takes
        // the break of the line above it (which ends in that LF's place).
        if (eol == "\r" && at < text.size() && text[at] == '\n')
            entry.append(text, insertAfter->end, insertAfter->next - insertAfter->end);
        else
            entry.append(eol);
        text.insert(at, entry);
        return text;
    }
    entry.append(eol);

    if (text.size() > textStart(text)) {
        if (!isLineBreak(text.back()))
            text += eol;
        if (!endsWithBlankLine(text))
            text += eol;
    }
    text.append("[").append(section).append("]").append(eol).append(entry);
    return text;
}

bool validName(std::string_view name)
{
    return !name.empty() && TrimProfileBlanks(name).size() == name.size() &&
           name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// --- Quoting ------------------------------------------------------------------

// A value as written: in double quotes when the read would otherwise change it
// (blanks at either end are trimmed, one pair of outer quotes is taken off).
std::string storedForm(std::string_view value)
{
    const bool quote = !value.empty() && (isBlank(value.front()) || isBlank(value.back()) ||
                                          (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
    if (!quote)
        return std::string(value);
    std::string stored;
    stored.reserve(value.size() + 2);
    stored.append("\"").append(value).append("\"");
    return stored;
}

// A stored value as read: one pair of surrounding double quotes is removed.
std::string_view unquoted(std::string_view stored)
{
    if (stored.size() >= 2 && stored.front() == '"' && stored.back() == '"')
        return stored.substr(1, stored.size() - 2);
    return stored;
}

bool writeStored(std::string_view section, std::string_view key, std::string_view stored, const std::string &path)
{
    if (!validName(section) || !validName(key) || section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';' ||
        key.front() == '#' || stored.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return false;
    if (path.empty())
        return false;

    ReadResult current = ReadFileBytes(path);
    const bool exists = !current.error;
    // Never replace a file that could not be read (its other settings would be
    // lost), nor anything that is not a regular file.
    if (!exists && current.error.code != ErrorCode::FileNotFound)
        return false;
    const std::string updated = setValue(current.bytes, section, key, stored);
    if (exists && updated == current.bytes)
        return true;
    return !WriteFileSafely(path, updated);
}

} // namespace

// --- ProfileFile ---------------------------------------------------------------

ProfileFile ProfileFile::load(const std::string &path)
{
    return ProfileFile(ReadFileBytes(path).bytes);
}

std::vector<std::string> ProfileFile::sections() const
{
    std::vector<std::string> names;
    forEachLine(m_text, [&](const Line &line) {
        if (line.kind == LineKind::Section)
            names.emplace_back(line.name);
        return true;
    });
    return names;
}

bool ProfileNamesEqual(std::string_view a, std::string_view b)
{
    return sameName(a, b);
}

std::optional<std::string> ProfileFile::value(std::string_view section, std::string_view key) const
{
    if (auto v = findValue(m_text, section, key))
        return std::string(*v);
    return std::nullopt;
}

std::string ProfileFile::getString(std::string_view section, std::string_view key,
                                   std::string_view def) const
{
    const std::optional<std::string_view> v = findValue(m_text, section, key);
    return std::string((v ? unquoted(*v) : def).substr(0, kProfileStringMax));
}

int ProfileFile::getInt(std::string_view section, std::string_view key, int def) const
{
    const std::optional<std::string_view> v = findValue(m_text, section, key);
    if (!v || unquoted(*v).empty())
        return def;
    return parseLeadingInt(unquoted(*v).substr(0, kProfileStringMax));
}

// --- Free functions ------------------------------------------------------------

std::string GetProfileString(std::string_view section, std::string_view key, std::string_view def,
                             const std::string &path)
{
    return ProfileFile::load(path).getString(section, key, def);
}

int GetProfileInt(std::string_view section, std::string_view key, int def, const std::string &path)
{
    return ProfileFile::load(path).getInt(section, key, def);
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string &path)
{
    return writeStored(section, key, storedForm(value), path);
}

bool WriteProfileStoredValue(std::string_view section, std::string_view key, std::string_view stored,
                             const std::string &path)
{
    return writeStored(section, key, stored, path);
}

bool WriteProfileInt(std::string_view section, std::string_view key, int value, const std::string &path)
{
    return WriteProfileString(section, key, std::to_string(value), path);
}

} // namespace varkel
