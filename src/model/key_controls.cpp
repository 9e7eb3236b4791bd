#include "model/key_controls.h"

#include "model/key_table_data.h"

#include <cstdio>

namespace kovrel {
namespace {

using key_data::kKeyRows;

constexpr std::array<std::u16string_view, kGButtonCount> kGNames = {
    u"G1", u"G2", u"G3", u"G4", u"G5", u"G6", u"G7", u"G8", u"G9"};

// The key buttons in key-table order, then G1-G9, then Fn.
constexpr std::array<KeyControl, kKeyButtonCount + kGButtonCount + 1> BuildKeyboardControls() {
    std::array<KeyControl, kKeyButtonCount + kGButtonCount + 1> controls{};
    std::size_t n = 0;
    for (const key_data::KeyRow& row : kKeyRows) {
        if (row.control == 0)
            continue;
        if (n >= kKeyButtonCount || row.led >= kLedPositionCount)
            key_data::DataError("key buttons do not match the keyboard picture");
        controls[n++] = {row.control, KeyControlKind::Key, row.id, row.led, 0, row.name};
    }
    if (n != kKeyButtonCount)
        key_data::DataError("key buttons do not match the keyboard picture");
    for (int g = 0; g < kGButtonCount; ++g) {
        controls[n++] = {key_data::kGControls[g],
                         KeyControlKind::GKey,
                         kNoKey,
                         kGKeyLedPosition,
                         static_cast<std::uint8_t>(g + 1),
                         kGNames[g]};
    }
    controls[n] = {kFnControl, KeyControlKind::Fn, kNoKey, kFnLedPosition, 0, u"Fn"};
    return controls;
}

constexpr auto kKeyboardControls = BuildKeyboardControls();

static_assert(kKeyboardControls[0].key == 0x001 && kKeyboardControls[0].controlId == 1022);
static_assert(kKeyboardControls[kKeyButtonCount - 1].key == 0x15D);

} // namespace

std::span<const KeyControl, kKeyButtonCount> KeyControls() {
    return std::span(kKeyboardControls).first<kKeyButtonCount>();
}

std::span<const KeyControl, kGButtonCount> GKeyControls() {
    return std::span(kKeyboardControls).subspan<kKeyButtonCount, kGButtonCount>();
}

const KeyControl& FnKeyControl() {
    return kKeyboardControls.back();
}

std::span<const KeyControl> KeyboardControls() {
    return kKeyboardControls;
}

const KeyControl* FindKeyControl(int controlId) {
    for (const KeyControl& control : kKeyboardControls) {
        if (control.controlId == controlId)
            return &control;
    }
    return nullptr;
}

KeyId KeyOfControl(int controlId) {
    const KeyControl* control = FindKeyControl(controlId);
    return control ? control->key : kNoKey;
}

int LedPositionOfControl(int controlId) {
    const KeyControl* control = FindKeyControl(controlId);
    return control ? control->ledPosition : 0;
}

int GNumberOfControl(int controlId) {
    const KeyControl* control = FindKeyControl(controlId);
    return control ? control->gNumber : 0;
}

int KeyButtonNumberOfControl(int controlId) {
    for (int n = 0; n < kKeyButtonCount; ++n) {
        if (kKeyboardControls[n].controlId == controlId)
            return n;
    }
    return -1;
}

int ControlOfKey(KeyId key) {
    if (key == kNoKey)
        return 0;
    for (const KeyControl& control : KeyControls()) {
        if (control.key == key)
            return control.controlId;
    }
    return 0;
}

std::string SkinKeyOf(const KeyControl& control) {
    switch (control.kind) {
    case KeyControlKind::GKey: {
        char text[16];
        std::snprintf(text, sizeof text, "FUNC_G%d", control.gNumber);
        return text;
    }
    case KeyControlKind::Fn:
        return "KEY_FN";
    case KeyControlKind::Key:
        break;
    }
    return SkinKeyOf(control.key);
}

} // namespace kovrel
