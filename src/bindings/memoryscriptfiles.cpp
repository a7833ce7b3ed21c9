#include "bindings/memoryscriptfiles.h"

#include <filesystem>

namespace varkel {

std::string MemoryScriptFiles::normalPath(const std::string &path)
{
    return std::filesystem::path(path).lexically_normal().generic_string();
}

void MemoryScriptFiles::add(const std::string &path, std::string bytes)
{
    m_files[normalPath(path)] = Entry{std::move(bytes), true};
}

void MemoryScriptFiles::makeUnreadable(const std::string &path)
{
    m_files[normalPath(path)].readable = false;
}

std::optional<std::string> MemoryScriptFiles::fileIdentity(const std::string &path)
{
    // A path ending in "/" (also after "..", as in "a/b/..") names a folder.
    std::string normal = normalPath(path);
    if (normal.empty() || normal.back() == '/' || m_files.find(normal) == m_files.end())
        return std::nullopt;
    return normal;
}

std::optional<std::string> MemoryScriptFiles::readScript(const std::string &path)
{
    ++m_reads;
    if (!fileIdentity(path))
        return std::nullopt;
    const auto it = m_files.find(normalPath(path));
    if (it == m_files.end() || !it->second.readable)
        return std::nullopt;
    return it->second.bytes;
}

} // namespace varkel
