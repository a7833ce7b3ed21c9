#pragma once
// Scripts held in memory, by path. A path is known by its lexical normal form
// ("a/./b/../c.cfg" is "a/c.cfg"); a path that names a folder of scripts is
// no file.

#include "bindings/scriptfiles.h"

#include <string>
#include <unordered_map>

namespace varkel {

class MemoryScriptFiles : public ScriptFiles
{
public:
    // Adds or replaces the script at `path`.
    void add(const std::string &path, std::string bytes);
    // Makes the script at `path` unreadable: it is still a file, but reading it fails.
    void makeUnreadable(const std::string &path);

    std::optional<std::string> fileIdentity(const std::string &path) override;
    std::optional<std::string> readScript(const std::string &path) override;

    // How many times readScript has been asked for a script.
    int reads() const { return m_reads; }

    static std::string normalPath(const std::string &path);

private:
    struct Entry {
        std::string bytes;
        bool readable = true;
    };
    std::unordered_map<std::string, Entry> m_files;
    int m_reads = 0;
};

} // namespace varkel
