#include "station/Apply.h"

#include <gtest/gtest.h>

#include <functional>

#include "files/StoredSet.h"
#include "platform/ComPortMap.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"

namespace {

// Applies a file that sets the bit width back to the saved 25 on a sensor that
// now holds 13, and lets a test garble the DA replies of the read-back.
class ApplyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com.OpenDefault(1));
        ASSERT_TRUE(com.ReadParameterSet());
        file = files::FileOfSet(com.Parameters(), "KYR", {2026, 12, 10});
        ASSERT_EQ(sensor.word("DA") & sim::kBitWidthMask, 25u);
        sensor.setWord("DA", (sensor.word("DA") & ~sim::kBitWidthMask) | 13);
        sensor.faults().refuses = [this](const std::string& line) {
            wrote = wrote || line.rfind("DN", 0) == 0;
            // The read-back begins with the firmware version, after the write.
            verifying = verifying || (wrote && line == "VA");
            verifyReads += verifying && line == "DA" ? 1 : 0;
            return refuseDa && line.rfind("DN", 0) == 0;
        };
        sensor.faults().tamperReply = [this](const std::string& command, std::string& wire) {
            if (verifying && command == "DA" && garble) {
                const uint32_t word = TSSICom::HexToInt(wire.substr(0, 6));
                if (const auto bitWidth = garble(verifyReads))
                    wire = TSSICom::ToHex((word & ~sim::kBitWidthMask) | *bitWidth, 6) + "\r";
            }
        };
    }

    const station::Check* check(TSSICom::RegisterIndex r, const station::ApplyResult& result) {
        for (const station::Check& c : result.checks) {
            if (c.reg == r)
                return &c;
        }
        return nullptr;
    }

    sim::SimulatedSensor sensor{*sim::presetConfig("qh")};
    platform::VirtualClock clock;
    sim::InProcessBackend backend{sensor, clock};
    platform::ComPortMap ports;
    TSSICom com{backend, clock, ports};
    files::ParameterFile file;
    bool wrote = false;
    bool verifying = false;
    int verifyReads = 0;
    bool refuseDa = false;
    // The bit width that the n-th DA reply of the read-back shows instead, if any.
    std::function<std::optional<uint32_t>(int)> garble;
};

// The DA word is read once per register of it: eight times in each set read.
constexpr int DaReadsPerSet = 8;

TEST_F(ApplyTest, CleanApplyWritesAndConfirmsEveryRegisterTheLoadWrites) {
    const station::ApplyResult result = station::Apply(com, file, true);

    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.committed);
    EXPECT_EQ(sensor.commitCount("CN") + sensor.commitCount("EN"), 1);
    EXPECT_EQ(sensor.word("DA") & sim::kBitWidthMask, 25u);
    ASSERT_NE(check(TSSICom::BitWidth, result), nullptr);
    EXPECT_EQ(check(TSSICom::BitWidth, result)->found, 25);
    // Registers the set write leaves alone are not compared.
    EXPECT_EQ(check(TSSICom::FactoryNumber, result), nullptr);
    EXPECT_EQ(check(TSSICom::FirmwareVersion, result), nullptr);
    EXPECT_EQ(check(TSSICom::SSISampleTime, result), nullptr);
    // Registers 0 to 28 less those three and the linearization flags, which this firmware's
    // short RA word does not answer.
    EXPECT_EQ(check(TSSICom::LinearizationFlags, result), nullptr);
    EXPECT_EQ(result.checks.size(), 25u);
    EXPECT_EQ(verifyReads, 2 * DaReadsPerSet);
}

TEST_F(ApplyTest, ReadBackTrustsAValueOnlyWhenTwoReadsInARowAgree) {
    const auto firstPass = [](uint32_t shown) {
        return [shown](int n) { return n <= DaReadsPerSet ? std::optional(shown) : std::nullopt; };
    };
    const struct {
        const char* name;
        bool refuseWrite;
        std::function<std::optional<uint32_t>(int)> garble;
        bool ok;
        std::optional<int32_t> found;
        int daReads;
    } cases[] = {
        {"a wrong first read is read again", false, firstPass(7), true, 25, 2 * DaReadsPerSet + 1},
        {"a refused write garbled into the wanted value", true, firstPass(25), false, 13,
         2 * DaReadsPerSet + 1},
        {"reads that never agree", false, [](int n) { return std::optional(uint32_t(n)); }, false,
         std::nullopt, 2 * DaReadsPerSet + station::VerifyRereads},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        sensor.setWord("DA", (sensor.word("DA") & ~sim::kBitWidthMask) | 13);
        wrote = verifying = false;
        verifyReads = 0;
        refuseDa = c.refuseWrite;
        garble = c.garble;

        const station::ApplyResult result = station::Apply(com, file, false);

        EXPECT_EQ(result.ok(), c.ok);
        ASSERT_NE(check(TSSICom::BitWidth, result), nullptr);
        EXPECT_EQ(check(TSSICom::BitWidth, result)->wanted, 25);
        EXPECT_EQ(check(TSSICom::BitWidth, result)->found, c.found);
        EXPECT_EQ(verifyReads, c.daReads);
        const auto mismatches = result.mismatches();
        EXPECT_EQ(mismatches.size(), c.ok ? 0u : 1u);
    }
}

}  // namespace
