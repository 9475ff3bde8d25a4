#pragma once

#include <QDialog>
#include <cstdint>

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

private:
    void keepWithinLimit();
};
