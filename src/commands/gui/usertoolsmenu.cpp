#include "commands/gui/usertoolsmenu.h"

#include "commands/gui/popupmenu.h"
#include "dialogs/commandline.h"
#include "dialogs/usertools.h"

#include <QAction>
#include <QFileInfo>
#include <QProcess>

namespace varkel {

int BuildUserToolsMenu(PopupMenu &menu, std::string_view mode, int toolsInMenu, const std::vector<std::string> &names)
{
    if (mode == "REPLACE")
        for (int n = 1; n <= toolsInMenu; ++n)
            menu.RemoveItem(UserToolKey(n));
    const int parent = menu.IndexForKey("cmnuToolsTOP");
    const int count = static_cast<int>(names.size());
    for (int n = 1; n <= count; ++n) {
        const std::string key = UserToolKey(n);
        const std::string &name = names[static_cast<size_t>(n - 1)];
        menu.AddItem(name, "", n, parent, "imgTools", false, true, key);
        // Tool names are kept as UTF-8 text; the menu object reads captions
        // as 8-bit text, so the caption is set again from the real text. A
        // tool's name is shown as typed: an "&" in it is a character, not the
        // mark of an access key.
        if (QAction *action = menu.Action(key))
            action->setText(QString::fromStdString(name).replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
    return count;
}

bool StartUserTool(const std::string &commandLine)
{
    // A path (it has a slash, like a shell would need) to an existing program.
    const QString whole = QString::fromStdString(commandLine);
    const QFileInfo file(whole);
    if (whole.contains(QLatin1Char('/')) && file.isFile() && file.isExecutable())
        return QProcess::startDetached(file.absoluteFilePath(), {});
    const auto words = SplitCommandLine(commandLine);
    if (!words || words->empty() || (*words)[0].empty())
        return false;
    QStringList arguments;
    for (size_t i = 1; i < words->size(); ++i)
        arguments << QString::fromStdString((*words)[i]);
    return QProcess::startDetached(QString::fromStdString((*words)[0]), arguments);
}

} // namespace varkel
