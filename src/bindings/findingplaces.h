#pragma once
// The findings of a check of a script, in text order, whose positions follow
// the edits of the text. An edit moves every finding behind it; the move is
// kept as one pending offset for all findings from a boundary on, so that an
// edit costs the findings between it and the edit before, not all of them.

#include "bindings/lint.h"

#include <cstddef>
#include <vector>

namespace varkel {

class FindingPlaces {
public:
    // The findings of a whole check, in text order.
    void Assign(std::vector<LintFinding> findings);
    void Clear();

    // `length` bytes inserted at `position`: findings at or after it move on.
    void Inserted(std::size_t position, std::size_t length);
    // `length` bytes deleted at `position`: findings behind them move back,
    // findings in them go to `position`.
    void Deleted(std::size_t position, std::size_t length);

    std::size_t size() const { return m_findings.size(); }
    bool empty() const { return m_findings.empty(); }
    // The present position of finding i, and the finding with it.
    std::size_t PositionAt(std::size_t i) const
    {
        return i < m_from ? m_findings[i].position : m_findings[i].position + m_by;
    }
    LintFinding At(std::size_t i) const;
    // The first finding at or after `position` (size() when none).
    std::size_t LowerBound(std::size_t position) const;
    // Findings [first, last) make way for `fresh` (present positions, in
    // text order, all between the findings around them).
    void Replace(std::size_t first, std::size_t last, std::vector<LintFinding> fresh);
    // Every finding with its present position.
    std::vector<LintFinding> All() const;

private:
    // Findings before `to` take their present positions and the pending
    // offset applies from `to` on.
    void moveBoundary(std::size_t to);

    std::vector<LintFinding> m_findings;
    std::size_t m_from = 0; // findings from here on are stored without m_by
    std::size_t m_by = 0;   // added (modulo the size type) to those positions
};

} // namespace varkel
