#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// Asks for the comment that a saved parameter file keeps with the values.
class TFileCommentForm : public QDialog {
    Q_OBJECT

public:
    explicit TFileCommentForm(uint8_t uiLanguage, QWidget* parent = nullptr);

    QPlainTextEdit* CommentField;
    QLabel* Label1;
    QPushButton* OKButton;

    // The text as entered, however the dialog was closed.
    QString Comment() const;

    // Asked whenever the dialog is about to close, by OK, Escape or the close
    // button; false keeps it open so that the user can mend the comment.
    std::function<bool(const QString& comment)> AcceptsComment;

    void done(int result) override;

private:
    void keepWithinLimit();
};
