#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comm/ParameterSet.h"
#include "files/FileHeader.h"
#include "files/ParameterFile.h"
#include "files/Scrambling.h"
#include "files/StoredSet.h"

namespace {

using files::FileProblem;
using Bytes = std::vector<uint8_t>;

const std::string Title = "Varnel 5.3.6";

files::ParameterFile fileWith(std::string header, uint32_t setSize, size_t values) {
    files::ParameterFile file{std::move(header), {2014, 3, 7}, setSize, {}};
    for (size_t i = 0; i < values; ++i)
        file.values.push_back(static_cast<int32_t>(i * 1000 - 3));
    return file;
}

files::ParameterFile savedFile(size_t headerLength = 39) {
    std::string header = files::BuildHeader(Title, "").text;
    header.resize(headerLength, 'x');
    return fileWith(header, files::FullSetSize, 29);
}

FileProblem problemOf(const Bytes& stored) {
    const files::DecodedFile decoded = files::DecodeParameterFile(stored);
    EXPECT_EQ(decoded.file.has_value(), decoded.problem == FileProblem::None);
    return decoded.problem;
}

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

Bytes stored(const Bytes& plain) {
    return files::Scramble(plain);
}

TEST(Scrambling, RotatesTheWholeFileByTwoBits) {
    const struct {
        Bytes plain;
        Bytes stored;
    } cases[] = {
        {{0x61, 0x62, 0x63}, {0xD8, 0x58, 0x98}},
        {{0x01}, {0x40}},
        {{0x03, 0x00}, {0x00, 0xC0}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files::Scramble(c.plain), c.stored);
        EXPECT_EQ(files::Unscramble(c.stored), c.plain);
    }
}

TEST(ParameterFile, AnEmptyCommentGivesThirtyNineHeaderBytesAndAFileOf169) {
    const files::Header header = files::BuildHeader(Title, "");
    ASSERT_EQ(header.problem, files::HeaderProblem::None);
    EXPECT_EQ(header.text, "KYR Q-Serie SSI\nVersion: Varnel 5.3.6\n\n");
    ParameterSet set;
    set[ParameterSet::Resolution].Value = 5;
    set[ParameterSet::FactoryNumber].Value = -1;
    set[ParameterSet::UltrasonicSpeed].Value = 277695;
    const files::ParameterFile file = files::FileOfSet(set, header.text, {2014, 3, 7});
    const Bytes bytes = files::EncodeParameterFile(file);
    EXPECT_EQ(bytes.size(), 169u);
    const Bytes plain = files::Unscramble(bytes);
    const Bytes fields = {39, 0, 0, 0};
    EXPECT_EQ(Bytes(plain.begin(), plain.begin() + 4), fields);
    const Bytes dateAndSize = {0xDE, 0x07, 0, 0, 7, 3, 0x78, 0x03, 0, 0, 5, 0, 0, 0};
    EXPECT_EQ(Bytes(plain.begin() + 43, plain.begin() + 57), dateAndSize)
        << "year, day before month, set size 888, then Resolution";
    EXPECT_EQ(Bytes(plain.end() - 4, plain.end()), Bytes(4, 0xFF)) << "FactoryNumber -1 last";

    const files::DecodedFile decoded = files::DecodeParameterFile(bytes);
    ASSERT_TRUE(decoded.file);
    EXPECT_EQ(*decoded.file, file);
    EXPECT_EQ(files::DateText(decoded.file->date), "2014-03-07");
}

TEST(ParameterFile, SizeLimitsOfFileAndHeader) {
    const Bytes largest = files::EncodeParameterFile(savedFile(65535 - 130));
    ASSERT_EQ(largest.size(), 65535u);
    EXPECT_EQ(problemOf(largest), FileProblem::None);
    const Bytes tooBig = files::EncodeParameterFile(savedFile(65536 - 130));
    EXPECT_EQ(problemOf(tooBig), FileProblem::TooBig);
    EXPECT_EQ(problemOf(stored({0x00, 0x00, 0x01, 0x00, 'K'})), FileProblem::ErrorInFile)
        << "a header length above 65535";
}

TEST(ParameterFile, OnlyTheExactMarkIsCompatible) {
    const struct {
        std::string header;
        FileProblem problem;
    } cases[] = {
        {"KYR Q-Serie SSI", FileProblem::None},
        {"KYR Q-Serie SSI\nVersion: Another 1.0\n\nany comment", FileProblem::None},
        {"KYR Q-Serie SSIx", FileProblem::None},
        {"kyr Q-Serie SSI\nVersion: Varnel 5.3.6\n\n", FileProblem::NotCompatible},
        {"KYR Q-Serie SS", FileProblem::NotCompatible},
        {"", FileProblem::NotCompatible},
    };
    for (const auto& c : cases) {
        const Bytes bytes = files::EncodeParameterFile(fileWith(c.header, files::FullSetSize, 29));
        EXPECT_EQ(problemOf(bytes), c.problem) << c.header;
    }
}

TEST(ParameterFile, EveryTruncationIsAnErrorInFile) {
    const Bytes plain = files::Unscramble(files::EncodeParameterFile(savedFile()));
    for (size_t length = 0; length < plain.size(); ++length) {
        const Bytes cut(plain.begin(), plain.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_EQ(problemOf(stored(cut)), FileProblem::ErrorInFile) << length << " bytes";
    }
}

TEST(ParameterFile, SetSizeDecidesHowManyValuesAreRead) {
    const struct {
        uint32_t setSize;
        FileProblem problem;
        size_t values;
    } cases[] = {
        {191, FileProblem::ErrorInFile, 0},  {192, FileProblem::None, 0},
        {888, FileProblem::None, 29},        {1103, FileProblem::None, 37},
        {1104, FileProblem::ErrorInFile, 0}, {0xFFFFFFFF, FileProblem::ErrorInFile, 0},
    };
    for (const auto& c : cases) {
        // Forty values follow, so only the set size limits what is read.
        const Bytes bytes = files::EncodeParameterFile(fileWith("KYR Q-Serie SSI", c.setSize, 40));
        const files::DecodedFile decoded = files::DecodeParameterFile(bytes);
        EXPECT_EQ(decoded.problem, c.problem) << c.setSize;
        if (decoded.file) {
            EXPECT_EQ(decoded.file->values.size(), c.values) << c.setSize;
        }
    }
}

TEST(FileHeader, CommentsAreStoredInWindows1252WithCrLf) {
    const struct {
        std::string comment;
        files::HeaderProblem problem;
        std::string stored;
    } cases[] = {
        {"Linie 3\nFörderband", files::HeaderProblem::None, "Linie 3\r\nF\xF6rderband"},
        {"a\r\nb 5 €", files::HeaderProblem::None, "a\r\nb 5 \x80"},
        {std::string(512, 'c'), files::HeaderProblem::None, std::string(512, 'c')},
        {std::string(256, '\n'), files::HeaderProblem::None, repeated("\r\n", 256)},
        {std::string(513, 'c'), files::HeaderProblem::CommentTooLong, ""},
        {std::string(257, '\n'), files::HeaderProblem::CommentTooLong, ""},
        {"check \xE2\x9C\x93", files::HeaderProblem::CommentNotEncodable, ""},
    };
    const std::string start = "KYR Q-Serie SSI\nVersion: Varnel 5.3.6\n\n";
    for (const auto& c : cases) {
        const files::Header header = files::BuildHeader(Title, c.comment);
        EXPECT_EQ(header.problem, c.problem) << c.comment;
        EXPECT_EQ(header.text, c.problem == files::HeaderProblem::None ? start + c.stored : "");
    }
}

TEST(StoredSet, TheFileCarriesTwentyNineRegistersAndLoadsBackAllButTheFirmware) {
    ParameterSet saved;
    for (int r = 0; r < ParameterSet::RegisterCount; ++r)
        saved.ParameterStruct[size_t(r)].Value = 100 + r;
    const files::ParameterFile file = files::FileOfSet(saved, "KYR Q-Serie SSI", {});
    ASSERT_EQ(file.values.size(), 29u);
    EXPECT_EQ(file.values.back(), 100 + ParameterSet::FactoryNumber);

    ParameterSet target;
    target[ParameterSet::FirmwareVersion].Value = 3960105;
    target[ParameterSet::UltrasonicSpeed].Value = 277695;
    target[ParameterSet::Resolution].Answered = 1;
    files::LoadIntoSet(file, target);
    for (int r = 0; r < files::StoredRegisterCount; ++r) {
        if (r != ParameterSet::FirmwareVersion) {
            EXPECT_EQ(target.ParameterStruct[size_t(r)].Value, 100 + r) << r;
        }
    }
    EXPECT_EQ(target[ParameterSet::FirmwareVersion].Value, 3960105);
    EXPECT_EQ(target[ParameterSet::UltrasonicSpeed].Value, 277695);
    EXPECT_EQ(target[ParameterSet::Resolution].Answered, 1) << "only values change";
}

}  // namespace
