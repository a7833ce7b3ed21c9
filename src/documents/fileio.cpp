#include "documents/fileio.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace varkel {

namespace {

unsigned g_faultSteps = 0;
int g_faultErr = 0;

// True, with errno set, when a test has asked this step to fail.
bool injectedFault(unsigned step)
{
    if (!(g_faultSteps & step))
        return false;
    errno = g_faultErr;
    return true;
}

Error errorFor(int err, const std::string &path)
{
    return Error{errorFromErrno(err), path};
}

// Owns a file descriptor; close() reports the result, because some file
// systems report a failed write only when the file is closed.
class FileHandle {
public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    int get() const { return m_fd; }
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, std::string_view bytes)
{
    off_t offset = 0;
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
        offset += n;
    }
    return true;
}

// The write step of a save; an injected fault leaves half the bytes written.
bool writeStep(int fd, std::string_view bytes)
{
    if (!(g_faultSteps & SaveStepWrite))
        return writeAll(fd, bytes);
    writeAll(fd, bytes.substr(0, bytes.size() / 2));
    return !injectedFault(SaveStepWrite);
}

bool flushStep(int fd)
{
    return !injectedFault(SaveStepFlush) && ::fsync(fd) == 0;
}

std::string directoryOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows symbolic links from path to the file that a save replaces. Sets
// `exists` (and `st` for it) when that file is already there. Returns an errno
// value, 0 on success; a missing file is not a failure.
int resolveTarget(const std::string &path, std::string &target, struct stat &st, bool &exists)
{
    target = path;
    exists = false;
    for (int hops = 0; hops < 40; ++hops) {
        if (::lstat(target.c_str(), &st) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode)) {
            exists = true;
            return 0;
        }
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink(target.c_str(), buffer, sizeof buffer);
        if (n < 0)
            return errno;
        if (static_cast<size_t>(n) == sizeof buffer)
            return ENAMETOOLONG;
        std::string dest(buffer, static_cast<size_t>(n));
        target = dest.starts_with('/') ? dest : directoryOf(target) + dest;
    }
    return ELOOP;
}

mode_t currentUmask()
{
    // Reading the mask means setting it; the program runs its saves on one thread.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Gives the temporary file the target's owner and permission bits (a new file
// gets the usual 0666 less the umask), writes the bytes and flushes them.
int fillTemporary(FileHandle &file, std::string_view bytes, const struct stat *original)
{
    const int fd = file.get();
    mode_t mode = 0666 & ~currentUmask();
    if (original) {
        // Owner first, as changing it may clear set-id bits; the group alone
        // may still be kept when the owner cannot be.
        if (::fchown(fd, original->st_uid, original->st_gid) != 0
            && ::fchown(fd, static_cast<uid_t>(-1), original->st_gid) != 0) {
            // The file stays ours; its permission bits are still copied.
        }
        mode = original->st_mode & 07777;
    }
    if (::fchmod(fd, mode) != 0 || !writeStep(fd, bytes) || !flushStep(fd) || !file.close())
        return errno;
    return 0;
}

// Makes a finished rename durable. Nothing is lost when this fails: the new
// content is already in place.
void syncDirectory(const std::string &dir)
{
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Last resort when the folder takes no new file: overwrite the target itself.
// The old bytes are held in memory and written back when the new ones fail.
Error rewriteInPlace(const std::string &target, std::string_view bytes, const std::string &path)
{
    ReadResult old = ReadFileBytes(target);
    if (old.error)
        return Error{old.error.code, path};
    FileHandle file(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (file.get() < 0)
        return errorFor(errno, path);
    // Overwriting first and cutting the tail afterwards needs no free space
    // as long as the new text is not longer than the old one.
    if (writeStep(file.get(), bytes) && ::ftruncate(file.get(), static_cast<off_t>(bytes.size())) == 0
        && flushStep(file.get()) && file.close())
        return {};
    const int err = errno;
    if (file.get() >= 0 && writeAll(file.get(), old.bytes)
        && ::ftruncate(file.get(), static_cast<off_t>(old.bytes.size())) == 0)
        ::fsync(file.get());
    return errorFor(err, path);
}

} // namespace

ReadResult ReadFileBytes(const std::string &path)
{
    ReadResult result;
    struct stat st;
    // Checking the kind first means a FIFO or a device is never opened.
    if (::stat(path.c_str(), &st) != 0) {
        result.error = errorFor(errno, path);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.error = Error{ErrorCode::NotAFile, path};
        return result;
    }
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0 || ::fstat(file.get(), &st) != 0) {
        result.error = errorFor(errno, path);
        return result;
    }
    if (!S_ISREG(st.st_mode)) { // replaced since the check above
        result.error = Error{ErrorCode::NotAFile, path};
        return result;
    }
    try {
        // One spare byte lets the read that finds the end run without growing
        // the buffer; a file that grows meanwhile (or reports no size) still
        // reads to its end.
        std::string bytes(static_cast<size_t>(st.st_size) + 1, '\0');
        size_t used = 0;
        for (;;) {
            if (used == bytes.size())
                bytes.resize(bytes.size() * 2);
            const ssize_t n = ::read(file.get(), bytes.data() + used, bytes.size() - used);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                result.error = errorFor(errno, path);
                return result;
            }
            if (n == 0)
                break;
            used += static_cast<size_t>(n);
        }
        bytes.resize(used);
        result.bytes = std::move(bytes);
    } catch (const std::bad_alloc &) {
        result.error = Error{ErrorCode::OutOfMemory, path};
    }
    return result;
}

Error WriteFileSafely(const std::string &path, std::string_view bytes)
{
    std::string target;
    struct stat st;
    bool exists = false;
    if (const int err = resolveTarget(path, target, st, exists))
        return errorFor(err, path);
    if (exists) {
        if (!S_ISREG(st.st_mode))
            return Error{ErrorCode::NotAFile, path};
        // A file its owner made read-only stays protected: replacing it through
        // its folder would get round that.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return errorFor(errno, path);
    }

    const std::string dir = directoryOf(target);
    const std::string name = target.substr(dir.size(), 200);
    if (name.empty())
        return Error{ErrorCode::PathNotFound, path};
    std::string temp = dir + "." + name + ".varkel-XXXXXX";
    const int fd = injectedFault(SaveStepCreateTemp) ? -1 : ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (exists && (err == EACCES || err == EPERM))
            return rewriteInPlace(target, bytes, path);
        return Error{err == ENOENT ? ErrorCode::PathNotFound : errorFromErrno(err), path};
    }

    FileHandle file(fd);
    int err = fillTemporary(file, bytes, exists ? &st : nullptr);
    if (err == 0 && (injectedFault(SaveStepRename) || ::rename(temp.c_str(), target.c_str()) != 0))
        err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        return errorFor(err, path);
    }
    syncDirectory(dir);
    return {};
}

Eol DetectEol(std::string_view text, Eol fallback)
{
    const size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos)
        return fallback;
    if (text[at] == '\n')
        return Eol::Lf;
    return at + 1 < text.size() && text[at + 1] == '\n' ? Eol::CrLf : Eol::Cr;
}

std::string_view EolText(Eol eol)
{
    switch (eol) {
    case Eol::Lf: return "\n";
    case Eol::Cr: return "\r";
    case Eol::CrLf: break;
    }
    return "\r\n";
}

void SetSaveFaultsForTesting(unsigned steps, int err)
{
    g_faultSteps = steps;
    g_faultErr = err;
}

} // namespace varkel
