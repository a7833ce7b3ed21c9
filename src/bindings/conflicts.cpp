#include "bindings/conflicts.h"

#include "bindings/bindinglines.h"
#include "bindings/bindingscan.h"

#include <vector>

namespace varkel {

void ShowAllConflicts(BindingState &state, const GameDictionary &dict,
                      std::span<const std::string_view> texts, std::size_t active, KeyStateSink *sink)
{
    std::vector<BindingLines> lines(texts.size());
    std::vector<const BindingLines *> scripts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        lines[i].Read(texts[i], dict);
        scripts.push_back(&lines[i]);
    }
    ShowAllConflicts(state, scripts, active, sink);
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
