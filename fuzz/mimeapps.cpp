// The mimeapps.list merge: no line of another application or group is lost,
// the type's line names our entry first and keeps the applications it named,
// and merging twice gives the same text as merging once.
// Targets: src/dialogs/desktopfiles.cpp
//
// Input: an options byte (bit 0: take the type and entry from the input
// rather than Varkel's own), then the file, the type and the entry, separated
// by NUL bytes.

#include "support.h"

#include "dialogs/desktopfiles.h"

#include <algorithm>

using namespace varkel;

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

// Lines split after each line feed, each without its line end and any
// carriage returns before it (a last line without a line end gets the file's
// own one when a line is added after it).
std::vector<std::string_view> lines(std::string_view text)
{
    std::vector<std::string_view> out;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lf = text.find('\n', start);
        std::size_t end = lf == std::string_view::npos ? text.size() : lf;
        std::string_view line = text.substr(start, end - start);
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        out.push_back(line);
        start = lf == std::string_view::npos ? text.size() : lf + 1;
    }
    return out;
}

struct Parsed {
    std::vector<std::string_view> foreign;    // every line but the type's own defaults
    std::vector<std::string_view> typeLines;  // the type's lines in [Default Applications]
};

Parsed parse(std::string_view text, std::string_view mimeType)
{
    Parsed p;
    bool inDefaults = false;
    for (std::string_view line : lines(text)) {
        const std::string_view content = trim(line);
        if (!content.empty() && content.front() == '[') {
            const std::size_t close = content.find(']');
            inDefaults = close != std::string_view::npos && content.substr(1, close - 1) == "Default Applications";
        } else if (inDefaults && !content.empty() && content.front() != '#') {
            const std::size_t eq = content.find('=');
            if (eq != std::string_view::npos && trim(content.substr(0, eq)) == mimeType) {
                p.typeLines.push_back(content);
                continue;
            }
        }
        p.foreign.push_back(line);
    }
    return p;
}

std::vector<std::string_view> ids(std::string_view value)
{
    std::vector<std::string_view> out;
    while (!value.empty()) {
        const std::size_t end = value.find(';');
        const std::string_view id = trim(value.substr(0, end));
        if (!id.empty())
            out.push_back(id);
        value = end == std::string_view::npos ? std::string_view() : value.substr(end + 1);
    }
    return out;
}

// A type or entry name that can stand in a line as a key or an entry.
bool plainName(std::string_view s)
{
    return !s.empty() && trim(s) == s && s.find_first_of(std::string_view("=;[#\r\n\0", 8)) == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size);
    const std::string_view before = input.part(0);
    std::string_view mimeType = kScriptMimeType, desktopId = kDesktopFileName;
    if (input.option(0)) {
        mimeType = input.part(1);
        desktopId = input.part(2);
    }
    const std::string after = SetDefaultApplication(before, mimeType, desktopId);
    if (!plainName(mimeType) || !plainName(desktopId))
        return 0;

    const Parsed old = parse(before, mimeType), merged = parse(after, mimeType);
    // No foreign line is lost or changed, and only the type's line and
    // perhaps a group for it are new.
    FUZZ_CHECK(fuzz::isSubsequence(old.foreign, merged.foreign));
    FUZZ_CHECK(merged.foreign.size() <= old.foreign.size() + 1);

    // The type's lines name our entry first, then the others they named.
    FUZZ_CHECK(!merged.typeLines.empty());
    FUZZ_CHECK(merged.typeLines.size() == std::max<std::size_t>(old.typeLines.size(), 1));
    for (std::size_t i = 0; i < merged.typeLines.size(); ++i) {
        const std::string_view line = merged.typeLines[i];
        const std::vector<std::string_view> now = ids(line.substr(line.find('=') + 1));
        FUZZ_CHECK(!now.empty() && now.front() == desktopId);
        FUZZ_CHECK(std::count(now.begin(), now.end(), desktopId) == 1);
        if (i < old.typeLines.size()) {
            const std::string_view was = old.typeLines[i];
            for (std::string_view id : ids(was.substr(was.find('=') + 1)))
                FUZZ_CHECK(std::find(now.begin(), now.end(), id) != now.end());
        }
    }

    FUZZ_CHECK(SetDefaultApplication(after, mimeType, desktopId) == after);
    return 0;
}
