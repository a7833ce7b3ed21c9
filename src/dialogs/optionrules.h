#pragma once
// The rules of the options dialog that need no widget: which colour rows of
// the syntax page are enabled, and what the two small text boxes of the
// comment-block page do with a typed key.

#include <array>
#include <string_view>

namespace varkel {

// Colour rows on the syntax page; row k shows keyword class k + 1.
inline constexpr int kSyntaxColorRows = 8;
// Row of the "Strings" colour, the one "Color String Contents" switches off.
inline constexpr int kStringColorRow = 7;

struct SyntaxPageEnables {
    std::array<bool, kSyntaxColorRows> rowEnabled{};
    bool colorStringEnabled = false;
};

// Enabled rows for a colouring mode (0 none, 1 by character, 2 by line) and
// the state of "Color String Contents (slower)". "Plain Text" is always
// enabled; with no colouring every other row and the string box are off;
// otherwise the string row is off while string contents are coloured word by
// word, because strings then take no colour of their own.
SyntaxPageEnables SyntaxPageRules(int syntaxType, bool colorStringChecked);

// What a text box does with a typed character.
enum class KeyVerdict {
    Accept,    // the character goes into the box
    Refuse,    // the character is dropped
    ApplyPage, // Enter: the current page is applied, nothing is inserted
};

// Key codes the filters know besides printable characters.
inline constexpr char32_t kKeyBackspace = 0x08;
inline constexpr char32_t kKeyEnter = 0x0D;

// Block size box: digits and Backspace only, at most two characters; a
// further digit only when it replaces selected text.
KeyVerdict FilterBlockSizeKey(char32_t key, int textLength, int selLength);

// Block character box: one character. Once it holds one, further characters
// are refused unless they replace selected text. Characters outside Latin-1
// are refused, since the block goes into an 8-bit script.
KeyVerdict FilterComCharKey(char32_t key, int textLength, int selLength);

// Value of the block size box: its leading digits; an empty box gives 0.
int BlockSizeValue(std::string_view text);

} // namespace varkel
