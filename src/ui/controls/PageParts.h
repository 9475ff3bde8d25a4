#pragma once

#include <QString>
#include <initializer_list>

#include "ui/controls/CheckBox.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/RadioGroup.h"

class QPushButton;
class QVBoxLayout;
class QWidget;

// Small factories for the controls of the parameter pages.

// Any widget, created on `parent` and named `name`.
template <class Widget>
Widget* makeNamed(const QString& name, QWidget& parent) {
    auto* widget = new Widget(&parent);
    widget->setObjectName(name);
    return widget;
}

LabeledEdit* makeEdit(const QString& name, QWidget& parent);
LabeledEdit* makeDisplay(const QString& name, QWidget& parent);  // read-only, button face
RadioGroup* makeChoice(const QString& name, QWidget& parent);
CheckBox* makeCheck(const QString& name, QWidget& parent);
QPushButton* makeButton(const QString& name, QWidget& parent, const QString& caption = {});
// The widgets one below the other, top-aligned.
QVBoxLayout* column(std::initializer_list<QWidget*> widgets);
