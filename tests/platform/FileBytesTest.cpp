#include "platform/FileBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace pv {
namespace {

TEST(FileBytes, WholeContentOrNothing) {
    const auto dir = std::filesystem::temp_directory_path() / "pv_file_bytes_test";
    std::filesystem::create_directories(dir);
    const std::string bytes("a\0b\r\n\x1a\xff", 7);
    const auto file = dir / "f.bin";
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));

    EXPECT_EQ(readFileBytes(file.string()), bytes);
    EXPECT_EQ(readFileBytes(dir.string()), std::nullopt) << "a directory is not a file";
    EXPECT_EQ(readFileBytes((dir / "missing").string()), std::nullopt);
    std::ofstream(dir / "empty");
    EXPECT_EQ(readFileBytes((dir / "empty").string()), std::string());
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace pv
