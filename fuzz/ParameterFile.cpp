// The parameter file decoder. Whatever the bytes, a decoded file has its mark
// and at most 37 values, encodes back to itself, and loads into the table.
#include <cstdlib>
#include <vector>

#include "comm/ParameterSet.h"
#include "files/ParameterFile.h"
#include "files/Scrambling.h"
#include "files/StoredSet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> stored(data, data + size);
    if (files::Scramble(files::Unscramble(stored)) != stored)
        std::abort();
    const files::DecodedFile decoded = files::DecodeParameterFile(stored);
    if (!decoded.file)
        return 0;
    const files::ParameterFile& file = *decoded.file;
    if (file.values.size() > files::LargestValueCount ||
        !file.header.starts_with(files::FormatMark))
        std::abort();
    if (files::DecodeParameterFile(files::EncodeParameterFile(file)).file != file)
        std::abort();
    ParameterSet set;
    files::LoadIntoSet(file, set);
    return 0;
}
