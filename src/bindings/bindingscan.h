#pragma once
// Reading the bindings of a script: every `bind <key> <command>` line whose
// key the game knows is recorded in the binding table. For a key the device
// panel shows, the slot's new state (On, or CON for a key bound again with a
// different command while conflicts are marked) goes to a key-state sink; a
// key without a place on the panel keeps its state in the table. `alias`
// lines (Quake, Quake II) and `set` lines of unknown variables (Quake III)
// fill the user variable list and the pick list.

#include "bindings/bindingstate.h"
#include "bindings/conflicttype.h"
#include "bindings/keystate.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace varkel {

class GameDictionary;

// One line of a script as the scan reads it: up to its line feed (a carriage
// return before the line feed belongs to the line end), cut before its first
// "//", a stray carriage return inside it read as a space, split into its
// first four words by GetWord's rules.
struct ScriptLine {
    ScriptLine() = default;
    // The words may point into the line's own copy, so a line is not copied.
    ScriptLine(const ScriptLine &) = delete;
    ScriptLine &operator=(const ScriptLine &) = delete;

    std::size_t start = 0;     // byte offset of the line in the script
    std::size_t count = 0;     // number of words found (at most 4)
    std::string_view words[4]; // the words as splitWords gives them; empty beyond count

    // Byte offset in the script of word i (i < count).
    std::size_t offsetOf(std::size_t i) const { return start + static_cast<std::size_t>(words[i].data() - m_base); }

private:
    friend bool ReadScriptLine(std::string_view, std::size_t &, ScriptLine &);
    const char *m_base = nullptr; // where the line's text begins in memory
    std::string m_copy;           // the line, when a stray carriage return had to be replaced
};

// Reads the line that begins at byte offset `pos` into `line` and moves `pos`
// past its line feed. False once `pos` is at the end of the script.
bool ReadScriptLine(std::string_view text, std::size_t &pos, ScriptLine &line);

// The slot a line binds: its first word is `bind` in any case and its second
// word a key name the panel shows. -1 for any other line.
int BindSlot(const ScriptLine &line, const GameDictionary &dict);
// The key number (GameDictionary::KeyNumber) a `bind` line binds, for every
// key of the game; -1 for any other line.
int BindKey(const ScriptLine &line, const GameDictionary &dict);

// Device slot of a key name as a script writes it, or -1. Case-insensitive;
// "=" is the slot of "+" and "~" the slot of the grave accent.
int KeyIndex(const GameDictionary &dict, std::string_view name);
// The same for every key of the game: its slot, or its number after the
// slots for a key the panel does not show; -1 for no key of the game.
int KeyNumber(const GameDictionary &dict, std::string_view name);

// Empties the binding table (the keys off the panel too) and shows every slot Off. The user variable list
// is left alone (each scan rebuilds it). The panel's own part (releasing the
// mouse buttons, emptying the binding row, forgetting the selected slot) is
// the caller's.
void ClearData(BindingState &state, KeyStateSink *sink);

// What one line gives the scan: an alias (Quake, Quake II) or a variable of
// the player's own (Quake III) with the first word of its body or value, or
// the binding of a key of the game.
struct LineFinding {
    enum class Kind : unsigned char { Alias, Variable, Bind };
    Kind kind = Kind::Bind;
    std::size_t at = 0; // byte offset of the line's first word in the script
    int key = -1;       // Bind: the key number (KeyNumber)
    std::string name;   // Alias, Variable: the name
    std::string text;   // the first word of the body or value; Bind: the command
};

// What a line gives the scan; false for a line that gives it nothing.
bool ReadLineFinding(const ScriptLine &line, const GameDictionary &dict, LineFinding &finding);
// Records what a line gave in `state`, by the rules of GetBindings.
void ApplyLineFinding(BindingState &state, const LineFinding &finding, ConflictType conflictType, bool keepImages,
                      KeyStateSink *sink);

// Scans a whole script (CR LF or bare LF line ends) into `state`, without
// clearing the binding table first (ClearData does that), so that several
// scans can share one table. The user variable list and the pick list are
// rebuilt from this script alone. With keepImages, the table is refilled but
// no state goes to the sink. `sink` may be null.
//
// While conflictType is not None, the first binding of a slot wins and a
// later one with a different command (compared case-sensitively) marks the
// slot CON; with None the last binding wins. The line that gave a slot its
// text is recorded in state.boundAt. Keys off the panel follow the same rules
// in state.extraKeys; with keepImages their states are left as they are.
void GetBindings(BindingState &state, std::string_view text, const GameDictionary &dict,
                 ConflictType conflictType, bool keepImages, KeyStateSink *sink);

// The text the alias / vstr box shows after a scan: the entry it showed
// before (`previous`) if the user variable list still holds it, otherwise its
// caption ("Alias", or "Vstr" for Quake III).
std::string AliasBoxText(const BindingState &state, std::string_view previous, std::string_view set);

} // namespace varkel
