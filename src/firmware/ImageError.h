#pragma once

namespace firmware {

// Why a file gave no image; each names the line where the load stopped.
enum class ImageError {
    None,
    NoColon,
    TooManyDigits,
    NoDataLine,
    LayoutUnset,
    BufferFull,
    NoEndRecord,
    UnknownRecordType,
    AddressBeyondArea,
    Overlap,
};

}  // namespace firmware
