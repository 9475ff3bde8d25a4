#pragma once

#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "ui/controls/LabeledEdit.h"

namespace editortest {

using sim::TrafficEntry;
using Words = std::map<std::string, uint32_t>;

inline sim::SensorConfig Model(const char* letters) {
    sim::SensorConfig config;
    config.model = letters;
    return config;
}

inline sim::SensorConfig Firmware(int version, Words words = {}) {
    sim::SensorConfig config;
    config.firmwareVersion = version;
    config.words = std::move(words);
    return config;
}

inline sim::SensorConfig WithWords(Words words) {
    sim::SensorConfig config;
    config.words = std::move(words);
    return config;
}

// A main window on COM1 that has found the simulated sensor and shows its set.
// The tests type into the fields, click the controls and leave the fields, and
// look at what went over the wire and what the sensor holds afterwards.
class EditorsTest : public testing::Test {
protected:
    void connect(sim::SensorConfig config = {}) {
        harness = std::make_unique<FormHarness>(config);
        form = &harness->create();
        form->OpenSensorLink(1);
        form->IdleFunction();
        ASSERT_TRUE(form->State.SensorOnline);
        harness->sensor.clearTraffic();
        harness->dialogs.messages.clear();
    }

    params::PageControls& ui() { return form->Parameters->ui; }
    std::vector<std::string> commands() const {
        std::vector<std::string> sent;
        for (const auto& entry : harness->sensor.traffic()) {
            if (entry.kind == TrafficEntry::Kind::Command)
                sent.push_back(entry.text);
        }
        return sent;
    }
    int count(const std::string& prefix) const {
        int found = 0;
        for (const auto& command : commands())
            found += command.rfind(prefix, 0) == 0 ? 1 : 0;
        return found;
    }
    uint32_t word(const std::string& read) const { return harness->sensor.word(read); }
    void type(LabeledEdit& edit, const char* keys) {
        edit.field().clear();
        QTest::keyClicks(&edit.field(), QString::fromLatin1(keys));
    }
    void leave(LabeledEdit& edit) {
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(&edit.field(), &focusOut);
    }
    QString onlyMessage() const {
        EXPECT_EQ(harness->dialogs.messages.size(), 1u);
        return harness->dialogs.messages.empty() ? QString()
                                                 : harness->dialogs.messages.back().text;
    }

    TempHome home;
    std::unique_ptr<FormHarness> harness;
    TMainForm* form = nullptr;
};

}  // namespace editortest
