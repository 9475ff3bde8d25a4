#pragma once

#include <QApplication>
#include <QString>

class Dialogs;

// The application object. An error that escapes an event handler is shown in
// a message box and the program goes on; during start-up it ends the program.
class VarnelApplication : public QApplication {
    Q_OBJECT

public:
    static inline const QString ErrorCaption = QStringLiteral("Varnel");

    VarnelApplication(int& argc, char** argv);

    void ReportErrorsThrough(Dialogs* dialogs) { dialogs_ = dialogs; }
    // A start-up that begins forgets the failure of an earlier one.
    void SetStartingUp(bool startingUp) {
        startingUp_ = startingUp;
        if (startingUp)
            startupFailed_ = false;
    }
    bool StartupFailed() const { return startupFailed_; }
    void ShowError(const QString& text);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void HandlerFailed(const QString& text);

    Dialogs* dialogs_ = nullptr;
    bool startingUp_ = false;
    bool startupFailed_ = false;
};
