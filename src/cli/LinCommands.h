#pragma once

#include <ostream>
#include <string>

#include "Arguments.h"
#include "comm/Ssicom.h"

namespace cli {

// The lin command family on an open port: single entries, the factor, the
// start value and the text export of the whole table.
class LinCommands {
public:
    // `terminal`: progress goes to `err` as a bar redrawn in place; otherwise
    // as a plain line now and then.
    LinCommands(TSSICom& com, std::string port, std::ostream& out, std::ostream& err, bool terminal)
        : com_(com), port_(std::move(port)), out_(out), err_(err), terminal_(terminal) {}

    int run(const LinInvocation& lin);

private:
    int readEntry(int address, const char* what);
    int writeEntry(int address, int32_t value, const char* what);
    int start(const LinInvocation& lin);
    int exportTable(const LinInvocation& lin);
    int report(const LinInvocation& lin);
    void showProgress(int address);
    int failed(const std::string& what, const char* happened);

    TSSICom& com_;
    std::string port_;
    std::ostream& out_;
    std::ostream& err_;
    bool terminal_;
};

}  // namespace cli
