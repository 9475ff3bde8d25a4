#include "history/gui/ReplaceSensor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <utility>

#include "comm/Ssicom.h"
#include "files/StoredSet.h"
#include "history/HistoryStore.h"
#include "history/gui/EventView.h"
#include "history/gui/HistoryTexts.h"
#include "ui/MainState.h"
#include "ui/PairedMessage.h"
#include "ui/WaitCursor.h"

namespace history {

namespace {

using historytexts::Id;
using historytexts::Message;

constexpr int DialogWidth = 640;
constexpr int DialogHeight = 680;

QString textIn(uint8_t uiLanguage, Id id) {
    return pick(uiLanguage, historytexts::text(id)).value_or(QString());
}

QString foundText(const std::optional<int32_t>& found, const QString& unanswered) {
    return found ? QString::number(*found) : unanswered;
}

// The registers that differ, one a line, in both languages.
TextPair mismatchLines(const std::vector<station::Check>& mismatches) {
    TextPair lines;
    const TextPair& line = historytexts::differingRegister();
    const TextPair& unanswered = historytexts::text(Id::Unanswered);
    for (const station::Check& check : mismatches) {
        const QString key = QString::fromLatin1(TSSICom::RegisterKey(check.reg));
        const QString wanted = QString::number(check.wanted);
        lines.en += line.en.arg(key, wanted, foundText(check.found, unanswered.en)) + '\n';
        lines.de += line.de.arg(key, wanted, foundText(check.found, unanswered.de)) + '\n';
    }
    lines.en.chop(1);
    lines.de.chop(1);
    return lines;
}

}  // namespace

ReplaceSensorDialog::ReplaceSensorDialog(uint8_t uiLanguage, LastSets lastSets, QWidget* parent)
    : QDialog(parent),
      OldSensorLabel(Named(new QLabel(this), "OldSensorLabel")),
      OldSensors(Named(new QListWidget(this), "OldSensors")),
      LastSetLabel(Named(new QLabel(this), "LastSetLabel")),
      LastSet(MakeListTable(this, "LastSet", 2)),
      WriteButton(Named(new QPushButton(this), "WriteButton")),
      CancelButton(Named(new QPushButton(this), "CancelButton")),
      uiLanguage_(uiLanguage),
      lastSets_(std::move(lastSets)) {
    setObjectName(QStringLiteral("ReplaceSensorDialog"));
    setWindowTitle(textIn(uiLanguage_, Id::ReplaceCaption));
    OldSensorLabel->setText(textIn(uiLanguage_, Id::OldSensorLabel));
    LastSet->setHorizontalHeaderLabels(
        {textIn(uiLanguage_, Id::RegisterColumn), textIn(uiLanguage_, Id::EventValueColumn)});
    LastSet->setSelectionMode(QAbstractItemView::NoSelection);
    WriteButton->setText(textIn(uiLanguage_, Id::WriteReplacement));
    CancelButton->setText(textIn(uiLanguage_, Id::Cancel));
    for (const auto& [factoryNumber, event] : lastSets_)
        OldSensors->addItem(QString::fromStdString(factoryNumber));

    auto* choice = new QVBoxLayout;
    choice->addWidget(OldSensorLabel);
    choice->addWidget(OldSensors);
    auto* set = new QVBoxLayout;
    set->addWidget(LastSetLabel);
    set->addWidget(LastSet);
    auto* columns = new QHBoxLayout;
    columns->addLayout(choice, 1);
    columns->addLayout(set, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(WriteButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    resize(DialogWidth, DialogHeight);

    connect(OldSensors, &QListWidget::currentRowChanged, this, [this] { showChosen(); });
    connect(WriteButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    OldSensors->setCurrentRow(0);
    showChosen();
}

const Event* ReplaceSensorDialog::Chosen() const {
    const QListWidgetItem* item = OldSensors->currentItem();
    if (item == nullptr)
        return nullptr;
    const auto found = lastSets_.find(item->text().toStdString());
    return found != lastSets_.end() ? &found->second : nullptr;
}

void ReplaceSensorDialog::showChosen() {
    const Event* chosen = Chosen();
    WriteButton->setEnabled(chosen != nullptr);
    LastSet->setRowCount(0);
    if (chosen == nullptr || !chosen->registers)
        return;
    LastSetLabel->setText(textIn(uiLanguage_, Id::LastSetLabel).arg(LocalTime(chosen->time)));
    for (int r = 0; r < files::StoredRegisterCount; ++r) {
        const RegisterValue& value = (*chosen->registers)[static_cast<size_t>(r)];
        LastSet->insertRow(r);
        LastSet->setItem(r, 0,
                         new QTableWidgetItem(
                             QString::fromLatin1(TSSICom::RegisterKey(TSSICom::RegisterIndex(r)))));
        LastSet->setItem(
            r, 1,
            new QTableWidgetItem(value.answered ? QString::number(value.value)
                                                : textIn(uiLanguage_, Id::Unanswered)));
    }
}

void ReplaceSensorFlow::Run() {
    ReplaceSensorDialog::LastSets lastSets;
    if (!readLastSets(lastSets))
        return;
    if (lastSets.empty()) {
        show(historytexts::message(Message::NoOtherSensor), MessageIcon::Information);
        return;
    }
    ReplaceSensorDialog dialog(state_.UiLanguage, std::move(lastSets), parent_);
    if (state_.dialogs().execDialog(dialog) != QDialog::Accepted || dialog.Chosen() == nullptr)
        return;
    restore(*dialog.Chosen());
}

bool ReplaceSensorFlow::readLastSets(ReplaceSensorDialog::LastSets& lastSets) {
    const std::string connected = sensor_[TSSICom::FactoryNumber].Reply;
    const auto events = store_.events({});
    if (!events) {
        show(
            historytexts::filled(Message::Unreadable, {QString::fromStdString(store_.lastError())}),
            MessageIcon::Error);
        return false;
    }
    for (const Event& event : *events) {
        const std::string& number = event.factoryNumber;
        if (number.empty() || number == connected || lastSets.contains(number))
            continue;
        if (std::optional<Event> last = store_.lastSet(number))
            lastSets.emplace(number, std::move(*last));
    }
    return true;
}

// The program's set is what the verify read back; a write that did not get
// through lets the next poll read the sensor afresh.
void ReplaceSensorFlow::restore(const Event& old) {
    const auto pause = state_.PausePolling();
    station::RestoreResult result;
    {
        WaitCursor hourglass;
        result = station::Restore(sensor_, SetOf(old), false);
    }
    const MessagePair shown = outcome(result, old);
    if (!result.refused()) {
        state_.RecordOutcome(Operation::Load, result.ok(), shown, RestoreSubject(old));
    }
    if (result.apply.written()) {
        state_.MarkParametersChanged();
    } else if (!result.refused()) {
        state_.SensorOnline = false;
        state_.LastFactoryNumber = MainState::NoFactoryNumber;
    }
    state_.RefreshView();
    show(shown, result.ok() ? MessageIcon::Information : MessageIcon::Warning);
}

MessagePair ReplaceSensorFlow::outcome(const station::RestoreResult& result,
                                       const Event& old) const {
    const QString oldNumber = QString::fromStdString(old.factoryNumber);
    const QString connected = QString::fromStdString(sensor_[TSSICom::FactoryNumber].Reply);
    switch (result.misfit) {
        case station::Misfit::FirmwareType:
            return historytexts::filled(Message::OtherFirmwareType,
                                        {oldNumber, QString::number(old.firmwareVersion),
                                         QString::number(result.presentFirmware)});
        case station::Misfit::Model:
            return historytexts::filled(Message::OtherModel, {oldNumber});
        case station::Misfit::None:
            break;
    }
    if (!result.apply.written())
        return historytexts::filled(Message::ReplacementFailed, {oldNumber});
    const std::vector<station::Check> mismatches = result.apply.mismatches();
    if (mismatches.empty() && result.ok())
        return historytexts::filled(Message::ReplacementMatches, {oldNumber, connected});
    const TextPair lines = mismatchLines(mismatches);
    MessagePair differs = historytexts::filled(Message::ReplacementDiffers, {oldNumber, connected});
    differs.text.en = differs.text.en.arg(lines.en);
    differs.text.de = differs.text.de.arg(lines.de);
    return differs;
}

void ReplaceSensorFlow::show(const MessagePair& message, MessageIcon icon) {
    ShowPairedMessage(state_.dialogs(), state_.UiLanguage, message, MessageButtons::Ok, icon);
}

}  // namespace history
