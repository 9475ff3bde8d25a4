#include "testmode/StreamDecoding.h"

#include <cctype>
#include <cstdio>

#include "comm/Ssicom.h"

namespace testmode {

namespace {

constexpr char CarriageReturn = '\r';
constexpr int WordBits = 32;

int32_t SignedByte(uint32_t value) {
    return static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF));
}

// Both operands as 32-bit signed numbers; the product wraps as the sensor's does.
int32_t WrappingProduct(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

}  // namespace

std::string_view FrameRecord(std::string_view block) {
    const size_t index = block.find(CarriageReturn);
    if (index == std::string_view::npos) {
        return block;
    }
    if (index >= RecordDigits) {
        return block.substr(index - RecordDigits, RecordDigits);
    }
    return block.substr(index + 1, RecordDigits);
}

Sample DecodeWord(uint32_t word, const StreamFormat& format) {
    Sample sample;
    if (format.temperatureBit) {
        sample.temperature = static_cast<int8_t>(SignedByte(word >> 24));
        sample.position = TSSICom::SignExtend24(word);
        return sample;
    }
    const auto signedWord = static_cast<int32_t>(word);
    if (format.bitWidth >= WordBits) {
        sample.position = signedWord;
    } else if (format.bitWidth > 0) {
        sample.position = signedWord >> (WordBits - format.bitWidth);
    } else {
        sample.position = signedWord < 0 ? -1 : 0;
    }
    return sample;
}

Sample DecodeBlock(std::string_view block, const StreamFormat& format) {
    const uint32_t word = TSSICom::HexToInt(std::string(FrameRecord(block)));
    Sample sample = DecodeWord(word, format);
    sample.position = WrappingProduct(sample.position, format.resolution);
    return sample;
}

bool IsHexRecord(std::string_view record) {
    if (record.size() != RecordDigits) {
        return false;
    }
    for (const char c : record) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

double Micrometres(int32_t position, bool halfMicrometres) {
    return halfMicrometres ? position * 0.5 : double(position);
}

double Millimetres(int32_t position, bool halfMicrometres) {
    return position * (halfMicrometres ? 0.0005 : 0.001);
}

std::string MillimetreText(double millimetres, char decimalSeparator) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", millimetres);
    std::string result(text);
    for (char& c : result) {
        if (c == '.') {
            c = decimalSeparator;
        }
    }
    return result;
}

}  // namespace testmode
