#include "testmode/gui/SensorTest.h"

#include <QCoreApplication>
#include <memory>

#include "testmode/SensorTestLink.h"
#include "testmode/gui/TestTexts.h"
#include "testmode/gui/Testsensor.h"
#include "ui/MainState.h"
#include "ui/PairedMessage.h"
#include "ui/WaitCursor.h"

namespace testmode {

SensorTest::SensorTest(MainState& state, TSSICom& sensor, QPixmap logo)
    : state_(state), sensor_(sensor), logo_(std::move(logo)) {}

void SensorTest::TestSensorClick() {
    const MainState::PollPause pause = state_.PausePolling();
    SensorTestLink link(sensor_);
    auto dialog = std::make_unique<TSensorTestDlg>(state_.UiLanguage, link.HalfMicrometres(), logo_,
                                                   state_.dialogs());
    dialog->SetWireBlocksPerSecond(link.WireBlocksPerSecond());
    if (link.NeedsWarning()) {
        ShowPairedMessage(state_.dialogs(), state_.UiLanguage, testtexts::disconnectWarning());
    }
    dialog->show();
    QCoreApplication::processEvents();
    if (onShown) {
        onShown(*dialog);
    }
    {
        const WaitCursor wait;
        link.Enter();
        state_.ClearParametersChanged();
    }
    // A port that stopped working is not read again: the window waits for Quit.
    bool portLost = false;
    while (dialog->TestRunning) {
        if (portLost) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            continue;
        }
        if (const auto reading = link.ReadBlock()) {
            dialog->AddReading(*reading);
        } else if (sensor_.ReadRequestFailed()) {
            portLost = true;
            dialog->StreamEnded();
        }
        dialog->RedrawIfDue();
        QCoreApplication::processEvents();
    }
    const bool returned = link.ReturnToCommandLink();
    dialog.reset();
    // A sensor that could not be told to leave test mode may still be in it.
    if (!link.RestoreMeasurement() || !returned || portLost) {
        state_.WriteOutcome(false);
    }
}

}  // namespace testmode
