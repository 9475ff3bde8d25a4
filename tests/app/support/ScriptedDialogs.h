#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "ui/Dialogs.h"

// Answers every dialog from a script and records what was shown.
class ScriptedDialogs final : public Dialogs {
public:
    // Runs on the dialog instead of its event loop and returns its result code.
    using DialogScript = std::function<int(QDialog&)>;

    std::vector<Message> messages;
    std::vector<QString> dialogsShown;  // objectNames
    std::vector<FileRequest> fileRequests;

    // What Escape or the window's close button answers to a Yes/No question.
    static constexpr MessageResult Escape = MessageResult::Closed;

    std::deque<MessageResult> answers;       // empty: Ok, or Yes for a Yes/No question
    std::deque<QString> fileNames;           // empty: cancelled
    std::deque<DialogScript> dialogScripts;  // empty: rejected
    std::function<void()> onFileDialog;      // runs when a file dialog would show

    MessageResult showMessage(const Message& message) override;
    QString openFileName(const FileRequest& request) override;
    QString saveFileName(const FileRequest& request) override;
    int execDialog(QDialog& dialog) override;

private:
    QString nextFileName(const FileRequest& request);
};
