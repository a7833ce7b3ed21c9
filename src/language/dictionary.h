#pragma once
// The vocabulary of one game ("command set"): the keyword dictionary that the
// colouring and the binding scan consult, the key-name table that ties key
// names to the slots of the device panel, the game's other key names (keys
// the panel has no place for), and the lists that the insertion tools show.
// All of it is read from the set's data files by BuildDictionary.

#include "app/errors.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace varkel {

// How a word of a script is coloured. The dictionary holds only the classes
// Command to KeyName; the others are given by the highlighter.
enum KeywordClass : int {
    PlainText = 1,
    Command = 2,
    Cvar = 3,
    Item = 4,
    KeyName = 5,
    Comment = 6,
    Number = 7,
    String = 8,
};

// Number of device slots: 0..100 keyboard, 101..105 mouse, 106..109 joystick.
inline constexpr int kDeviceSlotCount = 110;

// One entry of the item picker.
struct ItemEntry {
    std::string text;     // the ItemList.dat line exactly as read
    int picture = 0;      // image number in the set's item image list (2, 3, ...)
    bool heading = false; // "Q2 Items" style entries: from the fourth character on "Items"
};

// How far the last BuildDictionary got. A failed build stops after the step
// named here; the caller applies only the parts of the window that belong to
// the steps that completed.
enum class BuildStep : int {
    NotStarted = 0,
    Cleared,      // set made current, everything emptied
    Commands,     // cmdlst.dat read
    Items,        // items.dat read (nothing to read for Q1); the item picture list is chosen
    ItemList,     // ItemList.dat read; the picker caption "<set> Items" applies
    KeyNames,     // keynames.dat read
    KeySymbols,   // "=" and "~" added
    Complete,     // cvrlst.dat read: the whole build succeeded
};

class GameDictionary
{
public:
    GameDictionary();

    // Keyword class 2..5 of a word, 0 when the dictionary does not hold it.
    // Case-insensitive (Latin-1); never allocates.
    int Lookup(std::string_view word) const;
    // The classic form: lower-cases the caller's word in place and, when the
    // dictionary holds it, sets keywordClass and returns true; otherwise
    // keywordClass is left unchanged.
    bool Lookup(std::string &word, int &keywordClass) const;

    // Device slot 0..109 of a key name, -1 when absent or when the key has
    // no place on the panel; case-insensitive.
    int KeyIndex(std::string_view keyName) const;
    // The number of any key of the game: its device slot 0..109, or
    // kDeviceSlotCount + its place in ExtraKeyNames() for a key the panel
    // does not show; -1 when the game has no such key. Case-insensitive.
    int KeyNumber(std::string_view keyName) const;
    // The lower-case name of a key number; empty when there is none.
    std::string_view KeyNameOf(int keyNumber) const;

    // One lower-case key name per device slot; empty for slots without a name.
    const std::array<std::string, kDeviceSlotCount> &KeyNames() const { return m_keyNames; }
    // The game's key names that no device slot holds, lower case, in the
    // order of extrakeys.dat.
    const std::vector<std::string> &ExtraKeyNames() const { return m_extraKeyNames; }

    // The insertion-tool lists, in file order.
    const std::vector<std::string> &Commands() const { return m_commands; }     // lower case
    const std::vector<std::string> &Cvars() const { return m_cvars; }           // lower case
    const std::vector<std::string> &KeyNameList() const { return m_keyNameList; } // upper case, no empty slots
    const std::vector<ItemEntry> &Items() const { return m_items; }

    // The current command set ("Q1", "Q2", "Q3", or whatever string was built).
    const std::string &Set() const { return m_set; }
    // The set's second character read as a digit; 0 when it is not one.
    int setNumber() const;
    // Sets whose row 0 lists vstr variables rather than aliases.
    bool usesVstr() const { return m_set == "Q3"; }

    BuildStep completedStep() const { return m_step; }
    std::size_t keywordCount() const { return m_keywords.size(); }

    // Empties the keyword and key-index dictionaries, the key-name table and
    // all lists. The current set is kept.
    void Clear();

private:
    friend Error BuildDictionary(GameDictionary &dict, const std::string &dataDir, std::string_view set);

    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
    };
    using WordMap = std::unordered_map<std::string, int, Hash, std::equal_to<>>;

    // Value of an already lower-cased word, -1 when absent.
    static int find(const WordMap &map, std::string_view lowerWord);
    static int findAnyCase(const WordMap &map, std::size_t maxLength, std::string_view word);

    WordMap m_keywords;
    WordMap m_keyIndex;
    std::size_t m_maxKeywordLength = 0;
    std::size_t m_maxKeyNameLength = 0;
    std::array<std::string, kDeviceSlotCount> m_keyNames;
    std::vector<std::string> m_extraKeyNames;
    std::vector<std::string> m_commands;
    std::vector<std::string> m_cvars;
    std::vector<std::string> m_keyNameList;
    std::vector<ItemEntry> m_items;
    std::string m_set;
    BuildStep m_step = BuildStep::NotStarted;
};

// Rebuilds dict from the data files of set ("Q1".."Q3") in the folder dataDir
// (files "<dataDir>/<set>cmdlst.dat" and so on). Returns Error{} on success.
// The game's other key names come from "<set>extrakeys.dat", read with the
// key names; a data folder without that file builds as before, knowing only
// the keys of the panel.
// A failure (a file that cannot be read, a word added twice, a 111th key name)
// stops the build where it happened: what was added before stays, later files
// are not read, and dict.completedStep() tells how far it got. The set becomes
// current in any case; the caller stores it as QVersion only on success.
Error BuildDictionary(GameDictionary &dict, const std::string &dataDir, std::string_view set);

// Latin-1 case mapping used for every keyword comparison.
char lowerLatin1(char c);
char upperLatin1(char c);
std::string toLowerLatin1(std::string_view text);
std::string toUpperLatin1(std::string_view text);

// The text the item tool inserts for an entry: "IMPULSE <first character>"
// for Q1, "weapon <first two characters, trimmed>" for Q3, the entry itself
// for Q2 (and any other set). Empty for a heading.
std::string itemInsertText(std::string_view set, const ItemEntry &entry);

} // namespace varkel
