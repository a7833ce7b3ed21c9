#include "documents/gui/textcodec.h"

namespace varkel {

QString BytesToText(std::string_view bytes, Encoding encoding)
{
    if (encoding == Encoding::Latin1)
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const std::string utf8 = DocumentBytesToUtf8(bytes, encoding);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<std::string> TextToBytes(const QString &text, Encoding encoding, QString *refused)
{
    // A lone surrogate has no UTF-8 form either; QString::toUtf8 would write
    // a replacement character for it.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            if (refused)
                *refused = QString(c);
            return std::nullopt;
        }
    }
    const QByteArray utf8 = text.toUtf8();
    std::string refusedUtf8;
    auto bytes = Utf8ToDocumentBytes(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())), encoding,
                                     &refusedUtf8);
    if (!bytes && refused)
        *refused = QString::fromUtf8(refusedUtf8.data(), static_cast<qsizetype>(refusedUtf8.size()));
    return bytes;
}

QString RefusedCharacterMessage(const QString &character, Encoding encoding)
{
    const std::string_view name = EncodingName(encoding);
    return QStringLiteral("\"%1\" cannot be written in %2")
        .arg(character, QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

} // namespace varkel
