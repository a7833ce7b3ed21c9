#pragma once
// The changes made to a text, kept so that work over the text (colouring,
// reading the bindings) can redo only what a change touched. Each change is
// numbered; a reader remembers the number it has seen and later asks which
// ranges of today's text differ from the text it saw. Only the latest
// changes are kept: a reader that fell further behind hears that it must
// read the whole text again.

#include <cstddef>
#include <string_view>
#include <cstdint>
#include <deque>
#include <vector>

namespace varkel {

// Bytes [start, end) of the present text that changed; they replaced
// end - start - grown bytes of the earlier text.
struct TextRange {
    std::size_t start = 0;
    std::size_t end = 0;
    std::ptrdiff_t grown = 0;
    bool operator==(const TextRange &) const = default;
};

// The whole lines a changed range lies in (both ends clamped to the text):
// from the start of the line holding `start` to one past the line feed that
// ends the line holding `end`, or to the end of the text.
TextRange WholeLinesAround(std::string_view text, const TextRange &range);

class EditLog {
public:
    // At most this many changes are kept.
    static constexpr std::size_t kKept = 4096;
    // More separate ranges than this are answered as one that spans them.
    static constexpr std::size_t kMaxRanges = 1024;

    // `removed` bytes at `pos` were replaced by `inserted` bytes.
    void Record(std::size_t pos, std::size_t removed, std::size_t inserted);
    // The number of the latest change (0 before any).
    std::uint64_t Serial() const { return m_serial; }

    // The ranges of today's text that changed since change number `since`,
    // in order and apart from each other; an inserted byte lies in a range,
    // and a removal leaves an empty range where it was. False when the log no
    // longer reaches back to `since` (or `since` lies in the future): the
    // whole text must be read again.
    bool ChangedSince(std::uint64_t since, std::vector<TextRange> &ranges) const;

private:
    struct Change {
        std::size_t pos;
        std::size_t removed;
        std::size_t inserted;
    };
    std::deque<Change> m_changes; // numbered m_serial - size() + 1 .. m_serial
    std::uint64_t m_serial = 0;
};

} // namespace varkel
