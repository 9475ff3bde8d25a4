#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "comm/SimLink.h"
#include "history/Event.h"
#include "history/Location.h"
#include "history/Recorder.h"

namespace {

using history::Event;
using history::Operation;

TEST(HistoryEventTest, OperationsAreNamedBothWays) {
    const std::pair<Operation, const char*> names[] = {
        {Operation::Read, "read"},
        {Operation::Write, "write"},
        {Operation::Load, "load"},
        {Operation::Commit, "commit"},
        {Operation::LinWrite, "lin-write"},
        {Operation::FactoryRestore, "factory-restore"},
        {Operation::FirmwareDownload, "firmware"}};
    for (const auto& [operation, name] : names) {
        EXPECT_STREQ(history::OperationName(operation), name);
        EXPECT_EQ(history::OperationFromName(name), operation);
    }
    EXPECT_FALSE(history::OperationFromName("Read").has_value());
    EXPECT_FALSE(history::OperationFromName("").has_value());
}

TEST(HistoryEventTest, AnEventsSetHasItsValuesFlagsFactoryNumberAndTable) {
    Event event;
    event.factoryNumber = "20815001";
    history::RegisterValues registers;
    for (size_t i = 0; i < registers.size(); ++i)
        registers[i] = {int32_t(i) * 11 - 100, i % 2 == 0};
    event.registers = registers;
    std::vector<uint8_t> table(ParameterSet::LinTableSize);
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = uint8_t(255 - i);
    event.linTable = table;

    const ParameterSet set = history::SetOf(event);
    for (size_t i = 0; i < registers.size(); ++i) {
        EXPECT_EQ(set.ParameterStruct[i].Value, registers[i].value) << i;
        EXPECT_EQ(set.ParameterStruct[i].Answered, registers[i].answered ? 1 : 0) << i;
    }
    EXPECT_EQ(set[ParameterSet::FactoryNumber].Reply, "20815001");
    EXPECT_TRUE(std::equal(table.begin(), table.end(), set.LinTableImage.begin()));
    EXPECT_EQ(history::CaptureRegisters(set), registers);
    // The register table's commands stay those of a fresh set.
    EXPECT_EQ(set[ParameterSet::BitWidth].ReadCommand,
              ParameterSet()[ParameterSet::BitWidth].ReadCommand);

    event.registers.reset();
    const ParameterSet empty = history::SetOf(event);
    EXPECT_EQ(empty.ParameterStruct, ParameterSet().ParameterStruct);
    EXPECT_EQ(empty.LinTableImage, ParameterSet().LinTableImage);
}

class RecorderTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.com.ReadParameterSet()); }

    SimLink link;
    QTemporaryDir dir;
    std::unique_ptr<history::HistoryStore> store =
        history::OpenStore(dir.filePath("history.sqlite").toStdString());
    history::Recorder recorder{store.get(), {"varnelctl", "5.3.6.2", "tech"}};
};

TEST_F(RecorderTest, AnEventHoldsTheSensorAsItStands) {
    link.com.Parameters().LinTableImage[3] = 0xA5;
    recorder.record(link.com, "/dev/ttyUSB0", Operation::LinWrite, true, {}, "table.lin", true,
                    true);
    recorder.record(link.com, "/dev/ttyUSB0", Operation::Write, false, "Sensor does not answer",
                    "Resolution", false);
    ASSERT_EQ(recorder.missed(), 0u) << recorder.problem();

    const auto events = store->events({});
    ASSERT_TRUE(events.has_value() && events->size() == 2) << store->lastError();
    const auto written = store->event(events->back().id);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->origin.program, "varnelctl");
    EXPECT_EQ(written->origin.account, "tech");
    EXPECT_EQ(written->port, "/dev/ttyUSB0");
    EXPECT_EQ(written->factoryNumber, "10203040");
    EXPECT_EQ(written->firmwareVersion, 3960105);
    EXPECT_EQ(written->operation, Operation::LinWrite);
    EXPECT_EQ(written->subject, "table.lin");
    EXPECT_TRUE(written->ok);
    EXPECT_EQ(written->registers, history::CaptureRegisters(link.com.Parameters()));
    ASSERT_TRUE(written->linTable.has_value());
    EXPECT_EQ((*written->linTable)[3], 0xA5);

    const auto failed = store->event(events->front().id);
    EXPECT_FALSE(failed->ok);
    EXPECT_EQ(failed->message, "Sensor does not answer");
    EXPECT_EQ(failed->subject, "Resolution");
    EXPECT_FALSE(failed->registers.has_value());
    EXPECT_FALSE(failed->linTable.has_value());
}

TEST_F(RecorderTest, AnEventThatNamesItsOriginKeepsIt) {
    Event event;
    event.origin = {"varnel", "5.3.6.1", "other"};
    recorder.record(event);
    EXPECT_EQ(store->events({})->front().origin.program, "varnel");
    EXPECT_EQ(store->events({})->front().origin.account, "other");
}

TEST(RecorderWithoutStoreTest, RecordsNothing) {
    history::Recorder recorder(nullptr, {"varnelctl", "5.3.6.2", "tech"});
    recorder.record(Event{});
    EXPECT_EQ(recorder.missed(), 0u);
    EXPECT_EQ(recorder.problem(), "");
}

}  // namespace
