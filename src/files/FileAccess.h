#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reading a parameter file from disk and writing one without ever leaving a
// partial file behind.
namespace files {

enum class ReadStatus { Ok, NotFound, CannotOpen, TooBig };

struct FileBytes {
    ReadStatus status = ReadStatus::Ok;
    std::vector<uint8_t> bytes;
    std::string reason;  // the system's reason when the file cannot be opened or read
};

// Reads at most one byte more than a parameter file may have.
FileBytes ReadParameterFile(const std::string& path);

struct WriteResult {
    bool ok = false;
    std::string reason;
};

// Writes a temporary file beside `path` and renames it over `path`: an existing
// file is replaced whole or left as it was.
WriteResult WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace files
