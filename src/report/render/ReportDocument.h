#pragma once

#include <QString>
#include <memory>
#include <string>

#include "OutputFile.h"

class QPagedPaintDevice;
class QTextDocument;

// Laying a filled report template out on A4 pages and sending it to a printer,
// a preview or a PDF file. Needs a QGuiApplication.
namespace report {

// DejaVu Sans, loaded from its installed file once, has every character the
// reports use (µ, ä, ö, ü, ß). The family to show them in.
QString ReportFontFamily();

// The document of a filled template in the report font.
std::unique_ptr<QTextDocument> MakeReportDocument(const std::string& html);

// A4 portrait with the report's margins.
void SetReportPage(QPagedPaintDevice& device);

// Lays the document out on the device's pages and paints it.
void PrintReport(const QTextDocument& document, QPagedPaintDevice& device);

// Writes the document as a PDF file; a failure leaves any existing file as it
// was. The PDF's title is the document's.
FileOutcome WritePdf(const QTextDocument& document, const QString& path);

}  // namespace report
