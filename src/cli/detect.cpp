// varkel-cli detect [--data DIR] [--default Q1|Q2|Q3] [--encoding auto|latin1|utf8] FILE...
//
// Tells the game of each script from its words, as the editor does when it
// opens one, and prints one line per script:
//   PATH <tab> Q1|Q2|Q3 <tab> the scores and the evidence behind them
#include "cli/cliutil.h"
#include "cli/commands.h"
#include "documents/fileio.h"
#include "language/gamedetect.h"

#include <iostream>
#include <optional>
#include <string>

namespace varkel::cli {

namespace {

constexpr const char *kUsage =
    "Usage: varkel-cli detect [OPTIONS] FILE...\n"
    "\n"
    "Tells the game (command set) of each script from its words and prints one\n"
    "line per FILE:\n"
    "  PATH<tab>Q1|Q2|Q3<tab>score details\n"
    "PATH is FILE as given. The details give each set's points, then each kind\n"
    "of evidence found: how often, a few of its words, and the points it gave\n"
    "to which sets. Words that only one game knows weigh most; seta, vstr, cg_\n"
    "variables and ^ colour codes point to Q3, impulse and +mlook statements\n"
    "to Q1, alias to Q1 and Q2. When the best set has fewer than 6 points, or\n"
    "leads the next by fewer than 4, the evidence is weak and the default set\n"
    "is printed.\n"
    "\n"
    "Options:\n"
    "  --default Q1|Q2|Q3   the set for scripts whose words do not tell (default Q2)\n"
    "  --data DIR           game data folder (default: Data beside the program)\n"
    "  --encoding auto|latin1|utf8\n"
    "                       how the scripts' words read; they are printed as\n"
    "                       UTF-8 (default auto: each script's own, UTF-8 when\n"
    "                       its bytes are valid UTF-8 with a non-ASCII byte or\n"
    "                       a byte-order mark, else Latin-1)\n"
    "  -h, --help           show this text\n";

} // namespace

int runDetect(const std::vector<std::string_view> &args)
{
    std::string defaultSet = "Q2";
    std::string dataDir;
    std::vector<std::string> files;
    std::optional<Encoding> encoding;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        std::string_view given;
        bool missing = false;
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            files.emplace_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (isHelpOption(arg)) {
            return printText(kUsage);
        } else if (arg == "--default" || arg == "--data") {
            if (i + 1 >= args.size())
                return usageError("option '" + std::string(arg) + "' needs a value");
            const std::string_view value = args[++i];
            if (arg == "--data") {
                dataDir = value;
            } else {
                defaultSet = commandSetName(value);
                if (defaultSet.empty())
                    return usageError("unknown command set '" + std::string(value) + "' (use Q1, Q2 or Q3)");
            }
        } else if (optionValue(args, i, "--encoding", given, missing)) {
            if (missing || !ParseEncodingOption(given, encoding))
                return usageError("--encoding needs auto, latin1 or utf8");
        } else {
            return usageError("unknown option '" + std::string(arg) + "' for detect");
        }
    }
    if (files.empty())
        return usageError("detect needs a FILE");
    if (dataDir.empty())
        dataDir = programDirectory() + "/Data";

    GameDetector detector;
    if (const Error e = BuildGameDetector(detector, dataDir))
        return failure("cannot read the game data: " + e.description());

    int status = 0;
    for (const std::string &file : files) {
        const ReadResult read = readInput(file);
        if (read.error) {
            std::cerr << "varkel-cli: cannot read " << inputName(file) << ": " << read.error.description() << "\n";
            status = 1;
            continue;
        }
        const GameDetection d = detector.Detect(read.bytes, defaultSet);
        // The path stays as given; the words quoted come out as UTF-8.
        const Encoding shown = encoding.value_or(DetectEncoding(read.bytes));
        std::cout << file << '\t' << d.set << '\t' << DocumentBytesToUtf8(d.Summary(), shown) << '\n';
    }
    const int written = finishOutput();
    return written != 0 ? written : status;
}

} // namespace varkel::cli
