// Recent files: a path added reads back equal at the top of the list, the
// other entries keep their order, a path taken out leaves the others in
// order, and a shortened caption never exceeds its length.
// Targets: src/app/recentfiles.cpp
//
// Input: an options byte (bit 0: the settings file exists), then the
// settings file and the path, separated by a NUL byte.

#include "support.h"

#include "app/recentfiles.h"
#include "app/settings.h"

#include <algorithm>
#include <filesystem>

using namespace varkel;

namespace {

// A path the settings file holds as it is: no line break or NUL, not longer
// than a stored value may be, and (left to the unit tests) no blanks at its
// ends or double quotes around it.
bool storable(std::string_view path)
{
    if (path.empty() || path.size() > 255 || path.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return false;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (blank(path.front()) || blank(path.back()))
        return false;
    return !(path.size() >= 2 && path.front() == '"' && path.back() == '"');
}

std::vector<std::string> entries(const RecentList &list)
{
    std::vector<std::string> out;
    for (const std::string &e : list)
        if (!e.empty())
            out.push_back(e);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size);
    const std::string path(input.part(1));

    const std::string ini = fuzz::scratchFolder() + "/" + std::string(kIniFileName);
    std::error_code ec;
    std::filesystem::remove(ini, ec);
    if (input.option(0))
        fuzz::writeFile(ini, input.part(0));

    const std::string shortened = TruncLongPath(path);
    FUZZ_CHECK(CharacterStarts(shortened).size() <= 32);
    if (CharacterStarts(path).size() < 32)
        FUZZ_CHECK(shortened == path);
    FUZZ_CHECK(RecentFileCaption(3, path).rfind("&3", 0) == 0);

    // The list as stored; reading it writes nothing.
    const std::string stored = fuzz::readFile(ini);
    const RecentList before = SetRecentFilesList("", "Add", ini);
    FUZZ_CHECK(fuzz::readFile(ini) == stored);
    // Free entries come last.
    const std::vector<std::string> old = entries(before);
    for (std::size_t i = 0; i < old.size(); ++i)
        FUZZ_CHECK(before[i] == old[i]);

    const RecentList added = SetRecentFilesList(path, "Add", ini);
    const RecentList readBack = SetRecentFilesList("", "Add", ini);
    if (path.empty() || path.find_first_of("\r\n") != std::string::npos) {
        FUZZ_CHECK(entries(added) == old);
        return 0;
    }
    FUZZ_CHECK(added[0] == path);
    if (!storable(path))
        return 0;
    // At the top, the others after it in their old order. (An entry listed
    // twice in a hand-edited file: the last one equal to the path moves.)
    std::vector<std::string> expected = old;
    const auto last = std::find(expected.rbegin(), expected.rend(), path);
    if (last != expected.rend())
        expected.erase(std::next(last).base());
    expected.insert(expected.begin(), path);
    if (expected.size() > kRecentFileCount)
        expected.resize(kRecentFileCount);
    FUZZ_CHECK(entries(added) == expected);
    FUZZ_CHECK(entries(readBack) == expected);

    // Taken out again: the last entry equal to it goes (the one at the top
    // unless a hand-edited file listed it twice), the others stay in order.
    const RecentList removed = SetRecentFilesList(path, "Remove", ini);
    expected.erase(std::next(std::find(expected.rbegin(), expected.rend(), path)).base());
    FUZZ_CHECK(entries(removed) == expected);
    FUZZ_CHECK(entries(SetRecentFilesList("", "Add", ini)) == expected);
    return 0;
}
