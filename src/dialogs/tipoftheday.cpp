#include "dialogs/tipoftheday.h"

#include "app/mglobal.h"
#include "app/profile.h"
#include "app/settings.h"
#include "documents/fileio.h"

#include <sys/stat.h>

namespace varkel {

std::string TipsFilePath(const std::string &appDir)
{
    return appDir + "/Data/Tips.dat";
}

std::vector<std::string> SplitTipLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    // CR LF, a lone CR and a lone LF all end a tip: a tips file saved by a
    // Linux editor must not read as one long tip.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

bool LoadTipsFile(const std::string &path, cTips &tips)
{
    ReadResult file = ReadFileBytes(path);
    if (file.error)
        return false;
    for (std::string &line : SplitTipLines(file.bytes))
        tips.Add(std::move(line));
    return true;
}

bool ShowStartupTip(const std::string &appDir, const std::string &iniPath,
                    const std::function<void(cTips &)> &showDialog)
{
    cTips tips;
    const std::string path = TipsFilePath(appDir);
    struct stat st;
    if (!mGlobal::ShowTipOday || ::stat(path.c_str(), &st) != 0)
        return false;
    if (!LoadTipsFile(path, tips) || tips.Count() == 0)
        return false;
    showDialog(tips);
    mGlobal::ShowTipOday = tips.ShowAtStartup();
    WriteProfileString(kSectionGeneral, "ShowTipOday", BoolText(mGlobal::ShowTipOday), iniPath);
    return true;
}

} // namespace varkel
