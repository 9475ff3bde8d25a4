#include "app/Startup.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "app/Aboutinfo.h"
#include "app/Languagesel.h"
#include "app/Main.h"
#include "app/SplashFade.h"
#include "platform/Clock.h"
#include "settings/Settings.h"
#include "ui/Dialogs.h"
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

Startup::Startup(TMainForm& form) : form_(form) {}

Startup::~Startup() = default;

bool Startup::Run() {
    QElapsedTimer phase;
    phase.start();
    FadeInSplash();
    const qint64 splashMs = phase.restart();
    OpenSettings();
    ChooseLanguage();
    ApplyAccessLevel();
    form_.ApplyLanguage();
    form_.ui.ParameterPage->showPage(QString::fromLatin1(pagenames::SSISettings));
    if (!OpenStoredPort()) {
        Finish();
        return false;
    }
    phase.restart();
    ShowMainWindow();
    if (form_.Trace)
        form_.Trace(
            QStringLiteral("startup: splash %1 ms, wait %2 ms").arg(splashMs).arg(phase.elapsed()));
    Finish();
    return true;
}

void Startup::FadeInSplash() {
    splash_ = std::make_unique<TAboutForm>();
    SplashFade(*splash_);
    form_.setWindowTitle(QStringLiteral("KYR ") + splash_->Label1->text());
}

void Startup::OpenSettings() {
    form_.settings().open();
}

// The first start asks; the answer is stored at once.
void Startup::ChooseLanguage() {
    SettingsStore& settings = form_.settings();
    if (settings.hasValue(SettingsStore::Language)) {
        form_.State.UiLanguage = StoredLanguage(settings.readInteger(SettingsStore::Language));
        return;
    }
    TLanguageSelect dialog(splash_.get());
    form_.dialogs().execDialog(dialog);
    form_.State.UiLanguage = dialog.selectedLanguage();
    settings.writeInteger(SettingsStore::Language, form_.State.UiLanguage);
}

// The Firmware page is hidden first; the level then shows what it allows.
void Startup::ApplyAccessLevel() {
    form_.ui.ParameterPage->setPageTabVisible(QString::fromLatin1(pagenames::Firmware), false);
    form_.SetAccessLevel(lookUpAccessLevel(form_.settings()));
}

bool Startup::OpenStoredPort() {
    return form_.OpenStartupPort();
}

void Startup::ShowMainWindow() {
    form_.clock().sleep(ShowDelayMs);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = form_.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form_.move(frame.topLeft());
    }
    form_.show();
}

void Startup::Finish() {
    form_.settings().close();
    splash_.reset();
}
