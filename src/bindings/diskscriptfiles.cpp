#include "bindings/diskscriptfiles.h"

#include "documents/fileio.h"

#include <algorithm>
#include <filesystem>
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

std::vector<std::string> ListScriptFolder(const std::string &folder)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    const fs::path where = folder.empty() ? fs::path(".") : fs::path(folder);
    for (fs::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.')
            continue;
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            names.push_back(name + '/');
        } else if (it->is_regular_file(typeError) && name.size() > 4) {
            std::string extension = name.substr(name.size() - 4);
            std::transform(extension.begin(), extension.end(), extension.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
            if (extension == ".cfg")
                names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace varkel
