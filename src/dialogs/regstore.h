#pragma once
// A small store of our own that holds file-type classes the way the Windows
// registry's class root does: keys named by backslash-separated paths
// ("Varkel.Config\shell\open\command"), each with named values and one
// default (unnamed) value.
//
// It is a profile-style text file: one "[key]" section per key, one line per
// value, the default value under the name "@":
//
//   [.cfg]
//   @="Varkel.Config"
//
// Strings are stored between double quotes, 32-bit numbers as
// "dword:" and eight hex digits; any other stored form is a value of a type
// the readers do not take. Key and value names match without regard to case.

#include "app/profile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace varkel {

// Status values, as the registry functions return them.
constexpr long kRegSuccess = 0;
constexpr long kRegNotFound = 2;
constexpr long kRegUnsupportedType = -1;

// Value types.
constexpr int kRegSz = 1;
constexpr int kRegDword = 4;
constexpr int kRegBinary = 3;

// A value read from the store: nothing, a string or a 32-bit number.
using RegValue = std::variant<std::monostate, std::string, std::uint32_t>;

class RegStore
{
public:
    // An open key: its name and the store as it was when the key was opened.
    struct Key {
        std::string name;
        ProfileFile data;
    };

    explicit RegStore(std::string path) : m_path(std::move(path)) {}
    const std::string &Path() const { return m_path; }

    // kRegSuccess and the key when the store holds it (with values of its own
    // or keys below it); kRegNotFound otherwise.
    long OpenKey(std::string_view key, Key &out) const;

    // The type and stored text of one value of an open key ("" names the
    // default value); kRegNotFound when the key has no such value.
    static long QueryValueInfo(const Key &key, std::string_view valueName, int &type, std::string &raw);
    // The content of a stored string or number (raw as QueryValueInfo gave it).
    static std::string StringContent(const std::string &raw);
    static std::uint32_t DwordContent(const std::string &raw);

    // Creates the key as needed and sets one of its values, creating the
    // store's folder too. False when nothing could be written (the store is
    // then unchanged) or when the value cannot be stored (a line break or NUL
    // in it, an empty key, "]" or "=" in a name).
    bool SetString(std::string_view key, std::string_view valueName, std::string_view text) const;
    bool SetDword(std::string_view key, std::string_view valueName, std::uint32_t value) const;

    // The names of every key that holds values, in file order.
    std::vector<std::string> Keys() const;

private:
    bool SetRaw(std::string_view key, std::string_view valueName, const std::string &raw) const;

    std::string m_path;
};

} // namespace varkel
