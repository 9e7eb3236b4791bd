#pragma once
// The process-wide set of interface services. The application installs its implementations at
// start; tests install the recording fakes of platform/fakes.h. A service not installed is null
// and callers treat that as "no window": messages are dropped, message boxes answer their
// default.

namespace kovrel::platform {

class WindowLink;
class MessageBox;
class TrayStatus;
class Launcher;

struct Services {
    WindowLink* window = nullptr;
    MessageBox* messageBox = nullptr;
    TrayStatus* tray = nullptr;
    Launcher* launcher = nullptr;
};

// Not thread-safe to change: install before any worker starts, clear after they stopped.
Services& CurrentServices();

} // namespace kovrel::platform
