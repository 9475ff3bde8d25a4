#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The history's tables, the same for every driver but for the type of the
// generated id column.
namespace history::schema {

struct Migration {
    int version;  // the schema version once it has run
    QStringList statements;
};

// In the order they run; the last one's version is the version this program writes.
const std::vector<Migration>& Migrations();
int CurrentVersion();

// The statements with the id column typed for the driver ("QSQLITE", "QPSQL").
QStringList StatementsFor(const Migration& migration, const QString& driver);

}  // namespace history::schema
