#pragma once

#include <cerrno>
#include <map>
#include <string>

#include "platform/SerialBackend.h"

// Several serial devices behind one backend: open and probe go to the backend
// of the device path, every other request to the one opened last. A path of
// `links` leads to the device path it names, as a symbolic link does. Paths
// without a backend do not exist.
class SwitchedBackend final : public platform::SerialBackend {
public:
    std::map<std::string, platform::SerialBackend*> devices;
    std::map<std::string, std::string> links;

    bool open(const std::string& devicePath, int baudRate, int timeoutMs) override {
        const std::string path = resolve(devicePath);
        platform::SerialBackend* device = find(path);
        const bool opened = device != nullptr && device->open(path, baudRate, timeoutMs);
        current_ = opened ? device : nullptr;
        return opened;
    }
    bool probe(const std::string& devicePath) override {
        const std::string path = resolve(devicePath);
        platform::SerialBackend* device = find(path);
        return device != nullptr && device->probe(path);
    }
    void close() override {
        if (current_ != nullptr)
            current_->close();
    }
    bool isOpen() const override { return current_ != nullptr && current_->isOpen(); }
    bool setRts(bool asserted) override {
        return current_ != nullptr && current_->setRts(asserted);
    }
    bool purge() override { return current_ != nullptr && current_->purge(); }
    bool read(uint8_t* buffer, size_t n, size_t& received) override {
        received = 0;
        return current_ != nullptr && current_->read(buffer, n, received);
    }
    bool write(const uint8_t* buffer, size_t n) override {
        return current_ != nullptr && current_->write(buffer, n);
    }
    const platform::SystemError& lastError() const override {
        return last_ != nullptr ? last_->lastError() : missing_;
    }

private:
    std::string resolve(const std::string& devicePath) const {
        const auto link = links.find(devicePath);
        return link != links.end() ? link->second : devicePath;
    }
    platform::SerialBackend* find(const std::string& devicePath) {
        const auto it = devices.find(devicePath);
        last_ = it != devices.end() ? it->second : nullptr;
        missing_ = {ENOENT, devicePath + ": No such file or directory"};
        return last_;
    }

    platform::SerialBackend* current_ = nullptr;
    platform::SerialBackend* last_ = nullptr;
    platform::SystemError missing_;
};
