#include "history/StoreError.h"

#include <QString>

namespace history {

namespace {

enum class Situation { Locked, ReadOnly, Damaged, CannotOpen, Other };

// SQLite's primary result codes and PostgreSQL's SQLSTATE codes.
Situation SituationOf(const QSqlError& error) {
    const QString code = error.nativeErrorCode();
    bool numeric = false;
    const int sqliteCode = code.toInt(&numeric) & 0xff;
    if (numeric && code.size() < 5) {
        switch (sqliteCode) {
            case 5:  // SQLITE_BUSY
            case 6:  // SQLITE_LOCKED
                return Situation::Locked;
            case 8:  // SQLITE_READONLY
                return Situation::ReadOnly;
            case 11:  // SQLITE_CORRUPT
            case 26:  // SQLITE_NOTADB
                return Situation::Damaged;
            case 14:  // SQLITE_CANTOPEN
                return Situation::CannotOpen;
            default:
                return Situation::Other;
        }
    }
    if (code == QStringLiteral("55P03") || code == QStringLiteral("40P01"))
        return Situation::Locked;
    if (code == QStringLiteral("25006") || code == QStringLiteral("42501"))
        return Situation::ReadOnly;
    if (code == QStringLiteral("XX001") || code == QStringLiteral("XX002"))
        return Situation::Damaged;
    if (error.type() == QSqlError::ConnectionError)
        return Situation::CannotOpen;
    return Situation::Other;
}

std::string DriverText(const QSqlError& error) {
    QString text = error.databaseText().simplified();
    if (text.isEmpty())
        text = error.driverText().simplified();
    return text.toStdString();
}

}  // namespace

std::string DescribeFailure(const std::string& description, const QSqlError& error) {
    const std::string database = "The history database " + description;
    switch (SituationOf(error)) {
        case Situation::Locked:
            return database + " is locked by another program";
        case Situation::ReadOnly:
            return database + " is read-only";
        case Situation::Damaged:
            return database + " is damaged or no database: " + DriverText(error);
        case Situation::CannotOpen:
            return database + " cannot be opened: " + DriverText(error);
        case Situation::Other:
            break;
    }
    return database + " failed: " + DriverText(error);
}

}  // namespace history
