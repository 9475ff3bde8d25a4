#pragma once

#include <QSqlError>
#include <string>

namespace history {

// A failure of the database `description` as the user reads it: locked,
// read-only, damaged, unreachable, or the driver's own words.
std::string DescribeFailure(const std::string& description, const QSqlError& error);

}  // namespace history
