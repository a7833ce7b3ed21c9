#include "documents/fileio.h"

namespace varkel {

Eol DetectEol(std::string_view text, Eol fallback)
{
    const size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos)
        return fallback;
    if (text[at] == '\n')
        return Eol::Lf;
    return at + 1 < text.size() && text[at + 1] == '\n' ? Eol::CrLf : Eol::Cr;
}

std::string_view EolText(Eol eol)
{
    switch (eol) {
    case Eol::Lf: return "\n";
    case Eol::Cr: return "\r";
    case Eol::CrLf: break;
    }
    return "\r\n";
}

} // namespace varkel
