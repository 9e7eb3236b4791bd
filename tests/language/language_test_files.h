#pragma once
// A temporary program folder and per-user folder for one test: the language readers are pointed
// at them for the test's lifetime and the table starts from its built-in wordings.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace kovrel::test {

class LanguageFilesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `content` (UTF-8) as language.ini / the per-user settings file.
    void WriteLanguageFile(std::string_view content);
    void WriteUserSettings(std::string_view content);

    std::filesystem::path folder;
    std::filesystem::path languageFile;
    std::filesystem::path userSettingsFile;
};

void WriteTextFile(const std::filesystem::path& file, std::string_view content);

} // namespace kovrel::test
