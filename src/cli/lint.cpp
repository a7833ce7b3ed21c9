// varkel-cli lint [--set Q1|Q2|Q3|auto] [--data DIR] [--names FILE] [--encoding auto|latin1|utf8] FILE...
//
// Checks each script, with the scripts it execs, and prints one line per
// finding, script after script in the order given, each in the order of
// the script:
//   PATH:LINE:COLUMN: warning|note: MESSAGE [code]
// Exits 1 when there is a warning (or a script cannot be read), 0 otherwise.
#include "cli/cliutil.h"
#include "cli/commands.h"

#include "bindings/diskscriptfiles.h"
#include "bindings/lint.h"
#include "documents/encoding.h"
#include "documents/fileio.h"
#include "language/dictionary.h"
#include "language/gamedetect.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace varkel::cli {

namespace {

constexpr const char *kUsage =
    "Usage: varkel-cli lint [OPTIONS] FILE...\n"
    "\n"
    "Checks each script, and the scripts it execs, for what the game does not\n"
    "report, and prints one line per finding, in the order of the scripts:\n"
    "  PATH:LINE:COLUMN: warning|note: MESSAGE [code]\n"
    "PATH is FILE as given; LINE and COLUMN (a byte count) start at 1. The codes:\n"
    "  unclosed-quote   a double quote that is never closed on its line\n"
    "  unknown-key      bind or unbind of a key the game has no name for\n"
    "  duplicate-bind   a key bound again in the same script to another command\n"
    "  exec-missing     exec of a script that is not found (looked up in the\n"
    "                   script's folder, then the first script's, NAME then\n"
    "                   NAME.cfg)\n"
    "  exec-cycle       exec of a script that is already running up the chain\n"
    "  alias-loop       an alias (Q1, Q2) or vstr variable (Q3) that runs itself\n"
    "                   again with no wait and no alias or set on the way\n"
    "  unknown-name     (a note) a first word that is no command or cvar of the\n"
    "                   set, nor an alias or variable of the scripts given or\n"
    "                   of the scripts they exec, nor one of your own names\n"
    "Exits 1 when there is a warning, 0 when there are notes only or nothing.\n"
    "\n"
    "Options:\n"
    "  --set Q1|Q2|Q3|auto  command set, in any case (default auto: the set\n"
    "                       detected from each script's words, Q2 when they do\n"
    "                       not tell)\n"
    "  --data DIR           game data folder (default: Data beside the program)\n"
    "  --names FILE         your own names (mods' commands and cvars), one a\n"
    "                       line: they are never unknown; may be given again\n"
    "  --encoding auto|latin1|utf8\n"
    "                       how the scripts' texts quoted in messages read;\n"
    "                       they are printed as UTF-8 (default auto: each\n"
    "                       script's own, UTF-8 when its bytes are valid UTF-8\n"
    "                       with a non-ASCII byte or a byte-order mark, else\n"
    "                       Latin-1)\n"
    "  -h, --help           show this text\n";

} // namespace

int runLint(const std::vector<std::string_view> &args)
{
    ScriptOptions options{"auto", {}, {}};
    std::string &set = options.set;
    std::string &dataDir = options.dataDir;
    const std::optional<Encoding> &encoding = options.encoding;
    std::vector<std::string> nameFiles, files;
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
        std::string_view value;
        bool missing = false;
        std::string error;
        if (scriptOption(args, i, options, error)) {
            if (!error.empty())
                return usageError(error);
        } else if (optionValue(args, i, "--names", value, missing)) {
            if (missing || value.empty())
                return usageError("--names needs a file");
            nameFiles.emplace_back(value);
        } else {
            return usageError("unknown option '" + std::string(arg) + "' for lint");
        }
    }
    if (files.empty())
        return usageError("lint needs a FILE");
    if (std::count(files.begin(), files.end(), "-") + std::count(nameFiles.begin(), nameFiles.end(), "-") > 1)
        return usageError("standard input (-) can be read only once");
    if (dataDir.empty())
        dataDir = programDirectory() + "/Data";

    std::vector<std::string> userNames;
    for (const std::string &file : nameFiles) {
        const ReadResult read = readInput(file);
        if (read.error)
            return failure("cannot read the names " + inputName(file) + ": " + read.error.description());
        const std::vector<std::string> names = ParseUserNames(read.bytes);
        userNames.insert(userNames.end(), names.begin(), names.end());
    }

    std::vector<std::string> texts(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        ReadResult read = readInput(files[i]);
        if (read.error)
            return failure("cannot read the script " + inputName(files[i]) + ": " + read.error.description());
        texts[i] = std::move(read.bytes);
    }

    // Each script's set, and one vocabulary per set met.
    std::vector<std::string> sets(files.size(), set);
    if (set == "auto") {
        GameDetector detector;
        if (const Error e = BuildGameDetector(detector, dataDir))
            return failure("cannot read the game data: " + e.description());
        for (std::size_t i = 0; i < files.size(); ++i)
            sets[i] = detector.Detect(texts[i], "Q2").set;
    }
    std::map<std::string, std::unique_ptr<LintVocabulary>> vocabularies;
    for (const std::string &s : sets) {
        if (vocabularies.count(s))
            continue;
        GameDictionary dict;
        if (const Error e = BuildDictionary(dict, dataDir, s))
            return failure("cannot read the " + s + " game data: " + e.description());
        auto vocab = std::make_unique<LintVocabulary>(dict);
        vocab->setUserNames(userNames);
        vocabularies.emplace(s, std::move(vocab));
    }

    // The scripts given are one player's setup: an alias one of them
    // defines is known in all of them.
    DiskScriptFiles disk;
    ScriptNames shared;
    for (std::size_t i = 0; i < files.size(); ++i)
        shared.merge(CollectScriptNames(*vocabularies.at(sets[i]), files[i], texts[i], &disk));

    bool warned = false;
    std::string out;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const LintReport report = LintScript(*vocabularies.at(sets[i]), files[i], texts[i], &disk, &shared);
        // The path stays as given; the finding's text comes out as UTF-8.
        const Encoding shown = encoding.value_or(DetectEncoding(texts[i]));
        for (const LintFinding &f : report.findings) {
            out += files[i];
            out += ':';
            out += DocumentBytesToUtf8(FormatFinding(f), shown);
            out += '\n';
            warned = warned || f.severity == LintSeverity::Warning;
        }
        std::cout << out;
        out.clear();
    }
    const int written = finishOutput();
    return written != 0 ? written : warned ? 1 : 0;
}

} // namespace varkel::cli
