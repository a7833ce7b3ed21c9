#include "bindings/scriptreader.h"

#include <array>
#include <cstring>

namespace varkel {

namespace {

// What a byte can do to the reading: a table, so that the loops over the
// bytes of a word test each byte once.
enum : unsigned char {
    EndsPlainWord = 1,  // a blank (line ends included), ";", a double quote, or "/" (when another follows)
    EndsQuotedWord = 2, // a double quote or a line end
};

constexpr std::array<unsigned char, 256> makeByteClasses()
{
    std::array<unsigned char, 256> t{};
    for (int c = 0; c <= 0x20; ++c)
        t[c] = EndsPlainWord;
    t['\n'] = t['\r'] = EndsPlainWord | EndsQuotedWord;
    t[';'] = t['/'] = EndsPlainWord;
    t['"'] = EndsPlainWord | EndsQuotedWord;
    return t;
}

constexpr std::array<unsigned char, 256> kByteClasses = makeByteClasses();

inline unsigned char byteClass(char c)
{
    return kByteClasses[static_cast<unsigned char>(c)];
}

// Where the line holding `from` ends: its first carriage return or line
// feed, or the end of the text.
std::size_t lineEndFrom(const char *s, std::size_t from, std::size_t n)
{
    const void *lf = std::memchr(s + from, '\n', n - from);
    const std::size_t limit = lf ? static_cast<std::size_t>(static_cast<const char *>(lf) - s) : n;
    const void *cr = std::memchr(s + from, '\r', limit - from);
    return cr ? static_cast<std::size_t>(static_cast<const char *>(cr) - s) : limit;
}

inline char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

} // namespace

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

void AsciiLower(std::string_view text, std::string &out)
{
    out.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = asciiLower(text[i]);
}

bool ScriptCommand::is(std::string_view name) const
{
    return !words.empty() && EqualsNoCase(words.front().text, name);
}

bool ScriptReader::next(ScriptCommand &command)
{
    const char *const s = m_text.data();
    const std::size_t n = m_text.size();
    command.words.clear();
    command.comment = std::string_view::npos;
    for (;;) {
        if (m_pos >= n)
            return !command.words.empty();
        const char c = s[m_pos];

        // The line ends, and with it any command begun on it.
        if (isLineEnd(c)) {
            m_pos += c == '\r' && m_pos + 1 < n && s[m_pos + 1] == '\n' ? 2 : 1;
            ++m_line;
            m_lineStart = m_pos;
            if (!command.words.empty())
                return true;
            continue;
        }
        if (IsScriptBlank(c)) {
            ++m_pos;
            continue;
        }
        if (c == ';') {
            ++m_pos;
            if (!command.words.empty())
                return true;
            continue;
        }
        // A comment: the rest of the line is skipped; the line end itself is
        // left for the next round, which counts it.
        if (c == '/' && m_pos + 1 < n && s[m_pos + 1] == '/') {
            const std::size_t at = m_pos;
            m_pos = lineEndFrom(s, m_pos + 2, n);
            if (!command.words.empty()) {
                command.comment = at;
                return true;
            }
            continue;
        }

        ScriptWord word;
        word.start = m_pos;
        if (c == '"') {
            std::size_t q = m_pos + 1;
            while (q < n && !(byteClass(s[q]) & EndsQuotedWord))
                ++q;
            word.quoted = true;
            word.text = std::string_view(s + m_pos + 1, q - m_pos - 1);
            word.closed = q < n && s[q] == '"';
            m_pos = word.closed ? q + 1 : q;
        } else {
            // A plain word runs to a blank (line ends included), a ";", a
            // double quote or a "//".
            std::size_t q = m_pos + 1;
            while (q < n && (!(byteClass(s[q]) & EndsPlainWord) || (s[q] == '/' && (q + 1 == n || s[q + 1] != '/'))))
                ++q;
            word.text = std::string_view(s + m_pos, q - m_pos);
            m_pos = q;
        }
        word.end = m_pos;
        if (command.words.empty()) {
            command.line = m_line;
            command.lineStart = m_lineStart;
            command.start = word.start;
        }
        command.end = word.end;
        command.words.push_back(word);
    }
}

} // namespace varkel
