// The checks of a script with its exec chain, the line checks, the
// completion list at a caret, and the user's names list.
// Targets: src/bindings/lint.cpp src/bindings/completion.cpp
//
// Input: an options byte (bits 0-1: the command set Q1, Q2, Q3; bits 2-7:
// where the caret stands, in 64ths of the first script), then up to eight
// scripts separated by NUL bytes: the first is checked as "cfg/a.cfg", the
// others are "cfg/s1.cfg" ... "cfg/s7.cfg" that it may exec. The second
// script is also read as a names list.

#include "dictionaries.h"

#include "bindings/completion.h"
#include "bindings/lint.h"
#include "bindings/memoryscriptfiles.h"

#include <algorithm>

using namespace varkel;

namespace {

const LintVocabulary &vocabulary(unsigned index)
{
    static const std::array<LintVocabulary, 3> vocabularies = [] {
        std::array<LintVocabulary, 3> v;
        for (unsigned i = 0; i < 3; ++i)
            v[i] = LintVocabulary(fuzz::shippedDictionary(i));
        return v;
    }();
    return vocabularies[index % 3];
}

bool byPlace(const LintFinding &a, const LintFinding &b)
{
    return a.position != b.position ? a.position < b.position : a.code < b.code;
}

void checkReport(const LintReport &report, std::string_view text, const LintVocabulary &vocab, bool withFiles)
{
    const std::vector<std::size_t> starts = LineStarts(text);
    FUZZ_CHECK(std::is_sorted(report.findings.begin(), report.findings.end(), byPlace));
    std::vector<LintFinding> lineLocal;
    for (const LintFinding &f : report.findings) {
        FUZZ_CHECK(f.line >= 0 && static_cast<std::size_t>(f.line) < starts.size());
        FUZZ_CHECK(f.position == starts[static_cast<std::size_t>(f.line)] + f.column);
        FUZZ_CHECK(f.length >= 1 && f.position + f.length <= text.size());
        // A finding never spans a line end.
        for (std::size_t i = f.position; i < f.position + f.length; ++i)
            FUZZ_CHECK(text[i] != '\n' && text[i] != '\r');
        FUZZ_CHECK(f.severity == LintSeverityOf(f.code));
        FUZZ_CHECK(!f.message.empty());
        if (!withFiles)
            FUZZ_CHECK(f.code != LintCode::ExecMissing && f.code != LintCode::ExecCycle);
        if (f.code == LintCode::UnclosedQuote)
            FUZZ_CHECK(text[f.position] == '"');
        if (IsLineLocal(f.code))
            lineLocal.push_back(f);
    }

    // Line by line, with the names of the whole pass, the same findings.
    LineLinter linter(vocab, report.names);
    std::vector<LintFinding> local;
    for (std::size_t i = 0; i < starts.size(); ++i)
        linter.lintLine(text, starts[i], static_cast<int>(i), local);
    FUZZ_CHECK(local.size() == lineLocal.size());
    for (std::size_t i = 0; i < local.size(); ++i) {
        FUZZ_CHECK(local[i].position == lineLocal[i].position);
        FUZZ_CHECK(local[i].code == lineLocal[i].code);
        FUZZ_CHECK(local[i].message == lineLocal[i].message);
    }
}

bool startsWithNoCase(std::string_view name, std::string_view prefix)
{
    return name.size() >= prefix.size() && EqualsNoCase(name.substr(0, prefix.size()), prefix);
}

void checkCompletion(std::string_view text, std::size_t caret, const LintVocabulary &vocab, const ScriptNames &names)
{
    const ScriptListing listing = [](std::string_view folder) {
        return std::vector<std::string>{"a.cfg", "Binds.cfg", "sub/", std::string(folder) + "x.cfg"};
    };
    const CompletionList c = CompletionsAt(text, caret, vocab, names, listing);
    if (c.context == CompletionContext::None) {
        FUZZ_CHECK(c.candidates.empty());
        return;
    }
    // The word typed ends at the caret and holds no line end.
    FUZZ_CHECK(!c.typed.empty());
    FUZZ_CHECK(c.start + c.typed.size() == std::min(caret, text.size()));
    FUZZ_CHECK(text.substr(c.start, c.typed.size()) == c.typed);
    FUZZ_CHECK(c.typed.find_first_of("\r\n") == std::string::npos);
    for (std::size_t i = 0; i < c.candidates.size(); ++i) {
        FUZZ_CHECK(startsWithNoCase(c.candidates[i], c.typed));
        if (i > 0)
            FUZZ_CHECK(c.candidates[i - 1] != c.candidates[i]);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size);
    LintVocabulary vocab = vocabulary(input.options() & 3u);
    const std::string_view text = input.part(0);

    MemoryScriptFiles files;
    files.add("cfg/a.cfg", std::string(text));
    for (std::size_t i = 1; i < std::min<std::size_t>(input.partCount(), 8); ++i)
        files.add("cfg/s" + std::to_string(i) + ".cfg", std::string(input.part(i)));

    const LintReport chained = LintScript(vocab, "cfg/a.cfg", text, &files);
    checkReport(chained, text, vocab, true);
    const LintReport alone = LintScript(vocab, "cfg/a.cfg", text, nullptr);
    checkReport(alone, text, vocab, false);
    // The chain only adds names.
    for (const std::string &name : alone.names.defined)
        FUZZ_CHECK(chained.names.defined.count(name));

    const std::size_t caret = text.size() * (input.options() >> 2) / 63;
    checkCompletion(text, caret, vocab, chained.names);
    checkCompletion(text, text.size(), vocab, chained.names);

    // The user's names: every name of a list silences its unknown-name.
    const std::vector<std::string> names = ParseUserNames(input.part(1));
    for (const std::string &name : names) {
        FUZZ_CHECK(!name.empty() && name.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(!IsScriptBlank(name.front()) && !IsScriptBlank(name.back()));
    }
    vocab.setUserNames(names);
    for (const LintFinding &f : LintScript(vocab, "cfg/a.cfg", text, nullptr).findings)
        if (f.code == LintCode::UnknownName)
            FUZZ_CHECK(std::none_of(names.begin(), names.end(),
                                    [&](const std::string &n) { return EqualsNoCase(n, f.name); }));
    if (!names.empty()) {
        const std::string added = WithUserName(input.part(1), "zz_fuzz_name");
        const std::vector<std::string> after = ParseUserNames(added);
        FUZZ_CHECK(std::find(after.begin(), after.end(), "zz_fuzz_name") != after.end());
        FUZZ_CHECK(added.compare(0, input.part(1).size(), input.part(1)) == 0);
        FUZZ_CHECK(WithUserName(added, "ZZ_FUZZ_NAME") == added);
    }
    return 0;
}
