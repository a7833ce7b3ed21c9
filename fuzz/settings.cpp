// The settings store: a write followed by a read returns what was written,
// every key the write does not own keeps its value, every line it does not
// own survives byte for byte, a refused write leaves the file alone, and no
// temporary file is left behind.
// Targets: src/app/profile.cpp src/app/settings.cpp
//
// Input: an options byte (bit 0: the file exists; bit 1: also write the value
// as a number; bit 2: also read every setting and the frame placement), then
// the file, the section, the key and the value, separated by NUL bytes.

#include "support.h"

#include "app/profile.h"
#include "app/settings.h"

#include <filesystem>
#include <optional>

using namespace varkel;

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view withoutBom(std::string_view text)
{
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? text.substr(3) : text;
}

// A key line of the file as the reader sees it: its section, its name and
// its line number.
struct KeyLine {
    std::string_view section;
    std::string_view key;
    std::size_t line;
};

std::vector<KeyLine> keyLines(const std::vector<std::string_view> &lines)
{
    std::vector<KeyLine> keys;
    std::optional<std::string_view> section;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view t = TrimProfileBlanks(lines[i]);
        if (t.empty() || t.front() == ';' || t.front() == '#')
            continue;
        if (t.front() == '[') {
            if (const std::size_t close = t.find(']'); close != std::string_view::npos)
                section = TrimProfileBlanks(t.substr(1, close - 1));
            continue;
        }
        const std::size_t eq = lines[i].find('=');
        if (eq == std::string_view::npos || !section)
            continue;
        const std::string_view key = TrimProfileBlanks(lines[i].substr(0, eq));
        if (!key.empty())
            keys.push_back({*section, key, i});
    }
    return keys;
}

// Whether the store may refuse this write: a name it could not read back.
bool writable(std::string_view section, std::string_view key, std::string_view value)
{
    const auto breaks = [](std::string_view s) {
        return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
    };
    return !section.empty() && !key.empty() && TrimProfileBlanks(section) == section && TrimProfileBlanks(key) == key && !breaks(section) &&
           !breaks(key) && !breaks(value) && section.find(']') == std::string_view::npos &&
           key.find('=') == std::string_view::npos && key.front() != '[' && key.front() != ';' &&
           key.front() != '#';
}

// Whether a read gives back exactly the value written: values that begin or
// end with blanks or stand between double quotes are left to the unit tests.
bool readsBackVerbatim(std::string_view value)
{
    if (value.empty())
        return true;
    if (isBlank(value.front()) || isBlank(value.back()))
        return false;
    return !(value.size() >= 2 && value.front() == '"' && value.back() == '"');
}

void checkNoTemporaryFile(const std::string &folder)
{
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        FUZZ_CHECK(entry.path().filename() == std::string(kIniFileName));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size);
    const bool exists = input.option(0);
    const std::string_view before = exists ? input.part(0) : std::string_view();
    const std::string_view section = input.part(1), key = input.part(2), value = input.part(3);

    const std::string &folder = fuzz::scratchFolder();
    const std::string path = folder + "/" + std::string(kIniFileName);
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (exists)
        fuzz::writeFile(path, before);

    const bool accepted = WriteProfileString(section, key, value, path);
    checkNoTemporaryFile(folder);
    const bool valid = writable(section, key, value);
    if (!accepted || !valid) {
        // Refused: nothing changed on disk.
        FUZZ_CHECK(!valid || !accepted);
        FUZZ_CHECK(!accepted);
        FUZZ_CHECK(std::filesystem::exists(path) == exists);
        if (exists)
            FUZZ_CHECK(fuzz::readFile(path) == before);
        return 0;
    }

    const std::string after = fuzz::readFile(path);
    const ProfileFile oldFile{std::string(before)}, newFile{after};

    // The value reads back.
    if (readsBackVerbatim(value)) {
        FUZZ_CHECK(newFile.value(section, key) == std::string(value));
        FUZZ_CHECK(GetProfileString(section, key, "default", path) == value.substr(0, kProfileStringMax));
    }

    // The file keeps its byte order mark, and every line but the key's own
    // survives in order, with at most three lines added (a blank line, the
    // section and the key).
    FUZZ_CHECK((withoutBom(before).size() != before.size()) == (withoutBom(after).size() != after.size()));
    const std::vector<std::string_view> oldLines = fuzz::splitLines(withoutBom(before));
    const std::vector<std::string_view> newLines = fuzz::splitLines(withoutBom(after));
    const std::vector<KeyLine> oldKeys = keyLines(oldLines);
    std::optional<std::size_t> owned;
    for (const KeyLine &k : oldKeys)
        if (ProfileNamesEqual(k.section, section) && ProfileNamesEqual(k.key, key)) {
            owned = k.line;
            break;
        }
    std::vector<std::string_view> kept;
    for (std::size_t i = 0; i < oldLines.size(); ++i)
        if (!owned || i != *owned)
            kept.push_back(oldLines[i]);
    FUZZ_CHECK(fuzz::isSubsequence(kept, newLines));
    FUZZ_CHECK(newLines.size() <= oldLines.size() + 3);
    if (owned)
        FUZZ_CHECK(newLines.size() == oldLines.size());

    // Every other key reads as before.
    for (const KeyLine &k : oldKeys)
        if (!(ProfileNamesEqual(k.section, section) && ProfileNamesEqual(k.key, key)))
            FUZZ_CHECK(oldFile.value(k.section, k.key) == newFile.value(k.section, k.key));

    // Writing the same value again changes nothing.
    FUZZ_CHECK(WriteProfileString(section, key, value, path));
    FUZZ_CHECK(fuzz::readFile(path) == after);

    if (input.option(1)) {
        unsigned bits = 0;
        for (char c : value)
            bits = bits * 31u + static_cast<unsigned char>(c);
        const int number = static_cast<int>(bits);
        FUZZ_CHECK(WriteProfileInt(section, key, number, path));
        FUZZ_CHECK(GetProfileInt(section, key, number ^ 1, path) == number);
        checkNoTemporaryFile(folder);
    }
    if (input.option(2)) {
        (void)ReadSettings(path);
        for (const int screen : {0, 1, 20000})
            (void)ReadFrameGeometry(path, screen, screen * 3 / 4);
    }
    return 0;
}
