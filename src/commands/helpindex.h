#pragma once
// The keyword search over Varkel's help pages: every page's title, keywords,
// headings and text are split into lower-case words, and a query lists the
// pages that hold all of its words, best match first. No widget is involved;
// the help window shows what Search returns.

#include "app/errors.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace varkel {

// The page the help opens on.
inline constexpr std::string_view kHelpContentsPage = "contents.html";

struct HelpPage {
    std::string file;     // file name inside the help folder ("panel.html")
    std::string title;    // text of <title>, or the file name when there is none
    std::string summary;  // <meta name="description">, else the start of the first paragraph
    std::vector<std::string> links;  // href targets of the page's links, as written
    // Words of each part of the page, lower case, with their counts.
    std::unordered_map<std::string, int> titleWords;
    std::unordered_map<std::string, int> keywordWords;  // <meta name="keywords">
    std::unordered_map<std::string, int> headingWords;  // <h1> .. <h6>
    std::unordered_map<std::string, int> bodyWords;     // all text of <body>, headings included
};

struct HelpHit {
    const HelpPage *page;
    int score;
    int strongWords; // query words found whole in the title, keywords or a heading
};

class HelpIndex {
public:
    // Adds a page from its HTML text.
    void AddPage(std::string file, std::string_view html);
    // Reads every *.html file of a folder, in name order. Fails with
    // HelpMissing when the folder or its contents page does not exist;
    // pages read before a failure stay.
    Error LoadFolder(const std::string &folder);
    void Clear() { m_pages.clear(); }

    const std::vector<HelpPage> &Pages() const { return m_pages; }
    const HelpPage *Find(std::string_view file) const;

    // Pages that hold every word of the query, best first (the hits point
    // into Pages() and stay valid until the index changes). Letter case does
    // not matter. A query word matches a page word whole when the two are
    // equal or the page word is the query word plus "s"; it matches as a
    // prefix when it has two characters or more and the page word begins
    // with it. An empty query lists every page in title order, with score 0.
    //
    // Per query word and page: a whole-word match in the title scores 40, a
    // prefix match 30; in the keywords 30 and 20; in a heading 12 and 8; in
    // the text 2 per whole-word and 1 per prefix occurrence, at most 10. A
    // page whose score for some query word is 0 is left out. Pages are
    // ordered by the number of query words they hold whole in the title,
    // keywords or a heading, then by score, then by title.
    std::vector<HelpHit> Search(std::string_view query) const;

    // The lower-case words of a text: runs of letters, digits and '_' (bytes
    // of 0x80 and above count as letters, so UTF-8 words stay whole).
    static std::vector<std::string> Words(std::string_view text);

private:
    std::vector<HelpPage> m_pages;
};

// The readable text of an HTML fragment: tags dropped (block tags become a
// space), character references decoded to UTF-8, white space collapsed and
// trimmed. The contents of <head>, <script> and <style> are left out.
std::string HtmlToText(std::string_view html);

} // namespace varkel
