#include "documents/textsearch.h"

#include <cstring>

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

} // namespace

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
