#include "files/gui/Comment.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "files/FileHeader.h"
#include "files/gui/FileTexts.h"

namespace {

// The file keeps each line break as two characters.
qsizetype storedLength(const QString& text) {
    return text.size() + text.count(QLatin1Char('\n'));
}

}  // namespace

TFileCommentForm::TFileCommentForm(uint8_t uiLanguage, QWidget* parent)
    : QDialog(parent),
      CommentField(new QPlainTextEdit(this)),
      Label1(new QLabel(this)),
      OKButton(new QPushButton(this)) {
    setObjectName(QStringLiteral("FileCommentForm"));
    CommentField->setObjectName(QStringLiteral("CommentField"));
    Label1->setObjectName(QStringLiteral("Label1"));
    OKButton->setObjectName(QStringLiteral("OKButton"));
    setWindowTitle(pick(uiLanguage, filetexts::commentCaption()).value_or(QString()));
    Label1->setText(pick(uiLanguage, filetexts::commentPrompt()).value_or(QString()));
    Label1->setWordWrap(true);
    OKButton->setText(pick(uiLanguage, filetexts::commentOk()).value_or(QString()));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(CommentField);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CommentField, &QPlainTextEdit::textChanged, this, &TFileCommentForm::keepWithinLimit);
}

QString TFileCommentForm::Comment() const {
    return CommentField->toPlainText();
}

void TFileCommentForm::done(int result) {
    if (AcceptsComment && !AcceptsComment(Comment()))
        return;
    QDialog::done(result);
}

void TFileCommentForm::keepWithinLimit() {
    QString text = CommentField->toPlainText();
    const auto limit = static_cast<qsizetype>(files::LongestComment);
    if (storedLength(text) <= limit)
        return;
    while (storedLength(text) > limit)
        text.chop(1);
    CommentField->setPlainText(text);
    CommentField->moveCursor(QTextCursor::End);
}
