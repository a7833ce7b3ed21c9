#pragma once
// Searches that put the caret on a key's `bind` line. They work on the text
// of the active script and return what to select; the editor does the
// selecting (and leaves the selection empty when nothing is found).

#include "bindings/bindingstate.h"

#include <cstddef>
#include <string_view>

namespace varkel {

class GameDictionary;

// A found text: its character position and length, or position -1.
struct TextMatch {
    std::ptrdiff_t position = -1;
    std::size_t length = 0;

    bool found() const { return position >= 0; }
};

// Finds `needle` in `text` from character position `start` on, ignoring case
// (Latin-1). An empty needle is never found.
TextMatch findText(std::string_view text, std::string_view needle, std::ptrdiff_t start);

// Finds the `bind` line of a key from `start` on. Tries, in order, the first
// of these texts that occurs (Q a double quote):
//   "bind " Key " " Command
//   "bind " Q Key Q " " Command
//   "bind " Key " " Q Command Q
//   "bind " Q Key Q " " Q Command Q
//   Command
// With an empty command the first text is "bind " + key + " ", so the first
// binding of the key matches whatever its command.
TextMatch FindBinding(std::string_view text, std::string_view key, std::string_view command,
                      std::ptrdiff_t start);

// The line a click on a slot selects: the `bind` line the last scan took the
// slot's command text from (state.boundAt), from its first word to the end
// of its line, as long as `text` still holds a `bind` line of that key
// there. Where the scan recorded no line, or the text has changed under it,
// the text search: HandleDupKeys for the two keys with two names, otherwise
// FindBinding with the slot's recorded command from the start of the text.
// A key number past the panel's slots (a key the game knows that has no
// slot) finds its line the same way from its record among the extra keys.
TextMatch FindSlotBinding(std::string_view text, const BindingState &state, const GameDictionary &dict, int slot);

// The next `bind` line of `slot` whose first word lies at or after `start`
// (the caller gives one past the caret), read as the binding scan reads
// lines, from its first word to the end of its line. Every line that names
// the key "+" or the grave accent comes before any that names it "=" or "~".
// Does not wrap. Any key number of the game will do, on the panel or not.
TextMatch FindNextConflict(std::string_view text, const GameDictionary &dict, int slot, std::ptrdiff_t start);

// What selecting a line from its word at `position` selects: up to the end
// of its line, trailing blanks left out.
TextMatch LineFrom(std::string_view text, std::size_t position);

// The 0-based line of a byte offset, counting line ends as the editor does:
// CR LF, a lone LF and a lone CR each end a line.
int LineOfPosition(std::string_view text, std::size_t position);

// The first `bind` line of a key with two names: `key` is "+" (also written
// "=") or the grave accent (also written "~"). Whichever name's first line
// comes first wins; with neither found, nothing.
TextMatch HandleDupKeys(std::string_view text, std::string_view key);

} // namespace varkel
