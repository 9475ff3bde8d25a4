#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/UniqueFd.h"

namespace platform {

namespace {

// Another save of the same file may take the staged name in between; each
// attempt still leaves a complete file in place.
constexpr int kPublishAttempts = 4;

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string besidePath(const std::string& path, const char* suffix) {
    return folderOf(path) + "/." + nameOf(path) + suffix;
}

// A link is kept and the file it leads to replaced.
std::string resolved(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return path;
    char target[PATH_MAX];
    return ::realpath(path.c_str(), target) ? std::string(target) : path;
}

// A replaced file keeps its permissions; a new one gets those the umask allows.
mode_t modeFor(const std::string& path) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0)
        return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool fillAndFlush(int fd, const std::string& path, std::span<const uint8_t> bytes) {
    return writeAll(fd, bytes) && ::fchmod(fd, modeFor(path)) == 0 && ::fsync(fd) == 0;
}

WriteResult failure() {
    return {false, std::strerror(errno)};
}

// Keeps errno of the failure while the file is removed.
void removeKeepingErrno(const std::string& path) {
    const int code = errno;
    ::unlink(path.c_str());
    errno = code;
}

WriteResult failureRemoving(const std::string& temporary) {
    removeKeepingErrno(temporary);
    return failure();
}

bool unnamedFilesUnsupported(int code) {
    return code == EOPNOTSUPP || code == EISDIR || code == EINVAL;
}

// Gives the unnamed file `fd` the name `path`: first the staged name, then
// the rename over `path`.
bool publish(int fd, const std::string& path) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const std::string staged = besidePath(path, ".new");
    for (int attempt = 0; attempt < kPublishAttempts; ++attempt) {
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, staged.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            // Left by a save that was killed before its rename, or another save's.
            if (errno != EEXIST || (::unlink(staged.c_str()) != 0 && errno != ENOENT))
                return false;
            continue;
        }
        if (::rename(staged.c_str(), path.c_str()) == 0)
            return true;
        if (errno != ENOENT) {
            removeKeepingErrno(staged);
            return false;
        }
    }
    errno = EBUSY;
    return false;
}

}  // namespace

WriteResult WriteFileAtomically(const std::string& chosen, std::span<const uint8_t> bytes) {
    const std::string path = resolved(chosen);
    UniqueFd fd(::open(folderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (!fd.valid()) {
        if (unnamedFilesUnsupported(errno))
            return WriteThroughNamedTemporary(path, bytes);
        return failure();
    }
    if (!fillAndFlush(fd.get(), path, bytes) || !publish(fd.get(), path))
        return failure();
    return {true, {}};
}

WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
    return WriteFileAtomically(
        path, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

WriteResult WriteThroughNamedTemporary(const std::string& chosen, std::span<const uint8_t> bytes) {
    const std::string path = resolved(chosen);
    std::string temporary = besidePath(path, ".XXXXXX");
    UniqueFd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.valid())
        return failure();
    if (!fillAndFlush(fd.get(), path, bytes))
        return failureRemoving(temporary);
    fd.reset();
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return failureRemoving(temporary);
    return {true, {}};
}

}  // namespace platform
