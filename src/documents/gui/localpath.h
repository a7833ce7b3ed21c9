#pragma once
// Paths travel through Varkel as the file system's own bytes (std::string),
// never through a QString, so that a name that is not valid UTF-8 still
// opens, saves and comes back from the recent-files list. These helpers
// convert at the edges only: a name given by a Qt dialog comes in with
// LocalPath, a caption goes out with DisplayPath.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include <unistd.h>

namespace varkel {

inline std::string LocalPath(const QString &name)
{
    return QFile::encodeName(name).toStdString();
}

inline QString DisplayPath(std::string_view path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

// path made absolute against the current folder (unchanged when empty or
// already absolute); the folder's name is taken as bytes too.
inline std::string AbsoluteLocalPath(const std::string &path)
{
    if (path.empty() || path.front() == '/')
        return path;
    const std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    if (!cwd)
        return path;
    std::string dir = cwd.get();
    if (!dir.ends_with('/'))
        dir += '/';
    return dir + path;
}

} // namespace varkel
