#pragma once

#include <QCheckBox>

#include "ui/controls/FieldColour.h"

// A check box whose click handler hangs on changed: it runs when the check
// mark changes, by a click or from code, and not when the mark set is the one shown.
class CheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit CheckBox(const QString& name, QWidget* parent = nullptr);

    void setCaption(const QString& caption) { setText(caption); }
    QString caption() const { return text(); }

    void setColour(FieldColour colour);
    FieldColour colour() const { return colour_; }

signals:
    void changed(bool checked);

private:
    FieldColour colour_ = FieldColour::ButtonFace;
};
