#include "batch/BatchFile.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace pv;

namespace {

std::vector<std::string> readAll(const std::string& bytes) {
    BatchFile file;
    file.openBytes(bytes);
    std::vector<std::string> lines;
    while (!file.atEnd()) lines.push_back(file.ReadBatchLine());
    return lines;
}

} // namespace

TEST(BatchFile, LineEndRules) {
    using V = std::vector<std::string>;
    EXPECT_EQ(readAll("a\nb\n"), (V{"a", "b"}));
    EXPECT_EQ(readAll("a\r\nb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(readAll("a\rb\nc"), (V{"ab", "c"})) << "a lone CR is dropped";
    EXPECT_EQ(readAll("last line without break"), (V{"last line without break"}));
    EXPECT_EQ(readAll("\n\nx"), (V{"", "", "x"}));
    EXPECT_EQ(readAll(""), V{});
}

TEST(BatchFile, CtrlZAtLineStartEndsTheFile) {
    using V = std::vector<std::string>;
    EXPECT_EQ(readAll("a\n\x1A" "b\nc\n"), (V{"a"}));
    EXPECT_EQ(readAll("a\x1A" "b\n"), (V{"a\x1A" "b"})) << "inside a line it is a character";
}

TEST(BatchFile, PastTheEndGivesEmptyLines) {
    BatchFile file;
    file.openBytes("only\n");
    EXPECT_EQ(file.ReadBatchLine(), "only");
    EXPECT_TRUE(file.atEnd());
    EXPECT_EQ(file.ReadBatchLine(), "");
    EXPECT_EQ(file.ReadBatchLine(), "");
}

TEST(BatchFile, ConvertsEachLineFrom866) {
    EXPECT_EQ(readAll("\"\x88\x8D" "41\",1\n")[0], ru("\"ИН41\",1"));
}

TEST(BatchFile, LongLinesAcrossBufferBoundaries) {
    auto dir = std::filesystem::temp_directory_path() / "pv_batchfile_test";
    std::filesystem::create_directories(dir);
    auto path = (dir / "long.txt").string();
    std::string longLine(200000, 'x');
    {
        std::ofstream out(path, std::ios::binary);
        out << longLine << "\r\n" << "second\r\n";
    }
    BatchFile file;
    ASSERT_TRUE(file.open(path));
    EXPECT_EQ(file.ReadBatchLine(), longLine);
    EXPECT_EQ(file.ReadBatchLine(), "second");
    EXPECT_TRUE(file.atEnd());
    file.close();
    EXPECT_FALSE(file.open((dir / "missing.txt").string()));
    std::filesystem::remove_all(dir);
}
