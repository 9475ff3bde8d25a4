#include "history/gui/HistoryWindow.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <utility>

#include "comm/Ssicom.h"
#include "files/StoredSet.h"
#include "history/HistoryStore.h"
#include "history/gui/EventView.h"
#include "history/gui/ReplaceSensor.h"
#include "history/gui/SetComparison.h"
#include "platform/Windows1252.h"
#include "ui/MainState.h"
#include "ui/PairedMessage.h"
#include "ui/controls/FieldColour.h"

namespace history {

namespace {

using historytexts::Id;

constexpr int WindowWidth = 1120;
constexpr int WindowHeight = 680;
constexpr int IdRole = Qt::UserRole;

QTableWidgetItem* cell(const QString& text) {
    return new QTableWidgetItem(text);
}

// The event's local date, as a parameter file keeps the date of saving.
files::SaveDate localDate(const std::string& utc) {
    const QDate date =
        QDateTime::fromString(QString::fromStdString(utc), Qt::ISODateWithMs).toLocalTime().date();
    return {static_cast<uint32_t>(date.year()), static_cast<uint8_t>(date.month()),
            static_cast<uint8_t>(date.day())};
}

QString programOf(const Event& event) {
    return QString::fromStdString(event.origin.program + " " + event.origin.version);
}

}  // namespace

HistoryWindow::HistoryWindow(HistoryWindowParts parts, QWidget* parent)
    : QDialog(parent),
      Events(MakeListTable(this, "Events", ColumnCount)),
      NoSet(Named(new QLabel(this), "NoSet")),
      Comparison(MakeListTable(this, "Comparison", 3)),
      LoadIntoSensor(Named(new QPushButton(this), "LoadIntoSensor")),
      ReplaceSensor(Named(new QPushButton(this), "ReplaceSensor")),
      CloseButton(Named(new QPushButton(this), "CloseButton")),
      parts_(std::move(parts)),
      factoryNumber_(QString::fromStdString(parts_.sensor[TSSICom::FactoryNumber].Reply)) {
    setObjectName(QStringLiteral("HistoryWindow"));
    Comparison->setSelectionMode(QAbstractItemView::NoSelection);
    applyTexts();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(LoadIntoSensor);
    buttons->addWidget(ReplaceSensor);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto* set = new QVBoxLayout;
    set->addWidget(NoSet);
    set->addWidget(Comparison);
    auto* columns = new QHBoxLayout;
    columns->addWidget(Events, 3);
    columns->addLayout(set, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    resize(WindowWidth, WindowHeight);

    connect(Events, &QTableWidget::itemSelectionChanged, this,
            [this] { ChooseEvent(Events->currentRow()); });
    connect(LoadIntoSensor, &QPushButton::clicked, this, &HistoryWindow::LoadIntoSensorClick);
    connect(ReplaceSensor, &QPushButton::clicked, this, &HistoryWindow::ReplaceSensorClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    ShowEvents();
}

QString HistoryWindow::text(Id id) const {
    return pick(parts_.state.UiLanguage, historytexts::text(id)).value_or(QString());
}

void HistoryWindow::applyTexts() {
    setWindowTitle(text(Id::Caption).arg(factoryNumber_));
    Events->setHorizontalHeaderLabels({text(Id::TimeColumn), text(Id::OperationColumn),
                                       text(Id::ResultColumn), text(Id::ProgramColumn),
                                       text(Id::AccountColumn), text(Id::PortColumn),
                                       text(Id::SubjectColumn)});
    Comparison->setHorizontalHeaderLabels(
        {text(Id::RegisterColumn), text(Id::EventValueColumn), text(Id::PresentValueColumn)});
    NoSet->setText(text(Id::NoSet));
    LoadIntoSensor->setText(text(Id::LoadIntoSensor));
    ReplaceSensor->setText(text(Id::ReplaceSensor));
    CloseButton->setText(text(Id::Close));
}

void HistoryWindow::ShowEvents() {
    const int64_t before = chosen_ ? chosen_->id : 0;
    const auto events =
        parts_.store.events({.factoryNumber = factoryNumber_.toStdString(), .since = std::nullopt});
    if (!events) {
        refused(parts_.store.lastError());
        fillEvents({});
    } else {
        fillEvents(*events);
    }
    if (chosen_)
        chooseById(before);
    else
        ChooseEvent(0);
}

void HistoryWindow::fillEvents(const std::vector<Event>& events) {
    const QSignalBlocker quiet(Events);
    Events->setRowCount(0);
    for (const Event& event : events) {
        const int row = Events->rowCount();
        Events->insertRow(row);
        const auto put = [&](EventColumn column, const QString& shown) {
            Events->setItem(row, column, cell(shown));
        };
        put(Time, LocalTime(event.time));
        put(Operation, pick(parts_.state.UiLanguage, historytexts::operationName(event.operation))
                           .value_or(QString()));
        put(Result, event.ok ? text(Id::Succeeded)
                             : text(Id::Failed).arg(QString::fromStdString(event.message)));
        put(Program, programOf(event));
        put(Account, QString::fromStdString(event.origin.account));
        put(Port, QString::fromStdString(event.port));
        put(Subject, QString::fromStdString(event.subject));
        Events->item(row, Time)->setData(IdRole, QVariant::fromValue<qlonglong>(event.id));
    }
}

void HistoryWindow::chooseById(int64_t id) {
    for (int row = 0; row < Events->rowCount(); ++row) {
        if (Events->item(row, Time)->data(IdRole).toLongLong() == id) {
            Events->selectRow(row);
            return;
        }
    }
    ChooseEvent(-1);
}

void HistoryWindow::ChooseEvent(int row) {
    chosen_.reset();
    if (row >= 0 && row < Events->rowCount()) {
        const QSignalBlocker quiet(Events);
        Events->selectRow(row);
        chosen_ = parts_.store.event(Events->item(row, Time)->data(IdRole).toLongLong());
        if (!chosen_)
            refused(parts_.store.lastError());
    }
    showComparison();
}

QString HistoryWindow::valueText(const RegisterValue& value) const {
    return value.answered ? QString::number(value.value) : text(Id::Unanswered);
}

void HistoryWindow::showComparison() {
    const bool hasSet = chosen_ && chosen_->registers;
    NoSet->setVisible(chosen_ && !hasSet);
    LoadIntoSensor->setEnabled(hasSet);
    Comparison->setRowCount(0);
    if (!hasSet)
        return;
    for (const ComparedRegister& compared :
         CompareWithPresent(*chosen_->registers, parts_.sensor.Parameters())) {
        const int row = Comparison->rowCount();
        Comparison->insertRow(row);
        Comparison->setItem(row, 0, cell(QString::fromLatin1(TSSICom::RegisterKey(compared.reg))));
        Comparison->setItem(row, 1, cell(valueText(compared.recorded)));
        Comparison->setItem(row, 2, cell(valueText(compared.present)));
        if (!compared.differs())
            continue;
        for (int column = 0; column < Comparison->columnCount(); ++column) {
            QTableWidgetItem* item = Comparison->item(row, column);
            item->setBackground(HighlightColour);
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
    }
}

// A register the event did not hear from takes the sensor's own value, as
// there is nothing recorded to load into it.
files::ParameterFile HistoryWindow::fileOf(const Event& event) const {
    ParameterSet set = SetOf(event);
    const ParameterSet& present = parts_.sensor.Parameters();
    for (size_t r = 0; r < set.ParameterStruct.size(); ++r) {
        if (!set.ParameterStruct[r].Answered)
            set.ParameterStruct[r].Value = present.ParameterStruct[r].Value;
    }
    const QString header =
        text(Id::LoadHeader)
            .arg(event.id)
            .arg(LocalTime(event.time), programOf(event), QString::fromStdString(event.port));
    return files::FileOfSet(
        set, platform::EncodeWindows1252(header.toStdString()).bytes.value_or(std::string()),
        localDate(event.time));
}

void HistoryWindow::LoadIntoSensorClick() {
    if (!chosen_ || !chosen_->registers)
        return;
    parts_.load(fileOf(*chosen_), EventName(chosen_->id));
    ShowEvents();
}

void HistoryWindow::ReplaceSensorClick() {
    ReplaceSensorFlow(parts_.store, parts_.sensor, parts_.state, this).Run();
    ShowEvents();
}

void HistoryWindow::refused(const std::string& reason) {
    ShowPairedMessage(
        parts_.state.dialogs(), parts_.state.UiLanguage,
        historytexts::filled(historytexts::Message::Unreadable, {QString::fromStdString(reason)}),
        MessageButtons::Ok, MessageIcon::Error);
}

}  // namespace history
