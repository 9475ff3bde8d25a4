#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "files/FileAccess.h"
#include "files/ParameterFile.h"

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
    void TearDown() override { fs::remove_all(dir); }
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

}  // namespace
