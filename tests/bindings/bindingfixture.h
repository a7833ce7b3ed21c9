#pragma once
// A small game vocabulary for the binding tests, written to a temporary data
// folder and read with BuildDictionary, so the tests do not depend on the
// shipped data files.

#include "app/tempdir.h"
#include "bindings/keystate.h"
#include "language/dictionary.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace varkel::test {

// Key names in device-slot order, one line each; "void" for the slots the
// panel cannot bind.
inline const char *const kTestKeyNames =
    "escape\nf1\nf2\nf3\nf4\nf5\nf6\nf7\nf8\nf9\nf10\nf11\nf12\n"                 // 0-12
    "`\n1\n2\n3\n4\n5\n6\n7\n8\n9\n0\n-\n+\nbackspace\n"                           // 13-26
    "tab\nq\nw\ne\nr\nt\ny\nu\ni\no\np\n[\n]\n"                                   // 27-39
    "void\na\ns\nd\nf\ng\nh\nj\nk\nl\nsemicolon\n'\nenter\n"                      // 40-52
    "shift\nz\nx\nc\nv\nb\nn\nm\n,\n.\n/\nvoid\n\\\n"                             // 53-65
    "ctrl\nalt\nspace\nvoid\nvoid\nvoid\nvoid\npause\n"                           // 66-73
    "ins\nhome\npgup\ndel\nend\npgdn\nuparrow\nleftarrow\ndownarrow\nrightarrow\nvoid\n" // 74-84
    "kp_slash\nkp_multiply\nkp_minus\nkp_home\nkp_uparrow\nkp_pgup\nkp_leftarrow\nkp_5\n" // 85-92
    "kp_rightarrow\nkp_end\nkp_downarrow\nkp_pgdn\nkp_ins\nkp_del\nkp_plus\nkp_enter\n" // 93-100
    "mouse1\nmouse2\nmouse3\nmwheelup\nmwheeldown\njoy1\njoy2\njoy3\njoy4\n";       // 101-109

// Each set's keys without a place on the panel, numbered 110 on.
inline const char *const kTestExtraKeyNames[3] = {
    "aux1\naux2\n",
    "aux1\n",
    "capslock\nmouse4\nmouse5\naux1\n",
};

// The data files of Q1, Q2 and Q3 in a temporary folder, and the dictionary
// of each set built from them.
class TestData
{
public:
    TestData()
    {
        for (std::size_t i = 0; i < 3; ++i) {
            const std::string set = "Q" + std::to_string(i + 1);
            std::string commands = "bind\nunbind\nalias\nexec\necho\nsay\nsay_team\n+attack\n+forward\n+back\nimpulse\nweapon\n";
            std::string cvars = "sensitivity\nname\nfov\n";
            if (set == "Q3") {
                commands += "set\nseta\nvstr\n";
                cvars += "cg_fov\ncl_run\n";
            }
            writeAll(m_dir.file(set + "cmdlst.dat"), commands);
            writeAll(m_dir.file(set + "cvrlst.dat"), cvars);
            writeAll(m_dir.file(set + "items.dat"), "railgun\nshotgun\n");
            writeAll(m_dir.file(set + "ItemList.dat"), set + " Items\n1 Axe\n");
            writeAll(m_dir.file(set + "keynames.dat"), kTestKeyNames);
            writeAll(m_dir.file(set + "extrakeys.dat"), kTestExtraKeyNames[i]);
            if (BuildDictionary(m_dicts[i], m_dir.path(), set))
                std::abort();
        }
    }

    std::string dir() const { return m_dir.path(); }
    const GameDictionary &dictionary(std::string_view set) const
    {
        return m_dicts[set == "Q1" ? 0 : set == "Q3" ? 2 : 1];
    }

private:
    TempDir m_dir;
    std::array<GameDictionary, 3> m_dicts;
};

inline const TestData &testData()
{
    static const TestData data;
    return data;
}

inline const GameDictionary &testDictionary(std::string_view set)
{
    return testData().dictionary(set);
}

// Records every state a scan reports, in order.
class RecordingSink : public KeyStateSink
{
public:
    struct Call {
        int slot;
        KeyState state;
    };
    void showKeyState(int slot, KeyState state) override { calls.push_back({slot, state}); }
    std::vector<Call> calls;
};

} // namespace varkel::test
