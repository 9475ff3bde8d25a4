#include <gtest/gtest.h>

#include "comm/SimLink.h"

using Kind = sim::TrafficEntry::Kind;

TEST(SerialPort, PortZeroAndUnmappedPortsFailButAreRecorded) {
    SimLink link({}, 0);
    EXPECT_FALSE(link.com.IsOpen());
    EXPECT_EQ(link.com.PortNumber(), 0);
    EXPECT_FALSE(link.com.OpenDefault(99));
    EXPECT_EQ(link.com.PortNumber(), 99);
    EXPECT_TRUE(link.com.OpenDefault(1));
    EXPECT_EQ(link.backend.baudRate(), 4800);
    EXPECT_EQ(link.backend.timeoutMs(), 50);
    EXPECT_TRUE(link.com.Open(1, 38400, 2000)) << "reopening an open port closes it first";
    EXPECT_EQ(link.backend.baudRate(), 38400);
    link.com.Close();
    EXPECT_TRUE(link.com.Probe(1));
    EXPECT_FALSE(link.com.IsOpen()) << "a probe opens nothing";
    link.backend.busy = true;
    EXPECT_FALSE(link.com.Probe(1));
}

TEST(SerialPort, ClosedPortFailsAtOnce) {
    SimLink link;
    link.com.Close();
    uint8_t byte = 0;
    size_t received = 7;
    EXPECT_FALSE(link.com.Purge());
    EXPECT_FALSE(link.com.SetRts());
    EXPECT_FALSE(link.com.ClearRts());
    EXPECT_FALSE(link.com.WriteBytes(&byte, 1));
    EXPECT_FALSE(link.com.ReadBytes(&byte, 1, received));
    EXPECT_EQ(received, 0u);
    EXPECT_FALSE(link.com.SendCommand("DA"));
    EXPECT_EQ(link.clock.now(), 0);
    EXPECT_TRUE(link.sensor.traffic().empty());
}

TEST(SerialPort, PurgePausesAndShortReadReportsCount) {
    SimLink link;
    EXPECT_TRUE(link.com.Purge());
    EXPECT_EQ(link.clock.now(), 10);
    const uint8_t command[] = {'D', 'A', '\r'};
    ASSERT_TRUE(link.com.WriteBytes(command, sizeof command));
    uint8_t reply[8];
    size_t received = 0;
    const int64_t start = link.clock.now();
    EXPECT_FALSE(link.com.ReadBytes(reply, 8, received));
    EXPECT_EQ(received, 7u);
    EXPECT_FALSE(link.com.ReadRequestFailed());
    EXPECT_EQ(link.elapsedSince(start), 50);
}

TEST(CommandExchange, CommandIsFramedAndPaused) {
    SimLink link;
    ASSERT_TRUE(link.com.SendCommand("XA00C800"));
    EXPECT_EQ(link.commands(), std::vector<std::string>{"XA00C800"});
    EXPECT_EQ(link.elapsedSince(link.lastCommandTime()), 25) << "10 ms purge + 15 ms";
    const uint8_t raw[] = {'V', 'A', '\r'};
    EXPECT_TRUE(link.com.SendRaw(raw, 2));
    EXPECT_EQ(link.commands().size(), 1u) << "no carriage return added";
    EXPECT_TRUE(link.com.SendRaw(raw + 2, 1));
    ASSERT_TRUE(link.com.EnterBootloader());
    EXPECT_EQ(link.commands(), (std::vector<std::string>{"XA00C800", "VA", "BN", ""}));
    EXPECT_EQ(link.sensor.mode(), sim::SensorMode::Bootloader);
}

TEST(CommandExchange, ReceiveReplyRejectsBrokenFrames) {
    std::string target = "old";
    SimLink shortReply;
    shortReply.com.SendCommand("DA");
    EXPECT_FALSE(shortReply.com.ReceiveReply(8, target));
    EXPECT_EQ(target, "");

    for (int fault = 0; fault < 2; ++fault) {
        SimLink link;
        (fault == 0 ? link.sensor.faults().zeroByteEveryNthReply
                    : link.sensor.faults().missingCrEveryNthReply) = 1;
        link.com.SendCommand("DA");
        target = "old";
        EXPECT_FALSE(link.com.ReceiveReply(7, target)) << fault;
        EXPECT_EQ(target, "") << fault;
        EXPECT_FALSE(link.com.ReadRegister(TSSICom::BitWidth));
        EXPECT_EQ(link.commands().size(), 6u) << "the failed attempt is repeated";
    }
    SimLink good;
    good.com.SendCommand("VA");
    EXPECT_TRUE(good.com.ReceiveReply(7, target));
    EXPECT_EQ(target, "3C6D29");
}

// A byte left over from an earlier reply shifts the bytes read, so that the reply's carriage
// return is still to come: it is read and dropped, and the next reply is read whole.
TEST(CommandExchange, AShiftedReplyFailsAndTheNextIsReadWhole) {
    SimLink link;
    link.sensor.faults().tamperReply = [](const std::string&, std::string& wire) {
        wire = "9\r" + wire + wire;
    };
    link.com.SendCommand("DA");
    std::string target;
    EXPECT_FALSE(link.com.ReceiveReply(7, target));
    EXPECT_TRUE(link.com.ReceiveReply(7, target));
    EXPECT_EQ(target, "020119");
}

// A command cut off by an unplugged adapter never runs together with the next
// one: DN0201 and DA would make DN0201DA, a write the sensor carries out. What
// the sensor answers to a cut command that lacked only its carriage return is
// not taken for the reply to the next one.
TEST(CommandExchange, ACommandCutOffIsEndedOnItsOwnLine) {
    const struct {
        const char* command;
        int64_t unpluggedFromMs;  // bytes arrive every 2.08 ms
        TSSICom::RegisterIndex next;
        int32_t nextValue;
    } cases[] = {{"DN020118", 14, TSSICom::BitWidth, 25},
                 {"KA", 6, TSSICom::FirmwareVersion, 3960105}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        SimLink link;
        link.backend.unplugBetween(c.unpluggedFromMs, 200);
        EXPECT_FALSE(link.com.SendCommand(c.command));
        link.clock.advanceTo(200);
        ASSERT_TRUE(link.com.ReadRegister(c.next));
        EXPECT_EQ(link.com[c.next].Value, c.nextValue);
        EXPECT_EQ(link.sensor.word("DA"), 0x020119u);
        const std::string cut = std::string(c.command).substr(0, 6);
        EXPECT_EQ(link.commands(), (std::vector<std::string>{cut, link.com[c.next].ReadCommand}));
        EXPECT_EQ(link.commandTimes()[1] - link.commandTimes()[0], 100 + 10 + 7)
            << "the answer to the cut command is let pass and purged";

        const int64_t start = link.clock.now();
        ASSERT_TRUE(link.com.SendCommand("FA"));
        EXPECT_EQ(link.commandTimes().back() - start, 7) << "nothing more before a command";
    }
}

TEST(WakeUp, RtsPulseThenThirtyFiveProgLines) {
    SimLink link(configWith([](auto& c) { c.startsAwake = false; }));
    ASSERT_TRUE(link.com.WakeSensor());
    std::vector<int64_t> rts;
    std::vector<int64_t> lines;
    for (const sim::TrafficEntry& e : link.sensor.traffic()) {
        (e.kind == Kind::Rts ? rts : lines).push_back(e.timeMs);
    }
    ASSERT_EQ(rts.size(), 2u);
    EXPECT_EQ(rts[1] - rts[0], 100);
    EXPECT_EQ(link.entries(Kind::Command), std::vector<std::string>(35, "PROG"));
    EXPECT_EQ(lines[1] - lines[0], 11 + 20) << "wire time of five bytes, then 20 ms";
    EXPECT_TRUE(link.sensor.awake());
    link.com.Close();
    EXPECT_FALSE(link.com.WakeSensor());
}

TEST(PortCheck, TimeOutIsFineAndFailedRequestReopens) {
    SimLink link;
    link.sensor.faults().silent = true;
    EXPECT_TRUE(link.com.CheckPort());
    EXPECT_EQ(link.clock.now(), 50);
    ASSERT_TRUE(link.com.Open(1, 38400, 1000));
    EXPECT_TRUE(link.com.CheckPort());
    EXPECT_EQ(link.backend.baudRate(), 38400) << "a time-out does not reopen the port";
    link.backend.unplug();
    EXPECT_FALSE(link.com.CheckPort());
    EXPECT_FALSE(link.com.IsOpen());
    link.backend.plugIn();
    EXPECT_TRUE(link.com.CheckPort());
    EXPECT_TRUE(link.com.IsOpen());
    EXPECT_EQ(link.com.PortNumber(), 1);
}

TEST(DemoPort, NoTrafficAndEveryExchangeSucceeds) {
    SimLink link({}, 0);
    link.com.LoadDemoSet();
    std::string reply = "kept";
    EXPECT_TRUE(link.com.SendCommand("DA"));
    EXPECT_TRUE(link.com.ReceiveReply(7, reply));
    EXPECT_EQ(reply, "kept");
    EXPECT_TRUE(link.com.ReadRegister(TSSICom::BitWidth));
    EXPECT_EQ(link.com[TSSICom::BitWidth].Value, 25);
    EXPECT_EQ(link.com[TSSICom::BitWidth].Answered, 1);
    EXPECT_TRUE(link.com.ReadRegister(TSSICom::FirmwareVersion));
    EXPECT_EQ(link.com[TSSICom::FirmwareVersion].Reply, "3C6D28");
    link.com[TSSICom::Blanking].Reply = "00000010";
    EXPECT_TRUE(link.com.ReadRegister(TSSICom::Blanking));
    EXPECT_EQ(link.com[TSSICom::Blanking].Value, 16) << "decodes the stored reply";
    for (const auto r : {TSSICom::Direction, TSSICom::Length, TSSICom::Blanking,
                         TSSICom::LinStartValue, TSSICom::Offset, TSSICom::SecErrorValue}) {
        link.com[r].Value = 1;
        EXPECT_TRUE(link.com.WriteRegister(r)) << TSSICom::RegisterKey(r);
        EXPECT_EQ(link.com[r].Value, 1) << TSSICom::RegisterKey(r);
    }
    EXPECT_TRUE(link.com.TeachEndPoint(TSSICom::SetEndPointArg));
    EXPECT_FALSE(link.com.CheckPort()) << "port 0 cannot be reopened";
    EXPECT_TRUE(link.sensor.traffic().empty());
}
