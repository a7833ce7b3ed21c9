// varkel-cli: Varkel's script logic without a window, for scripting and checks.
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
    "  bindings [--set Q1|Q2|Q3] [--data DIR] [--conflicts none|active|all]\n"
    "           [--format tsv|table] FILE...\n"
    "                    the key bindings, user variables and alias / vstr list of\n"
    "                    the scripts as the device panel shows them, the last FILE\n"
    "                    being the active script (see 'bindings --help')\n"
    "\n"
    "Options:\n"
    "  -h, --help        show this text\n"
    "  --version         show the version\n";

int usageError(const std::string &message)
{
    std::cerr << "varkel-cli: " << message << "\n"
              << "Try 'varkel-cli --help'.\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
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
    if (cmd == "bindings")
        return varkel::cli::runBindings(rest);
    return usageError("unknown command '" + std::string(cmd) + "'");
}
