#include "ui/controls/CheckBox.h"

CheckBox::CheckBox(const QString& name, QWidget* parent) : QCheckBox(parent) {
    setObjectName(name);
    paintField(*this, colour_);
    connect(this, &QCheckBox::toggled, this, &CheckBox::changed);
}

void CheckBox::setColour(FieldColour colour) {
    colour_ = colour;
    paintField(*this, colour);
}
