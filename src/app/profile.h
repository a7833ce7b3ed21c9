#pragma once
// Varkel's settings live in one INI "profile" file: "[Section]" headers
// followed by "Key=Value" lines. This is our own reader and writer for it.
//
// Reading: section and key names match without regard to (ASCII) letter case;
// spaces and tabs around names and values are ignored; lines starting with ';'
// or '#' are comments; lines that are neither a header nor "key=value", and
// keys before the first header, are ignored. When a key occurs more than once
// (also in a repeated section) the first occurrence wins. A UTF-8 byte order
// mark at the start is skipped. One pair of double quotes around a value is
// taken off (so that a value may begin or end with blanks), and the value is
// cut to 255 characters.
//
// Writing: one key per call, straight to disk. Only that key's line changes
// (or one line is added); every other byte of the file is kept. A value that
// the read would change (blanks at either end, a double quote at both ends)
// is written in double quotes. The file is replaced through WriteFileSafely:
// a failure at any step leaves it exactly as it was. A file that is not a
// regular file is never read nor written.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varkel {

// Longest value a read returns; longer stored text is cut to this length.
constexpr std::size_t kProfileStringMax = 255;

// Value of [section] key, or def when the file, section or key is missing.
// The result is cut to 255 characters.
std::string GetProfileString(std::string_view section, std::string_view key, std::string_view def,
                             const std::string &path);

// Integer value of [section] key: an optional sign followed by the leading
// decimal digits of the value (saturated to the int range). A missing key or an
// empty value gives def; a value starting with any other character gives 0.
int GetProfileInt(std::string_view section, std::string_view key, int def, const std::string &path);

// Writes one key (see above); creates the file when absent; a write that would
// not change the file leaves it alone and succeeds. Returns false when
// nothing could be written (the file is then untouched) or when section, key or
// value could not be read back as written (a line break or NUL anywhere, '=' in
// the key, ']' in the section, an empty name).
bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string &path);

// Writes `stored` as the key's stored text, adding no quotes: for stores that
// give their values a syntax of their own (read back with ProfileFile::value).
bool WriteProfileStoredValue(std::string_view section, std::string_view key, std::string_view stored,
                             const std::string &path);

// Writes the decimal text of value.
bool WriteProfileInt(std::string_view section, std::string_view key, int value, const std::string &path);

// One reading of a profile file, for callers that read many keys at once.
// Lookups follow the same rules as GetProfileString / GetProfileInt.
// s without the spaces and tabs at either end, as names and values are read.
std::string_view TrimProfileBlanks(std::string_view s);

// Whether two section or key names are the same name: letter case aside.
bool ProfileNamesEqual(std::string_view a, std::string_view b);

class ProfileFile
{
public:
    ProfileFile() = default;
    explicit ProfileFile(std::string text) : m_text(std::move(text)) {}

    // Reads the file; a missing or unreadable file gives an empty profile.
    static ProfileFile load(const std::string &path);

    // The stored text (spaces around it removed, quotes kept, not cut), or
    // nothing when missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string getString(std::string_view section, std::string_view key, std::string_view def) const;
    int getInt(std::string_view section, std::string_view key, int def) const;

    // Section names in file order, as written.
    std::vector<std::string> sections() const;

    const std::string &text() const { return m_text; }

private:
    std::string m_text;
};

} // namespace varkel
