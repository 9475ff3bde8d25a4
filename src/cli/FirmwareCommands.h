#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Arguments.h"
#include "OperationLog.h"
#include "firmware/FirmwareImage.h"
#include "firmware/Target.h"

class TSSICom;
namespace cli {
class InterruptFlag;
}
namespace platform {
class Clock;
}

namespace cli {

// varnelctl firmware: what a HEX file gives, the sensor's bootloader, and the
// update itself. Returns exit codes.
class FirmwareCommands {
public:
    // With a log, a flash that reached the sensor leaves its event.
    FirmwareCommands(std::ostream& out, std::ostream& err, bool terminal,
                     OperationLog* log = nullptr)
        : out_(out), err_(err), terminal_(terminal), log_(log) {}

    int inspect(const Invocation& invocation);
    int identify(TSSICom& com, platform::Clock& clock);
    // Asks on `answers` before writing unless the invocation says --yes.
    int flash(TSSICom& com, platform::Clock& clock, const Invocation& invocation,
              std::istream& answers);

private:
    bool identifyInto(TSSICom& com, platform::Clock& clock, firmware::TargetDescription& target);
    std::optional<std::string> readFile(const std::string& path);
    // The file's lines, refused before the sensor is touched when a line is broken.
    std::optional<std::vector<firmware::HexLine>> checkedLines(const std::string& path,
                                                               const std::string& text);
    std::optional<firmware::FirmwareImage> load(const std::string& path,
                                                const std::vector<firmware::HexLine>& lines,
                                                const firmware::TargetDescription& target);
    void reportImage(const firmware::FirmwareImage& image);
    bool confirmed(const Invocation& invocation, int pages, std::istream& answers);
    int flashChecked(TSSICom& com, platform::Clock& clock, const Invocation& invocation,
                     const std::vector<firmware::HexLine>& lines, std::istream& answers);
    int download(TSSICom& com, const firmware::FirmwareImage& image,
                 const firmware::TargetDescription& target, const InterruptFlag& interrupt);

    std::ostream& out_;
    std::ostream& err_;
    bool terminal_;
    OperationLog* log_;
};

}  // namespace cli
