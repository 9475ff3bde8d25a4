#pragma once

#include <QString>
#include <optional>
#include <string>

#include "firmware/FirmwareImage.h"
#include "firmware/Messages.h"
#include "firmware/Target.h"

class MainState;
class PageControl;
class QListWidget;
class QProgressBar;
class QPushButton;
class QWidget;
class TSSICom;
struct MessagePair;
namespace platform {
class Clock;
}

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

// The firmware page: loads an Intel HEX file for the microcontroller that the
// bootloader names and downloads it page by page. It works on sensors that
// have the SSI sample cycle.
class FirmwarePage {
public:
    FirmwarePage(PageControl& pages, MainState& state, TSSICom& sensor, platform::Clock& clock);

    FirmwarePageControls ui;
    bool BootloaderConnected = false;

    // The page's share of the refresh: enables the page by the sensor's firmware.
    void Refresh();
    void LoadFileClick();
    void UpdateFWClick();
    // The File menu's command while no sensor answers: load, ask, download.
    void FirmwareUpdateClick();

    const FirmwareImage& Image() const { return image_; }
    const TargetDescription& Target() const { return target_; }

private:
    // True when an image that fits the application area is loaded.
    bool loadForDownload();
    // False when the load ends before the image is complete.
    bool loadImageFile();
    void identify();
    bool parse(const std::string& text);
    void showInfo();
    void finishDownload(const std::optional<Message>& result);
    void show(const MessagePair& message);
    void addDownloadLine(const std::string& line);
    void replaceLastDownloadLine(const std::string& line);
    void setGauge(int value);

    PageControl& pages_;
    MainState& state_;
    TSSICom& sensor_;
    platform::Clock& clock_;
    TargetDescription target_;
    FirmwareImage image_;
    QString identifiedFactoryNumber_;  // of the sensor the target was identified on
    std::string imagePath_;            // of the image loaded last
};

}  // namespace firmware
