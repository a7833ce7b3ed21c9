#include "documents/encoding.h"

#include "documents/unicodetext.h"

namespace varkel {

std::string_view EncodingName(Encoding encoding)
{
    return encoding == Encoding::Utf8 ? "UTF-8" : "Latin-1";
}

bool ParseEncodingOption(std::string_view text, std::optional<Encoding> &chosen)
{
    std::string lower;
    for (const char c : text)
        lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower == "auto")
        chosen.reset();
    else if (lower == "latin1")
        chosen = Encoding::Latin1;
    else if (lower == "utf8")
        chosen = Encoding::Utf8;
    else
        return false;
    return true;
}

bool HasUtf8Bom(std::string_view text)
{
    return text.starts_with("\xEF\xBB\xBF");
}

size_t Utf8SequenceLength(std::string_view text, size_t at)
{
    if (at >= text.size())
        return 0;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char b0 = byte(at);
    if (b0 < 0x80)
        return 1;
    size_t length = 0;
    // The second byte's range rules out overlong forms, surrogates and code
    // points past U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0)
            low = 0xA0;
        else if (b0 == 0xED)
            high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0)
            low = 0x90;
        else if (b0 == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    return length;
}

bool IsValidUtf8(std::string_view text)
{
    for (size_t i = 0; i < text.size();) {
        // ASCII runs are the common case.
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t n = Utf8SequenceLength(text, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

Encoding DetectEncoding(std::string_view bytes)
{
    if (HasUtf8Bom(bytes))
        return Encoding::Utf8;
    bool nonAscii = false;
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            nonAscii = true;
            break;
        }
    return nonAscii && IsValidUtf8(bytes) ? Encoding::Utf8 : Encoding::Latin1;
}

std::string DocumentBytesToUtf8(std::string_view bytes, Encoding encoding)
{
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        const size_t n = encoding == Encoding::Utf8 ? Utf8SequenceLength(bytes, i) : 0;
        if (n > 0) {
            out.append(bytes.substr(i, n));
            i += n;
        } else {
            AppendUtf8(out, c);
            ++i;
        }
    }
    return out;
}

std::optional<std::string> Utf8ToDocumentBytes(std::string_view utf8, Encoding encoding, std::string *refused)
{
    if (encoding == Encoding::Utf8)
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        const size_t n = Utf8SequenceLength(utf8, i);
        if (n == 2 && c <= 0xC3) {
            out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
            i += 2;
            continue;
        }
        if (refused)
            *refused = std::string(utf8.substr(i, n > 0 ? n : 1));
        return std::nullopt;
    }
    return out;
}

} // namespace varkel
