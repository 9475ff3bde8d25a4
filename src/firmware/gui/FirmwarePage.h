#pragma once

class MainState;
class PageControl;
class QListWidget;
class QProgressBar;
class QPushButton;
class QWidget;
class TSSICom;

namespace firmware {

// The controls of the firmware page, named as their objectName.
struct FirmwarePageControls {
    QPushButton* LoadFile = nullptr;
    QPushButton* UpdateFW = nullptr;
    QListWidget* InfoBox = nullptr;
    QListWidget* Download = nullptr;
    QProgressBar* DownloadFirmware = nullptr;

    void build(QWidget& page);
};

// The firmware page: the download works on sensors that have the SSI sample cycle.
class FirmwarePage {
public:
    FirmwarePage(PageControl& pages, TSSICom& sensor);

    FirmwarePageControls ui;

    // The page's share of the refresh: enables the page by the sensor's firmware.
    void Refresh();

private:
    TSSICom& sensor_;
};

}  // namespace firmware
