#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ScriptedDialogs.h"
#include "ui/MainState.h"
#include "ui/Texts.h"

namespace {

class MainStateTest : public testing::Test {
protected:
    ScriptedDialogs dialogs;
    MainState state{dialogs};
    std::vector<std::string> calls;
    std::vector<SensorOperation> recorded;

    void SetUp() override {
        state.Connect({
            .showParametersChanged =
                [this](bool changed) { calls.push_back(changed ? "changed" : "unchanged"); },
            .refreshView = [this] { calls.push_back("refresh"); },
            .applyLanguage = [this] { calls.push_back("language"); },
            .stopPolling = [this] { calls.push_back("stop"); },
            .startPolling = [this] { calls.push_back("start"); },
            .pollAtConnectedPace = [this] { calls.push_back("pace"); },
            .showNotConnected = [this] { calls.push_back("not connected"); },
            .record = [this](const SensorOperation& operation) { recorded.push_back(operation); },
        });
    }
};

TEST_F(MainStateTest, NestedPausesStopThePollOnceAndRestartItAfterTheOutermost) {
    {
        auto outer = state.PausePolling();
        {
            auto inner = state.PausePolling();
            EXPECT_EQ(calls, std::vector<std::string>{"stop"});
        }
        EXPECT_EQ(calls, std::vector<std::string>{"stop"});
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"stop", "start"}));
}

TEST_F(MainStateTest, AFailedWriteSaysSoClearsTheMarkAndTakesTheSensorOffline) {
    state.SensorOnline = true;
    state.WriteOutcome(true);
    EXPECT_TRUE(state.ParametersChanged);

    state.UiLanguage = 1;
    state.WriteOutcome(false);
    EXPECT_FALSE(state.ParametersChanged);
    EXPECT_FALSE(state.SensorOnline);
    EXPECT_EQ(calls, (std::vector<std::string>{"changed", "unchanged"}));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Kommunikationsfehler"));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Fehler"));
}

TEST_F(MainStateTest, TheHistoryHearsOfAFailureWithTheTextTheUserSaw) {
    state.UiLanguage = 1;
    state.RecordOutcome(history::Operation::Write, false, messages::communicationError(),
                        "BitWidth");
    state.RecordOutcome(history::Operation::LinWrite, true, messages::communicationError(), "210",
                        SensorOperation::Kept::SetAndTable);
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[0].operation, history::Operation::Write);
    EXPECT_FALSE(recorded[0].ok);
    EXPECT_EQ(recorded[0].message, QStringLiteral("Kommunikationsfehler"));
    EXPECT_EQ(recorded[0].subject, "BitWidth");
    EXPECT_TRUE(recorded[1].ok);
    EXPECT_TRUE(recorded[1].message.isEmpty());
    EXPECT_EQ(recorded[1].kept, SensorOperation::Kept::SetAndTable);
    EXPECT_TRUE(dialogs.messages.empty()) << "recording shows nothing";
}

}  // namespace
