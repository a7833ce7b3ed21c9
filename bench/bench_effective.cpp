// Cost of the effective bindings of a 10 MB exec chain: 100 scripts of about
// 100 KB in a temporary folder, each made of the corpus scripts (all games)
// and ending with `exec` of the next one. Printed as ratios to reading the
// same files with ReadFileBytes and holding their bytes until all are read
// (measured in the same run, alternating):
//   - GetEffectiveBindings from the disk (the first script read by the
//     caller, as the command line does), the whole job;
//   - GetEffectiveBindings over the same scripts already in memory, the
//     reading rules and exec lookup without the file reads;
//   - ScriptReader alone over the 100 texts, the cutting into commands.

#include "bindings/diskscriptfiles.h"
#include "bindings/effectivebindings.h"
#include "bindings/memoryscriptfiles.h"
#include "bindings/scriptreader.h"
#include "documents/fileio.h"

#include "benchsupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace varkel;

namespace {

constexpr int kScripts = 100;
constexpr std::size_t kChainBytes = std::size_t(10) << 20;

std::string scriptName(int i)
{
    char name[32];
    std::snprintf(name, sizeof name, "chain%03d", i);
    return name;
}

} // namespace

int main()
{
    std::string pattern = (fs::temp_directory_path() / "varkel-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path dir = pattern;

    // The chain: the corpus repeated to 10 MB, cut at line ends into 100
    // pieces, each followed by the exec of the next.
    const std::string all = bench::ScriptOfSize(bench::CorpusText(), kChainBytes);
    std::vector<std::string> paths;
    MemoryScriptFiles memory;
    std::size_t from = 0, total = 0;
    for (int i = 0; i < kScripts; ++i) {
        std::size_t to = i + 1 == kScripts ? all.size() : all.find('\n', all.size() / kScripts * (i + 1));
        to = to == std::string::npos ? all.size() : std::min(all.size(), to + 1);
        std::string text = all.substr(from, to - from);
        from = to;
        if (!text.empty() && text.back() != '\n')
            text += "\r\n";
        text += "exec " + scriptName(i + 1) + "\r\n";
        const std::string path = (dir / (scriptName(i) + ".cfg")).string();
        if (WriteFileSafely(path, text)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        memory.add(path, text);
        paths.push_back(path);
        total += text.size();
    }

    constexpr int kRuns = 15;
    DiskScriptFiles disk;
    std::size_t readBytes = 0, bound = 0, notes = 0, scripts = 0;
    // Reading the bytes means having them: all the scripts are held until
    // the end of the run, as the chain holds them.
    const auto readAll = [&] {
        std::vector<std::string> held;
        held.reserve(paths.size());
        readBytes = 0;
        for (const std::string &p : paths) {
            held.push_back(ReadFileBytes(p).bytes);
            readBytes += held.back().size();
        }
    };
    const auto fromDisk = [&] {
        const EffectiveBindings e = GetEffectiveBindings(paths.front(), ReadFileBytes(paths.front()).bytes, disk);
        bound = e.bindings.size();
        notes = e.notes.size();
        scripts = e.scripts.size();
    };
    const auto [readMs, diskMs] = bench::MedianPair(kRuns, readAll, fromDisk);
    if (readBytes != total || scripts != static_cast<std::size_t>(kScripts)) {
        std::fprintf(stderr, "the chain did not run: %zu scripts, %zu of %zu bytes read\n", scripts, readBytes, total);
        return 1;
    }

    std::string first = memory.readScript(paths.front()).value_or("");
    const auto [readMs2, memoryMs] = bench::MedianPair(kRuns, readAll, [&] {
        const EffectiveBindings e = GetEffectiveBindings(paths.front(), first, memory);
        bound = e.bindings.size();
    });

    std::vector<std::string> texts;
    for (const std::string &p : paths)
        texts.push_back(*memory.readScript(p));
    std::size_t commands = 0;
    const auto [readMs3, readerMs] = bench::MedianPair(kRuns, readAll, [&] {
        commands = 0;
        ScriptCommand c;
        for (const std::string &t : texts) {
            ScriptReader reader(t);
            while (reader.next(c))
                ++commands;
        }
    });
    const double read = bench::Median({readMs, readMs2, readMs3});

    // The same reads with each script's bytes dropped at once: the copy from
    // the page cache without the cost of fresh memory for 10 MB.
    const auto [dropMs, diskMs2] = bench::MedianPair(kRuns, [&] {
        for (const std::string &p : paths)
            readBytes += ReadFileBytes(p).bytes.size();
    }, fromDisk);

    std::printf("chain: %d scripts, %zu bytes, %zu commands, %zu keys bound, %zu exec notes\n", kScripts, total,
                commands, bound, notes);
    std::printf("baseline  ReadFileBytes of the %d scripts    %8.2f ms   1.00x\n", kScripts, read);
    std::printf("GetEffectiveBindings from the disk         %8.2f ms  %5.2fx\n", diskMs, diskMs / readMs);
    std::printf("GetEffectiveBindings, scripts in memory    %8.2f ms  %5.2fx\n", memoryMs, memoryMs / readMs2);
    std::printf("ScriptReader alone over the same bytes     %8.2f ms  %5.2fx\n", readerMs, readerMs / readMs3);
    std::printf("ReadFileBytes, each script dropped at once %8.2f ms  %5.2fx  (from the disk: %.2fx of it)\n", dropMs,
                dropMs / read, diskMs2 / dropMs);

    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}
