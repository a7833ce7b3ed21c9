// The help search: reading pages, the ranking, and the shipped help pages'
// titles and links.

#include "commands/helpindex.h"

#include "app/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

using namespace varkel;
using varkel::test::TempDir;
using varkel::test::writeAll;

namespace {

std::vector<std::string> files(const std::vector<HelpHit> &hits)
{
    std::vector<std::string> out;
    for (const HelpHit &h : hits)
        out.push_back(h.page->file);
    return out;
}

std::string page(const std::string &title, const std::string &body, const std::string &keywords = "")
{
    std::string head = "<head><title>" + title + "</title>";
    if (!keywords.empty())
        head += "<meta name=\"keywords\" content=\"" + keywords + "\">";
    return "<html>" + head + "</head><body>" + body + "</body></html>";
}

HelpIndex rankingIndex()
{
    HelpIndex index;
    index.AddPage("conflicts.html",
                  page("Binding conflicts", "<h1>Binding conflicts</h1><p>A conflict is a key bound twice.</p>"));
    index.AddPage("panel.html", page("The panel", "<h1>The panel</h1><p>Keys light up; a conflict shows red.</p>",
                                     "keys, conflict"));
    std::string many;
    for (int i = 0; i < 30; ++i)
        many += "conflict ";
    index.AddPage("long.html", page("Long page", "<p>" + many + "</p>"));
    index.AddPage("edit.html", page("Edit menu", "<p>Press F3 to find the next one; f finds nothing.</p>"));
    return index;
}

} // namespace

TEST(HelpIndex, HtmlTextDropsMarkupAndDecodesReferences)
{
    EXPECT_EQ(HtmlToText("<html><head><title>T</title><style>p { color: red }</style></head>"
                         "<body><p>Use <b>bi</b>nd &amp; <code>alias</code>.</p><p>Next&nbsp;one</p>"
                         "<!-- hidden <p>x</p> --><script>var x = '<p>';</script>"
                         "&#65;&#x42; &bogus; a < b &amp</body></html>"),
              "Use bind & alias. Next one AB &bogus; a < b &amp");
    // Block tags separate words, a quoted '>' does not end a tag, and UTF-8
    // comes out of numeric references.
    EXPECT_EQ(HtmlToText("<ul><li>one</li><li>two</li></ul><a title=\"1 > 0\" href=\"x.html\">link</a>&#x2013;"),
              "one two link\xE2\x80\x93");
}

TEST(HelpIndex, PageTitleSummaryKeywordsAndLinks)
{
    HelpIndex index;
    index.AddPage("a.html", "<html><head><title>  The\n  panel </title>"
                            "<meta name=\"description\" content=\"Keys &amp; buttons.\"></head>"
                            "<body><p class=\"nav\"><a href=\"contents.html\">Contents</a></p>"
                            "<p>First.</p><a href='b.html#top'>b</a></body></html>");
    std::string words;
    for (int i = 0; i < 40; ++i)
        words += "word" + std::to_string(i) + " ";
    index.AddPage("b.html", "<p class=\"nav\">Back</p><p>" + words + "</p><p>Second.</p>");

    const HelpPage *a = index.Find("a.html");
    EXPECT_EQ(a->title, "The panel");
    EXPECT_EQ(a->summary, "Keys & buttons.");
    EXPECT_EQ(a->links, (std::vector<std::string>{"contents.html", "b.html#top"}));

    // No title: the file name; no description: the first paragraph after the
    // navigation line, cut at a word.
    const HelpPage *b = index.Find("b.html");
    EXPECT_EQ(b->title, "b.html");
    EXPECT_LE(b->summary.size(), 163u);
    EXPECT_EQ(b->summary.rfind("word0 word1 ", 0), 0u);
    EXPECT_EQ(b->summary.substr(b->summary.size() - 3), "...");
    EXPECT_EQ(b->summary.find("Second"), std::string::npos);

    // Reading a page again replaces it.
    index.AddPage("a.html", page("Other", ""));
    EXPECT_EQ(index.Pages().size(), 2u);
    EXPECT_EQ(index.Find("a.html")->title, "Other");
}

TEST(HelpIndex, RankingPutsTitlesAndKeywordsBeforeMentions)
{
    const HelpIndex index = rankingIndex();
    // The plural in the title and heading counts as the word; a keyword
    // comes next; thirty mentions in the text count no more than five.
    const std::vector<std::string> ranked{"conflicts.html", "panel.html", "long.html"};
    EXPECT_EQ(files(index.Search("conflict")), ranked);
    // Letter case and repeated words change nothing.
    EXPECT_EQ(files(index.Search("CONFLICT, conflict!")), ranked);

    // Every word must match: "keys" is not a prefix of "key".
    EXPECT_EQ(files(index.Search("conflict keys")), (std::vector<std::string>{"panel.html"}));
    EXPECT_TRUE(index.Search("conflict zebra").empty());

    // One letter finds only itself ("f", not "find"); two make a prefix.
    for (const char *query : {"f", "fi", "f3"})
        EXPECT_EQ(files(index.Search(query)), (std::vector<std::string>{"edit.html"})) << query;
    // "f" scores its one mention, as "fi" scores its words as one prefix match.
    EXPECT_EQ(index.Search("f")[0].score, 2);
    EXPECT_EQ(index.Search("fi")[0].score, 2);
}

TEST(HelpIndex, WholeWordsInTitlesKeywordsAndHeadingsComeFirst)
{
    HelpIndex index;
    index.AddPage("binding.html", page("Binding and rebinding", "<h2>Bindings</h2><p>binding binding binding</p>"));
    index.AddPage("scripting.html", page("Scripting", "<p>bind keys</p>", "bind, alias"));
    // "bind" is only the start of every word of the binding page, however
    // often it occurs there: the page that has the word itself comes first.
    EXPECT_EQ(files(index.Search("bind")), (std::vector<std::string>{"scripting.html", "binding.html"}));
    // "binding" is whole in that title and, as a plural, in its heading.
    EXPECT_EQ(files(index.Search("binding")), (std::vector<std::string>{"binding.html"}));
}

TEST(HelpIndex, EmptyQueryAndTiesGoInTitleOrder)
{
    HelpIndex index = rankingIndex();
    index.AddPage("z.html", page("alpha", "<p>tie</p>"));
    index.AddPage("y.html", page("Beta", "<p>tie</p>"));
    index.AddPage("x.html", page("alpha", "<p>tie</p>"));

    auto all = index.Search("  ;; ");
    EXPECT_EQ(files(all), (std::vector<std::string>{"x.html", "z.html", "y.html", "conflicts.html", "edit.html",
                                                    "long.html", "panel.html"}));
    EXPECT_EQ(all.front().score, 0);
    EXPECT_EQ(files(index.Search("tie")), (std::vector<std::string>{"x.html", "z.html", "y.html"}));
}

TEST(HelpIndex, LoadFolderNeedsTheFolderAndItsContentsPage)
{
    HelpIndex index;
    Error e = index.LoadFolder("/nonexistent/help");
    EXPECT_EQ(e.code, ErrorCode::HelpMissing);
    EXPECT_EQ(e.description(), "Help files not found: /nonexistent/help");

    TempDir dir;
    writeAll(dir.file("panel.html"), page("Panel", "<p>keys</p>"));
    writeAll(dir.file("notes.txt"), "not a page");
    e = index.LoadFolder(dir.path());
    EXPECT_EQ(e.code, ErrorCode::HelpMissing);
    EXPECT_EQ(e.detail, dir.file("contents.html"));

    writeAll(dir.file("contents.html"), page("Contents", "<a href=\"panel.html\">Panel</a>"));
    HelpIndex full;
    EXPECT_FALSE(full.LoadFolder(dir.path()));
    EXPECT_EQ(full.Pages().size(), 2u);
    EXPECT_NE(full.Find("contents.html"), nullptr);
}

// --- the shipped help ----------------------------------------------------

TEST(ShippedHelp, PagesHaveTitlesAndLinksStayInsideTheHelp)
{
    HelpIndex index;
    const Error e = index.LoadFolder(VARKEL_SOURCE_DIR "/help");
    ASSERT_FALSE(e) << e.description();
    std::set<std::string> linkedFromContents;
    for (const HelpPage &p : index.Pages()) {
        EXPECT_NE(p.title, p.file) << p.file << " has no title";
        EXPECT_FALSE(p.summary.empty()) << p.file;
        for (const std::string &href : p.links) {
            EXPECT_EQ(href.find(':'), std::string::npos) << p.file << " links outside the help: " << href;
            const std::string target = href.substr(0, href.find('#'));
            if (target.empty())
                continue;
            EXPECT_NE(index.Find(target), nullptr) << p.file << " links to a missing page: " << href;
            if (p.file == kHelpContentsPage)
                linkedFromContents.insert(target);
        }
    }
    for (const HelpPage &p : index.Pages()) {
        if (p.file != kHelpContentsPage) {
            EXPECT_TRUE(linkedFromContents.count(p.file)) << p.file << " is not listed on the contents page";
        }
    }
    EXPECT_TRUE(std::filesystem::exists(VARKEL_SOURCE_DIR "/help/varkel.css"));
}
