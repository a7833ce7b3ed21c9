#include "cli/cliutil.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace varkel::cli {

int usageError(const std::string &message)
{
    std::cerr << "varkel-cli: " << message << "\n"
              << "Try 'varkel-cli --help'.\n";
    return 2;
}

int failure(const std::string &message)
{
    std::cerr << "varkel-cli: " << message << "\n";
    return 1;
}

std::string programDirectory()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return ".";
    return exe.parent_path().string();
}

bool optionValue(const std::vector<std::string_view> &args, std::size_t &i, std::string_view name,
                 std::string_view &value, bool &missing)
{
    const std::string_view arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            missing = true;
            return true;
        }
        value = args[++i];
        return true;
    }
    if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

bool scriptOption(const std::vector<std::string_view> &args, std::size_t &i, ScriptOptions &options,
                  std::string &error)
{
    std::string_view value;
    bool missing = false;
    if (optionValue(args, i, "--set", value, missing)) {
        if (missing)
            error = "--set needs a value (Q1, Q2, Q3 or auto)";
        else if (std::string set = commandSetOrAuto(value); !set.empty())
            options.set = std::move(set);
        else
            error = "unknown command set '" + std::string(value) + "' (use Q1, Q2, Q3 or auto)";
    } else if (optionValue(args, i, "--data", value, missing)) {
        if (missing || value.empty())
            error = "--data needs a folder";
        else
            options.dataDir = value;
    } else if (optionValue(args, i, "--encoding", value, missing)) {
        if (missing || !ParseEncodingOption(value, options.encoding))
            error = "--encoding needs auto, latin1 or utf8";
    } else {
        return false;
    }
    return true;
}

bool isHelpOption(std::string_view arg)
{
    return arg == "-h" || arg == "--help";
}

int finishOutput()
{
    errno = 0;
    std::cout.flush();
    if (std::cout)
        return 0;
    const int err = errno;
    return failure(std::string("cannot write the output") + (err != 0 ? ": " + std::string(std::strerror(err)) : ""));
}

int printText(std::string_view text)
{
    std::cout << text;
    return finishOutput();
}

std::string commandSetName(std::string_view name)
{
    if (name.size() != 2 || (name[0] != 'Q' && name[0] != 'q') || name[1] < '1' || name[1] > '3')
        return {};
    return {'Q', name[1]};
}

std::string commandSetOrAuto(std::string_view name)
{
    if (name.size() == 4) {
        std::string lower(name);
        for (char &c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (lower == "auto")
            return lower;
    }
    return commandSetName(name);
}

ReadResult readInput(const std::string &file)
{
    if (file != "-")
        return ReadFileBytes(file);
    // Standard input is read to its end as raw bytes, whatever it is (a
    // pipe, a terminal, a redirected file).
    ReadResult r;
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n > 0) {
            r.bytes.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (const int err = errno; err != EINTR) {
            r.error = Error{errorFromErrno(err), std::strerror(err)};
            r.bytes.clear();
            break;
        }
    }
    return r;
}

std::string inputName(const std::string &file)
{
    return file == "-" ? std::string("standard input") : "'" + file + "'";
}

bool colorAllowed()
{
    const char *noColor = std::getenv("NO_COLOR");
    if (noColor && *noColor)
        return false;
    const char *term = std::getenv("TERM");
    return !(term && std::string_view(term) == "dumb");
}

} // namespace varkel::cli
