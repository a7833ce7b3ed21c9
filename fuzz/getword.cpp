// Word splitting: GetWord, which the insertion tools and the key click use,
// must split every line exactly as splitWords, which the binding scan uses.
// Targets: src/bindings/getword.cpp

#include "support.h"

#include "bindings/getword.h"

#include <array>

using namespace varkel;

namespace {

constexpr std::size_t kMaxWords = 64;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

void checkLine(std::string_view line)
{
    std::array<std::string_view, kMaxWords> words;
    const std::size_t count = splitWords(line, words.data(), words.size());
    FUZZ_CHECK(count <= kMaxWords);

    // Each word is a piece of the line, trimmed, and the pieces follow each
    // other in line order without overlapping.
    const char *previousEnd = line.data();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view w = words[i];
        if (!w.empty()) {
            FUZZ_CHECK(w.data() >= previousEnd && w.data() + w.size() <= line.data() + line.size());
            FUZZ_CHECK(!isBlank(w.front()) && !isBlank(w.back()));
            previousEnd = w.data() + w.size();
        }
    }

    // GetWord agrees with splitWords on every word, and finds none past the last.
    for (std::size_t i = 0; i < count; ++i)
        FUZZ_CHECK(GetWord(line, static_cast<int>(i + 1)) == wordText(words[i]));
    if (count < kMaxWords)
        FUZZ_CHECK(GetWord(line, static_cast<int>(count + 1)).empty());
    FUZZ_CHECK(GetWord(line, 0).empty());
    FUZZ_CHECK(GetWord(line, -1).empty());

    // Asking for fewer words gives the first ones of the same split.
    for (std::size_t max = 0; max <= std::min<std::size_t>(count, 4); ++max) {
        std::array<std::string_view, 4> first;
        const std::size_t n = splitWords(line, first.data(), max);
        FUZZ_CHECK(n == std::min(max, count));
        for (std::size_t i = 0; i < n; ++i)
            FUZZ_CHECK(first[i].data() == words[i].data() && first[i].size() == words[i].size());
    }

    // ReplaceChar changes exactly the characters asked for.
    std::string replaced(line);
    ReplaceChar(replaced, '\t', ' ');
    FUZZ_CHECK(replaced.size() == line.size());
    for (std::size_t i = 0; i < line.size(); ++i)
        FUZZ_CHECK(replaced[i] == (line[i] == '\t' ? ' ' : line[i]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    // The whole input as one line (line breaks are plain characters to the
    // splitter), then each of its lines.
    checkLine(text);
    for (std::string_view line : fuzz::splitLines(text))
        checkLine(line);
    return 0;
}
