#include "dialogs/regstore.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace varkel {

namespace {

constexpr std::string_view kDefaultValueName = "@";

std::string_view storedName(std::string_view valueName)
{
    return valueName.empty() ? kDefaultValueName : valueName;
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

long RegStore::OpenKey(std::string_view key, Key &out) const
{
    if (key.empty() || m_path.empty())
        return kRegNotFound;
    ProfileFile data = ProfileFile::load(m_path);
    for (const std::string &name : data.sections()) {
        const bool below = name.size() > key.size() && name[key.size()] == '\\'
                           && ProfileNamesEqual(std::string_view(name).substr(0, key.size()), key);
        if (ProfileNamesEqual(name, key) || below) {
            out.name = std::string(key);
            out.data = std::move(data);
            return kRegSuccess;
        }
    }
    return kRegNotFound;
}

long RegStore::QueryValueInfo(const Key &key, std::string_view valueName, int &type, std::string &raw)
{
    std::optional<std::string> stored = key.data.value(key.name, storedName(valueName));
    if (!stored)
        return kRegNotFound;
    raw = *stored;
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"')
        type = kRegSz;
    else if (raw.size() == 14 && raw.compare(0, 6, "dword:") == 0
             && std::all_of(raw.begin() + 6, raw.end(), isHexDigit))
        type = kRegDword;
    else
        type = kRegBinary;
    return kRegSuccess;
}

std::string RegStore::StringContent(const std::string &raw)
{
    return raw.size() >= 2 ? raw.substr(1, raw.size() - 2) : std::string();
}

std::uint32_t RegStore::DwordContent(const std::string &raw)
{
    return static_cast<std::uint32_t>(std::stoul(raw.substr(6), nullptr, 16));
}

bool RegStore::SetRaw(std::string_view key, std::string_view valueName, const std::string &raw) const
{
    if (m_path.empty() || key.empty())
        return false;
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);
    return WriteProfileStoredValue(key, storedName(valueName), raw, m_path);
}

bool RegStore::SetString(std::string_view key, std::string_view valueName, std::string_view text) const
{
    return SetRaw(key, valueName, "\"" + std::string(text) + "\"");
}

bool RegStore::SetDword(std::string_view key, std::string_view valueName, std::uint32_t value) const
{
    char raw[16];
    std::snprintf(raw, sizeof raw, "dword:%08x", static_cast<unsigned>(value));
    return SetRaw(key, valueName, raw);
}

std::vector<std::string> RegStore::Keys() const
{
    if (m_path.empty())
        return {};
    return ProfileFile::load(m_path).sections();
}

} // namespace varkel
