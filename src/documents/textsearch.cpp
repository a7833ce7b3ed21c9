#include "documents/textsearch.h"

#include "documents/unicodetext.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace varkel {

namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAsciiLetter(char c)
{
    const char l = lowerAscii(c);
    return l >= 'a' && l <= 'z';
}

// How often a byte turns up in scripts, roughly: the rarest byte of a query
// is the one searched for first, so that few places need a closer look.
int commonness(char c)
{
    if (isAsciiLetter(c)) {
        static constexpr std::string_view kByFrequency = "zqjxkvbpygfwmucldrhsnioate";
        return 10 + static_cast<int>(kByFrequency.find(lowerAscii(c)));
    }
    if (c == ' ' || c == '\t')
        return 100;
    if (c >= '0' && c <= '9')
        return 30;
    return 5;
}

bool equalIgnoringAsciiCase(const char *a, std::string_view b)
{
    for (std::size_t i = 0; i < b.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

// Past every code point: a byte of an ill-formed UTF-8 sequence is read as
// this plus its value, which only the same byte matches.
constexpr char32_t kIllFormed = 0x110000;

// The folded character at text[at], moving `at` past it.
char32_t nextFolded(std::string_view text, std::size_t &at, bool utf8)
{
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
        ++at;
        return byte >= 'A' && byte <= 'Z' ? byte + 0x20u : byte;
    }
    if (!utf8) {
        ++at;
        const char32_t folded = SimpleCaseFold(byte);
        return folded < 0x100 ? folded : byte;
    }
    if (Utf8SequenceLength(text, at) == 0) {
        ++at;
        return kIllFormed + byte;
    }
    return SimpleCaseFold(NextCharacter(text, at));
}

} // namespace

TextFound FindFoldingCase(std::string_view text, std::size_t from, std::size_t to, std::string_view what,
                          Encoding encoding)
{
    TextFound result;
    to = std::min(to, text.size());
    if (what.empty() || from >= to)
        return result;
    const bool utf8 = encoding == Encoding::Utf8;
    std::vector<char32_t> query;
    for (std::size_t at = 0; at < what.size();)
        query.push_back(nextFolded(what, at, utf8));
    if (utf8) {
        // A start inside a character moves on to the character after it.
        for (std::size_t back = 1; back <= 3 && back <= from; ++back) {
            const std::size_t lead = from - back;
            if ((static_cast<unsigned char>(text[lead]) & 0xC0) != 0x80) {
                if (const std::size_t n = Utf8SequenceLength(text, lead); n > back)
                    from = lead + n;
                break;
            }
        }
    }
    for (std::size_t start = from; start < to;) {
        std::size_t at = start;
        std::size_t matched = 0;
        while (matched < query.size() && at < to) {
            if (nextFolded(text, at, utf8) != query[matched])
                break;
            ++matched;
        }
        if (matched == query.size() && at <= to) {
            result.position = start;
            result.length = at - start;
            return result;
        }
        std::size_t next = start;
        nextFolded(text, next, utf8);
        start = next;
    }
    return result;
}

bool IsAscii(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::size_t FindIgnoringAsciiCase(std::string_view text, std::string_view what)
{
    if (what.empty() || what.size() > text.size())
        return std::string_view::npos;
    // The anchor: the query's rarest byte, looked for in both cases with
    // memchr, which scans many bytes at a time.
    std::size_t anchor = 0;
    for (std::size_t i = 1; i < what.size(); ++i)
        if (commonness(what[i]) < commonness(what[anchor]))
            anchor = i;
    const char lower = lowerAscii(what[anchor]);
    const char upper = isAsciiLetter(lower) ? static_cast<char>(lower - 'a' + 'A') : lower;
    const char *const base = text.data();
    // Anchor positions run from `anchor` to the last one a match fits after.
    // They are looked at a window at a time, so that a case of the anchor
    // that is rare does not send memchr to the end of the text every time.
    const char *const limit = base + (text.size() - what.size()) + anchor + 1;
    constexpr std::ptrdiff_t kWindow = 1 << 16;
    for (const char *window = base + anchor; window < limit;) {
        const char *const windowEnd = limit - window > kWindow ? window + kWindow : limit;
        const auto next = [windowEnd](const char *from, char c) {
            const void *p = std::memchr(from, c, static_cast<std::size_t>(windowEnd - from));
            return p ? static_cast<const char *>(p) : windowEnd;
        };
        const char *nextLower = next(window, lower);
        const char *nextUpper = lower == upper ? windowEnd : next(window, upper);
        for (;;) {
            const char *p = nextLower < nextUpper ? nextLower : nextUpper;
            if (p >= windowEnd)
                break;
            const char *start = p - anchor;
            if (equalIgnoringAsciiCase(start, what))
                return static_cast<std::size_t>(start - base);
            if (nextLower == p)
                nextLower = next(p + 1, lower);
            if (nextUpper == p)
                nextUpper = next(p + 1, upper);
        }
        window = windowEnd;
    }
    return std::string_view::npos;
}

} // namespace varkel
