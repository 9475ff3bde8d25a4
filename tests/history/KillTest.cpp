#include <gtest/gtest.h>
#include <signal.h>

#include <QTemporaryDir>
#include <chrono>
#include <random>
#include <sstream>

#include "history/HistoryTesting.h"
#include "history/Location.h"
#include "support/ChildProcess.h"

// A program killed while it writes the history leaves a database that opens,
// with every event it had committed whole.
namespace {

using namespace std::chrono_literals;
using testsupport::ChildProcess;

constexpr int kKills = 30;

struct Committed {
    int64_t id;
    int seed;
};

std::vector<Committed> committedOf(const std::string& out) {
    std::vector<Committed> found;
    std::istringstream lines(out);
    int64_t id = 0;
    int seed = 0;
    while (lines >> id >> seed)
        found.push_back({id, seed});
    return found;
}

TEST(HistoryKillTest, EveryCommittedEventSurvivesAKillDuringAWrite) {
    QTemporaryDir dir;
    const std::string location = dir.filePath("history.sqlite").toStdString();
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> linesBeforeKill(1, 40);
    std::vector<Committed> committed;
    for (int kill = 0; kill < kKills; ++kill) {
        ChildProcess writer({HISTORY_WRITER_BIN, location});
        const int wanted = linesBeforeKill(random);
        for (int line = 0; line < wanted; ++line)
            ASSERT_TRUE(writer.outputLine(20s).has_value()) << writer.err();
        writer.signal(SIGKILL);
        ASSERT_EQ(writer.wait(10s), 128 + SIGKILL) << writer.err();
        const auto printed = committedOf(writer.out());
        ASSERT_GE(printed.size(), size_t(wanted));
        committed.insert(committed.end(), printed.begin(), printed.end());
    }

    historytesting::RawDatabase raw(location);
    EXPECT_EQ(raw.value("PRAGMA integrity_check").toString(), "ok") << raw.error();
    auto store = history::OpenStore(location);
    for (const Committed& event : committed) {
        const auto found = store->event(event.id);
        ASSERT_TRUE(found.has_value()) << "event " << event.id << ": " << store->lastError();
        const history::Event expected = historytesting::FullEvent(event.seed);
        EXPECT_EQ(found->subject, expected.subject);
        EXPECT_EQ(found->registers, expected.registers) << "event " << event.id;
        EXPECT_EQ(found->linTable, expected.linTable) << "event " << event.id;
    }
    // An event cut off by the kill left nothing behind: no event without its set.
    EXPECT_EQ(raw.value("SELECT COUNT(*) FROM events e WHERE NOT EXISTS (SELECT 1 FROM "
                        "event_registers r WHERE r.event_id = e.id)")
                  .toInt(),
              0);
}

}  // namespace
