#include "ui/controls/FieldColour.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

QColor colourValue(FieldColour colour) {
    switch (colour) {
        case FieldColour::Highlight:
            return HighlightColour;
        case FieldColour::White:
            return Qt::white;
        case FieldColour::ButtonFace:
            break;
    }
    return QApplication::palette().color(QPalette::Button);
}

void paintField(QWidget& widget, FieldColour colour) {
    QPalette palette = widget.palette();
    const bool isEdit = qobject_cast<QLineEdit*>(&widget) != nullptr;
    const QPalette::ColorRole role = isEdit ? QPalette::Base : QPalette::Window;
    palette.setColor(role, colourValue(colour));
    widget.setPalette(palette);
    if (!isEdit)
        widget.setAutoFillBackground(true);
}
