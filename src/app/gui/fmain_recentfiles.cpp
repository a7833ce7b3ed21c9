// The recent-files menu: five items below "&Recent Files", rebuilt from the
// settings file (the master copy) after every change.

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "app/recentfiles.h"
#include "commands/gui/popupmenu.h"

namespace varkel {

void fMain::SetRecentFiles(const std::string &path, const QString &action)
{
    try {
        m_recentFiles = SetRecentFilesList(path, action.toStdString(), mGlobal::IniPath);
        const int owner = m_cMenu->IndexForKey("cmnuRecentFiles");
        for (int i = 1; i <= kRecentFileCount; ++i) {
            const std::string key = "cmnuRecentFile" + std::to_string(i);
            const std::string caption = RecentFileCaption(i, m_recentFiles[static_cast<size_t>(i - 1)]);
            if (m_cMenu->IndexForKey(key))
                m_cMenu->SetCaption(key, caption);
            else
                m_cMenu->AddItem(caption, "", i, owner, "imgRecentFile", false, true, key);
        }
    } catch (const std::exception &) {
        ReportError(Error{ErrorCode::Unexpected, "recent files"});
    }
}

void fMain::OpenRecentFile(int i)
{
    if (i < 1 || i > kRecentFileCount)
        return;
    const std::string &entry = m_recentFiles[static_cast<size_t>(i - 1)];
    // A free entry names nothing; it must not fall through to the Open dialog.
    if (entry.empty())
        return;
    OpenConfig(entry);
}

} // namespace varkel
