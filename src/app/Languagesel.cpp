#include "app/Languagesel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Texts.h"

TLanguageSelect::TLanguageSelect(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("LanguageSelect"));
    setWindowTitle(QStringLiteral("Language Selection"));

    auto* prompt = new QLabel(QStringLiteral("Please select your language:"), this);
    prompt->setObjectName(QStringLiteral("PromptLabel"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addChoice(QStringLiteral("English"), "EnglishButton", kUiEnglish));
    buttons->addWidget(addChoice(QStringLiteral("Deutsch"), "DeutschButton", kUiGerman));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The dialog's result is the language itself, so a rejected dialog (Escape, or
// closed by the window manager) reads as English.
uint8_t TLanguageSelect::selectedLanguage() const {
    return result() == kUiGerman ? kUiGerman : kUiEnglish;
}

QPushButton* TLanguageSelect::addChoice(const QString& caption, const char* objectName,
                                        uint8_t language) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(objectName));
    connect(button, &QPushButton::clicked, this, [this, language] { done(language); });
    return button;
}
