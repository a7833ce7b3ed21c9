// The bindings after the game has run a script and everything it execs.
#include "app/tempdir.h"
#include "bindings/diskscriptfiles.h"
#include "bindings/effectivebindings.h"
#include "bindings/memoryscriptfiles.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace varkel;
using namespace varkel::test;

namespace {

// The result as the command line prints it, paths and 1-based lines
// included: "key=command@path:line" and "kind name@path:line".
std::vector<std::string> listing(const EffectiveBindings &e)
{
    std::vector<std::string> out;
    for (const EffectiveBinding &b : e.bindings)
        out.push_back(b.key + "=" + b.command + "@" + e.scripts[b.script] + ":" + std::to_string(b.line + 1));
    for (const ExecNote &n : e.notes)
        out.push_back(std::string(ExecNoteKindName(n.kind)) + " " + n.name + "@" + e.scripts[n.script] + ":" +
                      std::to_string(n.line + 1));
    return out;
}

using List = std::vector<std::string>;

class Effective : public ::testing::Test
{
protected:
    List run(const std::string &start, std::size_t limit = ExecChain::kDefaultRunLimit)
    {
        std::string text = files.readScript(start).value_or("");
        last = GetEffectiveBindings(start, std::move(text), files, limit);
        return listing(last);
    }
    MemoryScriptFiles files;
    EffectiveBindings last;
};

} // namespace

TEST_F(Effective, BindTakesItsWordsJoinedBySingleSpaces)
{
    files.add("a.cfg", "bind x +attack\n"
                       "bind y say   hello\t \"big  world\"\n"
                       "bind z one\nbind z\n"           // only prints the binding
                       "bind w \"\"\n"                 // bound to nothing at all
                       "bind\nbind \"\" y\n"           // no key
                       "alias f \"bind f x\"; vstr y; set bind 1\n");
    EXPECT_EQ(run("a.cfg"),
              (List{"w=@a.cfg:5", "x=+attack@a.cfg:1", "y=say hello big  world@a.cfg:2", "z=one@a.cfg:3"}));
    // The command's bytes as written, for editing it in place.
    const EffectiveBinding &y = last.bindings[2];
    EXPECT_EQ(y.position, 15u);
    EXPECT_EQ(y.commandStart, 22u);
    EXPECT_EQ(y.commandEnd, 47u);
}

TEST_F(Effective, UnbindUnbindallAndCase)
{
    files.add("a.cfg", "BIND MOUSE1 a\nBind Mouse2 b\nbind c c\nunBIND mouse1\nunbind nothing\nunbind\n"
                       "bind d d\nUNBINDALL now\nbind E e\nbind e E\nbind ~ t\nbind \xc4 u\nbind mouse2 x\n");
    EXPECT_EQ(run("a.cfg"), (List{"e=E@a.cfg:10", "mouse2=x@a.cfg:13", "~=t@a.cfg:11", "\xc4=u@a.cfg:12"}));
    files.add("b.cfg", "bind a 1; unbindall; bind b 2; unbind B // unbind b\nbind a 3");
    EXPECT_EQ(run("b.cfg"), (List{"a=3@b.cfg:2"}));
}

TEST_F(Effective, ExecTriesNameThenNameCfg)
{
    files.add("cfg/a.cfg", "exec binds\nexec keys\nexec x.txt\nexec y.d/z\nexec .hidden\nexec\nexec \"\"\n");
    files.add("cfg/binds", "bind b plain\n");
    files.add("cfg/binds.cfg", "bind b cfg\n");
    files.add("cfg/keys.cfg", "bind k cfg\n");
    files.add("cfg/x.txt.cfg", "bind x wrong\n");
    files.add("cfg/y.d/z.cfg", "bind z cfg\n");
    files.add("cfg/.hidden.cfg", "bind h cfg\n");
    EXPECT_EQ(run("cfg/a.cfg"), (List{"b=plain@cfg/binds:1", "h=cfg@cfg/.hidden.cfg:1", "k=cfg@cfg/keys.cfg:1",
                                      "z=cfg@cfg/y.d/z.cfg:1", "missing x.txt@cfg/a.cfg:3"}));
}

TEST_F(Effective, ExecLooksInTheHoldersFolderThenTheStartingOne)
{
    files.add("q/auto.cfg", "exec sub/one\nexec two\n");
    files.add("q/sub/one.cfg", "exec three\nexec two\nexec four\n");
    files.add("q/sub/three.cfg", "bind t sub\n");
    files.add("q/three.cfg", "bind t top\n");
    files.add("q/two.cfg", "bind w top\n");
    files.add("q/sub/sub/four.cfg", "bind f deep\n");
    EXPECT_EQ(run("q/auto.cfg"),
              (List{"t=sub@q/sub/three.cfg:1", "w=top@q/two.cfg:1", "missing four@q/sub/one.cfg:3"}));
    EXPECT_EQ(last.scripts, (List{"q/auto.cfg", "q/sub/one.cfg", "q/sub/three.cfg", "q/two.cfg"}));

    // A starting script named without a folder runs in the current one.
    files.add("auto.cfg", "exec q/two\n");
    EXPECT_EQ(run("auto.cfg"), (List{"w=top@q/two.cfg:1"}));
}

TEST_F(Effective, ExecRunsInPlaceAndReadingGoesOn)
{
    files.add("a.cfg", "bind x a1; exec b; bind y a2\nexec b // again: not a cycle\nbind z a3\n");
    files.add("b.cfg", "bind x b; bind y b; bind z b; bind n b\n");
    EXPECT_EQ(run("a.cfg"), (List{"n=b@b.cfg:1", "x=b@b.cfg:1", "y=b@b.cfg:1", "z=a3@a.cfg:3"}));
    EXPECT_EQ(files.reads(), 2) << "each file is read once";
    // An exec in an alias body only defines the alias.
    files.add("c.cfg", "alias go \"exec b\"\nalias go2 exec b\n");
    EXPECT_EQ(run("c.cfg"), List{});
}

TEST_F(Effective, CyclesAndMissingScriptsAreNotedAndReadingGoesOn)
{
    files.add("a.cfg", "bind a 1\nexec b\nexec nothere\nexec a.cfg\nbind a 2\n");
    files.add("b.cfg", "\n  EXEC \"c\"; bind b 1\n");
    files.add("c.cfg", "exec a\nexec b\nexec ./sub/../c.cfg\nexec gone\nbind c 1\n");
    files.add("gone.cfg", "bind g 1\n");
    files.makeUnreadable("gone.cfg");
    EXPECT_EQ(run("a.cfg"), (List{"a=2@a.cfg:5", "b=1@b.cfg:2", "c=1@c.cfg:5", "cycle a@c.cfg:1", "cycle b@c.cfg:2",
                                  "cycle ./sub/../c.cfg@c.cfg:3", "missing gone@c.cfg:4", "missing nothere@a.cfg:3",
                                  "cycle a.cfg@a.cfg:4"}));
    const ExecNote &n = last.notes[1];
    EXPECT_EQ(n.position, 7u);
    EXPECT_EQ(n.namePosition, 12u);
    EXPECT_EQ(n.lineStart, 7u);
}

TEST_F(Effective, AChainOfFiftyScripts)
{
    // Each script binds its own key and the shared one, runs the next, then
    // binds "back": the first script's line runs last.
    for (int i = 0; i < 50; ++i) {
        const std::string n = std::to_string(i);
        files.add("s" + n + ".cfg", "bind k" + n + " " + n + "\nbind shared " + n + "\nexec s" + std::to_string(i + 1) +
                                        "\nbind back " + n + "\n");
    }
    const List result = run("s0.cfg");
    ASSERT_EQ(last.scripts.size(), 50u);
    ASSERT_EQ(last.bindings.size(), 52u);
    EXPECT_EQ(result[0], "back=0@s0.cfg:4");
    EXPECT_EQ(result[1], "k0=0@s0.cfg:1");
    EXPECT_EQ(result[2], "k1=1@s1.cfg:1");
    EXPECT_EQ(result[50], "k9=9@s9.cfg:1");
    EXPECT_EQ(result[51], "shared=49@s49.cfg:2");
    EXPECT_EQ(result[52], "missing s50@s49.cfg:3");
}

TEST_F(Effective, TheChainHandsOverEveryCommandInRunOrder)
{
    files.add("a.cfg", "echo 1; exec b\necho 4\nexec b\n");
    files.add("b.cfg", "echo 2\r\n// c\r\nalias x \"exec a\"; echo 3\n");
    ExecChain chain(files);
    std::vector<std::string> seen;
    chain.run("a.cfg", *files.readScript("a.cfg"), [&](std::size_t script, const ScriptCommand &c) {
        seen.push_back(chain.scripts()[script].path + ":" + std::to_string(c.line + 1) + " " + std::string(c.word(0)) +
                       " " + std::string(c.word(1)));
    });
    EXPECT_EQ(seen, (List{"a.cfg:1 echo 1", "a.cfg:1 exec b", "b.cfg:1 echo 2", "b.cfg:3 alias x", "b.cfg:3 echo 3",
                          "a.cfg:2 echo 4", "a.cfg:3 exec b", "b.cfg:1 echo 2", "b.cfg:3 alias x", "b.cfg:3 echo 3"}));
    ASSERT_EQ(chain.scripts().size(), 2u);
    EXPECT_EQ(chain.scripts()[1].text, "echo 2\r\n// c\r\nalias x \"exec a\"; echo 3\n");
    EXPECT_TRUE(chain.notes().empty());
}

TEST_F(Effective, ARunawayChainStopsAtItsLimit)
{
    // Every script runs the next one twice: 2^30 runs without a limit.
    for (int i = 0; i < 30; ++i)
        files.add("r" + std::to_string(i) + ".cfg", "exec r" + std::to_string(i + 1) + "\nexec r" +
                                                        std::to_string(i + 1) + "\nbind k" + std::to_string(i) + " x\n");
    files.add("r30.cfg", "bind last x\n");
    const List result = run("r0.cfg", 4096);
    ASSERT_FALSE(last.notes.empty());
    EXPECT_EQ(last.notes.size(), 1u);
    EXPECT_EQ(last.notes[0].kind, ExecNoteKind::Limit);
    EXPECT_EQ(last.bindings.size(), 31u); // every script still read to its end
}

TEST_F(Effective, StartingTextComesFromTheCaller)
{
    // The editor's text, not the file's; and a starting script that is no file.
    files.add("a.cfg", "bind x file\n");
    EffectiveBindings e = GetEffectiveBindings("a.cfg", "bind x editor\nexec a\n", files);
    EXPECT_EQ(listing(e), (List{"x=editor@a.cfg:1", "cycle a@a.cfg:2"}));
    e = GetEffectiveBindings("new/Untitled", "exec new/Untitled\nexec ../a\n", files);
    EXPECT_EQ(listing(e), (List{"x=file@new/../a.cfg:1", "missing new/Untitled@new/Untitled:1"}));
}

TEST(EffectiveOnDisk, FoldersLinksAndTheFilesFound)
{
    namespace fs = std::filesystem;
    const TempDir dir;
    fs::create_directories(dir.file("binds"));
    writeAll(dir.file("binds/x.cfg"), "bind x 1\n");
    writeAll(dir.file("binds.cfg"), "bind b 1\nexec binds/x\n");
    writeAll(dir.file("auto.cfg"), "exec binds\nexec link\nexec fifo\n");
    fs::create_symlink(dir.file("auto.cfg"), dir.file("link.cfg"));
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0); // no regular file, and reading it never waits

    DiskScriptFiles files;
    const std::string start = dir.file("auto.cfg");
    const EffectiveBindings e = GetEffectiveBindings(start, readAll(start), files);
    EXPECT_EQ(listing(e), (List{"b=1@" + dir.file("binds.cfg") + ":1", "x=1@" + dir.file("binds/x.cfg") + ":1",
                                "cycle link@" + start + ":2", "missing fifo@" + start + ":3"}));
}

TEST(ScriptPaths, FoldersAndExtensions)
{
    EXPECT_EQ(ScriptFolder("cfg/a.cfg"), "cfg");
    EXPECT_EQ(ScriptFolder("a.cfg"), "");
    EXPECT_EQ(ScriptFolder("/a.cfg"), "/");
    EXPECT_EQ(ScriptFolder("a//b.cfg"), "a");
    EXPECT_EQ(JoinScriptPath("", "x"), "x");
    EXPECT_EQ(JoinScriptPath("/", "x"), "/x");
    EXPECT_EQ(JoinScriptPath("a", "x"), "a/x");
    EXPECT_TRUE(HasExtension("a.cfg"));
    EXPECT_TRUE(HasExtension("a."));
    EXPECT_FALSE(HasExtension(".a"));
    EXPECT_FALSE(HasExtension("a.b/c"));
}

namespace {

std::string lower(std::string s)
{
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The 0-based line of a byte offset, line ends being LF, CR LF and lone CR.
int lineOf(const std::string &text, std::size_t position)
{
    int line = 0;
    for (std::size_t i = 0; i < position; ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++line;
    return line;
}

// The lines of a script, cut at LF, CR LF and lone CR.
std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

// A line that is nothing but `bind KEY COMMAND`, each of the two bare (no
// blank, no quote) or wholly in quotes, with no ";" or "/" anywhere: its key
// (lower case) and command, or nothing.
std::optional<std::pair<std::string, std::string>> plainBind(const std::string &line)
{
    if (line.find_first_of(";/") != std::string::npos)
        return std::nullopt;
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    std::vector<std::string> tokens;
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && blank(line[i]))
            ++i;
        if (i == line.size())
            break;
        std::size_t end;
        if (line[i] == '"') {
            end = line.find('"', i + 1);
            if (end == std::string::npos)
                return std::nullopt;
            tokens.push_back(line.substr(i + 1, end - i - 1));
            ++end;
        } else {
            end = i;
            while (end < line.size() && !blank(line[end]) && line[end] != '"')
                ++end;
            tokens.push_back(line.substr(i, end - i));
        }
        if (end < line.size() && !blank(line[end]))
            return std::nullopt;
        i = end;
    }
    if (tokens.size() != 3 || lower(tokens[0]) != "bind" || tokens[1].empty())
        return std::nullopt;
    return std::make_pair(lower(tokens[1]), tokens[2]);
}

} // namespace

// Every corpus script as a starting script: the result is well formed, and a
// key whose last binding is a plain bind line, with no other line naming
// "bind" after it, is bound by that line.
TEST(EffectiveCorpus, AgreesWithThePlainBindLines)
{
    if (test::CorpusScripts().empty())
        GTEST_SKIP() << "no corpus";
    DiskScriptFiles files;
    int scripts = 0, checkedKeys = 0;
    for (const char *game : {"q1", "q2", "q3"}) {
        for (const auto &script : test::CorpusScripts(game)) {
            const std::string path = script.string();
            const std::string text = readAll(path);
            const EffectiveBindings e = GetEffectiveBindings(path, text, files);
            ++scripts;
            SCOPED_TRACE(path);

            for (std::size_t i = 0; i < e.bindings.size(); ++i) {
                const EffectiveBinding &b = e.bindings[i];
                ASSERT_EQ(b.key, lower(b.key));
                ASSERT_TRUE(i == 0 || e.bindings[i - 1].key < b.key);
                if (b.script != 0)
                    continue;
                ASSERT_EQ(lower(text.substr(b.position, 4)), "bind");
                ASSERT_EQ(b.line, lineOf(text, b.position));
                ASSERT_LT(b.commandStart, b.commandEnd);
            }
            for (const ExecNote &n : e.notes) {
                if (n.script == 0) {
                    ASSERT_EQ(lower(text.substr(n.position, 4)), "exec");
                    ASSERT_EQ(n.line, lineOf(text, n.position));
                }
                ASSERT_NE(n.kind, ExecNoteKind::Limit);
            }
            if (e.scripts.size() > 1)
                continue; // an exec ran another script: no plain expectation

            // The last plain line of each key, and the last line naming
            // "bind" in any other way.
            const std::vector<std::string> lines = splitLines(text);
            std::map<std::string, std::pair<std::size_t, std::string>> lastPlain;
            std::size_t lastOther = 0;
            bool anyOther = false;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (const auto bind = plainBind(lines[i]))
                    lastPlain[bind->first] = {i, bind->second};
                else if (lower(lines[i]).find("bind") != std::string::npos)
                    lastOther = i, anyOther = true;
            }
            for (const auto &[key, where] : lastPlain) {
                if (anyOther && lastOther > where.first)
                    continue;
                const auto it = std::find_if(e.bindings.begin(), e.bindings.end(),
                                             [&](const EffectiveBinding &b) { return b.key == key; });
                ASSERT_NE(it, e.bindings.end()) << key;
                EXPECT_EQ(it->command, where.second) << key;
                EXPECT_EQ(static_cast<std::size_t>(it->line), where.first) << key;
                ++checkedKeys;
            }
        }
    }
    EXPECT_GT(scripts, 90);
    EXPECT_GT(checkedKeys, 1000);
}
