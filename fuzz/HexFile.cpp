// The Intel HEX reader. A file it accepts gives lines of 5 to 21 bytes in the
// order of their line numbers, none of them the end-of-file record.
#include <cstdlib>
#include <string_view>

#include "firmware/HexFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const firmware::HexFile file =
        firmware::parseHexFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (file.error != firmware::ImageError::None) {
        if (!file.lines.empty() || file.errorLine < 1)
            std::abort();
        return 0;
    }
    int previous = 0;
    for (const firmware::HexLine& line : file.lines) {
        if (line.bytes.size() < 5 || line.bytes.size() > 21 || line.lineNumber < previous ||
            line.type() == firmware::RecordType::EndOfFile)
            std::abort();
        previous = line.lineNumber;
        (void)line.data();
        (void)line.checksumValid();
    }
    return 0;
}
