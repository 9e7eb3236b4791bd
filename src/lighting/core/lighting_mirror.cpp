#include "lighting/core/lighting_mirror.h"

namespace kovrel::lighting {

void LightingMirror::SelectProfile(int profile) {
    if (profile < 0 || profile >= kProfiles) {
        return;
    }
    selectedProfile = profile;
    UnpackRecord(records[static_cast<std::size_t>(profile)], fields);
}

} // namespace kovrel::lighting
