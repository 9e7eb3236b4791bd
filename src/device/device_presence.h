#pragma once
// Device presence: brings the program in line with the number of keyboards the device service
// reports. Each new count is handled by the device-change worker: on arrival it reads the
// keyboard's default layout and information block and has the main window load the active
// profile; on removal it has the main window close its editors and hides it; in both cases it
// sets the tray icon and, at the first connection only, opens the main window.
//
// Counts are handled one at a time in the order they came: one queue drained by one worker
// thread. Separate threads per count could overtake each other, so an unplug quickly followed by
// a replug could end with the "no keyboard" state although the keyboard is there.
//
// The worker reaches the main window, the tray and the message box through the platform
// services installed at the time it handles a count.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace kovrel::device {

class CommandProtocol;
class ConnectedKeyboard;
class CurrentProfile;
class RequestChannel;
struct DeviceLink;

// Messages the worker sends or posts to the main window.
inline constexpr std::uint32_t kKeyboardLeftMessage = 0x4753;      // sent, wParam 0
inline constexpr std::uint32_t kKeyboardArrivedMessage = 0x5452;   // sent
inline constexpr std::uintptr_t kKeyboardArrivedCode = 0x50524F46; // "PROF"
inline constexpr std::uint32_t kShowWindowMessage = 0x5350;        // posted
inline constexpr std::uintptr_t kShowWindowCode = 0x4F50454E;      // "OPEN"

// Tray icons of the connection state.
inline constexpr int kTrayIconNoKeyboard = 128;
inline constexpr int kTrayIconKeyboard = 141;

// The language entry of the only failure the worker shows, and its built-in wording.
inline constexpr const char* kLayoutFailureKey = "MAIN_DEFAULT_MATRIX_PROMPT";
inline constexpr const char16_t* kLayoutFailureText = u"Reads the default keyboard layout failure";

// How often the worker looks at the main window's initialised flag.
inline constexpr std::chrono::milliseconds kInitialisedPoll{50};

class DevicePresence {
public:
    // The text of the layout-read failure; the application passes the language table's entry.
    // An empty answer (or no source) falls back to the built-in wording.
    using TextSource = std::function<std::u16string()>;
    // Hides the main window; runs on the worker thread, so it must marshal itself.
    using HideWindow = std::function<void()>;

    DevicePresence(CommandProtocol& protocol, ConnectedKeyboard& keyboard,
                   CurrentProfile& currentProfile);
    explicit DevicePresence(DeviceLink& link);
    DevicePresence(const DevicePresence&) = delete;
    DevicePresence& operator=(const DevicePresence&) = delete;
    // Stops the worker (see Stop).
    ~DevicePresence();

    // Wiring, before the first count arrives.
    void SetLayoutFailureText(TextSource source);
    void SetHideWindow(HideWindow hide);
    // Makes every count the channel reports reach CountChanged. The hook is removed again by
    // Stop, so install it only on a channel that outlives this object or is detached first.
    void Attach(RequestChannel& channel);

    // Starts the device-change worker for the count n: queues it and returns at once (it is
    // called on the service's thread, which must never block). Counts below 0 are not counts
    // and are ignored. Ignored after Stop.
    void CountChanged(int n);

    // The main window's initialised flag: set by its initialisation message, awaited by the
    // worker before it touches the tray and the window.
    void SetWindowInitialised(bool initialised = true);
    bool WindowInitialised() const { return initialised_.load(); }

    // 1 suppresses the automatic opening of the main window at the first connection: set by
    // "/Start" and when no keyboard is present at start; the worker sets it after the first count
    // it handles.
    void SetFirstConnection(bool done);
    bool FirstConnection() const { return firstConnection_.load(); }

    // The last count the worker handled (0 at start); read by the main window's show rule.
    int LastKnownCount() const { return lastKnownCount_.load(); }

    // For shutdown: drops the counts not yet handled, lets the one in hand end at its next wait
    // (a command in flight still finishes), and joins the worker. Anything the worker waits for
    // on the interface thread must have been released first (the window link's and message
    // box's closing do that), or the join could wait for the thread that calls it.
    void Stop();

    // Waits until every queued count has been handled; false when that did not happen within
    // `limit`. For tests and orderly shutdowns.
    bool WaitIdle(std::chrono::milliseconds limit);

private:
    void Run();
    void Handle(int n);
    void KeyboardLeft();
    void KeyboardArrived();
    bool WaitForWindowInitialised();
    std::u16string LayoutFailureText() const;

    struct HookGate {
        std::mutex mutex;
        DevicePresence* presence = nullptr;
    };

    CommandProtocol& protocol_;
    ConnectedKeyboard& keyboard_;
    CurrentProfile& currentProfile_;
    RequestChannel* channel_ = nullptr;
    std::shared_ptr<HookGate> hookGate_;

    mutable std::mutex mutex_;
    std::condition_variable wake_; // a count queued, the flag set, or stopping
    std::condition_variable idle_;
    std::deque<int> queue_;
    bool busy_ = false;
    bool stopping_ = false;
    TextSource layoutFailureText_;
    HideWindow hideWindow_;

    std::atomic<bool> initialised_{false};
    std::atomic<bool> firstConnection_{false};
    std::atomic<int> lastKnownCount_{0};

    std::thread worker_; // last: starts once everything above exists
};

} // namespace kovrel::device
