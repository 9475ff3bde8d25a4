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

}  // namespace files
