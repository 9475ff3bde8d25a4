#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include "LinPageHarness.h"

namespace {

using namespace lintest;

class LinExportTest : public LinPageTest {
protected:
    // All entries 0, factor 2, start value 51000.
    void connectZeroTable(uint8_t language = 0) {
        sim::SensorConfig config;
        config.factoryNumber = "12345678";
        connect(config, language);
        for (int address = 200; address <= 500; ++address)
            harness->sensor.setLinTableByte(address, 0);
        harness->sensor.setLinTableByte(501, 2);
        harness->sensor.setWord("XA01F600", 51000);
    }
    QString path(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }
    void exportTo(const QString& fileName) {
        harness->dialogs.fileNames.push_back(fileName);
        ui().WriteLinFile->click();
    }
    int entryReads() const {
        int reads = 0;
        for (const auto& command : commands())
            reads += command.starts_with("XA") && command != "XA01F500" && command != "XA01F600";
        return reads;
    }
    static QByteArray contents(const QString& fileName) {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
};

QByteArray zeroTableFile() {
    QByteArray expected = "Linearization factor = 2\nStart value = 51000\nEEPROM-Adr.; LinValue;\n";
    for (int address = 200; address <= 500; ++address)
        expected += QByteArray::number(address) + ";0;\n";
    return expected;
}

TEST_F(LinExportTest, TheFileHoldsTheTableByteForByteAndASecondExportReadsNoEntries) {
    connectZeroTable();
    exportTo(path("12345678 (KYR-SSI).txt"));
    ASSERT_EQ(harness->dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(harness->dialogs.fileRequests[0].directory, "12345678 (KYR-SSI).txt");
    EXPECT_EQ(harness->dialogs.fileRequests[0].filter, "Text files (*.txt)");
    EXPECT_EQ(harness->dialogs.fileRequests[0].defaultSuffix, "txt");
    EXPECT_EQ(contents(path("12345678 (KYR-SSI).txt")), zeroTableFile());
    EXPECT_EQ(entryReads(), 301);
    EXPECT_EQ(onlyMessage(),
              std::make_pair("Operation succesfull!\nFile: " + path("12345678 (KYR-SSI).txt"),
                             QStringLiteral("Write file")));
    EXPECT_TRUE(form->State.LinTableCached);
    EXPECT_FALSE(form->State.ViewRefreshing);
    EXPECT_EQ(ui().AdresLabel->text(), "500");
    EXPECT_EQ(ui().CGauge1->value(), 0);

    harness->sensor.clearTraffic();
    harness->dialogs.messages.clear();
    exportTo(path("12345678 (KYR-SSI).txt"));  // the overwrite question is answered Yes
    EXPECT_EQ(entryReads(), 0);
    EXPECT_EQ(contents(path("12345678 (KYR-SSI).txt")), zeroTableFile());

    form->State.RefreshView();
    harness->sensor.clearTraffic();
    exportTo(path("again.txt"));
    EXPECT_EQ(entryReads(), 301) << "a refresh forgets the table";
}

TEST_F(LinExportTest, NoToTheOverwriteQuestionTakesTheFirstFreeNumber) {
    connectZeroTable(1);
    QFile(path("12345678 (KYR-SSI).txt")).open(QIODevice::WriteOnly);
    for (const char* written : {"12345678 (KYR-SSI)0.txt", "12345678 (KYR-SSI)1.txt"}) {
        SCOPED_TRACE(written);
        harness->dialogs.messages.clear();
        harness->dialogs.answers.push_back(MessageResult::No);
        exportTo(path("12345678 (KYR-SSI).txt"));
        ASSERT_EQ(harness->dialogs.messages.size(), 2u);
        EXPECT_EQ(harness->dialogs.messages[0].text, "Datei existiert bereits. Überschreiben?");
        EXPECT_EQ(harness->dialogs.messages[0].caption, "Datei speichern");
        EXPECT_EQ(harness->dialogs.messages[1].text,
                  "Daten schreiben erfolgreich!\n\nDatei: " + path(written));
        EXPECT_TRUE(contents(path(written)).startsWith("Linearisierungsfaktor = 2\n"));
    }
    EXPECT_TRUE(contents(path("12345678 (KYR-SSI).txt")).isEmpty());
}

TEST_F(LinExportTest, EscapeOnTheOverwriteQuestionWritesNothing) {
    connectZeroTable();
    QFile existing(path("12345678 (KYR-SSI).txt"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("kept");
    existing.close();
    harness->dialogs.answers.push_back(ScriptedDialogs::Escape);
    exportTo(path("12345678 (KYR-SSI).txt"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"12345678 (KYR-SSI).txt"});
    EXPECT_EQ(contents(path("12345678 (KYR-SSI).txt")), "kept");
    ASSERT_EQ(harness->dialogs.messages.size(), 1u) << "the question, and no success";
    EXPECT_EQ(harness->dialogs.messages[0].text, "File already exists. Overwrite?");
    EXPECT_EQ(entryReads(), 0);
    EXPECT_FALSE(form->State.ViewRefreshing);
}

TEST_F(LinExportTest, AnEntryThatFailsSixTimesEndsWithTheReadFailureAndWritesNothing) {
    connectZeroTable();
    harness->sensor.faults().silentCommands = {"XA012C00"};
    exportTo(path("t.txt"));
    EXPECT_EQ(count("XA012C00"), 6 * 5);
    EXPECT_EQ(onlyMessage(), std::make_pair(QStringLiteral("Read linearity data's failed!"),
                                            QStringLiteral("ERROR")));
    EXPECT_FALSE(QFile::exists(path("t.txt")));
    EXPECT_FALSE(form->State.LinTableCached);
    EXPECT_FALSE(form->State.ViewRefreshing);
}

TEST_F(LinExportTest, AFileThatCannotBeWrittenIsReportedAndNotCalledASuccess) {
    connectZeroTable();
    const QString unwritable = path("missing-folder/t.txt");
    exportTo(unwritable);
    const auto [text, caption] = onlyMessage();
    EXPECT_TRUE(text.startsWith("The file could not be written:\n" + unwritable))
        << text.toStdString();
    EXPECT_EQ(caption, "File error");
}

TEST_F(LinExportTest, WithoutTheFactoryNumberNothingIsAskedOrWritten) {
    connectZeroTable(1);
    harness->sensor.faults().silentCommands = {"FA"};
    exportTo(path("t.txt"));
    EXPECT_EQ(onlyMessage(),
              std::make_pair(QStringLiteral("Kein Sensor gefunden!"), QStringLiteral("FEHLER")));
    EXPECT_TRUE(harness->dialogs.fileRequests.empty());
    EXPECT_EQ(entryReads(), 0);
}

TEST_F(LinExportTest, CancellingTheDialogWritesNothingAndLeavesTheFieldHandlersWorking) {
    connectZeroTable();
    ui().WriteLinFile->click();
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    EXPECT_EQ(entryReads(), 0);
    type(*ui().ValueLabel, "7");
    EXPECT_EQ(form->SensorLink[TSSICom::LinTableByte].Modified, 1);
}

}  // namespace
