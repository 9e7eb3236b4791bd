#pragma once
// Flip: the stored setting (0 or 1) that decides which of two key groups of the keyboard
// picture is usable. Flip 0: F1 to F4 (controls 1010 to 1013) enabled and D1 to D6 (1016 to
// 1021) disabled; Flip 1 the reverse. The FLIP_0 indicator is redrawn each time.

namespace kovrel::skin {
class WindowTemplate;
}

namespace kovrel::app {

inline constexpr int kFirstFKey = 1010;
inline constexpr int kLastFKey = 1013;
inline constexpr int kFirstDKey = 1016;
inline constexpr int kLastDKey = 1021;

// Enables the group of `flip` and disables the other; redraws FLIP_0.
void ShowFlip(skin::WindowTemplate& controls, int flip);

// Stores the other value of the setting and shows it; returns the new value.
int ToggleFlip(skin::WindowTemplate& controls);

// Shows the stored value (start-up, and after a profile switch or an import).
void ApplyStoredFlip(skin::WindowTemplate& controls);

} // namespace kovrel::app
