// varkel-cli: Varkel's script logic without a window, for scripting and checks.
#include "cli/cmd_bindings.h"

#include <cstring>
#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char *kUsageHead =
    "Usage: varkel-cli COMMAND [OPTIONS] [ARGS]\n"
    "\n"
    "Varkel's script logic from the command line.\n"
    "\n"
    "Commands:\n"
    "  help              show this text\n";

constexpr const char *kUsageTail =
    "\n"
    "Options:\n"
    "  -h, --help        show this text\n"
    "  --version         show the version\n";

// The subcommands: name, runner, help lines.
struct Subcommand {
    std::string_view name;
    int (*run)(std::span<const std::string_view> args);
    const char *const *help;
};

const Subcommand kSubcommands[] = {
    {"bindings", &runBindingsCommand, &kBindingsCommandHelp},
};

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
        std::cout << kUsageHead;
        for (const Subcommand &sub : kSubcommands)
            std::cout << *sub.help;
        std::cout << kUsageTail;
        return 0;
    }
    if (cmd == "--version") {
        std::cout << "varkel-cli " << VARKEL_VERSION_MAJOR << '.' << VARKEL_VERSION_MINOR << '.'
                  << VARKEL_VERSION_PATCH << "\n";
        return 0;
    }
    for (const Subcommand &sub : kSubcommands)
        if (cmd == sub.name)
            return sub.run(std::span<const std::string_view>(args).subspan(1));
    return usageError("unknown command '" + std::string(cmd) + "'");
}
