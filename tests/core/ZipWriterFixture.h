#pragma once
// A program folder with its staging folder "temp", set up the way the build sets up the archive
// writer, and the fixtures the archive writer's tests share.

#include "TestSupport.h"
#include "package/ZipWriter.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace test {

namespace fs = std::filesystem;

inline std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

/// Text that deflates well: a few repeated lines.
inline std::string TextBytes(std::size_t size) {
    std::string text;
    while (text.size() < size)
        text += "Title: DeepBlue " + std::to_string(text.size() % 97) + "\n";
    return text.substr(0, size);
}

/// Files left in a folder, to check that no temporary archive stays behind.
inline std::vector<std::string> FolderContents(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder))
        names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

/// A program folder with its staging folder "temp", as the build sets the writer up.
class ZipWriterTest : public ::testing::Test {
protected:
    ScopedTimeZone zone{"MSK-3"};
    TempFolder folder;
    std::string programDir = folder / "program";
    std::string tempDir = programDir + "/temp";
    std::string zipName = programDir + "/Theme.sdt";
    PackageList list;

    void SetUp() override { fs::create_directories(tempDir); }

    /// Writes a staged file with the given time and returns its path.
    std::string Stage(const std::string& name, const std::string& bytes, int hour = 12,
                      int day = 1) {
        std::string path = tempDir + "/" + name;
        WriteFile(path, bytes);
        SetLocalMTime(path, 2024, 5, day, hour, 30, 10);
        return path;
    }

    /// Packs the list as the build does; threads 0 takes the default number.
    int Pack(int threads = 0, std::uint64_t inMemoryLimit = EntryCompressor::DefaultInMemoryLimit) {
        ZipWriter writer(list);
        writer.SetRootDir(tempDir);
        writer.SetZipName(zipName);
        writer.PackThreads = threads;
        writer.InMemoryLimit = inMemoryLimit;
        return writer.PackArchive();
    }
};

} // namespace test
