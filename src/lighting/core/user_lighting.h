#pragma once
// The user lighting of effect 20: the selected user mode of the selected profile p, painted key
// by key and sent to the keyboard's per-key colour memory. The user lighting file of p (see
// user_lighting_file.h) is the master copy of all ten modes; the state below is rebuilt from it
// whenever the profile changes or a keyboard connects.
//
// Everything runs on the interface thread. Showing colours on the key picture is the lighting
// panel's part: these operations keep the mirror's per-key colour image, from which it paints.

#include "lighting/core/lighting_mirror.h"
#include "lighting/core/user_lighting_file.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kovrel::device {
class CommandProtocol;
}

namespace kovrel::lighting {

// The buttons of the key picture: 104 main keys, nine G-keys and Fn, in the order of
// KeyboardControls().
inline constexpr int kPictureKeys = 114;

struct UserLightingState {
    int tool = 0;
    int mode = 0; // the selected user mode m
    Rgb baseColour;
    Rgb paintColour;
    // Per profile and key of the key picture: last painted with the base colour.
    std::array<std::array<bool, kPictureKeys>, kProfiles> marks{};

    bool Marked(int profile, int controlId) const;
    void SetMark(int profile, int controlId, bool mark);
    ModeSettings Settings() const { return ModeSettings{tool, baseColour, paintColour}; }
};

// The user lighting file of a profile (0 to 2) in the data folder.
std::filesystem::path UserLightingFileOf(int profile);

// The ten user mode names of profile p's file, for the user mode list.
std::array<std::u16string, kUserModes> LoadUserModeList(const LightingMirror& mirror);

// m := the file's selected mode; reads the mode's tool and colours; reads the 104 main keys (in
// key-table order) and then Fn into profile p's image and marks (G-keys are not read), and sends
// the image. Returns the result of sending it.
int LoadUserMode(device::CommandProtocol& protocol, LightingMirror& mirror,
                 UserLightingState& state);

// Writes the mode's tool and colours.
bool SaveModeSettings(const LightingMirror& mirror, const UserLightingState& state);

// Selecting user mode m in the list: stores it as the file's selected mode and loads it.
int SelectUserMode(device::CommandProtocol& protocol, LightingMirror& mirror,
                   UserLightingState& state, int mode);

// Renames the selected mode.
bool RenameUserMode(const LightingMirror& mirror, const UserLightingState& state,
                    std::u16string_view name);

void SetPaintColour(const LightingMirror& mirror, UserLightingState& state, Rgb colour);
void SetTool(const LightingMirror& mirror, UserLightingState& state, int tool);

// A click on a key of the key picture while the lighting view is on. Only while the mirrored
// effect is 20 and only for a main key or Fn (a G-key keeps the colour of position 125): paints
// with the base colour and sets the mark under tool 1, with the paint colour and clears it under
// tool 0; writes the key colour to the keyboard and the position's value to the file. Returns the
// colour painted (for the key's overlay), or nothing when the click paints nothing.
std::optional<Rgb> PaintKey(device::CommandProtocol& protocol, LightingMirror& mirror,
                            UserLightingState& state, int controlId);

// Paints a main key or Fn with a given colour and mark, whatever the effect: the keyboard, the
// image, the mark and the file. False for a control that is not a main key or Fn. `result`
// receives the keyboard's result, `fileWritten` whether the file took the value.
struct PaintResult {
    bool painted = false;
    int result = 0;
    bool fileWritten = false;
};
PaintResult PaintKeyWith(device::CommandProtocol& protocol, LightingMirror& mirror,
                         UserLightingState& state, int controlId, Rgb colour, bool mark);

// A new base colour: nothing when it equals the current one. Otherwise stores it, and every key
// of the key picture marked for p (main keys, G-keys and Fn) gets it in the image and in the file
// (F = 1); then the image is sent. True when the colour changed.
bool ChangeBaseColour(device::CommandProtocol& protocol, LightingMirror& mirror,
                      UserLightingState& state, Rgb colour);

} // namespace kovrel::lighting
