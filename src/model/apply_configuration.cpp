#include "model/apply_configuration.h"

#include "device/command_report.h"
#include "device/commands.h"
#include "model/macro_image.h"
#include "model/profile_block.h"
#include "model/user_messages.h"

#include <new>
#include <vector>

namespace kovrel {

int ActiveProfile(device::CurrentProfile& currentProfile) {
    const int profile = currentProfile.Get();
    return profile >= 0 && profile < device::kProfileCount ? profile : 0;
}

namespace {

// Lays out the texts of kinds LaunchProgram and TextBlock one after another in a text area of
// the working store's text total, storing each text's byte offset in its record (in both
// stores, so the applied snapshot agrees with the working one).
std::vector<std::uint8_t> LayOutTexts(Configuration& working, Configuration& applied) {
    std::vector<std::uint8_t> area(working.textTotal, 0);
    std::uint64_t sum = 0;
    for (int i = 0; i < kRecordCount; ++i) {
        const TextEntry& entry = working.texts[i];
        if (entry.size == 0) {
            continue;
        }
        if (sum + entry.size > working.textTotal) {
            break;
        }
        KeyRecord& record = working.records[i];
        if (!record.Is(AssignmentKind::LaunchProgram) && !record.Is(AssignmentKind::TextBlock)) {
            continue;
        }
        for (std::size_t c = 0; c < entry.text.size() && 2 * c + 1 < entry.size; ++c) {
            area[sum + 2 * c] = static_cast<std::uint8_t>(entry.text[c] & 0xFF);
            area[sum + 2 * c + 1] = static_cast<std::uint8_t>(entry.text[c] >> 8);
        }
        record.value = static_cast<std::uint32_t>(sum);
        applied.records[i].value = record.value;
        sum += entry.size;
    }
    return area;
}

} // namespace

int ApplyConfiguration(ConfigurationStore& working, ConfigurationStore& applied,
                       KeyboardAccess keyboard, bool allProfiles) {
    const auto workingLock = working.Acquire();
    if (working.Data().notRead) {
        ShowLanguageMessage("APPLY_NOT_READ");
        return 0;
    }
    const auto appliedLock = applied.Acquire();
    try {
        Configuration& source = working.Data();
        Configuration snapshot;
        snapshot.header = source.header;
        RewriteHeader(snapshot.header, static_cast<std::uint16_t>(source.macros.size()),
                      source.textTotal);
        snapshot.records = source.records;
        snapshot.macros = source.macros;
        snapshot.texts = source.texts;
        snapshot.textTotal = source.textTotal;
        snapshot.textArea = LayOutTexts(source, snapshot);
        applied.Replace(std::move(snapshot));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return DownloadConfiguration(applied, keyboard, allProfiles);
}

int ApplyConfiguration(KeyboardAccess keyboard, bool allProfiles) {
    return ApplyConfiguration(WorkingStore(), AppliedStore(), keyboard, allProfiles);
}

int DownloadConfiguration(ConfigurationStore& applied, KeyboardAccess keyboard, bool allProfiles) {
    const auto lock = applied.Acquire();
    const Configuration& data = applied.Data();
    const MacroImageSize sizes = MacroImageSizes(data.macros);
    const auto space = static_cast<std::size_t>(std::max(0, keyboard.keyboard.MacroMemorySize()));
    if (sizes.withoutNames > space) {
        ShowLanguageMessage("EXTRA_MACRO_TOO_LONG");
        return 0;
    }
    const bool names = sizes.withNames <= space;
    const std::vector<std::uint8_t> image = EncodeMacroImage(data.macros, names);

    const ProfileBlock layout = keyboard.keyboard.DefaultLayout();
    std::vector<std::pair<int, ProfileBlock>> blocks;
    if (allProfiles) {
        for (int p = 0; p < device::kProfileCount; ++p) {
            blocks.emplace_back(p, ProfileBlock{});
        }
    } else {
        blocks.emplace_back(ActiveProfile(keyboard.currentProfile), ProfileBlock{});
    }
    for (auto& [profile, block] : blocks) {
        EncodeProfileBlock(data, profile, layout, block);
    }

    // Every command is sent even after one failed (EndConfig must close the group); any failure
    // makes the whole download a failure, so a lost macro image keeps Apply enabled.
    bool allSucceeded = device::BeginConfig(keyboard.protocol) == device::result::kSuccess;
    allSucceeded &= device::WriteMacroImage(keyboard.protocol, image) == device::result::kSuccess;
    for (const auto& [profile, block] : blocks) {
        allSucceeded &= device::WriteProfileBlock(keyboard.protocol, profile, block) ==
                        device::result::kSuccess;
    }
    allSucceeded &= device::EndConfig(keyboard.protocol) == device::result::kSuccess;

    if (!names) {
        ShowLanguageMessage("EXTRA_PROFILE_SPACE_TIGHT");
    }
    return allSucceeded ? 1 : 0;
}

} // namespace kovrel
