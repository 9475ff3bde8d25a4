#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "report/ReportTexts.h"

// The report templates on disk: their names, the folder that holds them and
// reading one.
namespace report {

inline constexpr char SensorTemplateEnglish[] = "Report_eng.rav";
inline constexpr char SensorTemplateGerman[] = "Report_deu.Rav";
inline constexpr char LinearityTemplate[] = "Linearity.rav";

// The sensor report's template: German for language 1, English otherwise.
const char* SensorTemplate(uint8_t language);

// <prefix>/share/varnel/reports for a program in <prefix>/bin. A program that
// runs from its build tree, where that folder does not exist, takes the
// templates of its source tree.
std::filesystem::path ReportsFolder();
// The same for a given program file and source tree's folder.
std::filesystem::path ReportsFolder(const std::filesystem::path& program,
                                    const std::filesystem::path& sourceFolder);

struct LoadedTemplate {
    std::string text;                // UTF-8
    std::optional<Message> failure;  // set when the file is missing or unreadable
    std::filesystem::path path;
};

// A template is at most this large.
inline constexpr std::uintmax_t LargestTemplateBytes = 1 << 20;

LoadedTemplate LoadTemplate(const std::filesystem::path& path);

// The message that names the file for a failed load, in the language (0 or 1).
std::string FailureText(const LoadedTemplate& loaded, uint8_t language);

}  // namespace report
