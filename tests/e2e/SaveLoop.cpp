// Saves one kind of file through the programs' own code, for a test that kills
// it while it does.
//
//   save_loop KIND PATH old|new   save the old or the new content once
//   save_loop KIND PATH serve     for each line on standard input, start a worker
//                                 process that saves new, old, new ... until it is
//                                 killed; print its process id when it starts and
//                                 "ended <code>" when it has ended (128 + signal)
//
// KIND is kyr (a parameter file), lin (a linearization export) or settings
// (the settings file's COM-Port, written into the file at PATH as it is).
// Serving saves the start-up of a program for every kill.

#include <sys/wait.h>
#include <unistd.h>

#include <QString>
#include <cstdio>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "comm/SimLink.h"
#include "files/FileHeader.h"
#include "files/ParameterFile.h"
#include "linearization/LinExport.h"
#include "platform/AtomicFile.h"
#include "settings/Settings.h"

namespace {

using Save = std::function<bool(bool newContent)>;

// A full header and 37 values that differ between the two contents.
std::vector<uint8_t> parameterFile(bool newContent) {
    const std::string comment(files::LongestComment, newContent ? 'N' : 'o');
    files::ParameterFile file;
    file.header = files::BuildHeader("Varnel 5.3.6", comment).text;
    file.date = {2024, 5, 17};
    for (int i = 0; i < files::LargestValueCount; ++i)
        file.values.push_back(newContent ? -i * 1000 : i);
    return files::EncodeParameterFile(file);
}

std::string linearizationExport(bool newContent) {
    SimLink link;
    for (int address = 200; address <= 500; ++address) {
        const int value = newContent ? -(address % 97) : address % 89;
        link.sensor.setLinTableByte(address, static_cast<uint8_t>(value));
    }
    link.sensor.setLinTableByte(501, newContent ? 3 : 2);
    link.sensor.setWord("XA01F600", newContent ? 52000 : 51000);
    linearization::TableExport exporter(link.com, newContent ? 1 : 0);
    exporter.run(false, [](int, int8_t) {});
    return exporter.fileBytes().value_or(std::string());
}

bool saved(const platform::WriteResult& result) {
    if (!result.ok)
        std::fprintf(stderr, "%s\n", result.reason.c_str());
    return result.ok;
}

Save saverFor(const std::string& kind, const std::string& path) {
    if (kind == "kyr") {
        const std::vector<uint8_t> contents[] = {parameterFile(false), parameterFile(true)};
        return [=](bool newContent) {
            return saved(platform::WriteFileAtomically(path, contents[newContent]));
        };
    }
    if (kind == "lin") {
        const std::string contents[] = {linearizationExport(false), linearizationExport(true)};
        return [=](bool newContent) {
            return saved(platform::WriteFileAtomically(path, contents[newContent]));
        };
    }
    if (kind == "settings") {
        return [path](bool newContent) {
            try {
                SettingsStore(QString::fromStdString(path))
                    .writeInteger(SettingsStore::ComPort, newContent ? 7 : 3);
                return true;
            } catch (const SettingsError& error) {
                std::fprintf(stderr, "%s\n", error.what());
                return false;
            }
        };
    }
    return {};
}

[[noreturn]] void saveUntilKilled(const Save& save) {
    for (bool newContent = true;; newContent = !newContent) {
        if (!save(newContent))
            _exit(1);
    }
}

int serve(const Save& save) {
    for (std::string line; std::getline(std::cin, line);) {
        std::fflush(stdout);
        const pid_t worker = fork();
        if (worker == 0)
            saveUntilKilled(save);
        if (worker < 0)
            return 1;
        std::printf("%d\n", int(worker));
        std::fflush(stdout);
        int status = 0;
        waitpid(worker, &status, 0);
        std::printf("ended %d\n", WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: save_loop kyr|lin|settings PATH old|new|serve\n");
        return 2;
    }
    const std::string mode = argv[3];
    const Save save = saverFor(argv[1], argv[2]);
    if (!save) {
        std::fprintf(stderr, "save_loop: unknown kind %s\n", argv[1]);
        return 2;
    }
    if (mode == "serve")
        return serve(save);
    return save(mode == "new") ? 0 : 1;
}
