#pragma once
// The binding scan's findings, kept line by line, so that after a change only
// the changed lines are read again and the binding table, the lists and the
// conflicts are rebuilt from the kept findings: the same result as a scan of
// the whole text, for a fraction of its time.

#include "bindings/bindingscan.h"
#include "bindings/bindingstate.h"
#include "bindings/conflicttype.h"
#include "bindings/keystate.h"
#include "documents/editlog.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varkel {

class GameDictionary;

class BindingLines {
public:
    // Reads every line of `text`.
    void Read(std::string_view text, const GameDictionary &dict);
    // Reads again the lines of today's `text` that hold the ranges `changed`
    // (as EditLog::ChangedSince tells them); the findings of the other lines
    // are kept and move with their lines.
    void Update(std::string_view text, const std::vector<TextRange> &changed, const GameDictionary &dict);

    // The findings of the script, in script order: a copy, and each of
    // them in turn.
    std::vector<LineFinding> Findings() const;
    template<typename F>
    void ForEach(F &&f) const
    {
        for (const std::vector<LineFinding> &block : m_blocks)
            for (const LineFinding &finding : block)
                f(finding);
    }

private:
    // Appends the findings of the lines that start in [from, to).
    void readLines(std::string_view text, std::size_t from, std::size_t to, const GameDictionary &dict,
                   std::vector<LineFinding> &into) const;
    // The findings are kept in blocks of a few hundred, so that a line that
    // gains or loses one moves the rest of its block only.
    void setAll(std::vector<LineFinding> findings);
    // Replaces the findings of the lines that held [start, end - grown)
    // before a change with those of today's [start, end), and moves the
    // later ones by `grown`.
    void replaceRun(std::string_view text, std::size_t start, std::size_t end, std::ptrdiff_t grown,
                    const GameDictionary &dict);

    std::vector<std::vector<LineFinding>> m_blocks;
};

// GetBindings over the script whose findings `lines` holds.
void GetBindings(BindingState &state, const BindingLines &lines, ConflictType conflictType, bool keepImages,
                 KeyStateSink *sink);

// ShowAllConflicts over the scripts whose findings `scripts` hold.
void ShowAllConflicts(BindingState &state, std::span<const BindingLines *const> scripts, std::size_t active,
                      KeyStateSink *sink);

} // namespace varkel
