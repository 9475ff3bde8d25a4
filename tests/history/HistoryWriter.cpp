// Writes events with whole sets to the history at LOCATION until it is killed,
// and prints "ID SEED" once each one is committed.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "history/HistoryTesting.h"
#include "history/Location.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: history_writer LOCATION\n");
        return 2;
    }
    auto store = history::OpenStore(argv[1]);
    for (int seed = 1;; ++seed) {
        history::Event event = historytesting::FullEvent(seed);
        if (!store->record(event)) {
            std::fprintf(stderr, "%s\n", store->lastError().c_str());
            return 1;
        }
        const std::string line = std::to_string(event.id) + " " + std::to_string(seed) + "\n";
        if (write(STDOUT_FILENO, line.data(), line.size()) != ssize_t(line.size()))
            return 1;
    }
}
