#pragma once
// The program's version as the splash window and the About box show it:
// major, at least two digits of minor, at least four of the revision,
// joined by dots (1.2.3 gives "1.02.0003").

#include <string>

namespace varkel {

std::string VersionText(int major, int minor, int revision);
// The version this program was built as.
std::string VersionText();

} // namespace varkel
