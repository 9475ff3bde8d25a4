#pragma once

#include <string>
#include <string_view>

#include "report/Report.h"

// Report templates: HTML in which a placeholder {{Name}} stands for the
// parameter Name. A placeholder is two opening braces, a name of letters,
// digits and underscores, and two closing braces; any other text, braces
// included, is kept as it stands.
namespace report {

// Characters that HTML gives a meaning to, written as entities.
std::string EscapeHtml(std::string_view text);

// The template with each placeholder replaced by its parameter's value,
// HTML-escaped. A placeholder without a parameter becomes empty, so that a
// parameter that a sensor does not have (Chiffre) leaves no trace.
std::string FillTemplate(std::string_view templateText, const Parameters& parameters);

}  // namespace report
