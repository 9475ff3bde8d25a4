#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include "settings/Settings.h"
#include "support/TempHome.h"

namespace {

class SettingsTest : public testing::Test {
protected:
    TempHome home;
    SettingsStore store;  // the default path, inside `home`

    QJsonObject fileObject() const { return QJsonDocument::fromJson(home.readSettings()).object(); }
};

TEST_F(SettingsTest, TheDefaultPathFollowsXdgConfigHomeOrElseHome) {
    EXPECT_EQ(store.path(), home.settingsPath());
    qputenv("XDG_CONFIG_HOME", "");
    EXPECT_EQ(SettingsStore::defaultPath(),
              home.path() + QStringLiteral("/.config/KYR/Torvane.json"));
}

TEST_F(SettingsTest, OpeningCreatesTheFileAndItsFolders) {
    ASSERT_FALSE(QFileInfo::exists(home.settingsPath()));
    store.open();
    EXPECT_TRUE(QFileInfo::exists(home.settingsPath()));
    EXPECT_TRUE(fileObject().isEmpty());
    EXPECT_FALSE(store.hasValue(SettingsStore::Language));
}

TEST_F(SettingsTest, WritingKeepsTheOtherMembers) {
    home.writeSettings(R"({"FactoryKey": "731846205913", "PortMap": {"7": "/dev/pts/3"}})");
    store.open();
    store.writeInteger(SettingsStore::Language, 1);

    const QJsonObject written = fileObject();
    EXPECT_EQ(written.value("Language").toInt(), 1);
    EXPECT_EQ(written.value("FactoryKey").toString(), QStringLiteral("731846205913"));
    EXPECT_EQ(written.value("PortMap").toObject().value("7").toString(),
              QStringLiteral("/dev/pts/3"));
}

TEST_F(SettingsTest, WritingAfterClosingKeepsEveryOtherMember) {
    const QByteArray before =
        R"({"Language": 1, "FactoryKey": "731846205913", "PortMap": {"7": "/dev/pts/3"}})";
    home.writeSettings(before);
    store.open();
    store.close();
    store.writeInteger(SettingsStore::ComPort, 3);

    QJsonObject expected = QJsonDocument::fromJson(before).object();
    expected.insert("COM-Port", 3);
    EXPECT_EQ(fileObject(), expected);
}

TEST_F(SettingsTest, LoadingReadsWithoutCreatingTheFile) {
    store.load();
    EXPECT_FALSE(QFileInfo::exists(home.settingsPath()));
    EXPECT_TRUE(store.portMap().empty());
    home.writeSettings(R"({"PortMap": {"7": "/dev/pts/3"}})");
    store.load();
    EXPECT_EQ(store.portMap().at(7), "/dev/pts/3");
}

TEST_F(SettingsTest, ReadsIntegersTextsAndSubkeys) {
    home.writeSettings(R"({"Language": 1, "COM-Port": 3, "FactoryKey": "x", "PortMap": {},
                           "HistoryDatabase": "postgresql://station@db/varnel"})");
    store.open();
    EXPECT_EQ(store.readInteger(SettingsStore::Language), 1);
    EXPECT_EQ(store.readInteger(SettingsStore::ComPort), 3);
    EXPECT_EQ(store.readText(SettingsStore::FactoryKey), QStringLiteral("x"));
    EXPECT_EQ(store.readText(SettingsStore::HistoryDatabase),
              QStringLiteral("postgresql://station@db/varnel"));
    EXPECT_TRUE(store.hasSubkey(SettingsStore::PortMap));
    EXPECT_FALSE(store.hasValue(SettingsStore::PortMap));
    EXPECT_FALSE(store.hasSubkey(SettingsStore::Language));
}

TEST_F(SettingsTest, AMissingTextReadsAsEmpty) {
    store.open();
    EXPECT_EQ(store.readText(SettingsStore::FactoryKey), QString());
}

TEST_F(SettingsTest, AnIntegerOfTheWrongTypeIsAnError) {
    for (const char* value : {R"("1")", "1.5", "4294967296", "true", "null", "[1]"}) {
        home.writeSettings(QByteArray(R"({"Language": )") + value + "}");
        store.open();
        EXPECT_THROW(store.readInteger(SettingsStore::Language), SettingsError) << value;
    }
}

TEST_F(SettingsTest, ATextOfTheWrongTypeIsAnError) {
    home.writeSettings(R"({"FactoryKey": 731846205913})");
    store.open();
    EXPECT_THROW(store.readText(SettingsStore::FactoryKey), SettingsError);
}

TEST_F(SettingsTest, InvalidJsonIsAnErrorAndTheFileStaysAsItWas) {
    const QByteArray broken = R"({"Language": 1,)";
    home.writeSettings(broken);
    EXPECT_THROW(store.open(), SettingsError);
    EXPECT_EQ(home.readSettings(), broken);

    home.writeSettings("[1, 2]");
    EXPECT_THROW(store.open(), SettingsError);
}

TEST_F(SettingsTest, ReadsThePortMap) {
    home.writeSettings(R"({"PortMap": {"7": "/dev/pts/3", "12": "/dev/ttyS4"}})");
    store.open();
    const std::map<int, std::string> expected{{7, "/dev/pts/3"}, {12, "/dev/ttyS4"}};
    EXPECT_EQ(store.portMap(), expected);
}

TEST_F(SettingsTest, APortMapOfTheWrongShapeIsAnError) {
    for (const char* map :
         {R"("x")", R"({"COM7": "/dev/x"})", R"({"7": 3})", R"({"0": "/dev/x"})"}) {
        home.writeSettings(QByteArray(R"({"PortMap": )") + map + "}");
        store.open();
        EXPECT_THROW(store.portMap(), SettingsError) << map;
    }
}

TEST_F(SettingsTest, WritesOnePortMapEntryAndKeepsTheRest) {
    home.writeSettings(R"({"Language": 1, "PortMap": {"7": "/dev/pts/3"}})");
    store.open();
    store.writePortMapEntry(1, QStringLiteral("/dev/serial/by-id/usb-FTDI_X-if00-port0"));
    store.writePortMapEntry(7, QStringLiteral("rfc2217://192.0.2.10:4001"));
    const std::map<int, std::string> expected{{1, "/dev/serial/by-id/usb-FTDI_X-if00-port0"},
                                              {7, "rfc2217://192.0.2.10:4001"}};
    EXPECT_EQ(store.portMap(), expected);
    EXPECT_EQ(fileObject().value("Language").toInt(), 1);

    // Without a PortMap the subkey is made; a PortMap that is a value is not overwritten.
    home.writeSettings(R"({"Language": 1})");
    store.close();
    store.writePortMapEntry(3, QStringLiteral("/dev/ttyUSB2"));
    EXPECT_EQ(fileObject().value("PortMap").toObject().value("3").toString(), "/dev/ttyUSB2");
    const QByteArray wrong = R"({"PortMap": "x"})";
    home.writeSettings(wrong);
    EXPECT_THROW(store.writePortMapEntry(3, QStringLiteral("/dev/ttyUSB2")), SettingsError);
    EXPECT_EQ(home.readSettings(), wrong);
}

TEST_F(SettingsTest, AValueIsNotWrittenOverASubkey) {
    const QByteArray subkey = R"({"Language": {"x": 1}})";
    home.writeSettings(subkey);
    store.open();
    EXPECT_FALSE(store.hasValue(SettingsStore::Language));
    EXPECT_THROW(store.writeInteger(SettingsStore::Language, 1), SettingsError);
    EXPECT_EQ(home.readSettings(), subkey);
}

}  // namespace
