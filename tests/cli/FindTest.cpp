#include <gtest/gtest.h>

#include <sstream>

#include "cli/PortCommands.h"
#include "platform/ComPortMap.h"
#include "platform/TermiosSerialBackend.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"
#include "support/NullSerialBackend.h"
#include "support/SwitchedBackend.h"

namespace {

using sim::TrafficEntry;

std::vector<std::string> commandsOf(const sim::SimulatedSensor& sensor) {
    std::vector<std::string> sent;
    for (const TrafficEntry& e : sensor.traffic()) {
        if (e.kind == TrafficEntry::Kind::Command)
            sent.push_back(e.text);
    }
    return sent;
}

// A device this account may not open, as the system refuses it.
class RefusingBackend final : public NullSerialBackend {
public:
    bool open(const std::string& devicePath, int, int) override {
        error_ = {EACCES, platform::openFailure(devicePath, EACCES)};
        return false;
    }
};

// A KBF sensor on COM1, a silent one on COM2, and COM3 whose device is missing.
class FindTest : public ::testing::Test {
protected:
    FindTest() : sensor(*sim::presetConfig("kbf")), silent(*sim::presetConfig("qh")) {
        silent.faults().silent = true;
        switched.devices = {{"/dev/ttyUSB0", &answering}, {"/dev/ttyUSB1", &mute}};
    }

    int find(bool json) { return cli::SensorFinder(link, out, err).find(ports, json); }

    platform::VirtualClock clock;
    sim::SimulatedSensor sensor;
    sim::SimulatedSensor silent;
    sim::InProcessBackend answering{sensor, clock, "/dev/ttyUSB0"};
    sim::InProcessBackend mute{silent, clock, "/dev/ttyUSB1"};
    SwitchedBackend switched;
    platform::ComPortMap map;
    TSSICom link{switched, clock, map};
    std::vector<platform::PortEntry> ports{
        {1, "/dev/ttyUSB0"}, {2, "/dev/ttyUSB1"}, {3, "/dev/ttyUSB2"}};
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(FindTest, PrintsOneLinePerPortAndReadsOnly) {
    EXPECT_EQ(find(false), 0) << err.str();
    EXPECT_EQ(out.str(), "COM1\t/dev/ttyUSB0\tsensor " + sensor.factoryNumber() +
                             "\tK-Series SSI (KBF)\n"
                             "COM2\t/dev/ttyUSB1\tno sensor\n"
                             "COM3\t/dev/ttyUSB2\t/dev/ttyUSB2: No such file or directory\n");
    EXPECT_EQ(err.str(), "");

    // The poll's presence check, then the model: the factory number and model reads only.
    EXPECT_EQ(commandsOf(sensor), (std::vector<std::string>{"FA", "LA"}));
    // The silent sensor is asked for its factory number with the read's own five attempts.
    EXPECT_EQ(commandsOf(silent), std::vector<std::string>(5, "FA"));
    EXPECT_FALSE(answering.isOpen());
    EXPECT_FALSE(mute.isOpen());
    // Every port was opened at the command link's speed.
    EXPECT_EQ(answering.baudRate(), 4800);
    EXPECT_EQ(mute.baudRate(), 4800);
}

TEST_F(FindTest, JsonGivesOneArray) {
    EXPECT_EQ(find(true), 0);
    EXPECT_EQ(out.str(),
              "[{\"port\": \"COM1\", \"device\": \"/dev/ttyUSB0\", \"result\": \"found\", "
              "\"factoryNumber\": \"" +
                  sensor.factoryNumber() +
                  "\", \"model\": \"K-Series SSI (KBF)\", \"error\": null}, "
                  "{\"port\": \"COM2\", \"device\": \"/dev/ttyUSB1\", \"result\": \"no sensor\", "
                  "\"factoryNumber\": null, \"model\": null, \"error\": null}, "
                  "{\"port\": \"COM3\", \"device\": \"/dev/ttyUSB2\", \"result\": \"not opened\", "
                  "\"factoryNumber\": null, \"model\": null, "
                  "\"error\": \"/dev/ttyUSB2: No such file or directory\"}]\n");
    EXPECT_EQ(
        err.str(),
        "Trying COM1 (/dev/ttyUSB0)\nTrying COM2 (/dev/ttyUSB1)\nTrying COM3 (/dev/ttyUSB2)\n");
}

TEST_F(FindTest, APortThisAccountMayNotOpenSaysToJoinDialout) {
    RefusingBackend refusing;
    switched.devices["/dev/ttyUSB3"] = &refusing;
    ports = {{4, "/dev/ttyUSB3"}};
    EXPECT_EQ(find(false), 1);
    EXPECT_EQ(out.str(),
              "COM4\t/dev/ttyUSB3\tCannot open /dev/ttyUSB3: Permission denied. The user "
              "account must be in the 'dialout' group (sudo usermod -aG dialout $USER, "
              "then log in again).\n");
}

TEST_F(FindTest, NoSensorAnywhereFails) {
    ports.erase(ports.begin());
    EXPECT_EQ(find(false), 1);
    EXPECT_EQ(err.str(), "No sensor answered on any of the 2 ports tried\n");
    EXPECT_TRUE(commandsOf(sensor).empty());
}

TEST(PortsOutput, DescribedPortsGetTheirColumns) {
    const platform::PortEntry port{1, "/dev/ttyUSB0"};
    const platform::PortDescription described{"/dev/ttyUSB0",
                                              "/dev/serial/by-id/usb-FTDI_X-if00-port0",
                                              "0403",
                                              "6001",
                                              "FTDI",
                                              "FT232R \"USB\" UART",
                                              "",
                                              "ftdi_sio"};
    EXPECT_EQ(cli::PortLine(port, described),
              "COM1\t/dev/ttyUSB0\t/dev/serial/by-id/usb-FTDI_X-if00-port0\t0403:6001\tFTDI\t"
              "FT232R \"USB\" UART\t-\tftdi_sio");
    EXPECT_EQ(cli::PortJson(port, described),
              "{\"port\": \"COM1\", \"device\": \"/dev/ttyUSB0\", \"byId\": "
              "\"/dev/serial/by-id/usb-FTDI_X-if00-port0\", \"vendorId\": \"0403\", "
              "\"productId\": \"6001\", \"vendor\": \"FTDI\", \"product\": "
              "\"FT232R \\\"USB\\\" UART\", \"serial\": null, \"driver\": \"ftdi_sio\"}");

    const platform::PortEntry sim{7, "/tmp/ttySIM"};
    platform::PortDescription unknown;
    unknown.devicePath = "/tmp/ttySIM";
    EXPECT_EQ(cli::PortLine(sim, unknown), "COM7\t/tmp/ttySIM");
    EXPECT_EQ(cli::PortJson(sim, unknown),
              "{\"port\": \"COM7\", \"device\": \"/tmp/ttySIM\", \"byId\": null, \"vendorId\": "
              "null, \"productId\": null, \"vendor\": null, \"product\": null, \"serial\": null, "
              "\"driver\": null}");
}

}  // namespace
