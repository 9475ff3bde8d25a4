#include "app/Disconnectwarning.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "comm/Ssicom.h"
#include "ui/Dialogs.h"
#include "ui/WaitCursor.h"

TDisconnectWarningForm::TDisconnectWarningForm(TSSICom& sensor, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      sensor_(sensor),
      dialogs_(dialogs) {
    setObjectName(QStringLiteral("DisconnectWarningForm"));
    setWindowTitle(QStringLiteral("Download Parameters to Sensor"));

    auto* label = new QLabel(QStringLiteral(
        "The sensor has been disconnected, but your settings have not been downloaded.\n\n"
        "To update, connect the sensor and press the \"Update\"-Button."));
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    auto* update = new QPushButton(QStringLiteral("&Update"));
    update->setObjectName(QStringLiteral("Update"));
    auto* abort = new QPushButton(QStringLiteral("&Abort"));
    abort->setObjectName(QStringLiteral("Abort"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(update);
    buttons->addWidget(abort);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(buttons);

    connect(update, &QPushButton::clicked, this, &TDisconnectWarningForm::UpdateClick);
    connect(abort, &QPushButton::clicked, this, &TDisconnectWarningForm::AbortClick);
}

void TDisconnectWarningForm::UpdateClick() {
    sensor_.WakeSensor();
    if (!sensor_.ReadRegister(TSSICom::FirmwareVersion)) {
        dialogs_.showMessage({QStringLiteral("Sensor not connected!\n"), QStringLiteral("Error"),
                              MessageButtons::Ok, MessageIcon::Error, 0});
        return;
    }
    {
        WaitCursor hourglass;
        const bool written = sensor_.WriteParameterSet();
        committed_ = sensor_.CommitToEeprom() && written;
    }
    done(UpdatedResult);
}

void TDisconnectWarningForm::AbortClick() {
    done(AbortResult);
}
