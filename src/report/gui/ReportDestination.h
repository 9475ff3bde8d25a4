#pragma once

#include <QDialog>
#include <cstdint>

class QPushButton;

namespace report {

// Asks where a report goes: to a printer, into the print preview or into a PDF
// file. Its result is a Destination; closing it cancels.
class ReportDestination : public QDialog {
    Q_OBJECT

public:
    enum Destination { Cancelled = QDialog::Rejected, Printer = 2, Preview, PdfFile };

    ReportDestination(QWidget* parent, uint8_t language);

    QPushButton* ToPrinter = nullptr;
    QPushButton* ToPreview = nullptr;
    QPushButton* ToPdf = nullptr;
    QPushButton* Cancel = nullptr;

private:
    QPushButton* addButton(const char* name, const QString& caption, int result);
};

}  // namespace report
