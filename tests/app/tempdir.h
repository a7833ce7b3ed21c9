#pragma once
// A fresh folder for a test's files, removed with its contents afterwards,
// small helpers to read and write whole files, and an environment variable
// set for one scope.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace varkel::test {

class TempDir
{
public:
    // A folder below base, by default the system's folder for temporary files.
    explicit TempDir(const std::filesystem::path &base = std::filesystem::temp_directory_path())
    {
        std::string pattern = (base / "varkel-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    std::string path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeAll(const std::string &path, const std::string &data)
{
    std::ofstream(path, std::ios::binary) << data;
}

// Sets (or, with nullptr, removes) an environment variable for one scope.
class EnvOverride
{
public:
    EnvOverride(const char *name, const char *value) : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~EnvOverride() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }
    EnvOverride(const EnvOverride &) = delete;
    EnvOverride &operator=(const EnvOverride &) = delete;

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

} // namespace varkel::test
