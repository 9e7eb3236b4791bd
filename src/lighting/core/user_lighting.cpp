#include "lighting/core/user_lighting.h"

#include "lighting/core/effect_table.h"
#include "lighting/core/lighting_device.h"
#include "model/key_controls.h"
#include "profiles/settings.h"

namespace kovrel::lighting {
namespace {

// The index of a control in KeyboardControls(), or -1.
int PictureIndex(int controlId) {
    const auto controls = KeyboardControls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].controlId == controlId) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool Paintable(const KeyControl* control) {
    return control != nullptr &&
           (control->kind == KeyControlKind::Key || control->kind == KeyControlKind::Fn);
}

std::size_t P(const LightingMirror& mirror) {
    return static_cast<std::size_t>(mirror.selectedProfile);
}

} // namespace

bool UserLightingState::Marked(int profile, int controlId) const {
    const int index = PictureIndex(controlId);
    if (index < 0 || profile < 0 || profile >= kProfiles) {
        return false;
    }
    return marks[static_cast<std::size_t>(profile)][static_cast<std::size_t>(index)];
}

void UserLightingState::SetMark(int profile, int controlId, bool mark) {
    const int index = PictureIndex(controlId);
    if (index < 0 || profile < 0 || profile >= kProfiles) {
        return;
    }
    marks[static_cast<std::size_t>(profile)][static_cast<std::size_t>(index)] = mark;
}

std::filesystem::path UserLightingFileOf(int profile) {
    return profiles::UserLightingFile(profile);
}

std::array<std::u16string, kUserModes> LoadUserModeList(const LightingMirror& mirror) {
    return ReadModeNames(UserLightingFileOf(mirror.selectedProfile));
}

int LoadUserMode(device::CommandProtocol& protocol, LightingMirror& mirror,
                 UserLightingState& state) {
    const int p = mirror.selectedProfile;
    if (p < 0 || p >= kProfiles) {
        return kOutsideRecord;
    }
    const auto file = UserLightingFileOf(p);
    state.mode = ReadPresentMode(file);
    const ModeSettings settings = ReadModeSettings(file, state.mode);
    state.tool = settings.tool;
    state.baseColour = settings.baseColour;
    state.paintColour = settings.paintColour;

    auto load = [&](const KeyControl& control) {
        const LedValue value = ReadLedValue(file, state.mode, control.ledPosition);
        mirror.keyColours[P(mirror)][control.ledPosition] = value.colour;
        state.SetMark(p, control.controlId, value.mark);
    };
    for (const KeyControl& control : KeyControls()) {
        load(control);
    }
    load(FnKeyControl());
    return WriteProfileKeyImage(protocol, mirror);
}

bool SaveModeSettings(const LightingMirror& mirror, const UserLightingState& state) {
    return WriteModeSettings(UserLightingFileOf(mirror.selectedProfile), state.mode,
                             state.Settings());
}

int SelectUserMode(device::CommandProtocol& protocol, LightingMirror& mirror,
                   UserLightingState& state, int mode) {
    if (mode < 0 || mode >= kUserModes) {
        return kOutsideRecord;
    }
    state.mode = mode;
    WritePresentMode(UserLightingFileOf(mirror.selectedProfile), mode);
    return LoadUserMode(protocol, mirror, state);
}

bool RenameUserMode(const LightingMirror& mirror, const UserLightingState& state,
                    std::u16string_view name) {
    return WriteModeName(UserLightingFileOf(mirror.selectedProfile), state.mode, name);
}

void SetPaintColour(const LightingMirror& mirror, UserLightingState& state, Rgb colour) {
    state.paintColour = colour;
    SaveModeSettings(mirror, state);
}

void SetTool(const LightingMirror& mirror, UserLightingState& state, int tool) {
    state.tool = tool == 1 ? 1 : 0;
    SaveModeSettings(mirror, state);
}

PaintResult PaintKeyWith(device::CommandProtocol& protocol, LightingMirror& mirror,
                         UserLightingState& state, int controlId, Rgb colour, bool mark) {
    PaintResult outcome;
    const KeyControl* control = FindKeyControl(controlId);
    if (!Paintable(control) || mirror.selectedProfile < 0 || mirror.selectedProfile >= kProfiles) {
        return outcome;
    }
    outcome.painted = true;
    state.SetMark(mirror.selectedProfile, controlId, mark);
    outcome.result = WriteOneKeyColour(protocol, mirror, control->ledPosition, colour);
    outcome.fileWritten = WriteLedValue(UserLightingFileOf(mirror.selectedProfile), state.mode,
                                        control->ledPosition, LedValue{colour, mark});
    return outcome;
}

std::optional<Rgb> PaintKey(device::CommandProtocol& protocol, LightingMirror& mirror,
                            UserLightingState& state, int controlId) {
    if (mirror.fields.effect != kUserColoursEffect) {
        return std::nullopt;
    }
    const bool base = state.tool == 1;
    const Rgb colour = base ? state.baseColour : state.paintColour;
    if (!PaintKeyWith(protocol, mirror, state, controlId, colour, base).painted) {
        return std::nullopt;
    }
    return colour;
}

bool ChangeBaseColour(device::CommandProtocol& protocol, LightingMirror& mirror,
                      UserLightingState& state, Rgb colour) {
    if (colour == state.baseColour) {
        return false;
    }
    state.baseColour = colour;
    SaveModeSettings(mirror, state);
    const int p = mirror.selectedProfile;
    if (p < 0 || p >= kProfiles) {
        return true;
    }
    const auto file = UserLightingFileOf(p);
    for (const KeyControl& control : KeyboardControls()) {
        if (!state.Marked(p, control.controlId)) {
            continue;
        }
        mirror.keyColours[P(mirror)][control.ledPosition] = colour;
        WriteLedValue(file, state.mode, control.ledPosition, LedValue{colour, true});
    }
    WriteProfileKeyImage(protocol, mirror);
    return true;
}

} // namespace kovrel::lighting
