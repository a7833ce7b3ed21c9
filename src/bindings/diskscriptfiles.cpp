#include "bindings/diskscriptfiles.h"

#include "documents/fileio.h"

#include <sys/stat.h>

namespace varkel {

std::optional<std::string> DiskScriptFiles::fileIdentity(const std::string &path)
{
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return std::to_string(static_cast<unsigned long long>(st.st_dev)) + ':' +
           std::to_string(static_cast<unsigned long long>(st.st_ino));
}

std::optional<std::string> DiskScriptFiles::readScript(const std::string &path)
{
    ReadResult read = ReadFileBytes(path);
    if (read.error)
        return std::nullopt;
    return std::move(read.bytes);
}

} // namespace varkel
