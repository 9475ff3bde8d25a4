#include <QGridLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "app/MainControls.h"
#include "app/pages/PageParts.h"
#include "app/pages/Pages.h"

void buildFirmwarePage(QWidget& page, MainControls& ui) {
    ui.LoadFile = makeButton(QStringLiteral("LoadFile"), page);
    ui.UpdateFW = makeButton(QStringLiteral("UpdateFW"), page);
    ui.InfoBox = makeNamed<QListWidget>(QStringLiteral("InfoBox"), page);
    ui.Download = makeNamed<QListWidget>(QStringLiteral("Download"), page);
    ui.DownloadFirmware = makeNamed<QProgressBar>(QStringLiteral("DownloadFirmware"), page);
    ui.DownloadFirmware->setValue(0);

    auto* grid = new QGridLayout(&page);
    grid->addWidget(ui.LoadFile, 0, 0);
    grid->addWidget(ui.UpdateFW, 0, 1);
    grid->addWidget(ui.InfoBox, 1, 0);
    grid->addWidget(ui.Download, 1, 1);
    grid->addWidget(ui.DownloadFirmware, 2, 0, 1, 2);
}
