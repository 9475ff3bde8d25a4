#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

#include "ui/controls/FieldColour.h"

class QButtonGroup;
class QGridLayout;
class QRadioButton;

// A group box holding one radio button per item. itemIndexChanged runs when
// the index changes, whether a user clicked or code set it; setting the index
// already shown runs nothing. -1 means no item is selected.
class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit RadioGroup(const QString& name, QWidget* parent = nullptr);

    void setCaption(const QString& caption) { setTitle(caption); }
    QString caption() const { return title(); }

    // Replaces the items, keeping the index while it is still in range.
    void setItems(const QStringList& items);
    QStringList items() const;
    int count() const { return static_cast<int>(buttons_.size()); }
    void setColumns(int columns);

    int itemIndex() const { return index_; }
    void setItemIndex(int index);

    void setColour(FieldColour colour);
    FieldColour colour() const { return colour_; }

signals:
    void itemIndexChanged(int index);

private:
    void rebuildButtons(const QStringList& items);
    void showIndex();

    QButtonGroup* group_;
    QGridLayout* layout_;
    std::vector<QRadioButton*> buttons_;
    int columns_ = 1;
    int index_ = -1;
    FieldColour colour_ = FieldColour::ButtonFace;
};
