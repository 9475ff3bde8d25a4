#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace e2e {

using namespace std::chrono_literals;
using SteadyTime = std::chrono::steady_clock;

inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline int64_t msSince(SteadyTime::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyTime::now() - start).count();
}

// One started program whose standard output and error go to files. The
// destructor ends it (SIGTERM, then SIGKILL) if it still runs.
class SpawnedProgram {
public:
    SpawnedProgram(const std::vector<std::string>& argv, const std::filesystem::path& outFile,
                   const std::filesystem::path& errFile)
        : outFile_(outFile), errFile_(errFile) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~SpawnedProgram() { stop(); }
    SpawnedProgram(const SpawnedProgram&) = delete;
    SpawnedProgram& operator=(const SpawnedProgram&) = delete;

    bool started() const { return pid_ > 0; }
    std::string out() const { return fileText(outFile_); }
    std::string err() const { return fileText(errFile_); }

    // The exit code, or nothing when the program still runs after `limit`.
    std::optional<int> wait(std::chrono::milliseconds limit) {
        const auto deadline = SteadyTime::now() + limit;
        while (pid_ > 0) {
            int status = 0;
            const pid_t done = waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                pid_ = -1;
                exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            } else if (done < 0 || SteadyTime::now() >= deadline) {
                break;
            } else {
                std::this_thread::sleep_for(5ms);
            }
        }
        return pid_ > 0 ? std::nullopt : exitCode_;
    }

    // The first line of standard output, once it is complete.
    std::optional<std::string> firstLine(std::chrono::milliseconds limit) {
        const auto deadline = SteadyTime::now() + limit;
        for (;;) {
            const std::string text = out();
            if (const auto end = text.find('\n'); end != std::string::npos) {
                return text.substr(0, end);
            }
            if (SteadyTime::now() >= deadline || wait(0ms).has_value())
                return std::nullopt;
            std::this_thread::sleep_for(10ms);
        }
    }

    void stop() {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGTERM);
        if (wait(5000ms))
            return;
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    std::optional<int> exitCode_;
    std::filesystem::path outFile_;
    std::filesystem::path errFile_;
};

}  // namespace e2e
