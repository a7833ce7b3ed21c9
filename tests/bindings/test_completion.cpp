// What completes the word being typed, per context.
#include "app/tempdir.h"
#include "bindings/completion.h"
#include "bindings/diskscriptfiles.h"
#include "bindings/lint.h"
#include "shippedvocabulary.h"
#include "language/dictionary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace varkel;
using Names = std::vector<std::string>;

namespace {

const LintVocabulary &vocabulary(std::string_view set) { return test::ShippedVocabulary(set); }

// The list at the end of `text` (or at `caret`), in the Q2 vocabulary with
// the aliases `text` defines.
CompletionList at(std::string_view text, std::size_t caret = std::string_view::npos, std::string_view set = "Q2",
                  const ScriptListing &listing = {})
{
    const LintVocabulary &vocab = vocabulary(set);
    const ScriptNames names = CollectScriptNames(vocab, "a.cfg", text, nullptr);
    return CompletionsAt(text, caret == std::string_view::npos ? text.size() : caret, vocab, names, listing);
}

} // namespace

TEST(Completion, CommandWordsOfTheSetAndTheScript)
{
    const CompletionList c = at("alias +zoom \"fov 30\"\nalias +ZOOMOUT x\n+zo");
    EXPECT_EQ(c.context, CompletionContext::Command);
    EXPECT_EQ(c.typed, "+zo");
    EXPECT_EQ(c.start, 38u);
    EXPECT_EQ(c.candidates, (Names{"+zoom", "+zoomout"}));

    const CompletionList s = at("SENS");
    EXPECT_EQ(s.candidates, (Names{"sensitivity"}));
    // The second command of a line, and commands inside bodies.
    EXPECT_EQ(at("echo hi; sensi").candidates, (Names{"sensitivity"}));
    EXPECT_EQ(at("bind x \"+forward; +mov").candidates, (Names{"+movedown", "+moveleft", "+moveright", "+moveup"}));
    EXPECT_EQ(at("bind x +mlo").candidates, (Names{"+mlook"}));
    EXPECT_EQ(at("alias a \"wait; alias b \\\"fo").context, CompletionContext::None); // a quote ends the body
    EXPECT_EQ(at("alias a \"echo; sensi").candidates, (Names{"sensitivity"}));
    // The caret in the middle of the text: only what is before it counts.
    EXPECT_EQ(at("sensi 3\n", 5).candidates, (Names{"sensitivity"}));
}

TEST(Completion, KeysAfterBindAndUnbind)
{
    EXPECT_EQ(at("bind mouse").candidates, (Names{"mouse1", "mouse2", "mouse3"}));
    EXPECT_EQ(at("UNBIND MWHEEL").candidates, (Names{"MWHEELDOWN", "MWHEELUP"}));
    EXPECT_EQ(at("bind mouse", std::string_view::npos, "Q3").candidates,
              (Names{"mouse1", "mouse2", "mouse3", "mouse4", "mouse5"}));
    EXPECT_EQ(at("bind \"kp_en").candidates, (Names{"kp_end", "kp_enter"}));
    EXPECT_EQ(at("bind \"kp_en").typed, "kp_en");
    EXPECT_EQ(at("bind mouse1 +att").context, CompletionContext::Command);
}

TEST(Completion, ScriptsAfterExec)
{
    std::vector<std::string> asked;
    const ScriptListing listing = [&](std::string_view folder) {
        asked.emplace_back(folder);
        return folder.empty() ? Names{"Binds.cfg", "bots/", "weapons.cfg"} : Names{"a.cfg", "b.cfg"};
    };
    const CompletionList c = at("exec b", std::string_view::npos, "Q2", listing);
    EXPECT_EQ(c.context, CompletionContext::Script);
    EXPECT_EQ(c.candidates, (Names{"Binds.cfg", "bots/"}));
    EXPECT_EQ(at("exec bots/", std::string_view::npos, "Q2", listing).candidates, (Names{"bots/a.cfg", "bots/b.cfg"}));
    EXPECT_EQ(asked, (Names{"", "bots/"}));
    EXPECT_TRUE(at("exec b").candidates.empty());

    test::TempDir dir;
    test::writeAll(dir.file("Auto.CFG"), "");
    test::writeAll(dir.file("notes.txt"), "");
    test::writeAll(dir.file(".hidden.cfg"), "");
    std::filesystem::create_directory(dir.file("sub"));
    EXPECT_EQ(ListScriptFolder(dir.path()), (Names{"Auto.CFG", "sub/"}));
    EXPECT_EQ(ListScriptFolder(dir.file("nothere")), Names{});
}

TEST(Completion, NothingInCommentsOrWhenNothingIsTyped)
{
    for (const std::string_view text : {"", "bind ", "sensi ", "echo hi;", "// sensi", "echo hi // sensi",
                                        "bind x \"+attack\"", "say hi", "bind x say hel", "set name \"pla"}) {
        const CompletionList c = at(text);
        EXPECT_EQ(c.context, CompletionContext::None) << text;
        EXPECT_TRUE(c.candidates.empty()) << text;
    }
    // A line above with an open quote does not reach this one.
    EXPECT_EQ(at("say \"open\nsensi").candidates, (Names{"sensitivity"}));
    // In Quake III the value of a variable in quotes is a script.
    EXPECT_EQ(at("set s1 \"sensi", std::string_view::npos, "Q3").candidates, (Names{"sensitivity"}));
}
