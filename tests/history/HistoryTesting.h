#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <string>

#include "history/Event.h"
#include "history/Location.h"

namespace historytesting {

// A connection of its own to the database a location names, as another
// program would hold it.
class RawDatabase {
public:
    explicit RawDatabase(const std::string& location) : name_(NextName()) {
        const history::DatabaseTarget target = history::ParseLocation(location);
        QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromStdString(target.driver), name_);
        db.setDatabaseName(QString::fromStdString(target.name));
        db.setHostName(QString::fromStdString(target.host));
        db.setPort(target.port);
        db.setUserName(QString::fromStdString(target.user));
        db.open();
    }
    ~RawDatabase() {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;

    bool exec(const QString& sql) {
        QSqlQuery query(QSqlDatabase::database(name_, false));
        const bool done = query.exec(sql);
        error_ = query.lastError().text().toStdString();
        return done;
    }
    // The first column of the first row.
    QVariant value(const QString& sql) {
        QSqlQuery query(QSqlDatabase::database(name_, false));
        if (!query.exec(sql) || !query.next()) {
            error_ = query.lastError().text().toStdString();
            return {};
        }
        return query.value(0);
    }
    const std::string& error() const { return error_; }

private:
    static QString NextName() {
        static int count = 0;
        return QStringLiteral("raw-%1").arg(++count);
    }

    QString name_;
    std::string error_;
};

// An event whose every register, flag and table byte depends on `seed`.
inline history::Event FullEvent(int seed, const std::string& factoryNumber = "20815001") {
    history::Event event;
    event.origin = {"varnelctl", "5.3.6.2", "tech" + std::to_string(seed)};
    event.port = "/dev/ttyUSB" + std::to_string(seed % 4);
    event.factoryNumber = factoryNumber;
    event.firmwareVersion = 3960600 + seed % 100;
    event.operation = history::Operation::Load;
    event.subject = "line " + std::to_string(seed) + ".kyr";
    history::RegisterValues registers;
    for (size_t i = 0; i < registers.size(); ++i)
        registers[i] = {int32_t(seed * 1000 + int(i)) * (i % 2 ? -1 : 1),
                        (i + size_t(seed)) % 3 != 0};
    registers[0].value = INT32_MIN + seed;
    registers[1].value = INT32_MAX - seed;
    event.registers = registers;
    std::vector<uint8_t> table(ParameterSet::LinTableSize);
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = uint8_t(i * 7 + size_t(seed));
    event.linTable = table;
    return event;
}

}  // namespace historytesting
