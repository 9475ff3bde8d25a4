#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <memory>
#include <string>

#include "history/HistoryStore.h"
#include "history/Location.h"

namespace history {

// The history in an SQLite file or a PostgreSQL database, through Qt SQL with
// the same statements for both. The database is opened, and its schema brought
// up to date, at the first call; a call that fails closes it, so the next call
// opens it again and a database that comes back is used.
class SqlHistoryStore final : public HistoryStore {
public:
    explicit SqlHistoryStore(DatabaseTarget target);
    ~SqlHistoryStore() override;
    SqlHistoryStore(const SqlHistoryStore&) = delete;
    SqlHistoryStore& operator=(const SqlHistoryStore&) = delete;

    bool record(Event& event) override;
    std::optional<std::vector<Event>> events(const EventFilter& filter) override;
    std::optional<Event> event(int64_t id) override;
    std::optional<Event> lastSet(const std::string& factoryNumber) override;
    std::string lastError() const override { return error_; }

private:
    QSqlDatabase database() const;
    bool ready();
    bool open(QSqlDatabase& db);
    void configure(QSqlDatabase& db);
    bool migrate(QSqlDatabase& db);
    static QSqlError readVersion(QSqlDatabase& db, int& version);
    static QSqlError runMigrations(QSqlDatabase& db, int fromVersion);
    struct Inserts;
    QSqlError insert(Event& event);
    QSqlError readSet(QSqlDatabase& db, Event& event);
    std::optional<Event> oneEvent(const QString& condition, const QVariantList& values);
    bool fail(const QSqlError& error);
    bool fail(std::string message);

    DatabaseTarget target_;
    QString connection_;
    bool ready_ = false;
    std::unique_ptr<Inserts> inserts_;
    std::string error_;
};

}  // namespace history
