#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// A program started for a test, with its standard output and error on pipes that
// are read while it runs, so it never blocks on a full pipe. Its standard input is
// empty, or a pipe the test writes to. The destructor ends it (SIGTERM, then
// SIGKILL) if it still runs.
class ChildProcess {
public:
    using Clock = std::chrono::steady_clock;
    enum class Input { None, Pipe };

    // `env` holds NAME=value entries added to the inherited environment.
    explicit ChildProcess(const std::vector<std::string>& argv,
                          const std::vector<std::string>& env = {}, Input input = Input::None) {
        int out[2];
        int err[2];
        int in[2] = {-1, -1};
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
            return;
        if (input == Input::Pipe) {
            // A write to a program that has ended fails instead of ending the test.
            ::signal(SIGPIPE, SIG_IGN);
            if (pipe2(in, O_CLOEXEC) != 0)
                return;
        }
        pid_ = fork();
        if (pid_ == 0)
            execute(argv, env, in[0], out[1], err[1]);
        close(out[1]);
        close(err[1]);
        if (in[0] >= 0)
            close(in[0]);
        input_ = in[1];
        out_.fd = out[0];
        err_.fd = err[0];
    }
    ~ChildProcess() {
        closeInput();
        stop();
        for (const Stream* stream : {&out_, &err_}) {
            if (stream->fd >= 0)
                close(stream->fd);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // Everything the program has written so far.
    std::string out() {
        drain(0);
        return out_.text;
    }
    std::string err() {
        drain(0);
        return err_.text;
    }

    // The next complete line of standard output or error, or nothing after `limit`.
    std::optional<std::string> outputLine(std::chrono::milliseconds limit) {
        return nextLine(out_, limit);
    }
    std::optional<std::string> errorLine(std::chrono::milliseconds limit) {
        return nextLine(err_, limit);
    }

    // Takes error lines until one contains `text`; false after `limit`.
    bool waitForError(const std::string& text, std::chrono::milliseconds limit,
                      std::vector<std::string>* seen = nullptr) {
        const auto deadline = Clock::now() + limit;
        while (auto line = nextLine(err_, remaining(deadline))) {
            if (seen)
                seen->push_back(*line);
            if (line->find(text) != std::string::npos)
                return true;
        }
        return false;
    }

    // Writes to the program's standard input (Input::Pipe); false when it cannot.
    bool send(const std::string& text) {
        size_t done = 0;
        while (input_ >= 0 && done < text.size()) {
            const ssize_t n = ::write(input_, text.data() + done, text.size() - done);
            if (n <= 0)
                return false;
            done += size_t(n);
        }
        return input_ >= 0;
    }
    void closeInput() {
        if (input_ >= 0)
            close(input_);
        input_ = -1;
    }

    void signal(int number) {
        if (pid_ > 0)
            kill(pid_, number);
    }

    // The exit code (128 + signal when killed), or nothing while it still runs after `limit`.
    std::optional<int> wait(std::chrono::milliseconds limit) {
        const auto deadline = Clock::now() + limit;
        while (pid_ > 0) {
            int status = 0;
            const pid_t done = waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                pid_ = -1;
                exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            } else if (done < 0 || Clock::now() >= deadline) {
                break;
            } else {
                drain(5);
            }
        }
        drain(0);
        return pid_ > 0 ? std::nullopt : exitCode_;
    }

    void stop() {
        if (pid_ <= 0)
            return;
        signal(SIGTERM);
        if (wait(std::chrono::seconds(5)))
            return;
        signal(SIGKILL);
        wait(std::chrono::seconds(5));
    }

private:
    struct Stream {
        int fd = -1;
        std::string text;
        size_t taken = 0;  // characters already handed out as lines
    };

    [[noreturn]] static void execute(const std::vector<std::string>& argv,
                                     const std::vector<std::string>& env, int in, int out,
                                     int err) {
        dup2(in >= 0 ? in : open("/dev/null", O_RDONLY), STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        for (const auto& entry : env)
            putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }

    static std::chrono::milliseconds remaining(Clock::time_point deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        return std::max(left, std::chrono::milliseconds(0));
    }

    std::optional<std::string> nextLine(Stream& stream, std::chrono::milliseconds limit) {
        const auto deadline = Clock::now() + limit;
        for (;;) {
            const auto end = stream.text.find('\n', stream.taken);
            if (end != std::string::npos) {
                std::string line = stream.text.substr(stream.taken, end - stream.taken);
                stream.taken = end + 1;
                return line;
            }
            const auto left = remaining(deadline);
            if (left.count() == 0 || !drain(static_cast<int>(left.count())))
                return std::nullopt;
        }
    }

    // Waits up to `timeoutMs` for output and reads all there is; false when none came.
    bool drain(int timeoutMs) {
        pollfd fds[] = {{out_.fd, POLLIN, 0}, {err_.fd, POLLIN, 0}};
        if (poll(fds, 2, timeoutMs) <= 0)
            return false;
        bool got = false;
        for (int i = 0; i < 2; ++i) {
            Stream& stream = i == 0 ? out_ : err_;
            if (fds[i].revents & (POLLIN | POLLHUP))
                got = readAvailable(stream) || got;
        }
        return got;
    }

    static bool readAvailable(Stream& stream) {
        char chunk[4096];
        const ssize_t n = ::read(stream.fd, chunk, sizeof chunk);
        if (n <= 0)
            return false;
        stream.text.append(chunk, static_cast<size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int input_ = -1;
    std::optional<int> exitCode_;
    Stream out_;
    Stream err_;
};

}  // namespace testsupport
