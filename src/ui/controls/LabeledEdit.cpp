#include "ui/controls/LabeledEdit.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

LabeledEdit::LabeledEdit(const QString& name, QWidget* parent)
    : QWidget(parent), label_(new QLabel(this)), edit_(new QLineEdit(this)) {
    setObjectName(name);
    label_->setObjectName(name + QStringLiteral("Caption"));
    edit_->setObjectName(name + QStringLiteral("Field"));
    label_->setBuddy(edit_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_, 1);
    layout->addWidget(edit_);
    edit_->setFixedWidth(90);
    edit_->installEventFilter(this);
    paintField(*edit_, colour_);
    connect(edit_, &QLineEdit::textChanged, this, &LabeledEdit::textChanged);
}

void LabeledEdit::setCaption(const QString& caption) {
    label_->setText(caption);
}

QString LabeledEdit::caption() const {
    return label_->text();
}

void LabeledEdit::setText(const QString& text) {
    edit_->setText(text);
}

QString LabeledEdit::text() const {
    return edit_->text();
}

void LabeledEdit::setReadOnly(bool readOnly) {
    edit_->setReadOnly(readOnly);
}

bool LabeledEdit::isReadOnly() const {
    return edit_->isReadOnly();
}

void LabeledEdit::setMaxLength(int length) {
    edit_->setMaxLength(length);
}

void LabeledEdit::setFieldWidth(int width) {
    edit_->setFixedWidth(width);
}

void LabeledEdit::setColour(FieldColour colour) {
    colour_ = colour;
    paintField(*edit_, colour);
}

void LabeledEdit::focusField() {
    edit_->setFocus(Qt::OtherFocusReason);
}

// Only a move of the focus to another control of the window leaves the field; a
// message box or a menu taking the focus away for a while does not.
bool LabeledEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            emit exited();
    }
    return QWidget::eventFilter(watched, event);
}
