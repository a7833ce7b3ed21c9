#pragma once
// Whole files as raw bytes: reading them, and replacing them so that a failure
// at any step leaves the old file exactly as it was. Scripts, the settings
// file and the desktop's association files are all written through here.

#include "app/errors.h"

#include <functional>
#include <string>
#include <string_view>

namespace varkel {

struct ReadResult {
    std::string bytes;
    Error error;
};

// Reads a whole file as raw bytes (any byte 0..255, NUL included). A missing
// file, no permission, a directory or another non-regular file (a FIFO never
// blocks the call) gives an error whose detail is the path, and no bytes.
ReadResult ReadFileBytes(const std::string &path);

// Saves bytes to path without ever leaving a damaged target: writes a temporary
// file beside the target (same folder, a name no other process can guess),
// flushes it to disk and renames it over the target, keeping the target's
// permission bits (and owner/group when possible). A symbolic link is followed:
// the file it points to is replaced, the link stays. A target that exists but
// is not a regular file, or is not writable, is refused.
//
// Where no temporary file can be made (a folder the user may not write, no
// free inodes, a quota) the existing target is rewritten in place as a last
// resort: room for a longer text is reserved before the first byte changes,
// and on any failure the old bytes are written back.
//
// On failure the target holds its old bytes, no temporary file is left and an
// Error (detail: the path) is returned.
Error WriteFileSafely(const std::string &path, std::string_view bytes);

// The file-system steps of ReadFileBytes and WriteFileSafely, in the order a
// save meets them.
enum class FileStep {
    Read,         // reading a file's bytes
    CreateTemp,   // making the temporary file
    Chown,        // giving it the target's owner and group (kept ours when refused)
    Chmod,        // giving it the target's permission bits
    Write,        // writing the new bytes into it
    Flush,        // flushing a file to disk
    Close,        // closing a written file
    Rename,       // moving it over the target
    OpenInPlace,  // opening the target for a rewrite in place
    Reserve,      // reserving room for a longer text
    InPlaceWrite, // overwriting the target's bytes
    Truncate,     // cutting the target to the new length
    Restore,      // writing the old bytes back after a failed rewrite
};

// Test seam: when set, every step first asks the hook, and a non-zero errno
// from it makes that step fail with that errno. A failing write step writes
// half of its bytes first, and a failing reservation extends the file by half,
// as a disk that fills up meanwhile would. An empty hook ends the injection.
using FileFaultHook = std::function<int(FileStep step)>;
void SetFileFaultHookForTesting(FileFaultHook hook);

} // namespace varkel
