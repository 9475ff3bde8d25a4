#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <functional>
#include <string>
#include <vector>

#include "HistoryHarness.h"
#include "files/gui/Files.h"
#include "firmware/gui/FirmwarePage.h"
#include "linearization/gui/LinPage.h"
#include "params/ParameterPages.h"
#include "support/HexText.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"

namespace historytest {
namespace {

using history::Operation;
using R = TSSICom::RegisterIndex;

struct Expected {
    Operation operation;
    bool ok;
    std::string subject;  // "FILE" stands for the parameter file of the test
    std::string message;
    // A success keeps the set, unless the strict read after it failed, as it
    // does on this sensor (its RA word holds no linearization flags).
    bool withSet = ok;
};

class RecordingTest : public HistoryTest {
public:
    std::string file() const {
        return QDir(home.path()).filePath(QStringLiteral("Sensor.kyr")).toStdString();
    }

    void saveFile() {
        harness->dialogs.fileNames.push_back(QString::fromStdString(file()));
        harness->dialogs.dialogScripts.push_back([](QDialog&) { return int(QDialog::Accepted); });
        form->FileSaveAsItemClick();
    }

    void loadFile() {
        harness->dialogs.fileNames.push_back(QString::fromStdString(file()));
        harness->dialogs.dialogScripts.push_back([](QDialog&) { return int(QDialog::Accepted); });
        form->FileOpenItemClick();
    }

    // The events after the connect's read, oldest first.
    std::vector<history::Event> eventsSinceConnect() const {
        std::vector<history::Event> all = events();
        EXPECT_FALSE(all.empty());
        std::vector<history::Event> since(all.rbegin() + 1, all.rend());
        return since;
    }
};

TEST_F(RecordingTest, ConnectingRecordsTheWholeSetWithWhoAndWhere) {
    sim::SensorConfig config;
    config.factoryNumber = "20815001";
    connect(config);
    const std::vector<history::Event> all = events();
    ASSERT_EQ(all.size(), 1u);
    const history::Event& read = all[0];
    EXPECT_EQ(read.operation, Operation::Read);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.factoryNumber, "20815001");
    EXPECT_EQ(read.firmwareVersion, 3960105);
    EXPECT_EQ(read.port, "COM 1");
    EXPECT_EQ(read.origin.program, "varnel");
    EXPECT_EQ(read.origin.account, "tester");
    const auto withSet = store->event(read.id);
    ASSERT_TRUE(withSet && withSet->registers);
    // The refresh and the poll read more registers after the set.
    const history::RegisterValues now = history::CaptureRegisters(form->SensorLink.Parameters());
    for (int r = 0; r <= R::UltrasonicSpeed; ++r)
        EXPECT_EQ((*withSet->registers)[size_t(r)], now[size_t(r)]) << TSSICom::RegisterKey(R(r));
}

TEST_F(RecordingTest, EachDesktopOperationLeavesItsEvents) {
    struct Case {
        const char* name;
        std::function<void(RecordingTest&)> act;
        std::vector<Expected> expected;
    };
    const std::vector<Case> cases = {
        {"ultrasonic speed",
         [](RecordingTest& t) {
             t.form->Parameters->ui.ExpertSettings.UltrasonicSpeed->setText(
                 QStringLiteral("280000"));
         },
         {{Operation::Write, true, "UltrasonicSpeed", ""}, {Operation::Write, true, "Offset", ""}}},
        {"editor write",
         [](RecordingTest& t) {
             t.form->Parameters->ui.SSISettings.BitWidth->setText(QStringLiteral("12"));
         },
         {{Operation::Write, true, "BitWidth", ""}}},
        {"refused editor write",
         [](RecordingTest& t) {
             t.harness->sensor.faults().refusedCommands = {"DN"};
             t.form->Parameters->ui.SSISettings.BitWidth->setText(QStringLiteral("12"));
         },
         {{Operation::Write, false, "BitWidth", "Communication Error"}}},
        {"parameter file load",
         [](RecordingTest& t) {
             t.saveFile();
             t.loadFile();
         },
         // The scale follows the sensor's own speed, and the offset the scale.
         {{Operation::Load, true, "FILE", ""},
          {Operation::Write, true, "UltrasonicSpeed", ""},
          {Operation::Write, true, "Offset", ""},
          {Operation::Read, true, "", ""}}},
        {"refused parameter file load",
         [](RecordingTest& t) {
             t.saveFile();
             t.harness->sensor.faults().silent = true;
             t.loadFile();
         },
         {{Operation::Load, false, "FILE", "Error while writing parameters to sensor"}}},
        {"EEPROM update",
         [](RecordingTest& t) {
             t.form->State.MarkParametersChanged();
             t.form->Parameters->ui.SensorInfo.EEPROMUpdateButton->click();
         },
         {{Operation::Commit, true, "", ""}}},
        {"commit on closing",
         [](RecordingTest& t) {
             t.form->State.MarkParametersChanged();
             t.form->FormClose();
         },
         {{Operation::Commit, true, "", ""}}},
        {"update from the disconnect warning",
         [](RecordingTest& t) {
             t.form->State.MarkParametersChanged();
             t.harness->sensor.faults().silent = true;
             for (int missed = 0; missed < 3; ++missed)
                 t.form->IdleFunction();
             t.harness->dialogs.dialogScripts.push_back([&t](QDialog& dialog) {
                 t.harness->sensor.faults().silent = false;
                 dialog.findChild<QPushButton*>(QStringLiteral("Update"))->click();
                 return dialog.result();
             });
             t.form->IdleFunction();
         },
         {{Operation::Commit, true, "", "", false},
          {Operation::Read, false, "", "Communication Error"}}},
        {"linearization table write",
         [](RecordingTest& t) {
             auto& lin = t.form->Linearization->ui;
             lin.AdresLabel->setText(QStringLiteral("210"));
             lin.ValueLabel->setText(QStringLiteral("7"));
             t.form->Linearization->WriteLinValueClick();
         },
         {{Operation::LinWrite, true, "210", ""}}},
        {"factory settings restore",
         [](RecordingTest& t) { t.form->RestoreFactorySettings1Click(); },
         {{Operation::FactoryRestore, true, "", "", false}, {Operation::Commit, true, "", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.reset();
        recorder.reset();
        QFile::remove(QString::fromStdString(databasePath()));
        store = history::OpenStore(databasePath());
        recorder = std::make_unique<history::Recorder>(store.get(), TestOrigin);
        connect();
        c.act(*this);
        const std::vector<history::Event> recorded = eventsSinceConnect();
        ASSERT_EQ(recorded.size(), c.expected.size());
        for (size_t i = 0; i < recorded.size(); ++i) {
            SCOPED_TRACE(i);
            const Expected& want = c.expected[i];
            const history::Event& got = recorded[i];
            EXPECT_EQ(history::OperationName(got.operation),
                      std::string(history::OperationName(want.operation)));
            EXPECT_EQ(got.ok, want.ok);
            EXPECT_EQ(got.subject, want.subject == "FILE" ? file() : want.subject);
            EXPECT_EQ(got.message, want.message);
            const auto full = store->event(got.id);
            ASSERT_TRUE(full);
            EXPECT_EQ(full->registers.has_value(), want.withSet);
            if (want.withSet) {
                EXPECT_EQ(got.factoryNumber, "10203040");
            }
        }
        harness.reset();
    }
}

// A download is no operation on the set: its event keeps none. One the page
// refuses before it starts (no file loaded) reaches no sensor and is not recorded.
TEST_F(RecordingTest, AFirmwareDownloadIsRecordedWithItsFileAndOutcome) {
    struct Case {
        const char* name;
        bool loadFile;
        std::string bootloaderAnswers;
        std::vector<Expected> expected;
    };
    const std::string hex = QDir(home.path()).filePath(QStringLiteral("fw.hex")).toStdString();
    const std::vector<Case> cases = {
        {"success", true, "", {{Operation::FirmwareDownload, true, hex, "", false}}},
        {"checksum error",
         true,
         std::string(11, 'b'),
         {{Operation::FirmwareDownload, false, hex, "Error while Download!"}}},
        {"no file", false, "", {}},
    };
    {
        QFile out(QString::fromStdString(hex));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray::fromStdString(testsupport::hexFile(testsupport::countingBytes(64))));
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SensorConfig config;
        config.firmwareVersion = 3960607;
        connect(config);
        const size_t before = events().size();
        if (c.loadFile) {
            harness->dialogs.fileNames.push_back(QString::fromStdString(hex));
            form->Firmware->LoadFileClick();
        }
        harness->sensor.faults().bootloaderAnswers = c.bootloaderAnswers;
        form->Firmware->UpdateFWClick();
        std::vector<history::Event> all = events();
        ASSERT_EQ(all.size() - before, c.expected.size());
        for (size_t i = 0; i < c.expected.size(); ++i) {
            const history::Event& got = all[i];
            const Expected& want = c.expected[i];
            EXPECT_EQ(got.operation, want.operation);
            EXPECT_EQ(got.ok, want.ok);
            EXPECT_EQ(got.subject, want.subject);
            EXPECT_EQ(got.message, want.message);
            EXPECT_FALSE(store->event(got.id)->registers.has_value());
        }
        harness.reset();
    }
}

TEST_F(RecordingTest, TheDemoPortIsNoSensorAndLeavesNoEvent) {
    harness = std::make_unique<FormHarness>();
    harness->historyStore = store.get();
    harness->recorder = recorder.get();
    form = &harness->create();
    form->OpenSensorLink(TSerialCom::DemoPort);
    form->IdleFunction();
    ASSERT_TRUE(form->State.SensorOnline);
    form->Parameters->ui.SSISettings.BitWidth->setText(QStringLiteral("12"));
    EXPECT_TRUE(events().empty());
}

TEST_F(RecordingTest, AWriteRecordsTheSetTheProgramHoldsAfterIt) {
    connect();
    form->Parameters->ui.SSISettings.BitWidth->setText(QStringLiteral("12"));
    const auto write = store->event(events().front().id);
    ASSERT_TRUE(write && write->registers);
    EXPECT_EQ((*write->registers)[R::BitWidth].value, 12);
    EXPECT_TRUE((*write->registers)[R::BitWidth].answered);
}

TEST_F(RecordingTest, ALockedDatabaseIsToldOnceAndTheSensorWorkGoesOn) {
    connect();
    std::vector<QString> status;
    form->Trace = [&status](const QString& line) { status.push_back(line); };
    {
        QSqlDatabase lock =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("lock"));
        lock.setDatabaseName(QString::fromStdString(databasePath()));
        ASSERT_TRUE(lock.open());
        QSqlQuery hold(lock);
        ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));

        auto& bitWidth = *form->Parameters->ui.SSISettings.BitWidth;
        bitWidth.setText(QStringLiteral("12"));
        form->ShowStatus(app::Status::Established, QStringLiteral("1"));
        bitWidth.setText(QStringLiteral("13"));
        EXPECT_EQ(harness->sensor.word("DA") & 0xFF, 13u) << "both writes reached the sensor";
        EXPECT_TRUE(harness->dialogs.messages.empty()) << "no message box";
        EXPECT_EQ(recorder->missed(), 2u);

        const QString told = QStringLiteral(
                                 "status: The history could not record the last "
                                 "operation: %1. It will be written with the next one.")
                                 .arg(QString::fromStdString(recorder->problem()));
        EXPECT_EQ(std::count(status.begin(), status.end(), told), 1) << "told once";
        EXPECT_EQ(status.back(), "status: Communication established on COM-Port 1")
            << "not told again while the history misses events";
        EXPECT_NE(recorder->problem().find("locked"), std::string::npos) << recorder->problem();
        hold.exec(QStringLiteral("ROLLBACK"));
        lock.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("lock"));

    form->Parameters->ui.SSISettings.BitWidth->setText(QStringLiteral("14"));
    EXPECT_EQ(recorder->missed(), 0u);
    EXPECT_EQ(form->ui.StatusText->text(), "Communication established on COM-Port 1")
        << "the notice goes once the history has caught up";
    const std::vector<history::Event> all = events();
    ASSERT_EQ(all.size(), 4u) << "the connect's read, the two missed writes and the last one";
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(all[i].operation, Operation::Write) << i;
}

}  // namespace
}  // namespace historytest
