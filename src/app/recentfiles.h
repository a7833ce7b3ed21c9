#pragma once
// The last five files opened or saved, most recent first, kept in the
// settings file's [RecentFiles] section (RecentFile1 .. RecentFile5), and the
// shortening of long paths for menu captions.

#include <array>
#include <string>
#include <cstddef>
#include <vector>
#include <string_view>

namespace varkel {

constexpr int kRecentFileCount = 5;
// Entry 1 (the most recent) at index 0; an empty string is a free entry.
using RecentList = std::array<std::string, kRecentFileCount>;

// Reads the list from the settings file (the file is the master copy), then:
// an empty path returns it and writes nothing; action "Add" puts path at the
// top (an entry equal to it, compared case-sensitively, moves up; a new path
// with five entries drops the oldest); any other action takes path out. All
// five keys are then rewritten, free entries as empty values. Entries read
// with gaps between them are closed up first. A path with a line break cannot
// be stored and is not added.
RecentList SetRecentFilesList(const std::string &path, std::string_view action, const std::string &iniPath);

// Caption of recent-file menu item i (1..5): "&" + i + " " + TruncLongPath(entry),
// or just "&" + i for a free entry.
std::string RecentFileCaption(int i, const std::string &entry);

// A path shortened for display to at most 32 characters: paths under 32 are
// returned whole; otherwise the longest "<leading folders>/.../<file name>" of
// at least 20 characters, or the first 13 characters + "..." + the last 16.
// Characters are counted as UTF-8 sequences, so a cut never splits one.
std::string TruncLongPath(const std::string &path);

// Byte offsets where the characters of s begin, as the captions count them:
// a valid UTF-8 sequence is one character, any other byte one on its own.
std::vector<std::size_t> CharacterStarts(std::string_view s);

} // namespace varkel
