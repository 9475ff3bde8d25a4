#include "support/ScriptedDialogs.h"

#include <QDialog>

MessageResult ScriptedDialogs::showMessage(const Message& message) {
    messages.push_back(message);
    if (answers.empty()) {
        return message.buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
    }
    const MessageResult answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedDialogs::openFileName(const FileRequest& request) {
    return nextFileName(request);
}

QString ScriptedDialogs::saveFileName(const FileRequest& request) {
    return nextFileName(request);
}

int ScriptedDialogs::execDialog(QDialog& dialog) {
    dialogsShown.push_back(dialog.objectName());
    if (dialogScripts.empty())
        return QDialog::Rejected;
    const DialogScript script = std::move(dialogScripts.front());
    dialogScripts.pop_front();
    return script(dialog);
}

QString ScriptedDialogs::nextFileName(const FileRequest& request) {
    fileRequests.push_back(request);
    if (onFileDialog)
        onFileDialog();
    if (fileNames.empty())
        return {};
    const QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}
