#include "report/gui/ReportPrinter.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

#include "comm/Ssicom.h"
#include "report/SensorReport.h"
#include "report/Template.h"
#include "report/TemplateFiles.h"
#include "report/gui/ReportDestination.h"
#include "report/render/ReportDocument.h"
#include "ui/Dialogs.h"
#include "ui/MainState.h"
#include "ui/PairedMessage.h"
#include "ui/Texts.h"
#include "ui/WaitCursor.h"

namespace report {

namespace {

constexpr char PdfSuffix[] = "pdf";

}  // namespace

ReportPrinter::ReportPrinter(QWidget& window, MainState& state, const TSSICom& sensor,
                             QString programTitle, std::filesystem::path reportsFolder)
    : window_(window),
      state_(state),
      sensor_(sensor),
      programTitle_(std::move(programTitle)),
      reportsFolder_(std::move(reportsFolder)) {}

void ReportPrinter::PrintClick() {
    const uint8_t language = state_.UiLanguage;
    Print({SensorTemplate(language), language,
           SensorReportParameters(sensor_.Parameters(), language, programTitle_.toStdString())});
}

void ReportPrinter::Print(const ReportRequest& request) {
    const std::unique_ptr<QTextDocument> report = document(request);
    if (!report)
        return;
    ReportDestination destination(&window_, state_.UiLanguage);
    switch (state_.dialogs().execDialog(destination)) {
        case ReportDestination::Printer:
            toPrinter(*report);
            break;
        case ReportDestination::Preview:
            toPreview(*report);
            break;
        case ReportDestination::PdfFile:
            toPdf(*report);
            break;
        default:
            break;
    }
}

std::unique_ptr<QTextDocument> ReportPrinter::document(const ReportRequest& request) {
    const LoadedTemplate loaded = LoadTemplate(reportsFolder_ / request.templateName);
    if (loaded.failure) {
        show(*loaded.failure, QString::fromStdString(loaded.path.string()));
        return nullptr;
    }
    return MakeReportDocument(FillTemplate(loaded.text, request.parameters));
}

void ReportPrinter::toPrinter(const QTextDocument& document) {
    QPrinter printer(QPrinter::HighResolution);
    SetReportPage(printer);
    QPrintDialog dialog(&printer, &window_);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (state_.dialogs().execDialog(dialog) != QDialog::Accepted)
        return;
    WaitCursor wait;
    PrintReport(document, printer);
}

void ReportPrinter::toPreview(const QTextDocument& document) {
    QPrinter printer(QPrinter::HighResolution);
    SetReportPage(printer);
    QPrintPreviewDialog preview(&printer, &window_);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&document](QPrinter* target) { PrintReport(document, *target); });
    state_.dialogs().execDialog(preview);
}

void ReportPrinter::toPdf(const QTextDocument& document) {
    const uint8_t language = state_.UiLanguage;
    const QString path = state_.dialogs().saveFileName({TextIn(language, Row(Text::PdfFileCaption)),
                                                        TextIn(language, Row(Text::PdfFileFilter)),
                                                        QString(), QString::fromLatin1(PdfSuffix)});
    if (path.isEmpty())
        return;
    WaitCursor wait;
    const FileOutcome outcome = WritePdf(document, path);
    if (!outcome.written)
        show(Message::PdfNotWritten, path + QStringLiteral("\n") + outcome.reason);
}

void ReportPrinter::show(Message id, const QString& appended) {
    ShowPairedMessage(state_.dialogs(), state_.UiLanguage, WithAppended(PairOf(Row(id)), appended),
                      MessageButtons::Ok, MessageIcon::Error);
}

}  // namespace report
