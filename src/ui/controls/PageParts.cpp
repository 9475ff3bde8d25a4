#include "ui/controls/PageParts.h"

#include <QPushButton>
#include <QVBoxLayout>

LabeledEdit* makeEdit(const QString& name, QWidget& parent) {
    return new LabeledEdit(name, &parent);
}

LabeledEdit* makeDisplay(const QString& name, QWidget& parent) {
    auto* edit = new LabeledEdit(name, &parent);
    edit->setReadOnly(true);
    edit->setColour(FieldColour::ButtonFace);
    return edit;
}

RadioGroup* makeChoice(const QString& name, QWidget& parent) {
    return new RadioGroup(name, &parent);
}

CheckBox* makeCheck(const QString& name, QWidget& parent) {
    return new CheckBox(name, &parent);
}

QPushButton* makeButton(const QString& name, QWidget& parent, const QString& caption) {
    auto* button = makeNamed<QPushButton>(name, parent);
    button->setText(caption);
    return button;
}

QVBoxLayout* column(std::initializer_list<QWidget*> widgets) {
    auto* layout = new QVBoxLayout;
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    layout->addStretch();
    return layout;
}
