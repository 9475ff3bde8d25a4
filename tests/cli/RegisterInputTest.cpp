#include "cli/RegisterInput.h"

#include <gtest/gtest.h>

namespace {

using cli::parseRegisterValue;

TSSICom::DataElement field(uint32_t mask, uint8_t shift) {
    TSSICom::DataElement element;
    element.Mask = mask;
    element.Shift = shift;
    return element;
}

std::optional<int32_t> valueOf(TSSICom::RegisterIndex r, const TSSICom::DataElement& element,
                               const std::string& text) {
    const cli::ValueParse parsed = parseRegisterValue(r, element, text);
    if (!parsed.input)
        return std::nullopt;
    return parsed.input->value;
}

TEST(RegisterInput, FieldWidthBoundsTheValue) {
    const auto bitWidth = field(0x000000FF, 0);
    EXPECT_EQ(valueOf(TSSICom::BitWidth, bitWidth, "25"), 25);
    EXPECT_EQ(valueOf(TSSICom::BitWidth, bitWidth, "255"), 255);
    EXPECT_FALSE(valueOf(TSSICom::BitWidth, bitWidth, "256"));
    EXPECT_FALSE(valueOf(TSSICom::BitWidth, bitWidth, "-1"));
    const auto filter = field(0x00C00000, 22);
    EXPECT_EQ(valueOf(TSSICom::Filter, filter, "3"), 3);
    EXPECT_FALSE(valueOf(TSSICom::Filter, filter, "4"));
}

TEST(RegisterInput, HexadecimalWithPrefix) {
    const auto bitWidth = field(0x000000FF, 0);
    EXPECT_EQ(valueOf(TSSICom::BitWidth, bitWidth, "0x19"), 25);
    EXPECT_EQ(valueOf(TSSICom::BitWidth, bitWidth, "0XfF"), 255);
    EXPECT_FALSE(valueOf(TSSICom::BitWidth, bitWidth, "0x"));
    EXPECT_FALSE(valueOf(TSSICom::BitWidth, bitWidth, "0x-1"));
}

TEST(RegisterInput, GarbageNamesTheRegister) {
    const cli::ValueParse parsed = parseRegisterValue(TSSICom::BitWidth, field(0xFF, 0), "2five");
    EXPECT_FALSE(parsed.input);
    EXPECT_EQ(parsed.error, "BitWidth: '2five' is not a number");
    EXPECT_FALSE(valueOf(TSSICom::BitWidth, field(0xFF, 0), ""));
    EXPECT_FALSE(valueOf(TSSICom::BitWidth, field(0xFF, 0), " 5"));
}

TEST(RegisterInput, WholeWordTakesUnsigned32Bits) {
    const auto errorValue = field(0xFFFFFFFF, 0);
    EXPECT_EQ(valueOf(TSSICom::ErrorValue, errorValue, "4294967295"), -1);
    EXPECT_EQ(valueOf(TSSICom::ErrorValue, errorValue, "0xFFFFFFFF"), -1);
    EXPECT_FALSE(valueOf(TSSICom::ErrorValue, errorValue, "4294967296"));
}

TEST(RegisterInput, SignedRegistersTake24Bits) {
    const auto whole = field(0xFFFFFFFF, 0);
    EXPECT_EQ(valueOf(TSSICom::Offset, whole, "-2"), -2);
    EXPECT_EQ(valueOf(TSSICom::Offset, whole, "-8388608"), -8388608);
    EXPECT_EQ(valueOf(TSSICom::LinStartValue, whole, "8388607"), 8388607);
    EXPECT_FALSE(valueOf(TSSICom::Offset, whole, "8388608"));
    EXPECT_FALSE(valueOf(TSSICom::Offset, whole, "-8388609"));
}

TEST(RegisterInput, DecimalRegistersTakeTheirDigits) {
    const auto whole = field(0xFFFFFFFF, 0);
    EXPECT_EQ(valueOf(TSSICom::Resolution, whole, "99999999"), 99999999);
    EXPECT_FALSE(valueOf(TSSICom::Resolution, whole, "100000000"));
    EXPECT_EQ(valueOf(TSSICom::UltrasonicSpeed, field(0x00FFFFFF, 0), "277695"), 277695);
    EXPECT_FALSE(valueOf(TSSICom::UltrasonicSpeed, field(0x00FFFFFF, 0), "1000000"));
}

TEST(RegisterInput, LongLengthsOnlyInFiftyMillimetreSteps) {
    const auto length = field(0x0000FFFF, 0);
    EXPECT_EQ(valueOf(TSSICom::Length, length, "9999"), 9999);
    EXPECT_EQ(valueOf(TSSICom::Length, length, "12350"), 12350);
    EXPECT_EQ(valueOf(TSSICom::Length, length, "12300"), 12300);
    EXPECT_FALSE(valueOf(TSSICom::Length, length, "12345"));
    EXPECT_EQ(valueOf(TSSICom::Length, length, "65500"), 65500);
    EXPECT_FALSE(valueOf(TSSICom::Length, length, "65550"));
}

TEST(RegisterInput, SecondErrorValueIsOnOrOff) {
    const auto whole = field(0xFFFFFFFF, 28);
    EXPECT_EQ(valueOf(TSSICom::SecErrorValue, whole, "0"), 0);
    EXPECT_EQ(valueOf(TSSICom::SecErrorValue, whole, "1"), 1);
    EXPECT_FALSE(valueOf(TSSICom::SecErrorValue, whole, "2"));
}

TEST(RegisterInput, ModelTakesTwoLetters) {
    const auto model = field(0x00FF0000, 16);
    EXPECT_EQ(valueOf(TSSICom::Model, model, "QH"), 'Q' * 256 + 'H');
    EXPECT_EQ(valueOf(TSSICom::Model, model, "kp"), 'K' * 256 + 'P');
    EXPECT_FALSE(valueOf(TSSICom::Model, model, "Q"));
    EXPECT_FALSE(valueOf(TSSICom::Model, model, "QHX"));
    EXPECT_FALSE(valueOf(TSSICom::Model, model, "Q1"));
}

TEST(RegisterInput, FactoryNumberIsTextPaddedToEight) {
    const auto whole = field(0xFFFFFFFF, 0);
    const cli::ValueParse parsed = parseRegisterValue(TSSICom::FactoryNumber, whole, "ab12");
    ASSERT_TRUE(parsed.input);
    EXPECT_EQ(parsed.input->text, "0000AB12");
    EXPECT_FALSE(parseRegisterValue(TSSICom::FactoryNumber, whole, "123456789").input);
    EXPECT_FALSE(parseRegisterValue(TSSICom::FactoryNumber, whole, "12 4").input);
    EXPECT_FALSE(parseRegisterValue(TSSICom::FactoryNumber, whole, "").input);
}

TEST(RegisterInput, ReadOnlyRegistersCannotBeSet) {
    for (auto r : {TSSICom::FirmwareVersion, TSSICom::SSISampleTime, TSSICom::OperatingTime,
                   TSSICom::StartPoint, TSSICom::EndPoint, TSSICom::LinTableByte,
                   TSSICom::LinTableAddress}) {
        EXPECT_FALSE(cli::isWritable(r));
        const cli::ValueParse parsed = parseRegisterValue(r, field(0xFF, 0), "1");
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
