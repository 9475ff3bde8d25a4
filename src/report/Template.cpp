#include "report/Template.h"

#include <algorithm>
#include <optional>

namespace report {

namespace {

constexpr std::string_view Open = "{{";
constexpr std::string_view Close = "}}";

bool isNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The name of the placeholder that begins at `at`, or nothing when none does.
std::optional<std::string_view> placeholderAt(std::string_view text, size_t at) {
    if (text.substr(at, Open.size()) != Open)
        return std::nullopt;
    const size_t first = at + Open.size();
    size_t end = first;
    while (end < text.size() && isNameChar(text[end]))
        ++end;
    if (end == first || text.substr(end, Close.size()) != Close)
        return std::nullopt;
    return text.substr(first, end - first);
}

const std::string* valueOf(const Parameters& parameters, std::string_view name) {
    const auto found = std::find_if(parameters.begin(), parameters.end(),
                                    [&](const Parameter& p) { return p.first == name; });
    return found == parameters.end() ? nullptr : &found->second;
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string FillTemplate(std::string_view templateText, const Parameters& parameters) {
    std::string filled;
    filled.reserve(templateText.size());
    size_t at = 0;
    while (at < templateText.size()) {
        const size_t next = templateText.find(Open, at);
        if (next == std::string_view::npos) {
            filled.append(templateText.substr(at));
            break;
        }
        filled.append(templateText.substr(at, next - at));
        if (const auto name = placeholderAt(templateText, next)) {
            if (const std::string* value = valueOf(parameters, *name))
                filled += EscapeHtml(*value);
            at = next + Open.size() + name->size() + Close.size();
        } else {
            filled += templateText[next];
            at = next + 1;
        }
    }
    return filled;
}

}  // namespace report
