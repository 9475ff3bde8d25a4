#include "cli/RegisterInput.h"

#include <gtest/gtest.h>

namespace {

using cli::parseRegisterValue;

std::optional<int32_t> valueOf(TSSICom::RegisterIndex r, const std::string& text) {
    const cli::ValueParse parsed = parseRegisterValue(r, text);
    if (!parsed.input)
        return std::nullopt;
    return parsed.input->value;
}

TEST(RegisterInput, AcceptedRangeBoundsTheValue) {
    EXPECT_EQ(valueOf(TSSICom::BitWidth, "25"), 25);
    EXPECT_EQ(valueOf(TSSICom::BitWidth, "32"), 32);
    EXPECT_FALSE(valueOf(TSSICom::BitWidth, "33"));
    EXPECT_FALSE(valueOf(TSSICom::BitWidth, "-1"));
    EXPECT_EQ(valueOf(TSSICom::Filter, "3"), 3);
    EXPECT_FALSE(valueOf(TSSICom::Filter, "4"));
}

TEST(RegisterInput, HexadecimalWithPrefix) {
    EXPECT_EQ(valueOf(TSSICom::BitWidth, "0x19"), 25);
    EXPECT_EQ(valueOf(TSSICom::UARTCounter, "0XfF"), 255);
    EXPECT_FALSE(valueOf(TSSICom::BitWidth, "0x"));
    EXPECT_FALSE(valueOf(TSSICom::BitWidth, "0x-1"));
}

TEST(RegisterInput, GarbageNamesTheRegister) {
    const cli::ValueParse parsed = parseRegisterValue(TSSICom::BitWidth, "2five");
    EXPECT_FALSE(parsed.input);
    EXPECT_EQ(parsed.error, "BitWidth: '2five' is not a number");
    EXPECT_FALSE(valueOf(TSSICom::BitWidth, ""));
    EXPECT_FALSE(valueOf(TSSICom::BitWidth, " 5"));
}

TEST(RegisterInput, WholeWordTakesUnsigned32Bits) {
    EXPECT_EQ(valueOf(TSSICom::ErrorValue, "4294967295"), -1);
    EXPECT_EQ(valueOf(TSSICom::ErrorValue, "0xFFFFFFFF"), -1);
    EXPECT_FALSE(valueOf(TSSICom::ErrorValue, "4294967296"));
}

TEST(RegisterInput, SignedRegistersTake24Bits) {
    EXPECT_EQ(valueOf(TSSICom::Offset, "-2"), -2);
    EXPECT_EQ(valueOf(TSSICom::Offset, "-8388608"), -8388608);
    EXPECT_EQ(valueOf(TSSICom::LinStartValue, "8388607"), 8388607);
    EXPECT_FALSE(valueOf(TSSICom::Offset, "8388608"));
    EXPECT_FALSE(valueOf(TSSICom::Offset, "-8388609"));
}

TEST(RegisterInput, DecimalRegistersTakeWhatTheEditorsTake) {
    EXPECT_EQ(valueOf(TSSICom::Resolution, "1000000"), 1000000);
    EXPECT_FALSE(valueOf(TSSICom::Resolution, "1000001"));
    EXPECT_FALSE(valueOf(TSSICom::Resolution, "0"));
    EXPECT_EQ(valueOf(TSSICom::UltrasonicSpeed, "277695"), 277695);
    EXPECT_FALSE(valueOf(TSSICom::UltrasonicSpeed, "1000000"));
    EXPECT_FALSE(valueOf(TSSICom::UltrasonicSpeed, "0"));
}

TEST(RegisterInput, LongLengthsOnlyInFiftyMillimetreSteps) {
    EXPECT_EQ(valueOf(TSSICom::Length, "9999"), 9999);
    EXPECT_EQ(valueOf(TSSICom::Length, "12350"), 12350);
    EXPECT_EQ(valueOf(TSSICom::Length, "12300"), 12300);
    EXPECT_FALSE(valueOf(TSSICom::Length, "12345"));
    EXPECT_EQ(valueOf(TSSICom::Length, "65500"), 65500);
    EXPECT_FALSE(valueOf(TSSICom::Length, "65550"));
}

TEST(RegisterInput, SecondErrorValueIsOnOrOff) {
    EXPECT_EQ(valueOf(TSSICom::SecErrorValue, "0"), 0);
    EXPECT_EQ(valueOf(TSSICom::SecErrorValue, "1"), 1);
    EXPECT_FALSE(valueOf(TSSICom::SecErrorValue, "2"));
}

TEST(RegisterInput, ModelTakesTwoLetters) {
    EXPECT_EQ(valueOf(TSSICom::Model, "QH"), 'Q' * 256 + 'H');
    EXPECT_EQ(valueOf(TSSICom::Model, "kp"), 'K' * 256 + 'P');
    EXPECT_FALSE(valueOf(TSSICom::Model, "Q"));
    EXPECT_FALSE(valueOf(TSSICom::Model, "QHX"));
    EXPECT_FALSE(valueOf(TSSICom::Model, "Q1"));
}

TEST(RegisterInput, FactoryNumberIsTextPaddedToEight) {
    const cli::ValueParse parsed = parseRegisterValue(TSSICom::FactoryNumber, "ab12");
    ASSERT_TRUE(parsed.input);
    EXPECT_EQ(parsed.input->text, "0000AB12");
    EXPECT_FALSE(parseRegisterValue(TSSICom::FactoryNumber, "123456789").input);
    EXPECT_FALSE(parseRegisterValue(TSSICom::FactoryNumber, "12 4").input);
    EXPECT_FALSE(parseRegisterValue(TSSICom::FactoryNumber, "").input);
}

TEST(RegisterInput, ReadOnlyRegistersCannotBeSet) {
    for (auto r : {TSSICom::FirmwareVersion, TSSICom::SSISampleTime, TSSICom::OperatingTime,
                   TSSICom::StartPoint, TSSICom::EndPoint, TSSICom::LinTableByte,
                   TSSICom::LinTableAddress}) {
        EXPECT_FALSE(cli::isWritable(r));
        const cli::ValueParse parsed = parseRegisterValue(r, "1");
        EXPECT_FALSE(parsed.input);
        EXPECT_EQ(parsed.error, std::string(TSSICom::RegisterKey(r)) + " cannot be set");
    }
    EXPECT_TRUE(cli::isWritable(TSSICom::Blanking));
}

TEST(RegisterInput, InputGoesWhereTheWriteTakesIt) {
    TSSICom::DataElement element;
    element.Value = 7;
    cli::applyInput(TSSICom::FactoryNumber, element, {0, "00001234"});
    EXPECT_EQ(element.Reply, "00001234");
    EXPECT_EQ(element.Value, 7);
    cli::applyInput(TSSICom::BitWidth, element, {25, {}});
    EXPECT_EQ(element.Value, 25);
}

TEST(RegisterInput, DisplayFollowsTheEncoding) {
    TSSICom::DataElement element;
    element.Value = 'Q' * 256 + 'H';
    EXPECT_EQ(cli::displayValue(TSSICom::Model, element), "QH");
    element.Value = 0x0102;
    EXPECT_EQ(cli::displayValue(TSSICom::Model, element), "258");
    element.Value = -1;
    EXPECT_EQ(cli::displayValue(TSSICom::ErrorValue, element), "4294967295");
    element.Value = -2;
    EXPECT_EQ(cli::displayValue(TSSICom::Offset, element), "-2");
    element.Reply = "10203040";
    EXPECT_EQ(cli::displayValue(TSSICom::FactoryNumber, element), "10203040");
}

}  // namespace
