#pragma once

#include <chrono>
#include <string>

#include "support/ChildProcess.h"

namespace testsupport {

// The text of a PDF file as pdftotext reads it, in reading order.
inline std::string PdfText(const std::string& pdf) {
    ChildProcess reader({VARNEL_PDFTOTEXT, "-enc", "UTF-8", pdf, "-"});
    reader.wait(std::chrono::seconds(30));
    return reader.out();
}

// The number of pictures in a PDF file, as pdfimages lists them.
inline int PdfImageCount(const std::string& pdf) {
    ChildProcess lister({VARNEL_PDFIMAGES, "-list", pdf});
    lister.wait(std::chrono::seconds(30));
    const std::string listing = lister.out();
    int lines = 0;
    for (const char c : listing)
        lines += c == '\n';
    return lines > 2 ? lines - 2 : 0;  // two lines of heading
}

}  // namespace testsupport
