#pragma once
// Reading the bindings of a script: every `bind <key> <command>` line whose
// key the device panel shows is recorded in the binding table, and the slot's
// new state (On, or CON for a key bound again with a different command while
// conflicts are marked) goes to a key-state sink. `alias` lines (Quake,
// Quake II) and `set` lines of unknown variables (Quake III) fill the user
// variable list and the pick list.

#include "bindings/bindingstate.h"
#include "bindings/conflicttype.h"
#include "bindings/keystate.h"

#include <string>
#include <string_view>

namespace varkel {

class GameDictionary;

// Device slot of a key name as a script writes it, or -1. Case-insensitive;
// "=" is the slot of "+" and "~" the slot of the grave accent.
int KeyIndex(const GameDictionary &dict, std::string_view name);

// Empties the binding table and shows every slot Off. The user variable list
// is left alone (each scan rebuilds it). The panel's own part (releasing the
// mouse buttons, emptying the binding row, forgetting the selected slot) is
// the caller's.
void ClearData(BindingState &state, KeyStateSink *sink);

// Scans a whole script (CR LF or bare LF line ends) into `state`, without
// clearing the binding table first (ClearData does that), so that several
// scans can share one table. The user variable list and the pick list are
// rebuilt from this script alone. With keepImages, the table is refilled but
// no state goes to the sink. `sink` may be null.
//
// While conflictType is not None, the first binding of a slot wins and a
// later one with a different command (compared case-sensitively) marks the
// slot CON; with None the last binding wins.
void GetBindings(BindingState &state, std::string_view text, const GameDictionary &dict,
                 ConflictType conflictType, bool keepImages, KeyStateSink *sink);

// The text the alias / vstr box shows after a scan: the entry it showed
// before (`previous`) if the user variable list still holds it, otherwise its
// caption ("Alias", or "Vstr" for Quake III).
std::string AliasBoxText(const BindingState &state, std::string_view previous, std::string_view set);

} // namespace varkel
