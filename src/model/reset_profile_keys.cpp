#include "model/reset_profile_keys.h"

#include "model/key_controls.h"

namespace kovrel {

void ResetProfileKeys(ConfigurationStore& working, int area, int gBank) {
    const auto lock = working.Acquire();
    Configuration& data = working.Data();
    for (int g = 1; g <= kGKeysPerBank; ++g) {
        data.Record(area, GRecordNumber(gBank, g)) = KeyRecord{};
    }
    for (const KeyControl& control : KeyControls()) {
        data.Record(area, KeyIndexOf(control.key)) = KeyRecord{};
    }
}

} // namespace kovrel
