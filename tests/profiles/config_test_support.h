#pragma once
// Shared by the configuration-file and profile-switching tests: the keyboard fixture of the model
// tests plus a temporary data folder that the settings point at.

#include "../model/model_test_support.h"
#include "device/arrival.h"
#include "profiles/profile_window.h"
#include "profiles/settings.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace kovrel::testing {

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("kovrel-config-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const std::filesystem::path& path,
                           const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A keyboard on the stand-in, its arrival reads done, and a data folder of our own.
class ConfigurationTest : public KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        std::filesystem::create_directories(documents / "Tavik");
        profiles::InitialiseSettings(documents, folder.Path() / "program");
        ASSERT_EQ(device::ReadArrivalData(link.protocol, link.keyboard).info, 1);
        WorkingStore().Replace(EmptyConfiguration());
        AppliedStore().Replace(EmptyConfiguration());
        keyboard().ClearLog();
    }
    void TearDown() override {
        KeyboardTest::TearDown();
        WorkingStore().Replace(EmptyConfiguration());
        AppliedStore().Replace(EmptyConfiguration());
    }

    std::filesystem::path File(const std::string& name) const { return folder.Path() / name; }

    TemporaryFolder folder;
    std::filesystem::path documents = folder.Path() / "Documents";
};

// Records what the profile operations ask of the windows.
class RecordingWindow : public profiles::ProfileWindow {
public:
    bool IsEditorOpen() const override { return editorOpen; }
    bool HasUnappliedChanges() const override { return changes; }
    void SendApply() override { calls.push_back("apply"); }
    void DisableApply() override {
        calls.push_back("disable apply");
        changes = false;
    }
    void RefreshKeyButtons() override { calls.push_back("refresh"); }
    void ShowProfileInDialog(int profile) override {
        calls.push_back("dialog " + std::to_string(profile));
    }
    void RebuildProfileMenu() override { calls.push_back("menu"); }

    bool editorOpen = false;
    bool changes = false;
    std::vector<std::string> calls;
};

} // namespace kovrel::testing
