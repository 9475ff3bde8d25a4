#pragma once

#include <QString>
#include <string>

#include "history/Event.h"

class QTableWidget;
class QWidget;

// What the History window and its choice of a replaced sensor share in showing events.
namespace history {

// "2026-12-10 11:47:30" in local time, of a stored UTC time; the text as it is
// when it is no time.
QString LocalTime(const std::string& utc);

// A read-only table of whole rows with compact lines, its columns as wide as their texts.
QTableWidget* MakeListTable(QWidget* parent, const char* name, int columns);

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace history
