#pragma once
// Reading and saving scripts as raw bytes. A script is 8-bit text whose every
// byte (NUL, lone CR, a missing final line break, ...) must survive an open and
// a save unchanged, so nothing here interprets or converts the content.

#include "app/errors.h"

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
// file beside the target (same folder), flushes it to disk and renames it over
// the target, keeping the target's permission bits (and owner/group when
// possible). A symbolic link is followed: the file it points to is replaced, the
// link stays. A target that exists but is not writable is refused, as it would
// be by a plain write. Where the folder allows no new file but the target itself
// is writable, the file is rewritten in place as a last resort (and put back as
// it was if that write fails). On any failure the original is untouched, the
// temporary file is removed and an Error (detail: the path) is returned.
Error WriteFileSafely(const std::string &path, std::string_view bytes);

enum class Eol { CrLf, Lf, Cr };

// Line-end style a document already uses: the first line end found in text;
// fallback when there is none.
Eol DetectEol(std::string_view text, Eol fallback = Eol::CrLf);

// "\r\n", "\n" or "\r".
std::string_view EolText(Eol eol);

// Test-only fault injection for WriteFileSafely: every step named in the mask
// fails with errno `err` until the mask is set back to 0. A failing Write step
// writes the first half of the bytes before it fails, as a full disk would.
enum SaveStep : unsigned {
    SaveStepCreateTemp = 1,
    SaveStepWrite = 2,
    SaveStepFlush = 4,
    SaveStepRename = 8,
};
void SetSaveFaultsForTesting(unsigned steps, int err);

} // namespace varkel
