// Reading a script command by command: every word a view into the text at
// its own offsets, commands in text order, and the same commands as a plain
// reader written from the rules, byte by byte.
// Targets: src/bindings/scriptreader.cpp
//
// Input: the whole input is the script.

#include "support.h"

#include "bindings/scriptreader.h"

using namespace varkel;

namespace {

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

// A word as the reference reader sees it.
struct RefWord {
    std::size_t start = 0, end = 0;       // as ScriptWord
    std::size_t textStart = 0, textEnd = 0; // the word's bytes without quotes
    bool quoted = false, closed = true;
};

struct RefCommand {
    int line = 0;
    std::size_t lineStart = 0;
    std::size_t comment = std::string_view::npos;
    std::vector<RefWord> words;
};

// The rules, one line at a time: the line is found first, then cut into
// commands at ";" and "//", and each command into words.
std::vector<RefCommand> referenceRead(std::string_view text)
{
    std::vector<RefCommand> out;
    std::size_t lineStart = 0;
    int line = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = lineStart;
        while (lineEnd < text.size() && !isLineEnd(text[lineEnd]))
            ++lineEnd;

        RefCommand command;
        command.line = line;
        command.lineStart = lineStart;
        const auto flush = [&] {
            if (!command.words.empty())
                out.push_back(command);
            command.words.clear();
            command.comment = std::string_view::npos;
        };
        std::size_t i = lineStart;
        while (i < lineEnd) {
            const char c = text[i];
            if (isBlank(c)) {
                ++i;
            } else if (c == ';') {
                flush();
                ++i;
            } else if (c == '/' && i + 1 < lineEnd && text[i + 1] == '/') {
                command.comment = i;
                break;
            } else if (c == '"') {
                RefWord w;
                w.start = i;
                w.quoted = true;
                w.textStart = i + 1;
                std::size_t q = i + 1;
                while (q < lineEnd && text[q] != '"')
                    ++q;
                w.textEnd = q;
                w.closed = q < lineEnd;
                w.end = w.closed ? q + 1 : q;
                command.words.push_back(w);
                i = w.end;
            } else {
                RefWord w;
                w.start = w.textStart = i;
                std::size_t q = i + 1;
                while (q < lineEnd && !isBlank(text[q]) && text[q] != ';' && text[q] != '"' &&
                       !(text[q] == '/' && q + 1 < lineEnd && text[q + 1] == '/'))
                    ++q;
                w.end = w.textEnd = q;
                command.words.push_back(w);
                i = q;
            }
        }
        flush();

        if (lineEnd == text.size())
            break;
        lineStart = lineEnd + (text[lineEnd] == '\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == '\n' ? 2 : 1);
        ++line;
    }
    return out;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::vector<RefCommand> expected = referenceRead(text);

    ScriptReader reader(text);
    FUZZ_CHECK(reader.text().data() == text.data() && reader.text().size() == text.size());
    ScriptCommand command;
    std::size_t count = 0;
    std::size_t previousEnd = 0;
    int previousLine = 0;
    std::string lowered;
    while (reader.next(command)) {
        FUZZ_CHECK(count < expected.size());
        const RefCommand &want = expected[count++];
        FUZZ_CHECK(!command.words.empty());
        FUZZ_CHECK(command.line == want.line && command.lineStart == want.lineStart);
        FUZZ_CHECK(command.comment == want.comment);
        FUZZ_CHECK(command.words.size() == want.words.size());

        // Lines and offsets only go forward; the command lies on its line.
        FUZZ_CHECK(command.line >= previousLine);
        FUZZ_CHECK(command.start >= previousEnd);
        FUZZ_CHECK(command.lineStart <= command.start && command.start < command.end && command.end <= size);
        for (std::size_t i = command.start; i < command.end; ++i)
            FUZZ_CHECK(!isLineEnd(text[i]));
        if (command.comment != std::string_view::npos)
            FUZZ_CHECK(command.comment >= command.end && text.substr(command.comment, 2) == "//");
        previousLine = command.line;
        previousEnd = command.end;

        std::size_t wordEnd = command.start;
        for (std::size_t k = 0; k < command.words.size(); ++k) {
            const ScriptWord &w = command.words[k];
            const RefWord &r = want.words[k];
            FUZZ_CHECK(w.start == r.start && w.end == r.end && w.quoted == r.quoted && w.closed == r.closed);
            // A view into the script itself, between its own offsets.
            FUZZ_CHECK(w.start >= wordEnd && w.start <= w.end && w.end <= size);
            FUZZ_CHECK(w.text.data() == text.data() + r.textStart && w.text.size() == r.textEnd - r.textStart);
            FUZZ_CHECK(w.text.data() >= text.data() + w.start && w.text.data() + w.text.size() <= text.data() + w.end);
            FUZZ_CHECK(w.quoted || !w.text.empty());
            FUZZ_CHECK(command.word(k).data() == w.text.data());
            wordEnd = w.end;
        }
        FUZZ_CHECK(command.start == command.words.front().start && command.end == command.words.back().end);
        FUZZ_CHECK(command.word(command.words.size()).empty());

        // The comparisons without regard to case.
        const std::string_view head = command.words.front().text;
        AsciiLower(head, lowered);
        FUZZ_CHECK(lowered.size() == head.size());
        for (std::size_t i = 0; i < head.size(); ++i)
            FUZZ_CHECK(lowered[i] == asciiLower(head[i]));
        FUZZ_CHECK(command.is(lowered));
        FUZZ_CHECK(EqualsNoCase(head, lowered) && EqualsNoCase(lowered, head));
        if (command.words.size() > 1) {
            const std::string_view second = command.words[1].text;
            bool same = head.size() == second.size();
            for (std::size_t i = 0; same && i < head.size(); ++i)
                same = asciiLower(head[i]) == asciiLower(second[i]);
            FUZZ_CHECK(EqualsNoCase(head, second) == same);
        }
    }
    FUZZ_CHECK(count == expected.size());
    // The end stays the end.
    FUZZ_CHECK(!reader.next(command) && command.words.empty());
    return 0;
}
