#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>

#include "history/HistoryTesting.h"
#include "history/Location.h"
#include "history/Recorder.h"

// What an SQLite history does when another program holds it, when it may not
// be written, when it is no database, and when its folder appears later.
namespace {

using history::Event;
using historytesting::FullEvent;
using historytesting::RawDatabase;

class StoreFailureTest : public testing::Test {
protected:
    std::string path() const { return dir.filePath("history.sqlite").toStdString(); }
    std::string described(const std::string& situation) const {
        return "The history database " + path() + " " + situation;
    }
    QByteArray fileBytes() const {
        QFile file(QString::fromStdString(path()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    std::vector<std::string> subjects(history::HistoryStore& store) {
        std::vector<std::string> found;
        for (const Event& event : store.events({}).value_or(std::vector<Event>{}))
            found.push_back(event.subject);
        return found;
    }

    QTemporaryDir dir;
};

// The effective account for as long as it lives: root writes read-only files,
// so a root test gives up that right meanwhile.
class WithoutRoot {
public:
    WithoutRoot() {
        const passwd* nobody = getpwnam("nobody");
        if (geteuid() == 0 && nobody && seteuid(nobody->pw_uid) == 0)
            dropped_ = true;
    }
    ~WithoutRoot() {
        if (dropped_) {
            EXPECT_EQ(seteuid(0), 0);
        }
    }
    WithoutRoot(const WithoutRoot&) = delete;
    WithoutRoot& operator=(const WithoutRoot&) = delete;

private:
    bool dropped_ = false;
};

TEST_F(StoreFailureTest, ALockedDatabaseFailsSoonAndTheRecorderWritesWhatItMissedInOrder) {
    auto store = history::OpenStore(path());
    history::Recorder recorder(store.get(), {"varnel", "5.3.6.2", "tech"});
    // Events as the programs hand them over: the recorder names their origin.
    const auto operation = [](int seed, const char* subject) {
        Event event = FullEvent(seed);
        event.origin = {};
        event.subject = subject;
        return event;
    };
    recorder.record(operation(1, "before"));
    ASSERT_EQ(recorder.missed(), 0u) << recorder.problem();

    auto other = std::make_unique<RawDatabase>(path());
    ASSERT_TRUE(other->exec("BEGIN IMMEDIATE")) << other->error();
    for (const char* subject : {"missed 1", "missed 2"}) {
        const auto start = std::chrono::steady_clock::now();
        recorder.record(operation(2, subject));
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_LT(waited, std::chrono::milliseconds(1500)) << "a sensor operation waited too long";
    }
    EXPECT_EQ(recorder.missed(), 2u);
    EXPECT_EQ(recorder.problem(), described("is locked by another program"));
    // Readers go on while the other program writes.
    EXPECT_EQ(subjects(*store), std::vector<std::string>{"before"});

    ASSERT_TRUE(other->exec("ROLLBACK")) << other->error();
    other.reset();
    recorder.record(operation(3, "after"));
    EXPECT_EQ(recorder.missed(), 0u);
    EXPECT_EQ(recorder.problem(), "");

    const auto events = store->events({});
    ASSERT_TRUE(events.has_value()) << store->lastError();
    ASSERT_EQ(subjects(*store),
              (std::vector<std::string>{"after", "missed 2", "missed 1", "before"}));
    // A late event keeps the time of its operation, not of its write.
    EXPECT_LE((*events)[2].time, (*events)[1].time);
    EXPECT_LE((*events)[1].time, (*events)[0].time);
    EXPECT_EQ(store->event((*events)[2].id)->registers, FullEvent(2).registers);
    EXPECT_EQ((*events)[2].origin.program, "varnel");
}

TEST_F(StoreFailureTest, TheDatabaseIsWrittenAheadOfTheLog) {
    Event event = FullEvent(1);
    ASSERT_TRUE(history::OpenStore(path())->record(event));
    RawDatabase raw(path());
    EXPECT_EQ(raw.value("PRAGMA journal_mode").toString(), "wal");
}

TEST_F(StoreFailureTest, AReadOnlyDatabaseIsNamedAndKeptAsItIs) {
    Event kept = FullEvent(1);
    ASSERT_TRUE(history::OpenStore(path())->record(kept));
    const QByteArray before = fileBytes();
    QFile::setPermissions(QString::fromStdString(path()),
                          QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() == 0) {
        ASSERT_NE(nobody, nullptr);
        ASSERT_EQ(chown(dir.path().toLocal8Bit().constData(), nobody->pw_uid, nobody->pw_gid), 0);
    }

    WithoutRoot account;
    auto store = history::OpenStore(path());
    Event refused = FullEvent(2);
    EXPECT_FALSE(store->record(refused));
    EXPECT_EQ(store->lastError(), described("is read-only"));
    EXPECT_EQ(refused.id, 0);
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(StoreFailureTest, GarbageIsNamedAsDamagedAndNeverWritten) {
    QByteArray garbage(8192, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 131 + 17) % 251);
    {
        QFile file(QString::fromStdString(path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    auto store = history::OpenStore(path());
    Event event = FullEvent(1);
    EXPECT_FALSE(store->record(event));
    const std::string damaged = described("is damaged or no database: file is not a database");
    EXPECT_EQ(store->lastError(), damaged);
    EXPECT_FALSE(store->events({}).has_value());
    EXPECT_EQ(store->lastError(), damaged);
    EXPECT_FALSE(store->lastSet("20815001").has_value());
    EXPECT_EQ(store->lastError(), damaged);
    EXPECT_EQ(fileBytes(), garbage);
}

TEST_F(StoreFailureTest, ADatabaseThatCannotBeOpenedIsUsedOnceItCanBe) {
    const QString folder = dir.filePath("later");
    const std::string file = (folder + "/history.sqlite").toStdString();
    auto store = history::OpenStore("sqlite:" + file);
    Event event = FullEvent(1);
    EXPECT_FALSE(store->record(event));
    EXPECT_EQ(store->lastError(),
              "The history database " + file + " cannot be opened: unable to open database file");

    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(store->record(event)) << store->lastError();
    EXPECT_EQ(store->event(event.id)->registers, event.registers);
}

}  // namespace
