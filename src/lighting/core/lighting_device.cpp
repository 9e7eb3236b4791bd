#include "lighting/core/lighting_device.h"

#include "device/commands.h"
#include "device/current_profile.h"
#include "profiles/settings.h"

#include <algorithm>
#include <vector>

namespace kovrel::lighting {
namespace {

constexpr int kPositionsPerPiece = 18;
constexpr int kImagePieces = 8;

bool ValidProfile(int profile) {
    return profile >= 0 && profile < kProfiles;
}

// Keeps the first failure of a transfer.
void Note(int& overall, int result) {
    if (overall == device::result::kSuccess && result != device::result::kSuccess) {
        overall = result;
    }
}

std::uint16_t RecordAddress(int profile, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<std::size_t>(profile) * kRecordSize + offset);
}

} // namespace

int ReloadLightingState(device::CommandProtocol& protocol, LightingMirror& mirror) {
    std::fill(mirror.info.begin() + device::kInfoEffectList, mirror.info.end(), 0);
    mirror.RefreshEffectTable();
    device::InfoBlock block{};
    if (device::ReadInformationBlock(protocol, block) != device::result::kSuccess) {
        return -1;
    }
    mirror.info = block;

    bool allRead = device::BeginConfig(protocol) == device::result::kSuccess;
    for (int profile = 0; profile < kProfiles; ++profile) {
        device::MemoryChunk chunk{};
        if (device::ReadMemory(protocol, kRecordReadLength, RecordAddress(profile, 0), chunk) !=
            device::result::kSuccess) {
            allRead = false;
            continue;
        }
        auto& record = mirror.records[static_cast<std::size_t>(profile)];
        std::copy_n(chunk.begin(), kRecordSize, record.begin());
    }
    device::EndConfig(protocol);

    mirror.SelectProfile(mirror.selectedProfile);
    mirror.RefreshEffectTable();
    mirror.viewOn = profiles::GetDengCheck();
    return allRead ? 0 : -1;
}

int WriteRecordFields(device::CommandProtocol& protocol, LightingMirror& mirror,
                      std::span<const FieldWrite> fields) {
    const int p = mirror.selectedProfile;
    if (!ValidProfile(p)) {
        return kOutsideRecord;
    }
    for (const FieldWrite& f : fields) {
        if (f.bytes.empty() || f.offset >= kRecordSize || f.bytes.size() > kRecordSize - f.offset) {
            return kOutsideRecord;
        }
    }
    std::vector<const FieldWrite*> ordered;
    for (const FieldWrite& f : fields) {
        ordered.push_back(&f);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const FieldWrite* a, const FieldWrite* b) {
        return a->offset < b->offset;
    });

    int overall = device::result::kSuccess;
    Note(overall, device::BeginConfig(protocol));
    auto& record = mirror.records[static_cast<std::size_t>(p)];
    for (const FieldWrite* f : ordered) {
        Note(overall, device::WriteMemory(protocol, f->bytes, RecordAddress(p, f->offset)));
        std::copy(f->bytes.begin(), f->bytes.end(), record.begin() + static_cast<long>(f->offset));
    }
    Note(overall, device::EndConfig(protocol));
    UnpackRecord(record, mirror.fields);
    return overall;
}

int WriteRecordField(device::CommandProtocol& protocol, LightingMirror& mirror,
                     const FieldWrite& field) {
    return WriteRecordFields(protocol, mirror, std::span<const FieldWrite>(&field, 1));
}

int RestoreDefaultRecord(device::CommandProtocol& protocol, LightingMirror& mirror) {
    const int p = mirror.selectedProfile;
    if (!ValidProfile(p)) {
        return kOutsideRecord;
    }
    int overall = device::result::kSuccess;
    Note(overall, device::BeginConfig(protocol));
    Note(overall, device::WriteMemory(protocol, kDefaultRecord, RecordAddress(p, 0)));
    Note(overall, device::EndConfig(protocol));
    auto& record = mirror.records[static_cast<std::size_t>(p)];
    std::copy(kDefaultRecord.begin(), kDefaultRecord.end(), record.begin());
    UnpackRecord(record, mirror.fields);
    return overall;
}

int WriteOneKeyColour(device::CommandProtocol& protocol, LightingMirror& mirror, int ledPosition,
                      Rgb colour) {
    const int p = mirror.selectedProfile;
    if (!ValidProfile(p) || ledPosition < 0 || ledPosition >= kLedPositions) {
        return kOutsideRecord;
    }
    const std::uint8_t bytes[3] = {colour.r, colour.g, colour.b};
    int overall = device::result::kSuccess;
    Note(overall, device::BeginConfig(protocol));
    Note(overall, device::WriteKeyColours(protocol, bytes, ledPosition, p));
    Note(overall, device::EndConfig(protocol));
    mirror.keyColours[static_cast<std::size_t>(p)][static_cast<std::size_t>(ledPosition)] = colour;
    return overall;
}

int WriteProfileKeyImage(device::CommandProtocol& protocol, const LightingMirror& mirror) {
    const int p = mirror.selectedProfile;
    if (!ValidProfile(p)) {
        return kOutsideRecord;
    }
    const ProfileKeyColours& image = mirror.keyColours[static_cast<std::size_t>(p)];
    int overall = device::result::kSuccess;
    Note(overall, device::BeginConfig(protocol));
    for (int k = 0; k < kImagePieces; ++k) {
        std::array<std::uint8_t, kPositionsPerPiece * 3> piece{};
        for (int i = 0; i < kPositionsPerPiece; ++i) {
            const int position = k * kPositionsPerPiece + i;
            if (position >= kLedPositions) {
                break; // no key lies there: zeros, never bytes from beyond the image
            }
            const Rgb c = image[static_cast<std::size_t>(position)];
            piece[static_cast<std::size_t>(i * 3)] = c.r;
            piece[static_cast<std::size_t>(i * 3 + 1)] = c.g;
            piece[static_cast<std::size_t>(i * 3 + 2)] = c.b;
        }
        Note(overall, device::WriteKeyColours(protocol, piece, k * kPositionsPerPiece, p));
    }
    Note(overall, device::EndConfig(protocol));
    return overall;
}

} // namespace kovrel::lighting
