#pragma once

#include <ostream>
#include <string>

#include "Arguments.h"
#include "OperationLog.h"
#include "comm/Ssicom.h"

namespace cli {

// The lin command family on an open port: single entries, the factor, the
// start value and the text export of the whole table.
class LinCommands {
public:
    // `terminal`: progress goes to `err` as a bar redrawn in place; otherwise
    // as a plain line now and then. With a log, the writes and the report's read
    // of the set and table leave their events.
    LinCommands(TSSICom& com, std::string port, std::ostream& out, std::ostream& err, bool terminal,
                OperationLog* log = nullptr)
        : com_(com), port_(std::move(port)), out_(out), err_(err), terminal_(terminal), log_(log) {}

    int run(const LinInvocation& lin);

private:
    int runAction(const LinInvocation& lin);
    int readEntry(int address, const char* what);
    int writeEntry(int address, int32_t value, const char* what);
    int start(const LinInvocation& lin);
    int exportTable(const LinInvocation& lin);
    int report(const LinInvocation& lin);
    void showProgress(int address);
    int failed(const std::string& what, const char* happened);
    int logged(history::Operation operation, int code, const std::string& subject,
               bool withSet = false, bool withLinTable = false);

    TSSICom& com_;
    std::string port_;
    std::ostream& out_;
    std::ostream& err_;
    bool terminal_;
    OperationLog* log_;
};

}  // namespace cli
