#pragma once

#include <QDialog>
#include <cstdint>

#include "app/PortList.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// Asks for the port of the programmer: "Demo" and the ports that exist.
class TComPortSelectForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int ConnectResult = 1;
    static constexpr int QuitResult = 3;

    TComPortSelectForm(const std::vector<app::PortEntry>& entries, uint8_t uiLanguage,
                       QWidget* parent = nullptr);

    uint8_t Choice() const { return choice_; }

    // The handlers of the list and the buttons.
    void ComListeClick(QListWidgetItem* item);
    void ComListeDblClick(QListWidgetItem* item);
    void ConnectClick();
    void QuitClick();

private:
    void BuildControls(const std::vector<app::PortEntry>& entries);
    void ApplyTexts(uint8_t uiLanguage);

    QLabel* label1_ = nullptr;
    QListWidget* comListe_ = nullptr;
    QPushButton* connect_ = nullptr;
    QPushButton* quit_ = nullptr;
    uint8_t choice_ = app::NoChoice;
};
