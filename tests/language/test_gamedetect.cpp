#include "language/gamedetect.h"

#include "app/tempdir.h"
#include "language/dictionary.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>

using namespace varkel;
using varkel::test::TempDir;
using varkel::test::writeAll;
namespace fs = std::filesystem;

namespace {

// Three small vocabularies in which each telling word lives where it does in
// the games: impulse in Q1 and Q2, set in Q2 and Q3, seta and vstr in Q3
// only, and a few words of each game's own.
class Detect : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new TempDir;
        auto write = [](const std::string &set, const std::string &commands, const std::string &cvars) {
            writeAll(s_dir->file(set + "cmdlst.dat"), "bind\r\nexec\r\necho\r\nsay\r\n+attack\r\n+mlook\r\n" + commands);
            writeAll(s_dir->file(set + "cvrlst.dat"), "sensitivity\r\nfov\r\n" + cvars);
            writeAll(s_dir->file(set + "items.dat"), "");
            writeAll(s_dir->file(set + "ItemList.dat"), set + " Items\r\n");
            writeAll(s_dir->file(set + "keynames.dat"), "mouse1\r\n");
        };
        write("Q1", "alias\r\nimpulse\r\n+jump\r\n", "cl_sbar\r\nnoaim\r\n");
        write("Q2", "alias\r\nimpulse\r\nset\r\nuse\r\n", "hand\r\nfreelook\r\ncl_run\r\n");
        write("Q3", "set\r\nseta\r\nvstr\r\nweapon\r\n+zoom\r\n", "cl_run\r\ncg_fov\r\ncom_maxfps\r\n");
        s_detector = new GameDetector;
        ASSERT_FALSE(BuildGameDetector(*s_detector, s_dir->path()));
    }
    static void TearDownTestSuite()
    {
        delete s_detector;
        delete s_dir;
    }

    static GameDetection detect(std::string_view text, std::string_view defaultSet = "Q2")
    {
        return s_detector->Detect(text, defaultSet);
    }
    static const DetectionClue *clue(const GameDetection &d, std::string_view what)
    {
        for (const DetectionClue &c : d.clues)
            if (c.what == what)
                return &c;
        return nullptr;
    }

    static TempDir *s_dir;
    static GameDetector *s_detector;
};

TempDir *Detect::s_dir = nullptr;
GameDetector *Detect::s_detector = nullptr;

using Scores = std::array<int, kGameSetCount>;

} // namespace

TEST_F(Detect, EachSignPointsToItsGame)
{
    struct Case {
        const char *script;
        const char *set;
        Scores scores;
    };
    const Case cases[] = {
        // Quake III: vstr (8 a use), seta (4), cg_ variables known or not
        // (4 a word and use), ^ colour codes (4 a code).
        {"bind f \"vstr zoomin\"\nset zoomin \"vstr zoomout\"\n", "Q3", {0, 1, 17}},
        {"seta name Ranger\nseta rate 25000\n", "Q3", {0, 0, 8}},
        {"set cg_fov 110\nset cg_mymodvar 1\n", "Q3", {0, 2, 10}},
        {"echo ^1Ready^7\n", "Q3", {0, 0, 8}},
        // Quake: impulse anywhere a command stands, +mlook as a statement.
        {"bind 1 impulse 1\n", "Q1", {8, 0, 0}},
        {"alias rl \"impulse 7; +attack\"\n", "Q1", {14, 6, 0}},
        {"+mlook\n", "Q1", {8, 0, 0}},
        {"bind x \"+jump\"; +mlook\n", "Q1", {12, 0, 0}},
        // Quake II: its own commands and variables.
        {"hand 2\nbind q \"use Railgun\"\n", "Q2", {0, 8, 0}},
        {"set freelook 1\nset cl_run 1\n", "Q2", {0, 7, 3}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script);
        const GameDetection d = detect(c.script, "Q1");
        EXPECT_EQ(d.scores, c.scores);
        EXPECT_EQ(d.set, c.set);
        EXPECT_FALSE(d.weak);
    }
}

TEST_F(Detect, WordsOutsideCommandPlacesTellNothing)
{
    // Comments, say and echo text, values and key names are not commands;
    // +mlook bound to a key is every game's default, not a habit.
    for (const char *script : {"// seta vstr impulse cg_fov\n", "say use the vstr, hand it over\n",
                               "echo impulse 7 seta\n", "name \"vstr seta\"\n", "bind \\ +mlook\n",
                               "bind impulse \"+attack\"\n", "fov 90; sensitivity 3\n", ""}) {
        SCOPED_TRACE(script);
        const GameDetection d = detect(script, "Q3");
        EXPECT_EQ(d.scores, (Scores{0, 0, 0}));
        EXPECT_TRUE(d.weak);
        EXPECT_EQ(d.set, "Q3");
    }
    // Names the script defines itself are its own, not the game's.
    EXPECT_EQ(detect("alias +zoom \"fov 30\"\nbind z +zoom\n").scores, (Scores{6, 6, 0}));
    EXPECT_EQ(detect("bind z +zoom\n").scores, (Scores{0, 0, 4}));
    // Commands are compared without regard to case.
    EXPECT_EQ(detect("SETA x 1\nVstr x\nIMPULSE 3\n").scores, (Scores{8, 0, 12}));
}

TEST_F(Detect, MixedEvidenceAndWeakEvidence)
{
    // A Quake II script from an engine that writes seta: its own variables
    // and alias outweigh seta.
    const GameDetection q2 = detect("seta freelook 1\nseta hand 2\nseta fov 100\nalias +rj \"+attack\"\n", "Q3");
    EXPECT_EQ(q2.scores, (Scores{6, 14, 12}));
    EXPECT_EQ(q2.set, "Q3") << "a lead of 2 is weak";
    const GameDetection q2b = detect("seta freelook 1\nseta hand 2\nhand 2\nalias +rj \"+attack\"\nuse Railgun\n", "Q3");
    EXPECT_EQ(q2b.set, "Q2");
    EXPECT_FALSE(q2b.weak);

    // A QuakeWorld client script that borrowed weapon from Quake III: alias
    // and impulse keep it from Quake III.
    const GameDetection qw = detect("alias +rl \"weapon 7; +attack\"\nalias +gl \"impulse 6; +attack\"\n");
    EXPECT_EQ(qw.set, "Q1");
    EXPECT_GT(qw.scores[0], qw.scores[2]);

    // Alias alone cannot tell Quake from Quake II: the default decides, and
    // it is taken as it is, even when the words speak against it.
    for (const char *def : {"Q1", "Q2", "Q3"}) {
        const GameDetection d = detect("alias a \"b\"\nalias b \"a\"\n", def);
        EXPECT_TRUE(d.weak);
        EXPECT_EQ(d.set, def);
    }
    // One own word is not enough; two are.
    EXPECT_TRUE(detect("hand 2\n", "Q1").weak);
    EXPECT_EQ(detect("hand 2\nfreelook 1\n", "Q1").set, "Q2");
    // A default that is no set of the three reads as Q2.
    EXPECT_EQ(detect("", "Q9").set, "Q2");
    EXPECT_EQ(detect("", "").set, "Q2");
}

TEST_F(Detect, UsesAreCappedSoOneLongListCannotOutweighTheRest)
{
    std::string script;
    for (int i = 0; i < 500; ++i)
        script += "seta name x\n";
    script += "hand 2\nfreelook 1\nuse Railgun\n";
    const GameDetection d = detect(script);
    EXPECT_EQ(d.scores, (Scores{0, 12, 12}));
    ASSERT_NE(clue(d, "seta"), nullptr);
    EXPECT_EQ(clue(d, "seta")->uses, 500);
    EXPECT_EQ(clue(d, "seta")->points, 12);
}

TEST_F(Detect, CluesNameTheirWordsAndWhereTheyStart)
{
    const std::string script = "// q3\r\nbind f \"vstr z\"\r\nseta cg_fov 90\r\nset cg_fov 100\r\nset com_maxfps 125\r\n"
                               "weapon 1\r\nset cg_drawgun 0\r\nset cg_x 1\r\nset cg_y 1\r\n";
    const GameDetection d = detect(script);
    EXPECT_EQ(d.set, "Q3");
    ASSERT_NE(clue(d, "vstr"), nullptr);
    EXPECT_EQ(clue(d, "vstr")->firstAt, script.find("vstr"));
    const DetectionClue *cg = clue(d, "cg_ variables");
    ASSERT_NE(cg, nullptr);
    EXPECT_EQ(cg->uses, 4);
    EXPECT_EQ(cg->points, 4 * (2 + 1 + 1 + 1));
    EXPECT_EQ(cg->firstAt, script.find("cg_fov"));
    EXPECT_EQ(cg->examples, (std::vector<std::string>{"cg_fov", "cg_drawgun", "cg_x"}));
    const DetectionClue *own = clue(d, "words only Q3 knows");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->examples, (std::vector<std::string>{"com_maxfps", "weapon"}));
    EXPECT_EQ(own->firstAt, script.find("com_maxfps"));
    EXPECT_EQ(own->sets, 4u);

    const std::string summary = d.Summary();
    EXPECT_EQ(summary.substr(0, summary.find(';')), "Q1 0, Q2 3, Q3 43");
    EXPECT_NE(summary.find("cg_ variables x4 (cg_fov cg_drawgun cg_x ...): +20 Q3"), std::string::npos) << summary;
    EXPECT_EQ(summary.find('\n'), std::string::npos);
    const std::string why = d.Explanation();
    EXPECT_EQ(why.substr(0, why.find('\n')), "Quake III Arena (Q3): chosen by the script's words.");
    EXPECT_NE(why.find("vstr, 1 time: +8 for Q3"), std::string::npos) << why;

    const GameDetection weak = detect("alias a b\n", "Q1");
    EXPECT_NE(weak.Summary().find("weak evidence, default set"), std::string::npos);
    EXPECT_NE(weak.Explanation().find("alias, 1 time: +6 for Q1 Q2"), std::string::npos) << weak.Explanation();
    EXPECT_EQ(weak.Explanation().substr(0, 17), "Quake (Q1): the d");
}

TEST_F(Detect, LinesAndQuotesOfAnyShape)
{
    // CR LF, a lone CR (which ends a statement, as in the games), tabs, a
    // quote left open, statements split by ";", a quoted command, a line
    // without a line end: nothing is lost and nothing is read twice.
    const GameDetection d = detect("bind\tf\t\"vstr a\r\nseta x 1;seta y 2\rvstr b\n\"vstr\" b;;; ;impulse");
    ASSERT_NE(clue(d, "vstr"), nullptr);
    EXPECT_EQ(clue(d, "vstr")->uses, 3);
    EXPECT_EQ(clue(d, "seta")->uses, 2);
    EXPECT_EQ(clue(d, "impulse")->uses, 1);
}

TEST_F(Detect, QuotedWordsWithBlanksAreNoCgVariables)
{
    // A quoted run may hold spaces, tabs and a lone carriage return: no
    // variable is named so, and the summary and the explanation keep their
    // lines.
    const GameDetection d = detect("set \"cg_x y\" 1\n\"cg_a\rb\" 2\nseta \"cg_t\tz\" 3\nset \"cg_fov\" 90\n");
    const DetectionClue *cg = clue(d, "cg_ variables");
    ASSERT_NE(cg, nullptr);
    EXPECT_EQ(cg->uses, 1);
    EXPECT_EQ(cg->examples, std::vector<std::string>{"cg_fov"});
    EXPECT_EQ(d.Summary().find_first_of("\r\n"), std::string::npos) << d.Summary();
    EXPECT_EQ(d.Explanation().find('\r'), std::string::npos) << d.Explanation();
}

TEST(DetectData, EmptyDetectorAndMissingData)
{
    GameDetector detector;
    EXPECT_TRUE(detector.empty());
    EXPECT_EQ(detector.Detect("seta a 1\nseta b 2\n", "Q1").set, "Q1");
    // The telling words are known even when the data files lack them.
    const GameDictionary none;
    detector.Learn(none, none, none);
    EXPECT_EQ(detector.Detect("seta a 1\nseta b 2\n", "Q1").set, "Q3");
    TempDir dir;
    EXPECT_TRUE(BuildGameDetector(detector, dir.file("nowhere")));
}

// ---------------------------------------------------------------------------
// The corpus of players' scripts, with the shipped data: each folder (q1, q2,
// q3) holds the scripts of one game. No file name is looked at.

TEST(DetectCorpus, ConfusionTable)
{
    if (test::CorpusScripts().empty())
        GTEST_SKIP() << "no corpus";
    GameDetector detector;
    ASSERT_FALSE(BuildGameDetector(detector, VARKEL_SOURCE_DIR "/Data"));

    // Right with the product's default Q2 for the weak ones.
    int files = 0, weakFiles = 0, decidedRight = 0, q1q3 = 0, rightWithQ2 = 0;
    for (int truth = 0; truth < 3; ++truth) {
        for (const fs::path &path : test::CorpusScripts("q" + std::to_string(truth + 1))) {
            const GameDetection d = detector.Detect(test::FileBytes(path), "Q2");
            const int got = d.weak ? 3 : d.set[1] - '1';
            ++files;
            weakFiles += d.weak;
            decidedRight += !d.weak && got == truth;
            rightWithQ2 += d.weak ? truth == 1 : got == truth;
            q1q3 += (truth == 0 && got == 2) || (truth == 2 && got == 0);
            if (!d.weak && got != truth)
                ADD_FAILURE() << path.filename() << " read as " << d.set << ": " << d.Summary();
        }
    }
    const int decided = files - weakFiles;
    EXPECT_GT(files, 100);
    EXPECT_EQ(q1q3, 0) << "no Quake script read as Quake III, nor the other way";
    EXPECT_GE(decidedRight * 100, decided * 95) << decidedRight << " of " << decided << " decisions right";
    EXPECT_LE(weakFiles * 100, files * 15) << weakFiles << " of " << files << " left to the default";
    EXPECT_GE(rightWithQ2 * 100, files * 85) << rightWithQ2 << " of " << files;
}
