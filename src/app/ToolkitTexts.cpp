#include "app/ToolkitTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include "platform/TextRows.h"

ToolkitTexts::~ToolkitTexts() {
    if (installed_)
        QCoreApplication::removeTranslator(&german_);
}

void ToolkitTexts::Use(uint8_t uiLanguage) {
    const bool german = uiLanguage == kUiGerman;
    if (german == installed_)
        return;
    if (!german) {
        QCoreApplication::removeTranslator(&german_);
        installed_ = false;
        return;
    }
    if (german_.isEmpty() && !german_.load(QStringLiteral("qtbase_de"),
                                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    installed_ = QCoreApplication::installTranslator(&german_);
}
