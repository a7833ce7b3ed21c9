#include "bindings/usernamesfile.h"

#include "app/safefile.h"
#include "bindings/lint.h"

#include <cctype>

#include <unistd.h>

namespace varkel {

std::string UserNamesPath(std::string_view iniPath, std::string_view set)
{
    const std::size_t slash = iniPath.rfind('/');
    std::string path = slash == std::string_view::npos ? std::string() : std::string(iniPath.substr(0, slash + 1));
    path += "names-";
    for (const char c : set)
        path += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    path += ".txt";
    return path;
}

std::vector<std::string> ReadUserNames(const std::string &path)
{
    const ReadResult read = ReadFileBytes(path);
    if (read.error)
        return {};
    return ParseUserNames(read.bytes);
}

Error AddUserName(const std::string &path, std::string_view name)
{
    ReadResult read = ReadFileBytes(path);
    // A missing file starts empty; one that cannot be read is not replaced.
    if (read.error && ::access(path.c_str(), F_OK) == 0)
        return read.error;
    const std::string before = read.error ? std::string() : std::move(read.bytes);
    const std::string after = WithUserName(before, name);
    if (after == before)
        return {};
    return WriteFileSafely(path, after);
}

} // namespace varkel
