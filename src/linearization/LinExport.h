#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "linearization/LinTable.h"

class TSSICom;

// The text export of the linearization table: the factor, the start value, a
// header and one line per entry, each ended by a single line feed.
namespace linearization {

// "<factory number> (KYR-SSI).txt"
std::string DefaultExportName(const std::string& factoryNumber);

// The name taken when an existing file must not be overwritten: the chosen
// name without an extension of up to ten characters, then the first of 0, 1,
// 2 ... that gives a name that does not exist, then ".txt".
std::string NumberedExportName(const std::string& chosen,
                               const std::function<bool(const std::string&)>& exists);

// The export's text, built while the table is read.
class TableExport {
public:
    enum class Outcome { Complete, Unreadable };

    // `language`: 1 German, anything else English.
    TableExport(TSSICom& sensor, uint8_t language) : sensor_(sensor), language_(language) {}

    // Reads the start value and the factor, then every entry unless `cached`.
    // `visit` sees each entry after its line was added.
    Outcome run(bool cached, const EntryVisitor& visit);

    // The signed factor, once it was read.
    std::optional<int> factor() const { return factor_; }
    // The lines added so far, UTF-8.
    const std::string& text() const { return text_; }
    // The text as it goes to disk: Windows-1252.
    std::optional<std::string> fileBytes() const;

private:
    void addHeader(int32_t startValue);
    void addLine(const std::string& line);

    TSSICom& sensor_;
    uint8_t language_;
    std::optional<int> factor_;
    std::string text_;
};

}  // namespace linearization
