#include "app/Comportselect.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ComportselectTexts.h"

TComPortSelectForm::TComPortSelectForm(const std::vector<app::PortEntry>& entries,
                                       uint8_t uiLanguage, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("ComPortSelectForm"));
    setWindowTitle(QStringLiteral("Varnel"));
    BuildControls(entries);
    ApplyTexts(uiLanguage);
    setFixedSize(sizeHint());
}

void TComPortSelectForm::BuildControls(const std::vector<app::PortEntry>& entries) {
    label1_ = new QLabel(QStringLiteral("Please select an available COM-Port for the KYR-Varnel"));
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setWordWrap(true);

    comListe_ = new QListWidget;
    comListe_->setObjectName(QStringLiteral("ComListe"));
    comListe_->setToolTip(QStringLiteral("Select the COM-Port where the programmer is located"));
    for (const auto& entry : entries) {
        auto* item = new QListWidgetItem(app::EntryText(entry), comListe_);
        if (!entry.devicePath.empty())
            item->setToolTip(QString::fromStdString(entry.devicePath));
    }
    comListe_->setCurrentRow(-1);

    connect_ = new QPushButton(QStringLiteral("&Connect"));
    connect_->setObjectName(QStringLiteral("Connect"));
    // Connecting without a choice would store port 255.
    connect_->setEnabled(false);
    quit_ = new QPushButton(QStringLiteral("&Quit"));
    quit_->setObjectName(QStringLiteral("Quit"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(connect_);
    buttons->addWidget(quit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1_);
    layout->addWidget(comListe_);
    layout->addLayout(buttons);

    QObject::connect(comListe_, &QListWidget::itemClicked, this,
                     &TComPortSelectForm::ComListeClick);
    QObject::connect(comListe_, &QListWidget::itemDoubleClicked, this,
                     &TComPortSelectForm::ComListeDblClick);
    QObject::connect(connect_, &QPushButton::clicked, this, &TComPortSelectForm::ConnectClick);
    QObject::connect(quit_, &QPushButton::clicked, this, &TComPortSelectForm::QuitClick);
}

void TComPortSelectForm::ApplyTexts(uint8_t uiLanguage) {
    if (auto text = pick(uiLanguage, comporttexts::request()))
        label1_->setText(*text);
    if (auto text = pick(uiLanguage, comporttexts::connectButton()))
        connect_->setText(*text);
    if (auto text = pick(uiLanguage, comporttexts::quitButton()))
        quit_->setText(*text);
}

void TComPortSelectForm::ComListeClick(QListWidgetItem* item) {
    if (item == nullptr)
        return;
    choice_ = app::ChoiceFromEntry(item->text());
    connect_->setEnabled(true);
}

void TComPortSelectForm::ComListeDblClick(QListWidgetItem* item) {
    if (item == nullptr)
        return;
    ComListeClick(item);
    ConnectClick();
}

void TComPortSelectForm::ConnectClick() {
    if (choice_ == app::NoChoice)
        return;
    done(ConnectResult);
}

void TComPortSelectForm::QuitClick() {
    done(QuitResult);
}
