#include "bindings/findingplaces.h"

#include <algorithm>
#include <iterator>

namespace varkel {

void FindingPlaces::Assign(std::vector<LintFinding> findings)
{
    m_findings = std::move(findings);
    m_from = m_findings.size();
    m_by = 0;
}

void FindingPlaces::Clear()
{
    Assign({});
}

void FindingPlaces::moveBoundary(std::size_t to)
{
    for (; m_from < to; ++m_from)
        m_findings[m_from].position += m_by;
    for (; m_from > to; --m_from)
        m_findings[m_from - 1].position -= m_by;
}

std::size_t FindingPlaces::LowerBound(std::size_t position) const
{
    std::size_t lo = 0;
    std::size_t hi = m_findings.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (PositionAt(mid) < position)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void FindingPlaces::Inserted(std::size_t position, std::size_t length)
{
    moveBoundary(LowerBound(position));
    m_by += length;
}

void FindingPlaces::Deleted(std::size_t position, std::size_t length)
{
    const std::size_t first = LowerBound(position);
    moveBoundary(first);
    m_by -= length;
    // Stored so that adding the new offset gives `position`.
    for (std::size_t i = first; i < m_findings.size() && m_findings[i].position + m_by + length < position + length;
         ++i)
        m_findings[i].position = position - m_by;
}

LintFinding FindingPlaces::At(std::size_t i) const
{
    LintFinding f = m_findings[i];
    f.position = PositionAt(i);
    return f;
}

void FindingPlaces::Replace(std::size_t first, std::size_t last, std::vector<LintFinding> fresh)
{
    moveBoundary(last);
    const std::size_t common = std::min(last - first, fresh.size());
    const auto at = m_findings.begin() + static_cast<std::ptrdiff_t>(first);
    std::move(fresh.begin(), fresh.begin() + static_cast<std::ptrdiff_t>(common), at);
    const auto rest = at + static_cast<std::ptrdiff_t>(common);
    if (last - first > common)
        m_findings.erase(rest, rest + static_cast<std::ptrdiff_t>(last - first - common));
    else
        m_findings.insert(rest, std::make_move_iterator(fresh.begin() + static_cast<std::ptrdiff_t>(common)),
                          std::make_move_iterator(fresh.end()));
    m_from = first + fresh.size();
}

std::vector<LintFinding> FindingPlaces::All() const
{
    std::vector<LintFinding> all = m_findings;
    for (std::size_t i = m_from; i < all.size(); ++i)
        all[i].position += m_by;
    return all;
}

} // namespace varkel
