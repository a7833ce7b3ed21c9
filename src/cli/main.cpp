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
    "  help              show this text\n"
    "  highlight [--set Q1|Q2|Q3|auto] [--data DIR] [--color-strings]\n"
    "            [--format classes|ansi] FILE\n"
    "                    colour FILE as the editor does when it opens it, with the\n"
    "                    vocabulary of a command set (default Q2; auto: the set\n"
    "                    detected from FILE's words, Q2 when they do not tell).\n"
    "                    --format classes: one character per byte of FILE, then a\n"
    "                      newline: 0 for a byte left uncoloured, else its class:\n"
    "                      1 plain text, 2 command, 3 cvar, 4 item, 5 key name,\n"
    "                      6 comment, 7 number, 8 string\n"
    "                    --format ansi: the script in the default colours (24-bit\n"
    "                      terminal colours; Latin-1 shown as UTF-8, control bytes\n"
    "                      as ^X)\n"
    "                    The format is ansi when standard output is a terminal,\n"
    "                    classes otherwise.\n"
    "                    --color-strings: colour the words inside quoted strings\n"
    "                    --data DIR: the game data folder (default: the Data folder\n"
    "                      beside varkel-cli)\n"
    "  comment-block [--char C] [--size N] [--auto|--fixed] [--center|--left]\n"
    "                [--upper|--keep-case] [--crlf] TEXT\n"
    "                    print a framed comment block for TEXT (defaults: \"*\",\n"
    "                    size 20, auto size, centred, upper case; lines end in\n"
    "                    LF, or CR LF with --crlf)\n"
    "  bindings [--set Q1|Q2|Q3|auto] [--data DIR] [--conflicts none|active|all]\n"
    "           [--format tsv|table] [--lines] FILE...\n"
    "                    the key bindings, user variables and alias / vstr list of\n"
    "                    the scripts as the device panel shows them, the last FILE\n"
    "                    being the active script (see 'bindings --help')\n"
    "  detect [--default Q1|Q2|Q3] [--data DIR] FILE...\n"
    "                    tell the game of each script from its words: one line\n"
    "                    PATH<tab>Q1|Q2|Q3<tab>score details per FILE (see\n"
    "                    'detect --help')\n"
    "\n"
    "Options:\n"
    "  -h, --help        show this text\n"
    "  --version         show the version\n";

} // namespace

int main(int argc, char **argv)
{
    using varkel::cli::usageError;
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty())
        return usageError("no command given");
    const std::string_view cmd = args.front();
    if (cmd == "-h" || cmd == "--help" || cmd == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (cmd == "--version") {
        std::cout << "varkel-cli " << VARKEL_VERSION_MAJOR << '.' << VARKEL_VERSION_MINOR << '.'
                  << VARKEL_VERSION_PATCH << "\n";
        return 0;
    }
    const std::vector<std::string_view> rest(args.begin() + 1, args.end());
    if (cmd == "highlight")
        return varkel::cli::runHighlight(rest);
    if (cmd == "comment-block")
        return varkel::cli::runCommentBlock(rest);
    if (cmd == "bindings")
        return varkel::cli::runBindings(rest);
    if (cmd == "detect")
        return varkel::cli::runDetect(rest);
    return usageError("unknown command '" + std::string(cmd) + "'");
}
