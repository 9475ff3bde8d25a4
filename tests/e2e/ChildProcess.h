#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// A program started for a test: its stderr is read line by line.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], STDERR_FILENO);
            std::vector<char*> args;
            for (const auto& a : argv)
                args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            for (const auto& e : env)
                putenv(const_cast<char*>(e.c_str()));
            execv(args[0], args.data());
            _exit(127);
        }
        close(fds[1]);
        stderr_ = fds[0];
    }
    ~ChildProcess() {
        stop();
        if (stderr_ >= 0)
            close(stderr_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running() const { return pid_ > 0; }

    // The next stderr line, or nothing when none came within `timeout`.
    std::optional<std::string> nextLine(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            const auto end = buffer_.find('\n');
            if (end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !readSome(static_cast<int>(left.count())))
                return std::nullopt;
        }
    }

    // Reads lines until one contains `text`; false after `timeout`.
    bool waitFor(const std::string& text, std::chrono::milliseconds timeout,
                 std::vector<std::string>* seen = nullptr) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            auto line = nextLine(left);
            if (!line)
                return false;
            if (seen)
                seen->push_back(*line);
            if (line->find(text) != std::string::npos)
                return true;
        }
    }

    void stop(int signal = SIGTERM) {
        if (pid_ <= 0)
            return;
        kill(pid_, signal);
        int status = 0;
        for (int i = 0; i < 50 && waitpid(pid_, &status, WNOHANG) == 0; ++i)
            usleep(100000);
        if (waitpid(pid_, &status, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
        }
        pid_ = -1;
    }

private:
    bool readSome(int timeoutMs) {
        pollfd p{stderr_, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0)
            return false;
        char chunk[4096];
        const ssize_t n = read(stderr_, chunk, sizeof chunk);
        if (n <= 0)
            return false;
        buffer_.append(chunk, static_cast<size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int stderr_ = -1;
    std::string buffer_;
};
