#include "ui/QtDialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <map>
#include <utility>
#include <vector>

#include "ui/Texts.h"

namespace {

using ButtonChoice = std::pair<messages::Button, MessageResult>;

std::vector<ButtonChoice> buttonsOf(MessageButtons buttons) {
    using messages::Button;
    switch (buttons) {
        case MessageButtons::Ok:
            return {{Button::Ok, MessageResult::Ok}};
        case MessageButtons::YesNo:
            return {{Button::Yes, MessageResult::Yes}, {Button::No, MessageResult::No}};
        case MessageButtons::RetryCancel:
            return {{Button::Retry, MessageResult::Retry}, {Button::Cancel, MessageResult::Cancel}};
        case MessageButtons::OkCancel:
            break;
    }
    return {{Button::Ok, MessageResult::Ok}, {Button::Cancel, MessageResult::Cancel}};
}

QString buttonCaption(const ButtonChoice& choice, MessageButtons buttons, uint8_t language) {
    // OK and Cancel keep the toolkit's English texts in this one kind of box.
    if (buttons == MessageButtons::OkCancel) {
        return choice.second == MessageResult::Ok ? QStringLiteral("OK") : QStringLiteral("Cancel");
    }
    const TextPair& text = messages::buttonText(choice.first);
    return language == kUiGerman ? text.de : text.en;
}

QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// Escape and the window's close button answer a question with neither yes nor
// no: they press this button, which the box does not show.
QPushButton* hiddenEscapeButton(QMessageBox& box) {
    QPushButton* button = box.addButton(QString(), QMessageBox::RejectRole);
    button->hide();
    return button;
}

}  // namespace

MessageResult QtDialogs::showMessage(const Message& message) {
    QMessageBox box(iconOf(message.icon), message.caption, message.text, QMessageBox::NoButton,
                    parent_);
    std::map<QAbstractButton*, MessageResult> results;
    for (const ButtonChoice& choice : buttonsOf(message.buttons)) {
        QPushButton* button = box.addButton(
            buttonCaption(choice, message.buttons, message.language), QMessageBox::AcceptRole);
        results[button] = choice.second;
        box.setEscapeButton(button);
    }
    if (message.buttons == MessageButtons::YesNo)
        box.setEscapeButton(hiddenEscapeButton(box));
    box.exec();
    const auto clicked = results.find(box.clickedButton());
    return clicked == results.end() ? MessageResult::Closed : clicked->second;
}

QString QtDialogs::openFileName(const FileRequest& request) {
    return QFileDialog::getOpenFileName(parent_, request.caption, request.directory,
                                        request.filter);
}

QString QtDialogs::saveFileName(const FileRequest& request) {
    QFileDialog dialog(parent_, request.caption, request.directory, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // The program asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

int QtDialogs::execDialog(QDialog& dialog) {
    return dialog.exec();
}
