#include "cli/Arguments.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

using cli::Command;
using cli::parseArguments;

cli::Invocation parsed(const std::vector<std::string>& args) {
    const cli::ParseResult result = parseArguments(args);
    EXPECT_TRUE(result.invocation.has_value()) << result.error;
    return result.invocation.value_or(cli::Invocation{});
}

std::string errorOf(const std::vector<std::string>& args) {
    const cli::ParseResult result = parseArguments(args);
    EXPECT_FALSE(result.invocation.has_value());
    return result.error;
}

TEST(Arguments, HelpWinsOverEverythingElse) {
    EXPECT_EQ(parsed({"--help"}).command, Command::Help);
    EXPECT_EQ(parsed({"-h"}).command, Command::Help);
    EXPECT_EQ(parsed({"read", "--help"}).command, Command::Help);
}

TEST(Arguments, TheFirmwareChipsOfferedAreThoseThatTakeAnImage) {
    const std::regex atmega8(R"(atmega8(?![0-9]))");
    EXPECT_FALSE(std::regex_search(cli::usageText(), atmega8)) << cli::usageText();
    EXPECT_FALSE(std::regex_search(errorOf({"firmware", "inspect", "x.hex"}), atmega8));
    EXPECT_FALSE(
        std::regex_search(errorOf({"firmware", "inspect", "x.hex", "--chip", "z"}), atmega8));
}

TEST(Arguments, NoCommandIsAnError) {
    EXPECT_EQ(errorOf({}), "no command given");
    EXPECT_EQ(errorOf({"--port", "COM1"}), "no command given");
}

TEST(Arguments, UnknownCommandIsNamed) {
    EXPECT_NE(errorOf({"frobnicate"}).find("'frobnicate'"), std::string::npos);
}

TEST(Arguments, UnknownOptionIsNamed) {
    EXPECT_NE(errorOf({"read", "--port", "COM1", "--verbose"}).find("--verbose"),
              std::string::npos);
}

TEST(Arguments, ReadTakesThePortInBothSpellings) {
    const cli::Invocation a = parsed({"read", "--port", "COM3"});
    EXPECT_EQ(a.command, Command::Read);
    EXPECT_EQ(a.port, "COM3");
    EXPECT_FALSE(a.json);
    const cli::Invocation b = parsed({"--port=/dev/ttyUSB1", "read", "--json"});
    EXPECT_EQ(b.port, "/dev/ttyUSB1");
    EXPECT_TRUE(b.json);
}

TEST(Arguments, PortIsRequiredWhereTheSensorIsUsed) {
    for (const char* command : {"read", "commit", "wake"}) {
        EXPECT_EQ(errorOf({command}), std::string(command) + " needs --port");
    }
    EXPECT_EQ(errorOf({"get", "BitWidth"}), "get needs --port");
}

TEST(Arguments, PortWithoutValueIsAnError) {
    EXPECT_EQ(errorOf({"read", "--port"}), "--port needs a value");
}

TEST(Arguments, PortGivenTwiceIsAnError) {
    EXPECT_EQ(errorOf({"read", "--port", "1", "--port", "2"}), "--port given twice");
}

TEST(Arguments, PortsAndFindTakeNoPortButJson) {
    EXPECT_EQ(parsed({"ports"}).command, Command::Ports);
    EXPECT_EQ(errorOf({"ports", "--port", "1"}), "ports takes no --port");
    EXPECT_EQ(errorOf({"find", "--port", "1"}), "find takes no --port");
    EXPECT_EQ(errorOf({"find", "COM1"}), "too many arguments for find");
    const cli::Invocation find = parsed({"find", "--json"});
    EXPECT_EQ(find.command, Command::Find);
    EXPECT_TRUE(find.json);
    EXPECT_FALSE(cli::needsSensor(find));
    EXPECT_TRUE(parsed({"ports", "--json"}).json);
}

TEST(Arguments, JsonOnlyForReadShowDiffAndStream) {
    EXPECT_EQ(
        errorOf({"get", "--port", "1", "--json", "BitWidth"}),
        "--json applies only to ports, find, read, show, diff, stream, apply, station and history");
}

TEST(Arguments, ApplyTakesAFileCommitReportAndJsonButNeverAsks) {
    const cli::Invocation apply =
        parsed({"apply", "--port", "1", "a.kyr", "--commit", "--report", "a.pdf", "--json"});
    EXPECT_EQ(apply.command, Command::Apply);
    EXPECT_EQ(apply.files, std::vector<std::string>{"a.kyr"});
    EXPECT_TRUE(apply.commit);
    EXPECT_TRUE(apply.json);
    EXPECT_EQ(apply.pdf, "a.pdf");
    EXPECT_TRUE(cli::needsSensor(apply));
    EXPECT_EQ(errorOf({"apply", "--port", "1"}), "apply needs FILE");
    EXPECT_EQ(errorOf({"apply", "a.kyr"}), "apply needs --port");
    EXPECT_EQ(errorOf({"apply", "--port", "1", "a.kyr", "--yes"}), "--yes applies only to load");
    EXPECT_EQ(errorOf({"read", "--port", "1", "--report", "a.pdf"}),
              "--report applies only to apply");
    EXPECT_EQ(errorOf({"commit", "--port", "1", "--commit"}),
              "--commit applies only to load, apply and history restore");
}

TEST(Arguments, StreamTakesACountAndOneFormat) {
    const cli::Invocation plain = parsed({"stream", "--port", "1"});
    EXPECT_EQ(plain.command, Command::Stream);
    EXPECT_FALSE(plain.count.has_value());
    EXPECT_EQ(plain.format, cli::SampleFormat::Text);
    const cli::Invocation json = parsed({"stream", "--count", "500", "--json", "--port", "1"});
    EXPECT_EQ(json.count, 500);
    EXPECT_EQ(json.format, cli::SampleFormat::Json);
    EXPECT_EQ(parsed({"--csv", "stream", "--port", "1"}).format, cli::SampleFormat::Csv);
    const cli::Invocation timed = parsed({"stream", "--port", "1", "--duration", "2.5", "--stats"});
    EXPECT_EQ(timed.seconds, 2.5);
    EXPECT_FALSE(timed.count.has_value());
    EXPECT_TRUE(timed.stats);
    EXPECT_FALSE(plain.stats);
    EXPECT_FALSE(plain.seconds.has_value());

    const struct {
        std::vector<std::string> args;
        const char* error;
    } errors[] = {
        {{"stream", "--port", "1", "--count", "0"}, "--count needs a number of samples from 1 on"},
        {{"stream", "--port", "1", "--count", "5x"}, "--count needs a number of samples from 1 on"},
        {{"stream", "--port", "1", "--count"}, "--count needs a value"},
        {{"stream", "--port", "1", "--json", "--csv"}, "--json and --csv exclude each other"},
        {{"read", "--port", "1", "--count", "3"},
         "--csv, --count, --duration and --stats apply only to stream"},
        {{"read", "--port", "1", "--csv"},
         "--csv, --count, --duration and --stats apply only to stream"},
        {{"read", "--port", "1", "--stats"},
         "--csv, --count, --duration and --stats apply only to stream"},
        {{"read", "--port", "1", "--duration", "2"},
         "--csv, --count, --duration and --stats apply only to stream"},
        {{"stream", "--port", "1", "--count", "5", "--duration", "2"},
         "--count and --duration exclude each other"},
        {{"stream", "--port", "1", "--duration", "0"},
         "--duration needs a number of seconds above 0"},
        {{"stream", "--port", "1", "--duration", "2s"},
         "--duration needs a number of seconds above 0"},
        {{"stream", "--port", "1", "--duration", "nan"},
         "--duration needs a number of seconds above 0"},
        {{"stream", "--port", "1", "--duration"}, "--duration needs a value"},
        {{"stream"}, "stream needs --port"},
    };
    for (const auto& e : errors) {
        EXPECT_EQ(errorOf(e.args), e.error);
    }
}

TEST(Arguments, GetTakesOneKeyIgnoringCase) {
    const cli::Invocation a = parsed({"get", "--port", "COM1", "bitwidth"});
    EXPECT_EQ(a.command, Command::Get);
    ASSERT_TRUE(a.key.has_value());
    EXPECT_EQ(*a.key, TSSICom::BitWidth);
    EXPECT_EQ(parsed({"get", "--port", "1", "SLOWAVARAGEFILTER"}).key, TSSICom::SlowAvarageFilter);
}

TEST(Arguments, GetNeedsExactlyOneKey) {
    EXPECT_EQ(errorOf({"get", "--port", "1"}), "get needs KEY");
    EXPECT_EQ(errorOf({"get", "--port", "1", "BitWidth", "Filter"}), "too many arguments for get");
}

TEST(Arguments, UnknownKeyIsAnError) {
    EXPECT_EQ(errorOf({"get", "--port", "1", "Bitwidht"}), "unknown register key 'Bitwidht'");
}

TEST(Arguments, SetTakesKeyAndValueAlsoNegative) {
    const cli::Invocation a = parsed({"set", "--port", "COM2", "Offset", "-2"});
    EXPECT_EQ(a.command, Command::Set);
    EXPECT_EQ(a.key, TSSICom::Offset);
    EXPECT_EQ(a.value, "-2");
    EXPECT_EQ(errorOf({"set", "--port", "1", "Offset"}), "set needs KEY VALUE");
}

TEST(Arguments, DoubleDashEndsTheOptions) {
    const cli::Invocation a = parsed({"set", "--port", "1", "--", "Model", "--"});
    EXPECT_EQ(a.key, TSSICom::Model);
    EXPECT_EQ(a.value, "--");
}

TEST(Arguments, EveryRegisterKeyIsFound) {
    for (int r = 0; r < TSSICom::RegisterCount; ++r) {
        const auto index = TSSICom::RegisterIndex(r);
        EXPECT_EQ(cli::findRegister(TSSICom::RegisterKey(index)), index) << r;
    }
    EXPECT_FALSE(cli::findRegister("").has_value());
}

TEST(Arguments, UsageNamesCommandsAndKeys) {
    const std::string usage = cli::usageText();
    for (const char* word : {"ports", "find", "read", "get", "set", "commit", "wake", "--json",
                             "Resolution", "FactoryNumber", "Blanking"}) {
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    }
}

TEST(Arguments, ReportsTakeTheirPdfFileAndLanguage) {
    const cli::Invocation sensor =
        parsed({"report", "--port", "1", "--pdf", "r.pdf", "--lang", "de"});
    EXPECT_EQ(sensor.command, Command::Report);
    EXPECT_EQ(sensor.pdf, "r.pdf");
    EXPECT_EQ(sensor.language, 1);
    const cli::Invocation lin = parsed({"lin", "report", "--port", "1", "--pdf=l.pdf"});
    ASSERT_TRUE(lin.lin.has_value());
    EXPECT_EQ(lin.lin->action, cli::LinAction::Report);
    EXPECT_EQ(lin.lin->file, "l.pdf");
    EXPECT_EQ(lin.lin->language, 0);
}

}  // namespace

namespace {

TEST(HistoryArguments, TheHistoryCommandsTakeTheirOperandsAndOptions) {
    const cli::Invocation all = parsed({"history"});
    ASSERT_EQ(all.command, Command::History);
    EXPECT_EQ(all.history->action, cli::HistoryAction::List);
    EXPECT_EQ(all.history->factoryNumber, "");
    EXPECT_FALSE(all.historyDatabase.has_value());

    const cli::Invocation one = parsed({"history", "815001", "--since", "2026-03-01", "--json",
                                        "--history", "postgresql://line@db/varnel"});
    EXPECT_EQ(one.history->factoryNumber, "00815001");
    EXPECT_EQ(one.history->since, "2026-03-01");
    EXPECT_TRUE(one.json);
    EXPECT_EQ(one.historyDatabase, "postgresql://line@db/varnel");
    EXPECT_FALSE(cli::needsSensor(one));
    EXPECT_EQ(parsed({"history", "--since", "2026-03-01T08:30:00.125Z"}).history->since,
              "2026-03-01T08:30:00.125Z");

    const cli::Invocation show = parsed({"history", "show", "12"});
    EXPECT_EQ(show.history->action, cli::HistoryAction::Show);
    EXPECT_EQ(show.history->ids, (std::vector<int64_t>{12}));
    EXPECT_EQ(parsed({"history", "diff", "3", "7", "--json"}).history->ids,
              (std::vector<int64_t>{3, 7}));

    const cli::Invocation restore =
        parsed({"history", "restore", "20815001", "--port", "COM3", "--commit"});
    EXPECT_EQ(restore.history->action, cli::HistoryAction::Restore);
    EXPECT_EQ(restore.history->factoryNumber, "20815001");
    EXPECT_EQ(restore.port, "COM3");
    EXPECT_TRUE(restore.commit);
    EXPECT_TRUE(cli::needsSensor(restore));
    // The database option reaches every command that records.
    EXPECT_EQ(parsed({"read", "--port", "1", "--history", "h.sqlite"}).historyDatabase, "h.sqlite");
    EXPECT_EQ(
        parsed({"lin", "set", "200", "1", "--port", "1", "--history=h.sqlite"}).historyDatabase,
        "h.sqlite");
}

TEST(HistoryArguments, StationTakesAFileAPortAndItsOptions) {
    const cli::Invocation station =
        parsed({"station", "line.kyr", "--port", "/dev/ttyUSB0", "--report-dir", "out", "--again",
                "--json", "--lang", "de"});
    EXPECT_EQ(station.command, Command::Station);
    EXPECT_EQ(station.files, (std::vector<std::string>{"line.kyr"}));
    EXPECT_EQ(station.reportDir, "out");
    EXPECT_TRUE(station.again);
    EXPECT_TRUE(station.json);
    EXPECT_EQ(station.language, 1);
    EXPECT_EQ(
        parsed({"apply", "f.kyr", "--port", "1", "--report", "r.pdf", "--lang", "de"}).language, 1);
}

TEST(HistoryArguments, UsageErrorsOfTheNewCommandsNameWhatIsWrong) {
    const struct {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{"history", "show"}, "history show takes one event ID"},
        {{"history", "show", "1", "2"}, "history show takes one event ID"},
        {{"history", "show", "x"}, "'x' is no event ID: give the number that history lists"},
        {{"history", "show", "0"}, "'0' is no event ID: give the number that history lists"},
        {{"history", "diff", "1"}, "history diff takes two event IDs"},
        {{"history", "restore"},
         "history restore takes the OLD_FACTORYNUMBER of the sensor taken out"},
        {{"history", "restore", "20815001"}, "history restore needs --port"},
        {{"history", "--port", "1"}, "history takes no --port"},
        {{"history", "1", "2"}, "history takes at most one FACTORYNUMBER"},
        {{"history", "123456789"},
         "'123456789' is no factory number: give one to eight letters or digits"},
        {{"history", "--since", "yesterday"},
         "--since takes a date such as 2026-03-01 or a time such as 2026-03-01T08:30"},
        {{"history", "--since", "2026-3-1"},
         "--since takes a date such as 2026-03-01 or a time such as 2026-03-01T08:30"},
        {{"history", "show", "1", "--since", "2026-03-01"},
         "--since applies only to the history list"},
        {{"history", "--commit"}, "--commit applies only to load, apply and history restore"},
        {{"history", "--again"},
         "history takes only --json, --since, --history and, to restore, --port and --commit"},
        {{"station", "--port", "1"}, "station needs FILE"},
        {{"station", "f.kyr"}, "station needs --port"},
        {{"station", "f.kyr", "--port", "1", "--commit"},
         "--commit applies only to load, apply and history restore"},
        {{"read", "--port", "1", "--again"}, "--report-dir and --again apply only to station"},
        {{"apply", "f.kyr", "--port", "1", "--report-dir", "d"},
         "--report-dir and --again apply only to station"},
        {{"read", "--port", "1", "--since", "2026-03-01"}, "--since applies only to history"},
        {{"lin", "get", "200", "--port", "1", "--again"},
         "--report-dir and --again apply only to station"},
        {{"read", "--port", "1", "--history"}, "--history needs a value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + (c.args.size() > 1 ? c.args[1] : ""));
        EXPECT_EQ(errorOf(c.args), c.error);
    }
}

}  // namespace
