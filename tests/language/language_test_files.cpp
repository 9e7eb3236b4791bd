#include "language_test_files.h"

#include "skin/core/language_file.h"
#include "skin/core/language_table.h"

#include <atomic>
#include <fstream>
#include <unistd.h>

namespace kovrel::test {

void WriteTextFile(const std::filesystem::path& file, std::string_view content) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    ASSERT_TRUE(out.good()) << file;
}

void LanguageFilesTest::SetUp() {
    static std::atomic<int> counter{0};
    folder =
        std::filesystem::temp_directory_path() / ("kovrel_language_" + std::to_string(::getpid()) +
                                                  "_" + std::to_string(counter.fetch_add(1)));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "bin" / "Skins");
    languageFile = folder / "bin" / "Skins" / "language.ini";
    userSettingsFile = folder / "config" / "Kovrel_Ostrel" / "Kovrel.ini";
    OverrideLanguageFiles(LanguageFiles{languageFile, userSettingsFile});
    ResetLanguageTable();
}

void LanguageFilesTest::TearDown() {
    ResetLanguageTable();
    OverrideLanguageFiles(std::nullopt);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

void LanguageFilesTest::WriteLanguageFile(std::string_view content) {
    WriteTextFile(languageFile, content);
}

void LanguageFilesTest::WriteUserSettings(std::string_view content) {
    WriteTextFile(userSettingsFile, content);
}

} // namespace kovrel::test
