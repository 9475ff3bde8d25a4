#include "linearization/LinExport.h"

#include "comm/Ssicom.h"
#include "platform/Windows1252.h"

namespace linearization {

namespace {

constexpr size_t MaxRemovedExtension = 10;
constexpr uint8_t German = 1;

struct HeaderTexts {
    const char* factor;
    const char* startValue;
    const char* columns;
};

constexpr HeaderTexts English{
    "Linearization factor = ", "Start value = ", "EEPROM-Adr.; LinValue;"};
constexpr HeaderTexts Deutsch{"Linearisierungsfaktor = ", "Startwert = ", "EEPROM-Adr.; LinWert;"};

}  // namespace

std::string DefaultExportName(const std::string& factoryNumber) {
    return factoryNumber + " (KYR-SSI).txt";
}

std::string NumberedExportName(const std::string& chosen,
                               const std::function<bool(const std::string&)>& exists) {
    std::string stem = chosen;
    const size_t dot = chosen.rfind('.');
    const size_t slash = chosen.rfind('/');
    const bool dotInName = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    if (dotInName && chosen.size() - dot <= MaxRemovedExtension)
        stem = chosen.substr(0, dot);
    for (int number = 0;; ++number) {
        std::string candidate = stem + std::to_string(number) + ".txt";
        if (!exists(candidate))
            return candidate;
    }
}

TableExport::Outcome TableExport::run(bool cached, const EntryVisitor& visit) {
    sensor_.ReadRegister(TSSICom::LinStartValue);
    if (!sensor_.ReadLinTableByte(ParameterSet::LinFactorAddress))
        return Outcome::Unreadable;
    factor_ = SignedByte(sensor_[TSSICom::LinTableByte].Value);
    addHeader(sensor_[TSSICom::LinStartValue].Value);
    const bool complete = RunTable(sensor_, cached, [&](int address, int8_t value) {
        addLine(std::to_string(address) + ";" + std::to_string(value) + ";");
        visit(address, value);
    });
    return complete ? Outcome::Complete : Outcome::Unreadable;
}

std::optional<std::string> TableExport::fileBytes() const {
    return platform::EncodeWindows1252(text_).bytes;
}

void TableExport::addHeader(int32_t startValue) {
    const HeaderTexts& texts = language_ == German ? Deutsch : English;
    addLine(texts.factor + std::to_string(*factor_));
    addLine(texts.startValue + std::to_string(startValue));
    addLine(texts.columns);
}

void TableExport::addLine(const std::string& line) {
    text_ += line;
    text_ += '\n';
}

}  // namespace linearization
