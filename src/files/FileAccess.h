#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reading a parameter file from disk (platform::WriteFileAtomically writes one).
namespace files {

enum class ReadStatus { Ok, NotFound, CannotOpen, TooBig };

struct FileBytes {
    ReadStatus status = ReadStatus::Ok;
    std::vector<uint8_t> bytes;
    std::string reason;  // the system's reason when the file cannot be opened or read
};

// Reads at most one byte more than a parameter file may have.
FileBytes ReadParameterFile(const std::string& path);

}  // namespace files
