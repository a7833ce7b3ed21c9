#include "bindings/completion.h"

#include "bindings/lint.h"
#include "bindings/scriptreader.h"

#include <algorithm>

namespace varkel {

namespace {

struct Place {
    CompletionContext context = CompletionContext::None;
    std::string_view word; // the word being typed: a view into the text
};

bool isSetCommand(std::string_view lower)
{
    return lower == "set" || lower == "seta" || lower == "sets" || lower == "setu";
}

// The context of the end of `text` (a line up to the caret, or a body
// inside it). Bodies are read as scripts of their own, a few levels deep.
Place placeAtEnd(std::string_view text, bool vstr, int depth)
{
    ScriptReader reader(text);
    ScriptCommand command, last;
    bool any = false;
    while (reader.next(command)) {
        last = command;
        any = true;
    }
    // Past the last word there is a blank, a ";" or a comment: no word is
    // being typed.
    if (!any || last.end != text.size())
        return {};
    const ScriptWord &word = last.words.back();
    if (word.text.empty() || (word.quoted && word.closed))
        return {};
    const std::size_t index = last.words.size() - 1;
    if (index == 0)
        return {CompletionContext::Command, word.text};

    std::string first;
    AsciiLower(last.words.front().text, first);
    if (index == 1) {
        if (first == "bind" || first == "unbind")
            return {CompletionContext::Key, word.text};
        if (first == "exec")
            return {CompletionContext::Script, word.text};
        return {};
    }
    // A body being typed: the words from the third on are a script.
    const bool body = first == "bind" || first == "alias" || (vstr && isSetCommand(first) && last.words[2].quoted);
    if (!body || depth >= 4)
        return {};
    const std::string_view bodyText = index == 2 && word.quoted ? word.text : text.substr(last.words[2].start);
    return placeAtEnd(bodyText, vstr, depth + 1);
}

std::string lowered(std::string_view text)
{
    std::string out;
    AsciiLower(text, out);
    return out;
}

bool startsWithNoCase(std::string_view name, std::string_view lowerPrefix)
{
    return name.size() >= lowerPrefix.size() && EqualsNoCase(name.substr(0, lowerPrefix.size()), lowerPrefix);
}

void addMatching(std::vector<std::string> &out, const std::vector<std::string> &names, std::string_view lowerPrefix)
{
    // The lists are sorted in lower case: the matches are one run.
    auto it = std::lower_bound(names.begin(), names.end(), lowerPrefix,
                               [](const std::string &a, std::string_view b) { return std::string_view(a) < b; });
    for (; it != names.end() && startsWithNoCase(*it, lowerPrefix); ++it)
        out.push_back(*it);
}

void sortUnique(std::vector<std::string> &list)
{
    std::sort(list.begin(), list.end(), [](const std::string &a, const std::string &b) {
        const std::string la = lowered(a), lb = lowered(b);
        return la != lb ? la < lb : a < b;
    });
    list.erase(std::unique(list.begin(), list.end()), list.end());
}

} // namespace

CompletionList CompletionsAt(std::string_view text, std::size_t caret, const LintVocabulary &vocab,
                             const ScriptNames &names, const ScriptListing &listScripts)
{
    CompletionList list;
    caret = std::min(caret, text.size());
    const std::size_t lineBreak = text.substr(0, caret).find_last_of("\r\n");
    const std::size_t lineStart = lineBreak == std::string_view::npos ? 0 : lineBreak + 1;
    const Place place = placeAtEnd(text.substr(lineStart, caret - lineStart), vocab.usesVstr(), 0);
    if (place.context == CompletionContext::None)
        return list;
    list.context = place.context;
    list.start = static_cast<std::size_t>(place.word.data() - text.data());
    list.typed = place.word;
    const std::string prefix = lowered(place.word);

    switch (place.context) {
    case CompletionContext::Command:
        addMatching(list.candidates, vocab.names(), prefix);
        addMatching(list.candidates, vocab.userNames(), prefix);
        for (const std::string &name : names.defined)
            if (startsWithNoCase(name, prefix))
                list.candidates.push_back(name);
        break;
    case CompletionContext::Key: {
        addMatching(list.candidates, vocab.keyNames(), prefix);
        // Keys typed in capitals are offered in capitals.
        const auto isUpper = [](char c) { return c >= 'A' && c <= 'Z'; };
        const auto isLower = [](char c) { return c >= 'a' && c <= 'z'; };
        const bool upper = std::any_of(place.word.begin(), place.word.end(), isUpper) &&
                           std::none_of(place.word.begin(), place.word.end(), isLower);
        if (upper)
            for (std::string &key : list.candidates)
                for (char &c : key)
                    if (c >= 'a' && c <= 'z')
                        c = static_cast<char>(c - 'a' + 'A');
        break;
    }
    case CompletionContext::Script: {
        if (!listScripts)
            break;
        const std::size_t slash = place.word.rfind('/');
        const std::string_view folder =
            slash == std::string_view::npos ? std::string_view() : place.word.substr(0, slash + 1);
        const std::string namePrefix = lowered(place.word.substr(folder.size()));
        for (const std::string &name : listScripts(folder))
            if (startsWithNoCase(name, namePrefix))
                list.candidates.push_back(std::string(folder) + name);
        break;
    }
    case CompletionContext::None:
        break;
    }
    sortUnique(list.candidates);
    return list;
}

} // namespace varkel
