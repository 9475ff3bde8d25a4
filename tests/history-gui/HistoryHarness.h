#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <memory>
#include <string>
#include <vector>

#include "history/HistoryStore.h"
#include "history/Location.h"
#include "history/Recorder.h"
#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "support/TempHome.h"

namespace historytest {

inline const history::Origin TestOrigin{"varnel", "5.3.6.2", "tester"};

// A main window on a simulated sensor (COM1) that records into a real SQLite
// history in a temporary folder.
class HistoryTest : public testing::Test {
public:
    std::string databasePath() const {
        return QDir(home.path()).filePath(QStringLiteral("history.sqlite")).toStdString();
    }

    TMainForm& connect(const sim::SensorConfig& config = {}, uint8_t language = kUiEnglish) {
        harness = std::make_unique<FormHarness>(config);
        harness->historyStore = store.get();
        harness->recorder = recorder.get();
        form = &harness->create();
        form->State.UiLanguage = language;
        form->OpenSensorLink(1);
        form->IdleFunction();
        EXPECT_TRUE(form->State.SensorOnline);
        harness->sensor.clearTraffic();
        return *form;
    }

    // Every event of the history, newest first.
    std::vector<history::Event> events() const {
        const auto all = store->events({});
        EXPECT_TRUE(all) << store->lastError();
        return all ? *all : std::vector<history::Event>{};
    }

    // The commands the sensor received since the traffic was last cleared.
    std::vector<std::string> commands() const {
        std::vector<std::string> sent;
        for (const auto& entry : harness->sensor.traffic()) {
            if (entry.kind == sim::TrafficEntry::Kind::Command)
                sent.push_back(entry.text);
        }
        return sent;
    }

    TempHome home;
    std::unique_ptr<history::HistoryStore> store = history::OpenStore(databasePath());
    std::unique_ptr<history::Recorder> recorder =
        std::make_unique<history::Recorder>(store.get(), TestOrigin);
    std::unique_ptr<FormHarness> harness;
    TMainForm* form = nullptr;
};

}  // namespace historytest
