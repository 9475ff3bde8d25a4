#include "platform/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "support/FileSizeLimit.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using Writer = platform::WriteResult (*)(const std::string&, std::span<const uint8_t>);

platform::WriteResult unnamed(const std::string& path, std::span<const uint8_t> bytes) {
    return platform::WriteFileAtomically(path, bytes);
}

struct WriterCase {
    const char* name;
    Writer write;
};

const WriterCase kWriters[] = {{"unnamed file", unnamed},
                               {"named temporary", platform::WriteThroughNamedTemporary}};

class AtomicFileTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/varnel-atomic-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }
    std::string path(const char* name) const { return (dir / name).string(); }
    static void put(const std::string& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    static std::string text(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path dir;
};

TEST_F(AtomicFileTest, AWriteReplacesTheFileWholeAndAFailedOneLeavesItAsItWas) {
    for (const auto& writer : kWriters) {
        SCOPED_TRACE(writer.name);
        const std::string target = path("Sensor.kyr");
        put(target, "old");
        ::chmod(target.c_str(), 0640);
        ASSERT_TRUE(writer.write(target, Bytes{'n', 'e', 'w'}).ok);
        EXPECT_EQ(text(target), "new");
        EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        EXPECT_EQ(entries(), std::vector<std::string>{"Sensor.kyr"});

        {
            FileSizeLimit limit(4);
            const platform::WriteResult cut = writer.write(target, Bytes(169, 1));
            EXPECT_FALSE(cut.ok);
            EXPECT_EQ(cut.reason, "File too large");
        }
        EXPECT_EQ(text(target), "new");
        EXPECT_EQ(entries(), std::vector<std::string>{"Sensor.kyr"});
        fs::remove(target);
    }
}

TEST_F(AtomicFileTest, ASymbolicLinkStaysAndTheFileItLeadsToIsReplaced) {
    fs::create_directory(dir / "dotfiles");
    put(path("dotfiles/Torvane.json"), "old");
    fs::create_symlink(dir / "dotfiles/Torvane.json", dir / "Torvane.json");
    for (const auto& writer : kWriters) {
        ASSERT_TRUE(writer.write(path("Torvane.json"), Bytes{'n', 'e', 'w'}).ok) << writer.name;
        EXPECT_TRUE(fs::is_symlink(dir / "Torvane.json")) << writer.name;
        EXPECT_EQ(text(path("dotfiles/Torvane.json")), "new") << writer.name;
        put(path("dotfiles/Torvane.json"), "old");
    }
}

TEST_F(AtomicFileTest, ANewFileGetsWhatTheUmaskAllowsAndAMissingFolderIsReported) {
    const mode_t saved = ::umask(027);
    const platform::WriteResult created = platform::WriteFileAtomically(path("new.txt"), "x");
    ::umask(saved);
    ASSERT_TRUE(created.ok) << created.reason;
    EXPECT_EQ(fs::status(path("new.txt")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    const platform::WriteResult missing =
        platform::WriteFileAtomically(path("nowhere/new.txt"), "x");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.reason, "No such file or directory");
}

TEST_F(AtomicFileTest, TheFileLeftByASaveKilledBeforeItsRenameIsTakenOverByTheNextSave) {
    const std::string target = path("Torvane.json");
    put(target, "old");
    put(path(".Torvane.json.new"), "complete, but never renamed");
    ASSERT_TRUE(platform::WriteFileAtomically(target, "new").ok);
    EXPECT_EQ(text(target), "new");
    EXPECT_EQ(entries(), std::vector<std::string>{"Torvane.json"});
}

TEST_F(AtomicFileTest, AReadOnlyFolderIsReportedAndTheFileKept) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const std::string target = path("Sensor.kyr");
    put(target, "old");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    for (const auto& writer : kWriters) {
        const platform::WriteResult refused = writer.write(target, Bytes{7});
        EXPECT_FALSE(refused.ok) << writer.name;
        EXPECT_EQ(refused.reason, "Permission denied") << writer.name;
        EXPECT_EQ(text(target), "old") << writer.name;
    }
}

}  // namespace
