#include "device/current_profile.h"

namespace kovrel::device {

int ReadInformationBlock(CommandProtocol& protocol, InfoBlock& block) {
    return ReadInfoBlock(protocol, block);
}

int CurrentProfile::Get() {
    const int cached = cached_.load();
    if (cached != kNoProfile) {
        return cached;
    }
    InfoBlock block{};
    if (ReadInfoBlock(protocol_, block) != result::kSuccess) {
        return kNoProfile;
    }
    const int profile = block[kInfoCurrentProfile];
    cached_.store(profile);
    return profile;
}

int CurrentProfile::Set(int n) {
    if (n < 0) {
        return 0;
    }
    if (n >= kProfileCount) {
        return result::kBadProfile;
    }
    InfoBlock block{};
    const int read = ReadInfoBlock(protocol_, block);
    if (read != result::kSuccess) {
        return read;
    }
    block[kInfoCurrentProfile] = static_cast<std::uint8_t>(n);
    const int written = WriteInfoBlock(protocol_, block);
    cached_.store(written == result::kSuccess ? n : kNoProfile);
    return written;
}

} // namespace kovrel::device
