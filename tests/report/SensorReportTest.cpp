#include "report/SensorReport.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using Reg = ParameterSet::RegisterIndex;

// A set in which every register answered, of a sensor with firmware 3960607.
ParameterSet answeredSet(int32_t firmwareVersion = 3960607) {
    ParameterSet set;
    for (auto& element : set.ParameterStruct)
        element.Answered = 1;
    set[ParameterSet::FirmwareVersion].Value = firmwareVersion;
    set[ParameterSet::Model].Value = 'Q' * 256 + 'H';
    set[ParameterSet::Resolution].Value = 1;
    return set;
}

std::optional<std::string> parameter(const report::Parameters& parameters,
                                     const std::string& name) {
    for (const auto& [key, value] : parameters)
        if (key == name)
            return value;
    return std::nullopt;
}

report::Parameters build(const ParameterSet& set, uint8_t language = 0) {
    return report::SensorReportParameters(set, language, "Varnel 5.3.6");
}

struct Case {
    const char* what;
    std::function<void(ParameterSet&)> change;
    const char* name;
    std::optional<std::string> expected;  // nothing: the parameter is not set
    uint8_t language = 0;
};

TEST(SensorReport, ValuesFollowTheirRegistersAndTheViewRules) {
    const Case cases[] = {
        {"an error value of all ones is unsigned",
         [](ParameterSet& s) { s[ParameterSet::ErrorValue].Value = int32_t(0xFFFFFFFF); },
         "ErrorValue", "4294967295"},
        {"the offset is the plain product, not divided by the filter",
         [](ParameterSet& s) {
             s[ParameterSet::Offset].Value = -200;
             s[ParameterSet::Resolution].Value = 5;
             s[ParameterSet::Filter].Value = 2;
         },
         "Offset", "-1000 µm"},
        {"the monoflop time is in half microseconds",
         [](ParameterSet& s) { s[ParameterSet::MonoflopTime].Value = 33; }, "MonoflopTime",
         "16 µs"},
        {"the cycle time is in quarter microseconds",
         [](ParameterSet& s) { s[ParameterSet::CycleTime].Value = 1667; }, "CycleTime", "416 µs"},
        {"the sync timing adds the minimum period's overhead",
         [](ParameterSet& s) {
             s[ParameterSet::SyncTiming].Value = 956;
             s[ParameterSet::Measurement].Value = 2;
             s[ParameterSet::JitterWindow].Value = 50;
             s[ParameterSet::OutputFlags].Value = 1;
             s[ParameterSet::PositionCount].Value = 2;
         },
         "SyncTiming", "334 µs"},
        {"type 39606 reports its operating time",
         [](ParameterSet& s) { s[ParameterSet::OperatingTime].Value = 20; }, "ChiffreVal", "20"},
        {"type 39606 labels it", [](ParameterSet&) {}, "Chiffre", "Chiffre:"},
        {"type 39601 has no operating time",
         [](ParameterSet& s) { s[ParameterSet::FirmwareVersion].Value = 3960105; }, "ChiffreVal",
         std::nullopt},
        {"type 39601 has no label for it",
         [](ParameterSet& s) { s[ParameterSet::FirmwareVersion].Value = 3960105; }, "Chiffre",
         std::nullopt},
        {"39604 without linearization flags has its internal linearization",
         [](ParameterSet& s) {
             s[ParameterSet::FirmwareVersion].Value = 3960410;
             s[ParameterSet::LinearizationFlags].Answered = 0;
         },
         "IntLinearization", "yes"},
        {"39604 without linearization flags has no extrapolation to report",
         [](ParameterSet& s) {
             s[ParameterSet::FirmwareVersion].Value = 3960410;
             s[ParameterSet::LinearizationFlags].Answered = 0;
         },
         "Extrapolation", "-----"},
        {"39602 without linearization flags has no internal linearization to report",
         [](ParameterSet& s) {
             s[ParameterSet::FirmwareVersion].Value = 3960210;
             s[ParameterSet::LinearizationFlags].Answered = 0;
         },
         "IntLinearization", "-----"},
        {"39602 without linearization flags extrapolates",
         [](ParameterSet& s) {
             s[ParameterSet::FirmwareVersion].Value = 3960210;
             s[ParameterSet::LinearizationFlags].Answered = 0;
         },
         "Extrapolation", "yes"},
        {"an unanswered measurement register is asynchronous",
         [](ParameterSet& s) { s[ParameterSet::Measurement].Answered = 0; }, "Measurement",
         "SSI asynchron"},
        {"a synchronised start wins over the choice",
         [](ParameterSet& s) { s[ParameterSet::SSIStartSync].Value = 1; }, "Measurement",
         "synchron Start", 1},
        {"extrapolation shows the start of measurement synchronous",
         [](ParameterSet& s) { s[ParameterSet::LinearizationFlags].Value = 2; }, "Measurement",
         "SSI synchron"},
        {"a KBF's charge pump has eight stages",
         [](ParameterSet& s) {
             s[ParameterSet::Model].Value = 'K' * 256 + 'B';
             s[ParameterSet::Chargepump].Value = 192;
         },
         "Chargepump", "Stufe 4 (0xC0)", 1},
        {"other sensors have three", [](ParameterSet& s) { s[ParameterSet::Chargepump].Value = 2; },
         "Chargepump", "six stages"},
        {"a charge pump value without an item is unavailable",
         [](ParameterSet& s) { s[ParameterSet::Chargepump].Value = 7; }, "Chargepump", "-----"},
        {"an unanswered charge pump is unavailable",
         [](ParameterSet& s) { s[ParameterSet::Chargepump].Answered = 0; }, "Chargepump", "-----"},
        {"an unanswered power-fail time is unavailable",
         [](ParameterSet& s) { s[ParameterSet::PowerfailTime].Answered = 0; }, "PowerfailTime",
         "-----"},
        {"the power-fail time is in milliseconds",
         [](ParameterSet& s) { s[ParameterSet::PowerfailTime].Value = 3; }, "PowerfailTime",
         "3 ms"},
        {"no sample time is unavailable", [](ParameterSet&) {}, "SSISampleTime", "-----"},
        {"an unanswered direction is forward",
         [](ParameterSet& s) {
             s[ParameterSet::Direction].Value = 1;
             s[ParameterSet::Direction].Answered = 0;
         },
         "Direction", "vorwärts", 1},
        {"the measuring mode by its item", [](ParameterSet& s) { s[ParameterSet::Mode].Value = 2; },
         "Mode", "Geschwindigkeit", 1},
        {"a measuring mode without an item is unavailable",
         [](ParameterSet& s) { s[ParameterSet::Mode].Value = 5; }, "Mode", "-----"},
        {"the output code", [](ParameterSet&) {}, "OutputCode", "binär", 1},
        {"the second error value box is checked by 0", [](ParameterSet&) {}, "SecErrorValue", "ja",
         1},
        {"type 39601 sets the error-and-parity bit by the whole value 1",
         [](ParameterSet& s) {
             s[ParameterSet::FirmwareVersion].Value = 3960105;
             s[ParameterSet::OutputFlags].Value = 3;
         },
         "ErrorAndParity", "no"},
        {"a B model leaves the error-and-parity box unknown",
         [](ParameterSet& s) { s[ParameterSet::Model].Value = 'B' * 256 + 'P'; }, "ErrorAndParity",
         "-----"},
        {"the temperature bit", [](ParameterSet& s) { s[ParameterSet::OutputFlags].Value = 2; },
         "Temperature", "yes"},
        {"a half-micrometre scale shows the resolution 0.5",
         [](ParameterSet& s) { s[ParameterSet::Scale].Value = 2031617; }, "Resolution", "0.5 µm"},
        {"an untaught start point", [](ParameterSet& s) { s[ParameterSet::StartPoint].Value = 0; },
         "StartPoint", "nicht definiert", 1},
        {"a taught end point in millimetres",
         [](ParameterSet& s) {
             s[ParameterSet::EndPoint].Value = 100000;
             s[ParameterSet::LinearizationFlags].Value = 1;
         },
         "EndPoint", "100.000 mm"},
        {"points are unavailable without the end point register",
         [](ParameterSet& s) { s[ParameterSet::EndPoint].Answered = 0; }, "StartPoint", "-----"},
        {"the sensor information lines",
         [](ParameterSet& s) { s[ParameterSet::Length].Value = 500; }, "Length", "500mm"},
        {"the version is the end of the program's title", [](ParameterSet&) {}, "Versionsinfo",
         "5.3.6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParameterSet set = answeredSet();
        c.change(set);
        EXPECT_EQ(parameter(build(set, c.language), c.name), c.expected);
    }
}

TEST(SensorReport, ParametersAreSetInTheirOrder) {
    std::vector<std::string> names;
    for (const auto& [name, value] : build(answeredSet()))
        names.push_back(name);
    const std::vector<std::string> expected = {"FactoryNumber",
                                               "Model",
                                               "FirmwareVersion",
                                               "Length",
                                               "ErrorValue",
                                               "IndicationCounter",
                                               "SecErrorValue",
                                               "PowerfailTime",
                                               "Filter",
                                               "OutputCode",
                                               "BitWidth",
                                               "Measurement",
                                               "MonoflopTime",
                                               "JitterWindow",
                                               "SSISampleTime",
                                               "UARTCounter",
                                               "Chiffre",
                                               "ChiffreVal",
                                               "Resolution",
                                               "CycleTime",
                                               "SyncTiming",
                                               "UltrasonicSpeed",
                                               "Chargepump",
                                               "Offset",
                                               "Mode",
                                               "Direction",
                                               "Scale",
                                               "ErrorAndParity",
                                               "Temperature",
                                               "IntLinearization",
                                               "Extrapolation",
                                               "ExtrapolationReal",
                                               "StartPoint",
                                               "EndPoint",
                                               "Versionsinfo"};
    EXPECT_EQ(names, expected);
}

}  // namespace
