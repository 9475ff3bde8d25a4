#include "report/Template.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "report/TemplateFiles.h"

namespace {

namespace fs = std::filesystem;

TEST(Template, PlaceholdersTakeTheirValuesEscapedAndAnythingElseStays) {
    const report::Parameters parameters = {
        {"FactoryNumber", "20815001"},
        {"Model", "<b>Q & \"P\"</b>"},
        {"Offset", "-1000 µm"},
        {"Chiffre", ""},
    };
    struct Case {
        const char* templateText;
        const char* filled;
    };
    for (const Case& c : {
             Case{"<td>{{FactoryNumber}}</td>", "<td>20815001</td>"},
             Case{"{{Model}}", "&lt;b&gt;Q &amp; &quot;P&quot;&lt;/b&gt;"},
             Case{"{{Offset}}{{FactoryNumber}}", "-1000 µm20815001"},
             Case{"[{{ChiffreVal}}]", "[]"},
             Case{"{{ FactoryNumber }} {FactoryNumber} {{Factory-Number}}",
                  "{{ FactoryNumber }} {FactoryNumber} {{Factory-Number}}"},
             Case{"{{{FactoryNumber}}}", "{20815001}"},
             Case{"{{FactoryNumber}", "{{FactoryNumber}"},
             Case{"{{", "{{"},
             Case{"tail {{Chiffre}}", "tail "},
         }) {
        SCOPED_TRACE(c.templateText);
        EXPECT_EQ(report::FillTemplate(c.templateText, parameters), c.filled);
    }
}

class TemplateFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("varnel-templates-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
};

TEST_F(TemplateFiles, AMissingTemplateIsAMessageThatNamesTheFile) {
    const fs::path missing = dir_ / report::SensorTemplateGerman;
    const report::LoadedTemplate loaded = report::LoadTemplate(missing);
    ASSERT_EQ(loaded.failure, report::Message::TemplateMissing);
    EXPECT_EQ(report::FailureText(loaded, 0),
              "The report template was not found:\n" + missing.string());
    EXPECT_EQ(report::FailureText(loaded, 1),
              "Die Berichtsvorlage wurde nicht gefunden:\n" + missing.string());
}

TEST_F(TemplateFiles, ATemplateIsReadWhole) {
    const fs::path file = dir_ / report::LinearityTemplate;
    std::ofstream(file, std::ios::binary) << "<p>Länge: {{Length}}</p>\n";
    const report::LoadedTemplate loaded = report::LoadTemplate(file);
    EXPECT_FALSE(loaded.failure);
    EXPECT_EQ(loaded.text, "<p>Länge: {{Length}}</p>\n");
}

TEST_F(TemplateFiles, AnInstalledProgramTakesItsShareFolderAndABuildTreeTheSources) {
    const fs::path sources = dir_ / "src" / "share" / "varnel" / "reports";
    fs::create_directories(sources);
    const fs::path program = dir_ / "usr" / "bin" / "varnel";
    EXPECT_EQ(report::ReportsFolder(program, sources), sources);
    const fs::path installed = dir_ / "usr" / "share" / "varnel" / "reports";
    fs::create_directories(installed);
    EXPECT_EQ(report::ReportsFolder(program, sources), installed);
    // Neither: the installed folder is the one a message names.
    EXPECT_EQ(report::ReportsFolder(dir_ / "opt" / "bin" / "varnel", dir_ / "gone"),
              dir_ / "opt" / "share" / "varnel" / "reports");
}

TEST(SensorTemplate, TheLanguagePicksTheFile) {
    EXPECT_STREQ(report::SensorTemplate(0), "Report_eng.rav");
    EXPECT_STREQ(report::SensorTemplate(1), "Report_deu.Rav");
}

}  // namespace
