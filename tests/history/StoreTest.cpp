#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>

#include "history/HistoryStore.h"
#include "history/HistoryTesting.h"
#include "history/Location.h"
#include "support/PostgresServer.h"

// The cases every store shares, run against an SQLite file and against a
// PostgreSQL server started for them.
namespace {

using history::Event;
using history::EventFilter;
using history::HistoryStore;
using history::Operation;
using historytesting::FullEvent;
using historytesting::RawDatabase;

testsupport::PostgresServer& SharedServer() {
    static testsupport::PostgresServer server;
    return server;
}

EventFilter Filter(std::optional<std::string> factoryNumber, std::optional<std::string> since) {
    EventFilter filter;
    filter.factoryNumber = std::move(factoryNumber);
    filter.since = std::move(since);
    return filter;
}

class StoreTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (std::string(GetParam()) == "postgresql") {
            if (testsupport::PostgresServer::BinDir().empty())
                GTEST_SKIP() << "PostgreSQL's server programs are not installed";
            ASSERT_TRUE(SharedServer().running()) << SharedServer().problem();
            static int databases = 0;
            location = SharedServer().createDatabase("history_" + std::to_string(++databases));
            ASSERT_FALSE(location.empty()) << SharedServer().problem();
        } else {
            location = "sqlite:" + dir.filePath("history.sqlite").toStdString();
        }
        store = history::OpenStore(location);
    }

    Event recorded(Event event) {
        EXPECT_TRUE(store->record(event)) << store->lastError();
        return event;
    }
    Event at(const std::string& time, const std::string& factoryNumber, int seed = 1) {
        Event event = FullEvent(seed, factoryNumber);
        event.time = time;
        return recorded(event);
    }
    std::vector<int64_t> idsOf(const EventFilter& filter) {
        const auto found = store->events(filter);
        EXPECT_TRUE(found.has_value()) << store->lastError();
        std::vector<int64_t> ids;
        for (const Event& event : found.value_or(std::vector<Event>{})) {
            EXPECT_FALSE(event.registers.has_value());
            EXPECT_FALSE(event.linTable.has_value());
            ids.push_back(event.id);
        }
        return ids;
    }

    QTemporaryDir dir;
    std::string location;
    std::unique_ptr<HistoryStore> store;
};

TEST_P(StoreTest, AnEventComesBackAsItWasWrittenWithItsSetAndTable) {
    Event full = FullEvent(3);
    Event failed = FullEvent(4);
    failed.operation = Operation::LinWrite;
    failed.ok = false;
    failed.message = "Sensor does not answer: \"LT\" 'quoted' \xc3\xa4";
    failed.registers.reset();
    failed.linTable.reset();
    ASSERT_TRUE(store->record(full)) << store->lastError();
    ASSERT_TRUE(store->record(failed)) << store->lastError();

    EXPECT_GT(full.id, 0);
    EXPECT_GT(failed.id, full.id);
    const QRegularExpression utcWithMs(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z$)");
    EXPECT_TRUE(utcWithMs.match(QString::fromStdString(full.time)).hasMatch()) << full.time;

    // Read through a second store, as another program on the same history would.
    auto other = history::OpenStore(location);
    const auto back = other->event(full.id);
    ASSERT_TRUE(back.has_value()) << other->lastError();
    EXPECT_EQ(back->time, full.time);
    EXPECT_EQ(back->origin.program, "varnelctl");
    EXPECT_EQ(back->origin.version, "5.3.6.2");
    EXPECT_EQ(back->origin.account, "tech3");
    EXPECT_EQ(back->port, full.port);
    EXPECT_EQ(back->factoryNumber, "20815001");
    EXPECT_EQ(back->firmwareVersion, 3960603);
    EXPECT_EQ(back->operation, Operation::Load);
    EXPECT_EQ(back->subject, "line 3.kyr");
    EXPECT_TRUE(back->ok);
    EXPECT_EQ(back->registers, full.registers);
    EXPECT_EQ(back->linTable, full.linTable);

    const auto backFailed = other->event(failed.id);
    ASSERT_TRUE(backFailed.has_value()) << other->lastError();
    EXPECT_EQ(backFailed->operation, Operation::LinWrite);
    EXPECT_FALSE(backFailed->ok);
    EXPECT_EQ(backFailed->message, failed.message);
    EXPECT_FALSE(backFailed->registers.has_value());
    EXPECT_FALSE(backFailed->linTable.has_value());

    EXPECT_FALSE(other->event(failed.id + 1).has_value());
    EXPECT_EQ(other->lastError(), "");
}

TEST_P(StoreTest, EveryOperationKeepsItsName) {
    for (Operation operation :
         {Operation::Read, Operation::Write, Operation::Load, Operation::Commit,
          Operation::LinWrite, Operation::FactoryRestore, Operation::FirmwareDownload}) {
        Event event = FullEvent(1);
        event.operation = operation;
        ASSERT_TRUE(store->record(event)) << store->lastError();
        EXPECT_EQ(store->event(event.id)->operation, operation);
    }
}

TEST_P(StoreTest, EventsComeNewestFirstFilteredBySensorAndTime) {
    const Event a = at("2026-02-28T23:59:59.999Z", "20815001");
    const Event b = at("2026-03-01T00:00:00.000Z", "20815002");
    const Event c = at("2026-03-01T10:30:00.500Z", "20815001");
    const Event d = at("2026-03-02T08:00:00.000Z", "20815001");

    EXPECT_EQ(idsOf({}), (std::vector<int64_t>{d.id, c.id, b.id, a.id}));
    EXPECT_EQ(idsOf(Filter("20815001", {})), (std::vector<int64_t>{d.id, c.id, a.id}));
    EXPECT_EQ(idsOf(Filter({}, "2026-03-01")), (std::vector<int64_t>{d.id, c.id, b.id}));
    EXPECT_EQ(idsOf(Filter("20815001", "2026-03-01")), (std::vector<int64_t>{d.id, c.id}));
    EXPECT_EQ(idsOf(Filter({}, "2026-03-01T10:30:00.500Z")), (std::vector<int64_t>{d.id, c.id}));
    EXPECT_EQ(idsOf(Filter({}, "2026-03-01T10:30:00.501Z")), (std::vector<int64_t>{d.id}));
    // A time with a zone counts in UTC; one without a zone is UTC.
    EXPECT_EQ(idsOf(Filter({}, "2026-03-01T11:30:00+01:00")), (std::vector<int64_t>{d.id, c.id}));
    EXPECT_EQ(idsOf(Filter({}, "2026-03-01T10:31:00")), (std::vector<int64_t>{d.id}));
    EXPECT_EQ(idsOf(Filter("99999999", {})), std::vector<int64_t>{});

    const auto found = store->events({});
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->front().time, d.time);
    EXPECT_EQ(found->front().subject, d.subject);
    EXPECT_EQ(found->front().factoryNumber, "20815001");

    EXPECT_FALSE(store->events(Filter({}, "March")).has_value());
    EXPECT_EQ(store->lastError(),
              "Not a date or time: March (give a date as 2026-03-01 or a time as "
              "2026-03-01T08:00:00Z)");
}

TEST_P(StoreTest, TheLastSetIsTheNewestSuccessfulEventOfTheSensorWithASet) {
    const Event wanted = at("2026-03-01T10:00:00.000Z", "20815001", 5);
    Event failed = FullEvent(6);
    failed.ok = false;
    recorded(failed);
    Event withoutSet = FullEvent(7);
    withoutSet.operation = Operation::Commit;
    withoutSet.registers.reset();
    recorded(withoutSet);
    at("2026-03-01T11:00:00.000Z", "20815002", 8);

    const auto last = store->lastSet("20815001");
    ASSERT_TRUE(last.has_value()) << store->lastError();
    EXPECT_EQ(last->id, wanted.id);
    EXPECT_EQ(last->registers, wanted.registers);
    EXPECT_EQ(last->linTable, wanted.linTable);
    EXPECT_EQ(history::SetOf(*last)[ParameterSet::FactoryNumber].Reply, "20815001");

    EXPECT_FALSE(store->lastSet("20815003").has_value());
    EXPECT_EQ(store->lastError(), "");
}

TEST_P(StoreTest, ADatabaseOfANewerSchemaIsRefusedAndLeftAsItIs) {
    const Event kept = recorded(FullEvent(1));
    {
        RawDatabase raw(location);
        ASSERT_TRUE(raw.exec("UPDATE schema_version SET version = 99")) << raw.error();
    }
    auto newer = history::OpenStore(location);
    Event refused = FullEvent(2);
    EXPECT_FALSE(newer->record(refused));
    const std::string expected = "The history database " + history::DescribeLocation(location) +
                                 " was written by a newer Varnel (schema version 99, this one "
                                 "knows up to 1); it is left as it is";
    EXPECT_EQ(newer->lastError(), expected);
    EXPECT_FALSE(newer->events({}).has_value());
    EXPECT_EQ(newer->lastError(), expected);

    RawDatabase raw(location);
    EXPECT_EQ(raw.value("SELECT COUNT(*) FROM events").toInt(), 1);
    EXPECT_EQ(raw.value("SELECT MAX(id) FROM events").toLongLong(), kept.id);
    EXPECT_EQ(raw.value("SELECT version FROM schema_version").toInt(), 99);
}

TEST_P(StoreTest, AFreshDatabaseGetsTheSchemaVersionOnce) {
    recorded(FullEvent(1));
    auto again = history::OpenStore(location);
    Event second = FullEvent(2);
    ASSERT_TRUE(again->record(second)) << again->lastError();
    RawDatabase raw(location);
    EXPECT_EQ(raw.value("SELECT COUNT(*) FROM schema_version").toInt(), 1);
    EXPECT_EQ(raw.value("SELECT version FROM schema_version").toInt(), 1);
    EXPECT_EQ(raw.value("SELECT COUNT(*) FROM event_registers").toInt(),
              2 * ParameterSet::RegisterCount);
}

INSTANTIATE_TEST_SUITE_P(Drivers, StoreTest, testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
