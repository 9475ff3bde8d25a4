#pragma once

#include <csignal>
#include <optional>
#include <ostream>
#include <string>

#include "Arguments.h"
#include "RegisterInput.h"
#include "comm/Ssicom.h"

namespace cli {

struct StreamRequest;

// Runs one command on an open port. Results go to `out`; what went wrong goes
// to `err`, naming the register and what happened. Returns the exit code.
class CommandRunner {
public:
    CommandRunner(TSSICom& com, std::string port, std::ostream& out, std::ostream& err);

    int run(const Invocation& invocation, const std::optional<RegisterInput>& input);

    int read(bool json);
    int get(TSSICom::RegisterIndex r);
    int set(TSSICom::RegisterIndex r, const RegisterInput& input);
    int commit();
    int wake();
    // Reads the whole set as read does, then writes the sensor report as a PDF file.
    int report(const std::string& pdf, uint8_t language);
    // Reads the firmware version, then the whole set; Success or the exit code of
    // a failure, which it has reported.
    int readSet();
    // Reads the set, then streams as the request says or until `stop`.
    int stream(const StreamRequest& request, const volatile std::sig_atomic_t& stop);

private:
    bool readFirmware();
    bool readOne(TSSICom::RegisterIndex r);
    int noAnswer(TSSICom::RegisterIndex r);
    int portLost();
    int writeFailed(TSSICom::RegisterIndex r, const std::string& wanted);
    void reportWritten(TSSICom::RegisterIndex r);

    TSSICom& com_;
    std::string port_;
    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace cli
