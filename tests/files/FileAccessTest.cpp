#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "files/FileAccess.h"
#include "files/ParameterFile.h"
#include "support/FileSizeLimit.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class FileAccessTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/varnel-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }
    std::string path(const char* name) const { return (dir / name).string(); }
    static void put(const std::string& file, const Bytes& bytes) {
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    fs::path dir;
};

TEST_F(FileAccessTest, ReadsUpTo65535BytesAndTellsWhatElseWentWrong) {
    put(path("largest.kyr"), Bytes(files::LargestFile, 0x5A));
    put(path("big.kyr"), Bytes(files::LargestFile + 1, 0x5A));
    const files::FileBytes largest = files::ReadParameterFile(path("largest.kyr"));
    EXPECT_EQ(largest.status, files::ReadStatus::Ok);
    EXPECT_EQ(largest.bytes, Bytes(files::LargestFile, 0x5A));
    EXPECT_EQ(files::ReadParameterFile(path("big.kyr")).status, files::ReadStatus::TooBig);
    EXPECT_EQ(files::ReadParameterFile(path("missing.kyr")).status, files::ReadStatus::NotFound);
    EXPECT_EQ(files::ReadParameterFile(dir.string()).status, files::ReadStatus::CannotOpen);
}

TEST_F(FileAccessTest, AWriteReplacesTheFileWholeAndAFailedOneLeavesItAsItWas) {
    const std::string target = path("Sensor.kyr");
    put(target, Bytes{1, 2, 3});
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(files::WriteFileAtomically(target, Bytes{9, 8}).ok);
    EXPECT_EQ(files::ReadParameterFile(target).bytes, (Bytes{9, 8}));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
        << "no temporary file is left behind";

    {
        FileSizeLimit limit(4);
        const files::WriteResult cut = files::WriteFileAtomically(target, Bytes(169, 1));
        EXPECT_FALSE(cut.ok);
        EXPECT_EQ(cut.reason, "File too large");
    }
    EXPECT_EQ(files::ReadParameterFile(target).bytes, (Bytes{9, 8}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(FileAccessTest, AReadOnlyFolderIsReportedAndTheFileKept) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const std::string target = path("Sensor.kyr");
    put(target, Bytes{9, 8});
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    const files::WriteResult refused = files::WriteFileAtomically(target, Bytes{7});
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.reason, "Permission denied");
    EXPECT_EQ(files::ReadParameterFile(target).bytes, (Bytes{9, 8}));
}

}  // namespace
