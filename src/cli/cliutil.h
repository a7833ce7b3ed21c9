#pragma once
// Small helpers shared by the varkel-cli commands.

#include "documents/encoding.h"
#include "documents/fileio.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varkel::cli {

// Prints "varkel-cli: <message>" and a pointer to --help on stderr; returns
// the exit code for bad arguments (2).
int usageError(const std::string &message);

// Prints "varkel-cli: <message>" on stderr; returns the exit code for a
// failure while running a command (1).
int failure(const std::string &message);

// The folder that holds the running program.
std::string programDirectory();

// Whether arg asks for a command's help text ("-h" or "--help").
bool isHelpOption(std::string_view arg);

// Takes the value of option `name` at args[i], given as "--name VALUE" (i
// moves on to the value) or "--name=VALUE"; false when args[i] is another
// argument. A "--name" with nothing after it sets `missing`.
bool optionValue(const std::vector<std::string_view> &args, std::size_t &i, std::string_view name,
                 std::string_view &value, bool &missing);

// The options of the commands that read scripts with a game's vocabulary:
// --set Q1|Q2|Q3|auto, --data DIR and --encoding auto|latin1|utf8.
struct ScriptOptions {
    std::string set;
    std::string dataDir;
    std::optional<Encoding> encoding;
};
// Takes args[i] when it is one of those options (true); `error` then holds a
// usage message when its value is missing or unknown, else stays empty.
bool scriptOption(const std::vector<std::string_view> &args, std::size_t &i, ScriptOptions &options,
                  std::string &error);

// Flushes standard output: 0 when everything written so far reached it,
// otherwise a message on stderr (a full disk, a closed pipe) and 1.
int finishOutput();

// Writes text to standard output and finishes it as above.
int printText(std::string_view text);

// The command set "Q1", "Q2" or "Q3" for a name given in any case; empty
// for any other name.
std::string commandSetName(std::string_view name);
// The same, or "auto" (in any case): the set detected from the script.
std::string commandSetOrAuto(std::string_view name);

// Reads the script a FILE argument names: "-" is standard input.
ReadResult readInput(const std::string &file);

// How an input is named in messages: "standard input" for "-".
std::string inputName(const std::string &file);

// Whether colour escapes may be written: not when NO_COLOR is set to
// anything non-empty, nor on a terminal that TERM calls "dumb".
bool colorAllowed();

} // namespace varkel::cli
