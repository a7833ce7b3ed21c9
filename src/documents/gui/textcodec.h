#pragma once
// Qt's Unicode strings and a document's bytes, in the document's encoding
// (see documents/encoding.h). Everything that puts text from outside into a
// script (typing, the clipboard, drops, Find and Replace, the insertion
// tools) or shows a script's bytes as text goes through these two.

#include "documents/encoding.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace varkel {

// The bytes as text; an ill-formed sequence of a UTF-8 document shows each
// of its bytes as the Latin-1 character of that value.
QString BytesToText(std::string_view bytes, Encoding encoding);

// The text as the document's bytes, or nullopt when the encoding cannot hold
// one of its characters; `refused` then receives the first such character.
std::optional<std::string> TextToBytes(const QString &text, Encoding encoding, QString *refused = nullptr);

// The status-bar message for a character the document cannot hold.
QString RefusedCharacterMessage(const QString &character, Encoding encoding);

} // namespace varkel
