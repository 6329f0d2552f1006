#pragma once
// A folder of the run's own, removed afterwards, into which tests copy sample recordings
// under names of their choice.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace mirado::test {

// The file's bytes; empty when it cannot be read.
inline std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SampleFolderTest : public ::testing::Test {
protected:
    explicit SampleFolderTest(const std::string& prefix)
        : folder(std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid()))) {}
    void SetUp() override {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    // Copies samples/<sample> to the folder as name and returns its path.
    std::string Copy(const std::string& sample, const std::string& name) {
        const std::filesystem::path path = folder / name;
        std::filesystem::copy_file(std::filesystem::path(MIRADO_SOURCE_DIR) / "samples" / sample,
                                   path);
        return path.string();
    }
    std::filesystem::path folder;
};

} // namespace mirado::test
