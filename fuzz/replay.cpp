// Runs a harness without the fuzzing engine, so that it builds with any
// compiler: every file named on the command line, and every file below every
// folder named there, in name order, goes through LLVMFuzzerTestOneInput once.
// A failed check aborts the program. A folder that does not exist is noted and
// skipped (a harness need not have saved reproducers yet).

#include "support.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *argc, char ***argv);

namespace {

bool runFile(const std::filesystem::path &path)
{
    const std::string bytes = varkel::fuzz::readFile(path.string());
    // A copy in a buffer of its own, so reads past the end are caught.
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(data.empty() ? nullptr : data.data(), data.size());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = argv[i];
        std::error_code ec;
        if (std::filesystem::is_directory(arg, ec)) {
            std::vector<std::filesystem::path> files;
            for (const auto &entry : std::filesystem::recursive_directory_iterator(arg))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const auto &file : files) {
                std::fprintf(stderr, "%s\n", file.c_str());
                count += runFile(file);
            }
        } else if (std::filesystem::is_regular_file(arg, ec)) {
            count += runFile(arg);
        } else {
            std::fprintf(stderr, "skipped (not found): %s\n", arg.c_str());
        }
    }
    std::printf("%zu inputs replayed\n", count);
    return 0;
}
