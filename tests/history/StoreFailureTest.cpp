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

// What an SQLite history does when it may not be written and when it is no database.
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
    // False under root when giving up its right failed.
    bool done() const { return dropped_ || geteuid() != 0; }
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
    if (!account.done())
        GTEST_SKIP() << "runs as root and cannot act as the account nobody";
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

}  // namespace
