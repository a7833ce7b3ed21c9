#pragma once
// What makes a file association real on a freedesktop desktop: a desktop
// entry for Varkel, a MIME type whose globs name the associated extensions,
// the application icon, and Varkel as the default application for that type
// in the user's mimeapps.list. Everything is written below the user's own
// XDG folders and nowhere else.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varkel {

// The MIME type of Varkel's scripts and the name of its desktop entry.
constexpr std::string_view kScriptMimeType = "text/x-varkel-config";
constexpr std::string_view kDesktopFileName = "varkel.desktop";
constexpr std::string_view kIconName = "varkel";

// $XDG_DATA_HOME, or $HOME/.local/share when it is unset, empty or relative;
// empty when there is no home folder.
std::string XdgDataHome();
// $XDG_CONFIG_HOME, or $HOME/.config likewise.
std::string XdgConfigHome();

// A line of a desktop file, mimeapps.list or globs2 without the blanks
// around it and its line end.
std::string_view TrimDesktopLine(std::string_view s);

// Whether ext can name a file type here: letters, digits, '_', '+' and '-',
// at least one of them.
bool IsValidExtension(std::string_view ext);

// One argument of a desktop entry's Exec line that runs exactly the program
// at path: double-quoted, with the quoting and string escapes the format asks
// for ("%" doubled, '"', '`', '$' and '\' escaped).
std::string DesktopExecArgument(std::string_view path);

// The whole desktop entry for the program at programPath.
std::string DesktopEntryText(std::string_view programPath);

// The shared-mime-info package that gives kScriptMimeType the glob "*." + e for
// each extension (letters, digits, '_', '+' and '-' only; others are left out).
std::string MimePackageText(const std::vector<std::string> &extensions);

// mimeapps.list text with desktopId made the default application of mimeType
// in [Default Applications]: an existing line for mimeType keeps its other
// applications after desktopId; otherwise a line is added at the end of the
// first such group, or the group is added at the end. Every other line stays
// exactly as it was; added lines use the file's own line ends.
std::string SetDefaultApplication(std::string_view mimeappsText, std::string_view mimeType,
                                  std::string_view desktopId);

// Where the desktop files go and how the MIME database is refreshed.
struct DesktopPlaces {
    std::string dataHome;   // XDG data folder; empty writes nothing there
    std::string configHome; // XDG config folder; empty leaves mimeapps.list alone
    // The system's XDG folders and the current desktop's names, which the
    // desktop reads after the user's own (see mimeapps.h); never written.
    std::vector<std::string> configDirs, dataDirs, desktopNames;
    std::string programPath;
    std::string iconSvg;    // installed as the application icon when not empty
    // Runs after the MIME packages changed, with dataHome + "/mime".
    std::function<void(const std::string &mimeDir)> updateMimeDatabase;
    // Files the user chose to keep as they are (see ChangedDesktopFiles).
    std::vector<std::string> keepFiles;
};

// The path of the desktop entry and of the icon that WriteDesktopAssociation
// writes; the icon's is empty when no icon is to be installed.
std::string DesktopEntryPath(const DesktopPlaces &places);
std::string DesktopIconPath(const DesktopPlaces &places);

// The desktop entry and icon that exist but hold something other than what
// WriteDesktopAssociation would write there: a user's own edits, or an entry
// for a program in another place. Replacing them is the user's choice.
std::vector<std::string> ChangedDesktopFiles(const DesktopPlaces &places);

// Writes the icon, the desktop entry, the MIME package for extensions and the
// default application. Each file is replaced as a whole or not at all; a
// mimeapps.list that exists but cannot be read is left alone, as are the
// files in places.keepFiles. True when every write succeeded.
bool WriteDesktopAssociation(const DesktopPlaces &places, const std::vector<std::string> &extensions);

// Runs update-mime-database on mimeDir when the tool is on the PATH: started
// directly (no shell), its output discarded, waited for.
void RunUpdateMimeDatabase(const std::string &mimeDir);

} // namespace varkel
