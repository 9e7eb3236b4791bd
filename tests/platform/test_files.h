#pragma once
// Small file helpers shared by the platform tests.

#include <filesystem>
#include <string>
#include <vector>

namespace kovrel::platform::testing {

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
// The names in a folder, sorted.
std::vector<std::string> FolderNames(const std::filesystem::path& folder);
// UTF-16LE bytes with BOM of a UTF-8 text.
std::string Utf16LeWithBom(const std::string& utf8);

} // namespace kovrel::platform::testing
