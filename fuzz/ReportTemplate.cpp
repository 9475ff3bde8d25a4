// The report template filler. Whatever the template, a value brings no markup
// into the output, text without a placeholder comes out unchanged, and no
// placeholder grows into more than its escaped value.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "report/Template.h"

namespace {

size_t count(std::string_view text, char c) {
    return size_t(std::count(text.begin(), text.end(), c));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const report::Parameters parameters = {{"Model", "<x&y>"}, {"Chart", "\"'"}, {"Empty", ""}};
    const std::string filled = report::FillTemplate(text, parameters);
    if (text.find("{{") == std::string_view::npos && filled != text)
        std::abort();
    // A placeholder holds none of these characters, and an escaped value neither.
    for (const char c : {'<', '>', '"', '\''}) {
        if (count(filled, c) != count(text, c))
            std::abort();
    }
    if (report::FillTemplate(text, {}).size() > text.size())
        std::abort();
    // "{{Model}}", nine characters, becomes "&lt;x&amp;y&gt;", fifteen.
    if (filled.size() > text.size() * 2)
        std::abort();
    return 0;
}
