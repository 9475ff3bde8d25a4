#include <QGridLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "comm/SensorRules.h"
#include "comm/Ssicom.h"
#include "firmware/gui/FirmwarePage.h"
#include "ui/PageNames.h"
#include "ui/controls/FieldColour.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/PageParts.h"

namespace firmware {

void FirmwarePageControls::build(QWidget& page) {
    LoadFile = makeButton(QStringLiteral("LoadFile"), page);
    UpdateFW = makeButton(QStringLiteral("UpdateFW"), page);
    InfoBox = makeNamed<QListWidget>(QStringLiteral("InfoBox"), page);
    Download = makeNamed<QListWidget>(QStringLiteral("Download"), page);
    DownloadFirmware = makeNamed<QProgressBar>(QStringLiteral("DownloadFirmware"), page);
    DownloadFirmware->setValue(0);

    auto* grid = new QGridLayout(&page);
    grid->addWidget(LoadFile, 0, 0);
    grid->addWidget(UpdateFW, 0, 1);
    grid->addWidget(InfoBox, 1, 0);
    grid->addWidget(Download, 1, 1);
    grid->addWidget(DownloadFirmware, 2, 0, 1, 2);
}

FirmwarePage::FirmwarePage(PageControl& pages, TSSICom& sensor) : sensor_(sensor) {
    ui.build(*pages.page(pagenames::Firmware));
}

void FirmwarePage::Refresh() {
    const bool available = rules::HasSampleCycle(sensor_.FirmwareVersionNumber());
    for (QWidget* control :
         {static_cast<QWidget*>(ui.LoadFile), static_cast<QWidget*>(ui.UpdateFW),
          static_cast<QWidget*>(ui.InfoBox), static_cast<QWidget*>(ui.Download)}) {
        control->setEnabled(available);
    }
    const FieldColour listColour = available ? FieldColour::White : FieldColour::ButtonFace;
    paintField(*ui.InfoBox, listColour);
    paintField(*ui.Download, listColour);
}

}  // namespace firmware
