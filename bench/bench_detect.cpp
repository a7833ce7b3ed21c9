// Cost of telling the game of a 10 MB script, printed as a ratio to reading
// the same file from disk with ReadFileBytes (its pages already cached, as
// they are right after the editor opened it), both measured in the same run.
//
// The scripts are the corpus scripts of each game, and of all three games
// together, repeated to 10 MB; when the corpus is absent, the shipped
// sample scripts are repeated instead.

#include "documents/fileio.h"
#include "language/gamedetect.h"

#include "benchsupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace varkel;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kSize = 10u << 20;
constexpr int kRuns = 9;

std::string seed(const std::string &folder)
{
    const fs::path corpus = fs::path(VARKEL_SHARED_DIR "/corpus") / folder;
    if (fs::is_directory(corpus))
        return bench::CorpusText(folder);
    std::string text;
    for (const char *set : {"Q1", "Q2", "Q3"})
        if (folder.empty() || folder[1] == set[1])
            text += bench::ReadWholeFile(fs::path(VARKEL_SOURCE_DIR "/Data") / (std::string(set) + "sample.dat"));
    return text;
}

void measure(const GameDetector &detector, const std::string &label, const std::string &folder, const fs::path &file)
{
    const std::string script = bench::ScriptOfSize(seed(folder), kSize);
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(script.data(), static_cast<std::streamsize>(script.size()));
    }
    std::size_t bytes = 0;
    const double readMs = bench::MedianMs(kRuns, [&] {
        const ReadResult r = ReadFileBytes(file.string());
        bytes = r.bytes.size();
    });
    GameDetection result;
    const double detectMs = bench::MedianMs(kRuns, [&] { result = detector.Detect(script, "Q2"); });
    std::printf("%-22s %zu bytes -> %s%s\n", label.c_str(), bytes, result.set.c_str(),
                result.weak ? " (weak, default)" : "");
    std::printf("  ReadFileBytes          %9.2f ms   1.00x\n", readMs);
    std::printf("  GameDetector::Detect   %9.2f ms %6.2fx\n", detectMs, detectMs / readMs);
}

} // namespace

int main()
{
    GameDetector detector;
    if (Error e = BuildGameDetector(detector, VARKEL_SOURCE_DIR "/Data")) {
        std::fprintf(stderr, "cannot read the game data: %s\n", e.description().c_str());
        return 1;
    }
    const fs::path file = fs::temp_directory_path() / ("bench_detect_" + std::to_string(::getpid()) + ".cfg");
    std::printf("median of %d runs, 10 MB scripts\n", kRuns);
    measure(detector, "Quake scripts", "q1", file);
    measure(detector, "Quake II scripts", "q2", file);
    measure(detector, "Quake III scripts", "q3", file);
    measure(detector, "all three games", "", file);
    std::error_code ec;
    fs::remove(file, ec);
    return 0;
}
