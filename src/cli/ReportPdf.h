#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "report/Report.h"

class QGuiApplication;

namespace cli {

// The application object that laying out pages needs, for as long as it lives.
// Without a platform chosen in QT_QPA_PLATFORM it draws offscreen, so that
// varnelctl needs no display.
class GuiSession {
public:
    GuiSession();
    ~GuiSession();
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

private:
    std::unique_ptr<QGuiApplication> app_;
};

// Fills the request's template from the installed report folder and writes the
// report to `pdf`. Success, or FileFailure after naming the template or the file
// that failed; no file is written then.
int WriteReportPdf(const report::ReportRequest& request, const std::string& pdf, std::ostream& out,
                   std::ostream& err);

}  // namespace cli
