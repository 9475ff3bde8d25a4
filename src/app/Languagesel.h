#pragma once

#include <QDialog>
#include <cstdint>

class QPushButton;

// Asked on the first start: the user picks the interface language. Its texts
// are the same in both languages.
class TLanguageSelect : public QDialog {
    Q_OBJECT

public:
    explicit TLanguageSelect(QWidget* parent = nullptr);

    // The chosen UiLanguage; English unless "Deutsch" was pressed.
    uint8_t selectedLanguage() const;

private:
    QPushButton* addChoice(const QString& caption, const char* objectName, uint8_t language);
};
