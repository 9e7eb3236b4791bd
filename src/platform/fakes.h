#pragma once
// Recording fakes of the four interface services, for tests. Every call is recorded under a lock
// (workers call from their own threads); the accessors return copies. FakeServices installs all
// four into CurrentServices() for its lifetime.

#include "platform/launcher.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "platform/tray_status.h"
#include "platform/window_link.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace kovrel::platform {

class FakeWindowLink final : public WindowLink {
public:
    enum class Kind { Send, Post };
    struct Message {
        Kind kind = Kind::Send;
        std::uint32_t message = 0;
        WParam wParam = 0;
        LParam lParam = 0;
    };
    struct TimerCall {
        bool armed = false; // true for SetTimer, false for KillTimer
        std::uint32_t id = 0;
        std::uint32_t milliseconds = 0;
    };
    // Runs for every SendMessage and PostMessage, on the caller's thread and outside the fake's
    // lock (so it may call the fake again); its result is SendMessage's result.
    using Handler = std::function<std::intptr_t(const Message&)>;

    std::intptr_t SendMessage(std::uint32_t message, WParam wParam, LParam lParam) override;
    bool PostMessage(std::uint32_t message, WParam wParam, LParam lParam) override;
    void SetTimer(std::uint32_t id, std::uint32_t milliseconds) override;
    void KillTimer(std::uint32_t id) override;

    void SetHandler(Handler handler);
    // What PostMessage answers (true: a window is there).
    void SetPostResult(bool accepted);

    std::vector<Message> Messages() const;
    std::vector<Message> MessagesOf(std::uint32_t message) const;
    std::size_t CountOf(std::uint32_t message) const;
    std::vector<TimerCall> TimerCalls() const;
    // The timers armed now: id -> period.
    std::map<std::uint32_t, std::uint32_t> ArmedTimers() const;
    bool IsTimerArmed(std::uint32_t id) const;
    void Clear();

    // Waits until at least `count` messages `message` were recorded; false on time-out. For
    // tests whose workers post from their own threads.
    bool WaitForCount(std::uint32_t message, std::size_t count,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

private:
    std::intptr_t Record(Kind kind, std::uint32_t message, WParam wParam, LParam lParam);

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    Handler handler_;
    bool postResult_ = true;
    std::vector<Message> messages_;
    std::vector<TimerCall> timerCalls_;
    std::map<std::uint32_t, std::uint32_t> armed_;
};

class FakeMessageBox final : public MessageBox {
public:
    struct Call {
        std::u16string text;
        std::u16string caption;
        MessageButtons buttons = MessageButtons::Ok;
        MessageAnswer defaultAnswer = MessageAnswer::Yes;
    };

    MessageAnswer Show(const std::u16string& text, const std::u16string& caption,
                       MessageButtons buttons = MessageButtons::Ok,
                       MessageAnswer defaultAnswer = MessageAnswer::Yes) override;

    // The next Show answers this (one answer per call, in order). With no answer queued, Show
    // answers Ok for Ok boxes and the given default for Yes/No boxes.
    void QueueAnswer(MessageAnswer answer);
    std::vector<Call> Calls() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::deque<MessageAnswer> answers_;
    std::vector<Call> calls_;
};

class FakeTrayStatus final : public TrayStatus {
public:
    struct Call {
        int activity = 0;
        int icon = 0;
    };

    void SetTrayStatus(int activity, int icon) override;
    std::vector<Call> Calls() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<Call> calls_;
};

class FakeLauncher final : public Launcher {
public:
    bool StartProgram(const std::vector<std::string>& argv) override;
    bool OpenDocument(const std::string& pathOrUrl) override;

    // What both calls answer (default true).
    void SetResult(bool started);
    std::vector<std::vector<std::string>> Programs() const;
    std::vector<std::string> Documents() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    bool result_ = true;
    std::vector<std::vector<std::string>> programs_;
    std::vector<std::string> documents_;
};

// All four fakes, installed into CurrentServices() while this object lives (the previous
// services come back afterwards). Install before workers start.
class FakeServices {
public:
    FakeServices();
    ~FakeServices();
    FakeServices(const FakeServices&) = delete;
    FakeServices& operator=(const FakeServices&) = delete;

    FakeWindowLink window;
    FakeMessageBox messageBox;
    FakeTrayStatus tray;
    FakeLauncher launcher;

private:
    Services previous_;
};

} // namespace kovrel::platform
