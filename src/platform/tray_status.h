#pragma once
// The tray icon's status, as workers set it.

namespace kovrel::platform {

class TrayStatus {
public:
    virtual ~TrayStatus() = default;

    // activity 1: show icon 142 without remembering it; activity 0 with a non-zero icon: show
    // and remember that icon; activity 0 with icon 0: show the remembered icon (128 at start).
    // Callable from any thread.
    virtual void SetTrayStatus(int activity, int icon) = 0;
};

} // namespace kovrel::platform
