#include "ReportPdf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include "ExitCode.h"
#include "report/Template.h"
#include "report/TemplateFiles.h"
#include "report/render/ReportDocument.h"

namespace cli {

namespace {

int argc = 1;
char programName[] = "varnelctl";
char* argv[] = {programName, nullptr};

}  // namespace

GuiSession::GuiSession() {
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QGuiApplication>(argc, argv);
    // The per-user folder of the desktop program.
    QCoreApplication::setOrganizationName(QStringLiteral("KYR"));
    QCoreApplication::setApplicationName(QStringLiteral("varnel"));
}

GuiSession::~GuiSession() = default;

int WriteReportPdf(const report::ReportRequest& request, const std::string& pdf, std::ostream& out,
                   std::ostream& err) {
    const report::LoadedTemplate loaded =
        report::LoadTemplate(report::ReportsFolder() / request.templateName);
    if (loaded.failure) {
        err << report::FailureText(loaded, kUiEnglish) << "\n";
        return FileFailure;
    }
    const auto document =
        report::MakeReportDocument(report::FillTemplate(loaded.text, request.parameters));
    const QString path = QString::fromStdString(pdf);
    const report::FileOutcome outcome = report::WritePdf(*document, path);
    if (!outcome.written) {
        err << pdf << ": " << outcome.reason.toStdString() << "\n";
        return FileFailure;
    }
    out << "Report written to " << pdf << "\n";
    return Success;
}

}  // namespace cli
