#pragma once
// Scripts read from the disk. A file is known by its device and inode, so a
// link or a path with ".." names the same script as the plain path.

#include "bindings/scriptfiles.h"

#include <string>
#include <vector>

namespace varkel {

class DiskScriptFiles : public ScriptFiles
{
public:
    std::optional<std::string> fileIdentity(const std::string &path) override;
    std::optional<std::string> readScript(const std::string &path) override;
};

// What `exec` can name in a folder: its scripts (files ending in ".cfg", in
// any case) and its folders (with a "/" after the name), sorted by name;
// nothing when the folder cannot be read. Hidden entries are left out.
std::vector<std::string> ListScriptFolder(const std::string &folder);

} // namespace varkel
