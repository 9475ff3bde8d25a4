#include "app/Startup.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>
#include <utility>

#include "app/Aboutinfo.h"
#include "app/Languagesel.h"
#include "app/SplashFade.h"
#include "platform/Clock.h"
#include "settings/Settings.h"
#include "ui/Dialogs.h"
#include "ui/MainState.h"
#include "ui/PageNames.h"
#include "ui/controls/PageControl.h"

namespace {

// UiLanguage is the low 8 bits of the stored value. A value that names no
// language of the program, possible only in an edited file, falls back to
// English so that every text and message still shows.
uint8_t StoredLanguage(int32_t stored) {
    const auto language = static_cast<uint8_t>(stored & 0xFF);
    return language == 1 ? uint8_t{1} : uint8_t{0};
}

}  // namespace

Startup::Startup(StartupParts parts) : parts_(std::move(parts)) {}

Startup::~Startup() = default;

bool Startup::Run() {
    QElapsedTimer phase;
    phase.start();
    FadeInSplash();
    const qint64 splashMs = phase.restart();
    OpenSettings();
    ChooseLanguage();
    ApplyAccessLevel();
    parts_.applyLanguage();
    parts_.pages.showPage(QString::fromLatin1(pagenames::SSISettings));
    if (!OpenStoredPort()) {
        Finish();
        return false;
    }
    phase.restart();
    ShowMainWindow();
    if (parts_.trace)
        parts_.trace(
            QStringLiteral("startup: splash %1 ms, wait %2 ms").arg(splashMs).arg(phase.elapsed()));
    Finish();
    return true;
}

void Startup::FadeInSplash() {
    splash_ = std::make_unique<TAboutForm>();
    SplashFade(*splash_);
    parts_.window.setWindowTitle(QStringLiteral("KYR ") + splash_->Label1->text());
}

void Startup::OpenSettings() {
    parts_.settings.open();
}

// The first start asks; the answer is stored at once.
void Startup::ChooseLanguage() {
    SettingsStore& settings = parts_.settings;
    if (settings.hasValue(SettingsStore::Language)) {
        parts_.state.UiLanguage = StoredLanguage(settings.readInteger(SettingsStore::Language));
        return;
    }
    TLanguageSelect dialog(splash_.get());
    parts_.dialogs.execDialog(dialog);
    parts_.state.UiLanguage = dialog.selectedLanguage();
    settings.writeInteger(SettingsStore::Language, parts_.state.UiLanguage);
}

// The Firmware page is hidden first; the level then shows what it allows.
void Startup::ApplyAccessLevel() {
    parts_.pages.setPageTabVisible(QString::fromLatin1(pagenames::Firmware), false);
    parts_.setAccessLevel(lookUpAccessLevel(parts_.settings));
}

bool Startup::OpenStoredPort() {
    return parts_.openPort();
}

void Startup::ShowMainWindow() {
    parts_.clock.sleep(ShowDelayMs);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = parts_.window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        parts_.window.move(frame.topLeft());
    }
    parts_.window.show();
}

void Startup::Finish() {
    parts_.settings.close();
    splash_.reset();
}
