#include "app/safefile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace varkel {

namespace {

FileFaultHook &faultHook()
{
    static FileFaultHook hook;
    return hook;
}

// The errno a test has asked this step to fail with, 0 normally.
int injectedError(FileStep step)
{
    const FileFaultHook &hook = faultHook();
    return hook ? hook(step) : 0;
}

// True, with errno set, when the step is to fail.
bool fails(FileStep step)
{
    const int err = injectedError(step);
    if (err != 0)
        errno = err;
    return err != 0;
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
    ~FileHandle() { reset(-1); }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    int get() const { return m_fd; }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
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

// Writes bytes from the start of the file; an injected fault leaves half of
// them written, as a disk that fills up does.
bool writeStep(FileStep step, int fd, std::string_view bytes)
{
    if (const int err = injectedError(step)) {
        writeAll(fd, bytes.substr(0, bytes.size() / 2));
        errno = err;
        return false;
    }
    return writeAll(fd, bytes);
}

bool flushStep(int fd)
{
    return !fails(FileStep::Flush) && ::fsync(fd) == 0;
}

bool closeStep(FileHandle &file)
{
    const int err = injectedError(FileStep::Close);
    const bool closed = file.close();
    if (err != 0)
        errno = err;
    return closed && err == 0;
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
        // may still be kept when the owner cannot be. Otherwise the file stays
        // ours, and its permission bits are still copied.
        if (fails(FileStep::Chown) || ::fchown(fd, original->st_uid, original->st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), original->st_gid);
        mode = original->st_mode & 07777;
    }
    if (fails(FileStep::Chmod) || ::fchmod(fd, mode) != 0 || !writeStep(FileStep::Write, fd, bytes)
        || !flushStep(fd) || !closeStep(file))
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

// Failures of the temporary file that mean the folder takes no new file,
// while the target itself may still be written.
bool folderTakesNoNewFile(int err)
{
    return err == EACCES || err == EPERM || err == ENOSPC || err == EDQUOT;
}

// Reserves the disk blocks a text of newSize bytes needs beyond oldSize, so
// that overwriting cannot run out of room half way. Returns an errno value.
int reserveRoom(int fd, size_t oldSize, size_t newSize)
{
    if (newSize <= oldSize)
        return 0;
    const off_t grow = static_cast<off_t>(newSize - oldSize);
    if (const int err = injectedError(FileStep::Reserve)) {
        (void)!::ftruncate(fd, static_cast<off_t>(oldSize) + grow / 2);
        return err;
    }
    const int err = ::posix_fallocate(fd, static_cast<off_t>(oldSize), grow);
    // A file system that cannot reserve ahead is simply written.
    return err == EOPNOTSUPP || err == EINVAL || err == ENOSYS ? 0 : err;
}

bool restoreOnce(int fd, std::string_view old)
{
    return !fails(FileStep::Restore) && writeAll(fd, old) && ::ftruncate(fd, static_cast<off_t>(old.size())) == 0
           && ::fsync(fd) == 0;
}

// Last resort when the folder takes no new file: overwrite the target itself.
// The old bytes are held in memory and written back when the new ones fail;
// as the file is cut to its new length only once the whole new text is in,
// they go back into blocks the file still owns. A failed restore is tried
// again on a fresh descriptor.
Error rewriteInPlace(const std::string &target, std::string_view bytes, const std::string &path)
{
    ReadResult old = ReadFileBytes(target);
    if (old.error)
        return Error{old.error.code, path};
    FileHandle file(fails(FileStep::OpenInPlace) ? -1 : ::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (file.get() < 0)
        return errorFor(errno, path);

    int err = reserveRoom(file.get(), old.bytes.size(), bytes.size());
    if (err == 0
        && (!writeStep(FileStep::InPlaceWrite, file.get(), bytes)
            || fails(FileStep::Truncate) || ::ftruncate(file.get(), static_cast<off_t>(bytes.size())) != 0
            || !flushStep(file.get()) || !closeStep(file)))
        err = errno;
    if (err == 0)
        return {};

    for (int attempt = 0; attempt < 3; ++attempt) {
        if (file.get() < 0)
            file.reset(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
        if (file.get() >= 0 && restoreOnce(file.get(), old.bytes))
            break;
        file.reset(-1);
    }
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
    FileHandle file(fails(FileStep::Read) ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
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
    const int fd = fails(FileStep::CreateTemp) ? -1 : ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (exists && folderTakesNoNewFile(err))
            return rewriteInPlace(target, bytes, path);
        return Error{err == ENOENT ? ErrorCode::PathNotFound : errorFromErrno(err), path};
    }

    FileHandle file(fd);
    int err = fillTemporary(file, bytes, exists ? &st : nullptr);
    if (err == 0 && (fails(FileStep::Rename) || ::rename(temp.c_str(), target.c_str()) != 0))
        err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        return errorFor(err, path);
    }
    syncDirectory(dir);
    return {};
}

void SetFileFaultHookForTesting(FileFaultHook hook)
{
    faultHook() = std::move(hook);
}

} // namespace varkel
