#pragma once
// Which program the desktop really opens a file type with, read the way a
// freedesktop desktop reads it: the MIME type of "*.ext" from the compiled
// glob lists of the MIME database, and the default application of that type
// (or of a type it is a kind of) from the [Default Applications] groups of the
// mimeapps.list files, most important file first.

#include "dialogs/desktopfiles.h"

#include <string>
#include <string_view>
#include <vector>

namespace varkel {

// $XDG_CONFIG_DIRS and $XDG_DATA_DIRS as lists of absolute folders (relative
// entries are ignored; unset or empty gives /etc/xdg and
// /usr/local/share, /usr/share).
std::vector<std::string> XdgConfigDirs();
std::vector<std::string> XdgDataDirs();
// The names in $XDG_CURRENT_DESKTOP, in ASCII lower case.
std::vector<std::string> CurrentDesktopNames();

// Every mimeapps.list that applies, most important first: for the config
// home, each config folder, the data home's and each data folder's
// "applications" folder, first each desktop's "<name>-mimeapps.list", then
// "mimeapps.list".
std::vector<std::string> MimeAppsListPaths(const DesktopPlaces &places);

// The MIME type the glob lists give a file named "*.<extension>": the
// heaviest matching glob wins, the more important folder on a tie. Empty when
// no glob names the extension.
std::string GlobMimeType(std::string_view extension, const DesktopPlaces &places);

// The types mimeType is a kind of, from the "subclasses" lists; every text/*
// type is also a kind of text/plain.
std::vector<std::string> ParentMimeTypes(std::string_view mimeType, const DesktopPlaces &places);

// Whether a desktop entry of that id is installed in the data home or a data
// folder ("a-b.desktop" may also live as "a/b.desktop").
bool DesktopEntryInstalled(std::string_view desktopId, const DesktopPlaces &places);

// The default application of mimeType: the first installed entry of its
// [Default Applications] line in the first mimeapps.list that has one,
// leaving out entries that file or a more important one removes. Empty when
// no file names one.
std::string DefaultApplication(std::string_view mimeType, const DesktopPlaces &places);

// The default application of "*.<extension>" files: that of their type (text
// files without a glob of their own are text/plain), else that of the nearest
// type it is a kind of. Empty when none is set.
std::string ExtensionDefaultApplication(std::string_view extension, const DesktopPlaces &places);

} // namespace varkel
