#include "bindings/bindinglines.h"

#include <algorithm>

namespace varkel {

void BindingLines::readLines(std::string_view text, std::size_t from, std::size_t to, const GameDictionary &dict,
                             std::vector<LineFinding> &into) const
{
    ScriptLine line;
    LineFinding finding;
    std::size_t pos = from;
    while (pos < to && ReadScriptLine(text, pos, line))
        if (ReadLineFinding(line, dict, finding))
            into.push_back(finding);
}

void BindingLines::Read(std::string_view text, const GameDictionary &dict)
{
    m_findings.clear();
    readLines(text, 0, text.size(), dict, m_findings);
}

void BindingLines::Update(std::string_view text, const std::vector<TextRange> &changed, const GameDictionary &dict)
{
    // Each change grows to whole lines: from the byte after the line feed
    // before it to the byte after the first line feed at or behind its end.
    // Both line feeds are unchanged bytes, so the lines in between replace a
    // run of whole lines of the earlier text.
    struct Lines {
        std::size_t start, end;
        std::ptrdiff_t grown;
    };
    std::vector<Lines> spans;
    for (const TextRange &r : changed) {
        const TextRange lines = WholeLinesAround(text, r);
        const std::size_t start = lines.start;
        const std::size_t end = lines.end;
        if (!spans.empty() && start <= spans.back().end) {
            spans.back().end = std::max(spans.back().end, end);
            spans.back().grown += r.grown;
        } else {
            spans.push_back({start, end, r.grown});
        }
    }
    if (spans.empty())
        return;

    std::vector<LineFinding> next;
    next.reserve(m_findings.size() + 16);
    std::size_t kept = 0;        // the next earlier finding to look at
    std::ptrdiff_t shift = 0;    // how far the earlier text has moved so far
    const auto keepUpTo = [&](std::size_t oldEnd) {
        for (; kept < m_findings.size() && m_findings[kept].at < oldEnd; ++kept) {
            next.push_back(std::move(m_findings[kept]));
            next.back().at = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(next.back().at) + shift);
        }
    };
    for (const Lines &span : spans) {
        const auto oldStart = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(span.start) - shift);
        const auto oldEnd = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(span.end) - shift - span.grown);
        keepUpTo(oldStart);
        while (kept < m_findings.size() && m_findings[kept].at < oldEnd)
            ++kept;
        readLines(text, span.start, span.end, dict, next);
        shift += span.grown;
    }
    keepUpTo(static_cast<std::size_t>(-1));
    m_findings = std::move(next);
}

void GetBindings(BindingState &state, const BindingLines &lines, ConflictType conflictType, bool keepImages,
                 KeyStateSink *sink)
{
    state.aliasList.clear();
    state.userVariables.clear();
    for (const LineFinding &finding : lines.Findings())
        ApplyLineFinding(state, finding, conflictType, keepImages, sink);
}

void ShowAllConflicts(BindingState &state, std::span<const BindingLines *const> scripts, std::size_t active,
                      KeyStateSink *sink)
{
    ClearData(state, sink);
    for (const BindingLines *lines : scripts)
        GetBindings(state, *lines, ConflictType::All, false, sink);
    if (active >= scripts.size())
        return;
    // The texts of the active script, the Bound flags and the states of all.
    // The lines found so far may lie in other scripts: only the active
    // script's own lines are kept.
    for (std::string &text : state.BoundText)
        text.clear();
    state.boundAt = BindingState::nowhere();
    for (BindingState::ExtraKey &key : state.extraKeys) {
        key.BoundText.clear();
        key.boundAt = BindingState::kNowhere;
    }
    GetBindings(state, *scripts[active], ConflictType::None, true, sink);
}

} // namespace varkel
