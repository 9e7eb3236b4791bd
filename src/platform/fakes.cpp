#include "platform/fakes.h"

namespace kovrel::platform {

// --- FakeWindowLink ---

std::intptr_t FakeWindowLink::Record(Kind kind, std::uint32_t message, WParam wParam,
                                     LParam lParam) {
    const Message recorded{kind, message, wParam, lParam};
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(recorded);
        handler = handler_;
    }
    changed_.notify_all();
    return handler ? handler(recorded) : 0;
}

std::intptr_t FakeWindowLink::SendMessage(std::uint32_t message, WParam wParam, LParam lParam) {
    return Record(Kind::Send, message, wParam, lParam);
}

bool FakeWindowLink::PostMessage(std::uint32_t message, WParam wParam, LParam lParam) {
    bool accepted;
    {
        std::lock_guard lock(mutex_);
        accepted = postResult_;
    }
    if (!accepted)
        return false; // no window: nothing is queued, so nothing is delivered either
    Record(Kind::Post, message, wParam, lParam);
    return true;
}

void FakeWindowLink::SetTimer(std::uint32_t id, std::uint32_t milliseconds) {
    {
        std::lock_guard lock(mutex_);
        timerCalls_.push_back({true, id, milliseconds});
        armed_[id] = milliseconds;
    }
    changed_.notify_all();
}

void FakeWindowLink::KillTimer(std::uint32_t id) {
    {
        std::lock_guard lock(mutex_);
        timerCalls_.push_back({false, id, 0});
        armed_.erase(id);
    }
    changed_.notify_all();
}

void FakeWindowLink::SetHandler(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

void FakeWindowLink::SetPostResult(bool accepted) {
    std::lock_guard lock(mutex_);
    postResult_ = accepted;
}

std::vector<FakeWindowLink::Message> FakeWindowLink::Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<FakeWindowLink::Message> FakeWindowLink::MessagesOf(std::uint32_t message) const {
    std::lock_guard lock(mutex_);
    std::vector<Message> result;
    for (const Message& m : messages_)
        if (m.message == message)
            result.push_back(m);
    return result;
}

std::size_t FakeWindowLink::CountOf(std::uint32_t message) const {
    std::lock_guard lock(mutex_);
    std::size_t count = 0;
    for (const Message& m : messages_)
        count += m.message == message;
    return count;
}

std::vector<FakeWindowLink::TimerCall> FakeWindowLink::TimerCalls() const {
    std::lock_guard lock(mutex_);
    return timerCalls_;
}

std::map<std::uint32_t, std::uint32_t> FakeWindowLink::ArmedTimers() const {
    std::lock_guard lock(mutex_);
    return armed_;
}

bool FakeWindowLink::IsTimerArmed(std::uint32_t id) const {
    std::lock_guard lock(mutex_);
    return armed_.contains(id);
}

void FakeWindowLink::Clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
    timerCalls_.clear();
    armed_.clear();
}

bool FakeWindowLink::WaitForCount(std::uint32_t message, std::size_t count,
                                  std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        std::size_t seen = 0;
        for (const Message& m : messages_)
            seen += m.message == message;
        return seen >= count;
    });
}

// --- FakeMessageBox ---

MessageAnswer FakeMessageBox::Show(const std::u16string& text, const std::u16string& caption,
                                   MessageButtons buttons, MessageAnswer defaultAnswer) {
    std::lock_guard lock(mutex_);
    calls_.push_back({text, caption, buttons, defaultAnswer});
    if (!answers_.empty()) {
        const MessageAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : defaultAnswer;
}

void FakeMessageBox::QueueAnswer(MessageAnswer answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
}

std::vector<FakeMessageBox::Call> FakeMessageBox::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

void FakeMessageBox::Clear() {
    std::lock_guard lock(mutex_);
    calls_.clear();
    answers_.clear();
}

// --- FakeTrayStatus ---

void FakeTrayStatus::SetTrayStatus(int activity, int icon) {
    std::lock_guard lock(mutex_);
    calls_.push_back({activity, icon});
}

std::vector<FakeTrayStatus::Call> FakeTrayStatus::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

void FakeTrayStatus::Clear() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

// --- FakeLauncher ---

bool FakeLauncher::StartProgram(const std::vector<std::string>& argv) {
    std::lock_guard lock(mutex_);
    programs_.push_back(argv);
    return result_;
}

bool FakeLauncher::OpenDocument(const std::string& pathOrUrl) {
    std::lock_guard lock(mutex_);
    documents_.push_back(pathOrUrl);
    return result_;
}

void FakeLauncher::SetResult(bool started) {
    std::lock_guard lock(mutex_);
    result_ = started;
}

std::vector<std::vector<std::string>> FakeLauncher::Programs() const {
    std::lock_guard lock(mutex_);
    return programs_;
}

std::vector<std::string> FakeLauncher::Documents() const {
    std::lock_guard lock(mutex_);
    return documents_;
}

void FakeLauncher::Clear() {
    std::lock_guard lock(mutex_);
    programs_.clear();
    documents_.clear();
}

// --- FakeServices ---

FakeServices::FakeServices() : previous_(CurrentServices()) {
    Services& services = CurrentServices();
    services.window = &window;
    services.messageBox = &messageBox;
    services.tray = &tray;
    services.launcher = &launcher;
}

FakeServices::~FakeServices() {
    CurrentServices() = previous_;
}

} // namespace kovrel::platform
