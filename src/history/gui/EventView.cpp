#include "history/gui/EventView.h"

#include <QDateTime>
#include <QHeaderView>
#include <QTableWidget>

namespace history {

QString LocalTime(const std::string& utc) {
    const QDateTime time = QDateTime::fromString(QString::fromStdString(utc), Qt::ISODateWithMs);
    if (!time.isValid())
        return QString::fromStdString(utc);
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QTableWidget* MakeListTable(QWidget* parent, const char* name, int columns) {
    auto* table = Named(new QTableWidget(0, columns, parent), name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

}  // namespace history
