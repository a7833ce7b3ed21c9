#pragma once
// Scripts read from the disk. A file is known by its device and inode, so a
// link or a path with ".." names the same script as the plain path.

#include "bindings/scriptfiles.h"

namespace varkel {

class DiskScriptFiles : public ScriptFiles
{
public:
    std::optional<std::string> fileIdentity(const std::string &path) override;
    std::optional<std::string> readScript(const std::string &path) override;
};

} // namespace varkel
