#include "cli/Program.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/Arguments.h"
#include "support/TempHome.h"

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

Outcome run(cli::Command command, const std::string& port = {}) {
    cli::Invocation invocation;
    invocation.command = command;
    invocation.port = port;
    invocation.key = TSSICom::BitWidth;
    std::ostringstream out;
    std::ostringstream err;
    const int code = cli::execute(invocation, out, err);
    return {code, out.str(), err.str()};
}

// A port number reaches the device the desktop program's settings map it to.
TEST(ProgramSettings, PortNumbersFollowThePortMap) {
    TempHome home;
    home.writeSettings(
        R"({"Language": 1, "PortMap": {"7": "/dev/null", "9": "/tmp/varnel-none"}})");
    const Outcome ports = run(cli::Command::Ports);
    EXPECT_EQ(ports.exitCode, 0) << ports.err;
    EXPECT_NE(ports.out.find("COM7\t/dev/null\n"), std::string::npos) << ports.out;
    EXPECT_EQ(ports.out.find("COM9"), std::string::npos) << ports.out;

    for (const char* port : {"9", "COM9", "com9"}) {
        const Outcome get = run(cli::Command::Get, port);
        EXPECT_EQ(get.exitCode, 1) << port;
        EXPECT_EQ(get.err.rfind("COM9: Cannot open /tmp/varnel-none: ", 0), 0u) << get.err;
    }
}

TEST(ProgramSettings, ABrokenSettingsFileIsAnErrorNamingIt) {
    TempHome home;
    const std::string path = home.settingsPath().toStdString();
    for (const char* content : {R"({"PortMap": {"7": 3}})", R"({"PortMap": "x"})", "{broken"}) {
        home.writeSettings(content);
        for (const auto& outcome : {run(cli::Command::Ports), run(cli::Command::Get, "COM7")}) {
            EXPECT_EQ(outcome.exitCode, 1) << content;
            EXPECT_NE(outcome.err.find(path), std::string::npos) << outcome.err;
            EXPECT_EQ(outcome.out, "");
        }
        // A device path needs no settings: the command goes on, and without its
        // history when the file is no JSON at all.
        const bool unreadable = std::string(content) == "{broken";
        const Outcome byPath = run(cli::Command::Get, "/tmp/varnel-none");
        EXPECT_EQ(byPath.err.find(path) != std::string::npos, unreadable) << byPath.err;
        EXPECT_EQ(byPath.err.find("; nothing is recorded in the history\n") != std::string::npos,
                  unreadable)
            << byPath.err;
        EXPECT_NE(byPath.err.find("Cannot open /tmp/varnel-none: "), std::string::npos)
            << byPath.err;
    }
}

TEST(Program, HelpPrintsTheUsageOfTheCommandAskedAbout) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"stream", "--help"}, std::vector<std::string>{"--help"}}) {
        const cli::ParseResult parsed = cli::parseArguments(args);
        ASSERT_TRUE(parsed.invocation) << parsed.error;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(cli::execute(*parsed.invocation, out, err), 0);
        const bool whole = args.size() == 1;
        EXPECT_EQ(out.str(), whole ? cli::usageText() : parsed.invocation->helpText);
        EXPECT_EQ(out.str().find("--duration S ") != std::string::npos, !whole) << out.str();
        EXPECT_EQ(err.str(), "");
    }
}

}  // namespace
