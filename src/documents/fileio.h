#pragma once
// Reading and saving scripts as raw bytes. A script is 8-bit text whose every
// byte (NUL, lone CR, a missing final line break, ...) must survive an open and
// a save unchanged, so nothing here interprets or converts the content.

#include "app/safefile.h"

#include <string>
#include <string_view>

namespace varkel {

// Scripts are read with ReadFileBytes and saved with WriteFileSafely
// (app/safefile.h), which keep every byte as it is.

enum class Eol { CrLf, Lf, Cr };

// Line-end style a document already uses: the first line end found in text;
// fallback when there is none.
Eol DetectEol(std::string_view text, Eol fallback = Eol::CrLf);

// "\r\n", "\n" or "\r".
std::string_view EolText(Eol eol);

} // namespace varkel
