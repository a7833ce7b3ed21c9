#include "commands/helpindex.h"

#include "documents/unicodetext.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace varkel {

namespace {

// Weights of one query word's match in each part of a page.
// A prefix match is mostly a plural or a longer form of the same word, so it
// counts nearly as much as a whole word.
constexpr int kTitleWhole = 40, kTitlePrefix = 30;
constexpr int kKeywordWhole = 30, kKeywordPrefix = 20;
constexpr int kHeadingWhole = 12, kHeadingPrefix = 8;
constexpr int kBodyWhole = 2, kBodyPrefix = 1, kBodyMax = 10;
constexpr std::size_t kSummaryLength = 160;

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowerAscii(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        c = lowerAscii(c);
    return out;
}

bool isWordByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u >= 0x80;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isNameByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '-' || u == '_' ||
           u == ':';
}

void appendUtf8(std::string &out, std::uint32_t cp)
{
    // What no character can be shows as the replacement character.
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    AppendUtf8(out, static_cast<char32_t>(cp));
}

struct NamedEntity {
    std::string_view name;
    std::uint32_t cp;
};
// A non-breaking space reads as a plain space, so it separates words.
constexpr std::array kEntities{
    NamedEntity{"amp", '&'},      NamedEntity{"lt", '<'},       NamedEntity{"gt", '>'},
    NamedEntity{"quot", '"'},     NamedEntity{"apos", '\''},    NamedEntity{"nbsp", ' '},
    NamedEntity{"ndash", 0x2013}, NamedEntity{"mdash", 0x2014}, NamedEntity{"hellip", 0x2026},
    NamedEntity{"rarr", 0x2192},  NamedEntity{"larr", 0x2190},  NamedEntity{"times", 0xD7},
    NamedEntity{"middot", 0xB7},  NamedEntity{"copy", 0xA9},    NamedEntity{"lsquo", 0x2018},
    NamedEntity{"rsquo", 0x2019}, NamedEntity{"ldquo", 0x201C}, NamedEntity{"rdquo", 0x201D},
};

// Text with its character references decoded. An unknown or malformed
// reference stays as written.
std::string decodeEntities(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            out += s[i];
            continue;
        }
        const std::size_t semi = s.find(';', i + 1);
        if (semi == std::string_view::npos || semi - i > 12) {
            out += '&';
            continue;
        }
        const std::string_view ref = s.substr(i + 1, semi - i - 1);
        bool decoded = false;
        if (ref.size() >= 2 && ref[0] == '#') {
            const bool hex = ref[1] == 'x' || ref[1] == 'X';
            const std::string_view digits = ref.substr(hex ? 2 : 1);
            std::uint32_t cp = 0;
            bool ok = !digits.empty();
            for (char c : digits) {
                int v = -1;
                if (c >= '0' && c <= '9')
                    v = c - '0';
                else if (hex && c >= 'a' && c <= 'f')
                    v = c - 'a' + 10;
                else if (hex && c >= 'A' && c <= 'F')
                    v = c - 'A' + 10;
                if (v < 0 || cp > 0x10FFFF) {
                    ok = false;
                    break;
                }
                cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
            }
            if (ok) {
                appendUtf8(out, cp);
                decoded = true;
            }
        } else {
            for (const NamedEntity &e : kEntities) {
                if (e.name == ref) {
                    appendUtf8(out, e.cp);
                    decoded = true;
                    break;
                }
            }
        }
        if (decoded)
            i = semi;
        else
            out += '&';
    }
    return out;
}

// Appends text with its white space collapsed to single spaces.
void appendCollapsed(std::string &buffer, std::string_view text)
{
    for (char c : text) {
        if (isSpace(c)) {
            if (!buffer.empty() && buffer.back() != ' ')
                buffer += ' ';
        } else {
            buffer += c;
        }
    }
}

void appendSpace(std::string &buffer)
{
    if (!buffer.empty() && buffer.back() != ' ')
        buffer += ' ';
}

std::string trimmed(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    std::size_t first = 0;
    while (first < s.size() && s[first] == ' ')
        ++first;
    return s.substr(first);
}

struct Tag {
    std::string name;     // lower case
    bool closing = false;
    std::vector<std::pair<std::string, std::string>> attributes; // names lower case, values decoded

    std::string attribute(std::string_view n) const
    {
        for (const auto &[key, value] : attributes)
            if (key == n)
                return value;
        return {};
    }
};

// Reads the tag that starts at html[i] == '<'. Returns the position after
// it, or npos when the text there is not a tag.
std::size_t readTag(std::string_view html, std::size_t i, Tag &tag)
{
    std::size_t p = i + 1;
    tag = Tag{};
    if (p < html.size() && html[p] == '/') {
        tag.closing = true;
        ++p;
    }
    const std::size_t nameStart = p;
    while (p < html.size() && isNameByte(html[p]))
        ++p;
    if (p == nameStart || !((html[nameStart] >= 'a' && html[nameStart] <= 'z') ||
                            (html[nameStart] >= 'A' && html[nameStart] <= 'Z')))
        return std::string_view::npos;
    tag.name = lowerAscii(html.substr(nameStart, p - nameStart));
    while (p < html.size()) {
        while (p < html.size() && (isSpace(html[p]) || html[p] == '/'))
            ++p;
        if (p >= html.size())
            break;
        if (html[p] == '>')
            return p + 1;
        const std::size_t an = p;
        while (p < html.size() && !isSpace(html[p]) && html[p] != '=' && html[p] != '>')
            ++p;
        std::string name = lowerAscii(html.substr(an, p - an));
        std::string value;
        while (p < html.size() && isSpace(html[p]))
            ++p;
        if (p < html.size() && html[p] == '=') {
            ++p;
            while (p < html.size() && isSpace(html[p]))
                ++p;
            if (p < html.size() && (html[p] == '"' || html[p] == '\'')) {
                const char q = html[p++];
                const std::size_t end = html.find(q, p);
                const std::size_t stop = end == std::string_view::npos ? html.size() : end;
                value = decodeEntities(html.substr(p, stop - p));
                p = end == std::string_view::npos ? html.size() : end + 1;
            } else {
                const std::size_t vs = p;
                while (p < html.size() && !isSpace(html[p]) && html[p] != '>')
                    ++p;
                value = decodeEntities(html.substr(vs, p - vs));
            }
        }
        if (!name.empty())
            tag.attributes.emplace_back(std::move(name), std::move(value));
    }
    return html.size(); // a tag left open runs to the end of the text
}

// Tags that sit inside a run of text without separating words.
bool isInlineTag(std::string_view name)
{
    static constexpr std::array kInline{"a",    "abbr", "b",     "cite", "code", "em",  "i",   "kbd", "mark",
                                        "samp", "small", "span", "strong", "sub", "sup", "tt", "u",   "var"};
    return std::find(kInline.begin(), kInline.end(), name) != kInline.end();
}

bool isHeadingTag(std::string_view name)
{
    return name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6';
}

// What one pass over a page collects.
struct Parsed {
    std::string title;
    std::string body;
    std::string headings;
    std::string firstParagraph;
    std::string keywords;
    std::string description;
    std::vector<std::string> links;
};

Parsed parseHtml(std::string_view html)
{
    Parsed out;
    bool inHead = false, inTitle = false;
    int skipDepth = 0;       // inside <script> or <style>
    int headingDepth = 0;
    int paragraphState = 0;  // 0 before the first <p>, 1 inside it, 2 after it

    auto addText = [&](std::string_view raw) {
        if (skipDepth > 0)
            return;
        const std::string text = decodeEntities(raw);
        if (inTitle)
            appendCollapsed(out.title, text);
        if (inHead)
            return;
        appendCollapsed(out.body, text);
        if (headingDepth > 0)
            appendCollapsed(out.headings, text);
        if (paragraphState == 1)
            appendCollapsed(out.firstParagraph, text);
    };
    auto addBreak = [&] {
        appendSpace(out.body);
        appendSpace(out.headings);
        if (paragraphState == 1)
            appendSpace(out.firstParagraph);
    };

    std::size_t i = 0;
    std::size_t textStart = 0;
    while (i < html.size()) {
        if (html[i] != '<') {
            ++i;
            continue;
        }
        if (html.compare(i, 4, "<!--") == 0) {
            addText(html.substr(textStart, i - textStart));
            const std::size_t end = html.find("-->", i + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
            textStart = i;
            continue;
        }
        if (html.compare(i, 2, "<!") == 0 || html.compare(i, 2, "<?") == 0) {
            addText(html.substr(textStart, i - textStart));
            const std::size_t end = html.find('>', i);
            i = end == std::string_view::npos ? html.size() : end + 1;
            textStart = i;
            continue;
        }
        Tag tag;
        const std::size_t next = readTag(html, i, tag);
        if (next == std::string_view::npos) {
            ++i; // a lone '<' is text
            continue;
        }
        addText(html.substr(textStart, i - textStart));
        i = next;
        textStart = next;

        const std::string &n = tag.name;
        if (n == "script" || n == "style") {
            skipDepth = tag.closing ? std::max(0, skipDepth - 1) : skipDepth + 1;
        } else if (n == "head") {
            inHead = !tag.closing;
        } else if (n == "body") {
            inHead = false;
        } else if (n == "title") {
            inTitle = !tag.closing;
        } else if (n == "meta" && !tag.closing) {
            const std::string name = lowerAscii(tag.attribute("name"));
            if (name == "keywords")
                out.keywords = tag.attribute("content");
            else if (name == "description")
                out.description = tag.attribute("content");
        } else if (n == "a" && !tag.closing) {
            const std::string href = tag.attribute("href");
            if (!href.empty())
                out.links.push_back(href);
        }
        if (isHeadingTag(n))
            headingDepth = tag.closing ? std::max(0, headingDepth - 1) : headingDepth + 1;
        if (n == "p" && !inHead) {
            // The navigation line at the top of a page is no summary.
            if (!tag.closing && paragraphState == 0 && lowerAscii(tag.attribute("class")) != "nav")
                paragraphState = 1;
            else if (tag.closing && paragraphState == 1)
                paragraphState = 2;
        }
        if (!isInlineTag(n))
            addBreak();
    }
    addText(html.substr(textStart));
    return out;
}

// The first kSummaryLength bytes of a text, cut at a space.
std::string shortened(std::string text)
{
    text = trimmed(std::move(text));
    if (text.size() <= kSummaryLength)
        return text;
    std::size_t cut = text.rfind(' ', kSummaryLength);
    if (cut == std::string::npos || cut == 0)
        cut = kSummaryLength;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut; // never split a UTF-8 sequence
    text.resize(cut);
    while (!text.empty() && (text.back() == ' ' || text.back() == ',' || text.back() == ';'))
        text.pop_back();
    return text + "...";
}

void countWords(std::unordered_map<std::string, int> &counts, std::string_view text)
{
    for (std::string &w : HelpIndex::Words(text))
        ++counts[std::move(w)];
}

bool startsWith(std::string_view word, std::string_view prefix)
{
    return word.size() > prefix.size() && word.compare(0, prefix.size(), prefix) == 0;
}

// A page word is the query word itself when equal to it or to its plural
// with an "s" ("conflict" finds "conflicts" as a whole word).
bool isWholeMatch(std::string_view word, std::string_view term)
{
    return word == term || (word.size() == term.size() + 1 && word.back() == 's' && startsWith(word, term));
}

// Whole-word count and prefix count of a query word in one part of a page.
std::pair<int, int> matches(const std::unordered_map<std::string, int> &words, const std::string &term)
{
    int whole = 0, prefix = 0;
    for (const auto &[word, count] : words) {
        if (isWholeMatch(word, term))
            whole += count;
        else if (term.size() >= 2 && startsWith(word, term))
            prefix += count;
    }
    return {whole, prefix};
}

int partScore(const std::unordered_map<std::string, int> &words, const std::string &term, int wholeWeight,
              int prefixWeight)
{
    const auto [whole, prefix] = matches(words, term);
    return whole > 0 ? wholeWeight : prefix > 0 ? prefixWeight : 0;
}

struct TermScore {
    int score = 0;
    bool strong = false; // a whole-word match in the title, keywords or a heading
};

TermScore termScore(const HelpPage &page, const std::string &term)
{
    TermScore t;
    const int title = partScore(page.titleWords, term, kTitleWhole, kTitlePrefix);
    const int keywords = partScore(page.keywordWords, term, kKeywordWhole, kKeywordPrefix);
    const int headings = partScore(page.headingWords, term, kHeadingWhole, kHeadingPrefix);
    t.strong = title == kTitleWhole || keywords == kKeywordWhole || headings == kHeadingWhole;
    const auto [whole, prefix] = matches(page.bodyWords, term);
    t.score = title + keywords + headings + std::min(kBodyMax, whole * kBodyWhole + prefix * kBodyPrefix);
    return t;
}

bool titleBefore(const HelpPage &a, const HelpPage &b)
{
    const std::string ta = lowerAscii(a.title), tb = lowerAscii(b.title);
    if (ta != tb)
        return ta < tb;
    return a.file < b.file;
}

} // namespace

std::vector<std::string> HelpIndex::Words(std::string_view text)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && !isWordByte(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && isWordByte(text[i]))
            ++i;
        if (i > start)
            words.push_back(lowerAscii(text.substr(start, i - start)));
    }
    return words;
}

std::string HtmlToText(std::string_view html)
{
    return trimmed(parseHtml(html).body);
}

void HelpIndex::AddPage(std::string file, std::string_view html)
{
    Parsed parsed = parseHtml(html);
    HelpPage page;
    page.title = trimmed(std::move(parsed.title));
    if (page.title.empty())
        page.title = file;
    page.file = std::move(file);
    page.summary = shortened(parsed.description.empty() ? parsed.firstParagraph : parsed.description);
    page.links = std::move(parsed.links);
    countWords(page.titleWords, page.title);
    countWords(page.keywordWords, parsed.keywords);
    countWords(page.headingWords, parsed.headings);
    countWords(page.bodyWords, parsed.body);
    // A page read again replaces its earlier version.
    auto same = [&](const HelpPage &p) { return p.file == page.file; };
    if (auto it = std::find_if(m_pages.begin(), m_pages.end(), same); it != m_pages.end())
        *it = std::move(page);
    else
        m_pages.push_back(std::move(page));
}

Error HelpIndex::LoadFolder(const std::string &folder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec))
        return Error{ErrorCode::HelpMissing, folder};
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path &p = it->path();
        if (p.extension() == ".html" && it->is_regular_file(ec))
            files.push_back(p);
    }
    std::sort(files.begin(), files.end());
    for (const fs::path &p : files) {
        std::ifstream in(p, std::ios::binary);
        if (!in)
            continue; // an unreadable page is left out of the search
        std::ostringstream text;
        text << in.rdbuf();
        AddPage(p.filename().string(), text.str());
    }
    if (!Find(kHelpContentsPage))
        return Error{ErrorCode::HelpMissing, (fs::path(folder) / std::string(kHelpContentsPage)).string()};
    return {};
}

const HelpPage *HelpIndex::Find(std::string_view file) const
{
    for (const HelpPage &p : m_pages)
        if (p.file == file)
            return &p;
    return nullptr;
}

std::vector<HelpHit> HelpIndex::Search(std::string_view query) const
{
    std::vector<std::string> terms = Words(query);
    std::sort(terms.begin(), terms.end());
    terms.erase(std::unique(terms.begin(), terms.end()), terms.end());

    std::vector<HelpHit> hits;
    for (const HelpPage &page : m_pages) {
        HelpHit hit{&page, 0, 0};
        bool all = true;
        for (const std::string &term : terms) {
            const TermScore t = termScore(page, term);
            if (t.score == 0) {
                all = false;
                break;
            }
            hit.score += t.score;
            hit.strongWords += t.strong ? 1 : 0;
        }
        if (all)
            hits.push_back(hit);
    }
    std::sort(hits.begin(), hits.end(), [](const HelpHit &a, const HelpHit &b) {
        if (a.strongWords != b.strongWords)
            return a.strongWords > b.strongWords;
        if (a.score != b.score)
            return a.score > b.score;
        return titleBefore(*a.page, *b.page);
    });
    return hits;
}

} // namespace varkel
