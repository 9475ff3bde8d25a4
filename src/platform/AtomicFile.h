#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Writing a file so that it holds either all of its old content or all of the
// new, also when the program is killed or the write fails half-way.
namespace platform {

struct WriteResult {
    bool ok = false;
    std::string reason;  // the system's reason when it failed
};

// Writes the bytes to an unnamed file in the folder of `path`, flushes it to
// the disk and then renames it over `path`. A replaced file keeps its
// permissions; when `path` is a symbolic link, the file it leads to is
// replaced. A save killed between naming and renaming leaves one file
// ".<name>.new" beside `path`, which the next save of `path` replaces. On a
// filesystem without unnamed files this falls back to WriteThroughNamedTemporary.
WriteResult WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);
WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes);

// The same through a temporary file ".<name>.XXXXXX" in the folder of `path`,
// which a killed save leaves behind.
WriteResult WriteThroughNamedTemporary(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace platform
