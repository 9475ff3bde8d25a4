#pragma once

#include <QString>
#include <cstdint>

class QDialog;
class QWidget;

enum class MessageButtons { Ok, YesNo, RetryCancel, OkCancel };
// Escape and the window's close button answer a Yes/No question with Closed; in
// the other boxes they press the last button (OK or Cancel).
enum class MessageResult { Ok, Yes, No, Retry, Cancel, Closed };
enum class MessageIcon { None, Information, Warning, Error, Question };

// One modal message box. The program's own button texts are chosen by
// `language` (1 German, anything else English): "&Yes"/"&Ja", "&No"/"&Nein",
// "OK", "&Retry"/"&Wiederholen", "&Cancel"/"&Abbrechen". OkCancel keeps the
// toolkit's texts "OK" and "Cancel" in both languages.
struct Message {
    QString text;
    QString caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    uint8_t language = 0;
};

struct FileRequest {
    QString caption;
    QString filter;  // "KYR files (*.kyr)"
    QString directory;
    QString defaultSuffix;
};

// Every message box, file dialog and modal window of the program is shown
// through this interface, so that tests can answer them from a script.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The window that dialogs are centred over; none before the main window exists.
    virtual void setParentWindow(QWidget* window) { (void)window; }

    virtual MessageResult showMessage(const Message& message) = 0;
    // Empty when the user cancelled.
    virtual QString openFileName(const FileRequest& request) = 0;
    virtual QString saveFileName(const FileRequest& request) = 0;
    // Runs one of the program's own dialogs modally and returns its result code.
    virtual int execDialog(QDialog& dialog) = 0;
};
