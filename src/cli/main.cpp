// varkel-cli: Varkel's script logic without a window, for scripting and checks.
#include "cli/cliutil.h"
#include "cli/commands.h"
#include "cli/cmd_bindings.h"

#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char *kUsage =
    "Usage: varkel-cli COMMAND [OPTIONS] [ARGS]\n"
    "\n"
    "Varkel's script logic from the command line.\n"
    "\n"
    "Commands:\n"
    "  help [COMMAND]    show this text, or the help of COMMAND\n"
    "  highlight [--set Q1|Q2|Q3|auto] [--data DIR] [--color-strings]\n"
    "            [--format classes|ansi] [--encoding auto|latin1|utf8] FILE\n"
    "                    colour FILE as the editor does when it opens it, with the\n"
    "                    vocabulary of a command set (default Q2; auto: the set\n"
    "                    detected from FILE's words, Q2 when they do not tell).\n"
    "                    --format classes: one character per byte of FILE, then a\n"
    "                      newline: 0 for a byte left uncoloured, else its class:\n"
    "                      1 plain text, 2 command, 3 cvar, 4 item, 5 key name,\n"
    "                      6 comment, 7 number, 8 string\n"
    "                    --format ansi: the script in the default colours (24-bit\n"
    "                      terminal colours; shown as UTF-8, control characters\n"
    "                      as ^X; no colours when NO_COLOR is set or TERM is dumb)\n"
    "                    --encoding: how the script's bytes read (default auto:\n"
    "                      UTF-8 when they are valid UTF-8 with a non-ASCII byte\n"
    "                      or a byte-order mark, Latin-1 otherwise)\n"
    "                    The format is ansi when standard output is a terminal,\n"
    "                    classes otherwise.\n"
    "                    --color-strings: colour the words inside quoted strings\n"
    "                    --data DIR: the game data folder (default: the Data folder\n"
    "                      beside varkel-cli)\n"
    "  comment-block [--char C] [--size N] [--auto|--fixed] [--center|--left]\n"
    "                [--upper|--keep-case] [--crlf] [--encoding auto|latin1|utf8]\n"
    "                TEXT\n"
    "                    print a framed comment block for TEXT (defaults: \"*\",\n"
    "                    size 20, auto size, centred, upper case; lines end in\n"
    "                    LF, or CR LF with --crlf; --encoding: that of the\n"
    "                    script it goes into)\n"
    "  bindings [--set Q1|Q2|Q3|auto] [--data DIR] [--conflicts none|active|all]\n"
    "           [--format tsv|table] [--lines] [--encoding auto|latin1|utf8] FILE...\n"
    "                    the key bindings, user variables and alias / vstr list of\n"
    "                    the scripts as the device panel shows them, the last FILE\n"
    "                    being the active script (see 'bindings --help')\n"
    "  bindings --effective [--encoding auto|latin1|utf8] FILE\n"
    "                    the bindings once the game has run FILE and every\n"
    "                    script it execs: bind lines sorted by key, then a note\n"
    "                    for every exec whose script is missing or already\n"
    "                    running\n"
    "  detect [--default Q1|Q2|Q3] [--data DIR] [--encoding auto|latin1|utf8]\n"
    "         FILE...\n"
    "                    tell the game of each script from its words: one line\n"
    "                    PATH<tab>Q1|Q2|Q3<tab>score details per FILE (see\n"
    "                    'detect --help')\n"
    "  lint [--set Q1|Q2|Q3|auto] [--data DIR] [--names FILE]\n"
    "       [--encoding auto|latin1|utf8] FILE...\n"
    "                    check the scripts, and those they exec, for what the game\n"
    "                    does not report: one line PATH:LINE:COLUMN: warning|note:\n"
    "                    MESSAGE [code] per finding; exit 1 on a warning (see\n"
    "                    'lint --help')\n"
    "\n"
    "A FILE - reads standard input; set names may be given in any case. Script\n"
    "texts are printed as UTF-8, read in each script's encoding (--encoding).\n"
    "Every command takes -h or --help for its own options.\n"
    "\n"
    "Options:\n"
    "  -h, --help        show this text\n"
    "  --version         show the version\n";

} // namespace

namespace {

// Runs the command named cmd with its arguments; -1 when there is no such
// command.
int runCommand(std::string_view cmd, const std::vector<std::string_view> &args)
{
    if (cmd == "highlight")
        return varkel::cli::runHighlight(args);
    if (cmd == "comment-block")
        return varkel::cli::runCommentBlock(args);
    if (cmd == "bindings")
        return varkel::cli::runBindings(args);
    if (cmd == "detect")
        return varkel::cli::runDetect(args);
    if (cmd == "lint")
        return varkel::cli::runLint(args);
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace varkel::cli;
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty())
        return usageError("no command given");
    const std::string_view cmd = args.front();
    if (cmd == "help" && args.size() > 1) {
        // "help COMMAND" is "COMMAND --help".
        const int status = runCommand(args[1], {"--help"});
        return status >= 0 ? status : usageError("unknown command '" + std::string(args[1]) + "'");
    }
    if (isHelpOption(cmd) || cmd == "help")
        return printText(kUsage);
    if (cmd == "--version")
        return printText("varkel-cli " + std::to_string(VARKEL_VERSION_MAJOR) + '.' +
                         std::to_string(VARKEL_VERSION_MINOR) + '.' + std::to_string(VARKEL_VERSION_PATCH) + "\n");
    const int status = runCommand(cmd, std::vector<std::string_view>(args.begin() + 1, args.end()));
    return status >= 0 ? status : usageError("unknown command '" + std::string(cmd) + "'");
}
