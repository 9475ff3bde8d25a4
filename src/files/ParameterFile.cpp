#include "files/ParameterFile.h"

#include <cstdio>

#include "files/Scrambling.h"

namespace files {

namespace {

constexpr uint32_t BytesPerRegister = 24;
constexpr uint32_t UnstoredRegisters = 8;

class ByteWriter {
public:
    void u32(uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes_.push_back(static_cast<uint8_t>(value >> shift));
    }
    void u8(uint8_t value) { bytes_.push_back(value); }
    void text(const std::string& text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// Reads little-endian fields and never past the end: a field that does not fit
// leaves the reader failed, and every later read fails too.
class ByteReader {
public:
    explicit ByteReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

    std::optional<uint32_t> u32() {
        if (!take(4))
            return std::nullopt;
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | bytes_[at_ - 4 + static_cast<size_t>(i)];
        return value;
    }
    std::optional<uint8_t> u8() {
        if (!take(1))
            return std::nullopt;
        return bytes_[at_ - 1];
    }
    std::optional<std::string> text(size_t length) {
        if (!take(length))
            return std::nullopt;
        return std::string(bytes_.begin() + static_cast<std::ptrdiff_t>(at_ - length),
                           bytes_.begin() + static_cast<std::ptrdiff_t>(at_));
    }

private:
    bool take(size_t count) {
        if (count > bytes_.size() - at_)
            return false;
        at_ += count;
        return true;
    }

    const std::vector<uint8_t>& bytes_;
    size_t at_ = 0;
};

DecodedFile refused(FileProblem problem) {
    return {std::nullopt, problem};
}

std::optional<SaveDate> readDate(ByteReader& reader) {
    const auto year = reader.u32();
    const auto day = reader.u8();
    const auto month = reader.u8();
    if (!year || !day || !month)
        return std::nullopt;
    return SaveDate{*year, *month, *day};
}

std::optional<std::vector<int32_t>> readValues(ByteReader& reader, int64_t count) {
    std::vector<int32_t> values;
    for (int64_t i = 0; i < count; ++i) {
        const auto value = reader.u32();
        if (!value)
            return std::nullopt;
        values.push_back(static_cast<int32_t>(*value));
    }
    return values;
}

}  // namespace

int64_t ValueCount(uint32_t setSize) {
    return int64_t{setSize / BytesPerRegister} - UnstoredRegisters;
}

std::vector<uint8_t> EncodeParameterFile(const ParameterFile& file) {
    ByteWriter writer;
    writer.u32(static_cast<uint32_t>(file.header.size()));
    writer.text(file.header);
    writer.u32(file.date.year);
    writer.u8(file.date.day);
    writer.u8(file.date.month);
    writer.u32(file.setSize);
    for (const int32_t value : file.values)
        writer.u32(static_cast<uint32_t>(value));
    return Scramble(writer.bytes());
}

DecodedFile DecodeParameterFile(const std::vector<uint8_t>& stored) {
    if (stored.size() > LargestFile)
        return refused(FileProblem::TooBig);
    const std::vector<uint8_t> plain = Unscramble(stored);
    ByteReader reader(plain);
    const auto length = reader.u32();
    if (!length || *length > LargestHeader)
        return refused(FileProblem::ErrorInFile);
    ParameterFile file;
    const auto header = reader.text(*length);
    if (!header)
        return refused(FileProblem::ErrorInFile);
    if (!header->starts_with(FormatMark))
        return refused(FileProblem::NotCompatible);
    file.header = *header;
    const auto date = readDate(reader);
    const auto setSize = reader.u32();
    if (!date || !setSize)
        return refused(FileProblem::ErrorInFile);
    const int64_t count = ValueCount(*setSize);
    if (count < 0 || count > LargestValueCount)
        return refused(FileProblem::ErrorInFile);
    auto values = readValues(reader, count);
    if (!values)
        return refused(FileProblem::ErrorInFile);
    file.date = *date;
    file.setSize = *setSize;
    file.values = std::move(*values);
    return {std::move(file), FileProblem::None};
}

std::string DateText(const SaveDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%u-%02u-%02u", unsigned{date.year}, unsigned{date.month},
                  unsigned{date.day});
    return text;
}

}  // namespace files
