#include "firmware/gui/FirmwarePage.h"

#include <QFile>
#include <QGridLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "comm/SensorRules.h"
#include "comm/Ssicom.h"
#include "firmware/Bootloader.h"
#include "firmware/gui/FirmwareTexts.h"
#include "ui/Dialogs.h"
#include "ui/MainState.h"
#include "ui/PageNames.h"
#include "ui/PairedMessage.h"
#include "ui/WaitCursor.h"
#include "ui/controls/FieldColour.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/PageParts.h"

namespace firmware {

namespace {

// The factory number no sensor has: the monitor reads whatever answers next anew.
const QString kForgottenFactoryNumber = QStringLiteral("4294967295");

FileRequest hexFileRequest() {
    return {QString(), QStringLiteral("*.hex"), QString(), QStringLiteral("hex")};
}

}  // namespace

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

FirmwarePage::FirmwarePage(PageControl& pages, MainState& state, TSSICom& sensor,
                           platform::Clock& clock)
    : pages_(pages), state_(state), sensor_(sensor), clock_(clock) {
    ui.build(*pages.page(pagenames::Firmware));
    QObject::connect(ui.LoadFile, &QPushButton::clicked, [this] { LoadFileClick(); });
    QObject::connect(ui.UpdateFW, &QPushButton::clicked, [this] { UpdateFWClick(); });
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

void FirmwarePage::LoadFileClick() {
    loadForDownload();
}

bool FirmwarePage::loadForDownload() {
    std::optional<WaitCursor> hourglass(std::in_place);
    ui.InfoBox->clear();
    if (!rules::AcceptsFirmwareImage(sensor_.FirmwareVersionNumber())) {
        hourglass.reset();
        show(texts::pair(Message::TypeNotSupported));
        return false;
    }
    if (!loadImageFile())
        return false;
    if (image_.fits(target_))
        return true;
    hourglass.reset();
    show(texts::pair(Message::FileTooBig));
    return false;
}

// The poll rests from the bootloader's identification until the file is read;
// a failed identification lets it go on at once.
bool FirmwarePage::loadImageFile() {
    std::optional<MainState::PollPause> pause(std::in_place, state_);
    if (!BootloaderConnected || identifiedFactoryNumber_ != state_.LastFactoryNumber)
        identify();
    if (!BootloaderConnected)
        pause.reset();
    const QString path = state_.dialogs().openFileName(hexFileRequest());
    addDownloadLine(lines::fileName(path.toStdString()));
    addDownloadLine(lines::openingFile());
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        show(texts::pair(Message::CannotOpenFile));
        image_ = {};
        replaceLastDownloadLine(lines::fileNotOpened());
        return false;
    }
    replaceLastDownloadLine(lines::fileOpened());
    imagePath_ = path.toStdString();
    return parse(file.readAll().toStdString());
}

void FirmwarePage::identify() {
    const Identification found = identifyBootloader(sensor_, clock_, target_);
    BootloaderConnected = found.bootloaderFound();
    identifiedFactoryNumber_ = state_.LastFactoryNumber;
    for (const std::string& line : found.lines)
        addDownloadLine(line);
    if (found.failure)
        show(texts::pair(*found.failure));
}

bool FirmwarePage::parse(const std::string& text) {
    const ImageBuild build = loadImage(text, target_);
    for (size_t i = 0; i < build.badChecksumLines.size(); ++i)
        show(texts::pair(Message::ChecksumInvalid));
    if (build.error != ImageError::None) {
        // Without a record layout nothing was stored and the earlier image stays.
        if (build.error != ImageError::LayoutUnset)
            image_ = {};
        show(texts::pair(imageErrorMessage(build.error, build.errorLine)));
        return false;
    }
    // A file with a broken line is never downloaded.
    if (!build.badChecksumLines.empty()) {
        image_ = {};
        return false;
    }
    image_ = build.image;
    showInfo();
    return true;
}

void FirmwarePage::showInfo() {
    for (const std::string& line :
         {lines::pages(image_.pages), lines::bytesTotalInfo(image_.bytesTotal),
          lines::bytesToWrite(image_.bytesToWrite()),
          lines::wordsToWrite(image_.bytesToWrite() / 2)}) {
        ui.InfoBox->addItem(QString::fromStdString(line));
    }
}

void FirmwarePage::UpdateFWClick() {
    state_.SensorOnline = false;
    state_.LastFactoryNumber = kForgottenFactoryNumber;
    std::optional<WaitCursor> hourglass;
    std::optional<MainState::PollPause> pause;
    DownloadHooks hooks;
    hooks.log = [&](const std::string& line) {
        if (!hourglass)
            hourglass.emplace();
        addDownloadLine(line);
    };
    hooks.retryWithoutVersion = [this] {
        return ShowPairedMessage(state_.dialogs(), state_.UiLanguage,
                                 texts::pair(Message::VersionUnreadable),
                                 MessageButtons::RetryCancel) == MessageResult::Retry;
    };
    hooks.transferStarts = [&](int imageLength) {
        ui.DownloadFirmware->setMaximum(imageLength);
        pause.emplace(state_);
    };
    hooks.progress = [this](int bytes) { setGauge(bytes); };
    const DownloadResult result = Download(sensor_, hooks).run(image_, target_);
    hourglass.reset();
    finishDownload(result.message);
}

void FirmwarePage::finishDownload(const std::optional<Message>& result) {
    const bool refused = result == Message::PleaseLoadFile || result == Message::FileTooBig;
    if (result != Message::DownloadSucceeded && !refused)
        BootloaderConnected = false;
    if (!result)
        return;
    if (!refused) {
        state_.RecordOutcome(history::Operation::FirmwareDownload,
                             result == Message::DownloadSucceeded, texts::pair(*result), imagePath_,
                             SensorOperation::Kept::Nothing);
    }
    if (result == Message::DownloadSucceeded || result == Message::UndefinedError)
        setGauge(ui.DownloadFirmware->maximum());
    show(texts::pair(*result));
    setGauge(0);
}

void FirmwarePage::FirmwareUpdateClick() {
    pages_.showPage(QString::fromLatin1(pagenames::Firmware));
    ui.LoadFile->setEnabled(false);
    ui.UpdateFW->setEnabled(false);
    if (!loadForDownload())
        return;
    const MessageResult answer =
        ShowPairedMessage(state_.dialogs(), state_.UiLanguage, texts::updateQuestion(),
                          MessageButtons::OkCancel, MessageIcon::Warning);
    if (answer == MessageResult::Ok)
        UpdateFWClick();
}

void FirmwarePage::show(const MessagePair& message) {
    ShowPairedMessage(state_.dialogs(), state_.UiLanguage, message);
}

void FirmwarePage::addDownloadLine(const std::string& line) {
    ui.Download->addItem(QString::fromStdString(line));
    ui.Download->scrollToBottom();
    ui.Download->repaint();
}

void FirmwarePage::replaceLastDownloadLine(const std::string& line) {
    ui.Download->item(ui.Download->count() - 1)->setText(QString::fromStdString(line));
    ui.Download->repaint();
}

// The transfer blocks the event loop, so the gauge paints itself.
void FirmwarePage::setGauge(int value) {
    ui.DownloadFirmware->setValue(value);
    ui.DownloadFirmware->repaint();
}

}  // namespace firmware
