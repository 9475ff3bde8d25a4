#include <QPushButton>

#include "LinPageHarness.h"

namespace {

using namespace lintest;

TEST_F(LinPageTest, ReadAsksForTheEntryAndTheFactorAndShowsTheEntrySigned) {
    struct Case {
        const char* address;
        const char* command;
    };
    connect();
    for (const Case& c :
         {Case{"200", "XA00C800"}, Case{"300", "XA012C00"}, Case{"500", "XA01F400"}}) {
        SCOPED_TRACE(c.address);
        harness->sensor.setLinTableByte(QString::fromLatin1(c.address).toInt(), 0xF6);
        type(*ui().AdresLabel, c.address);
        harness->sensor.clearTraffic();
        ui().ReadLinValue->click();
        EXPECT_EQ(commands(), (std::vector<std::string>{c.command, "XA01F500"}));
        EXPECT_EQ(ui().ValueLabel->text(), "-10");
        EXPECT_EQ(ui().ValueLabel->colour(), FieldColour::White);
        EXPECT_TRUE(ui().FactorLabel->isEnabled());
        EXPECT_TRUE(harness->dialogs.messages.empty());
    }
}

TEST_F(LinPageTest, AWrongEchoFailsTheReadWithoutARetry) {
    struct Case {
        uint8_t language;
        const char* text;
        const char* caption;
    };
    for (const Case& c : {Case{0, "Operation failed!", "Read error"},
                          Case{1, "Lesen fehlgeschlagen!", "Lesefehler"}}) {
        connect({}, c.language);
        harness->sensor.faults().wrongLinAddress = true;
        ui().ReadLinValue->click();
        EXPECT_EQ(commands(), std::vector<std::string>{"XA00C800"});
        EXPECT_EQ(onlyMessage(),
                  std::make_pair(QString::fromUtf8(c.text), QString::fromUtf8(c.caption)));
    }
}

TEST_F(LinPageTest, ReadAndWriteRefuseAddressesOutsideTheEntriesAndTextThatIsNoInteger) {
    struct Case {
        const char* address;
        const char* message;
    };
    connect();
    for (QPushButton* button : {ui().ReadLinValue, ui().WriteLinValue}) {
        for (const Case& c :
             {Case{"199", "Valid adress: 200 ... 500!"}, Case{"501", "Valid adress: 200 ... 500!"},
              Case{"2x0", "Input is not a valid integer value!"}}) {
            SCOPED_TRACE(c.address);
            type(*ui().AdresLabel, c.address);
            harness->dialogs.messages.clear();
            button->click();
            EXPECT_TRUE(commands().empty());
            EXPECT_EQ(onlyMessage(), std::make_pair(QString::fromLatin1(c.message),
                                                    QStringLiteral("Input error")));
        }
    }
}

TEST_F(LinPageTest, WritingAnEntrySendsItsAddressAndByteAndRefreshesThePage) {
    connect();
    type(*ui().AdresLabel, "300");
    type(*ui().ValueLabel, "-10");
    EXPECT_EQ(ui().ValueLabel->colour(), FieldColour::Highlight);
    EXPECT_FALSE(ui().FactorLabel->isEnabled());
    ui().WriteLinValue->click();
    ASSERT_FALSE(commands().empty());
    EXPECT_EQ(commands()[0], "XN012C00F6");
    EXPECT_EQ(count("XN"), 1);
    EXPECT_EQ(harness->sensor.linTableByte(300), 0xF6);
    EXPECT_EQ(form->SensorLink[TSSICom::LinTableByte].Modified, 0);
    EXPECT_EQ(ui().AdresLabel->colour(), FieldColour::White);
    EXPECT_TRUE(ui().FactorLabel->isEnabled()) << "the refresh ran";
    EXPECT_FALSE(form->State.ParametersChanged);
    EXPECT_TRUE(harness->dialogs.messages.empty());
}

TEST_F(LinPageTest, WriteWithoutAnEditMarkSendsNothing) {
    connect();
    ui().WriteLinValue->click();
    EXPECT_TRUE(commands().empty());
    EXPECT_TRUE(harness->dialogs.messages.empty());
}

TEST_F(LinPageTest, TheFactorGoesToItsAddressOnlyThroughTheFactorField) {
    connect();
    type(*ui().FactorLabel, "3");
    EXPECT_FALSE(ui().AdresLabel->isEnabled());
    EXPECT_FALSE(ui().ValueLabel->isEnabled());
    ui().WriteLinValue->click();
    ASSERT_FALSE(commands().empty());
    EXPECT_EQ(commands()[0], "XN01F50003");
    EXPECT_EQ(harness->sensor.linTableByte(501), 3);
    EXPECT_EQ(ui().FactorLabel->text(), "3");
    EXPECT_TRUE(ui().ValueLabel->isEnabled());
}

TEST_F(LinPageTest, ARefusedWriteSaysSoAndKeepsTheEditMark) {
    connect();
    harness->sensor.faults().refusedCommands = {"XN012C"};
    type(*ui().AdresLabel, "300");
    type(*ui().ValueLabel, "5");
    ui().WriteLinValue->click();
    EXPECT_EQ(count("XN012C0005"), 5);
    EXPECT_EQ(onlyMessage(),
              std::make_pair(QStringLiteral("Operation failed!"), QStringLiteral("Write error")));
    EXPECT_EQ(form->SensorLink[TSSICom::LinTableByte].Modified, 1);
}

TEST_F(LinPageTest, AWriteWhoseReadBackIsLostNoLongerTrustsTheCachedTable) {
    connect();
    form->State.LinTableCached = true;
    harness->sensor.faults().silentCommands = {"XA012C"};
    type(*ui().AdresLabel, "300");
    type(*ui().ValueLabel, "5");
    ui().WriteLinValue->click();
    EXPECT_EQ(count("XN012C0005"), 5);
    EXPECT_EQ(harness->sensor.linTableByte(300), 5) << "the sensor took the byte";
    EXPECT_EQ(onlyMessage(),
              std::make_pair(QStringLiteral("Operation failed!"), QStringLiteral("Write error")));
    EXPECT_FALSE(form->State.LinTableCached);
}

TEST_F(LinPageTest, TheStartValueIsWrittenOnEachKeyAndATextThatIsNoIntegerIsRefusedOnLeaving) {
    connect();
    type(*ui().LinStartValue, "-1000");
    EXPECT_EQ(commands().empty() ? std::string() : commands().front(), "XN33000000")
        << "the minus alone is 0";
    EXPECT_EQ(count("XN33FFFC18"), 1);
    EXPECT_EQ(harness->sensor.linStartValue(), -1000);
    EXPECT_EQ(ui().LinStartValue->colour(), FieldColour::Highlight);
    EXPECT_TRUE(form->State.ParametersChanged);

    leave(*ui().LinStartValue);
    EXPECT_EQ(form->State.MissedPolls, 0u);
    type(*ui().LinStartValue, "1a");
    leave(*ui().LinStartValue);
    EXPECT_EQ(onlyMessage().second, "Bad Parameter");
    EXPECT_EQ(form->State.MissedPolls, 65535u);
}

TEST_F(LinPageTest, OffsetRawFirmwareShowsTheStartValueZeroInADisabledField) {
    struct Case {
        int firmware;
        bool shownAsZero;
    };
    for (const Case& c : {Case{3960400, true}, Case{3960415, true}, Case{3960105, false}}) {
        SCOPED_TRACE(c.firmware);
        sim::SensorConfig config;
        config.firmwareVersion = c.firmware;
        connect(config);
        const int32_t held = harness->sensor.linStartValue();
        ASSERT_NE(held, 0);
        EXPECT_EQ(ui().LinStartValue->text(), c.shownAsZero ? "0" : QString::number(held));
        EXPECT_EQ(ui().LinStartValue->isEnabled(), !c.shownAsZero);
    }
}

}  // namespace
