#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "files/ParameterFile.h"
#include "history/Event.h"
#include "history/gui/HistoryTexts.h"

class MainState;
class QLabel;
class QPushButton;
class QTableWidget;
class TSSICom;

namespace history {

class HistoryStore;

// What the History window works with; the main window wires it.
struct HistoryWindowParts {
    HistoryStore& store;
    TSSICom& sensor;  // the connected sensor and the set the program holds of it
    MainState& state;
    // Loads the set as File Open loads a file, with its confirmation and its
    // read afterwards; the history names the load `subject`.
    std::function<void(const files::ParameterFile& file, const std::string& subject)> load;
};

// The connected sensor's events, newest first; a chosen event's set beside
// the sensor's present one with the registers that differ marked; loading a
// chosen set into the sensor, and setting the sensor up as the replacement of
// another one from the history.
class HistoryWindow : public QDialog {
    Q_OBJECT

public:
    explicit HistoryWindow(HistoryWindowParts parts, QWidget* parent = nullptr);

    QTableWidget* Events;
    QLabel* NoSet;
    QTableWidget* Comparison;
    QPushButton* LoadIntoSensor;
    QPushButton* ReplaceSensor;
    QPushButton* CloseButton;

    enum EventColumn { Time, Operation, Result, Program, Account, Port, Subject, ColumnCount };

    // Reads the sensor's events anew; the event chosen before stays chosen.
    void ShowEvents();
    // The event in the row of Events; a negative row chooses none.
    void ChooseEvent(int row);
    void LoadIntoSensorClick();
    void ReplaceSensorClick();

    // The event chosen, with its set.
    const std::optional<Event>& Chosen() const { return chosen_; }

private:
    void applyTexts();
    QString text(historytexts::Id id) const;
    QString valueText(const RegisterValue& value) const;
    void fillEvents(const std::vector<Event>& events);
    void showComparison();
    void chooseById(int64_t id);
    files::ParameterFile fileOf(const Event& event) const;
    void refused(const std::string& reason);

    HistoryWindowParts parts_;
    QString factoryNumber_;
    std::optional<Event> chosen_;
};

}  // namespace history
