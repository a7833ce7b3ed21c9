// The association store: any stored text opens and reads without fault, a
// value set reads back equal, a refused write leaves the store alone, no key
// is lost, and registering an extension makes it associated.
// Targets: src/dialogs/regstore.cpp src/dialogs/fileassoc.cpp
//
// Input: an options byte (bit 0: the store exists; bit 1: set a number
// rather than a string; bit 2: also register the value name as an
// extension), then the store, the key, the value name and the value,
// separated by NUL bytes.

#include "support.h"

#include "dialogs/fileassoc.h"
#include "dialogs/regstore.h"

#include <algorithm>
#include <filesystem>

using namespace varkel;

namespace {

// Reads every value of a key in each way the program does.
void readKey(const RegStore &store, std::string_view key, std::string_view valueName)
{
    RegStore::Key opened;
    if (store.OpenKey(key, opened) != kRegSuccess)
        return;
    for (const std::string_view name : {std::string_view(), valueName}) {
        int type = 0;
        std::string raw;
        if (RegStore::QueryValueInfo(opened, name, type, raw) == kRegSuccess) {
            FUZZ_CHECK(type == kRegSz || type == kRegDword || type == kRegBinary);
            if (type == kRegSz)
                FUZZ_CHECK(RegStore::StringContent(raw).size() + 2 == raw.size());
            if (type == kRegDword)
                (void)RegStore::DwordContent(raw);
        }
        RegValue value;
        const long status = QueryRegValue(opened, name, value);
        FUZZ_CHECK(status == kRegSuccess || status == kRegNotFound || status == kRegUnsupportedType);
        FUZZ_CHECK((status == kRegSuccess) != std::holds_alternative<std::monostate>(value));
        (void)GetRegString(key, name, store);
    }
}

bool breaks(std::string_view s)
{
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size);
    const std::string_view key = input.part(1), valueName = input.part(2), text = input.part(3);

    const std::string folder = fuzz::scratchFolder() + "/association";
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    const std::string path = folder + "/Varkel/classes.ini";
    const std::string_view before = input.part(0);
    if (input.option(0)) {
        std::filesystem::create_directories(folder + "/Varkel");
        fuzz::writeFile(path, before);
    }
    const RegStore store(path);

    // Every key the store lists opens, and each of its values reads.
    const std::vector<std::string> keys = store.Keys();
    for (const std::string &k : keys) {
        if (k.empty())
            continue;
        RegStore::Key opened;
        FUZZ_CHECK(store.OpenKey(k, opened) == kRegSuccess);
        readKey(store, k, valueName);
    }
    readKey(store, key, valueName);

    // A value set reads back as set; a refused one changes nothing.
    const std::uint32_t number = static_cast<std::uint32_t>(text.size()) * 2654435761u;
    const bool asNumber = input.option(1);
    const bool accepted = asNumber ? store.SetDword(key, valueName, number) : store.SetString(key, valueName, text);
    if (!accepted) {
        FUZZ_CHECK(std::filesystem::exists(path) == input.option(0));
        if (input.option(0))
            FUZZ_CHECK(fuzz::readFile(path) == before);
    } else {
        FUZZ_CHECK(!key.empty() && !breaks(key) && !breaks(valueName));
        FUZZ_CHECK(asNumber || !breaks(text));
        RegStore::Key opened;
        FUZZ_CHECK(store.OpenKey(key, opened) == kRegSuccess);
        RegValue value;
        FUZZ_CHECK(QueryRegValue(opened, valueName, value) == kRegSuccess);
        if (asNumber)
            FUZZ_CHECK(std::get<std::uint32_t>(value) == number);
        else
            FUZZ_CHECK(std::get<std::string>(value) == text);
        // No key is lost, at most the one written is new.
        const std::vector<std::string> after = store.Keys();
        FUZZ_CHECK(fuzz::isSubsequence(keys, after));
        FUZZ_CHECK(after.size() <= keys.size() + 1);
    }

    // Registering an extension in a private set of folders works, and works
    // again over what it wrote. (Whether the desktop then opens the files with
    // Varkel depends on the MIME database tools of the machine.)
    if (input.option(2)) {
        AssociationPlaces places;
        places.programDir = folder + "/program";
        places.storePath = path;
        places.desktop.dataHome = folder + "/data";
        places.desktop.configHome = folder + "/config";
        places.desktop.programPath = places.programDir + "/varkel";
        const bool registered = RegisterFileType(valueName, places);
        if (!IsValidExtension(valueName))
            FUZZ_CHECK(!registered);
        if (registered)
            FUZZ_CHECK(RegisterFileType(valueName, places));
    }
    return 0;
}
