#include "dialogs/optionrules.h"

namespace varkel {

SyntaxPageEnables SyntaxPageRules(int syntaxType, bool colorStringChecked)
{
    SyntaxPageEnables e;
    e.rowEnabled[0] = true;
    if (syntaxType == 0)
        return e;
    for (int k = 1; k < kStringColorRow; ++k)
        e.rowEnabled[static_cast<size_t>(k)] = true;
    e.colorStringEnabled = true;
    e.rowEnabled[kStringColorRow] = !colorStringChecked;
    return e;
}

KeyVerdict FilterBlockSizeKey(char32_t key, int textLength, int selLength)
{
    if (key == kKeyEnter)
        return KeyVerdict::ApplyPage;
    if (key == kKeyBackspace)
        return KeyVerdict::Accept;
    if (key < U'0' || key > U'9')
        return KeyVerdict::Refuse;
    return textLength < 2 || selLength > 0 ? KeyVerdict::Accept : KeyVerdict::Refuse;
}

KeyVerdict FilterComCharKey(char32_t key, int textLength, int selLength)
{
    if (key == kKeyEnter)
        return KeyVerdict::ApplyPage;
    if (key == kKeyBackspace)
        return KeyVerdict::Accept;
    // Control characters and anything an 8-bit script cannot hold.
    if (key < 0x20 || key == 0x7F || key > 0xFF)
        return KeyVerdict::Refuse;
    return textLength < 1 || selLength > 0 ? KeyVerdict::Accept : KeyVerdict::Refuse;
}

int BlockSizeValue(std::string_view text)
{
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        if (value > 99999)
            break; // the box holds two digits; never overflow on odd input
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace varkel
