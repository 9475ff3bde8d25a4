#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/FileText.h"
#include "support/HexText.h"
#include "support/ProgramRun.h"
#include "support/Simulator.h"
#include "support/TempHome.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::ChildProcess;
using CliRun = testsupport::ProgramRun;

constexpr auto kStartLimit = 20s;
constexpr auto kRunLimit = 60s;

// One recorded event as history --json gives it.
struct Recorded {
    int64_t id = 0;
    std::string operation;
    bool ok = false;
    std::string factoryNumber;
    std::string port;
    std::string subject;
    std::string message;
    std::string program;
};

std::vector<Recorded> parseEvents(const std::string& json) {
    std::vector<Recorded> events;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json));
    EXPECT_TRUE(document.isArray()) << json;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject o = value.toObject();
        events.push_back({o["id"].toInteger(), o["operation"].toString().toStdString(),
                          o["ok"].toBool(), o["factoryNumber"].toString().toStdString(),
                          o["port"].toString().toStdString(), o["subject"].toString().toStdString(),
                          o["message"].toString().toStdString(),
                          o["program"].toString().toStdString()});
    }
    return events;
}

// Commands of the traffic log that write: the second letter is N ("DN", "CN" ...).
int writesIn(const std::string& log) {
    std::istringstream lines(log);
    int writes = 0;
    for (std::string line; std::getline(lines, line);) {
        const auto rx = line.find(" RX ");
        if (rx == std::string::npos)
            continue;
        const auto text = line.find_first_not_of(' ', rx + 4);
        writes += text != std::string::npos && line.size() > text + 1 && line[text + 1] == 'N';
    }
    return writes;
}

// varnelctl against varnel-sensor-sim with a history database of the test's own
// (the default SQLite file under a temporary XDG_DATA_HOME).
class HistoryE2E : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = home_.path().toStdString();
        link_ = (dir_ / "ttySIM").string();
        file_ = (dir_ / "line.kyr").string();
    }
    void TearDown() override { sim_.reset(); }

    void startSimulator(const std::vector<std::string>& options) {
        testsupport::StartSimulator(sim_, VARNEL_SIM_BIN, link_, options, kStartLimit);
    }
    void stopSimulator() {
        sim_.reset();
        fs::remove(link_);
    }

    CliRun varnelctl(std::vector<std::string> args) {
        args.insert(args.begin(), VARNELCTL_BIN);
        return testsupport::RunToEnd(args, {}, kRunLimit);
    }
    // The same with --port and the simulator's link after the command's words.
    CliRun onSensor(std::vector<std::string> args) {
        args.insert(args.end(), {"--port", link_});
        return varnelctl(args);
    }

    std::vector<Recorded> events(std::vector<std::string> filter = {}) {
        filter.insert(filter.begin(), "history");
        filter.push_back("--json");
        const CliRun list = varnelctl(filter);
        EXPECT_EQ(list.exitCode, 0) << list.err;
        return parseEvents(list.out);
    }

    std::string databasePath() const { return home_.dataPath().toStdString() + "/history.sqlite"; }

    TempHome home_;
    fs::path dir_;
    std::string link_;
    std::string file_;
    std::unique_ptr<ChildProcess> sim_;
};

// Each command run on the sensor leaves exactly its events (oldest first), all naming the
// sensor, the port and varnelctl.
struct Expected {
    std::string operation;
    bool ok;
    std::string subject;
};
struct OperationCase {
    std::vector<std::string> command;
    int exitCode;
    std::vector<Expected> events;
};

class HistoryOperationsE2E : public HistoryE2E {
protected:
    void SetUp() override {
        HistoryE2E::SetUp();
        startSimulator({"--preset", "qh", "--factory-number", "20815001"});
        ASSERT_EQ(onSensor({"save", file_}).exitCode, 0);
        ASSERT_EQ(events().size(), 1u);
    }

    void expectEvents(const std::vector<OperationCase>& cases) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.command.front() + " " + (c.command.size() > 1 ? c.command[1] : ""));
            const size_t before = events().size();

            const CliRun run = onSensor(c.command);

            EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
            const std::vector<Recorded> after = events();
            ASSERT_EQ(after.size(), before + c.events.size());
            for (size_t i = 0; i < c.events.size(); ++i) {
                const Recorded& event = after[c.events.size() - 1 - i];
                EXPECT_EQ(event.operation, c.events[i].operation);
                EXPECT_EQ(event.ok, c.events[i].ok);
                EXPECT_EQ(event.subject, c.events[i].subject);
                EXPECT_EQ(event.factoryNumber, "20815001");
                EXPECT_EQ(event.port, link_);
                EXPECT_EQ(event.program, "varnelctl");
                if (!event.ok) {
                    EXPECT_NE(run.err.find(event.message), std::string::npos) << event.message;
                    EXPECT_FALSE(event.message.empty());
                }
            }
        }
    }
};

TEST_F(HistoryOperationsE2E, ReadsWritesAndCommitsLeaveTheirEvents) {
    expectEvents({
        {{"read"}, 0, {{"read", true, ""}}},
        {{"save", file_}, 0, {{"read", true, ""}}},
        {{"set", "BitWidth", "24"}, 0, {{"write", true, "BitWidth"}}},
        {{"commit"}, 0, {{"commit", true, ""}}},
        {{"diff", file_}, 0, {{"read", true, ""}}},
        // Reads only a register: nothing to record.
        {{"get", "BitWidth"}, 0, {}},
    });
}

TEST_F(HistoryOperationsE2E, LoadsAndAppliesLeaveTheirEvents) {
    expectEvents({
        {{"load", file_, "--yes"}, 0, {{"load", true, file_}}},
        {{"load", file_, "--yes", "--commit"}, 0, {{"load", true, file_}, {"commit", true, ""}}},
        {{"apply", file_}, 0, {{"load", true, file_}}},
        {{"apply", file_, "--commit"}, 0, {{"load", true, file_}, {"commit", true, ""}}},
    });
}

TEST_F(HistoryOperationsE2E, ReportsStreamsTablesAndFirmwareLeaveTheirEvents) {
    const std::string pdf = (dir_ / "report.pdf").string();
    const std::string hex = (dir_ / "image.hex").string();
    std::ofstream(hex) << testsupport::hexFile(testsupport::countingBytes(64));
    expectEvents({
        {{"report", "--pdf", pdf}, 0, {{"read", true, ""}}},
        {{"stream", "--count", "2"}, 0, {{"read", true, ""}}},
        {{"lin", "set", "250", "5"}, 0, {{"lin-write", true, "entry 250"}}},
        {{"lin", "factor", "2"}, 0, {{"lin-write", true, "factor 501"}}},
        {{"lin", "start", "100"}, 0, {{"lin-write", true, "LinStartValue"}}},
        {{"lin", "report", "--pdf", pdf}, 0, {{"read", true, ""}}},
        {{"firmware", "flash", hex, "--yes"}, 1, {{"firmware", false, hex}}},
        // Reads the table without the set: nothing to record.
        {{"lin", "get", "250"}, 0, {}},
    });
}

TEST_F(HistoryE2E, AFailedOperationIsRecordedWithTheMessageItPrinted) {
    startSimulator({"--preset", "qh", "--factory-number", "20815001"});
    ASSERT_EQ(onSensor({"read"}).exitCode, 0);
    startSimulator({"--preset", "qh", "--silent"});

    const CliRun read = onSensor({"read"});

    EXPECT_EQ(read.exitCode, 1);
    const std::vector<Recorded> recorded = events();
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[0].operation, "read");
    EXPECT_FALSE(recorded[0].ok);
    EXPECT_EQ(recorded[0].message, "FirmwareVersion: the sensor on " + link_ + " did not answer");
    EXPECT_EQ(read.err, recorded[0].message + "\n");
}

TEST_F(HistoryE2E, AHistoryThatCannotBeWrittenWarnsOnceAndTheOperationGoesOn) {
    startSimulator({"--preset", "qh"});
    ASSERT_EQ(onSensor({"save", file_}).exitCode, 0);
    // Tests run as root, who writes into any folder; a file where the database's
    // folder should be stops everyone.
    const std::string blocked = (dir_ / "blocked").string();
    std::ofstream(blocked) << "x";
    const std::string database = blocked + "/h.sqlite";

    // Two events, a set write and a commit, and one warning.
    const CliRun load = onSensor({"load", file_, "--yes", "--commit", "--history", database});

    EXPECT_EQ(load.exitCode, 0) << load.err;
    EXPECT_NE(
        load.out.find("Loaded " + file_ + " into the sensor on " + link_ + " and committed it\n"),
        std::string::npos)
        << load.out;
    EXPECT_EQ(
        load.err.rfind(
            "varnelctl: warning: The history database " + database + " cannot be opened: ", 0),
        0u)
        << load.err;
    EXPECT_NE(load.err.find("; the work on the sensor goes on without its history\n"),
              std::string::npos)
        << load.err;
    EXPECT_EQ(std::count(load.err.begin(), load.err.end(), '\n'), 1) << load.err;
    EXPECT_FALSE(fs::exists(database));
}

TEST_F(HistoryE2E, ListShowAndDiffPrintTheRecordedSets) {
    startSimulator({"--preset", "qh", "--factory-number", "20815001"});
    ASSERT_EQ(onSensor({"read"}).exitCode, 0);
    ASSERT_EQ(onSensor({"set", "BitWidth", "13"}).exitCode, 0);
    ASSERT_EQ(onSensor({"read"}).exitCode, 0);
    startSimulator({"--preset", "kbf", "--factory-number", "40000004"});
    ASSERT_EQ(onSensor({"read"}).exitCode, 0);

    const CliRun table = varnelctl({"history"});
    ASSERT_EQ(table.exitCode, 0) << table.err;
    EXPECT_EQ(table.out.rfind("   ID  Time (UTC)                Operation        Result  Factory   "
                              "Program               Port            Subject\n",
                              0),
              0u)
        << table.out;
    EXPECT_NE(table.out.find("    2  "), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("  write            ok      20815001  varnelctl "), std::string::npos)
        << table.out;
    EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 5);

    const auto ofFirst = events({"20815001"});
    ASSERT_EQ(ofFirst.size(), 3u);
    EXPECT_EQ(ofFirst[0].id, 3);
    EXPECT_EQ(ofFirst[2].id, 1);
    EXPECT_EQ(events({"20815001", "--since", "2000-01-01"}).size(), 3u);
    EXPECT_TRUE(events({"--since", "2999-01-01"}).empty());
    EXPECT_EQ(events({"20815001"}).size(),
              events({"20815001", "--since", "2000-01-01T00:00"}).size());

    const CliRun show = varnelctl({"history", "show", "1"});
    ASSERT_EQ(show.exitCode, 0) << show.err;
    EXPECT_EQ(show.out.rfind("File event 1, saved ", 0), 0u) << show.out;
    EXPECT_NE(
        show.out.find("set size 888 (37 values)\n  event 1: read (ok) of sensor 20815001 on " +
                      link_ + " by varnelctl "),
        std::string::npos)
        << show.out;
    EXPECT_NE(show.out.find("\n  7  BitWidth                      25\n"), std::string::npos)
        << show.out;
    const CliRun showJson = varnelctl({"history", "show", "3", "--json"});
    EXPECT_NE(showJson.out.find("{\"index\": 7, \"key\": \"BitWidth\", \"value\": 13}"),
              std::string::npos)
        << showJson.out;

    const CliRun diff = varnelctl({"history", "diff", "1", "3"});
    ASSERT_EQ(diff.exitCode, 0) << diff.err;
    EXPECT_EQ(diff.out,
              "  #  Key                      event 1      event 3\n"
              "  7  BitWidth                      25           13\n"
              "Not compared, the sensor did not answer: LinearizationFlags SSISampleTime "
              "OperatingTime LinTableAddress Blanking\n")
        << diff.out;
    const CliRun diffJson = varnelctl({"history", "diff", "1", "3", "--json"});
    EXPECT_EQ(diffJson.out,
              "{\"first\": \"event 1\", \"second\": \"event 3\", \"differences\": [{\"index\": 7, "
              "\"key\": \"BitWidth\", \"first\": 25, \"second\": 13}], \"notCompared\": "
              "[\"LinearizationFlags\", \"SSISampleTime\", \"OperatingTime\", \"LinTableAddress\", "
              "\"Blanking\"]}\n");

    const struct {
        std::vector<std::string> command;
        std::string message;
    } refusals[] = {
        {{"history", "show", "99"}, "No event 99 in the history database " + databasePath() + "\n"},
        {{"history", "diff", "1", "99"},
         "No event 99 in the history database " + databasePath() + "\n"},
        {{"history", "show", "2"}, "Event 2 (write) recorded no parameter set\n"},
    };
    for (const auto& r : refusals) {
        const CliRun refused = varnelctl(r.command);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.err, r.message);
        EXPECT_EQ(refused.out, "");
    }
}

TEST_F(HistoryE2E, AReplacementSensorGetsTheOldSetAndKeepsItsOwnFactoryNumber) {
    startSimulator({"--preset", "qh", "--factory-number", "20815001"});
    ASSERT_EQ(onSensor({"set", "BitWidth", "13"}).exitCode, 0);
    ASSERT_EQ(onSensor({"set", "Resolution", "10"}).exitCode, 0);
    ASSERT_EQ(onSensor({"read"}).exitCode, 0);
    stopSimulator();
    const std::string log = (dir_ / "b.log").string();
    startSimulator({"--preset", "qh", "--factory-number", "30000002"});

    const CliRun restore = onSensor({"history", "restore", "20815001", "--commit"});

    ASSERT_EQ(restore.exitCode, 0) << restore.err << restore.out;
    EXPECT_NE(restore.out.find("the set of event 3 of 20815001 on the sensor on " + link_ +
                               ": 25 registers compared, 0 differ, committed\n"),
              std::string::npos)
        << restore.out;
    const auto value = [this](const char* key) { return onSensor({"get", key}).out; };
    EXPECT_EQ(value("FactoryNumber"), "30000002\n");
    EXPECT_EQ(value("BitWidth"), "13\n");
    EXPECT_EQ(value("Resolution"), "10\n");
    const auto ofNew = events({"30000002"});
    ASSERT_EQ(ofNew.size(), 2u);
    EXPECT_EQ(ofNew[1].operation, "load");
    EXPECT_EQ(ofNew[1].subject, "event 3 of 20815001");
    EXPECT_TRUE(ofNew[1].ok);
    EXPECT_EQ(ofNew[0].operation, "commit");

    const CliRun json = onSensor({"history", "restore", "20815001", "--json"});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{\"file\": \"the set of event 3 of 20815001\", ", 0), 0u) << json.out;

    startSimulator({"--preset", "kbf", "--factory-number", "40000004", "--log", log});
    const CliRun misfit = onSensor({"history", "restore", "20815001", "--commit"});
    EXPECT_EQ(misfit.exitCode, 1);
    EXPECT_EQ(misfit.err,
              "The recorded set of sensor 20815001 (event 3) does not fit the sensor on " + link_ +
                  ": another firmware type (39601, not 39606); nothing was written\n");
    EXPECT_EQ(writesIn(testsupport::FileText(log)), 0) << testsupport::FileText(log);
    const auto ofMisfit = events({"40000004"});
    ASSERT_EQ(ofMisfit.size(), 1u);
    EXPECT_EQ(ofMisfit[0].operation, "load");
    EXPECT_FALSE(ofMisfit[0].ok);
    EXPECT_EQ(ofMisfit[0].message + "\n", misfit.err);

    const CliRun unknown = onSensor({"history", "restore", "99999999"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.err,
              "No set of sensor 99999999 is recorded in the history DB " + databasePath() + "\n");
}

TEST_F(HistoryE2E, StationSetsUpOneSensorAfterTheOtherUntilCtrlC) {
    startSimulator({"--preset", "qh", "--factory-number", "11110001"});
    ASSERT_EQ(onSensor({"set", "BitWidth", "13"}).exitCode, 0);
    ASSERT_EQ(onSensor({"save", file_}).exitCode, 0);
    ASSERT_EQ(onSensor({"set", "BitWidth", "25"}).exitCode, 0);
    const fs::path reports = dir_ / "reports";
    fs::create_directories(reports);

    ChildProcess station(
        {VARNELCTL_BIN, "station", file_, "--port", link_, "--report-dir", reports.string()});
    ASSERT_TRUE(station.started());
    const auto first = station.outputLine(kRunLimit);
    ASSERT_TRUE(first.has_value()) << station.err();
    EXPECT_EQ(first->rfind("11110001  OK  ", 0), 0u) << *first;
    EXPECT_NE(first->find("  report " + (reports / "11110001.pdf").string()), std::string::npos)
        << *first;
    stopSimulator();
    startSimulator({"--preset", "qh", "--factory-number", "11110002"});
    const auto second = station.outputLine(kRunLimit);
    ASSERT_TRUE(second.has_value()) << station.err();
    EXPECT_EQ(second->rfind("11110002  OK  ", 0), 0u) << *second;
    station.signal(SIGINT);
    EXPECT_EQ(station.wait(kRunLimit), 0) << station.err();
    const std::string out = station.out();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;

    for (const char* number : {"11110001", "11110002"}) {
        std::ifstream pdf(reports / (std::string(number) + ".pdf"), std::ios::binary);
        std::string magic(5, '\0');
        pdf.read(magic.data(), 5);
        EXPECT_EQ(magic, "%PDF-") << number;
        const auto recorded = events({number});
        ASSERT_GE(recorded.size(), 2u) << number;
        EXPECT_EQ(recorded[0].operation, "commit");
        EXPECT_EQ(recorded[1].operation, "load");
        EXPECT_EQ(recorded[1].subject, file_);
        EXPECT_TRUE(recorded[1].ok);
    }
    EXPECT_EQ(onSensor({"get", "BitWidth"}).out, "13\n");

    // The second sensor is still there: done today, it is skipped, unless --again.
    for (const bool again : {false, true}) {
        std::vector<std::string> argv = {VARNELCTL_BIN, "station", file_,
                                         "--port",      link_,     "--json"};
        if (again)
            argv.push_back("--again");
        ChildProcess rerun(argv);
        const auto line = rerun.outputLine(kRunLimit);
        ASSERT_TRUE(line.has_value()) << rerun.err();
        EXPECT_EQ(line->rfind("{\"factoryNumber\": \"11110002\", \"result\": \"" +
                                  std::string(again ? "ok" : "skipped") + "\", \"time\": \"",
                              0),
                  0u)
            << *line;
        rerun.signal(SIGINT);
        EXPECT_EQ(rerun.wait(kRunLimit), 0) << rerun.err();
    }
}

TEST_F(HistoryE2E, UsageErrorsOfTheNewCommandsTouchNeitherSensorNorHistory) {
    const std::vector<std::vector<std::string>> commands = {
        {"history", "show"},
        {"history", "show", "x"},
        {"history", "diff", "1"},
        {"history", "restore", "20815001"},
        {"history", "--port", "/dev/null"},
        {"history", "--since", "yesterday"},
        {"history", "1", "2"},
        {"history", "show", "1", "--commit"},
        {"station", "--port", "/dev/null"},
        {"station", file_},
        {"read", "--port", "/dev/null", "--again"},
        {"apply", file_, "--port", "/dev/null", "--since", "2026-01-01"},
    };
    for (const auto& command : commands) {
        std::vector<std::string> args = command;
        const CliRun run = varnelctl(args);
        EXPECT_EQ(run.exitCode, 2) << command[0] << " " << command[1];
        EXPECT_EQ(run.err.rfind("varnelctl: ", 0), 0u) << run.err;
    }
    EXPECT_FALSE(fs::exists(databasePath()));
}

}  // namespace
