// The checks of a script: each code on crafted scripts with its near misses,
// places in bytes, the line-local checks against the whole pass, and the
// user's names.
#include "bindings/lint.h"
#include "shippedvocabulary.h"
#include "bindings/memoryscriptfiles.h"
#include "language/dictionary.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace varkel;

namespace {

const LintVocabulary &vocabulary(std::string_view set) { return test::ShippedVocabulary(set); }

// "LINE:COLUMN code name" per finding, 1-based as printed.
std::vector<std::string> brief(const std::vector<LintFinding> &findings)
{
    std::vector<std::string> out;
    for (const LintFinding &f : findings)
        out.push_back(std::to_string(f.line + 1) + ":" + std::to_string(f.column + 1) + " " +
                      std::string(LintCodeName(f.code)) + " " + f.name);
    return out;
}

using List = std::vector<std::string>;

List lint(std::string_view text, std::string_view set = "Q2", ScriptFiles *files = nullptr,
          std::string_view path = "a.cfg")
{
    return brief(LintScript(vocabulary(set), path, text, files).findings);
}

// The findings of one code only.
List only(LintCode code, std::string_view text, std::string_view set = "Q2", ScriptFiles *files = nullptr)
{
    List out;
    for (const LintFinding &f : LintScript(vocabulary(set), "a.cfg", text, files).findings)
        if (f.code == code)
            out.push_back(std::to_string(f.line + 1) + ":" + std::to_string(f.column + 1) + " " + f.name);
    return out;
}

std::string messageOf(std::string_view text, LintCode code, std::string_view set = "Q2", ScriptFiles *files = nullptr)
{
    for (const LintFinding &f : LintScript(vocabulary(set), "a.cfg", text, files).findings)
        if (f.code == code)
            return f.message;
    return {};
}

} // namespace

TEST(Lint, CodesSeveritiesAndTheLinePrinted)
{
    for (int c = 0; c < kLintCodeCount; ++c) {
        const auto code = static_cast<LintCode>(c);
        EXPECT_EQ(LintSeverityOf(code), code == LintCode::UnknownName ? LintSeverity::Note : LintSeverity::Warning);
    }
    const std::vector<LintFinding> f = LintScript(vocabulary("Q2"), "a.cfg", "echo\r\n\tbind mouse9 +attack\n", nullptr).findings;
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(FormatFinding(f[0]), "2:7: warning: unknown key \"mouse9\" (did you mean mouse1, mouse2 or mouse3?) [unknown-key]");
    EXPECT_EQ(f[0].position, 12u);
    EXPECT_EQ(f[0].length, 6u);
}

TEST(Lint, UnclosedQuoteAtTheQuoteThatIsNeverClosed)
{
    EXPECT_EQ(lint("bind x \"+attack\nsay \"a\" \"b\r\necho \"a // b\recho ok\n"),
              (List{"1:8 unclosed-quote ", "2:9 unclosed-quote ", "3:6 unclosed-quote "}));
    // Quotes in comments, closed quotes, and a quote after a comment start.
    EXPECT_EQ(lint("// say \"hi\necho hi // \"oops\necho \"\" \"a;b\"\n"), List{});
}

TEST(Lint, UnknownKeyIsNoKeyNameOfTheSetNorOneCharacter)
{
    EXPECT_EQ(only(LintCode::UnknownKey, "bind a x; bind ; x\nbind \";\" x\nbind ~ toggleconsole\nbind KP_ENTER x\n"
                                         "bind AUX1 x\nbind \"\" x\nunbind mous1\nbind\nunbind\n"),
              (List{"6:6 ", "7:8 mous1"}));
    // The ";" of "bind ; x" ends the command: no key is named. Keys in bodies
    // are checked too.
    EXPECT_EQ(only(LintCode::UnknownKey, "bind x \"bind mouse4 +attack\"\n", "Q2"), (List{"1:14 mouse4"}));
    EXPECT_EQ(only(LintCode::UnknownKey, "bind mouse4 +attack\nbind 0x41 x\n", "Q3"), List{});
    EXPECT_EQ(only(LintCode::UnknownKey, "bind 0x41 x\nbind é x\n", "Q2"), (List{"1:6 0x41", "2:6 é"}));
    EXPECT_NE(messageOf("bind mouse9 x\n", LintCode::UnknownKey).find("did you mean mouse1"), std::string::npos);
    EXPECT_EQ(messageOf("bind \"\" \"vstr next\"\n", LintCode::UnknownKey), "the key name is empty");
}

TEST(Lint, DuplicateBindNamesTheEarlierLine)
{
    EXPECT_EQ(only(LintCode::DuplicateBind, "bind x +attack\nbind X \"+ATTACK\"\nbind x say  hi\n"
                                            "bind x \"say hi\"\nbind x\n"),
              (List{"3:6 x"}));
    EXPECT_EQ(messageOf("bind F1 a\n\nbind f1 \"b c\"\n", LintCode::DuplicateBind),
              "\"f1\" is bound again: line 1 bound it to \"a\"");
    // Unbinding in between, and binds in bodies (toggles rebind on purpose).
    EXPECT_EQ(only(LintCode::DuplicateBind, "bind x a\nunbind x\nbind x b\nunbindall\nbind x c\n"
                                            "alias t \"bind x d\"\nbind y a; alias u \"bind y e\"\n"),
              List{});
}

TEST(Lint, ExecMissingAndCyclesThroughTheChain)
{
    MemoryScriptFiles files;
    const std::string a = "exec b\nexec nothere\nexec a.cfg\nalias x \"exec gone; exec b\"\nexec\n";
    files.add("cfg/a.cfg", a);
    files.add("cfg/b.cfg", "exec c\nexec missing.cfg\n");
    files.add("cfg/c.cfg", "exec b.cfg\nexec b.cfg\n");
    const std::vector<LintFinding> f = LintScript(vocabulary("Q2"), "cfg/a.cfg", a, &files).findings;
    EXPECT_EQ(brief(f), (List{"1:6 exec-cycle b", "2:6 exec-missing nothere", "3:6 exec-cycle a.cfg",
                              "4:15 exec-missing gone"}));
    EXPECT_EQ(f[0].message, "\"b\" leads to cfg/c.cfg, whose exec \"b.cfg\" runs a script that is already running");
    EXPECT_EQ(f[1].message, "no script \"nothere\" or \"nothere.cfg\" found");
    // Without files nothing is followed.
    EXPECT_EQ(lint(a), List{});
}

TEST(Lint, AliasLoopsWithoutWaitOrRedefinition)
{
    EXPECT_EQ(only(LintCode::AliasLoop, "alias a \"echo; b\"\nalias b a\nalias self self\n"),
              (List{"1:7 a", "2:7 b", "3:7 self"}));
    EXPECT_EQ(messageOf("alias a \"echo; b\"\nalias b a\n", LintCode::AliasLoop),
              "alias \"a\" runs itself again (a -> b -> a) with no wait and no alias or set on the way: the game hangs");
    // A wait loop, toggles that redefine themselves, a loop broken by a set.
    EXPECT_EQ(only(LintCode::AliasLoop, "alias spin \"+left; wait; spin\"\n"
                                        "alias zoom \"fov 30; alias zoom unzoom\"\nalias unzoom \"fov 90; alias zoom zoom2; zoom\"\n"
                                        "alias again \"alias again echo; again\"\n"
                                        "alias p q; alias q \"set x 1; p\"\n",
                   "Q1"),
              List{});
    // A toggle's inner definition can loop too.
    EXPECT_EQ(only(LintCode::AliasLoop, "alias t \"echo; alias u u2\"\nalias u2 \"u\"\n"), (List{"1:22 u", "2:7 u2"}));
    EXPECT_EQ(only(LintCode::AliasLoop, "bind k \"alias u v\"\nalias v u\n"), (List{"1:15 u", "2:7 v"}));
}

TEST(Lint, VstrLoopsInQuake3)
{
    EXPECT_EQ(only(LintCode::AliasLoop, "set a \"echo; vstr b\"\nseta b \"vstr a\"\nset c \"vstr c; set d 1\"\n"
                                        "set e \"vstr f\"; set f \"wait; vstr e\"\n",
                   "Q3"),
              (List{"1:5 a", "2:6 b"}));
    EXPECT_NE(messageOf("set a \"vstr a\"\n", LintCode::AliasLoop, "Q3").find("variable \"a\""), std::string::npos);
    // Aliases are no loops in Quake III, nor vstr in the others.
    EXPECT_EQ(only(LintCode::AliasLoop, "alias a a\n", "Q3"), List{});
    EXPECT_EQ(only(LintCode::AliasLoop, "set a \"vstr a\"\n", "Q2"), List{});
}

TEST(Lint, LoopsAcrossScriptsAreShownWhereTheyAreDefined)
{
    MemoryScriptFiles files;
    const std::string a = "alias a b\nexec other\n";
    files.add("a.cfg", a);
    files.add("other.cfg", "alias b a\n");
    EXPECT_EQ(brief(LintScript(vocabulary("Q2"), "a.cfg", a, &files).findings), (List{"1:7 alias-loop a"}));
}

TEST(Lint, UnknownNamesWithTheirNearestKnownNames)
{
    EXPECT_EQ(only(LintCode::UnknownName, "+atack\n-attack\nalias +zoom \"fov 30\"\n-zoom; +zoom\n-foo\n"
                                          "bind x \"+atack; wait\"\nbind y say hi\nbind z sya hi\necho $name; $cmd\n"),
              (List{"1:1 +atack", "5:1 -foo", "6:9 +atack", "8:8 sya"}));
    EXPECT_EQ(messageOf("+atack\n", LintCode::UnknownName),
              "unknown command or variable \"+atack\" (did you mean +attack?)");
    EXPECT_EQ(messageOf("snesitivity 3\n", LintCode::UnknownName),
              "unknown command or variable \"snesitivity\" (did you mean sensitivity?)");
    // Names defined further down, in bodies, by set, and in Quake III the
    // values a vstr runs (those only).
    EXPECT_EQ(only(LintCode::UnknownName, "later\nalias later echo\nbind x \"alias inner echo\"; inner\n"
                                          "set myvar 1; myvar\n"),
              List{});
    EXPECT_EQ(only(LintCode::UnknownName, "set s1 \"sya hi; vstr s2\"\nset s2 \"echo\"\nbind x vstr s1\n"
                                          "set name \"blah blah\"\n",
                   "Q3"),
              (List{"1:9 sya"}));
}

TEST(Lint, NamesOfTheExecChainAndTheUsersOwn)
{
    MemoryScriptFiles files;
    const std::string a = "exec aliases\nmyzoom\nmodcvar 1\n";
    files.add("a.cfg", a);
    files.add("aliases.cfg", "alias myzoom \"fov 30\"\n");
    EXPECT_EQ(brief(LintScript(vocabulary("Q2"), "a.cfg", a, &files).findings), (List{"3:1 unknown-name modcvar"}));

    LintVocabulary mine = vocabulary("Q2");
    mine.setUserNames(ParseUserNames("  ModCvar \r\n\n+hook\n"));
    EXPECT_EQ(brief(LintScript(mine, "a.cfg", a, &files).findings), List{});
    EXPECT_EQ(brief(LintScript(mine, "a.cfg", "-hook\n", nullptr).findings), List{});
    EXPECT_EQ(mine.userNames(), (std::vector<std::string>{"+hook", "modcvar"}));

    ScriptNames elsewhere;
    elsewhere.defined.insert("modcvar");
    elsewhere.defined.insert("+grab");
    EXPECT_TRUE(IsKnownName("MODCVAR", vocabulary("Q2"), elsewhere));
    EXPECT_TRUE(IsKnownName("-grab", vocabulary("Q2"), elsewhere));
    EXPECT_TRUE(IsKnownName("-Attack", vocabulary("Q2"), elsewhere));
    EXPECT_FALSE(IsKnownName("grab", vocabulary("Q2"), elsewhere));
    EXPECT_FALSE(IsKnownName("-", vocabulary("Q2"), elsewhere));
    EXPECT_EQ(brief(LintScript(vocabulary("Q2"), "a.cfg", "modcvar 2\n", nullptr, &elsewhere).findings), List{});
}

TEST(Lint, UserNamesListKeepsItsLineEnds)
{
    EXPECT_EQ(ParseUserNames("a\r\n  b c \n\n\td\re"), (std::vector<std::string>{"a", "b c", "d", "e"}));
    EXPECT_EQ(WithUserName("", "hook"), "hook\n");
    EXPECT_EQ(WithUserName("a\r\nb", "hook"), "a\r\nb\r\nhook\r\n");
    EXPECT_EQ(WithUserName("a\rb\r", "hook"), "a\rb\rhook\r");
    EXPECT_EQ(WithUserName("Hook\n", "hook"), "Hook\n");
}

TEST(Lint, NearestNamesCountASwapAsOneEdit)
{
    const std::vector<std::string> names{"attack", "fov", "sensitivity", "stack", "zoom"};
    EXPECT_EQ(NearestNames("atatck", {&names}), (std::vector<std::string>{"attack"}));
    EXPECT_EQ(NearestNames("fvo", {&names}), (std::vector<std::string>{"fov"}));
    EXPECT_EQ(NearestNames("xyz", {&names}), std::vector<std::string>{});
    EXPECT_EQ(NearestNames("fo", {&names}), std::vector<std::string>{});
    EXPECT_EQ(NearestNames("zoomm", {&names}), (std::vector<std::string>{"zoom"}));
    EXPECT_EQ(NearestNames("zomm", {&names}), (std::vector<std::string>{"zoom"}));
    EXPECT_EQ(NearestNames("zxxm", {&names}), std::vector<std::string>{});
    EXPECT_EQ(NearestNames("ATACK", {&names}), (std::vector<std::string>{"attack", "stack"}));
}

TEST(Lint, LineChecksAgreeWithTheWholePass)
{
    const std::string text = "alias +zoom \"fov 30\"\r\nbind mouse9 \"+zoom\"; +atack\r-zoom\nsay \"open\n\nbind x y\n";
    const LintReport whole = LintScript(vocabulary("Q2"), "a.cfg", text, nullptr);
    std::vector<LintFinding> local;
    const std::array<std::size_t, 6> lineStarts{0, 22, 50, 56, 66, 67};
    for (std::size_t i = 0; i < lineStarts.size(); ++i) {
        const std::vector<LintFinding> line =
            LintLine(vocabulary("Q2"), whole.names, text, lineStarts[i], static_cast<int>(i));
        local.insert(local.end(), line.begin(), line.end());
    }
    std::vector<LintFinding> expected;
    for (const LintFinding &f : whole.findings)
        if (IsLineLocal(f.code))
            expected.push_back(f);
    EXPECT_EQ(brief(local), brief(expected));
    EXPECT_EQ(brief(local), (List{"2:6 unknown-key mouse9", "2:22 unknown-name +atack", "4:5 unclosed-quote ",
                                  "6:8 unknown-name y"}));
    for (std::size_t i = 0; i < local.size(); ++i)
        EXPECT_EQ(local[i].position, expected[i].position);
}

TEST(Lint, SuggestionsLeaveOutTheNamesOfAScriptThatDefinesTooMany)
{
    std::string few = "alias myalias1 echo\nmyalias\n";
    EXPECT_NE(messageOf(few, LintCode::UnknownName).find("did you mean myalias1?"), std::string::npos);
    std::string many;
    for (int i = 0; i <= 10000; ++i)
        many += "alias myalias" + std::to_string(i) + " echo\n";
    many += "myalias\n";
    EXPECT_EQ(messageOf(many, LintCode::UnknownName), "unknown command or variable \"myalias\" (did you mean alias?)");
}
