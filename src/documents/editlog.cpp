#include "documents/editlog.h"

#include <algorithm>

namespace varkel {

void EditLog::Record(std::size_t pos, std::size_t removed, std::size_t inserted)
{
    ++m_serial;
    m_changes.push_back({pos, removed, inserted});
    if (m_changes.size() > kKept)
        m_changes.pop_front();
}

bool EditLog::ChangedSince(std::uint64_t since, std::vector<TextRange> &ranges) const
{
    ranges.clear();
    if (since > m_serial)
        return false;
    const std::uint64_t first = m_serial - m_changes.size(); // the oldest kept change is first + 1
    if (since < first)
        return false;
    // The changes after `since` are replayed on a list of ranges of the text
    // as it was after each of them.
    for (std::size_t c = static_cast<std::size_t>(since - first); c < m_changes.size(); ++c) {
        const Change &ch = m_changes[c];
        const std::size_t pos = ch.pos;
        const std::size_t gone = pos + ch.removed;
        // A position of the old text in the new one; a removed position
        // falls to the start of the removal.
        const auto moved = [&](std::size_t p) {
            if (p <= pos)
                return p;
            if (p < gone)
                return pos;
            return p - ch.removed + ch.inserted;
        };
        TextRange hit{pos, pos + ch.inserted,
                      static_cast<std::ptrdiff_t>(ch.inserted) - static_cast<std::ptrdiff_t>(ch.removed)};
        std::vector<TextRange> next;
        next.reserve(ranges.size() + 1);
        for (const TextRange &r : ranges) {
            TextRange m{moved(r.start), r.end < gone && r.end > pos ? pos + ch.inserted : moved(r.end), r.grown};
            if (r.end >= pos && r.start <= gone) {
                // Touches the change: joined with it.
                hit.start = std::min(hit.start, m.start);
                hit.end = std::max(hit.end, m.end);
                hit.grown += r.grown;
            } else {
                next.push_back(m);
            }
        }
        next.insert(std::upper_bound(next.begin(), next.end(), hit,
                                     [](const TextRange &a, const TextRange &b) { return a.start < b.start; }),
                    hit);
        if (next.size() > kMaxRanges) {
            std::ptrdiff_t grown = 0;
            for (const TextRange &r : next)
                grown += r.grown;
            next = {TextRange{next.front().start, next.back().end, grown}};
        }
        ranges = std::move(next);
    }
    return true;
}

TextRange WholeLinesAround(std::string_view text, const TextRange &range)
{
    const std::size_t from = std::min(range.start, text.size());
    const std::size_t to = std::min(range.end, text.size());
    const std::size_t before = from == 0 ? std::string_view::npos : text.rfind('\n', from - 1);
    const std::size_t after = text.find('\n', to);
    return {before == std::string_view::npos ? 0 : before + 1, after == std::string_view::npos ? text.size() : after + 1,
            0};
}

} // namespace varkel
