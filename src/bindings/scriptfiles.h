#pragma once
// Where the exec chain finds its scripts: the disk, or (for open documents and
// tests) scripts held in memory.

#include <optional>
#include <string>

namespace varkel {

class ScriptFiles
{
public:
    virtual ~ScriptFiles() = default;

    // When `path` names a regular file, a key that is the same for every
    // path naming that file (so a script reached by two paths is known as
    // one); nothing otherwise.
    virtual std::optional<std::string> fileIdentity(const std::string &path) = 0;

    // The bytes of the file at `path`, or nothing when it cannot be read.
    virtual std::optional<std::string> readScript(const std::string &path) = 0;
};

} // namespace varkel
