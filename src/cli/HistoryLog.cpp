#include "HistoryLog.h"

#include <sstream>
#include <utility>

#include "settings/Settings.h"

namespace cli {

std::optional<std::string> historyLocation(const std::optional<std::string>& option,
                                           std::string& problem) {
    if (option)
        return *option;
    try {
        SettingsStore settings;
        settings.load();
        return settings.readText(SettingsStore::HistoryDatabase).toStdString();
    } catch (const SettingsError& error) {
        problem = error.what();
        return std::nullopt;
    }
}

history::Origin programOrigin() {
    return history::ThisAccount("varnelctl", VARNEL_BUILD_VERSION);
}

// Lines drawn over in place are progress, not a message.
std::string MessageCapture::take() {
    std::istringstream lines(kept_);
    kept_.clear();
    std::string text;
    for (std::string line; std::getline(lines, line);) {
        if (line.find('\r') == std::string::npos)
            text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}

int MessageCapture::overflow(int c) {
    if (c == traits_type::eof())
        return traits_type::not_eof(c);
    const char character = traits_type::to_char_type(c);
    kept_ += character;
    target_.put(character);
    return c;
}

std::streamsize MessageCapture::xsputn(const char* s, std::streamsize n) {
    kept_.append(s, size_t(n));
    target_.write(s, n);
    return n;
}

HistoryLog::HistoryLog(history::HistoryStore* store, std::ostream& warnings)
    : recorder_(store, programOrigin()), recording_(store != nullptr), warnings_(warnings) {}

void HistoryLog::attach(TSSICom& sensor, std::string port, MessageCapture* messages) {
    sensor_ = &sensor;
    port_ = std::move(port);
    messages_ = messages;
}

void HistoryLog::done(history::Operation operation, bool ok, const std::string& subject,
                      bool withSet, bool withLinTable, const std::string& message) {
    const std::string printed = messages_ != nullptr ? messages_->take() : std::string();
    // Without a history the sensor is asked nothing more.
    if (sensor_ == nullptr || !recording_)
        return;
    if (!withSet && !(*sensor_)[TSSICom::FactoryNumber].Answered)
        sensor_->ReadRegister(TSSICom::FactoryNumber);
    const std::string reason = message.empty() ? printed : message;
    recorder_.record(*sensor_, port_, operation, ok, ok ? std::string() : reason, subject, withSet,
                     withLinTable);
    warnOnce();
}

void HistoryLog::warnOnce() {
    if (warned_ || recorder_.problem().empty())
        return;
    warned_ = true;
    // The store's reason names the database.
    warnings_ << "varnelctl: warning: " << recorder_.problem()
              << "; the work on the sensor goes on without its history\n";
}

}  // namespace cli
