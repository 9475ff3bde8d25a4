#include "history/SqlHistoryStore.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>

#include "history/Schema.h"
#include "history/StoreError.h"

namespace history {

namespace {

const QString kEventColumns = QStringLiteral(
    "id, event_time, program, program_version, account, port, factory_number, firmware_version, "
    "operation, subject, ok, message");

// A sensor operation waits no longer than this for another program's write.
constexpr int kLockWaitMs = 300;
constexpr int kConnectTimeoutS = 3;

QString NextConnectionName() {
    static std::atomic<int> count{0};
    return QStringLiteral("varnel-history-%1").arg(++count);
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::string NowText() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toStdString();
}

// The stored form of `since`: a date stays a date (it sorts before every time
// of its day), a time becomes UTC with milliseconds; a time without a zone is UTC.
std::optional<QString> SinceKey(const std::string& since) {
    const QString text = Text(since).trimmed();
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid() && text.size() == 10)
        return date.toString(Qt::ISODate);
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid())
        return std::nullopt;
    if (time.timeSpec() == Qt::LocalTime)
        time.setTimeSpec(Qt::UTC);
    return time.toUTC().toString(Qt::ISODateWithMs);
}

bool Execute(QSqlQuery& query, const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    return query.exec();
}

bool Run(QSqlQuery& query, const QString& sql, const QVariantList& values = {}) {
    return query.prepare(sql) && Execute(query, values);
}

// One statement for the whole set, one round trip to a server.
const QString& RegistersInsert() {
    static const QString sql = [] {
        QStringList rows;
        for (int i = 0; i < ParameterSet::RegisterCount; ++i)
            rows << QStringLiteral("(?, ?, ?, ?)");
        return QStringLiteral(
                   "INSERT INTO event_registers (event_id, register_key, register_value, "
                   "answered) VALUES ") +
               rows.join(QStringLiteral(", "));
    }();
    return sql;
}

std::optional<ParameterSet::RegisterIndex> RegisterOfKey(const QString& key) {
    for (int i = 0; i < ParameterSet::RegisterCount; ++i) {
        const auto r = static_cast<ParameterSet::RegisterIndex>(i);
        if (key == QLatin1String(ParameterSet::RegisterKey(r)))
            return r;
    }
    return std::nullopt;
}

Event EventOfRow(const QSqlQuery& row) {
    Event event;
    event.id = row.value(0).toLongLong();
    event.time = row.value(1).toString().toStdString();
    event.origin = {row.value(2).toString().toStdString(), row.value(3).toString().toStdString(),
                    row.value(4).toString().toStdString()};
    event.port = row.value(5).toString().toStdString();
    event.factoryNumber = row.value(6).toString().toStdString();
    event.firmwareVersion = row.value(7).toInt();
    event.operation =
        OperationFromName(row.value(8).toString().toStdString()).value_or(Operation::Read);
    event.subject = row.value(9).toString().toStdString();
    event.ok = row.value(10).toInt() != 0;
    event.message = row.value(11).toString().toStdString();
    return event;
}

}  // namespace

// The inserts of an event, prepared once for the connection: a server then
// sees each event as one round trip per table and the transaction's two.
struct SqlHistoryStore::Inserts {
    explicit Inserts(const QSqlDatabase& db) : event(db), registers(db), table(db) {}

    QSqlError prepare() {
        if (!event.prepare(QStringLiteral(
                "INSERT INTO events (event_time, program, program_version, account, port, "
                "factory_number, firmware_version, operation, subject, ok, message) VALUES (?, ?, "
                "?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id")))
            return event.lastError();
        if (!registers.prepare(RegistersInsert()))
            return registers.lastError();
        if (!table.prepare(
                QStringLiteral("INSERT INTO event_lin_tables (event_id, image) VALUES (?, ?)")))
            return table.lastError();
        return {};
    }

    QSqlQuery event;
    QSqlQuery registers;
    QSqlQuery table;
};

SqlHistoryStore::SqlHistoryStore(DatabaseTarget target)
    : target_(std::move(target)), connection_(NextConnectionName()) {
    if (!target_.problem.empty() || !QSqlDatabase::isDriverAvailable(Text(target_.driver)))
        return;
    QSqlDatabase db = QSqlDatabase::addDatabase(Text(target_.driver), connection_);
    db.setDatabaseName(Text(target_.name));
    if (target_.driver == "QSQLITE") {
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kLockWaitMs));
        return;
    }
    db.setHostName(Text(target_.host));
    db.setPort(target_.port);
    db.setUserName(Text(target_.user));
    db.setPassword(Text(target_.password));
    QString options = QStringLiteral("connect_timeout=%1;options='-c lock_timeout=%2'")
                          .arg(kConnectTimeoutS)
                          .arg(kLockWaitMs);
    if (!target_.options.empty())
        options += ';' + Text(target_.options);
    db.setConnectOptions(options);
}

SqlHistoryStore::~SqlHistoryStore() {
    inserts_.reset();
    if (!QSqlDatabase::contains(connection_))
        return;
    database().close();
    QSqlDatabase::removeDatabase(connection_);
}

QSqlDatabase SqlHistoryStore::database() const {
    return QSqlDatabase::database(connection_, false);
}

bool SqlHistoryStore::fail(const QSqlError& error) {
    return fail(DescribeFailure(target_.description, error));
}

bool SqlHistoryStore::fail(std::string message) {
    error_ = std::move(message);
    ready_ = false;
    inserts_.reset();
    if (QSqlDatabase::contains(connection_))
        database().close();
    return false;
}

bool SqlHistoryStore::ready() {
    if (!target_.problem.empty())
        return fail(target_.problem);
    if (!QSqlDatabase::contains(connection_)) {
        const bool sqlite = target_.driver == "QSQLITE";
        return fail("The history database " + target_.description + " needs Qt's " +
                    target_.driver + " driver (the Debian package " +
                    (sqlite ? "libqt6sql6-sqlite" : "libqt6sql6-psql") + ")");
    }
    if (ready_)
        return true;
    QSqlDatabase db = database();
    if (!open(db))
        return false;
    configure(db);
    if (!migrate(db))
        return false;
    ready_ = true;
    return true;
}

bool SqlHistoryStore::open(QSqlDatabase& db) {
    if (target_.createFolder)
        QDir().mkpath(QFileInfo(Text(target_.name)).absolutePath());
    return db.open() || fail(db.lastError());
}

// Write-ahead logging lets the readers go on while one program writes. With
// it, synchronous=NORMAL writes each commit to the log before the commit
// returns, so a killed program loses nothing it committed; only a power loss
// may take the last commits (FULL would sync the disk at every commit).
// The write that fills the log past the checkpoint copies it into the
// database; a log of 250 pages (some 30 events) keeps that copy near a
// millisecond, where the default 1000 pages take several.
// A database that takes none of this still works; its failures show in the queries.
void SqlHistoryStore::configure(QSqlDatabase& db) {
    if (target_.driver != "QSQLITE")
        return;
    QSqlQuery query(db);
    query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    query.exec(QStringLiteral("PRAGMA wal_autocheckpoint=250"));
}

bool SqlHistoryStore::migrate(QSqlDatabase& db) {
    int version = 0;
    if (const QSqlError error = readVersion(db, version); error.isValid())
        return fail(error);
    const int current = schema::CurrentVersion();
    if (version > current) {
        return fail("The history database " + target_.description +
                    " was written by a newer Varnel (schema version " + std::to_string(version) +
                    ", this one knows up to " + std::to_string(current) + "); it is left as it is");
    }
    if (version == current)
        return true;
    if (!db.transaction())
        return fail(db.lastError());
    const QSqlError error = runMigrations(db, version);
    if (error.isValid()) {
        db.rollback();
        return fail(error);
    }
    return db.commit() || fail(db.lastError());
}

// 0 for a database without the history's tables.
QSqlError SqlHistoryStore::readVersion(QSqlDatabase& db, int& version) {
    if (!db.tables().contains(QStringLiteral("schema_version")))
        return {};
    QSqlQuery query(db);
    if (!Run(query, QStringLiteral("SELECT MAX(version) FROM schema_version")))
        return query.lastError();
    if (query.next())
        version = query.value(0).toInt();
    return {};
}

QSqlError SqlHistoryStore::runMigrations(QSqlDatabase& db, int fromVersion) {
    QSqlQuery query(db);
    for (const schema::Migration& migration : schema::Migrations()) {
        if (migration.version <= fromVersion)
            continue;
        for (const QString& statement : schema::StatementsFor(migration, db.driverName())) {
            if (!query.exec(statement))
                return query.lastError();
        }
    }
    if (!Run(query, QStringLiteral("DELETE FROM schema_version")) ||
        !Run(query, QStringLiteral("INSERT INTO schema_version (version) VALUES (?)"),
             {schema::CurrentVersion()}))
        return query.lastError();
    return {};
}

bool SqlHistoryStore::record(Event& event) {
    if (event.time.empty())
        event.time = NowText();
    if (!ready())
        return false;
    QSqlDatabase db = database();
    // Prepared at the first write, not at opening: on a server, preparing an
    // insert waits for the table's lock, and readers need not.
    if (!inserts_) {
        inserts_ = std::make_unique<Inserts>(db);
        if (const QSqlError error = inserts_->prepare(); error.isValid())
            return fail(error);
    }
    if (!db.transaction())
        return fail(db.lastError());
    QSqlError error = insert(event);
    if (!error.isValid() && !db.commit())
        error = db.lastError();
    if (!error.isValid())
        return true;
    db.rollback();
    event.id = 0;
    return fail(error);
}

QSqlError SqlHistoryStore::insert(Event& event) {
    const QVariantList columns = {Text(event.time),           Text(event.origin.program),
                                  Text(event.origin.version), Text(event.origin.account),
                                  Text(event.port),           Text(event.factoryNumber),
                                  event.firmwareVersion,      OperationName(event.operation),
                                  Text(event.subject),        event.ok ? 1 : 0,
                                  Text(event.message)};
    if (!Execute(inserts_->event, columns) || !inserts_->event.next())
        return inserts_->event.lastError();
    event.id = inserts_->event.value(0).toLongLong();
    inserts_->event.finish();
    if (event.registers) {
        QVariantList values;
        for (int i = 0; i < ParameterSet::RegisterCount; ++i) {
            const RegisterValue& reg = (*event.registers)[size_t(i)];
            values << qlonglong(event.id)
                   << QLatin1String(ParameterSet::RegisterKey(ParameterSet::RegisterIndex(i)))
                   << reg.value << (reg.answered ? 1 : 0);
        }
        if (!Execute(inserts_->registers, values))
            return inserts_->registers.lastError();
        inserts_->registers.finish();
    }
    if (event.linTable) {
        const QByteArray image(reinterpret_cast<const char*>(event.linTable->data()),
                               qsizetype(event.linTable->size()));
        if (!Execute(inserts_->table, {qlonglong(event.id), QString::fromLatin1(image.toHex())}))
            return inserts_->table.lastError();
        inserts_->table.finish();
    }
    return {};
}

std::optional<std::vector<Event>> SqlHistoryStore::events(const EventFilter& filter) {
    QStringList conditions;
    QVariantList values;
    if (filter.factoryNumber) {
        conditions << QStringLiteral("factory_number = ?");
        values << Text(*filter.factoryNumber);
    }
    if (filter.since) {
        const std::optional<QString> since = SinceKey(*filter.since);
        if (!since) {
            error_ = "Not a date or time: " + *filter.since +
                     " (give a date as 2026-03-01 or a time as 2026-03-01T08:00:00Z)";
            return std::nullopt;
        }
        conditions << QStringLiteral("event_time >= ?");
        values << *since;
    }
    if (!ready())
        return std::nullopt;
    const QString where =
        conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(" AND ");
    std::vector<Event> found;
    QSqlError error;
    {
        QSqlQuery query(database());
        query.setForwardOnly(true);
        if (!Run(query,
                 QStringLiteral("SELECT %1 FROM events%2 ORDER BY id DESC")
                     .arg(kEventColumns, where),
                 values))
            error = query.lastError();
        while (query.next())
            found.push_back(EventOfRow(query));
    }
    if (error.isValid()) {
        fail(error);
        return std::nullopt;
    }
    return found;
}

std::optional<Event> SqlHistoryStore::event(int64_t id) {
    return oneEvent(QStringLiteral("id = ?"), {qlonglong(id)});
}

std::optional<Event> SqlHistoryStore::lastSet(const std::string& factoryNumber) {
    return oneEvent(QStringLiteral("factory_number = ? AND ok = 1 AND EXISTS (SELECT 1 FROM "
                                   "event_registers r WHERE r.event_id = events.id)"),
                    {Text(factoryNumber)});
}

std::optional<Event> SqlHistoryStore::oneEvent(const QString& condition,
                                               const QVariantList& values) {
    if (!ready())
        return std::nullopt;
    QSqlDatabase db = database();
    std::optional<Event> found;
    QSqlError error;
    {
        QSqlQuery query(db);
        if (!Run(query,
                 QStringLiteral("SELECT %1 FROM events WHERE %2 ORDER BY id DESC LIMIT 1")
                     .arg(kEventColumns, condition),
                 values))
            error = query.lastError();
        else if (query.next())
            found = EventOfRow(query);
    }
    if (found && !error.isValid())
        error = readSet(db, *found);
    if (error.isValid()) {
        fail(error);
        return std::nullopt;
    }
    return found;
}

QSqlError SqlHistoryStore::readSet(QSqlDatabase& db, Event& event) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!Run(query,
             QStringLiteral("SELECT register_key, register_value, answered FROM event_registers "
                            "WHERE event_id = ?"),
             {qlonglong(event.id)}))
        return query.lastError();
    while (query.next()) {
        if (!event.registers)
            event.registers.emplace();
        if (const auto r = RegisterOfKey(query.value(0).toString()))
            (*event.registers)[size_t(*r)] = {query.value(1).toInt(), query.value(2).toInt() != 0};
    }
    if (!Run(query, QStringLiteral("SELECT image FROM event_lin_tables WHERE event_id = ?"),
             {qlonglong(event.id)}))
        return query.lastError();
    if (query.next()) {
        const QByteArray image = QByteArray::fromHex(query.value(0).toString().toLatin1());
        event.linTable = std::vector<uint8_t>(image.begin(), image.end());
    }
    return {};
}

}  // namespace history
