#include "cli/LinCommands.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sstream>

#include "cli/Arguments.h"
#include "comm/SimLink.h"

namespace {

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

class LinCommandsTest : public ::testing::Test {
protected:
    Outcome run(const std::vector<std::string>& args) {
        std::vector<std::string> full{"lin"};
        full.insert(full.end(), args.begin(), args.end());
        full.insert(full.end(), {"--port", "COM1"});
        const cli::ParseResult parsed = cli::parseArguments(full);
        EXPECT_TRUE(parsed.invocation && parsed.invocation->lin) << parsed.error;
        if (!parsed.invocation || !parsed.invocation->lin)
            return {-1, {}, parsed.error};
        link.sensor.clearTraffic();
        std::ostringstream out;
        std::ostringstream err;
        const int code =
            cli::LinCommands(link.com, "COM1", out, err, false).run(*parsed.invocation->lin);
        return {code, out.str(), err.str()};
    }
    // The commands after the firmware read.
    std::vector<std::string> sent() const {
        auto commands = link.commands();
        commands.erase(commands.begin());
        return commands;
    }

    SimLink link;
};

TEST_F(LinCommandsTest, EachCommandSendsItsTableCommandAndPrintsTheSignedResult) {
    struct Case {
        std::vector<std::string> args;
        std::string firstCommand;
        std::string out;
    };
    link.sensor.setLinTableByte(300, 0xF6);
    link.sensor.setLinTableByte(501, 200);
    link.sensor.setWord("XA01F600", 51000);
    for (const Case& c : {
             Case{{"get", "300"}, "XA012C00", "-10\n"},
             Case{{"factor"}, "XA01F500", "-56\n"},
             Case{{"start"}, "XA01F600", "51000\n"},
             Case{{"set", "500", "-10"}, "XN01F400F6", "entry 500 = -10\n"},
             Case{{"factor", "3"}, "XN01F50003", "factor 501 = 3\n"},
             Case{{"start", "-1000"},
                  "XN33FFFC18",
                  "LinStartValue = -1000 (not yet committed: "
                  "run varnelctl commit to keep it)\n"},
         }) {
        SCOPED_TRACE(c.args[0]);
        const Outcome outcome = run(c.args);
        EXPECT_EQ(outcome.code, 0) << outcome.err;
        ASSERT_FALSE(sent().empty());
        EXPECT_EQ(sent().front(), c.firstCommand);
        EXPECT_EQ(outcome.out, c.out);
    }
    EXPECT_EQ(link.sensor.linTableByte(500), 0xF6);
    EXPECT_EQ(link.sensor.linTableByte(501), 3);
    EXPECT_EQ(link.sensor.linStartValue(), -1000);
}

TEST_F(LinCommandsTest, FailuresEndWithExitCodeOneAndSayWhatFailed) {
    QTemporaryDir folder;
    link.sensor.faults().refusedCommands = {"XN012C"};
    const Outcome refused = run({"set", "300", "5"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err, "entry 300: the sensor on COM1 did not confirm the write\n");

    link.sensor.faults().wrongLinAddress = true;
    const Outcome wrongEcho = run({"get", "300"});
    EXPECT_EQ(wrongEcho.code, 1);
    EXPECT_EQ(sent(), std::vector<std::string>{"XA012C00"});
    link.sensor.faults().wrongLinAddress = false;

    const QString missing = folder.filePath(QStringLiteral("missing/t.txt"));
    const Outcome unwritable = run({"export", missing.toStdString()});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_EQ(unwritable.err.rfind("read 100 of 301 entries\n", 0), 0u);
    EXPECT_NE(unwritable.err.find(missing.toStdString() + ": "), std::string::npos);

    const QString written = folder.filePath(QStringLiteral("t.txt"));
    const Outcome exported = run({"export", written.toStdString(), "--lang", "de"});
    EXPECT_EQ(exported.code, 0) << exported.err;
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("Linearisierungsfaktor = "));
    EXPECT_EQ(bytes.count('\n'), 304);
}

constexpr char kLangOnlyForSome[] =
    "--lang applies only to report, apply, station, lin export and lin report";
constexpr char kPdfOnlyForReports[] = "--pdf applies only to report and lin report";

TEST(LinArguments, OperandsOutsideTheirRangesAreUsageErrors) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    for (const Case& c : {
             Case{{"lin"}, "lin needs get, set, factor, start, export or report"},
             Case{{"lin", "dump"}, "unknown lin command 'dump'"},
             Case{{"lin", "get", "199"}, "ADDR must be an integer from 200 to 500"},
             Case{{"lin", "set", "501", "1"}, "ADDR must be an integer from 200 to 500"},
             Case{{"lin", "set", "300", "256"}, "VALUE must be an integer from -128 to 255"},
             Case{{"lin", "start", "8388608"}, "VALUE must be an integer from -8388608 to 8388607"},
             Case{{"lin", "get"}, "lin get takes ADDR"},
             Case{{"lin", "factor", "1", "2"}, "lin factor takes [VALUE]"},
             Case{{"lin", "get", "300", "--lang", "de"}, kLangOnlyForSome},
             Case{{"lin", "export", "f.txt", "--lang", "fr"}, "--lang takes de or en"},
             Case{{"read", "--lang", "de"}, kLangOnlyForSome},
             Case{{"lin", "report"}, "lin report needs --pdf FILE"},
             Case{{"lin", "report", "f.pdf", "--pdf", "g.pdf"}, "lin report takes no operands"},
             Case{{"lin", "export", "f.txt", "--pdf", "g.pdf"}, kPdfOnlyForReports},
             Case{{"report"}, "report needs --pdf FILE"},
             Case{{"read", "--pdf", "g.pdf"}, kPdfOnlyForReports},
             Case{{"report", "--pdf", "g.pdf", "--lang", "fr"}, "--lang takes de or en"},
             Case{{"firmware", "identify", "--pdf", "g.pdf"}, kPdfOnlyForReports},
         }) {
        SCOPED_TRACE(c.args.size() > 1 ? c.args[1] : c.args[0]);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--port", "COM1"});
        const cli::ParseResult parsed = cli::parseArguments(args);
        EXPECT_FALSE(parsed.invocation);
        EXPECT_EQ(parsed.error, c.error);
    }
    EXPECT_EQ(cli::parseArguments({"lin", "get", "300"}).error, "lin get needs --port");
}

}  // namespace
