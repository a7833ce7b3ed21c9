#include "app/profile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace varkel {

namespace {

// --- Parsing -----------------------------------------------------------------

enum class LineKind { Blank, Comment, Section, Key, Other };

struct Line {
    std::size_t begin = 0;   // first byte of the line
    std::size_t end = 0;     // end of its content (before the line break)
    std::size_t next = 0;    // first byte of the next line
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name, trimmed
    std::size_t valueBegin = 0; // Key: just after the '='
    std::string_view value;  // Key: the value, trimmed
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

// Start of the first line: a UTF-8 byte order mark is not part of the text.
std::size_t textStart(std::string_view text)
{
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

// Reads the line starting at pos (pos < text.size()). CR LF, LF and a lone CR
// all end a line.
Line readLine(std::string_view text, std::size_t pos)
{
    Line line;
    line.begin = pos;
    std::size_t e = pos;
    while (e < text.size() && text[e] != '\n' && text[e] != '\r')
        ++e;
    line.end = e;
    if (e < text.size())
        line.next = (text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ? e + 2 : e + 1;
    else
        line.next = e;

    std::string_view content = text.substr(pos, e - pos);
    std::string_view t = trim(content);
    if (t.empty()) {
        line.kind = LineKind::Blank;
    } else if (t.front() == ';' || t.front() == '#') {
        line.kind = LineKind::Comment;
    } else if (t.front() == '[') {
        std::size_t close = t.find(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = trim(t.substr(1, close - 1));
        }
    } else if (std::size_t eq = content.find('='); eq != std::string_view::npos) {
        std::string_view name = trim(content.substr(0, eq));
        if (!name.empty()) {
            line.kind = LineKind::Key;
            line.name = name;
            line.valueBegin = pos + eq + 1;
            line.value = trim(content.substr(eq + 1));
        }
    }
    return line;
}

// Calls f(line) for every line; f returns false to stop.
template <typename F>
void forEachLine(std::string_view text, F f)
{
    for (std::size_t pos = textStart(text); pos < text.size();) {
        Line line = readLine(text, pos);
        if (!f(line))
            return;
        pos = line.next;
    }
}

std::optional<std::string_view> findValue(std::string_view text, std::string_view section,
                                          std::string_view key)
{
    std::optional<std::string_view> found;
    bool inSection = false;
    forEachLine(text, [&](const Line &line) {
        if (line.kind == LineKind::Section)
            inSection = sameName(line.name, section);
        else if (inSection && line.kind == LineKind::Key && sameName(line.name, key)) {
            found = line.value;
            return false;
        }
        return true;
    });
    return found;
}

int parseLeadingInt(std::string_view s)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    long long n = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        n = n * 10 + (s[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1)
            n = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-n);
    return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

// --- Editing -----------------------------------------------------------------

bool isLineBreak(char c) { return c == '\n' || c == '\r'; }

// The line break the file already uses (that of its first line), LF for a
// file that has none yet.
std::string_view lineBreakOf(std::string_view text)
{
    std::size_t e = text.find_first_of("\r\n");
    if (e == std::string_view::npos)
        return "\n";
    if (text[e] == '\r')
        return (e + 1 < text.size() && text[e + 1] == '\n') ? "\r\n" : "\r";
    return "\n";
}

bool endsWithBlankLine(std::string_view text)
{
    // text ends with a line break; is the line before it empty?
    std::size_t n = text.size();
    if (n >= 2 && text.substr(n - 2) == "\r\n")
        n -= 2;
    else
        n -= 1;
    return n == textStart(text) || isLineBreak(text[n - 1]);
}

// Returns text with [section] key set to value.
std::string setValue(std::string text, std::string_view section, std::string_view key,
                     std::string_view value)
{
    const std::string eol(lineBreakOf(text));
    bool inSection = false;
    int sectionsSeen = 0;          // matching sections met so far
    std::optional<std::size_t> insertAt; // after the last key of the first matching section
    std::optional<Line> keyLine;
    forEachLine(text, [&](const Line &line) {
        if (line.kind == LineKind::Section) {
            inSection = sameName(line.name, section);
            if (inSection && ++sectionsSeen == 1)
                insertAt = line.next;
        } else if (inSection && line.kind == LineKind::Key) {
            if (sameName(line.name, key)) {
                keyLine = line;
                return false;
            }
            if (sectionsSeen == 1)
                insertAt = line.next;
        }
        return true;
    });

    if (keyLine) {
        // "Key = old" becomes "Key = new": the spacing after '=' stays unless
        // the new value is empty (no trailing blanks are left behind).
        std::size_t from = keyLine->valueBegin;
        while (!value.empty() && from < keyLine->end && isBlank(text[from]))
            ++from;
        text.replace(from, keyLine->end - from, value);
        return text;
    }

    std::string entry;
    entry.append(key).append("=").append(value).append(eol);
    if (insertAt) {
        std::size_t at = *insertAt;
        if (at == text.size() && at > 0 && !isLineBreak(text.back())) {
            text += eol;
            at = text.size();
        }
        text.insert(at, entry);
        return text;
    }

    if (text.size() > textStart(text)) {
        if (!isLineBreak(text.back()))
            text += eol;
        if (!endsWithBlankLine(text))
            text += eol;
    }
    text.append("[").append(section).append("]").append(eol).append(entry);
    return text;
}

bool validName(std::string_view name)
{
    return !name.empty() && trim(name).size() == name.size() &&
           name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// --- Files -------------------------------------------------------------------

enum class ReadResult { Ok, Missing, Failed };

ReadResult readFile(const std::string &path, std::string &out)
{
    out.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return ReadResult::Failed;
        }
        if (n == 0)
            break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ReadResult::Ok;
}

bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string dirOf(const std::string &path)
{
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// The file a path finally names: symbolic links are followed, also when the
// last one points to a file that does not exist yet.
std::string followLinks(std::string path)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1, '\0');
        ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size())
            return path;
        target.resize(static_cast<std::size_t>(n));
        path = (!target.empty() && target.front() == '/') ? target : dirOf(path) + "/" + target;
    }
    return path;
}

bool rewriteInPlace(const std::string &path, std::string_view data)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, data) && ::ftruncate(fd, static_cast<off_t>(data.size())) == 0 &&
              ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// Replaces (or creates) path with data through a temporary file beside it.
bool replaceFile(const std::string &path, std::string_view data, const struct stat *existing)
{
    static std::atomic<unsigned> counter{0};
    const std::string dir = dirOf(path);
    const std::string base = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tmp = dir + "/." + base + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return existing && rewriteInPlace(path, data);

    bool ok = true;
    if (existing) {
        ok = ::fchmod(fd, existing->st_mode & 07777) == 0;
        if (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid())
            (void)!::fchown(fd, existing->st_uid, existing->st_gid);
    }
    ok = ok && writeAll(fd, data) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

} // namespace

// --- ProfileFile ---------------------------------------------------------------

ProfileFile ProfileFile::load(const std::string &path)
{
    std::string text;
    if (readFile(path, text) != ReadResult::Ok)
        text.clear();
    return ProfileFile(std::move(text));
}

std::vector<std::string> ProfileFile::sections() const
{
    std::vector<std::string> names;
    forEachLine(m_text, [&](const Line &line) {
        if (line.kind == LineKind::Section)
            names.emplace_back(line.name);
        return true;
    });
    return names;
}

bool ProfileNamesEqual(std::string_view a, std::string_view b)
{
    return sameName(a, b);
}

std::optional<std::string> ProfileFile::value(std::string_view section, std::string_view key) const
{
    if (auto v = findValue(m_text, section, key))
        return std::string(*v);
    return std::nullopt;
}

std::string ProfileFile::getString(std::string_view section, std::string_view key,
                                   std::string_view def) const
{
    std::string_view v = findValue(m_text, section, key).value_or(def);
    return std::string(v.substr(0, kProfileStringMax));
}

int ProfileFile::getInt(std::string_view section, std::string_view key, int def) const
{
    auto v = findValue(m_text, section, key);
    if (!v || v->empty())
        return def;
    return parseLeadingInt(v->substr(0, kProfileStringMax));
}

// --- Free functions ------------------------------------------------------------

std::string GetProfileString(std::string_view section, std::string_view key, std::string_view def,
                             const std::string &path)
{
    return ProfileFile::load(path).getString(section, key, def);
}

int GetProfileInt(std::string_view section, std::string_view key, int def, const std::string &path)
{
    return ProfileFile::load(path).getInt(section, key, def);
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string &path)
{
    if (!validName(section) || !validName(key) || section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';' ||
        key.front() == '#' || value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return false;
    if (path.empty())
        return false;

    const std::string target = followLinks(path);
    std::string text;
    struct stat st;
    const ReadResult read = readFile(target, text);
    if (read == ReadResult::Failed)
        return false; // never replace a file we could not read: its other settings would be lost
    const bool exists = read == ReadResult::Ok;
    if (exists && ::stat(target.c_str(), &st) != 0)
        return false;

    std::string updated = setValue(text, section, key, value);
    if (exists && updated == text)
        return true;
    // A write-protected settings file stays as it is, even where its folder
    // would allow replacing it.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return false;
    return replaceFile(target, updated, exists ? &st : nullptr);
}

bool WriteProfileInt(std::string_view section, std::string_view key, int value, const std::string &path)
{
    return WriteProfileString(section, key, std::to_string(value), path);
}

} // namespace varkel
