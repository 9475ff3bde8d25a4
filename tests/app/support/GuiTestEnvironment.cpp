#include "support/GuiTestEnvironment.h"

#include <QDir>
#include <QFile>

#include "app/VarnelApplication.h"

namespace {

VarnelApplication* application = nullptr;
int argc = 1;
char programName[] = "varnel-test";
char* argv[] = {programName, nullptr};
QtMessageHandler defaultHandler = nullptr;

// The offscreen platform cannot make windows transparent and says so at every step of the splash
// fade.
void dropOpacityWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QStringLiteral("does not support setting window opacity")))
        return;
    defaultHandler(type, context, text);
}

}  // namespace

void QtEnvironment::SetUp() {
    defaultHandler = qInstallMessageHandler(dropOpacityWarnings);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new VarnelApplication(argc, argv);
}

void QtEnvironment::TearDown() {
    delete application;
    application = nullptr;
}

VarnelApplication& QtEnvironment::app() {
    return *application;
}

TempHome::TempHome() : oldHome_(qgetenv("HOME")), oldConfig_(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("HOME", dir_.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (dir_.path() + QStringLiteral("/config")).toUtf8());
}

TempHome::~TempHome() {
    qputenv("HOME", oldHome_);
    qputenv("XDG_CONFIG_HOME", oldConfig_);
}

QString TempHome::settingsPath() const {
    return dir_.path() + QStringLiteral("/config/KYR/Torvane.json");
}

void TempHome::writeSettings(const QByteArray& bytes) const {
    QDir().mkpath(dir_.path() + QStringLiteral("/config/KYR"));
    QFile file(settingsPath());
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the settings file");
    file.write(bytes);
}

QByteArray TempHome::readSettings() const {
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
