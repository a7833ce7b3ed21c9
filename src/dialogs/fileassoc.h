#pragma once
// Associating *.cfg and *.rc with Varkel.
//
// The association is kept in our own class store (see RegStore) with the
// registry's layout, for an extension e:
//
//   Varkel.Config                      "Varkel Quake Configuration Script"
//   .e                                 "Varkel.Config"
//   Varkel.Config\shell\open\command   <program directory>/varkel %1
//   Varkel.Config\DefaultIcon          <program directory>/varkel,0
//
// and made real on the desktop by the files of desktopfiles.h. An extension
// counts as associated with this program when its class is exactly
// "Varkel.Config", the stored command is exactly the one of this program's
// directory, and the desktop really opens such files with Varkel's entry
// (mimeapps.h). Associations are only ever added or rewritten, never removed.

#include "dialogs/desktopfiles.h"
#include "dialogs/regstore.h"

#include <functional>
#include <string>
#include <string_view>

namespace varkel {

constexpr std::string_view kFileTypeClass = "Varkel.Config";
constexpr std::string_view kFileTypeDescription = "Varkel Quake Configuration Script";
constexpr std::string_view kFileTypeCommandKey = "Varkel.Config\\shell\\open\\command";
constexpr std::string_view kFileTypeIconKey = "Varkel.Config\\DefaultIcon";

// Everything the association depends on.
struct AssociationPlaces {
    std::string programDir;  // the running program's directory, no trailing '/'
    std::string storePath;   // the class store
    DesktopPlaces desktop;
};

// The class store below $XDG_DATA_HOME/Varkel; empty when there is no home.
std::string AssociationStorePath();
// This process: mGlobal::AppDir, the store above, the XDG folders and the
// current desktop's names, the program <AppDir>/varkel, no icon,
// RunUpdateMimeDatabase.
AssociationPlaces DefaultAssociationPlaces();

// "<programDir>/varkel %1" and "<programDir>/varkel,0".
std::string FileTypeCommand(std::string_view programDir);
std::string FileTypeIcon(std::string_view programDir);

// Reads a value of key as text; a missing key or value, or a value that is
// not a string or number, reads as "". valueName "" is the default value.
std::string GetRegString(std::string_view key, std::string_view valueName, const RegStore &store);
std::string GetRegString(std::string_view key, std::string_view valueName);

// Reads one value of an open key. A string is returned without quotes, a
// number as its value. Returns kRegNotFound (value left empty) when there is
// no such value, kRegUnsupportedType (value left empty) for another type,
// kRegSuccess otherwise.
long QueryRegValue(const RegStore::Key &key, std::string_view valueName, RegValue &value);

// Writes the four values for extension (without its dot) in the order above,
// then, when the store took them, the desktop files. Failures are not
// reported to the user; the result says whether everything was written. An extension that is empty or holds
// anything but letters, digits, '_', '+' and '-' writes nothing.
bool RegisterFileType(std::string_view extension, const AssociationPlaces &places);
bool RegisterFileType(std::string_view extension);

// Whether extension is associated with the program in places.programDir.
bool IsFileTypeAssociated(std::string_view extension, const AssociationPlaces &places);
bool IsFileTypeAssociated(std::string_view extension);

// "*.cfg files are currently associated with another application." a line
// break and "Do you wish to overwrite?".
std::string FileTypeQuestion(std::string_view extension);

// "<path> differs from the file Varkel would write there." a line break and
// "Do you wish to overwrite?".
std::string ReplaceFileQuestion(std::string_view path);

// Applies one file-type check box (the options dialog's "Misc" page) and
// returns the state the box is to show afterwards. Unchecked: nothing happens.
// Checked: when the desktop opens such files with another program by default,
// asks askOverwrite with FileTypeQuestion first; no leaves everything as it is
// and unchecks. Then each desktop file that differs from what would be
// written is replaced only when askOverwrite agrees to ReplaceFileQuestion
// (no keeps that file and goes on), and the association is registered.
bool ApplyFileTypeAssociation(std::string_view extension, bool checked,
                              const std::function<bool(const std::string &question)> &askOverwrite,
                              const AssociationPlaces &places);

} // namespace varkel
