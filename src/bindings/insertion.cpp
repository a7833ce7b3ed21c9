#include "bindings/insertion.h"

#include "bindings/uservariablelist.h"

#include <algorithm>

namespace varkel {

namespace {
bool isQuake3(std::string_view set)
{
    return set == "Q3";
}

std::string_view trimSpaces(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}
} // namespace

InsertionTool ToolOfRow(int row)
{
    switch (row) {
    case kAliasRow: return InsertionTool::Alias;
    case kCommandRow: return InsertionTool::Command;
    default: return InsertionTool::Cvar;
    }
}

std::string CommandRowInsertText(int row, std::string_view set, std::string_view comboText)
{
    if (row == kAliasRow && isQuake3(set))
        return "vstr " + std::string(comboText);
    return std::string(comboText);
}

std::string BindingInsertText(std::string_view set, std::string_view keyText, std::string_view binding)
{
    const std::string key = isQuake3(set) && trimSpaces(keyText).size() == 1 ? toLowerLatin1(keyText)
                                                                            : std::string(keyText);
    std::string line;
    line.reserve(8 + key.size() + binding.size());
    line += "bind ";
    line += key;
    line += " \"";
    line += binding;
    line += '"';
    return line;
}

LinePlacement PlaceBindingLine(std::string_view document, std::size_t selStart, std::size_t selLength,
                               std::string_view lineEnd, std::string_view bindLine)
{
    selStart = std::min(selStart, document.size());
    LinePlacement p;
    p.start = selStart;
    p.text = std::string(bindLine);
    if (selLength > 0) {
        p.length = std::min(selLength, document.size() - selStart);
        p.caret = p.start + p.text.size();
        return p;
    }
    // The caret's line as the editor counts lines: CR, LF and CR LF end one.
    const std::size_t before = selStart == 0 ? std::string_view::npos
                                             : document.find_last_of("\r\n", selStart - 1);
    const std::size_t lineStart = before == std::string_view::npos ? 0 : before + 1;
    std::size_t lineStop = document.find_first_of("\r\n", selStart);
    if (lineStop == std::string_view::npos)
        lineStop = document.size();
    if (lineStart == lineStop) {
        p.caret = p.start + p.text.size();
        return p;
    }
    p.start = lineStart;
    p.text += lineEnd;
    p.caret = selStart + p.text.size();
    p.ownLine = true;
    return p;
}

bool CommandRowEnabled(int row, std::string_view comboText, const UserVariableList *vars, const GameDictionary &dict)
{
    if (row == kAliasRow)
        return vars && vars->contains(comboText);
    return comboText.size() > 1 && dict.Lookup(comboText) != 0;
}

bool ItemToolsEnabled(const ItemEntry *entry)
{
    return entry && !entry->heading;
}

bool BindingToolEnabled(std::string_view keyText, std::string_view binding, bool documentOpen)
{
    return !keyText.empty() && !binding.empty() && documentOpen;
}

std::optional<std::string> CommandRowSearchText(int row, std::string_view comboText, const UserVariableList *vars)
{
    if (row != kAliasRow)
        return std::string(comboText);
    if (!vars)
        return std::nullopt;
    const std::string *value = vars->value(comboText);
    if (!value)
        return std::nullopt;
    return *value;
}

std::string NextInsertTarget(TargetEvent event)
{
    return std::string(event == TargetEvent::EditorLostFocus ? kEditBox : kBindingBox);
}

InsertDestination ClickDestination(InsertionTool tool, std::string_view insertTarget, bool editorVisible)
{
    if (tool != InsertionTool::Binding && insertTarget == kBindingBox)
        return InsertDestination::BindingBox;
    return editorVisible ? InsertDestination::Editor : InsertDestination::Nowhere;
}

AfterInsertion AfterClick(InsertionTool tool, InsertDestination destination, int autoSyntaxType, bool autoRefresh)
{
    AfterInsertion after;
    if (destination != InsertDestination::Editor)
        return after;
    if (tool == InsertionTool::Binding) {
        after.refreshAll = true;
        return after;
    }
    after.realTimeHiLite = autoSyntaxType != 0;
    after.refreshBindings = autoRefresh;
    return after;
}

AfterInsertion AfterDrag(InsertionTool tool, std::string_view insertTarget, bool editorVisible, int autoSyntaxType,
                         bool autoRefresh)
{
    AfterInsertion after;
    if (tool == InsertionTool::Binding) {
        after.refreshAll = true;
        return after;
    }
    if (!editorVisible)
        return after;
    after.realTimeHiLite = autoSyntaxType != 0;
    after.refreshBindings = autoRefresh && insertTarget != kBindingBox;
    return after;
}

std::string_view RowCaption(int row, std::string_view set)
{
    switch (row) {
    case kAliasRow: return isQuake3(set) ? "Vstr" : "Alias";
    case kCommandRow: return "Command";
    default: return "Cvar";
    }
}

std::string RowInitialText(int row, std::string_view set)
{
    switch (row) {
    case kAliasRow: return std::string(RowCaption(row, set));
    case kCommandRow: return std::string(set) + " Commands";
    default: return std::string(set) + " Cvars";
    }
}

std::string ItemsCaption(std::string_view set)
{
    return std::string(set) + " Items";
}

std::string_view InsertToolTip(InsertionTool tool, std::string_view set)
{
    switch (tool) {
    case InsertionTool::Alias:
        return isQuake3(set) ? "Place vstr at Insertion Point (Right Button Drags)"
                             : "Place Alias at Insertion Point (Right Button Drags)";
    case InsertionTool::Command: return "Place Command at Insertion Point (Right Button Drags)";
    case InsertionTool::Cvar: return "Place Cvar at Insertion Point (Right Button Drags)";
    case InsertionTool::Item: return "Place Item at Insertion Point (Right Button Drags)";
    case InsertionTool::Binding: return "Place Binding at Insertion Point (Right Button Drags)";
    }
    return {};
}

std::string_view SearchToolTip(InsertionTool tool, std::string_view set)
{
    switch (tool) {
    case InsertionTool::Alias: return isQuake3(set) ? "Search for Selected vstr" : "Search for Selected Alias";
    case InsertionTool::Command: return "Search for Selected Command";
    case InsertionTool::Cvar: return "Search for Selected Cvar";
    case InsertionTool::Item: return "Search for Selected Item";
    case InsertionTool::Binding: return {};
    }
    return {};
}

std::string_view AliasListToolTip(std::string_view set)
{
    return isQuake3(set) ? "vstr List" : "Alias List";
}

std::string AliasRowText(const UserVariableList *vars, std::string_view previous, std::string_view set)
{
    if (vars && vars->contains(previous))
        return std::string(previous);
    return std::string(RowCaption(kAliasRow, set));
}

} // namespace varkel
