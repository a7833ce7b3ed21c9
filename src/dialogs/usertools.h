#pragma once
// User tools: external programs the user registers under a display name and
// starts from the end of the Tools menu. The list lives in the globals
// mGlobal::ToolNames / ToolPaths (read at start-up) and in the settings
// section "User Tools": NumUserTools, ToolName<n>, ToolPath<n>.

#include <string>
#include <string_view>
#include <vector>

namespace varkel {

namespace mGlobal {
// True while the tool dialog enters a new tool (the options dialog has added
// an empty row for it), false while it edits the selected one.
inline bool AddingTool = false;
} // namespace mGlobal

// Longest tool name, in characters.
inline constexpr std::size_t kMaxToolNameLength = 32;

// Menu key prefix of the tool items; tool n has the key "cmnuUserTool" + n.
inline constexpr std::string_view kUserToolKeyPrefix = "cmnuUserTool";

// Result of the checks the tool dialog runs on OK, in their order.
enum class ToolCheck {
    Ok,
    NameTooLong, // "Tool Name cannot exceed 32 characters"
    NameEmpty,   // "Please enter a Tool Name"
    PathEmpty,   // "Please enter a Path"
};

// Checks a tool as typed (UTF-8; the length counts characters, not bytes).
// Nothing is trimmed: a name of spaces is a name, and the path is not looked up.
ToolCheck CheckUserTool(std::string_view name, std::string_view path);
// The message shown for a failed check; empty for Ok.
std::string_view ToolCheckMessage(ToolCheck check);

// Number of characters of UTF-8 text (bytes that do not continue a sequence).
std::size_t Utf8Length(std::string_view text);

// "cmnuUserTool" + n, n in decimal without leading zeros.
std::string UserToolKey(int n);
// Settings keys of tool n: "ToolName" + n and "ToolPath" + n.
std::string ToolNameKey(int n);
std::string ToolPathKey(int n);

// Writes the tool list to the settings file, one key per write: NumUserTools,
// then ToolName<i> and ToolPath<i> for each tool from 1. Keys of tools past the
// new count are left as they are; NumUserTools decides what is read back.
// Returns false when any write failed.
bool WriteUserTools(const std::string &iniPath, const std::vector<std::string> &names,
                    const std::vector<std::string> &paths);

} // namespace varkel
