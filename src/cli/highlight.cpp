// varkel-cli highlight: colours a script as the editor does on opening it.
#include "cli/cliutil.h"
#include "cli/commands.h"
#include "app/settings.h"
#include "documents/encoding.h"
#include "documents/fileio.h"
#include "language/dictionary.h"
#include "language/gamedetect.h"
#include "language/syntaxhilite.h"

#include <filesystem>
#include <optional>
#include <iostream>
#include <string>
#include <unistd.h>

namespace varkel::cli {

namespace {

enum class Format { Classes, Ansi };

constexpr const char *kUsage =
    "Usage: varkel-cli highlight [OPTIONS] FILE\n"
    "\n"
    "Colours FILE as the editor does when it opens it, with the vocabulary of a\n"
    "command set. FILE - reads standard input.\n"
    "\n"
    "Options:\n"
    "  --set Q1|Q2|Q3          command set, in any case (default Q2)\n"
    "  --data DIR              game data folder (default: Data beside the program)\n"
    "  --color-strings         colour the words inside quoted strings\n"
    "  --encoding auto|latin1|utf8\n"
    "                          how FILE's bytes are shown by --format ansi (default\n"
    "                          auto: UTF-8 when they are valid UTF-8 holding a\n"
    "                          non-ASCII byte or start with a byte-order mark,\n"
    "                          Latin-1 otherwise); the terminal gets UTF-8\n"
    "  --format classes|ansi   classes: one character per byte of FILE, then a\n"
    "                          newline: 0 for a byte left uncoloured, else its\n"
    "                          class: 1 plain text, 2 command, 3 cvar, 4 item,\n"
    "                          5 key name, 6 comment, 7 number, 8 string\n"
    "                          ansi: the script in the default colours on the\n"
    "                          terminal's own background (as UTF-8, control\n"
    "                          characters as ^X); plain text without colours\n"
    "                          when NO_COLOR is set or TERM is dumb\n"
    "                          (default: ansi when standard output is a\n"
    "                          terminal, classes otherwise)\n"
    "  -h, --help              show this text\n";

// A 24-bit terminal text colour from a Windows colour value 0x00BBGGRR.
void appendColor(std::string &out, unsigned color)
{
    out += "\x1b[38;2;";
    out += std::to_string(color & 0xFF);
    out += ';';
    out += std::to_string((color >> 8) & 0xFF);
    out += ';';
    out += std::to_string((color >> 16) & 0xFF);
    out += 'm';
}

// Appends one script byte for a UTF-8 terminal: printable Latin-1 as UTF-8,
// control bytes in caret notation (as cat -v shows them) so that nothing in
// a script can drive the terminal.
void appendVisible(std::string &out, unsigned char c)
{
    if (c == '\t') {
        out += '\t';
    } else if (c < 0x20) {
        out += '^';
        out += static_cast<char>(c + 0x40);
    } else if (c < 0x7F) {
        out += static_cast<char>(c);
    } else if (c == 0x7F) {
        out += "^?";
    } else if (c < 0xA0) {
        out += "M-^";
        out += static_cast<char>(c - 0x80 + 0x40);
    } else {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The script in the default token colours. The background stays the
// terminal's own, so plain text (and a byte that no run coloured, which shows
// in the plain-text colour as new text does in the editor) keeps the
// terminal's own text colour: black plain text would vanish on a dark
// terminal. Each line end (CR LF, LF or a lone CR) becomes a newline with the
// colour reset before it. Without colour the same text comes out plain.
std::string ansiText(const std::string &text, const std::string &classes, const Settings &colors, bool color,
                     Encoding encoding)
{
    std::string out;
    out.reserve(text.size() * 2);
    int current = PlainText; // class whose colour is set; plain text: none
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            if (current != PlainText)
                out += "\x1b[0m";
            out += '\n';
            current = PlainText;
            continue;
        }
        const int cls = classes[i] == '0' ? PlainText : classes[i] - '0';
        if (color && cls != current) {
            if (cls == PlainText)
                out += "\x1b[0m";
            else
                appendColor(out, colors.SyntaxColors[static_cast<std::size_t>(cls - 1)]);
            current = cls;
        }
        // A UTF-8 script's characters go out as they are, but for the C1
        // controls (U+0080..U+009F), shown like the Latin-1 bytes of the
        // same value. An ill-formed byte shows as its Latin-1 character.
        const std::size_t n = encoding == Encoding::Utf8 ? Utf8SequenceLength(text, i) : 0;
        if (n == 2 && static_cast<unsigned char>(c) == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            appendVisible(out, static_cast<unsigned char>(text[i + 1]));
            i += 1;
        } else if (n > 1) {
            // The character takes the colour of its first byte.
            out.append(text, i, n);
            i += n - 1;
        } else {
            appendVisible(out, static_cast<unsigned char>(c));
        }
    }
    if (current != PlainText)
        out += "\x1b[0m";
    if (!text.empty() && text.back() != '\n' && text.back() != '\r')
        out += '\n';
    return out;
}

} // namespace

int runHighlight(const std::vector<std::string_view> &args)
{
    std::string set = "Q2";
    std::string dataDir;
    bool haveDataDir = false;
    bool colorStrings = false;
    Format format = isatty(STDOUT_FILENO) ? Format::Ansi : Format::Classes;
    std::string file;
    bool haveFile = false;
    std::optional<Encoding> encoding;

    bool optionsEnded = false;
    for (std::size_t a = 0; a < args.size(); ++a) {
        const std::string_view arg = args[a];
        if (!optionsEnded && isHelpOption(arg))
            return printText(kUsage);
        if (optionsEnded || arg == "-" || arg.empty() || arg.front() != '-') {
            if (haveFile)
                return usageError("highlight takes one FILE");
            file = arg;
            haveFile = true;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--set" || arg == "--data" || arg == "--format" || arg == "--encoding") {
            if (a + 1 >= args.size())
                return usageError("option '" + std::string(arg) + "' needs a value");
            const std::string_view v = args[++a];
            if (arg == "--set") {
                set = commandSetOrAuto(v);
                if (set.empty())
                    return usageError("unknown command set '" + std::string(v) + "' (use Q1, Q2, Q3 or auto)");
            } else if (arg == "--data") {
                dataDir = v;
                haveDataDir = true;
            } else if (arg == "--encoding") {
                if (!ParseEncodingOption(v, encoding))
                    return usageError("unknown encoding '" + std::string(v) + "' (use auto, latin1 or utf8)");
            } else if (v == "classes") {
                format = Format::Classes;
            } else if (v == "ansi") {
                format = Format::Ansi;
            } else {
                return usageError("unknown format '" + std::string(v) + "' (use classes or ansi)");
            }
        } else if (arg == "--color-strings") {
            colorStrings = true;
        } else {
            return usageError("unknown option '" + std::string(arg) + "' for highlight");
        }
    }
    if (!haveFile)
        return usageError("highlight needs a FILE");

    if (!haveDataDir)
        dataDir = programDirectory() + "/Data";
    std::error_code ec;
    if (!std::filesystem::is_directory(dataDir, ec))
        return failure("data folder not found: " + dataDir);

    const ReadResult read = readInput(file);
    if (read.error)
        return failure("cannot read " + inputName(file) + ": " + std::string(errorDescription(read.error.code)));
    const std::string &text = read.bytes;

    if (set == "auto") {
        GameDetector detector;
        if (const Error e = BuildGameDetector(detector, dataDir))
            return failure("cannot read the game data: " + e.description());
        set = detector.Detect(text, "Q2").set;
    }
    GameDictionary dictionary;
    if (const Error e = BuildDictionary(dictionary, dataDir, set))
        return failure("cannot build the " + set + " dictionary: " + e.description());

    const std::string classes = hiLiteClasses(text, dictionary, colorStrings);
    if (format == Format::Classes)
        return printText(classes + '\n');
    return printText(ansiText(text, classes, Settings{}, colorAllowed(), encoding.value_or(DetectEncoding(text))));
}

} // namespace varkel::cli
