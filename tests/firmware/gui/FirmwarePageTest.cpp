#include <gtest/gtest.h>

#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "support/HexText.h"
#include "ui/controls/PageControl.h"

namespace {

using testsupport::countingBytes;
using testsupport::hexFile;

sim::SensorConfig sensor(int version, const char* chip = "BX") {
    sim::SensorConfig config;
    config.firmwareVersion = version;
    config.chip = chip;
    return config;
}

QStringList items(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

// A main window on COM1 that has found the simulated sensor; the tests load
// HEX files from the test's own folder through the page and the menu.
class FirmwarePageTest : public testing::Test {
protected:
    void connect(const sim::SensorConfig& config) {
        harness = std::make_unique<FormHarness>(config);
        form = &harness->create();
        form->OpenSensorLink(1);
        form->IdleFunction();
        form->Timer1->start();
        harness->sensor.clearTraffic();
    }
    QString file(const std::string& text) {
        const QString path = home.path() + QStringLiteral("/fw.hex");
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text.data(), qint64(text.size()));
        return path;
    }
    firmware::FirmwarePage& page() { return *form->Firmware; }
    QStringList shown() const {
        QStringList texts;
        for (const Message& m : harness->dialogs.messages)
            texts << m.text + " | " + m.caption;
        return texts;
    }

    TempHome home;
    std::unique_ptr<FormHarness> harness;
    TMainForm* form = nullptr;
};

TEST_F(FirmwarePageTest, LoadAndDownloadThroughTheButtonsWriteTheSensorsFlash) {
    connect(sensor(3960607));
    harness->dialogs.fileNames.push_back(file(hexFile(countingBytes(100))));
    page().ui.LoadFile->click();
    EXPECT_TRUE(shown().isEmpty()) << shown().join('\n').toStdString();
    EXPECT_EQ(items(*page().ui.Download),
              (QStringList{"Kommunikation ok!", "Microcontroller: ATMega8515",
                           "Size Bootloader: 256 words", "Size Application: 3834 words",
                           "Dateiname: fw.hex", "Datei geöffnet ...."}));
    EXPECT_EQ(
        items(*page().ui.InfoBox),
        (QStringList{"Pages: 2", "BytesTotal: 100", "Bytes to write: 128", "Words to write: 64"}));
    EXPECT_TRUE(page().BootloaderConnected);
    EXPECT_TRUE(form->Timer1->isActive());

    std::vector<int> gauge;
    QObject::connect(page().ui.DownloadFirmware, &QProgressBar::valueChanged,
                     [&](int value) { gauge.push_back(value); });
    page().ui.UpdateFW->click();
    EXPECT_EQ(gauge, (std::vector<int>{67, 134, 0}));
    EXPECT_EQ(shown(), QStringList{"Download succesfull! | Firmware"});
    EXPECT_EQ(items(*page().ui.Download).last(), "Firmware update erfolgreich ...");
    EXPECT_FALSE(form->State.SensorOnline);
    EXPECT_EQ(form->State.LastFactoryNumber, "4294967295");
    for (int k = 0; k < 2; ++k) {
        const auto flash = harness->sensor.flash().page(k);
        const auto record = page().Image().record(k);
        EXPECT_TRUE(std::equal(flash.begin(), flash.end(), record.begin() + 2)) << k;
    }
    EXPECT_TRUE(form->Timer1->isActive());

    harness->sensor.clearTraffic();
    form->IdleFunction();
    EXPECT_TRUE(form->State.SensorOnline);
    EXPECT_EQ(form->State.LastFactoryNumber,
              QString::fromStdString(harness->sensor.factoryNumber()));
    EXPECT_GT(harness->sensor.traffic().size(), 30u) << "the whole set is read anew";
}

TEST_F(FirmwarePageTest, TheLoadsMessagesStopItOrWarn) {
    const std::string good = hexFile(countingBytes(100));
    std::string badLine = good;
    badLine.replace(badLine.find("\r\n") - 2, 2, "00");
    struct Case {
        const char* name;
        int version;
        const char* chip;
        std::optional<std::string> file;  // none: the dialog is cancelled
        QStringList messages;
        int pages;
    };
    const Case cases[] = {
        {"type 39601", 3960105, "BX", good, {"This type is not supported! | Error"}, 0},
        {"cancelled",
         3960607,
         "BX",
         std::nullopt,
         {"Can't open file or damaged file! | File-Error"},
         0},
        {"bad line", 3960607, "BX", badLine, {"CheckSum -> File invalid! | Error"}, 0},
        {"too big",
         3960607,
         "BX",
         hexFile(countingBytes(121 * 64)),
         {"File too big! | Flash-Error"},
         121},
        {"too high",
         3960607,
         "BX",
         hexFile(countingBytes(5 * 64), 0x1D00),
         {"File too big! | Flash-Error"},
         5},
        {"ATMega8", 3960607, "AX", good, {"This type is not supported yet! | Microcontroller"}, 0},
        {"no colon",
         3960607,
         "BX",
         "x" + good,
         {"Line 1: a line does not begin with a colon - file invalid! | File-Error"},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        connect(sensor(c.version, c.chip));
        if (c.file)
            harness->dialogs.fileNames.push_back(file(*c.file));
        page().LoadFileClick();
        EXPECT_EQ(shown(), c.messages);
        EXPECT_EQ(page().Image().pages, c.pages);
        EXPECT_TRUE(form->Timer1->isActive());
    }
    EXPECT_EQ(items(*page().ui.Download).mid(4),
              (QStringList{"Dateiname: fw.hex", "Datei geöffnet ...."}));
}

TEST_F(FirmwarePageTest, ARefusedRecordIsReportedInTheWindowsLanguage) {
    std::string noEnd = hexFile(countingBytes(100));
    noEnd.resize(noEnd.find(":00000001FF"));
    for (const uint8_t language : {0, 1}) {
        connect(sensor(3960607));
        form->State.UiLanguage = language;
        harness->dialogs.fileNames.push_back(file(noEnd));
        page().LoadFileClick();
        EXPECT_EQ(shown(),
                  QStringList{language == 0
                                  ? "Line 7: the end-of-file record is missing - file invalid! | "
                                    "File-Error"
                                  : "Zeile 7: der Dateiende-Datensatz fehlt - Datei ungültig! | "
                                    "Dateifehler"});
        EXPECT_EQ(page().Image().pages, 0);
    }
}

TEST_F(FirmwarePageTest, TheMenuCommandLoadsAsksAndDownloadsOnOk) {
    for (const MessageResult answer : {MessageResult::Cancel, MessageResult::Ok}) {
        connect(sensor(3960607));
        harness->dialogs.fileNames.push_back(file(hexFile(countingBytes(64))));
        harness->dialogs.answers = {answer};
        form->ui.FirmwareUpdate->trigger();
        EXPECT_EQ(form->ui.ParameterPage->currentWidget()->objectName(), "Firmware");
        EXPECT_FALSE(page().ui.LoadFile->isEnabled());
        ASSERT_GE(harness->dialogs.messages.size(), 1u);
        const Message& question = harness->dialogs.messages.front();
        EXPECT_EQ(question.text, "Want you update\nthe loaded file?");
        EXPECT_EQ(question.buttons, MessageButtons::OkCancel);
        const bool downloaded = answer == MessageResult::Ok;
        EXPECT_EQ(harness->dialogs.messages.size(), downloaded ? 2u : 1u);
        EXPECT_EQ(harness->sensor.flash().erased(0), !downloaded);
    }
}

TEST_F(FirmwarePageTest, TheMenuCommandOffersNoDownloadOfAFileItRefused) {
    std::string badLine = hexFile(countingBytes(100));
    badLine.replace(badLine.find("\r\n") - 2, 2, "00");
    for (const std::string& text : {badLine, hexFile(countingBytes(5 * 64), 0x1D00)}) {
        connect(sensor(3960607));
        harness->dialogs.fileNames.push_back(file(text));
        form->ui.FirmwareUpdate->trigger();
        ASSERT_EQ(harness->dialogs.messages.size(), 1u);
        EXPECT_NE(harness->dialogs.messages.front().buttons, MessageButtons::OkCancel);
        EXPECT_TRUE(harness->sensor.flash().erased(0));
    }
}

TEST_F(FirmwarePageTest, ANewSensorIsIdentifiedAgainAndAFailedIdentificationLetsThePollGoOn) {
    connect(sensor(3960607));
    harness->dialogs.fileNames.push_back(file(hexFile(countingBytes(64))));
    page().LoadFileClick();
    harness->dialogs.fileNames.push_back(file(hexFile(countingBytes(64))));
    page().LoadFileClick();
    EXPECT_EQ(items(*page().ui.Download).count("Kommunikation ok!"), 1) << "the same sensor";

    form->State.LastFactoryNumber = QStringLiteral("12345678");
    harness->sensor.faults().refusedCommands = {"BN"};
    bool pollingAtTheFileDialog = false;
    harness->dialogs.onFileDialog = [&] { pollingAtTheFileDialog = form->Timer1->isActive(); };
    harness->dialogs.fileNames.push_back(file(hexFile(countingBytes(64))));
    page().LoadFileClick();
    EXPECT_EQ(shown(), QStringList{"No Sensor found! | Sensor-Error"});
    EXPECT_FALSE(page().BootloaderConnected);
    EXPECT_TRUE(pollingAtTheFileDialog);
    EXPECT_TRUE(form->Timer1->isActive());
}

TEST_F(FirmwarePageTest, ADownloadWithoutAFileOrWithAFailureClearsTheBootloader) {
    connect(sensor(3960607));
    page().UpdateFWClick();
    EXPECT_EQ(shown(), QStringList{"Please load a file! | File-Error"});
    EXPECT_TRUE(harness->sensor.traffic().empty());

    harness->dialogs.fileNames.push_back(file(hexFile(countingBytes(64))));
    page().LoadFileClick();
    harness->dialogs.messages.clear();
    harness->sensor.faults().bootloaderAnswers = std::string(11, 'b');
    page().UpdateFWClick();
    EXPECT_EQ(shown(), QStringList{"Error while Download! | CheckSum-Error"});
    EXPECT_FALSE(page().BootloaderConnected);
    EXPECT_EQ(page().ui.DownloadFirmware->value(), 0);
    EXPECT_EQ(harness->serial.baudRate(), 4800);
}

}  // namespace
