#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <memory>

#include "comm/SensorRules.h"
#include "comm/SettingRules.h"
#include "files/FileAccess.h"
#include "files/ParameterFile.h"
#include "files/gui/Files.h"
#include "platform/AtomicFile.h"
#include "platform/Windows1252.h"
#include "support/FileSizeLimit.h"
#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "ui/Texts.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"

namespace {

using R = TSSICom::RegisterIndex;
using Lines = std::vector<std::string>;

sim::SensorConfig preset(const char* name) {
    return *sim::presetConfig(name);
}

// A main window on a simulated sensor, online, saving and loading through the File menu.
class FilesTest : public testing::Test {
protected:
    TMainForm& connect(const sim::SensorConfig& config, uint8_t language = kUiEnglish) {
        harness.reset();
        harness = std::make_unique<FormHarness>(config);
        form = &harness->create();
        form->State.UiLanguage = language;
        form->Files->Today = [] { return files::SaveDate{2014, 3, 7}; };
        form->OpenSensorLink(1);
        form->IdleFunction();
        EXPECT_TRUE(form->State.SensorOnline);
        harness->sensor.clearTraffic();
        return *form;
    }

    QString path(const char* name) const { return QDir(home.path()).filePath(name); }

    void save(const QString& file, const QString& comment) {
        harness->dialogs.fileNames.push_back(file);
        harness->dialogs.dialogScripts.push_back([comment](QDialog& dialog) {
            dialog.findChild<QPlainTextEdit*>(QStringLiteral("CommentField"))
                ->setPlainText(comment);
            return int(QDialog::Accepted);
        });
        form->FileSaveAsItemClick();
    }

    // Loads `file`, answering the confirmation with `answer`; returns what the dialog showed.
    QStringList load(const QString& file, int answer = QDialog::Accepted) {
        QStringList shown;
        harness->dialogs.fileNames.push_back(file);
        harness->dialogs.dialogScripts.push_back([&shown, answer](QDialog& dialog) {
            shown << dialog.windowTitle()
                  << dialog.findChild<QLineEdit*>(QStringLiteral("SaveDate"))->text()
                  << dialog.findChild<QPlainTextEdit*>(QStringLiteral("TextEdit"))->toPlainText();
            return answer;
        });
        form->FileOpenItemClick();
        return shown;
    }

    Lines writes() const {
        Lines sent;
        for (const auto& entry : harness->sensor.traffic()) {
            if (entry.kind == sim::TrafficEntry::Kind::Command && entry.text[1] == 'N')
                sent.push_back(entry.text.substr(0, 2));
        }
        return sent;
    }
    std::vector<Message>& messages() { return harness->dialogs.messages; }
    static std::vector<uint8_t> bytesOf(const QString& file) {
        return files::ReadParameterFile(QFile::encodeName(file).toStdString()).bytes;
    }

    TempHome home;
    std::unique_ptr<FormHarness> harness;
    TMainForm* form = nullptr;
};

TEST_F(FilesTest, SaveThenLoadCarriesTheSetAndKeepsWhatBelongsToTheSensor) {
    connect(preset("kbf"));
    save(path("Sensor.kyr"), QStringLiteral("Linie 3\nFörderband"));
    ASSERT_TRUE(messages().empty());
    ASSERT_EQ(harness->dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(harness->dialogs.fileRequests[0].filter, "Sensorparameter (*.kyr)");
    EXPECT_EQ(harness->dialogs.fileRequests[0].directory, "Sensor.kyr");
    const auto saved = files::DecodeParameterFile(bytesOf(path("Sensor.kyr"))).file;
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->header, "KYR Q-Serie SSI\nVersion: Varnel 5.3.6\n\nLinie 3\r\nF\xF6rderband");
    EXPECT_EQ(saved->date, (files::SaveDate{2014, 3, 7}));
    for (int r = 0; r < 29; ++r)
        EXPECT_EQ(saved->values[size_t(r)], form->SensorLink[R(r)].Value) << r;

    connect(preset("b"));
    sim::SimulatedSensor& b = harness->sensor;
    const uint32_t speed = b.word("UA"), blanking = b.word("WA");
    const uint32_t start = b.word("YA00000000"), end = b.word("YA80000000");
    const int32_t linStart = b.linStartValue();
    const QStringList shown = load(path("Sensor.kyr"));
    ASSERT_TRUE(messages().empty()) << messages()[0].text.toStdString();
    EXPECT_EQ(shown,
              (QStringList{"Open and Download Sensor Parameter", "2014-03-07",
                           "KYR Q-Serie SSI\nVersion: Varnel 5.3.6\n\nLinie 3\nFörderband"}));
    const Lines sent = writes();
    ASSERT_GE(sent.size(), 3u);
    const Lines tail(sent.end() - 3, sent.end());
    EXPECT_EQ(tail, (Lines{"UN", "SN", "NN"})) << "speed, scale and offset after the set";
    EXPECT_TRUE(form->State.ParametersChanged);
    EXPECT_TRUE(form->ui.ParameterPage->isEnabled());
    EXPECT_EQ(form->SensorLink[R::UltrasonicSpeed].Modified, 0);
    EXPECT_EQ(form->Parameters->ui.ExpertSettings.UltrasonicSpeed->colour(), FieldColour::White);

    ASSERT_TRUE(form->SensorLink.ReadParameterSet());
    for (int r = 0; r < 29; ++r) {
        if (r == R::FirmwareVersion || r == R::FactoryNumber || r == R::SSISampleTime ||
            r == R::Scale)
            continue;
        EXPECT_EQ(form->SensorLink[R(r)].Value, saved->values[size_t(r)]) << r;
    }
    EXPECT_EQ(form->SensorLink[R::Scale].Value,
              rules::ScaleFromSpeed(int32_t(speed), saved->values[R::Resolution]));
    EXPECT_EQ(b.word("UA"), speed);
    EXPECT_EQ(b.word("WA"), blanking);
    EXPECT_EQ(b.word("YA00000000"), start);
    EXPECT_EQ(b.word("YA80000000"), end);
    EXPECT_EQ(b.linStartValue(), linStart);
}

TEST_F(FilesTest, AFileLoadsIntoEveryPreset) {
    connect(preset("qh"));
    save(path("qh.kyr"), QString());
    for (const char* name : {"qh", "kbf", "b", "old", "offset-raw"}) {
        SCOPED_TRACE(name);
        connect(preset(name));
        const int32_t speed = form->SensorLink[R::UltrasonicSpeed].Value;
        load(path("qh.kyr"));
        EXPECT_TRUE(messages().empty());
        EXPECT_TRUE(form->State.SensorOnline);
        EXPECT_TRUE(form->State.ParametersChanged);
        EXPECT_EQ(form->SensorLink[R::UltrasonicSpeed].Value, speed);
        EXPECT_EQ(form->Parameters->ui.ExpertSettings.Scale->text(),
                  QString::number(form->SensorLink[R::Scale].Value));
    }
}

TEST_F(FilesTest, AFailedLoadResetsTheTableAndTheNextPollReadsTheSensorAfresh) {
    connect(preset("kbf"));
    save(path("kbf.kyr"), QString());
    connect(preset("b"), kUiGerman);
    harness->sensor.faults().refusedCommands = {"LN"};
    load(path("kbf.kyr"));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Fehler beim Schreiben der Parameter");
    EXPECT_EQ(messages()[0].caption, "Kommunikationsfehler");
    EXPECT_FALSE(form->State.SensorOnline);
    EXPECT_FALSE(form->State.ParametersChanged);
    EXPECT_FALSE(form->ui.ParameterPage->isEnabled());
    EXPECT_EQ(form->SensorLink[R::Length].Value, 0) << "the table was reset";
    EXPECT_EQ(form->State.LastFactoryNumber, MainState::NoFactoryNumber);

    harness->sensor.clearTraffic();
    form->IdleFunction();
    EXPECT_TRUE(form->State.SensorOnline);
    EXPECT_EQ(harness->sensor.traffic()[2].text, "VA") << "the whole set is read again";
    EXPECT_EQ(form->SensorLink[R::Length].Value, 12350);
}

TEST_F(FilesTest, RefusedFilesChangeNothing) {
    const QString good = path("good.kyr");
    connect(preset("qh"));
    save(good, QString());
    const std::vector<uint8_t> bytes = bytesOf(good);
    const auto write = [](const QString& file, std::vector<uint8_t> content) {
        ASSERT_TRUE(
            platform::WriteFileAtomically(QFile::encodeName(file).toStdString(), content).ok);
    };
    write(path("big.kyr"), std::vector<uint8_t>(65536, 0));
    write(path("cut.kyr"), std::vector<uint8_t>(bytes.begin(), bytes.end() - 1));
    files::ParameterFile foreign{
        "KYR Q-Serie SS", {}, files::FullSetSize, std::vector<int32_t>(29)};
    write(path("foreign.kyr"), files::EncodeParameterFile(foreign));

    const struct {
        const char* file;
        uint8_t language;
        const char* text;
        const char* caption;
    } cases[] = {
        {"missing.kyr", kUiEnglish, "File not found", "File not found"},
        {"missing.kyr", kUiGerman, "Datei nicht gefunden", "Datei nicht gefunden"},
        {"big.kyr", kUiGerman, "Datei ist zu groß", "Fehler"},
        {"cut.kyr", kUiEnglish, "Error in File", "Error"},
        {"foreign.kyr", kUiEnglish, "File is not compatible", "Error"},
        {"good.kyr", kUiEnglish, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        connect(preset("qh"), c.language);
        const auto before = form->SensorLink.Parameters().ParameterStruct;
        const QStringList shown = load(path(c.file), QDialog::Rejected);
        EXPECT_TRUE(harness->sensor.traffic().empty());
        EXPECT_TRUE(form->SensorLink.Parameters().ParameterStruct == before);
        EXPECT_FALSE(form->State.ParametersChanged);
        EXPECT_EQ(shown.isEmpty(), c.text != nullptr) << "the question only for a good file";
        ASSERT_EQ(messages().size(), c.text ? 1u : 0u);
        if (c.text) {
            EXPECT_EQ(messages()[0].text, QString::fromUtf8(c.text));
            EXPECT_EQ(messages()[0].caption, QString::fromUtf8(c.caption));
        }
    }
}

TEST_F(FilesTest, ACancelledOrFailedSaveLeavesTheFileAsItWas) {
    const QString file = path("Sensor.kyr");
    const struct {
        MessageResult overwrite;
        bool writeFails;
        const char* comment;
        uint8_t language;
        const char* message;
        const char* caption;
    } cases[] = {
        {MessageResult::No, false, "", kUiGerman, nullptr, nullptr},
        {ScriptedDialogs::Escape, false, "", kUiEnglish, nullptr, nullptr},
        {MessageResult::Yes, true, "", kUiEnglish, "Unable to open file",
         "Error while saving data"},
        {MessageResult::Yes, true, "", kUiGerman, "Fehler beim Schreiben der Datei", "Fehler"},
        {MessageResult::Yes, false, "check \u2713", kUiEnglish,
         "The comment cannot hold the character \u201C\u2713\u201D (U+2713): a parameter file "
         "keeps only the characters of Windows-1252.\nPlease remove or replace it.",
         "Error while saving data"},
    };
    for (const auto& c : cases) {
        connect(preset("qh"), c.language);
        ASSERT_TRUE(platform::WriteFileAtomically(QFile::encodeName(file).toStdString(),
                                                  std::vector<uint8_t>{1, 2, 3})
                        .ok);
        harness->dialogs.answers.push_back(c.overwrite);
        {
            std::unique_ptr<FileSizeLimit> limit(c.writeFails ? new FileSizeLimit(16) : nullptr);
            save(file, QString::fromUtf8(c.comment));
        }
        EXPECT_EQ(bytesOf(file), (std::vector<uint8_t>{1, 2, 3}));
        ASSERT_EQ(messages().size(), c.message ? 2u : 1u);
        EXPECT_EQ(messages()[0].text, c.language == kUiGerman
                                          ? "Datei existiert bereits. Überschreiben?"
                                          : "File already exists. Overwrite?");
        EXPECT_EQ(messages()[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(harness->dialogs.dialogsShown.empty(), c.overwrite != MessageResult::Yes);
        if (c.message) {
            EXPECT_EQ(messages()[1].text, QString::fromUtf8(c.message));
            EXPECT_EQ(messages()[1].caption, QString::fromUtf8(c.caption));
        }
    }
}

TEST_F(FilesTest, TheConfirmationComparesModelAndLengthAndTheLoadReadsTheSensorAgain) {
    connect(preset("kbf"));
    save(path("kbf.kyr"), QString());
    const struct {
        uint8_t language;
        QStringList labels;
    } cases[] = {
        {kUiEnglish, {"In the file", "In the sensor", "Sensor type:", "Length:"}},
        {kUiGerman, {"In der Datei", "Im Sensor", "Sensortyp:", "L\u00E4nge:"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.language));
        connect(preset("b"), c.language);
        const int32_t factoryNumber = form->SensorLink[R::FactoryNumber].Value;
        QStringList shown;
        harness->dialogs.fileNames.push_back(path("kbf.kyr"));
        harness->dialogs.dialogScripts.push_back([&shown](QDialog& dialog) {
            for (const char* name :
                 {"FileColumnLabel", "SensorColumnLabel", "ModelLabel", "LengthLabel"})
                shown << dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
            for (const char* name : {"FileModel", "SensorModel", "FileLength", "SensorLength"})
                shown << dialog.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
            return int(QDialog::Accepted);
        });
        form->FileOpenItemClick();
        ASSERT_TRUE(messages().empty());
        EXPECT_EQ(shown.mid(0, 4), c.labels);
        EXPECT_EQ(shown.mid(4),
                  (QStringList{"K-Series SSI (KBF)", "B-Series SSI (BP)", "1250mm", "12350mm"}));

        const auto& traffic = harness->sensor.traffic();
        const auto lastWrite =
            std::find_if(traffic.rbegin(), traffic.rend(), [](const sim::TrafficEntry& entry) {
                return entry.kind == sim::TrafficEntry::Kind::Command &&
                       entry.text.starts_with("NN");
            });
        ASSERT_NE(lastWrite, traffic.rend());
        const bool readAgain =
            std::any_of(traffic.rbegin(), lastWrite, [](const sim::TrafficEntry& entry) {
                return entry.kind == sim::TrafficEntry::Kind::Command &&
                       entry.text.starts_with("FA");
            });
        EXPECT_TRUE(readAgain) << "the set is read after the last write";
        EXPECT_EQ(form->SensorLink[R::FactoryNumber].Value, factoryNumber);
        EXPECT_EQ(form->Parameters->ui.ExpertSettings.FactoryNumber->text().toInt(), factoryNumber);
        EXPECT_TRUE(form->State.SensorOnline);
        EXPECT_TRUE(form->State.ParametersChanged);
        EXPECT_TRUE(form->ui.ParameterPage->isEnabled());
    }
}

TEST_F(FilesTest, ACommentTheFileCannotHoldIsNamedAndTheCommentDialogStaysOpen) {
    const struct {
        uint8_t language;
        const char* comment;
        const char* text;
        const char* caption;
    } cases[] = {
        {kUiEnglish, "Linie 3 \u2713 ok",
         "The comment cannot hold the character \u201C\u2713\u201D (U+2713): a parameter file "
         "keeps only the characters of Windows-1252.\nPlease remove or replace it.",
         "Error while saving data"},
        {kUiGerman, "F\u00F6rderband \U0001F600 \u2713",
         "Der Kommentar kann das Zeichen \u201E\U0001F600\u201C (U+1F600) nicht aufnehmen: Eine "
         "Parameterdatei speichert nur die Zeichen von Windows-1252.\nBitte entfernen oder "
         "ersetzen Sie es.",
         "Fehler"},
        {kUiEnglish, "\u0100",
         "The comment cannot hold the character \u201C\u0100\u201D (U+0100): "
         "a parameter file keeps only the characters of Windows-1252.\nPlease remove or replace "
         "it.",
         "Error while saving data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.comment);
        connect(preset("qh"), c.language);
        const QString file = path("comment.kyr");
        QFile::remove(file);
        bool closedWithTheCharacter = false;
        size_t shownBeforeMending = 0;
        harness->dialogs.fileNames.push_back(file);
        harness->dialogs.dialogScripts.push_back([&](QDialog& dialog) {
            auto* field = dialog.findChild<QPlainTextEdit*>(QStringLiteral("CommentField"));
            auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("OKButton"));
            int closings = 0;
            QObject::connect(&dialog, &QDialog::finished, [&closings] { ++closings; });
            field->setPlainText(QString::fromUtf8(c.comment));
            ok->click();
            dialog.reject();
            closedWithTheCharacter = closings != 0;
            shownBeforeMending = messages().size();
            field->setPlainText(QStringLiteral("Linie 3"));
            ok->click();
            return dialog.result();
        });
        form->FileSaveAsItemClick();
        EXPECT_FALSE(closedWithTheCharacter) << "neither OK nor Escape closes it";
        EXPECT_EQ(shownBeforeMending, 2u);
        ASSERT_EQ(messages().size(), 2u);
        EXPECT_EQ(messages()[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(messages()[0].caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(messages()[0].icon, MessageIcon::Error);
        const auto saved = files::DecodeParameterFile(bytesOf(file)).file;
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->header, "KYR Q-Serie SSI\nVersion: Varnel 5.3.6\n\nLinie 3");
    }
}

}  // namespace
