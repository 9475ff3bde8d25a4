#include <gtest/gtest.h>

#include "comm/Ssicom.h"
#include "platform/Clock.h"
#include "platform/ComPortMap.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"

using R = TSSICom::RegisterIndex;
using Bank = sim::SimulatedSensor::Bank;

namespace {

// The program's own protocol code on COM1, against a simulated sensor on virtual time.
struct ProgramLink {
    explicit ProgramLink(const char* preset) : sensor(*sim::presetConfig(preset)) {
        com.OpenDefault(1);
        com.ReadRegister(R::FirmwareVersion);
    }

    // Writes `value` as an editor does; true when the sensor confirmed it.
    bool write(R r, int32_t value) {
        com[r].Value = value;
        return com.WriteRegister(r);
    }

    // What a fresh read of `r` gives.
    int32_t readBack(R r) {
        com[r].Value = -12345;
        EXPECT_TRUE(com.ReadRegister(r)) << TSSICom::RegisterKey(r);
        return com[r].Value;
    }

    platform::VirtualClock clock;
    sim::SimulatedSensor sensor;
    sim::InProcessBackend backend{sensor, clock};
    platform::ComPortMap ports;
    TSSICom com{backend, clock, ports};
};

struct EditorWrite {
    const char* preset;
    R reg;
    int32_t value;
    const char* word;  // the sensor's word that holds the register
    uint32_t rawWord;  // that word afterwards, neighbours unchanged
};

// clang-format off
constexpr EditorWrite EditorWrites[] = {
    {"qh",  R::OutputFlags,       0x21, "KA",         0x210001},
    {"qh",  R::SSIStartSync,      1,    "DA",         0x120119},
    {"qh",  R::SecErrorValue,     0,    "YA30000000", 0},
    {"qh",  R::IndicationCounter, 7,    "DA",         0x020719},
    {"qh",  R::PowerfailTime,     40,   "RA",         0x000028},
    {"kbf", R::PowerfailTime,     40,   "RA",         0x00FA0128},
    {"qh",  R::ErrorValue,        -5,   "PA",         0xFFFFFFFB},
    {"qh",  R::BitWidth,          20,   "DA",         0x020114},
    {"qh",  R::JitterWindow,      77,   "MA",         0x03BC4D},
    {"qh",  R::UARTCounter,       9,    "ZA",         0x068309},
    {"qh",  R::OutputCode,        0,    "DA",         0x000119},
    {"qh",  R::Measurement,       2,    "DA",         0x0A0119},
};
// clang-format on

TEST(EditorWrites, EachIsConfirmedAndReadsBackAsWritten) {
    for (const EditorWrite& w : EditorWrites) {
        SCOPED_TRACE(std::string(w.preset) + " " + TSSICom::RegisterKey(w.reg));
        ProgramLink link(w.preset);
        EXPECT_TRUE(link.write(w.reg, w.value));
        EXPECT_EQ(link.sensor.word(w.word), w.rawWord);
        EXPECT_NE(link.sensor.bank(Bank::Eeprom).words.at(w.word), w.rawWord);
        EXPECT_EQ(link.readBack(w.reg), w.value);
    }
}

// The commit command follows the firmware: CN on the QH, EN on the old 3960100.
TEST(EditorWrites, CommittedWriteSurvivesAReloadAndALaterOneIsLost) {
    for (const char* preset : {"qh", "old"}) {
        SCOPED_TRACE(preset);
        ProgramLink link(preset);
        ASSERT_TRUE(link.write(R::BitWidth, 20));
        link.com.Commit();
        ASSERT_TRUE(link.write(R::ErrorValue, -5));

        ProgramLink restarted(preset);
        ASSERT_TRUE(restarted.sensor.loadState(link.sensor.saveState()));
        EXPECT_EQ(restarted.readBack(R::BitWidth), 20);
        EXPECT_EQ(restarted.readBack(R::ErrorValue), 0);
    }
}

}  // namespace
