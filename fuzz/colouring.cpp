// The colouring scan: every run lies inside the text it was given and carries
// a class in range; the painted buffers, the single-line pass and the
// substring pass agree with the runs of the whole-text pass.
// Targets: src/language/syntaxhilite.cpp
//
// Input: an options byte (bit 0: colour string elements; bits 1-2: the command
// set Q1, Q2, Q3, or 3 for a lookup that makes up a class for any word),
// then the script.

#include "dictionaries.h"

#include "language/syntaxhilite.h"

using namespace varkel;

namespace {

struct Run {
    std::size_t start;
    std::size_t length;
    KeywordClass cls;
};

constexpr std::size_t kOffset = 1000;

// Records every run and checks it against the span it must stay in.
struct Recorder {
    std::size_t first;
    std::size_t end;
    std::vector<Run> runs;

    StyleSink sink()
    {
        return [this](std::size_t start, std::size_t length, KeywordClass cls) {
            FUZZ_CHECK(length > 0);
            FUZZ_CHECK(start >= first && start <= end && length <= end - start);
            FUZZ_CHECK(cls >= PlainText && cls <= String);
            runs.push_back({start, length, cls});
        };
    }

    // '0' + class of the last run over each position of [first, end).
    std::string painted() const
    {
        std::string classes(end - first, '0');
        for (const Run &r : runs)
            for (std::size_t i = 0; i < r.length; ++i)
                classes[r.start - first + i] = static_cast<char>('0' + r.cls);
        return classes;
    }
};

// A made-up vocabulary: a word's class follows from its bytes, and the
// word handed to the lookup must be a piece of the text being scanned.
struct InventedLookup {
    std::string_view text;
    int operator()(std::string_view word) const
    {
        if (!word.empty())
            FUZZ_CHECK(word.data() >= text.data() && word.data() + word.size() <= text.data() + text.size());
        if (word.empty())
            return 0;
        const unsigned h = static_cast<unsigned char>(word.front()) + 7u * static_cast<unsigned>(word.size());
        return h % 3 == 0 ? 0 : static_cast<int>(Command + h % 4);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size);
    const std::string_view text = input.body();
    const bool elements = input.option(0);
    const unsigned setIndex = (input.options() >> 1) & 3u;
    const GameDictionary &dict = fuzz::shippedDictionary(setIndex);

    KeywordLookup lookup;
    if (setIndex == 3)
        lookup = InventedLookup{text};
    else
        lookup = [&dict](std::string_view word) { return dict.Lookup(word); };

    // The whole text at an offset: runs inside it, classes in range.
    Recorder whole{kOffset, kOffset + text.size(), {}};
    SyntaxHiLite(text, kOffset, lookup, elements, whole.sink());

    // The painted buffers are the runs applied in order.
    const std::string classes = hiLiteClasses(text, lookup, elements);
    FUZZ_CHECK(classes == whole.painted());
    if (setIndex != 3) {
        FUZZ_CHECK(hiLiteClasses(text, dict, elements) == classes);
        const std::string styles = hiLiteStyles(text, kOffset, dict, elements, '\x7f');
        FUZZ_CHECK(styles.size() == text.size());
        for (std::size_t i = 0; i < text.size(); ++i)
            FUZZ_CHECK(classes[i] == '0' ? styles[i] == '\x7f' : styles[i] == classes[i] - '0');
        std::string painted(text.size(), '0');
        SyntaxHiLite(text, 0, dict, elements, classPainter(painted));
        FUZZ_CHECK(painted == classes);
    }

    // The pass while typing colours the caret's line alone, as a pass over
    // that line by itself would.
    for (const std::size_t pos : {std::size_t{0}, text.size() / 2, text.size()}) {
        const LineSpan line = lineSpanAt(text, pos);
        FUZZ_CHECK(line.start <= pos && line.start + line.length <= text.size());
        FUZZ_CHECK(pos <= line.start + line.length);
        // Only the last byte or the last two (CR LF) may end a line.
        const std::string_view content = text.substr(line.start, line.length);
        const std::size_t lineEnd = content.find_first_of("\r\n");
        if (lineEnd != std::string_view::npos)
            FUZZ_CHECK(lineEnd + 1 == content.size() ||
                       (lineEnd + 2 == content.size() && content.substr(lineEnd) == "\r\n"));
        if (setIndex == 3)
            continue;
        Recorder typed{line.start, line.start + line.length, {}};
        hiLiteLine(text, pos, dict, elements, typed.sink());
        Recorder alone{line.start, line.start + line.length, {}};
        SyntaxHiLite(content, line.start, dict, elements, alone.sink());
        FUZZ_CHECK(typed.painted() == alone.painted());
    }

    // A string's contents on their own.
    Recorder sub{kOffset, kOffset + text.size(), {}};
    SyntaxHiLiteSubString(text, kOffset, lookup, sub.sink());

    // A token that reads as a number has a digit.
    if (isNumericToken(text))
        FUZZ_CHECK(text.find_first_of("0123456789") != std::string_view::npos);
    return 0;
}
