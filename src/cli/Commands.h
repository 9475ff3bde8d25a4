#pragma once

#include <csignal>
#include <optional>
#include <ostream>
#include <string>

#include "Arguments.h"
#include "OperationLog.h"
#include "RegisterInput.h"
#include "comm/Ssicom.h"

namespace cli {

struct StreamRequest;

// Runs one command on an open port. Results go to `out`; what went wrong goes
// to `err`, naming the register and what happened. Returns the exit code.
// With a log, every read of the set, write and commit leaves its event there.
class CommandRunner {
public:
    CommandRunner(TSSICom& com, std::string port, std::ostream& out, std::ostream& err,
                  OperationLog* log = nullptr);

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
    // readSet with its event in the log.
    int readSetLogged();
    // Reads the set, then streams as the request says or until `stop`.
    int stream(const StreamRequest& request, const volatile std::sig_atomic_t& stop);

private:
    int writeOne(TSSICom::RegisterIndex r, const RegisterInput& input);
    // Puts the event of an operation without a set read into the log.
    int logged(history::Operation operation, int code, const std::string& subject = {});
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
    OperationLog* log_;
};

}  // namespace cli
