// Cost of colouring: one whole-text pass over a 1 MB and a 10 MB script built
// from the Quake script corpus, and one single-line pass (the per-keystroke
// work) in the middle of the 1 MB script and of the 10 MB one. Each figure is printed as a ratio
// to copying the same bytes, measured in the same run.

#include "language/dictionary.h"
#include "language/syntaxhilite.h"

#include "benchsupport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace varkel;

namespace {

// Median time in seconds of `reps` runs of f.
double median(int reps, const std::function<void()> &f)
{
    return bench::MedianMs(reps, f) / 1000.0;
}

volatile std::size_t g_sink; // keeps results alive

void benchWhole(const char *label, const std::string &text, const GameDictionary &dict, int reps)
{
    const double copy = median(reps, [&] {
        std::string copyOfText(text);
        g_sink = g_sink + static_cast<unsigned char>(copyOfText[copyOfText.size() / 2]);
    });
    const double classes = median(reps, [&] {
        const std::string c = hiLiteClasses(text, dict, false);
        g_sink = g_sink + static_cast<unsigned char>(c[c.size() / 2]);
    });
    const double stringElements = median(reps, [&] {
        const std::string c = hiLiteClasses(text, dict, true);
        g_sink = g_sink + static_cast<unsigned char>(c[c.size() / 2]);
    });
    // Through a type-erased sink, as an editor receives the runs.
    std::size_t runs = 0;
    const double sink = median(reps, [&] {
        std::size_t n = 0;
        SyntaxHiLite(text, 0, dict, false, [&n](std::size_t, std::size_t, KeywordClass) { ++n; });
        runs = n;
    });
    std::printf("%s whole pass (%zu bytes, %zu runs):\n", label, text.size(), runs);
    std::printf("  copy of the bytes           %9.3f ms   1.00x\n", copy * 1e3);
    std::printf("  pass into a class array     %9.3f ms %6.2fx\n", classes * 1e3, classes / copy);
    std::printf("  same, string contents       %9.3f ms %6.2fx\n", stringElements * 1e3, stringElements / copy);
    std::printf("  pass into a StyleSink       %9.3f ms %6.2fx\n", sink * 1e3, sink / copy);
}

} // namespace

int main()
{
    GameDictionary dict;
    if (Error e = BuildDictionary(dict, VARKEL_SOURCE_DIR "/Data", "Q2")) {
        std::fprintf(stderr, "cannot build Q2: %s\n", e.description().c_str());
        return 1;
    }

    const std::string seed = bench::CorpusText();

    const std::string oneMb = bench::ScriptOfSize(seed, 1 << 20);
    const std::string tenMb = bench::ScriptOfSize(seed, 10 << 20);
    benchWhole("1 MB", oneMb, dict, 15);
    benchWhole("10 MB", tenMb, dict, 5);

    // One line in the middle of the 1 MB script, the longest of a few
    // neighbours so that the figure is not for an empty line.
    LineSpan line = lineSpanAt(oneMb, oneMb.size() / 2);
    for (LineSpan next = line; next.length > 0;) {
        next = lineSpanAt(oneMb, next.start + next.length);
        if (next.length > line.length)
            line = next;
        if (next.start > oneMb.size() / 2 + 2000)
            break;
    }
    const std::size_t pos = line.start;

    constexpr int kCalls = 200000;
    std::string target(oneMb.size(), '0');
    const double copyLine = median(5, [&] {
        for (int c = 0; c < kCalls; ++c) {
            std::memcpy(target.data() + line.start, oneMb.data() + line.start, line.length);
            g_sink = g_sink + static_cast<unsigned char>(target[line.start]);
        }
    }) / kCalls;
    const StyleSink painter = classPainter(target);
    const double linePass = median(5, [&] {
        for (int c = 0; c < kCalls; ++c)
            hiLiteLine(oneMb, pos, dict, false, painter);
    }) / kCalls;
    // The same line in the 10 MB script (which begins with the 1 MB one):
    // the cost must not grow with the document.
    std::string bigTarget(tenMb.size(), '0');
    const StyleSink bigPainter = classPainter(bigTarget);
    const double bigLinePass = median(5, [&] {
        for (int c = 0; c < kCalls; ++c)
            hiLiteLine(tenMb, pos, dict, false, bigPainter);
    }) / kCalls;
    std::printf("single-line pass (line of %zu bytes):\n", line.length);
    std::printf("  copy of the line            %9.3f us   1.00x\n", copyLine * 1e6);
    std::printf("  line pass, 1 MB script      %9.3f us %6.2fx\n", linePass * 1e6, linePass / copyLine);
    std::printf("  line pass, 10 MB script     %9.3f us %6.2fx\n", bigLinePass * 1e6, bigLinePass / copyLine);
    return 0;
}
