// The tool command-line splitter: quoting the words it returns and joining
// them gives a line that splits into the same words; a line without quotes or
// backslashes splits at blanks alone.
// Targets: src/dialogs/commandline.cpp

#include "support.h"

#include "dialogs/commandline.h"

using namespace varkel;

namespace {

// A word between single quotes, a single quote written as '\''.
std::string singleQuoted(std::string_view word)
{
    std::string out = "'";
    for (char c : word) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view line(reinterpret_cast<const char *>(data), size);
    const std::optional<std::vector<std::string>> words = SplitCommandLine(line);

    if (line.find_first_of("'\"\\") == std::string_view::npos) {
        std::vector<std::string> plain;
        std::string word;
        for (char c : line) {
            if (!isBlank(c)) {
                word += c;
            } else if (!word.empty()) {
                plain.push_back(std::move(word));
                word.clear();
            }
        }
        if (!word.empty())
            plain.push_back(std::move(word));
        FUZZ_CHECK(words && *words == plain);
    }
    if (!words)
        return 0;

    std::string joined;
    for (const std::string &w : *words)
        joined += (joined.empty() ? "" : " ") + singleQuoted(w);
    FUZZ_CHECK(SplitCommandLine(joined) == words);
    // A line that splits also splits with blanks around it, into the same words.
    FUZZ_CHECK(SplitCommandLine(" \t" + std::string(line) + (line.empty() || line.back() != '\\' ? " " : "")) ==
               words);
    return 0;
}
