#include <gtest/gtest.h>

#include <QAction>
#include <QDateTime>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimeZone>
#include <cstdlib>
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "HistoryHarness.h"
#include "files/gui/Files.h"
#include "history/gui/HistoryWindow.h"
#include "params/ParameterPages.h"
#include "ui/controls/FieldColour.h"
#include "ui/controls/LabeledEdit.h"

namespace historytest {
namespace {

using history::HistoryWindow;
using history::Operation;
using R = TSSICom::RegisterIndex;

// Local time is Berlin's: an hour after UTC in December.
class WindowTest : public HistoryTest {
protected:
    void SetUp() override {
        oldTz_ = std::getenv("TZ") != nullptr ? std::getenv("TZ") : "";
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
    void TearDown() override {
        setenv("TZ", oldTz_.c_str(), 1);
        tzset();
    }

    // The History window as the File menu opens it, built for the test to look at.
    std::unique_ptr<HistoryWindow> window() {
        return std::make_unique<HistoryWindow>(history::HistoryWindowParts{
            *store, form->SensorLink, form->State,
            [this](const files::ParameterFile& file, const std::string& subject) {
                form->Files->LoadSet(file, subject);
            }});
    }

    static QString cellText(QTableWidget& table, int row, int column) {
        return table.item(row, column)->text();
    }

    // The registers whose rows the comparison marks.
    static std::set<QString> marked(QTableWidget& table) {
        std::set<QString> keys;
        for (int row = 0; row < table.rowCount(); ++row) {
            if (table.item(row, 0)->background().color() == HighlightColour)
                keys.insert(table.item(row, 0)->text());
        }
        return keys;
    }

    // Row of the event, in the window's list.
    static int rowOf(HistoryWindow& shown, int64_t id, const std::vector<history::Event>& all) {
        for (size_t i = 0; i < all.size(); ++i) {
            if (all[i].id == id)
                return int(i);
        }
        (void)shown;
        return -1;
    }

    void answerConfirmation(int answer, QStringList* shown = nullptr) {
        harness->dialogs.dialogScripts.push_back([answer, shown](QDialog& dialog) {
            if (shown != nullptr) {
                *shown
                    << dialog.objectName()
                    << dialog.findChild<QPlainTextEdit*>(QStringLiteral("TextEdit"))->toPlainText();
            }
            return answer;
        });
    }

private:
    std::string oldTz_;
};

TEST_F(WindowTest, TheFileMenuOpensTheWindowWhileASensorIsConnected) {
    connect({}, kUiGerman);
    QAction& item = *form->ui.FileHistoryItem;
    EXPECT_TRUE(item.isVisible());
    EXPECT_TRUE(item.isEnabled());
    EXPECT_EQ(item.text(), "Historie");
    QString title;
    harness->dialogs.dialogScripts.push_back([&title](QDialog& dialog) {
        title = dialog.windowTitle();
        return int(QDialog::Accepted);
    });
    item.trigger();
    EXPECT_EQ(harness->dialogs.dialogsShown, std::vector<QString>{"HistoryWindow"});
    EXPECT_EQ(title, "Historie des Sensors 10203040");

    harness->sensor.faults().silent = true;
    form->IdleFunction();
    EXPECT_FALSE(item.isEnabled()) << "no sensor, no history to show";

    FormHarness withoutHistory;
    EXPECT_FALSE(withoutHistory.create().ui.FileHistoryItem->isVisible());
}

TEST_F(WindowTest, TheEventsOfTheConnectedSensorAreListedNewestFirstInLocalTime) {
    for (uint8_t language : {kUiEnglish, kUiGerman}) {
        SCOPED_TRACE(int(language));
        store.reset();
        recorder.reset();
        QFile::remove(QString::fromStdString(databasePath()));
        store = history::OpenStore(databasePath());
        recorder = std::make_unique<history::Recorder>(store.get(), TestOrigin);
        sim::SensorConfig other;
        other.factoryNumber = "99999999";
        connect(other, language);  // another sensor's event stays out of the list
        connect({}, language);
        form->Parameters->ui.SSISettings.BitWidth->setText(QStringLiteral("12"));
        harness->sensor.faults().refusedCommands = {"DN"};
        form->Parameters->ui.SSISettings.BitWidth->setText(QStringLiteral("13"));

        auto shown = window();
        QTableWidget& list = *shown->Events;
        const bool german = language == kUiGerman;
        EXPECT_EQ(shown->windowTitle(),
                  german ? "Historie des Sensors 10203040" : "History of sensor 10203040");
        ASSERT_EQ(list.rowCount(), 3);
        const std::vector<history::Event> all =
            *store->events({.factoryNumber = std::string("10203040"), .since = std::nullopt});
        ASSERT_EQ(all.size(), 3u);
        const QStringList operations = german ? QStringList{"Schreiben", "Schreiben", "Lesen"}
                                              : QStringList{"Write", "Write", "Read"};
        const QStringList results =
            german ? QStringList{"Fehlgeschlagen: Kommunikationsfehler", "OK", "OK"}
                   : QStringList{"Failed: Communication Error", "OK", "OK"};
        for (int row = 0; row < 3; ++row) {
            SCOPED_TRACE(row);
            const QDateTime utc = QDateTime::fromString(
                QString::fromStdString(all[size_t(row)].time), Qt::ISODateWithMs);
            ASSERT_TRUE(utc.isValid());
            const QString berlin =
                utc.toUTC().addSecs(3600).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            EXPECT_EQ(cellText(list, row, HistoryWindow::Time), berlin);
            EXPECT_EQ(cellText(list, row, HistoryWindow::Operation), operations[row]);
            EXPECT_EQ(cellText(list, row, HistoryWindow::Result), results[row]);
            EXPECT_EQ(cellText(list, row, HistoryWindow::Program), "varnel 5.3.6.2");
            EXPECT_EQ(cellText(list, row, HistoryWindow::Account), "tester");
            EXPECT_EQ(cellText(list, row, HistoryWindow::Port), "COM 1");
        }
        EXPECT_GT(all[0].id, all[1].id);
        EXPECT_GT(all[1].id, all[2].id);
        EXPECT_EQ(cellText(list, 0, HistoryWindow::Subject), "BitWidth");
        EXPECT_EQ(cellText(list, 2, HistoryWindow::Subject), "");
        EXPECT_EQ(list.horizontalHeaderItem(HistoryWindow::Operation)->text(),
                  german ? "Vorgang" : "Operation");
        EXPECT_EQ(shown->LoadIntoSensor->text(),
                  german ? "In den Sensor laden" : "Load into sensor");
        EXPECT_EQ(shown->ReplaceSensor->text(), german ? "Sensor ersetzen…" : "Replace a sensor…");

        shown->ChooseEvent(0);
        EXPECT_FALSE(shown->LoadIntoSensor->isEnabled()) << "a failed event has no set";
        EXPECT_EQ(shown->Comparison->rowCount(), 0);
        EXPECT_FALSE(shown->NoSet->isHidden());
        harness.reset();
    }
}

TEST_F(WindowTest, AChosenSetStandsBesideThePresentOneWithExactlyTheDifferencesMarked) {
    connect();
    const int32_t bitWidthBefore = form->SensorLink[R::BitWidth].Value;
    ASSERT_NE(bitWidthBefore, 12);
    form->Parameters->ui.SSISettings.BitWidth->setText(QStringLiteral("12"));
    form->Parameters->ui.ErrorIndication.ErrorValue->setText(QStringLiteral("77"));

    auto shown = window();
    ASSERT_EQ(shown->Events->rowCount(), 3);
    shown->ChooseEvent(2);  // the connect's read
    QTableWidget& compared = *shown->Comparison;
    EXPECT_TRUE(shown->LoadIntoSensor->isEnabled());
    EXPECT_TRUE(shown->NoSet->isHidden());
    ASSERT_EQ(compared.rowCount(), 29);
    EXPECT_EQ(marked(compared), (std::set<QString>{"BitWidth", "ErrorValue"}));
    EXPECT_EQ(cellText(compared, R::BitWidth, 1), QString::number(bitWidthBefore));
    EXPECT_EQ(cellText(compared, R::BitWidth, 2), "12");
    EXPECT_EQ(cellText(compared, R::ErrorValue, 2), "77");

    shown->ChooseEvent(0);  // the error value's write
    EXPECT_TRUE(marked(compared).empty());
}

TEST_F(WindowTest, LoadIntoSensorAfterYesWritesTheSetAsAFileLoadDoes) {
    // A parameter file of the connect's set, loaded after a change: the traffic to match.
    connect();
    harness->dialogs.fileNames.push_back(QDir(home.path()).filePath(QStringLiteral("A.kyr")));
    harness->dialogs.dialogScripts.push_back([](QDialog&) { return int(QDialog::Accepted); });
    form->FileSaveAsItemClick();
    form->Parameters->ui.SSISettings.BitWidth->setText(QStringLiteral("12"));
    harness->sensor.clearTraffic();
    harness->dialogs.fileNames.push_back(QDir(home.path()).filePath(QStringLiteral("A.kyr")));
    answerConfirmation(QDialog::Accepted);
    form->FileOpenItemClick();
    const std::vector<std::string> fileLoad = commands();
    ASSERT_FALSE(fileLoad.empty());

    store.reset();
    recorder.reset();
    QFile::remove(QString::fromStdString(databasePath()));
    store = history::OpenStore(databasePath());
    recorder = std::make_unique<history::Recorder>(store.get(), TestOrigin);
    connect();
    const uint32_t bitWidthBefore = harness->sensor.word("DA") & 0xFF;
    form->Parameters->ui.SSISettings.BitWidth->setText(QStringLiteral("12"));
    harness->sensor.clearTraffic();
    auto shown = window();
    shown->ChooseEvent(1);  // the connect's read
    const int64_t chosen = shown->Chosen()->id;
    QStringList confirmation;
    answerConfirmation(QDialog::Accepted, &confirmation);
    shown->LoadIntoSensor->click();

    EXPECT_EQ(commands(), fileLoad);
    EXPECT_EQ(harness->sensor.word("DA") & 0xFF, bitWidthBefore);
    EXPECT_TRUE(harness->dialogs.messages.empty());
    ASSERT_EQ(confirmation.size(), 2);
    EXPECT_EQ(confirmation[0], "OpenParametersForm");
    const QString recorded =
        QDateTime::fromString(QString::fromStdString(events().back().time), Qt::ISODateWithMs)
            .toUTC()
            .addSecs(3600)
            .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    EXPECT_EQ(confirmation[1], "Sensor history, event " + QString::number(chosen) + ", " +
                                   recorded + "\nRecorded by varnel 5.3.6.2 on COM 1");
    const std::vector<history::Event> all = events();
    ASSERT_EQ(all.size(), 6u) << "connect, write, then the load's four";
    EXPECT_EQ(all[3].operation, Operation::Load);
    EXPECT_EQ(all[3].subject, "event " + std::to_string(chosen));
    EXPECT_EQ(all[2].subject, "UltrasonicSpeed") << "the scale follows the sensor's speed";
    EXPECT_EQ(all[1].subject, "Offset");
    EXPECT_EQ(all[0].operation, Operation::Read) << "the set is read again";
    EXPECT_EQ(shown->Events->rowCount(), int(all.size())) << "the list shows the new events";
    EXPECT_EQ(marked(*shown->Comparison), std::set<QString>{}) << "the sensor holds the set now";
}

TEST_F(WindowTest, LoadIntoSensorAfterNoWritesNothing) {
    connect();
    form->Parameters->ui.SSISettings.BitWidth->setText(QStringLiteral("12"));
    harness->sensor.clearTraffic();
    auto shown = window();
    shown->ChooseEvent(1);
    answerConfirmation(QDialog::Rejected);
    shown->LoadIntoSensor->click();
    EXPECT_TRUE(commands().empty());
    EXPECT_EQ(events().size(), 2u);
    EXPECT_EQ(harness->sensor.word("DA") & 0xFF, 12u);
}

TEST_F(WindowTest, ReplacingASensorWritesTheOldSetAndSaysAllMatched) {
    sim::SensorConfig old;
    old.factoryNumber = "20815001";
    connect(old);
    form->Parameters->ui.SSISettings.BitWidth->setText(QStringLiteral("12"));
    form->Parameters->ui.ErrorIndication.ErrorValue->setText(QStringLiteral("77"));
    harness.reset();

    connect();  // the replacement, 10203040
    auto shown = window();
    QStringList offered;
    harness->dialogs.dialogScripts.push_back([&offered](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("OldSensors"));
        for (int i = 0; i < list->count(); ++i)
            offered << list->item(i)->text();
        dialog.findChild<QPushButton*>(QStringLiteral("WriteButton"))->click();
        return dialog.result();
    });
    shown->ReplaceSensor->click();
    EXPECT_EQ(offered, QStringList{"20815001"});
    ASSERT_EQ(harness->dialogs.messages.size(), 1u);
    EXPECT_EQ(harness->dialogs.messages[0].text,
              "The parameter set of sensor 20815001 was written into sensor 10203040. Every "
              "register holds its value.");
    EXPECT_EQ(harness->sensor.word("DA") & 0xFF, 12u);
    EXPECT_EQ(harness->sensor.word("PA"), 77u);
    EXPECT_EQ(form->SensorLink[R::FactoryNumber].Reply, "10203040") << "keeps its own number";
    const history::Event last = events().front();
    EXPECT_EQ(last.operation, Operation::Load);
    EXPECT_TRUE(last.ok);
    EXPECT_EQ(last.factoryNumber, "10203040");
    EXPECT_TRUE(QString::fromStdString(last.subject).startsWith("event ")) << last.subject;
    EXPECT_TRUE(QString::fromStdString(last.subject).endsWith(" of 20815001")) << last.subject;
}

// Writes the last set of the sensor of `old` into the connected one through the window.
TEST_F(WindowTest, AReplacementThatDoesNotFitOrDoesNotGetThroughSaysSo) {
    struct Case {
        const char* name;
        int oldFirmware;
        bool silentAfterRead;
        uint8_t language;
        QString message;
    };
    const std::vector<Case> cases = {
        {"another firmware type", 3960607, false, kUiEnglish,
         "The parameter set of sensor 20815001 was recorded with firmware 3960607 and does not "
         "fit firmware 3960105 of the connected sensor. Nothing was written."},
        {"another firmware type, in German", 3960607, false, kUiGerman,
         "Der Parametersatz des Sensors 20815001 stammt von Firmware 3960607 und passt nicht zur "
         "Firmware 3960105 des angeschlossenen Sensors. Es wurde nichts geschrieben."},
        {"a sensor that stops answering", 3960105, true, kUiEnglish,
         "The parameter set of sensor 20815001 could not be written: Communication Error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SensorConfig old;
        old.factoryNumber = "20815001";
        old.firmwareVersion = c.oldFirmware;
        connect(old);
        connect({}, c.language);
        const size_t before = events().size();
        auto shown = window();
        harness->dialogs.dialogScripts.push_back([&](QDialog& dialog) {
            if (c.silentAfterRead) {
                harness->sensor.faults().refuses = [](const std::string& line) {
                    return line.size() > 1 && line[1] == 'N';
                };
            }
            dialog.findChild<QPushButton*>(QStringLiteral("WriteButton"))->click();
            return dialog.result();
        });
        harness->sensor.clearTraffic();
        shown->ReplaceSensor->click();
        ASSERT_EQ(harness->dialogs.messages.size(), 1u);
        EXPECT_EQ(harness->dialogs.messages[0].text, c.message);
        if (!c.silentAfterRead) {
            for (const std::string& command : commands())
                EXPECT_NE(command[1], 'N') << "nothing is written: " << command;
            EXPECT_EQ(events().size(), before) << "a refused set is no operation";
        } else {
            EXPECT_FALSE(events().front().ok);
            EXPECT_EQ(events().front().message, c.message.toStdString());
        }
        harness.reset();
    }
}

}  // namespace
}  // namespace historytest
