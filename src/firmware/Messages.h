#pragma once

#include <string>

#include "firmware/ImageError.h"

// The firmware update's messages and status lines. They read the same in both
// languages of the desktop program, and varnelctl reports with them too.
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
};

struct MessageText {
    std::string text;
    std::string caption;
};

const MessageText& message(Message id);
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
