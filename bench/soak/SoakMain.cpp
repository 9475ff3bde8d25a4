// The fault soak: thousands of random sessions against the in-process
// simulated sensor on virtual time, with replies lost, corrupted, cut short,
// without their carriage return or with a zero byte, writes refused and the
// adapter unplugged for a while. After every operation the program's register
// table, its table image and the operation's success flag are held against the
// sensor's memory. Prints its figures and the seed of every session that
// failed; exits with 1 when a success was reported for a wrong write or an
// operation threw.
//
// Usage: bench_soak [--sessions N] [--seed S] [--trace]. Session i runs on seed
// S + i, so `--seed <seed of a failing session> --sessions 1` replays it;
// --trace prints every operation with its outcome, its faults and what differs.

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "bench/soak/SoakSession.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

constexpr long DefaultSessions = 10000;
constexpr uint64_t DefaultSeed = 1;

struct Options {
    long sessions = DefaultSessions;
    uint64_t seed = DefaultSeed;
    bool trace = false;
};

std::optional<Options> Parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--trace") {
            options.trace = true;
            continue;
        }
        if (i + 1 >= argc)
            return std::nullopt;
        char* end = nullptr;
        const unsigned long long value = std::strtoull(argv[++i], &end, 10);
        if (*end != '\0')
            return std::nullopt;
        if (name == "--sessions")
            options.sessions = long(value);
        else if (name == "--seed")
            options.seed = value;
        else
            return std::nullopt;
    }
    return options;
}

// The session in progress, ready to be written from a signal handler.
char crashLine[128] = "";

void WriteCrashLine() {
    const ssize_t written = write(STDERR_FILENO, crashLine, std::strlen(crashLine));
    (void)written;
}

void OnFatalSignal(int signal) {
    WriteCrashLine();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void WatchForCrashes() {
    for (const int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS})
        std::signal(signal, OnFatalSignal);
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(WriteCrashLine);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = Parse(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: bench_soak [--sessions N] [--seed S] [--trace]\n");
        return 2;
    }
    WatchForCrashes();
    const auto start = std::chrono::steady_clock::now();
    soak::Figures figures;
    for (long i = 0; i < options->sessions; ++i) {
        const uint64_t seed = options->seed + uint64_t(i);
        std::snprintf(crashLine, sizeof crashLine,
                      "bench_soak: crashed in the session of seed %llu (replay: --seed %llu "
                      "--sessions 1)\n",
                      static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
        figures.Add(soak::SoakSession(seed, options->trace ? stdout : nullptr).Run());
    }
    const double wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    figures.Print(stdout, options->seed, wallSeconds);
    return figures.Clean() ? 0 : 1;
}
