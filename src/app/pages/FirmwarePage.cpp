#include <QGridLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "app/MainControls.h"
#include "app/pages/PageParts.h"
#include "app/pages/Pages.h"

namespace {

QListWidget* makeList(const QString& name, QWidget& page) {
    auto* list = new QListWidget(&page);
    list->setObjectName(name);
    return list;
}

}  // namespace

void buildFirmwarePage(QWidget& page, MainControls& ui) {
    ui.LoadFile = makeButton(QStringLiteral("LoadFile"), page);
    ui.UpdateFW = makeButton(QStringLiteral("UpdateFW"), page);
    ui.InfoBox = makeList(QStringLiteral("InfoBox"), page);
    ui.Download = makeList(QStringLiteral("Download"), page);
    ui.DownloadFirmware = new QProgressBar(&page);
    ui.DownloadFirmware->setObjectName(QStringLiteral("DownloadFirmware"));
    ui.DownloadFirmware->setValue(0);

    auto* grid = new QGridLayout(&page);
    grid->addWidget(ui.LoadFile, 0, 0);
    grid->addWidget(ui.UpdateFW, 0, 1);
    grid->addWidget(ui.InfoBox, 1, 0);
    grid->addWidget(ui.Download, 1, 1);
    grid->addWidget(ui.DownloadFirmware, 2, 0, 1, 2);
}
