#pragma once
// A small game vocabulary for the binding tests, written to a temporary data
// folder and read with BuildDictionary, so the tests do not depend on the
// shipped data files.

#include "bindings/keystate.h"
#include "language/dictionary.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace varkel::test {

// Key names in device-slot order; "void" for the slots the panel cannot bind.
inline const std::array<const char *, 110> kTestKeyNames = {
    "escape", "f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8", "f9", "f10", "f11", "f12",   // 0-12
    "`", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "-", "+", "backspace",          // 13-26
    "tab", "q", "w", "e", "r", "t", "y", "u", "i", "o", "p", "[", "]",                     // 27-39
    "void", "a", "s", "d", "f", "g", "h", "j", "k", "l", "semicolon", "'", "enter",        // 40-52
    "shift", "z", "x", "c", "v", "b", "n", "m", ",", ".", "/", "void", "\\",               // 53-65
    "ctrl", "alt", "space", "void", "void", "void", "void", "pause",                       // 66-73
    "ins", "home", "pgup", "del", "end", "pgdn",                                           // 74-79
    "uparrow", "leftarrow", "downarrow", "rightarrow", "void",                             // 80-84
    "kp_slash", "kp_multiply", "kp_minus", "kp_home", "kp_uparrow", "kp_pgup",             // 85-90
    "kp_leftarrow", "kp_5", "kp_rightarrow", "kp_end", "kp_downarrow", "kp_pgdn",          // 91-96
    "kp_ins", "kp_del", "kp_plus", "kp_enter",                                             // 97-100
    "mouse1", "mouse2", "mouse3", "mwheelup", "mwheeldown",                                // 101-105
    "joy1", "joy2", "joy3", "joy4",                                                        // 106-109
};

inline void writeDataFile(const std::filesystem::path &path, const std::vector<std::string> &lines)
{
    std::ofstream out(path, std::ios::binary);
    for (const std::string &line : lines)
        out << line << "\r\n";
}

// The data files of Q1, Q2 and Q3 in a temporary folder (removed at exit),
// and the dictionary of each set built from them.
class TestData
{
public:
    TestData()
    {
        namespace fs = std::filesystem;
        m_dir = fs::temp_directory_path() / ("varkel-bindings-data-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        const std::vector<std::string> keyNames(kTestKeyNames.begin(), kTestKeyNames.end());
        const std::array<std::string, 3> sets{"Q1", "Q2", "Q3"};
        for (std::size_t i = 0; i < sets.size(); ++i) {
            const std::string &s = sets[i];
            std::vector<std::string> commands{"bind", "unbind", "alias", "exec", "echo", "say", "say_team",
                                              "+attack", "+forward", "+back", "impulse", "weapon"};
            std::vector<std::string> cvars{"sensitivity", "name", "fov"};
            if (s == "Q3") {
                commands.insert(commands.end(), {"set", "seta", "vstr"});
                cvars.insert(cvars.end(), {"cg_fov", "cl_run"});
            }
            writeDataFile(m_dir / (s + "cmdlst.dat"), commands);
            writeDataFile(m_dir / (s + "cvrlst.dat"), cvars);
            writeDataFile(m_dir / (s + "items.dat"), {"railgun", "shotgun"});
            writeDataFile(m_dir / (s + "ItemList.dat"), {s + " Items", "1 Axe"});
            writeDataFile(m_dir / (s + "keynames.dat"), keyNames);
            if (BuildDictionary(m_dicts[i], m_dir.string(), s))
                std::abort();
        }
    }
    ~TestData()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    TestData(const TestData &) = delete;
    TestData &operator=(const TestData &) = delete;

    std::string dir() const { return m_dir.string(); }
    const GameDictionary &dictionary(std::string_view set) const
    {
        return m_dicts[set == "Q1" ? 0 : set == "Q3" ? 2 : 1];
    }

private:
    std::filesystem::path m_dir;
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
