#include "ui/controls/StatusLamp.h"

#include <QPainter>

StatusLamp::StatusLamp(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setFixedSize(sizeHint());
}

void StatusLamp::setColour(const QColor& colour) {
    if (colour == colour_)
        return;
    colour_ = colour;
    update();
}

void StatusLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Dark), 1));
    painter.setBrush(colour_);
    painter.drawEllipse(rect().adjusted(1, 1, -1, -1));
}
