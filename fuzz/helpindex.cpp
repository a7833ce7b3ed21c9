// The help index: any pages parse without fault, their text is collapsed
// and trimmed, and a search lists exactly the pages that hold every word of
// the query, in rank order.
// Targets: src/commands/helpindex.cpp
//
// Input: an options byte, then pages separated by NUL bytes; the last part
// is the query (with a single part, the page is its own query).

#include "support.h"

#include "commands/helpindex.h"

#include <algorithm>
#include <set>

using namespace varkel;

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool validUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3
                                       : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
        if (len == 0 || i + len > s.size())
            return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += len;
    }
    return true;
}

bool holds(const std::unordered_map<std::string, int> &words, const std::string &term)
{
    return words.contains(term);
}

// Whether a page word matches a query word, whole or as a prefix.
bool matchesAny(const std::unordered_map<std::string, int> &words, const std::string &term)
{
    for (const auto &[word, count] : words) {
        FUZZ_CHECK(count > 0);
        if (word == term || word == term + "s" || (term.size() >= 2 && word.rfind(term, 0) == 0))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size);
    const std::size_t pageCount = input.partCount() > 1 ? std::min<std::size_t>(input.partCount() - 1, 6) : 1;
    const std::string_view query = input.part(input.partCount() - 1);

    HelpIndex index;
    for (std::size_t i = 0; i < pageCount; ++i) {
        const std::string_view html = input.part(i);
        index.AddPage("page" + std::to_string(i % 4) + ".html", html);

        const std::string text = HtmlToText(html);
        if (!text.empty())
            FUZZ_CHECK(!isSpace(text.front()) && !isSpace(text.back()));
        for (std::size_t k = 1; k < text.size(); ++k)
            FUZZ_CHECK(!(isSpace(text[k - 1]) && isSpace(text[k])));
        if (validUtf8(html))
            FUZZ_CHECK(validUtf8(text));
    }
    FUZZ_CHECK(index.Pages().size() == std::min<std::size_t>(pageCount, 4));
    for (const HelpPage &page : index.Pages()) {
        FUZZ_CHECK(index.Find(page.file) == &page);
        FUZZ_CHECK(!page.title.empty());
    }

    std::vector<std::string> terms = HelpIndex::Words(query);
    for (const std::string &t : terms) {
        FUZZ_CHECK(!t.empty());
        for (char c : t)
            FUZZ_CHECK(!(c >= 'A' && c <= 'Z') && !isSpace(c));
    }
    std::sort(terms.begin(), terms.end());
    terms.erase(std::unique(terms.begin(), terms.end()), terms.end());

    const std::vector<HelpHit> hits = index.Search(query);
    std::set<const HelpPage *> listed;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        const HelpHit &hit = hits[i];
        FUZZ_CHECK(hit.page && index.Find(hit.page->file) == hit.page);
        FUZZ_CHECK(listed.insert(hit.page).second);
        FUZZ_CHECK(terms.empty() ? hit.score == 0 : hit.score > 0);
        FUZZ_CHECK(hit.strongWords >= 0 && static_cast<std::size_t>(hit.strongWords) <= terms.size());
        if (i > 0) {
            const HelpHit &prev = hits[i - 1];
            FUZZ_CHECK(prev.strongWords > hit.strongWords ||
                       (prev.strongWords == hit.strongWords && prev.score >= hit.score));
        }
        // Every query word matches somewhere on a listed page.
        for (const std::string &term : terms)
            FUZZ_CHECK(matchesAny(hit.page->titleWords, term) || matchesAny(hit.page->keywordWords, term) ||
                       matchesAny(hit.page->headingWords, term) || matchesAny(hit.page->bodyWords, term));
    }
    // A page that holds every query word whole is listed.
    for (const HelpPage &page : index.Pages()) {
        const bool all = std::all_of(terms.begin(), terms.end(), [&](const std::string &term) {
            return holds(page.titleWords, term) || holds(page.keywordWords, term) ||
                   holds(page.headingWords, term) || holds(page.bodyWords, term);
        });
        if (all)
            FUZZ_CHECK(listed.contains(&page));
    }
    return 0;
}
