#include "report/TemplateFiles.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace report {

namespace {

namespace fs = std::filesystem;

fs::path programFile() {
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error);
}

}  // namespace

const char* SensorTemplate(uint8_t language) {
    return language == kUiGerman ? SensorTemplateGerman : SensorTemplateEnglish;
}

fs::path ReportsFolder() {
    return ReportsFolder(programFile(), VARNEL_REPORTS_SOURCE_DIR);
}

fs::path ReportsFolder(const fs::path& program, const fs::path& sourceFolder) {
    const fs::path installed = program.parent_path().parent_path() / "share" / "varnel" / "reports";
    std::error_code error;
    if (fs::is_directory(installed, error) || !fs::is_directory(sourceFolder, error))
        return installed;
    return sourceFolder;
}

LoadedTemplate LoadTemplate(const fs::path& path) {
    LoadedTemplate loaded;
    loaded.path = path;
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        loaded.failure = Message::TemplateMissing;
        return loaded;
    }
    std::ifstream in(path, std::ios::binary);
    const auto size = fs::file_size(path, error);
    if (!in || error || size > LargestTemplateBytes) {
        loaded.failure = Message::TemplateUnreadable;
        return loaded;
    }
    loaded.text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad())
        loaded.failure = Message::TemplateUnreadable;
    return loaded;
}

std::string FailureText(const LoadedTemplate& loaded, uint8_t language) {
    if (!loaded.failure)
        return {};
    const MessageRow<Message>& row = Row(*loaded.failure);
    return std::string(language == kUiGerman ? row.german : row.english) + loaded.path.string();
}

}  // namespace report
