#pragma once
// Process-wide flags and settings of Varkel, kept together in one place.
// Every value lives for the whole process; the frame fills them at start-up
// and the operation that changes a setting writes it to the settings file.

#include <array>
#include <string>
#include <vector>

namespace varkel::mGlobal {

// Settings file path, resolved once at start-up.
inline std::string IniPath;
// Directory of the running executable, without a trailing separator.
inline std::string AppDir;

// While either flag is set, a change of an editor's text does not mark its
// document modified: Loading while a file replaces a document's text,
// HiLiteBusy while Varkel itself re-formats text (colouring, font changes).
inline bool Loading = false;
inline bool HiLiteBusy = false;

// One double-quote character.
inline std::string QuoteChar = "\"";
inline std::string KeyClickSound;
inline std::string HelpDir;

// Platform facts; there is no old-Windows caption painter on this platform.
inline bool IsOldWindows = false;
inline int PlatformId = 0;
inline int ColorDepth = 24;

// The caret line last seen in the active editor (colouring by line).
inline int LastLine = 0;
// Where insertions go: "EDITBOX" or "BINDINGBOX".
inline std::string InsertTarget = "EDITBOX";
// The text last entered in the Find box, as UTF-8 (each script's encoding
// turns it into that script's bytes).
inline std::string LastSearchText;
// When true, ResetStatusBarTip may replace the status text by "Ready".
inline bool AllowStatusReset = true;

// Settings that live in globals after start-up.
inline std::string QVersion = "Q2";
inline int AutoSyntaxType = 2;
inline bool AutoRefresh = true;
inline int ConflictType = 2;
inline bool ShowKeyboard = true;
inline bool ShowBindingsTable = false;
inline int BindingsTableArea = 2;
inline bool CommentAutoSize = true;
inline std::string CommentChar = "*";
inline int CommentSize = 20;
inline bool CommentAlignment = true;
inline bool CommentUCase = true;
inline bool ShowTipOday = true;
// Each document carries the command set detected from its words; off, one
// set (QVersion) serves every document.
inline bool DetectGame = true;
inline bool ColorStringElements = false;
// The editors' line-number margin.
inline bool ShowLineNumbers = true;
// Scripts are checked while they are typed; a completion list is offered.
inline bool CheckScripts = true;
inline bool OfferCompletions = true;
// The Problems list: shown or not, and its side of the frame.
inline bool ShowProblems = false;
inline int ProblemsArea = 8;

// Editor font and colours. Colours are 0x00BBGGRR values.
inline std::string FontName = "Courier New";
inline int FontSize = 10;
inline bool FontBold = false;
inline bool FontItalic = false;
inline unsigned BGColor = 0xFFFFFF;
// Token colours indexed by keyword class 1..8 (index 0 unused).
inline std::array<unsigned, 9> SyntaxColors{0, 0x000000, 0xFF0000, 0xC00000, 0x800080,
                                           0xC000C0, 0x008000, 0x0000FF, 0x000080};

// User tools (index 0 is tool 1).
inline std::vector<std::string> ToolNames;
inline std::vector<std::string> ToolPaths;

} // namespace varkel::mGlobal
