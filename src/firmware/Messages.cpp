#include "firmware/Messages.h"

#include <array>

#include "comm/SensorRules.h"
#include "comm/Ssicom.h"

namespace firmware {

namespace {

struct Row {
    Message id;
    const char* text;
    const char* caption;
    const char* germanText = nullptr;  // none: the English text
    const char* germanCaption = nullptr;
};

// clang-format off
constexpr Row kRows[] = {
    {Message::TypeNotSupported, "This type is not supported!", "Error"},
    {Message::ActivateBootloaderFailed, "Activate Bootloader failed!", "COM-Port"},
    {Message::PortNotAvailable, "COM-Port not available!", "COM-Port"},
    {Message::NoSensorFound, "No Sensor found!", "Sensor-Error"},
    {Message::CannotOpenFile, "Can't open file or damaged file!", "File-Error"},
    {Message::LayoutNotSupported, "This type is not supported yet!", "Microcontroller"},
    {Message::ChecksumInvalid, "CheckSum -> File invalid!", "Error"},
    {Message::FileTooBig, "File too big!", "Flash-Error"},
    {Message::PleaseLoadFile, "Please load a file!", "File-Error"},
    {Message::VersionUnreadable, "Sensor not connected - Can't read the Firmmware Version!",
     "Firmware Version"},
    {Message::NoAnswer, "Error while Download - no answer from sensor!", "Bootloader-Error"},
    {Message::FlashError, "Error while Download!", "Flash-Error"},
    {Message::ChecksumError, "Error while Download!", "CheckSum-Error"},
    {Message::InsideBootloader,
     "Error while Download - Write adress is inside of Boodloader section!", "Bootloader-Error"},
    {Message::UndefinedAnswer, "Error while Download test - Undefined error!", "Bootloader-Error"},
    {Message::DownloadSucceeded, "Download succesfull!", "Firmware"},
    {Message::UndefinedError, "Undefined Error!", "Firmware"},
    {Message::NoColon, "a line does not begin with a colon - file invalid!", "File-Error"},
    {Message::TooManyDigits, "a line holds more than 42 hexadecimal digits - file invalid!",
     "File-Error"},
    {Message::NoDataLine, "no data line before the last line - file invalid!", "File-Error"},
    {Message::BufferFull, "the data do not fit the image buffer of 25348 bytes - file too big!",
     "File-Error"},
    {Message::Interrupted, "Download interrupted!", "Firmware"},
    {Message::NoEndRecord, "the end-of-file record is missing - file invalid!", "File-Error",
     "der Dateiende-Datensatz fehlt - Datei ungültig!", "Dateifehler"},
    {Message::UnknownRecordType, "a line has an unknown record type - file invalid!", "File-Error",
     "eine Zeile hat einen unbekannten Datensatztyp - Datei ungültig!", "Dateifehler"},
    {Message::AddressBeyondArea,
     "an address record points beyond the application area - file invalid!", "File-Error",
     "ein Adressdatensatz zeigt über den Anwendungsbereich hinaus - Datei ungültig!",
     "Dateifehler"},
    {Message::Overlap, "a record overlaps another one - file invalid!", "File-Error",
     "ein Datensatz überschneidet sich mit einem anderen - Datei ungültig!", "Dateifehler"},
};
// clang-format on

constexpr size_t kCount = std::size(kRows);

constexpr bool rowsFollowTheIds() {
    for (size_t i = 0; i < kCount; ++i) {
        if (kRows[i].id != static_cast<Message>(i))
            return false;
    }
    return kCount == static_cast<size_t>(Message::Overlap) + 1;
}
static_assert(rowsFollowTheIds(), "one row per message, in the order of the ids");

constexpr const char* kDataloggerLine = "\n                SOFTWARE: DATENLOGGER";

std::string lineNumbered(const char* word, int lineNumber, const std::string& text) {
    return word + std::to_string(lineNumber) + ": " + text;
}

Message messageOf(ImageError error) {
    switch (error) {
        case ImageError::NoColon:
            return Message::NoColon;
        case ImageError::TooManyDigits:
            return Message::TooManyDigits;
        case ImageError::NoDataLine:
            return Message::NoDataLine;
        case ImageError::NoEndRecord:
            return Message::NoEndRecord;
        case ImageError::UnknownRecordType:
            return Message::UnknownRecordType;
        case ImageError::AddressBeyondArea:
            return Message::AddressBeyondArea;
        case ImageError::Overlap:
            return Message::Overlap;
        default:
            return Message::BufferFull;
    }
}

}  // namespace

const MessageText& message(Message id) {
    static const std::array<MessageText, kCount> texts = [] {
        std::array<MessageText, kCount> built;
        for (size_t i = 0; i < kCount; ++i) {
            const Row& row = kRows[i];
            built[i] = {row.text, row.caption, row.germanText ? row.germanText : row.text,
                        row.germanCaption ? row.germanCaption : row.caption};
        }
        return built;
    }();
    return texts[static_cast<size_t>(id)];
}

MessageText imageErrorMessage(ImageError error, int lineNumber) {
    if (error == ImageError::LayoutUnset)
        return message(Message::LayoutNotSupported);
    const MessageText& plain = message(messageOf(error));
    const bool ownGerman = plain.germanText != plain.text;
    return {lineNumbered("Line ", lineNumber, plain.text), plain.caption,
            lineNumbered(ownGerman ? "Zeile " : "Line ", lineNumber, plain.germanText),
            plain.germanCaption};
}

std::string captioned(const MessageText& message) {
    return message.caption + ": " + message.text;
}

namespace lines {

std::string communicationOk() {
    return "Kommunikation ok!";
}
std::string microcontroller(const std::string& name) {
    return "Microcontroller: " + name;
}
std::string bootloaderSize(int words) {
    return "Size Bootloader: " + std::to_string(words) + " words";
}
std::string applicationSize(int words) {
    return "Size Application: " + std::to_string(words) + " words";
}
std::string fileName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return "Dateiname: " + (slash == std::string::npos ? path : path.substr(slash + 1));
}
std::string openingFile() {
    return "Öffne Datei ....";
}
std::string fileNotOpened() {
    return "Datei konnte nicht geöffnet werden!";
}
std::string fileOpened() {
    return "Datei geöffnet ....";
}
std::string bytesTotal(int bytes) {
    return "Bytes total: " + std::to_string(bytes) + " Bytes";
}
std::string oldFirmware(const std::string& versionReply) {
    const std::string line = "Firmware (alt): " + rules::FirmwareText(versionReply);
    const bool datalogger = rules::IsDataloggerFirmware(TSSICom::HexToInt(versionReply));
    return datalogger ? line + kDataloggerLine : line;
}
std::string updateSucceeded() {
    return "Firmware update erfolgreich ...";
}
std::string updateFailed() {
    return "Firmware update fehlgeschlagen ...";
}
std::string pages(int pages) {
    return "Pages: " + std::to_string(pages);
}
std::string bytesTotalInfo(int bytes) {
    return "BytesTotal: " + std::to_string(bytes);
}
std::string bytesToWrite(int bytes) {
    return "Bytes to write: " + std::to_string(bytes);
}
std::string wordsToWrite(int words) {
    return "Words to write: " + std::to_string(words);
}

}  // namespace lines

}  // namespace firmware
