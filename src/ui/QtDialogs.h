#pragma once

#include "ui/Dialogs.h"

// Dialogs shown with Qt, with the program's own button texts.
class QtDialogs final : public Dialogs {
public:
    void setParentWindow(QWidget* window) override { parent_ = window; }

    MessageResult showMessage(const Message& message) override;
    QString openFileName(const FileRequest& request) override;
    QString saveFileName(const FileRequest& request) override;
    int execDialog(QDialog& dialog) override;

private:
    QWidget* parent_ = nullptr;
};
