#include "cli/HistoryLog.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "cli/Commands.h"
#include "history/Location.h"
#include "platform/ComPortMap.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"

namespace {

// The commands with the history log between them and a real SQLite file.
class HistoryLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com.OpenDefault(1));
        log.attach(com, "COM1", &messages);
    }

    std::vector<history::Event> recorded() {
        auto events = store->events({});
        EXPECT_TRUE(events.has_value()) << store->lastError();
        return events.value_or(std::vector<history::Event>{});
    }

    sim::SimulatedSensor sensor{*sim::presetConfig("qh")};
    platform::VirtualClock clock;
    sim::InProcessBackend backend{sensor, clock};
    platform::ComPortMap ports;
    TSSICom com{backend, clock, ports};
    QTemporaryDir folder;
    std::unique_ptr<history::HistoryStore> store =
        history::OpenStore(folder.filePath(QStringLiteral("h.sqlite")).toStdString());
    std::ostringstream out;
    std::ostringstream err;
    std::ostringstream warnings;
    cli::MessageCapture messages{err};
    std::ostream loggedErr{&messages};
    cli::HistoryLog log{store.get(), warnings};
    cli::CommandRunner runner{com, "COM1", out, loggedErr, &log};
};

TEST_F(HistoryLogTest, AWriteNamesItsSensorAndAFailureKeepsThePrintedMessage) {
    ASSERT_EQ(runner.set(TSSICom::BitWidth, {24, ""}), 0);
    sensor.faults().refusedCommands = {"DN"};
    ASSERT_EQ(runner.set(TSSICom::BitWidth, {20, ""}), 1);

    const auto events = recorded();
    ASSERT_EQ(events.size(), 2u);
    const history::Event& failed = events[0];
    const history::Event& written = events[1];
    EXPECT_EQ(written.operation, history::Operation::Write);
    EXPECT_TRUE(written.ok);
    EXPECT_EQ(written.subject, "BitWidth");
    // The write reads only the firmware and its word; the factory number is read for the event.
    EXPECT_EQ(written.factoryNumber, "10203040");
    EXPECT_EQ(written.firmwareVersion, 3960105);
    EXPECT_EQ(written.port, "COM1");
    EXPECT_EQ(written.origin.program, "varnelctl");
    EXPECT_FALSE(written.origin.account.empty());
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.message + "\n", err.str().substr(err.str().find("BitWidth: ")));
    EXPECT_EQ(warnings.str(), "");
}

TEST_F(HistoryLogTest, AReadKeepsTheSetAndProgressIsNoPartOfAMessage) {
    ASSERT_EQ(runner.read(false), 0);
    loggedErr << "\r[####    ] 120/301\r[########] 301/301\n";
    sensor.faults().silent = true;
    ASSERT_EQ(runner.read(false), 1);

    const auto events = recorded();
    ASSERT_EQ(events.size(), 2u);
    const auto read = store->event(events[1].id);
    ASSERT_TRUE(read.has_value());
    ASSERT_TRUE(read->registers.has_value());
    EXPECT_EQ((*read->registers)[TSSICom::BitWidth].value, 25);
    EXPECT_TRUE((*read->registers)[TSSICom::BitWidth].answered);
    EXPECT_EQ(events[0].message, "FirmwareVersion: the sensor on COM1 did not answer");
    EXPECT_NE(err.str().find("301/301"), std::string::npos) << "passed on as it came";
}

TEST(HistoryLogWarning, AStoreThatFailsIsNamedOnceAndTheCommandsGoOn) {
    sim::SimulatedSensor sensor{*sim::presetConfig("qh")};
    platform::VirtualClock clock;
    sim::InProcessBackend backend{sensor, clock};
    platform::ComPortMap ports;
    TSSICom com{backend, clock, ports};
    ASSERT_TRUE(com.OpenDefault(1));
    QTemporaryDir folder;
    const std::string blocked = folder.filePath(QStringLiteral("blocked")).toStdString();
    std::ofstream(blocked) << "x";
    auto store = history::OpenStore(blocked + "/h.sqlite");
    std::ostringstream out;
    std::ostringstream warnings;
    cli::HistoryLog log{store.get(), warnings};
    log.attach(com, "COM1", nullptr);
    cli::CommandRunner runner{com, "COM1", out, out, &log};

    EXPECT_EQ(runner.read(false), 0);
    EXPECT_EQ(runner.commit(), 0);
    EXPECT_EQ(runner.set(TSSICom::BitWidth, {24, ""}), 0);

    const std::string warning = warnings.str();
    EXPECT_EQ(warning.rfind("varnelctl: warning: The history database " + blocked +
                                "/h.sqlite cannot be opened: ",
                            0),
              0u)
        << warning;
    EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
    EXPECT_NE(warning.find("; the work on the sensor goes on without its history\n"),
              std::string::npos)
        << warning;
    EXPECT_EQ(sensor.word("DA") & 0xFF, 24u);
}

}  // namespace
