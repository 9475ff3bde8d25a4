#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "history/Event.h"
#include "station/Restore.h"
#include "ui/Dialogs.h"
#include "ui/Texts.h"

class MainState;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class TSSICom;

namespace history {

class HistoryStore;

// The sensors of the history that were taken out, by factory number, each with
// its last recorded set; choosing one shows that set.
class ReplaceSensorDialog : public QDialog {
    Q_OBJECT

public:
    using LastSets = std::map<std::string, Event>;

    ReplaceSensorDialog(uint8_t uiLanguage, LastSets lastSets, QWidget* parent = nullptr);

    QLabel* OldSensorLabel;
    QListWidget* OldSensors;
    QLabel* LastSetLabel;
    QTableWidget* LastSet;
    QPushButton* WriteButton;
    QPushButton* CancelButton;

    // The last set of the sensor chosen.
    const Event* Chosen() const;

private:
    void showChosen();

    uint8_t uiLanguage_;
    LastSets lastSets_;
};

// Replace a sensor: chooses a sensor of the history, writes its last set into
// the connected sensor (which keeps its own identity and build) and verifies
// it, and says which registers, if any, differ.
class ReplaceSensorFlow {
public:
    ReplaceSensorFlow(HistoryStore& store, TSSICom& sensor, MainState& state, QWidget* parent)
        : store_(store), sensor_(sensor), state_(state), parent_(parent) {}

    void Run();

private:
    // False when the history could not be read; says why.
    bool readLastSets(ReplaceSensorDialog::LastSets& lastSets);
    void restore(const Event& old);
    MessagePair outcome(const station::RestoreResult& result, const Event& old) const;
    void show(const MessagePair& message, MessageIcon icon);

    HistoryStore& store_;
    TSSICom& sensor_;
    MainState& state_;
    QWidget* parent_;
};

}  // namespace history
