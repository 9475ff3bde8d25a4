#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/TextRows.h"
#include "support/GuiTestEnvironment.h"
#include "ui/QtDialogs.h"

namespace {

using BoxAction = std::function<void(QMessageBox&)>;

// Shows the message with the real dialogs and lets `action` close the box from
// inside its event loop.
MessageResult answer(MessageButtons buttons, BoxAction action) {
    QTimer::singleShot(0, [action] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        action(*box);
    });
    QtDialogs dialogs;
    return dialogs.showMessage({QStringLiteral("File already exists. Overwrite?"),
                                QStringLiteral("Save file"), buttons, MessageIcon::Question,
                                kUiEnglish});
}

void pressEscape(QMessageBox& box) {
    QTest::keyClick(&box, Qt::Key_Escape);
}

void closeWindow(QMessageBox& box) {
    box.close();
}

BoxAction click(const char* text) {
    return [text](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons()) {
            if (button->text() == QString::fromUtf8(text) && button->isVisible()) {
                button->click();
                return;
            }
        }
        ADD_FAILURE() << "no button " << text;
    };
}

TEST(QtDialogsTest, EscapeAndTheCloseButtonAnswerAQuestionWithNeitherYesNorNo) {
    const struct {
        const char* name;
        MessageButtons buttons;
        BoxAction action;
        MessageResult expected;
    } cases[] = {
        {"question, Escape", MessageButtons::YesNo, pressEscape, MessageResult::Closed},
        {"question, close button", MessageButtons::YesNo, closeWindow, MessageResult::Closed},
        {"question, No", MessageButtons::YesNo, click("&No"), MessageResult::No},
        {"question, Yes", MessageButtons::YesNo, click("&Yes"), MessageResult::Yes},
        {"message, Escape", MessageButtons::Ok, pressEscape, MessageResult::Ok},
        {"retry, Escape", MessageButtons::RetryCancel, pressEscape, MessageResult::Cancel},
        {"ok or cancel, close button", MessageButtons::OkCancel, closeWindow,
         MessageResult::Cancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answer(c.buttons, c.action), c.expected);
    }
}

TEST(QtDialogsTest, AQuestionShowsOnlyItsTwoButtons) {
    QStringList shown;
    answer(MessageButtons::YesNo, [&shown](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons()) {
            if (button->isVisibleTo(&box))
                shown << button->text();
        }
        box.close();
    });
    shown.sort();
    EXPECT_EQ(shown, (QStringList{"&No", "&Yes"}));
}

}  // namespace
