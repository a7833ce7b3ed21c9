#pragma once
// The settings file "Varkel.ini": where it lives, every key with its default,
// and the reading and writing of the frame's placement. Every other setting is
// written by the operation that changes it, one key at a time, through
// WriteProfileString.

#include "app/errors.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace varkel {

constexpr std::string_view kIniFileName = "Varkel.ini";
constexpr std::string_view kSectionGeneral = "General";
constexpr std::string_view kSectionFont = "Font";
constexpr std::string_view kSectionUserTools = "User Tools";
constexpr std::string_view kSectionRecentFiles = "RecentFiles";

// Default frame width in twips.
constexpr int kDefaultFrameWidth = 12495;

// Token colours (Windows colour values 0x00BBGGRR, red in the low byte) by
// keyword class: index 0 Plain Text, then Commands, Cvars, Items, Keynames,
// Comments, Numbers, Strings. Stored as SyntaxColor0..SyntaxColor7.
constexpr std::array<unsigned, 8> kDefaultSyntaxColors{0, 16711680, 12582912, 8388736,
                                                        12583104, 32768, 255, 128};

// Most user tools read from the file (the count is a 16-bit number).
constexpr int kMaxUserTools = 32767;

// Largest comment-block width the options dialog takes (its box holds two digits).
constexpr int kMaxCommentSize = 99;
// Editor font sizes in points the font dialog offers.
constexpr int kMinFontSize = 1;
constexpr int kMaxFontSize = 512;
// Largest colour value (0x00BBGGRR): white.
constexpr unsigned kMaxColorValue = 0xFFFFFF;

// Where the settings file lives: $VARKEL_INI when set and non-empty; else
// appDir + "/Varkel.ini" when that file can be written and belongs to this
// copy (an existing file that is writable: a portable copy; or a new file in
// a writable appDir that is a build folder, holding CMakeCache.txt); else
// $XDG_CONFIG_HOME/Varkel/Varkel.ini ($XDG_CONFIG_HOME defaulting to
// $HOME/.config), creating that folder.
std::string ResolveIniPath(const std::string &appDir);

// Whether the settings file can be used: an error (detail: the path) when
// something other than a regular file stands at iniPath (a folder, a FIFO, a
// device). Such a file is never opened: every setting keeps its default and
// nothing is written there. A missing file is fine; the first write makes it.
Error CheckIniPath(const std::string &iniPath);

// Every setting read at start-up, with its default.
struct Settings {
    // [General]
    std::string QVersion = "Q2";
    int AutoSyntaxType = 2;
    bool AutoRefresh = true; // as stored; see ReadSettings
    int ConflictType = 2;
    bool ShowKeyboard = true;
    // The bindings table: shown or not, and the side of the frame it is
    // docked on (1 left, 2 right, 4 top, 8 bottom).
    bool ShowBindingsTable = false;
    int BindingsTableArea = 2;
    bool CommentAutoSize = true;
    std::string CommentChar = "*";
    int CommentSize = 20;
    bool CommentAlignment = true;
    bool CommentUCase = true;
    bool ShowTipOday = true;
    // Each script gets the command set its words point to ([General] DetectGame).
    bool DetectGame = true;
    bool ShowLineNumbers = true;
    // Scripts checked while typing, completions offered ([General]
    // CheckScripts, OfferCompletions); the Problems list shown and its side
    // (ShowProblems, ProblemsArea: 1 left, 2 right, 4 top, 8 bottom).
    bool CheckScripts = true;
    bool OfferCompletions = true;
    bool ShowProblems = false;
    int ProblemsArea = 8;
    // [Font]
    std::string FontName = "Courier New";
    int FontSize = 10;
    bool FontBold = false;
    bool FontItalic = false;
    unsigned BGColor = 16777215;
    std::array<unsigned, 8> SyntaxColors = kDefaultSyntaxColors;
    bool ColorStringElements = false;
    // [User Tools]: index 0 is tool 1; both lists have NumUserTools entries.
    std::vector<std::string> ToolNames, ToolPaths;
};

// Reads every key except the frame placement. AutoRefresh is returned as
// stored (true only for exactly "True"): the frame keeps it inverted and lets
// ToggleAutoRefresh flip it back and rewrite it.
//
// Numbers of a hand-edited file are kept to what the program itself writes:
// CommentSize to 0..kMaxCommentSize, NumUserTools to 0..kMaxUserTools, a
// font size above kMaxFontSize to that size; a font size below kMinFontSize,
// a colour outside 0..kMaxColorValue and an AutoSyntaxType or ConflictType
// other than 0, 1 or 2 read as their defaults.
//
// While the file holds none of the colours (BGColor, SyntaxColor0..7), the
// editor starts with the light preset, or with the dark one when darkSystem
// (the desktop's palette is dark). Once one colour is stored, every colour the
// file lacks is the light preset's, as it always was.
Settings ReadSettings(const std::string &iniPath, bool darkSystem = false);

// A Boolean setting: exactly "True" is true, any other text (also "true") false.
bool ProfileBool(const std::string &text);
// "True" / "False".
const char *BoolText(bool b);
// Nearest integer, halves to the even neighbour.
int RoundHalfEven(double v);

// The frame's placement in twips.
struct FrameGeometry {
    int windowState = 0; // 0 normal, 1 minimised, 2 maximised
    bool applyRect = true;
    // With applyRect false (maximised) these hold the default placement, which
    // the caller may use as the frame's normal geometry.
    int left = 0, top = 0, width = kDefaultFrameWidth, height = 0;
};

// The stored placement for a screen of the given size: the default (12495 wide,
// 80 % of the screen high, centred), WindowState (values other than 0, 1, 2 read
// as 0), then Left, Top, Width and Height clamped to the screen. A maximised
// frame's stored rectangle is not read. A stored width or height of 0 or less
// gives the default one.
FrameGeometry ReadFrameGeometry(const std::string &iniPath, int screenWidthTwips, int screenHeightTwips);

// Writes the placement on shutdown: minimised (1) writes nothing, maximised (2)
// only WindowState, normal writes WindowState, Left, Top, Width and Height.
void WriteFrameGeometry(const std::string &iniPath, int windowState, int left, int top, int width,
                        int height);

} // namespace varkel
