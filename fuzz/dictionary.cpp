// The data-file reader and the keyword dictionary: any five data files build
// without fault, a failed build says how far it got, and every word the build
// listed is found again in its class.
// Targets: src/language/dictionary.cpp
//
// Input: an options byte (bits 0-1: the set Q1, Q2, Q3 or Q4), then the
// command, item, item-list, key-name and cvar files, separated by NUL bytes;
// files past the last part are missing.

#include "support.h"

#include "language/dictionary.h"

#include <filesystem>

using namespace varkel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size);
    const std::string set = "Q" + std::to_string((input.options() & 3u) + 1);
    const std::string folder = fuzz::scratchFolder() + "/data";
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::filesystem::create_directories(folder);
    const char *const names[] = {"cmdlst.dat", "items.dat", "ItemList.dat", "keynames.dat", "cvrlst.dat"};
    for (std::size_t i = 0; i < std::size(names) && i < input.partCount(); ++i)
        fuzz::writeFile(folder + "/" + set + names[i], input.part(i));

    GameDictionary dict;
    const Error error = BuildDictionary(dict, folder, set);
    FUZZ_CHECK(dict.Set() == set);
    FUZZ_CHECK(!error == (dict.completedStep() == BuildStep::Complete));
    if (input.partCount() < std::size(names))
        FUZZ_CHECK(error);

    // The words listed are keywords: commands in their own class, the rest
    // in whichever class they were met first.
    for (const std::string &command : dict.Commands()) {
        FUZZ_CHECK(dict.Lookup(command) == Command);
        FUZZ_CHECK(dict.Lookup(toUpperLatin1(command)) == Command);
        std::string word = toUpperLatin1(command);
        int cls = 0;
        FUZZ_CHECK(dict.Lookup(word, cls) && cls == Command && word == command);
    }
    for (const std::string &cvar : dict.Cvars())
        FUZZ_CHECK(dict.Lookup(cvar) >= Command && dict.Lookup(cvar) <= KeyName);

    // Once the key names are read, each finds its own slot (a blank line
    // names a slot with the empty name) and the list holds each once.
    if (dict.completedStep() >= BuildStep::KeyNames) {
        std::size_t named = 0;
        for (int slot = 0; slot < kDeviceSlotCount; ++slot) {
            const std::string &name = dict.KeyNames()[static_cast<std::size_t>(slot)];
            if (name.empty() && dict.KeyIndex(name) != slot)
                continue; // a slot without a name
            ++named;
            FUZZ_CHECK(dict.KeyIndex(name) == slot);
            FUZZ_CHECK(dict.KeyIndex(toUpperLatin1(name)) == slot);
            FUZZ_CHECK(dict.Lookup(name) >= Command && dict.Lookup(name) <= KeyName);
        }
        FUZZ_CHECK(dict.KeyNameList().size() == named);
    }

    for (const ItemEntry &item : dict.Items()) {
        FUZZ_CHECK(item.picture >= 2);
        const std::string insert = itemInsertText(set, item);
        FUZZ_CHECK(item.heading == insert.empty() || (set != "Q1" && set != "Q3" && item.text.empty()));
    }
    FUZZ_CHECK(dict.keywordCount() >= dict.Commands().size());
    return 0;
}
