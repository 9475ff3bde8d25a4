#include "app/VarnelApplication.h"

#include <QIcon>
#include <exception>

#include "app/Pictures.h"
#include "app/ProgramInfo.h"
#include "ui/Dialogs.h"

// The pictures live in a static library, whose resource initialiser the linker
// would drop. The declaration that the macro makes must be global.
static void initPictures() {
    Q_INIT_RESOURCE(varnel);
}

VarnelApplication::VarnelApplication(int& argc, char** argv) : QApplication(argc, argv) {
    initPictures();
    // No display name: on Linux the platform would append it to every window title.
    // The desktop entry names the program.
    setApplicationName(QStringLiteral("varnel"));
    setDesktopFileName(QStringLiteral("varnel"));
    setApplicationVersion(BuildVersion);
    setOrganizationName(QStringLiteral("KYR"));
    setWindowIcon(QIcon(picturePath(Picture::Icon)));
}

void VarnelApplication::ShowError(const QString& text) {
    if (dialogs_ == nullptr) {
        qCritical("%s", qUtf8Printable(text));
        return;
    }
    dialogs_->showMessage({text, ErrorCaption, MessageButtons::Ok, MessageIcon::Error, 0});
}

bool VarnelApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        HandlerFailed(QString::fromUtf8(error.what()));
    } catch (...) {
        HandlerFailed(QStringLiteral("Unknown error"));
    }
    return false;
}

void VarnelApplication::HandlerFailed(const QString& text) {
    ShowError(text);
    if (!startingUp_)
        return;
    startupFailed_ = true;
    exit(1);
}
