// The rows of the bindings table: what each filter lists, where each row's
// line is, and what an in-place edit of a command may rewrite.
#include "bindingfixture.h"
#include "bindings/bindingrows.h"
#include "bindings/bindingscan.h"
#include "bindings/effectivebindings.h"
#include "bindings/keystatetable.h"
#include "bindings/memoryscriptfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace varkel;
using namespace varkel::test;

namespace {

// The rows of a script as the table shows them after a scan.
std::vector<BindingRow> scriptRows(std::string_view text, ConflictType mode = ConflictType::Active)
{
    const GameDictionary &dict = testDictionary("Q3");
    BindingState state;
    KeyStateTable states;
    ClearData(state, &states);
    GetBindings(state, text, dict, mode, false, &states);
    return ScriptBindingRows(text, state, dict, [&](int slot) { return states.state(slot); });
}

std::vector<std::string> keysOf(const std::vector<BindingRow> &rows, RowFilter filter, std::string_view search = {})
{
    std::vector<std::string> keys;
    for (const BindingRow &row : rows)
        if (RowPasses(row, filter, search, "autoexec.cfg:" + std::to_string(row.line + 1)))
            keys.push_back(row.key);
    return keys;
}

using Keys = std::vector<std::string>;

} // namespace

TEST(BindingRows, LinesFromTheCallersIndexAreTheLinesOfTheWalk)
{
    // CR LF, LF and a lone CR all end a line, as they do in the editor.
    const std::string text = "// keys\r\nbind F \"+attack\"\rbind mouse4 +zoom\n\nbind g +jump\r\n\r\nbind f +use\n"
                             "bind x \"say one\r\nbind y +back\"\nbind z +left";
    const GameDictionary &dict = testDictionary("Q3");
    BindingState state;
    KeyStateTable states;
    ClearData(state, &states);
    GetBindings(state, text, dict, ConflictType::Active, false, &states);
    const auto slotState = [&](int slot) { return states.state(slot); };
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            starts.push_back(i + 1);
    const auto lineOf = [&](std::size_t position) {
        return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), position) - starts.begin()) - 1;
    };
    const std::vector<BindingRow> walked = ScriptBindingRows(text, state, dict, slotState);
    const std::vector<BindingRow> indexed = ScriptBindingRows(text, state, dict, slotState, lineOf);
    ASSERT_EQ(walked.size(), indexed.size());
    ASSERT_GE(walked.size(), 5u);
    for (std::size_t i = 0; i < walked.size(); ++i) {
        EXPECT_EQ(walked[i].key, indexed[i].key);
        EXPECT_EQ(walked[i].line, indexed[i].line) << walked[i].key;
    }
}

TEST(BindingRows, OneRowPerBoundKeyWithTheLineThatGaveItsCommand)
{
    const std::string text = "// keys\r\nbind F \"+attack; wait\"\r\nbind mouse4 +zoom\nbind g +jump // hop\nbind f +use\n";
    const std::vector<BindingRow> rows = scriptRows(text);
    // Panel keys in slot order, then the keys off the panel.
    EXPECT_EQ(keysOf(rows, RowFilter::All), (Keys{"f", "g", "mouse4"}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].onPanel());
    EXPECT_FALSE(rows[2].onPanel());

    // The first binding wins while conflicts are marked; the later different one marks it.
    const BindingRow &f = rows[0];
    EXPECT_EQ(f.state, KeyState::CON);
    EXPECT_EQ(f.line, 1);
    EXPECT_EQ(f.position, static_cast<std::ptrdiff_t>(text.find("bind F")));
    EXPECT_EQ(f.command, "+attack; wait");
    EXPECT_EQ(text.substr(f.commandStart, f.commandEnd - f.commandStart), "\"+attack; wait\"");

    // The comment is no part of the command.
    EXPECT_EQ(rows[1].line, 3);
    EXPECT_EQ(rows[1].command, "+jump");
    EXPECT_EQ(rows[1].state, KeyState::On);
    EXPECT_EQ(rows[2].line, 2);
    EXPECT_EQ(rows[2].command, "+zoom");
}

TEST(BindingRows, WithoutConflictMarksTheLastBindingIsTheRow)
{
    const std::string text = "bind x +back\nbind x +forward\n";
    const std::vector<BindingRow> rows = scriptRows(text, ConflictType::None);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].line, 1);
    EXPECT_EQ(rows[0].command, "+forward");
    EXPECT_EQ(rows[0].state, KeyState::On);
}

TEST(BindingRows, FiltersAndSearch)
{
    const GameDictionary &dict = testDictionary("Q3");
    std::vector<BindingRow> rows = scriptRows("bind x +back\nbind x +forward\nbind y +jump\nbind aux1 echo hi\n");
    EXPECT_EQ(keysOf(rows, RowFilter::All), (Keys{"y", "x", "aux1"}));
    EXPECT_EQ(keysOf(rows, RowFilter::Conflicts), (Keys{"x"}));
    // The search reads the key, the command and the place, in any case.
    EXPECT_EQ(keysOf(rows, RowFilter::All, "JUMP"), (Keys{"y"}));
    EXPECT_EQ(keysOf(rows, RowFilter::All, "AUX"), (Keys{"aux1"}));
    EXPECT_EQ(keysOf(rows, RowFilter::All, "exec.cfg:3"), (Keys{"y"}));
    EXPECT_TRUE(keysOf(rows, RowFilter::FreeKeys).empty());

    // Free keys: every named key of the set that no row binds, "=" and "~"
    // counted as the keys they name, no void slot.
    rows = scriptRows("bind = +attack\nbind ~ toggleconsole\nbind capslock +speed\n");
    const std::vector<BindingRow> free = FreeKeyRows(rows, dict);
    Keys freeKeys = keysOf(free, RowFilter::FreeKeys);
    const auto has = [&](const char *key) { return std::find(freeKeys.begin(), freeKeys.end(), key) != freeKeys.end(); };
    for (const char *key : {"escape", "mouse5", "aux1"})
        EXPECT_TRUE(has(key)) << key;
    for (const char *key : {"+", "`", "capslock", "void", ""})
        EXPECT_FALSE(has(key)) << key;
    // 110 slots less 7 void, less the two bound; 4 extra keys less capslock.
    EXPECT_EQ(freeKeys.size(), 103u - 2u + 3u);
    EXPECT_EQ(keysOf(free, RowFilter::All), Keys{});
    EXPECT_EQ(keysOf(free, RowFilter::FreeKeys, "MOUSE"), (Keys{"mouse1", "mouse2", "mouse3", "mouse4", "mouse5"}));
}

TEST(BindingRows, AnEditedLineNoLongerOffersItsCommandForEditing)
{
    const GameDictionary &dict = testDictionary("Q3");
    const std::string text = "bind x +back\nbind y \"+jump\" ; echo hi\n";
    std::size_t start = 0, end = 0;
    const std::size_t y = text.find("bind y");
    ASSERT_TRUE(BindCommandRange(text, y, dict, dict.KeyNumber("y"), start, end));
    EXPECT_EQ(text.substr(start, end - start), "\"+jump\"");
    // Another key, or no `bind` at the place: no range.
    EXPECT_FALSE(BindCommandRange(text, y, dict, dict.KeyNumber("x"), start, end));
    EXPECT_FALSE(BindCommandRange(text, y + 1, dict, dict.KeyNumber("y"), start, end));
    EXPECT_FALSE(BindCommandRange("bind y\n", 0, dict, dict.KeyNumber("y"), start, end));
}

TEST(BindingRows, CommandWrittenBack)
{
    EXPECT_EQ(CommandForBindLine("+attack", false), "+attack");
    EXPECT_EQ(CommandForBindLine("+attack", true), "\"+attack\"");
    EXPECT_EQ(CommandForBindLine("+attack; wait", false), "\"+attack; wait\"");
    EXPECT_EQ(CommandForBindLine("say hi", false), "\"say hi\"");
    EXPECT_EQ(CommandForBindLine("", false), "\"\"");
    // A command with its own quotes is written as typed.
    EXPECT_EQ(CommandForBindLine("say \"hi there\"", true), "say \"hi there\"");
}

TEST(BindingRows, EffectiveRowsPointIntoTheScriptThatBoundTheKey)
{
    const GameDictionary &dict = testDictionary("Q3");
    MemoryScriptFiles files;
    files.add("cfg/binds.cfg", "unbind y\nbind MOUSE4 \"+zoom\"\nbind x +forward\n");
    const EffectiveBindings effective =
        GetEffectiveBindings("cfg/autoexec.cfg", "bind x +back\nbind y +jump\nexec binds\n", files);
    const std::vector<BindingRow> rows = EffectiveBindingRows(effective, dict);
    ASSERT_EQ(keysOf(rows, RowFilter::All), (Keys{"mouse4", "x"}));
    EXPECT_TRUE(!rows[0].onPanel() && rows[1].onPanel());
    EXPECT_EQ(effective.scripts[rows[0].script], "cfg/binds.cfg");
    EXPECT_EQ(rows[0].line, 1);
    EXPECT_EQ(rows[1].command, "+forward");
    EXPECT_EQ(rows[1].line, 2);
    // y was unbound, so it is free.
    const Keys free = keysOf(FreeKeyRows(rows, dict), RowFilter::FreeKeys, "y");
    EXPECT_NE(std::find(free.begin(), free.end(), "y"), free.end());
}

TEST(BindingRows, ExecNameOnTheLine)
{
    const std::string text = "bind x +back\r\nexec \"my binds\" ; echo hi\r\necho exec\nexec\n  EXEC weapons // w\n";
    EXPECT_EQ(ExecNameAt(text, 0), "");
    EXPECT_EQ(ExecNameAt(text, text.find("my")), "my binds");
    EXPECT_EQ(ExecNameAt(text, text.find("echo hi")), "my binds");
    EXPECT_EQ(ExecNameAt(text, text.find("echo exec")), "");
    EXPECT_EQ(ExecNameAt(text, text.find("exec\n")), "");
    EXPECT_EQ(ExecNameAt(text, text.size() - 2), "weapons");
}
