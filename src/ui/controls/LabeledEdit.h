#pragma once

#include <QString>
#include <QWidget>

#include "ui/controls/FieldColour.h"

class QLabel;
class QLineEdit;

// An edit field with its label. The live handler hangs on textChanged, which
// runs on every change of the text, typed or set from code, and not when the
// text set equals the text shown. The exit handler hangs on exited, which runs
// when the field loses the keyboard focus.
class LabeledEdit : public QWidget {
    Q_OBJECT

public:
    explicit LabeledEdit(const QString& name, QWidget* parent = nullptr);

    void setCaption(const QString& caption);  // the label beside the field
    QString caption() const;

    void setText(const QString& text);
    QString text() const;

    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    void setMaxLength(int length);
    void setFieldWidth(int width);

    void setColour(FieldColour colour);
    FieldColour colour() const { return colour_; }

    // Puts the keyboard focus back into the field.
    void focusField();
    QLineEdit& field() { return *edit_; }
    QLabel& label() { return *label_; }

signals:
    void textChanged(const QString& text);
    void exited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* label_;
    QLineEdit* edit_;
    FieldColour colour_ = FieldColour::White;
};
