#include "history/Schema.h"

namespace history::schema {

namespace {

// %1 is the id column's type: the one text that differs between the drivers.
const QString kCreateEvents = QStringLiteral(
    "CREATE TABLE events ("
    " id %1,"
    " event_time VARCHAR(24) NOT NULL,"
    " program TEXT NOT NULL,"
    " program_version TEXT NOT NULL,"
    " account TEXT NOT NULL,"
    " port TEXT NOT NULL,"
    " factory_number TEXT NOT NULL,"
    " firmware_version INTEGER NOT NULL,"
    " operation TEXT NOT NULL,"
    " subject TEXT NOT NULL,"
    " ok INTEGER NOT NULL,"
    " message TEXT NOT NULL)");

}  // namespace

const std::vector<Migration>& Migrations() {
    static const std::vector<Migration> migrations = {
        {1,
         {
             QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"),
             kCreateEvents,
             QStringLiteral("CREATE INDEX events_by_sensor ON events (factory_number, id)"),
             QStringLiteral("CREATE INDEX events_by_time ON events (event_time)"),
             QStringLiteral("CREATE TABLE event_registers ("
                            " event_id BIGINT NOT NULL REFERENCES events (id),"
                            " register_key VARCHAR(32) NOT NULL,"
                            " register_value INTEGER NOT NULL,"
                            " answered INTEGER NOT NULL,"
                            " PRIMARY KEY (event_id, register_key))"),
             // The table image as hexadecimal text: no binary type is the same in both.
             QStringLiteral("CREATE TABLE event_lin_tables ("
                            " event_id BIGINT NOT NULL PRIMARY KEY REFERENCES events (id),"
                            " image TEXT NOT NULL)"),
         }},
    };
    return migrations;
}

int CurrentVersion() {
    return Migrations().back().version;
}

QStringList StatementsFor(const Migration& migration, const QString& driver) {
    const QString idType = driver == QStringLiteral("QPSQL")
                               ? QStringLiteral("BIGSERIAL PRIMARY KEY")
                               : QStringLiteral("INTEGER PRIMARY KEY");
    QStringList statements;
    for (const QString& statement : migration.statements)
        statements << (statement.contains(QStringLiteral("%1")) ? statement.arg(idType)
                                                                : statement);
    return statements;
}

}  // namespace history::schema
