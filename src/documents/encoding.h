#pragma once
// The character encoding of a script. A script is read as UTF-8 when its
// bytes say so (a byte-order mark, or valid UTF-8 holding at least one
// non-ASCII byte) and as 8-bit Latin-1 otherwise. The encoding only changes
// how bytes are shown and how typed text becomes bytes: the bytes themselves
// are never converted, and positions stay byte offsets.

#include <optional>
#include <string>
#include <string_view>

namespace varkel {

enum class Encoding { Latin1, Utf8 };

// "Latin-1" or "UTF-8", as the status bar shows it.
std::string_view EncodingName(Encoding encoding);

// An option value "auto", "latin1" or "utf8" (any case): `chosen` becomes
// nullopt for "auto" (each script's own encoding) or the encoding named.
// False, leaving `chosen` alone, for any other text.
bool ParseEncodingOption(std::string_view text, std::optional<Encoding> &chosen);

// True when text starts with the UTF-8 byte-order mark EF BB BF.
bool HasUtf8Bom(std::string_view text);

// True when every byte of text belongs to a well-formed UTF-8 sequence
// (shortest form, no surrogates, nothing past U+10FFFF).
bool IsValidUtf8(std::string_view text);

// The encoding a script's bytes are read in (see above).
Encoding DetectEncoding(std::string_view bytes);

// Length of the well-formed UTF-8 sequence at text[at], or 0 when the byte
// there does not start one.
size_t Utf8SequenceLength(std::string_view text, size_t at);

// A document's bytes as UTF-8 text: Latin-1 bytes are converted; UTF-8
// bytes are kept, except that a byte of an ill-formed sequence is taken as
// the Latin-1 character of its value, so no byte is lost.
std::string DocumentBytesToUtf8(std::string_view bytes, Encoding encoding);

// UTF-8 text as a document's bytes: unchanged for a UTF-8 document; for a
// Latin-1 one, each character as its byte, or nullopt when a character lies
// past U+00FF (or the text is not valid UTF-8). `refused` receives the first
// character that could not be held, as UTF-8.
std::optional<std::string> Utf8ToDocumentBytes(std::string_view utf8, Encoding encoding,
                                               std::string *refused = nullptr);

} // namespace varkel
