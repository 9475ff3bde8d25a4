#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/FileText.h"
#include "support/PdfText.h"
#include "support/Simulator.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::ChildProcess;

constexpr auto kStartLimit = 20s;
// A linearity report reads 301 table entries, each with its pauses.
constexpr auto kRunLimit = 120s;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// varnelctl's reports against varnel-sensor-sim over a pseudo-terminal, each
// test in a folder of its own that is also its home.
class ReportE2E : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/varnel-report-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr) << std::strerror(errno);
        dir_ = pattern;
        link_ = (dir_ / "ttySIM").string();
        pdf_ = (dir_ / "report.pdf").string();
    }
    void TearDown() override {
        sim_.reset();
        fs::remove_all(dir_);
    }

    void startSimulator(const std::string& preset) {
        testsupport::StartSimulator(sim_, VARNEL_SIM_BIN, link_, {"--preset", preset}, kStartLimit);
    }

    Outcome run(const std::string& program, std::vector<std::string> args) {
        args.insert(args.begin(), program);
        ChildProcess child(args, {"HOME=" + dir_.string(), "XDG_DATA_HOME=" + dataHome().string(),
                                  "XDG_CONFIG_HOME=" + (dir_ / "config").string()});
        Outcome result;
        const auto code = child.wait(kRunLimit);
        EXPECT_TRUE(code.has_value()) << "varnelctl did not end within the limit";
        result.exitCode = code.value_or(-1);
        child.stop();
        result.out = child.out();
        result.err = child.err();
        return result;
    }
    Outcome varnelctl(const std::vector<std::string>& args) { return run(VARNELCTL_BIN, args); }

    fs::path dataHome() const { return dir_ / "data"; }

    fs::path dir_;
    std::string link_;
    std::string pdf_;
    std::unique_ptr<ChildProcess> sim_;
};

TEST_F(ReportE2E, TheSensorReportHoldsTheSimulatedSensorsValuesInEitherLanguage) {
    startSimulator("kbf");
    const Outcome english = varnelctl({"report", "--port", link_, "--pdf", pdf_});
    ASSERT_EQ(english.exitCode, 0) << english.err;
    EXPECT_EQ(english.out, "Report written to " + pdf_ + "\n");
    const std::string text = testsupport::PdfText(pdf_);
    for (const char* expected :
         {"Sensor report", "20815001", "K-Series SSI (KBF)", "396-06-07", "1250mm", "2 µm", "gray",
          "26", "Chiffre:", "forward", "no filter", "Varnel 5.3.6"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in:\n" << text;
    }

    ASSERT_EQ(varnelctl({"set", "--port", link_, "OutputCode", "0"}).exitCode, 0);
    const Outcome german = varnelctl({"report", "--port", link_, "--pdf", pdf_, "--lang", "de"});
    ASSERT_EQ(german.exitCode, 0) << german.err;
    const std::string deutsch = testsupport::PdfText(pdf_);
    for (const char* expected :
         {"Sensorbericht", "Länge", "binär", "vorwärts", "kein Filter", "nicht definiert"}) {
        EXPECT_NE(deutsch.find(expected), std::string::npos) << expected << " in:\n" << deutsch;
    }
}

TEST_F(ReportE2E, ApplyWritesItsReportInTheLanguageAsked) {
    startSimulator("kbf");
    const std::string file = (dir_ / "set.kyr").string();
    ASSERT_EQ(varnelctl({"save", "--port", link_, file}).exitCode, 0);
    const struct {
        std::vector<std::string> language;
        const char* title;
        const char* otherTitle;
    } cases[] = {
        {{}, "Sensor report", "Sensorbericht"},
        {{"--lang", "en"}, "Sensor report", "Sensorbericht"},
        {{"--lang", "de"}, "Sensorbericht", "Sensor report"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        std::vector<std::string> args = {"apply", "--port", link_, file, "--report", pdf_};
        args.insert(args.end(), c.language.begin(), c.language.end());
        const Outcome apply = varnelctl(args);
        ASSERT_EQ(apply.exitCode, 0) << apply.err;
        EXPECT_NE(apply.out.find("Report written to " + pdf_ + "\n"), std::string::npos)
            << apply.out;
        const std::string text = testsupport::PdfText(pdf_);
        EXPECT_NE(text.find(c.title), std::string::npos) << text;
        EXPECT_EQ(text.find(c.otherTitle), std::string::npos) << text;
        EXPECT_NE(text.find("20815001"), std::string::npos) << text;
    }
}

TEST_F(ReportE2E, TheLinearityReportShowsTheChartPictureAndTheFieldsWithTheirLabels) {
    startSimulator("kbf");
    const Outcome report =
        varnelctl({"lin", "report", "--port", link_, "--pdf", pdf_, "--lang", "de"});
    ASSERT_EQ(report.exitCode, 0) << report.err;
    const std::string text = testsupport::PdfText(pdf_);
    for (const char* expected : {"Modell:", "Länge:", "1250 mm", "Auflösung:", "2 µm",
                                 "Ultraschallgeschw.:", "Seriennummer:", "20815001"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in:\n" << text;
    }
    EXPECT_EQ(testsupport::PdfImageCount(pdf_), 1);
    const fs::path picture = dataHome() / "KYR" / "varnel" / "Linearität.png";
    EXPECT_EQ(testsupport::FileText(picture).substr(1, 3), "PNG");
}

TEST_F(ReportE2E, AMissingTemplateIsNamedAndLeavesTheOldFile) {
    startSimulator("qh");
    // An installation whose report folder lacks the templates.
    const fs::path prefix = dir_ / "prefix";
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share" / "varnel" / "reports");
    const fs::path program = prefix / "bin" / "varnelctl";
    fs::copy_file(VARNELCTL_BIN, program);
    std::ofstream(pdf_) << "old";

    const Outcome missing = run(program.string(), {"report", "--port", link_, "--pdf", pdf_});
    EXPECT_EQ(missing.exitCode, 1);
    const fs::path expected = prefix / "share" / "varnel" / "reports" / "Report_eng.rav";
    EXPECT_NE(missing.err.find("The report template was not found:\n" + expected.string()),
              std::string::npos)
        << missing.err;
    EXPECT_EQ(testsupport::FileText(pdf_), "old");
}

TEST_F(ReportE2E, FailuresEndWithTheirExitCodesAndWriteNoFile) {
    startSimulator("qh");
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const std::string unwritable = (dir_ / "no-such-folder" / "r.pdf").string();
    for (const Case& c : {
             Case{{"report", "--port", link_}, 2, "report needs --pdf FILE"},
             Case{{"report", "--port", link_, "--pdf", unwritable}, 1, "no-such-folder/r.pdf: "},
             Case{{"report", "--port", (dir_ / "gone").string(), "--pdf", pdf_}, 1, "gone"},
         }) {
        SCOPED_TRACE(c.message);
        const Outcome result = varnelctl(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_FALSE(fs::exists(pdf_));
        EXPECT_FALSE(fs::exists(unwritable));
    }
}

}  // namespace
