#include "bindings/conflicts.h"

#include "bindings/bindingscan.h"

namespace varkel {

void ShowAllConflicts(BindingState &state, const GameDictionary &dict,
                      std::span<const std::string_view> texts, std::size_t active, KeyStateSink *sink)
{
    ClearData(state, sink);
    for (std::string_view text : texts)
        GetBindings(state, text, dict, ConflictType::All, false, sink);
    if (active >= texts.size())
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
    GetBindings(state, texts[active], dict, ConflictType::None, true, sink);
}

void RefreshDocumentBindings(BindingState &state, const GameDictionary &dict, ConflictType conflictType,
                             std::span<const std::string_view> texts, std::size_t active,
                             KeyStateSink *sink)
{
    if (conflictType == ConflictType::All) {
        ShowAllConflicts(state, dict, texts, active, sink);
        return;
    }
    ClearData(state, sink);
    if (active < texts.size())
        GetBindings(state, texts[active], dict, conflictType, false, sink);
}

} // namespace varkel
