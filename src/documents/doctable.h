#pragma once
// The table of open scripts. Slots are numbered from 1, only grow, and are
// never reused within a process: a closed slot stays Closed for good.

#include "documents/encoding.h"

#include <string>
#include <string_view>
#include <vector>

namespace varkel {

struct DocRecord {
    bool Closed = false;
    bool Modified = false;
    std::string Path;
    bool HasFile = false;
    bool WordWrap = false;
    // The command set the script is read and coloured with, and why it was
    // chosen (a few lines for a tool tip).
    std::string CommandSet;
    std::string SetExplanation;
    // How the script's bytes are read: as found when it was opened, or as
    // the user reopened it.
    Encoding TextEncoding = Encoding::Latin1;
};

class DocTable {
public:
    // Grows the table by one slot and returns its index (DocCount + 1).
    int FindFreeIndex();
    int DocCount() const { return static_cast<int>(m_docs.size()); }
    bool IsValid(int d) const { return d >= 1 && d <= DocCount(); }
    DocRecord &operator[](int d) { return m_docs.at(static_cast<size_t>(d - 1)); }
    const DocRecord &operator[](int d) const { return m_docs.at(static_cast<size_t>(d - 1)); }
    // True while any slot holds an open document.
    bool AnyOpen() const;
    // Index of the open document whose Path equals path exactly, or 0.
    int FindOpenPath(std::string_view path) const;

private:
    std::vector<DocRecord> m_docs;
};

// Text after the last "/" of a path, or the whole text when there is none.
std::string ParseNameFromPath(std::string_view path);

// Text before the last "/" of a path ("/" for a file in the root), or empty
// when there is none.
std::string FolderOfPath(std::string_view path);

// The folder a Save As dialog starts in: the document's own folder when it
// has a file, else the folder last used for a file, else the home folder.
std::string SaveStartFolder(std::string_view documentPath, bool hasFile, std::string_view lastFolder,
                            std::string_view homeFolder);

// path with "." + extension added when its file name has no extension of
// its own (no dot after the name's first character); otherwise path.
std::string WithDefaultExtension(std::string_view path, std::string_view extension);

// "Untitled " + d, the name of a new document.
std::string UntitledName(int d);
// True for a path that names no file yet (its first 8 characters are "Untitled").
bool IsUntitledPath(std::string_view path);

} // namespace varkel
