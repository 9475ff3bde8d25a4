#include "ui/controls/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <algorithm>

RadioGroup::RadioGroup(const QString& name, QWidget* parent)
    : QGroupBox(parent), group_(new QButtonGroup(this)), layout_(new QGridLayout(this)) {
    setObjectName(name);
    layout_->setContentsMargins(6, 2, 6, 2);
    layout_->setVerticalSpacing(0);
    paintField(*this, colour_);
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            setItemIndex(id);
    });
}

void RadioGroup::setItems(const QStringList& items) {
    if (items.size() == count()) {
        for (int i = 0; i < count(); ++i)
            buttons_[i]->setText(items[i]);
        return;
    }
    rebuildButtons(items);
    if (index_ < count()) {
        showIndex();
    } else {
        setItemIndex(-1);
    }
}

QStringList RadioGroup::items() const {
    QStringList texts;
    for (const QRadioButton* button : buttons_)
        texts << button->text();
    return texts;
}

void RadioGroup::setColumns(int columns) {
    columns_ = std::max(1, columns);
    rebuildButtons(items());
    showIndex();
}

void RadioGroup::setItemIndex(int index) {
    if (index < -1 || index >= count())
        index = -1;
    if (index == index_)
        return;
    index_ = index;
    showIndex();
    emit itemIndexChanged(index);
}

void RadioGroup::setColour(FieldColour colour) {
    colour_ = colour;
    paintField(*this, colour);
}

void RadioGroup::rebuildButtons(const QStringList& items) {
    for (QRadioButton* button : buttons_) {
        group_->removeButton(button);
        delete button;
    }
    buttons_.clear();

    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(objectName() + QString::number(i));
        group_->addButton(button, i);
        layout_->addWidget(button, i / columns_, i % columns_);
        buttons_.push_back(button);
    }
}

void RadioGroup::showIndex() {
    if (index_ >= 0) {
        buttons_[index_]->setChecked(true);
        return;
    }
    group_->setExclusive(false);
    for (QRadioButton* button : buttons_)
        button->setChecked(false);
    group_->setExclusive(true);
}
