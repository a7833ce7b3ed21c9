#pragma once
// Shared pieces of the fuzz harnesses: the entry point each one defines, a
// check that stops the run with a message (so the fuzzing engine saves the
// input), the splitting of one input into parts, and a scratch folder for the
// readers that work on files.

#include "bindings/scriptreader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace varkel::fuzz {

[[noreturn]] inline void checkFailed(const char *file, int line, const char *condition)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

} // namespace varkel::fuzz

// Stops the run when a property of the code under test does not hold.
#define FUZZ_CHECK(condition)                                                                        \
    ((condition) ? (void)0 : ::varkel::fuzz::checkFailed(__FILE__, __LINE__, #condition))

namespace varkel::fuzz {

// One input: its first byte as option bits, and the rest split at NUL bytes
// into parts (a missing part reads as empty).
class Input
{
public:
    Input(const std::uint8_t *data, std::size_t size)
        : m_whole(reinterpret_cast<const char *>(data), size)
    {
        std::string_view rest = m_whole;
        if (!rest.empty()) {
            m_options = static_cast<unsigned char>(rest.front());
            rest.remove_prefix(1);
        }
        m_body = rest;
        for (;;) {
            const std::size_t nul = rest.find('\0');
            m_parts.push_back(rest.substr(0, nul));
            if (nul == std::string_view::npos)
                break;
            rest.remove_prefix(nul + 1);
        }
    }

    // The whole input, options byte included.
    std::string_view whole() const { return m_whole; }
    // Everything after the options byte.
    std::string_view body() const { return m_body; }
    unsigned options() const { return m_options; }
    // Bit n of the options byte.
    bool option(unsigned bit) const { return (m_options >> bit) & 1u; }

    std::size_t partCount() const { return m_parts.size(); }
    std::string_view part(std::size_t i) const { return i < m_parts.size() ? m_parts[i] : std::string_view(); }
    const std::vector<std::string_view> &parts() const { return m_parts; }

private:
    std::string_view m_whole;
    std::string_view m_body;
    unsigned m_options = 0;
    std::vector<std::string_view> m_parts;
};

// A folder of this process for the files a harness writes, in memory where
// the system offers it (a file-backed one makes every fsync a disk write).
// Removed when the process ends normally.
inline const std::string &scratchFolder()
{
    static const std::string folder = [] {
        std::error_code ec;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, ec) || ::access(base.c_str(), W_OK) != 0)
            base = std::filesystem::temp_directory_path();
        std::string pattern = (base / "varkel-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            checkFailed(__FILE__, __LINE__, "no scratch folder");
        static const std::string removeAtExit = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(removeAtExit, ignored);
        });
        return pattern;
    }();
    return folder;
}

inline void writeFile(const std::string &path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(out.good());
}

inline std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Lines of a text without their line ends (CR LF, LF or a lone CR), and
// whether the text ends with a line end.
inline std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// Whether `needles` occur in `haystack` in the same order (not necessarily
// next to each other).
template <typename A, typename B>
bool isSubsequence(const std::vector<A> &needles, const std::vector<B> &haystack)
{
    std::size_t h = 0;
    for (const A &n : needles) {
        while (h < haystack.size() && std::string_view(haystack[h]) != std::string_view(n))
            ++h;
        if (h == haystack.size())
            return false;
        ++h;
    }
    return true;
}

// s with ASCII capitals made small.
inline std::string lowerAscii(std::string_view s)
{
    std::string out;
    AsciiLower(s, out);
    return out;
}

} // namespace varkel::fuzz
