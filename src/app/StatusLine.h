#pragma once

#include <QColor>
#include <QString>
#include <cstdint>

namespace app {

// The codes of the status line.
enum class Status : int {
    Found = 1,              // argument: the port number
    Established = 2,        // argument: the port number
    UpdatePending = 3,      // no argument
    NotConnected = 4,       // argument: the port number
    Demo = 5,               // empty argument: the banner; otherwise: scroll it one step
    ModemLinesSkipped = 6,  // argument: the network port's address
    HistoryMissed = 7,      // argument: the history store's reason
};

// What the status line and the status lamp show.
struct StatusShown {
    QString text;
    QColor lamp;
};

inline constexpr char DemoBanner[] = "DEMO              DEMO              DEMO              ";

// What the status line and the lamp show after setting `code` with `argument`
// over what they show now. A language without texts leaves both as they are.
StatusShown NextStatus(Status code, const QString& argument, uint8_t uiLanguage,
                       const StatusShown& now);

}  // namespace app
