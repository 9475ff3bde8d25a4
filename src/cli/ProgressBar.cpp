#include "ProgressBar.h"

#include <string>

namespace cli {

namespace {
constexpr int kBarWidth = 40;
}  // namespace

void ProgressBar::start(int total) {
    total_ = total > 0 ? total : 1;
    lastTenth_ = 0;
    drawn_ = false;
}

void ProgressBar::show(int done) {
    const int percent = int(int64_t(done) * 100 / total_);
    if (terminal_) {
        const int filled = int(int64_t(done) * kBarWidth / total_);
        out_ << "\r[" << std::string(size_t(filled), '#')
             << std::string(size_t(kBarWidth - filled), '.') << "] " << percent << "% " << done
             << "/" << total_ << " bytes" << std::flush;
        drawn_ = true;
        return;
    }
    if (percent / 10 > lastTenth_) {
        lastTenth_ = percent / 10;
        out_ << "progress " << percent << "% (" << done << " of " << total_ << " bytes)\n";
    }
}

void ProgressBar::finish() {
    if (drawn_)
        out_ << "\n";
    drawn_ = false;
}

}  // namespace cli
