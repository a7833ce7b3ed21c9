#pragma once
// The rows of the bindings table: one per key the active script binds (as the
// binding scan read it), one per key the game's exec chain leaves bound (the
// effective bindings), or one per key of the game that nothing binds (the
// free keys). Built from the script's bytes and the dictionary alone, so the
// table widget only shows them.

#include "bindings/bindingstate.h"
#include "bindings/keystate.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varkel {

class GameDictionary;
struct EffectiveBindings;

struct BindingRow {
    std::string key;                     // lower case, as the dictionary names it
    std::string command;                 // the words after KEY joined by single spaces
    std::size_t script = 0;              // which script holds the line (0: the active one)
    int line = -1;                       // 0-based line of the `bind` word; -1 for a free key
    std::ptrdiff_t position = -1;        // byte offset of the `bind` word; -1 for a free key
    std::size_t commandStart = 0;        // the command's bytes as written, quotes included;
    std::size_t commandEnd = 0;          //   equal when the line cannot be edited in place
    KeyState state = KeyState::Off;      // On, or CON for a key bound again differently
    int keyNumber = -1;                  // GameDictionary::KeyNumber of the key
    bool onPanel() const { return keyNumber >= 0 && keyNumber < BindingState::SlotCount; }
    bool bound() const { return position >= 0; }
    bool editable() const { return commandEnd > commandStart; }
};

// The state the panel shows for a slot (0..109).
using SlotStateSource = std::function<KeyState(int slot)>;

// The rows of the keys the active script binds, in key-number order: every
// key the scan recorded with a line of `text` (BindingState::boundAt), its
// state from `slotState` (keys off the panel keep theirs in the table). The
// command is read from that line as the game reads it; where the line no
// longer holds a `bind` of the key, the scan's text is shown and the row
// cannot be edited in place.
// `lineOf`, when given, tells the line of a position of `text` from a line
// index the caller keeps; without it the text is walked up to the last row.
using LineOfPlace = std::function<int(std::size_t position)>;
std::vector<BindingRow> ScriptBindingRows(std::string_view text, const BindingState &state,
                                          const GameDictionary &dict, const SlotStateSource &slotState,
                                          const LineOfPlace &lineOf = {});

// The rows of the effective bindings, in their order (by key); each row's
// script indexes `effective.scripts`.
std::vector<BindingRow> EffectiveBindingRows(const EffectiveBindings &effective, const GameDictionary &dict);

// Every key name of the set (panel slots, then the keys off the panel) that
// no row of `bound` names, as unbound rows.
std::vector<BindingRow> FreeKeyRows(const std::vector<BindingRow> &bound, const GameDictionary &dict);

enum class RowFilter { All, Conflicts, FreeKeys };

// Whether a row passes the filter and the search text. The search is
// compared without regard to case with the key, the command and the place
// ("file:line" as `place` gives it); an empty search passes every row.
bool RowPasses(const BindingRow &row, RowFilter filter, std::string_view search, std::string_view place);

// The byte range of the command of the `bind` command whose `bind` word is at
// `position` in `text` and whose key is `keyNumber`: from the first word
// after KEY to the end of the last, quotes included. False when no such
// `bind` command begins there, or it has no command.
bool BindCommandRange(std::string_view text, std::size_t position, const GameDictionary &dict, int keyNumber,
                      std::size_t &start, std::size_t &end);

// The command as it is written back into a `bind` line: in double quotes
// when the old command was quoted or the new one needs them (it is empty or
// has a blank or ";"), as typed when it holds a double quote of its own.
std::string CommandForBindLine(std::string_view command, bool wasQuoted);

// The NAME of an `exec NAME` command on the line holding byte `position`
// (the first such command of the line); empty when the line has none.
std::string ExecNameAt(std::string_view text, std::size_t position);

} // namespace varkel
