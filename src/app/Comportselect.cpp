#include "app/Comportselect.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "app/ComportselectTexts.h"
#include "ui/WaitCursor.h"

TComPortSelectForm::TComPortSelectForm(const std::vector<app::PortEntry>& entries,
                                       uint8_t uiLanguage, QWidget* parent,
                                       PortDialogServices services)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      uiLanguage_(uiLanguage),
      services_(std::move(services)) {
    setObjectName(QStringLiteral("ComPortSelectForm"));
    setWindowTitle(QStringLiteral("Varnel"));
    BuildControls();
    ApplyTexts();
    ShowPorts(entries);
}

void TComPortSelectForm::BuildControls() {
    label1_ = new QLabel(QStringLiteral("Please select an available COM-Port for the KYR-Varnel"));
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setWordWrap(true);

    comListe_ = new QListWidget;
    comListe_->setObjectName(QStringLiteral("ComListe"));
    comListe_->setToolTip(QStringLiteral("Select the COM-Port where the programmer is located"));

    searchStatus_ = new QLabel;
    searchStatus_->setObjectName(QStringLiteral("SearchStatus"));
    searchStatus_->setWordWrap(true);
    addressLabel_ = new QLabel;
    addressLabel_->setObjectName(QStringLiteral("AddressLabel"));
    addressEdit_ = new QLineEdit;
    addressEdit_->setObjectName(QStringLiteral("Address"));
    addressEdit_->setPlaceholderText(QStringLiteral("rfc2217://192.0.2.10:4001"));
    addressLabel_->setBuddy(addressEdit_);

    search_ = new QPushButton;
    search_->setObjectName(QStringLiteral("Search"));
    search_->setEnabled(static_cast<bool>(services_.tryPort));
    connect_ = new QPushButton(QStringLiteral("&Connect"));
    connect_->setObjectName(QStringLiteral("Connect"));
    // Connecting without a choice would store port 255.
    connect_->setEnabled(false);
    quit_ = new QPushButton(QStringLiteral("&Quit"));
    quit_->setObjectName(QStringLiteral("Quit"));

    auto* address = new QHBoxLayout;
    address->addWidget(addressLabel_);
    address->addWidget(addressEdit_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(search_);
    buttons->addWidget(connect_);
    buttons->addWidget(quit_);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(label1_);
    layout->addWidget(comListe_);
    layout->addWidget(searchStatus_);
    layout->addLayout(address);
    layout->addLayout(buttons);

    QObject::connect(comListe_, &QListWidget::itemClicked, this,
                     &TComPortSelectForm::ComListeClick);
    QObject::connect(comListe_, &QListWidget::itemDoubleClicked, this,
                     &TComPortSelectForm::ComListeDblClick);
    QObject::connect(addressEdit_, &QLineEdit::textChanged, this,
                     &TComPortSelectForm::UpdateConnect);
    QObject::connect(search_, &QPushButton::clicked, this, &TComPortSelectForm::SearchClick);
    QObject::connect(connect_, &QPushButton::clicked, this, &TComPortSelectForm::ConnectClick);
    QObject::connect(quit_, &QPushButton::clicked, this, &TComPortSelectForm::QuitClick);
}

void TComPortSelectForm::ApplyTexts() {
    const auto apply = [this](auto* control, const TextPair& pair) {
        if (auto text = pick(uiLanguage_, pair))
            control->setText(*text);
    };
    apply(label1_, comporttexts::request());
    apply(connect_, comporttexts::connectButton());
    apply(quit_, comporttexts::quitButton());
    apply(search_, comporttexts::searchButton());
    apply(addressLabel_, comporttexts::addressLabel());
}

void TComPortSelectForm::ShowPorts(const std::vector<app::PortEntry>& entries) {
    entries_ = entries;
    comListe_->clear();
    for (const auto& entry : entries) {
        auto* item = new QListWidgetItem(app::EntryText(entry), comListe_);
        if (!entry.devicePath.empty()) {
            item->setToolTip(
                app::PortToolTip(entry, services_.describe(entry.devicePath), uiLanguage_));
        }
    }
    QListWidgetItem* chosen = choice_ == app::NoChoice ? nullptr : ItemOf(choice_);
    if (chosen == nullptr)
        choice_ = app::NoChoice;
    comListe_->setCurrentItem(chosen);
    if (chosen == nullptr)
        comListe_->setCurrentRow(-1);
    UpdateConnect();
}

QListWidgetItem* TComPortSelectForm::ItemOf(uint8_t number) const {
    for (int row = 0; row < comListe_->count(); ++row) {
        if (app::ChoiceFromEntry(comListe_->item(row)->text()) == number)
            return comListe_->item(row);
    }
    return nullptr;
}

void TComPortSelectForm::UpdateConnect() {
    connect_->setEnabled(choice_ != app::NoChoice || !addressEdit_->text().trimmed().isEmpty());
}

void TComPortSelectForm::ShowLine(const TextPair& text) {
    if (auto line = pick(uiLanguage_, text))
        searchStatus_->setText(*line);
}

void TComPortSelectForm::ComListeClick(QListWidgetItem* item) {
    if (item == nullptr)
        return;
    choice_ = app::ChoiceFromEntry(item->text());
    UpdateConnect();
}

void TComPortSelectForm::ComListeDblClick(QListWidgetItem* item) {
    if (item == nullptr)
        return;
    ComListeClick(item);
    ConnectClick();
}

void TComPortSelectForm::ConnectClick() {
    if (!addressEdit_->text().trimmed().isEmpty()) {
        if (TakeAddress())
            done(ConnectResult);
        return;
    }
    if (choice_ == app::NoChoice)
        return;
    done(ConnectResult);
}

bool TComPortSelectForm::TakeAddress() {
    const QString text = addressEdit_->text().trimmed();
    if (!app::IsNetworkAddress(text)) {
        ShowLine(comporttexts::addressForm());
        return false;
    }
    if (choice_ == app::NoChoice || choice_ == TSerialCom::DemoPort)
        choice_ = FreeNumber();
    address_ = text;
    return true;
}

uint8_t TComPortSelectForm::FreeNumber() const {
    for (int number = 1; number <= platform::HighestListedPort; ++number) {
        const bool listed = std::any_of(entries_.begin(), entries_.end(),
                                        [number](const auto& e) { return e.number == number; });
        if (!listed)
            return static_cast<uint8_t>(number);
    }
    return app::NoChoice;
}

void TComPortSelectForm::QuitClick() {
    done(QuitResult);
}

void TComPortSelectForm::SearchClick() {
    if (!services_.tryPort)
        return;
    WaitCursor hourglass;
    std::vector<app::PortEntry> ports;
    std::copy_if(entries_.begin(), entries_.end(), std::back_inserter(ports),
                 [](const auto& e) { return e.number != TSerialCom::DemoPort; });
    QStringList found;
    QListWidgetItem* first = nullptr;
    for (size_t i = 0; i < ports.size(); ++i) {
        if (auto line = pick(uiLanguage_, comporttexts::searching())) {
            searchStatus_->setText(
                line->arg(app::EntryText(ports[i])).arg(i + 1).arg(ports.size()));
            searchStatus_->repaint();
        }
        const QString result = app::SearchResultLine(services_.tryPort(ports[i]), uiLanguage_);
        if (result.isEmpty())
            continue;
        found << result;
        if (first == nullptr)
            first = ItemOf(static_cast<uint8_t>(ports[i].number));
    }
    if (found.isEmpty())
        ShowLine(comporttexts::noSensorFound());
    else
        searchStatus_->setText(found.join('\n'));
    if (first != nullptr) {
        comListe_->setCurrentItem(first);
        ComListeClick(first);
    }
}
