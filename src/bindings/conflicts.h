#pragma once
// Binding conflicts across several scripts.

#include "bindings/bindingstate.h"
#include "bindings/conflicttype.h"
#include "bindings/keystate.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace varkel {

class GameDictionary;

// Scans every text in order into one binding table with conflicts marked, so
// a key bound in one script and bound differently in another (or twice in
// one) shows CON. Then refills the command texts from the active script
// alone (its last binding of a key winning) without changing any key's
// state: the states show all scripts, the texts the active one. A key bound
// only in another script keeps its state with an empty text.
// `active` indexes `texts`; the user variable and pick lists end up those of
// the active script.
void ShowAllConflicts(BindingState &state, const GameDictionary &dict,
                      std::span<const std::string_view> texts, std::size_t active, KeyStateSink *sink);

// What the frame does when a script becomes active, or after a key typed in
// it: with ConflictType All, ShowAllConflicts over all open texts; otherwise
// ClearData and a scan of the active text alone.
void RefreshDocumentBindings(BindingState &state, const GameDictionary &dict, ConflictType conflictType,
                             std::span<const std::string_view> texts, std::size_t active,
                             KeyStateSink *sink);

} // namespace varkel
