#pragma once

#include <QString>
#include <filesystem>
#include <memory>

#include "report/Report.h"
#include "report/ReportTexts.h"
#include "report/TemplateFiles.h"

class MainState;
class QTextDocument;
class QWidget;
class TSSICom;

namespace report {

// Prints the reports: fills a report's template and sends it to a printer, the
// print preview or a PDF file, as the user chooses. Every dialog goes through
// the Dialogs seam.
class ReportPrinter {
public:
    // The dialogs open over `window`.
    ReportPrinter(QWidget& window, MainState& state, const TSSICom& sensor, QString programTitle,
                  std::filesystem::path reportsFolder = ReportsFolder());

    // The main window's Print command: the sensor report of the register table
    // as the parameter view shows it.
    void PrintClick();
    // A missing or unreadable template is a message naming it, and nothing is printed.
    void Print(const ReportRequest& request);

private:
    std::unique_ptr<QTextDocument> document(const ReportRequest& request);
    void toPrinter(const QTextDocument& document);
    void toPreview(const QTextDocument& document);
    void toPdf(const QTextDocument& document);
    void show(Message id, const QString& appended);

    QWidget& window_;
    MainState& state_;
    const TSSICom& sensor_;
    QString programTitle_;
    std::filesystem::path reportsFolder_;
};

}  // namespace report
