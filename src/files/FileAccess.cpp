#include "files/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/ParameterFile.h"
#include "platform/UniqueFd.h"

namespace files {

namespace {

std::string systemReason() {
    return std::strerror(errno);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
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

bool writeAll(int fd, const std::vector<uint8_t>& bytes) {
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

WriteResult failed(const std::string& temporary) {
    WriteResult result{false, systemReason()};
    ::unlink(temporary.c_str());
    return result;
}

}  // namespace

FileBytes ReadParameterFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT)
        return {ReadStatus::NotFound, {}, systemReason()};
    platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return {ReadStatus::CannotOpen, {}, systemReason()};
    FileBytes file;
    uint8_t chunk[4096];
    while (file.bytes.size() <= LargestFile) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {ReadStatus::CannotOpen, {}, systemReason()};
        if (n == 0)
            return file;
        file.bytes.insert(file.bytes.end(), chunk, chunk + n);
    }
    return {ReadStatus::TooBig, {}, {}};
}

WriteResult WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string temporary = folderOf(path) + "/.kyr-XXXXXX";
    platform::UniqueFd fd(::mkstemp(temporary.data()));
    if (!fd.valid())
        return {false, systemReason()};
    if (!writeAll(fd.get(), bytes) || ::fchmod(fd.get(), modeFor(path)) != 0 ||
        ::fsync(fd.get()) != 0)
        return failed(temporary);
    fd.reset();
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return failed(temporary);
    return {true, {}};
}

}  // namespace files
