// varkel-cli bindings [--set Q1|Q2|Q3] [--data DIR] [--conflicts none|active|all]
//                     [--format tsv|table] [--lines] [--encoding auto|latin1|utf8] FILE...
// varkel-cli bindings --effective [--encoding auto|latin1|utf8] FILE
//
// Reads the scripts as the main window does when the last one is the active
// script: with conflicts none or active only that script is scanned, with all
// every script is scanned in the order given. Prints every slot that is not
// Off, then the user variables, then the alias / vstr pick list. With
// --lines each slot also names the line of the active script that gave it
// its command text, the line a click on that key selects. With --effective
// the script is run as the game runs it instead, exec chain included (see
// cmd_effective.cpp).
#include "cli/cmd_bindings.h"
#include "cli/cliutil.h"
#include "cli/cmd_effective.h"
#include "documents/encoding.h"
#include "documents/fileio.h"
#include "documents/unicodetext.h"

#include "bindings/bindingsearch.h"
#include "bindings/bindingstate.h"
#include "bindings/conflicts.h"
#include "bindings/keystatetable.h"
#include "language/dictionary.h"
#include "language/gamedetect.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>


namespace {

constexpr const char *kUsage =
    "Usage: varkel-cli bindings [OPTIONS] FILE...\n"
    "       varkel-cli bindings --effective [--encoding auto|latin1|utf8] FILE\n"
    "\n"
    "Reads the bindings of the scripts as the device panel shows them, the last\n"
    "FILE being the active script (FILE - reads standard input), and prints:\n"
    "  slot <number> <key name> On|CON <command>   for every bound slot; keys the\n"
    "                                              panel does not show come last,\n"
    "                                              with - as their number\n"
    "  slot <number> <key name> On|CON <FILE>:<line> <command>\n"
    "                                              the same with --lines\n"
    "  var <name> <value>                          for every user variable\n"
    "  list <name>                                 for every pick-list entry\n"
    "\n"
    "With --effective, runs FILE as the game does, every script it execs\n"
    "included, and prints, sorted by key name:\n"
    "  bind <key> <PATH>:<line> <command>          for every key bound at the end\n"
    "then, in the order met, for every exec that ran no script:\n"
    "  note <PATH>:<line> missing|cycle <name>     no such script / already running\n"
    "  note <PATH>:<line> limit <name>             not run: the chain has run too much\n"
    "PATH is FILE as given, or an exec'd script's folder + \"/\" + file name.\n"
    "\n"
    "Options:\n"
    "  --set Q1|Q2|Q3|auto             command set, in any case (default Q2); auto:\n"
    "                                  the set detected from the active script's\n"
    "                                  words, Q2 when they do not tell\n"
    "  --data DIR                      game data folder (default: Data beside the program)\n"
    "  --conflicts none|active|all     where conflicts are marked (default active);\n"
    "                                  with all, every FILE is scanned\n"
    "  --format tsv|table              tab-separated lines (default) or a table\n"
    "  --encoding auto|latin1|utf8     how the active script's texts read; they are\n"
    "                                  printed as UTF-8 (default auto: UTF-8 when\n"
    "                                  its bytes are valid UTF-8 with a non-ASCII\n"
    "                                  byte or a byte-order mark, else Latin-1)\n"
    "  --lines                         after the state, the script (as named here)\n"
    "                                  and 1-based line of the bind line that gave\n"
    "                                  the slot its command; empty when no line of\n"
    "                                  the active script did\n"
    "  --effective                     the bindings once the game has run FILE\n"
    "                                  and the scripts it execs (one FILE; no\n"
    "                                  --conflicts, --format table or --lines);\n"
    "                                  with --encoding auto, each script's texts\n"
    "                                  read in its own encoding\n"
    "  -h, --help                      show this text\n";

// Where the line that gave a slot its text stands: "PATH:LINE", 1-based,
// or empty when no line of the active script did.
struct LineSource {
    std::string_view path; // the active script as named on the command line
    std::string_view text; // its bytes
};

std::string whereBound(std::ptrdiff_t at, const LineSource &source)
{
    if (at < 0)
        return {};
    const int line = varkel::LineOfPosition(source.text, static_cast<std::size_t>(at)) + 1;
    return std::string(source.path) + ':' + std::to_string(line);
}

// One bound key as it is printed: the panel's slots first, in slot order,
// then the keys off the panel (number "-") in the order of the key list.
struct BoundKey {
    std::string number;
    std::string_view name;
    varkel::KeyState state;
    std::ptrdiff_t at;
    std::string_view text;
};

std::vector<BoundKey> boundKeys(const varkel::BindingState &state, const varkel::KeyStateTable &states,
                                const varkel::GameDictionary &dict)
{
    std::vector<BoundKey> keys;
    for (int slot = 0; slot < varkel::BindingState::SlotCount; ++slot) {
        const varkel::KeyState s = states.state(slot);
        if (s == varkel::KeyState::Off)
            continue;
        const auto at = static_cast<std::size_t>(slot);
        keys.push_back({std::to_string(slot), dict.KeyNames()[at], s, state.boundAt[at], state.BoundText[at]});
    }
    for (std::size_t i = 0; i < state.extraKeys.size(); ++i) {
        const varkel::BindingState::ExtraKey &key = state.extraKeys[i];
        if (key.state == varkel::KeyState::Off)
            continue;
        keys.push_back({"-", dict.KeyNameOf(varkel::BindingState::SlotCount + static_cast<int>(i)), key.state,
                        key.boundAt, key.BoundText});
    }
    return keys;
}

// A script text as the terminal shows it: UTF-8, read in the script's
// encoding. Paths stay as given.
std::string shownText(std::string_view bytes, varkel::Encoding encoding)
{
    return varkel::DocumentBytesToUtf8(bytes, encoding);
}

void printTsv(const varkel::BindingState &state, const varkel::KeyStateTable &states,
              const varkel::GameDictionary &dict, const LineSource *lines, varkel::Encoding encoding)
{
    std::string out;
    for (const BoundKey &key : boundKeys(state, states, dict)) {
        out += "slot\t";
        out += key.number;
        out += '\t';
        out += shownText(key.name, encoding);
        out += '\t';
        out += varkel::keyStateName(key.state);
        out += '\t';
        if (lines) {
            out += whereBound(key.at, *lines);
            out += '\t';
        }
        out += shownText(key.text, encoding);
        out += '\n';
    }
    for (const auto &[name, value] : state.userVariables.entries()) {
        out += "var\t";
        out += shownText(name, encoding);
        out += '\t';
        out += shownText(value, encoding);
        out += '\n';
    }
    for (const std::string &name : state.aliasList) {
        out += "list\t";
        out += shownText(name, encoding);
        out += '\n';
    }
    std::cout << out;
}

// UTF-8 text followed by spaces up to `width` terminal columns.
std::string padded(std::string_view text, std::size_t width)
{
    std::string s(text);
    if (const std::size_t shown = varkel::DisplayWidth(text); shown < width)
        s.append(width - shown, ' ');
    return s;
}

void printTable(const varkel::BindingState &state, const varkel::KeyStateTable &states,
                const varkel::GameDictionary &dict, const LineSource *lines, varkel::Encoding encoding)
{
    const std::vector<BoundKey> keys = boundKeys(state, states, dict);
    // Columns are as wide as the terminal shows their widest cell.
    std::vector<std::string> names, places;
    std::size_t keyWidth = 3, lineWidth = 4;
    for (const BoundKey &key : keys) {
        names.push_back(shownText(key.name, encoding));
        keyWidth = std::max(keyWidth, varkel::DisplayWidth(names.back()));
        if (lines) {
            places.push_back(whereBound(key.at, *lines));
            lineWidth = std::max(lineWidth, varkel::DisplayWidth(places.back()));
        }
    }
    std::string out;
    out += "Bindings (" + std::to_string(keys.size()) + ")\n";
    if (!keys.empty()) {
        out += "  Slot  " + padded("Key", keyWidth) + "  State  " + (lines ? padded("Line", lineWidth) + "  " : "") +
               "Command\n";
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const BoundKey &key = keys[k];
            out += "  " + std::string(4 - key.number.size(), ' ') + key.number + "  ";
            out += padded(names[k], keyWidth) + "  ";
            out += padded(varkel::keyStateName(key.state), 5) + "  ";
            if (lines)
                out += padded(places[k], lineWidth) + "  ";
            out += '"' + shownText(key.text, encoding) + "\"\n";
        }
    }
    const char *listName = dict.usesVstr() ? "Vstr" : "Alias";
    out += "\nUser variables (" + std::to_string(state.userVariables.size()) + ")\n";
    for (const auto &[name, value] : state.userVariables.entries())
        out += "  " + shownText(name, encoding) + " = \"" + shownText(value, encoding) + "\"\n";
    out += "\n" + std::string(listName) + " list (" + std::to_string(state.aliasList.size()) + ")\n";
    for (const std::string &name : state.aliasList)
        out += "  " + shownText(name, encoding) + "\n";
    std::cout << out;
}

} // namespace

namespace varkel::cli {

int runBindings(const std::vector<std::string_view> &args)
{
    ScriptOptions options{"Q2", {}, {}};
    std::string &set = options.set;
    std::string &dataDir = options.dataDir;
    const std::optional<varkel::Encoding> &encoding = options.encoding;
    varkel::ConflictType conflicts = varkel::ConflictType::Active;
    bool table = false;
    bool withLines = false;
    bool effective = false, conflictsGiven = false;
    std::vector<std::string> files;

    bool optionsDone = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsDone || arg.empty() || arg[0] != '-' || arg == "-") {
            files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsDone = true;
            continue;
        }
        if (isHelpOption(arg))
            return printText(kUsage);
        if (arg == "--lines") {
            withLines = true;
            continue;
        }
        if (arg == "--effective") {
            effective = true;
            continue;
        }
        std::string_view value;
        bool missing = false;
        std::string error;
        if (scriptOption(args, i, options, error)) {
            if (!error.empty())
                return usageError(error);
        } else if (optionValue(args, i, "--conflicts", value, missing)) {
            if (missing)
                return usageError("--conflicts needs a value (none, active or all)");
            conflictsGiven = true;
            if (value == "none")
                conflicts = varkel::ConflictType::None;
            else if (value == "active")
                conflicts = varkel::ConflictType::Active;
            else if (value == "all")
                conflicts = varkel::ConflictType::All;
            else
                return usageError("unknown conflict mode '" + std::string(value) + "' (use none, active or all)");
        } else if (optionValue(args, i, "--format", value, missing)) {
            if (missing)
                return usageError("--format needs a value (tsv or table)");
            if (value == "tsv")
                table = false;
            else if (value == "table")
                table = true;
            else
                return usageError("unknown format '" + std::string(value) + "' (use tsv or table)");
        } else {
            return usageError("unknown option '" + std::string(arg) + "'");
        }
    }
    if (files.empty())
        return usageError("no script file given");
    if (std::count(files.begin(), files.end(), "-") > 1)
        return usageError("standard input (-) can be read only once");
    if (effective) {
        if (files.size() > 1)
            return usageError("--effective reads one script, the one the game starts with");
        if (conflictsGiven || table || withLines)
            return usageError("--effective takes no --conflicts, --format table or --lines");
        return printEffectiveBindings(files.front(), encoding);
    }
    if (dataDir.empty())
        dataDir = programDirectory() + "/Data";

    std::vector<std::string> texts(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        ReadResult read = readInput(files[i]);
        if (read.error)
            return failure("cannot read the script " + inputName(files[i]) + ": " + read.error.description());
        texts[i] = std::move(read.bytes);
    }

    if (set == "auto") {
        varkel::GameDetector detector;
        if (const varkel::Error e = varkel::BuildGameDetector(detector, dataDir))
            return failure("cannot read the game data: " + e.description());
        set = detector.Detect(texts.back(), "Q2").set;
    }
    varkel::GameDictionary dict;
    if (const varkel::Error e = varkel::BuildDictionary(dict, dataDir, set))
        return failure("cannot read the " + set + " game data: " + e.description());

    std::vector<std::string_view> views(texts.begin(), texts.end());
    varkel::BindingState state;
    varkel::KeyStateTable states;
    varkel::RefreshDocumentBindings(state, dict, conflicts, views, views.size() - 1, &states);

    // The texts and places are those of the active script, the last one.
    const LineSource source{files.back(), views.back()};
    const LineSource *lines = withLines ? &source : nullptr;
    // The output is UTF-8, its texts read in the active script's encoding.
    const varkel::Encoding shown = encoding.value_or(varkel::DetectEncoding(views.back()));
    if (table)
        printTable(state, states, dict, lines, shown);
    else
        printTsv(state, states, dict, lines, shown);
    return finishOutput();
}

} // namespace varkel::cli
