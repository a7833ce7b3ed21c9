#include "dialogs/versiontext.h"

#include <cstdio>

namespace varkel {

std::string VersionText(int major, int minor, int revision)
{
    char text[48];
    std::snprintf(text, sizeof text, "%d.%02d.%04d", major, minor, revision);
    return text;
}

std::string VersionText()
{
    return VersionText(VARKEL_VERSION_MAJOR, VARKEL_VERSION_MINOR, VARKEL_VERSION_PATCH);
}

} // namespace varkel
