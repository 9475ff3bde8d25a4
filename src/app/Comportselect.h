#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>

#include "app/PortList.h"
#include "ui/Texts.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// What the port dialog asks of the system beyond the list it is given.
struct PortDialogServices {
    // What the system knows of a device, for the tool tips.
    std::function<platform::PortDescription(const std::string& devicePath)> describe =
        platform::DescribePort;
    // Tries one port for a sensor; without it the Search button stays disabled.
    std::function<search::PortOutcome(const app::PortEntry& port)> tryPort;
};

// Asks for the port of the programmer: "Demo" and the ports that exist, each
// described in its tool tip; finds the ports where a sensor answers; or takes a
// network address for a port number.
class TComPortSelectForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int ConnectResult = 1;
    static constexpr int QuitResult = 3;

    TComPortSelectForm(const std::vector<app::PortEntry>& entries, uint8_t uiLanguage,
                       QWidget* parent = nullptr, PortDialogServices services = {});

    uint8_t Choice() const { return choice_; }
    // The network address entered for Choice(); empty when a listed port was chosen.
    QString Address() const { return address_; }

    // Lists these ports instead, keeping the choice when it is still listed.
    void ShowPorts(const std::vector<app::PortEntry>& entries);

    // The handlers of the list and the buttons.
    void ComListeClick(QListWidgetItem* item);
    void ComListeDblClick(QListWidgetItem* item);
    void ConnectClick();
    void QuitClick();
    // Tries every listed port in turn and selects the first where a sensor answered.
    void SearchClick();

private:
    void BuildControls();
    void ApplyTexts();
    void ShowLine(const TextPair& text);
    bool TakeAddress();
    // The number an address goes to without a chosen port: the first that is not listed.
    uint8_t FreeNumber() const;
    QListWidgetItem* ItemOf(uint8_t number) const;
    void UpdateConnect();

    QLabel* label1_ = nullptr;
    QListWidget* comListe_ = nullptr;
    QLabel* addressLabel_ = nullptr;
    QLineEdit* addressEdit_ = nullptr;
    QLabel* searchStatus_ = nullptr;
    QPushButton* search_ = nullptr;
    QPushButton* connect_ = nullptr;
    QPushButton* quit_ = nullptr;
    uint8_t uiLanguage_;
    PortDialogServices services_;
    std::vector<app::PortEntry> entries_;
    uint8_t choice_ = app::NoChoice;
    QString address_;
};
