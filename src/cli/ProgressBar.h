#pragma once

#include <ostream>

namespace cli {

// Progress of work that takes seconds: a bar redrawn in place on a terminal,
// otherwise one plain line at every tenth of the way.
class ProgressBar {
public:
    ProgressBar(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}

    void start(int total);
    void show(int done);
    // Ends the bar's line on a terminal.
    void finish();

private:
    std::ostream& out_;
    bool terminal_;
    int total_ = 0;
    int lastTenth_ = 0;
    bool drawn_ = false;
};

}  // namespace cli
