#include "app/recentfiles.h"

#include "app/profile.h"
#include "app/settings.h"

#include <vector>

namespace varkel {

namespace {

std::string recentKey(int i) { return "RecentFile" + std::to_string(i); }

} // namespace

std::vector<std::size_t> CharacterStarts(std::string_view s)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size();) {
        starts.push_back(i);
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? (c <= 0xEF ? 3 : 1) : c >= 0xC2 ? 2 : 1;
        if (len > 1) {
            bool valid = i + len <= s.size();
            for (std::size_t k = 1; valid && k < len; ++k)
                valid = (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
            if (!valid)
                len = 1;
        }
        i += len;
    }
    return starts;
}

RecentList SetRecentFilesList(const std::string &path, std::string_view action, const std::string &iniPath)
{
    const ProfileFile ini = ProfileFile::load(iniPath);
    RecentList list;
    int count = 0;
    int found = -1; // index of the entry equal to path; the last one wins
    for (int i = 1; i <= kRecentFileCount; ++i) {
        // Read as stored: a path may begin or end with blanks (the store keeps
        // them in quotes).
        std::string entry = ini.getString(kSectionRecentFiles, recentKey(i), "");
        if (entry.empty())
            continue; // close up gaps left by a hand-edited file
        if (entry == path)
            found = count;
        list[static_cast<std::size_t>(count++)] = std::move(entry);
    }
    if (path.empty())
        return list;

    if (action != "Add") {
        if (found >= 0) {
            for (int i = found; i < count - 1; ++i)
                list[static_cast<std::size_t>(i)] = std::move(list[static_cast<std::size_t>(i + 1)]);
            list[static_cast<std::size_t>(--count)].clear();
        }
    } else if (path.find_first_of("\r\n") == std::string::npos) {
        if (found < 0) {
            if (count < kRecentFileCount)
                ++count;
            found = count - 1; // the last kept slot; with five entries the oldest is dropped
        }
        for (int i = found; i > 0; --i)
            list[static_cast<std::size_t>(i)] = std::move(list[static_cast<std::size_t>(i - 1)]);
        list[0] = path;
    }

    for (int i = 1; i <= kRecentFileCount; ++i)
        WriteProfileString(kSectionRecentFiles, recentKey(i), list[static_cast<std::size_t>(i - 1)], iniPath);
    return list;
}

std::string RecentFileCaption(int i, const std::string &entry)
{
    std::string caption = "&" + std::to_string(i);
    if (!entry.empty())
        caption += " " + TruncLongPath(entry);
    return caption;
}

std::string TruncLongPath(const std::string &path)
{
    constexpr std::size_t kLimit = 32;
    constexpr double kThreshold = 0.6;
    const std::vector<std::size_t> starts = CharacterStarts(path);
    const std::size_t length = starts.size();
    if (length < kLimit)
        return path;

    // Byte offset of character n (n may equal length).
    auto at = [&](std::size_t n) { return n < length ? starts[n] : path.size(); };

    std::string candidate;
    std::size_t candidateLength = 0;
    std::size_t lastSlash = path.rfind('/');
    if (lastSlash != std::string::npos) {
        const std::string tail = path.substr(lastSlash);
        const std::size_t tailLength = CharacterStarts(tail).size();
        for (std::size_t n = 0; n < length; ++n) {
            if (path[starts[n]] != '/')
                continue;
            const std::size_t formedLength = n + 1 + 3 + tailLength;
            if (formedLength >= kLimit)
                break;
            candidate = path.substr(0, at(n + 1)) + "..." + tail;
            candidateLength = formedLength;
        }
    }
    if (candidateLength >= kLimit * kThreshold && candidateLength <= kLimit)
        return candidate;
    constexpr std::size_t kHead = kLimit / 2 - 3, kTail = kLimit / 2;
    return path.substr(0, at(kHead)) + "..." + path.substr(at(length - kTail));
}

} // namespace varkel
