#include "support/GuiTestEnvironment.h"

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
