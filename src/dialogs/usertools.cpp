#include "dialogs/usertools.h"

#include "app/profile.h"
#include "app/settings.h"

namespace varkel {

std::size_t Utf8Length(std::string_view text)
{
    std::size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

ToolCheck CheckUserTool(std::string_view name, std::string_view path)
{
    if (Utf8Length(name) > kMaxToolNameLength)
        return ToolCheck::NameTooLong;
    if (name.empty())
        return ToolCheck::NameEmpty;
    if (path.empty())
        return ToolCheck::PathEmpty;
    return ToolCheck::Ok;
}

std::string_view ToolCheckMessage(ToolCheck check)
{
    switch (check) {
    case ToolCheck::NameTooLong:
        return "Tool Name cannot exceed 32 characters";
    case ToolCheck::NameEmpty:
        return "Please enter a Tool Name";
    case ToolCheck::PathEmpty:
        return "Please enter a Path";
    case ToolCheck::Ok:
        break;
    }
    return {};
}

std::string UserToolKey(int n)
{
    return std::string(kUserToolKeyPrefix) + std::to_string(n);
}

std::string ToolNameKey(int n)
{
    return "ToolName" + std::to_string(n);
}

std::string ToolPathKey(int n)
{
    return "ToolPath" + std::to_string(n);
}

bool WriteUserTools(const std::string &iniPath, const std::vector<std::string> &names,
                    const std::vector<std::string> &paths)
{
    const int count = static_cast<int>(names.size());
    bool ok = WriteProfileInt(kSectionUserTools, "NumUserTools", count, iniPath);
    for (int i = 1; i <= count; ++i) {
        const size_t at = static_cast<size_t>(i - 1);
        ok = WriteProfileString(kSectionUserTools, ToolNameKey(i), names[at], iniPath) && ok;
        ok = WriteProfileString(kSectionUserTools, ToolPathKey(i), at < paths.size() ? paths[at] : "", iniPath) && ok;
    }
    return ok;
}

} // namespace varkel
