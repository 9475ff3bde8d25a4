#pragma once

#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/FileText.h"
#include "support/LoopbackPort.h"

namespace testsupport {

// A PostgreSQL server of its own: a cluster in a temporary folder, listening
// on a free loopback port with its socket and its log in that folder, stopped
// and removed when this object goes. The server refuses to run as root, so under root it
// runs as Debian's `postgres` account. Nothing runs when the server programs
// are missing; problem() then says so.
class PostgresServer {
public:
    // `durable` keeps fsync on, for figures that mean something; tests leave it off.
    explicit PostgresServer(bool durable = false) {
        bin_ = BinDir();
        if (bin_.empty()) {
            problem_ = "the PostgreSQL server programs (initdb, postgres) are not installed";
            return;
        }
        if (!makeFolder())
            return;
        if (!run(asServerUser({bin_ + "/initdb", "-D", data(), "-U", kUser, "-A", "trust", "-E",
                               "UTF8", "--locale=C", "--no-sync"}),
                 "initdb"))
            return;
        port_ = FreeLoopbackPort();
        std::string options = "-h 127.0.0.1 -p " + std::to_string(port_) + " -k " + socketDir();
        if (!durable)
            options += " -c fsync=off";
        running_ = run(asServerUser({bin_ + "/pg_ctl", "start", "-w", "-t", "60", "-D", data(),
                                     "-l", folder_ + "/server.log", "-o", options}),
                       "the PostgreSQL server did not start: pg_ctl");
        if (!running_)
            problem_ += FileText(folder_ + "/server.log");
    }
    ~PostgresServer() {
        if (running_)
            run(asServerUser({bin_ + "/pg_ctl", "stop", "-D", data(), "-m", "fast", "-w"}),
                "pg_ctl stop");
        if (!folder_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(folder_, ignored);
        }
    }
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // The newest installed server's programs, or empty.
    static std::string BinDir() {
        std::string best;
        int bestVersion = -1;
        std::error_code ignored;
        for (const auto& entry :
             std::filesystem::directory_iterator("/usr/lib/postgresql", ignored)) {
            const auto bin = entry.path() / "bin";
            const int version = std::atoi(entry.path().filename().c_str());
            if (std::filesystem::exists(bin / "initdb") &&
                std::filesystem::exists(bin / "postgres") && version > bestVersion) {
                best = bin.string();
                bestVersion = version;
            }
        }
        return best;
    }

    bool running() const { return running_; }
    const std::string& problem() const { return problem_; }
    int port() const { return port_; }

    // A new, empty database on the server, as a location for the history.
    std::string createDatabase(const std::string& name) {
        if (!run({bin_ + "/createdb", "-h", "127.0.0.1", "-p", std::to_string(port_), "-U", kUser,
                  name},
                 "createdb"))
            return {};
        return "postgresql://" + std::string(kUser) + "@127.0.0.1:" + std::to_string(port_) + "/" +
               name;
    }

private:
    static constexpr const char* kUser = "varnel";

    std::string data() const { return folder_ + "/data"; }
    std::string socketDir() const { return folder_ + "/socket"; }

    bool makeFolder() {
        char pattern[] = "/tmp/varnel-postgres-XXXXXX";
        if (!mkdtemp(pattern)) {
            problem_ = "no temporary folder for the PostgreSQL server";
            return false;
        }
        folder_ = pattern;
        std::filesystem::create_directory(socketDir());
        if (geteuid() != 0)
            return true;
        const passwd* account = getpwnam("postgres");
        if (!account) {
            problem_ = "the server refuses root, and there is no postgres account to run it";
            return false;
        }
        for (const std::string& path : {folder_, socketDir()}) {
            if (chown(path.c_str(), account->pw_uid, account->pw_gid) != 0) {
                problem_ = "cannot give " + path + " to the postgres account";
                return false;
            }
        }
        return true;
    }

    std::vector<std::string> asServerUser(std::vector<std::string> argv) const {
        if (geteuid() == 0)
            argv.insert(argv.begin(), {"/usr/sbin/runuser", "-u", "postgres", "--"});
        return argv;
    }

    bool run(const std::vector<std::string>& argv, const std::string& what) {
        ChildProcess program(argv);
        const auto code = program.wait(std::chrono::seconds(120));
        if (code == 0)
            return true;
        problem_ = what + " failed: " + program.err() + program.out();
        return false;
    }

    std::string bin_;
    std::string folder_;
    int port_ = 0;
    bool running_ = false;
    std::string problem_;
};

}  // namespace testsupport
