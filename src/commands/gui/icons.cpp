#include "commands/gui/icons.h"

#include <QFile>
#include <QHash>

namespace varkel {

QIcon IconFor(std::string_view key)
{
    static QHash<QString, QIcon> cache;
    if (key.empty())
        return {};
    const QString name = QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
    auto it = cache.constFind(name);
    if (it != cache.constEnd())
        return *it;
    const QString path = QStringLiteral(":/icons/%1.svg").arg(name);
    QIcon icon = QFile::exists(path) ? QIcon(path) : QIcon();
    cache.insert(name, icon);
    return icon;
}

} // namespace varkel
