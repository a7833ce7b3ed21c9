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

namespace {
constexpr std::size_t kBlock = 512;
}

void BindingLines::setAll(std::vector<LineFinding> findings)
{
    m_blocks.clear();
    for (std::size_t i = 0; i < findings.size(); i += kBlock) {
        const auto from = findings.begin() + static_cast<std::ptrdiff_t>(i);
        const auto to = findings.begin() + static_cast<std::ptrdiff_t>(std::min(findings.size(), i + kBlock));
        m_blocks.emplace_back(std::make_move_iterator(from), std::make_move_iterator(to));
    }
}

std::vector<LineFinding> BindingLines::Findings() const
{
    std::vector<LineFinding> all;
    ForEach([&](const LineFinding &f) { all.push_back(f); });
    return all;
}

void BindingLines::Read(std::string_view text, const GameDictionary &dict)
{
    std::vector<LineFinding> findings;
    readLines(text, 0, text.size(), dict, findings);
    setAll(std::move(findings));
}

void BindingLines::replaceRun(std::string_view text, std::size_t start, std::size_t end, std::ptrdiff_t grown,
                              const GameDictionary &dict)
{
    const auto moved = [](LineFinding &f, std::ptrdiff_t by) {
        f.at = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(f.at) + by);
    };
    const std::size_t oldStart = start;
    const auto oldEnd = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(end) - grown);
    std::vector<LineFinding> fresh;
    readLines(text, start, end, dict, fresh);
    // The first block whose findings reach the run (or the last block).
    std::size_t b = 0;
    while (b + 1 < m_blocks.size() && (m_blocks[b].empty() || m_blocks[b].back().at < oldStart))
        ++b;
    if (m_blocks.empty())
        m_blocks.emplace_back();
    const auto before = [](const LineFinding &f, std::size_t p) { return f.at < p; };
    std::vector<LineFinding> &block = m_blocks[b];
    const auto lo = std::lower_bound(block.begin(), block.end(), oldStart, before);
    const std::size_t at = static_cast<std::size_t>(lo - block.begin());
    // The run's old findings go, from this block and the ones after it.
    std::size_t gone = static_cast<std::size_t>(std::lower_bound(lo, block.end(), oldEnd, before) - lo);
    block.erase(lo, lo + static_cast<std::ptrdiff_t>(gone));
    std::size_t next = b + 1;
    if (at == block.size())
        for (; next < m_blocks.size(); ++next) {
            std::vector<LineFinding> &later = m_blocks[next];
            const auto upTo = std::lower_bound(later.begin(), later.end(), oldEnd, before);
            later.erase(later.begin(), upTo);
            if (!later.empty())
                break;
        }
    block.insert(block.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(fresh.begin()),
                 std::make_move_iterator(fresh.end()));
    for (std::size_t i = at + fresh.size(); i < block.size(); ++i)
        moved(block[i], grown);
    for (std::size_t k = b + 1; k < m_blocks.size(); ++k)
        for (LineFinding &f : m_blocks[k])
            moved(f, grown);
    if (block.size() > 2 * kBlock) {
        std::vector<LineFinding> all;
        for (std::vector<LineFinding> &blk : m_blocks)
            all.insert(all.end(), std::make_move_iterator(blk.begin()), std::make_move_iterator(blk.end()));
        setAll(std::move(all));
    }
    std::erase_if(m_blocks, [](const std::vector<LineFinding> &blk) { return blk.empty(); });
}


void BindingLines::Update(std::string_view text, const std::vector<TextRange> &changed, const GameDictionary &dict)
{
    // Nothing kept (a script just read into an empty editor): one read of
    // the whole text does it.
    if (m_blocks.empty()) {
        Read(text, dict);
        return;
    }
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

    const auto moved = [](LineFinding &f, std::ptrdiff_t by) {
        f.at = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(f.at) + by);
    };
    if (spans.size() <= 8) {
        // A few runs of lines (a keystroke, a paste, an undo): each replaces
        // its findings within their block and moves the later ones. Once a
        // run is done, the findings after it sit where today's text has
        // them up to the next run, so the next run finds its old findings
        // at its own start.
        for (const Lines &span : spans)
            replaceRun(text, span.start, span.end, span.grown, dict);
        return;
    }

    std::vector<LineFinding> findings;
    for (std::vector<LineFinding> &block : m_blocks)
        findings.insert(findings.end(), std::make_move_iterator(block.begin()), std::make_move_iterator(block.end()));
    m_blocks.clear();
    std::vector<LineFinding> next;
    next.reserve(findings.size() + 16);
    std::size_t kept = 0;        // the next earlier finding to look at
    std::ptrdiff_t shift = 0;    // how far the earlier text has moved so far
    const auto keepUpTo = [&](std::size_t oldEnd) {
        for (; kept < findings.size() && findings[kept].at < oldEnd; ++kept) {
            next.push_back(std::move(findings[kept]));
            moved(next.back(), shift);
        }
    };
    for (const Lines &span : spans) {
        const auto oldStart = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(span.start) - shift);
        const auto oldEnd = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(span.end) - shift - span.grown);
        keepUpTo(oldStart);
        while (kept < findings.size() && findings[kept].at < oldEnd)
            ++kept;
        readLines(text, span.start, span.end, dict, next);
        shift += span.grown;
    }
    keepUpTo(static_cast<std::size_t>(-1));
    setAll(std::move(next));
}

void GetBindings(BindingState &state, const BindingLines &lines, ConflictType conflictType, bool keepImages,
                 KeyStateSink *sink)
{
    state.aliasList.clear();
    state.userVariables.clear();
    lines.ForEach([&](const LineFinding &finding) { ApplyLineFinding(state, finding, conflictType, keepImages, sink); });
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
