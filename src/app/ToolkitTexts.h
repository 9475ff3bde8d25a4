#pragma once

#include <QTranslator>
#include <cstdint>

// The toolkit's own dialogs (file, print, print preview) speak the window's
// language: German loads Qt's German texts, any other language leaves Qt's English.
// Without Qt's translation files installed the dialogs stay English.
class ToolkitTexts {
public:
    ToolkitTexts() = default;
    ToolkitTexts(const ToolkitTexts&) = delete;
    ToolkitTexts& operator=(const ToolkitTexts&) = delete;
    ~ToolkitTexts();

    void Use(uint8_t uiLanguage);

private:
    QTranslator german_;
    bool installed_ = false;
};
