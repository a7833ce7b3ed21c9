#include "bindings/bindingrows.h"

#include "bindings/bindingscan.h"
#include "bindings/bindingsearch.h"
#include "bindings/effectivebindings.h"
#include "bindings/scriptreader.h"
#include "language/dictionary.h"

#include <algorithm>
#include <unordered_set>

namespace varkel {

namespace {

// The line that holds byte `position`, with lines ending as the game and the
// editor end them (LF, CR LF, lone CR).
std::string_view lineAround(std::string_view text, std::size_t position, std::size_t &lineStart)
{
    position = std::min(position, text.size());
    std::size_t begin = position;
    while (begin > 0 && text[begin - 1] != '\n' && text[begin - 1] != '\r')
        --begin;
    std::size_t end = text.find_first_of("\r\n", position);
    if (end == std::string_view::npos)
        end = text.size();
    lineStart = begin;
    return text.substr(begin, end - begin);
}

// The words after KEY joined by single spaces.
std::string joinedCommand(const ScriptCommand &command)
{
    std::string text;
    for (std::size_t i = 2; i < command.words.size(); ++i) {
        if (i > 2)
            text += ' ';
        text += command.words[i].text;
    }
    return text;
}

// Reads the `bind` command beginning at `position` into `command` (offsets
// made absolute). False when none begins there.
bool bindCommandAt(std::string_view text, std::size_t position, ScriptCommand &command)
{
    std::size_t lineStart = 0;
    ScriptReader reader(lineAround(text, position, lineStart));
    while (reader.next(command)) {
        if (lineStart + command.start != position)
            continue;
        if (!command.is("bind"))
            return false;
        for (ScriptWord &w : command.words) {
            w.start += lineStart;
            w.end += lineStart;
        }
        command.start += lineStart;
        command.end += lineStart;
        return true;
    }
    return false;
}

bool containsNoCase(std::string_view haystack, std::string_view needle)
{
    if (needle.empty())
        return true;
    const auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(), [](char a, char b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(a) == lower(b);
    });
    return it != haystack.end();
}

} // namespace

bool BindCommandRange(std::string_view text, std::size_t position, const GameDictionary &dict, int keyNumber,
                      std::size_t &start, std::size_t &end)
{
    ScriptCommand command;
    if (!bindCommandAt(text, position, command) || command.words.size() < 3)
        return false;
    if (KeyNumber(dict, command.words[1].text) != keyNumber)
        return false;
    start = command.words[2].start;
    end = command.end;
    return true;
}

std::vector<BindingRow> ScriptBindingRows(std::string_view text, const BindingState &state,
                                          const GameDictionary &dict, const SlotStateSource &slotState,
                                          const LineOfPlace &lineOf)
{
    std::vector<BindingRow> rows;
    const auto add = [&](int keyNumber, std::ptrdiff_t place, const std::string &scanText, KeyState keyState) {
        if (place < 0 || static_cast<std::size_t>(place) >= text.size())
            return;
        BindingRow row;
        row.key = std::string(dict.KeyNameOf(keyNumber));
        row.keyNumber = keyNumber;
        row.position = place;
        row.state = keyState == KeyState::CON ? KeyState::CON : KeyState::On;
        ScriptCommand command;
        if (bindCommandAt(text, static_cast<std::size_t>(place), command) && command.words.size() >= 3 &&
            KeyNumber(dict, command.words[1].text) == keyNumber) {
            row.command = joinedCommand(command);
            row.commandStart = command.words[2].start;
            row.commandEnd = command.end;
        } else {
            row.command = scanText;
        }
        rows.push_back(std::move(row));
    };
    for (int slot = 0; slot < BindingState::SlotCount; ++slot)
        add(slot, state.boundAt[static_cast<std::size_t>(slot)], state.BoundText[static_cast<std::size_t>(slot)],
            slotState ? slotState(slot) : KeyState::On);
    for (std::size_t i = 0; i < state.extraKeys.size(); ++i) {
        const BindingState::ExtraKey &key = state.extraKeys[i];
        if (key.Bound)
            add(BindingState::SlotCount + static_cast<int>(i), key.boundAt, key.BoundText, key.state);
    }
    // The lines of all rows in one walk over the text, in the order of their
    // places (a walk per row would cost the text's length for every key).
    if (lineOf) {
        for (BindingRow &row : rows)
            row.line = lineOf(static_cast<std::size_t>(row.position));
        return rows;
    }
    std::vector<BindingRow *> byPlace;
    byPlace.reserve(rows.size());
    for (BindingRow &row : rows)
        byPlace.push_back(&row);
    std::sort(byPlace.begin(), byPlace.end(),
              [](const BindingRow *a, const BindingRow *b) { return a->position < b->position; });
    std::size_t from = 0;
    int line = 0;
    for (BindingRow *row : byPlace) {
        const auto to = static_cast<std::size_t>(row->position);
        line += LineOfPosition(text.substr(from, to - from + (to < text.size() ? 1 : 0)), to - from);
        from = to;
        row->line = line;
    }
    return rows;
}

std::vector<BindingRow> EffectiveBindingRows(const EffectiveBindings &effective, const GameDictionary &dict)
{
    std::vector<BindingRow> rows;
    rows.reserve(effective.bindings.size());
    for (const EffectiveBinding &b : effective.bindings) {
        BindingRow row;
        row.key = b.key;
        row.command = b.command;
        row.script = b.script;
        row.line = b.line;
        row.position = static_cast<std::ptrdiff_t>(b.position);
        row.commandStart = b.commandStart;
        row.commandEnd = b.commandEnd;
        row.state = KeyState::On;
        row.keyNumber = KeyNumber(dict, b.key);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<BindingRow> FreeKeyRows(const std::vector<BindingRow> &bound, const GameDictionary &dict)
{
    std::unordered_set<std::string> taken;
    for (const BindingRow &row : bound) {
        // "=" binds "+" and "~" the grave accent: the row's key number says which.
        if (row.keyNumber >= 0)
            taken.insert(std::string(dict.KeyNameOf(row.keyNumber)));
        taken.insert(row.key);
    }
    std::vector<BindingRow> rows;
    std::unordered_set<std::string> listed;
    const auto add = [&](const std::string &name) {
        if (name.empty() || taken.count(name) || !listed.insert(name).second)
            return;
        BindingRow row;
        row.key = name;
        row.keyNumber = KeyNumber(dict, name);
        rows.push_back(std::move(row));
    };
    for (const std::string &name : dict.KeyNames())
        add(name);
    for (const std::string &name : dict.ExtraKeyNames())
        add(name);
    return rows;
}

bool RowPasses(const BindingRow &row, RowFilter filter, std::string_view search, std::string_view place)
{
    switch (filter) {
    case RowFilter::All:
        if (!row.bound())
            return false;
        break;
    case RowFilter::Conflicts:
        if (!row.bound() || row.state != KeyState::CON)
            return false;
        break;
    case RowFilter::FreeKeys:
        if (row.bound())
            return false;
        break;
    }
    return containsNoCase(row.key, search) || containsNoCase(row.command, search) || containsNoCase(place, search);
}

std::string CommandForBindLine(std::string_view command, bool wasQuoted)
{
    const bool needsQuotes =
        wasQuoted || command.empty() || command.find_first_of(" \t;") != std::string_view::npos;
    if (!needsQuotes || command.find('"') != std::string_view::npos)
        return std::string(command);
    return '"' + std::string(command) + '"';
}

std::string ExecNameAt(std::string_view text, std::size_t position)
{
    std::size_t lineStart = 0;
    ScriptReader reader(lineAround(text, position, lineStart));
    ScriptCommand command;
    while (reader.next(command))
        if (command.is("exec") && command.words.size() >= 2 && !command.words[1].text.empty())
            return std::string(command.words[1].text);
    return {};
}

} // namespace varkel
