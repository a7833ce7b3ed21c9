#pragma once
// The user's own names of a command set (mods' commands and cvars that are
// never unknown): one name a line, in a file beside the settings file, one
// file a set ("names-q3.txt" beside "Varkel.ini").

#include "app/errors.h"

#include <string>
#include <string_view>
#include <vector>

namespace varkel {

// The names file of `set` ("Q1", "Q2", "Q3") in the folder of the settings
// file at `iniPath`.
std::string UserNamesPath(std::string_view iniPath, std::string_view set);

// The names in the file; none when it is missing or cannot be read.
std::vector<std::string> ReadUserNames(const std::string &path);

// Adds `name` as a line of its own (the file is made when missing, left as
// it is when the name is there already), written safely.
Error AddUserName(const std::string &path, std::string_view name);

} // namespace varkel
