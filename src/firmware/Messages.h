#pragma once

#include <string>

#include "firmware/ImageError.h"

// The firmware update's messages and status lines, and varnelctl reports with
// them too. Most read the same in both languages of the desktop program; the
// refusals of a HEX file's records have German texts of their own.
namespace firmware {

enum class Message {
    TypeNotSupported,
    ActivateBootloaderFailed,
    PortNotAvailable,
    NoSensorFound,
    CannotOpenFile,
    LayoutNotSupported,
    ChecksumInvalid,
    FileTooBig,
    PleaseLoadFile,
    VersionUnreadable,
    NoAnswer,
    FlashError,
    ChecksumError,
    InsideBootloader,
    UndefinedAnswer,
    DownloadSucceeded,
    UndefinedError,
    NoColon,
    TooManyDigits,
    NoDataLine,
    BufferFull,
    Interrupted,
    NoEndRecord,
    UnknownRecordType,
    AddressBeyondArea,
    Overlap,
};

struct MessageText {
    std::string text;
    std::string caption;
    std::string germanText;
    std::string germanCaption;
};

const MessageText& message(Message id);
// "caption: text", as varnelctl reports a failure.
std::string captioned(const MessageText& message);
// The message of a refused file, its text led by the line number.
MessageText imageErrorMessage(ImageError error, int lineNumber);

// Lines of the status list and the file information.
namespace lines {
std::string communicationOk();
std::string microcontroller(const std::string& name);
std::string bootloaderSize(int words);
std::string applicationSize(int words);
std::string fileName(const std::string& path);  // without its folder
std::string openingFile();
std::string fileNotOpened();
std::string fileOpened();
std::string bytesTotal(int bytes);
// The version before the update from its reply, 396-01-04; an old data logger says so.
std::string oldFirmware(const std::string& versionReply);
std::string updateSucceeded();
std::string updateFailed();

std::string pages(int pages);
std::string bytesTotalInfo(int bytes);
std::string bytesToWrite(int bytes);
std::string wordsToWrite(int words);
}  // namespace lines

}  // namespace firmware
