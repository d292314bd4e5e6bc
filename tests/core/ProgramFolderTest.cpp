#include "app/ProgramFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(ProgramFolder, IsTheFolderOfTheRunningProgramWhateverTheCurrentDirectory) {
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path("/");
    const std::string folder = ProgramFolder();
    std::filesystem::current_path(saved);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(folder + "core_tests"));
}
