#pragma once

#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "support/TempHome.h"
#include "ui/controls/LabeledEdit.h"

namespace lintest {

// A main window at the developer level that has found the simulated sensor and
// shows its set; the traffic of the start is cleared.
class LinPageTest : public testing::Test {
protected:
    void connect(sim::SensorConfig config = {}, uint8_t language = 0) {
        harness = std::make_unique<FormHarness>(config);
        form = &harness->create();
        form->State.UiLanguage = language;
        form->SetAccessLevel(TAccessLevel::Developer);
        form->OpenSensorLink(1);
        form->IdleFunction();
        ASSERT_TRUE(form->State.SensorOnline);
        harness->sensor.clearTraffic();
        harness->dialogs.messages.clear();
    }

    linearization::LinPageControls& ui() { return form->Linearization->ui; }
    linearization::LinPage& page() { return *form->Linearization; }
    std::vector<std::string> commands() const {
        std::vector<std::string> sent;
        for (const auto& entry : harness->sensor.traffic()) {
            if (entry.kind == sim::TrafficEntry::Kind::Command)
                sent.push_back(entry.text);
        }
        return sent;
    }
    int count(const std::string& prefix) const {
        int found = 0;
        for (const auto& command : commands())
            found += command.starts_with(prefix) ? 1 : 0;
        return found;
    }
    void type(LabeledEdit& edit, const char* keys) {
        edit.field().clear();
        QTest::keyClicks(&edit.field(), QString::fromLatin1(keys));
    }
    void leave(LabeledEdit& edit) {
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(&edit.field(), &focusOut);
    }
    // The text and the caption of the one message shown.
    std::pair<QString, QString> onlyMessage() const {
        EXPECT_EQ(harness->dialogs.messages.size(), 1u);
        if (harness->dialogs.messages.empty())
            return {};
        const Message& shown = harness->dialogs.messages.back();
        return {shown.text, shown.caption};
    }

    TempHome home;
    std::unique_ptr<FormHarness> harness;
    TMainForm* form = nullptr;
};

}  // namespace lintest
