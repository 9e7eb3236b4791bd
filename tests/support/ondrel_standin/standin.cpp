// The stand-in service: the twelve exports over an in-process virtual keyboard.

#include "standin.h"

#include <ondrel/ondrel.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace kovrel::standin {

namespace {

bool SameId(const std::uint8_t* id, const std::uint8_t (&expected)[ONDREL_ID_SIZE]) {
    return id != nullptr && std::memcmp(id, expected, ONDREL_ID_SIZE) == 0;
}

struct Registration {
    std::uint32_t handle = 0;
    OndrelCallback callback = nullptr;
    std::uint32_t code = 0;
    bool standing = false; // a RequestAsyncRead (gets notifications); else a status write
};

struct Job {
    enum class Kind { Report, Bank, Event, Count };
    Kind kind = Kind::Report;
    std::vector<std::uint8_t> bytes;
    int count = 0;
};

class Service {
public:
    Service() {
        keyboard_.SetNotifier(
            [this](firmware::VirtualKeyboard::Notice notice) { OnKeyboard(notice); });
        thread_ = std::thread([this] { Run(); });
    }

    ~Service() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
        keyboard_.SetNotifier({});
    }

    firmware::VirtualKeyboard& Keyboard() { return keyboard_; }

    // --- exports -------------------------------------------------------------------------------

    int Init() {
        std::lock_guard lock(mutex_);
        ++stats_.init;
        if (initResult_ > 0) {
            initialised_ = true;
        }
        return initResult_;
    }

    int End() {
        std::lock_guard lock(mutex_);
        if (!initialised_) {
            return 0;
        }
        registrations_.clear();
        initialised_ = false;
        return 1;
    }

    int DeviceCount(const std::uint8_t* id, OndrelCallback callback, std::uint32_t code,
                    std::uint32_t check) {
        {
            std::lock_guard lock(mutex_);
            ++stats_.deviceCountQueries;
            const int refused = Refuse(id, callback, code, nullptr, 0, check);
            if (refused != 1) {
                return refused;
            }
            if (!SameId(id, ONDREL_ID_CONTROL)) {
                return ONDREL_ERROR_ARGUMENT;
            }
        }
        return keyboard_.IsPlugged() ? 1 : 0;
    }

    int Write(const std::uint8_t* id, OndrelCallback callback, std::uint32_t code,
              const std::uint8_t* data, int length, std::uint32_t check, bool exact) {
        const bool plugged = keyboard_.IsPlugged(); // never ask the keyboard under our lock
        std::lock_guard lock(mutex_);
        ++stats_.writeOne;
        if (!initialised_) {
            return ONDREL_ERROR_NOT_READY;
        }
        if (data == nullptr || length <= 0 || length > ONDREL_REPORT_SIZE ||
            (exact && length != ONDREL_REPORT_SIZE)) {
            return ONDREL_ERROR_ARGUMENT;
        }
        const int refused =
            Refuse(id, callback, code, data, static_cast<std::size_t>(length), check);
        if (refused != 1) {
            return refused;
        }
        if (!SameId(id, ONDREL_ID_CONTROL)) {
            return ONDREL_ERROR_ARGUMENT;
        }
        if (!plugged) {
            return ONDREL_ERROR_NO_DEVICE;
        }
        std::vector<std::uint8_t> report(ONDREL_REPORT_SIZE, 0);
        std::copy_n(data, length, report.begin());
        EnqueueLocked(Job{Job::Kind::Report, std::move(report), 0});
        ++stats_.writeOneAccepted;
        return exact ? 1 : length;
    }

    int StatusWrite(const std::uint8_t* id, OndrelCallback callback, std::uint32_t code,
                    const std::uint8_t* data, int length, std::uint32_t check,
                    std::uint32_t* handle) {
        const bool plugged = keyboard_.IsPlugged();
        std::lock_guard lock(mutex_);
        ++stats_.statusWrite;
        if (!initialised_) {
            return ONDREL_ERROR_NOT_READY;
        }
        if (data == nullptr || length <= 0 || length > ONDREL_REPORT_SIZE) {
            return ONDREL_ERROR_ARGUMENT;
        }
        const int refused =
            Refuse(id, callback, code, data, static_cast<std::size_t>(length), check);
        if (refused != 1) {
            return refused;
        }
        if (!SameId(id, ONDREL_ID_BANK) || code != ONDREL_CODE_LED) {
            return ONDREL_ERROR_ARGUMENT;
        }
        const std::uint32_t h = RegisterLocked(callback, code, false);
        if (handle != nullptr) {
            *handle = h;
        }
        if (!plugged) {
            return ONDREL_ERROR_NO_DEVICE;
        }
        EnqueueLocked(Job{Job::Kind::Bank, std::vector<std::uint8_t>(data, data + length), 0});
        return 1;
    }

    int AsyncRead(const std::uint8_t* id, OndrelCallback callback, std::uint32_t code,
                  std::uint32_t check, std::uint32_t* handle) {
        std::lock_guard lock(mutex_);
        ++stats_.asyncRead;
        const int refused = Refuse(id, callback, code, nullptr, 0, check);
        if (refused != 1) {
            return refused;
        }
        const bool events = SameId(id, ONDREL_ID_EVENT) && code == ONDREL_CODE_CONS;
        const bool replies = SameId(id, ONDREL_ID_CONTROL) && code == ONDREL_CODE_CTRL;
        if (callback == nullptr || !(events || replies)) {
            return ONDREL_ERROR_ARGUMENT;
        }
        const std::uint32_t h = RegisterLocked(callback, code, true);
        if (handle != nullptr) {
            *handle = h;
        }
        return 1;
    }

    int Delete(std::uint32_t handle) {
        std::lock_guard lock(mutex_);
        ++stats_.deletes;
        if (!initialised_) {
            return ONDREL_ERROR_NOT_READY;
        }
        const auto it = std::find_if(registrations_.begin(), registrations_.end(),
                                     [handle](const auto& r) { return r.handle == handle; });
        if (handle == 0 || it == registrations_.end()) {
            return 0;
        }
        registrations_.erase(it);
        return 1;
    }

    // --- controls ------------------------------------------------------------------------------

    void Reset() {
        WaitIdle();
        {
            std::lock_guard lock(mutex_);
            registrations_.clear();
            initialised_ = false;
            initResult_ = 1;
        }
        keyboard_.ClearFaults();
        keyboard_.SetRoundTripDelay(std::chrono::microseconds(0));
        keyboard_.Unplug();
        keyboard_.SetMemory(firmware::FactoryMemory());
        keyboard_.Plug();
        WaitIdle();
        keyboard_.ClearLog();
        std::lock_guard lock(mutex_);
        stats_ = Stats{};
    }

    void SetInitResult(int result) {
        std::lock_guard lock(mutex_);
        initResult_ = result;
    }

    bool Idle() const { return inFlight_.load() == 0; }

    void WaitIdle() const {
        while (!Idle()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    Stats GetStats() {
        std::lock_guard lock(mutex_);
        Stats stats = stats_;
        stats.registrations =
            static_cast<int>(std::count_if(registrations_.begin(), registrations_.end(),
                                           [](const auto& r) { return r.standing; }));
        return stats;
    }

private:
    // Checks the call's state and check value; 1 when it may go on.
    int Refuse(const std::uint8_t* id, OndrelCallback callback, std::uint32_t code,
               const std::uint8_t* payload, std::size_t length, std::uint32_t check) {
        if (!initialised_) {
            return ONDREL_ERROR_NOT_READY;
        }
        if (id == nullptr) {
            return ONDREL_ERROR_ARGUMENT;
        }
        if (OndrelCheckValue(id, callback, code, payload, length) != check) {
            ++stats_.checkFailures;
            return ONDREL_ERROR_CHECK;
        }
        return 1;
    }

    std::uint32_t RegisterLocked(OndrelCallback callback, std::uint32_t code, bool standing) {
        const std::uint32_t handle = nextHandle_++;
        if (nextHandle_ == 0) {
            nextHandle_ = 1;
        }
        registrations_.push_back(Registration{handle, callback, code, standing});
        return handle;
    }

    void EnqueueLocked(Job job) {
        ++inFlight_;
        jobs_.push_back(std::move(job));
        wake_.notify_one();
    }

    void Enqueue(Job job) {
        std::lock_guard lock(mutex_);
        EnqueueLocked(std::move(job));
    }

    // Called by the keyboard, on whatever thread made the change, with no keyboard lock held.
    void OnKeyboard(firmware::VirtualKeyboard::Notice notice) {
        switch (notice) {
        case firmware::VirtualKeyboard::Notice::EventQueued:
            for (auto& report : keyboard_.TakeEventReports()) {
                Enqueue(Job{Job::Kind::Event, std::move(report), 0});
            }
            break;
        case firmware::VirtualKeyboard::Notice::Plugged:
            Enqueue(Job{Job::Kind::Count, {}, 1});
            break;
        case firmware::VirtualKeyboard::Notice::Unplugged:
            Enqueue(Job{Job::Kind::Count, {}, 0});
            break;
        }
    }

    void Run() {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
                if (stop_) {
                    return;
                }
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            Process(job);
            // Only now: whoever watches Idle() must see the job's notifications delivered.
            --inFlight_;
        }
    }

    void Process(const Job& job) {
        const auto delay = keyboard_.RoundTripDelay();
        switch (job.kind) {
        case Job::Kind::Report: {
            std::this_thread::sleep_for(delay);
            const auto replies = keyboard_.HandleReport(job.bytes);
            if (!replies.empty()) {
                std::this_thread::sleep_for(delay);
            }
            for (const auto& reply : replies) {
                Notify(ONDREL_KIND_INPUT, ONDREL_CODE_CTRL, reply.data(),
                       static_cast<std::int32_t>(reply.size()), 0);
            }
            break;
        }
        case Job::Kind::Bank:
            std::this_thread::sleep_for(delay);
            keyboard_.HandleBankWrite(job.bytes);
            break;
        case Job::Kind::Event: {
            std::this_thread::sleep_for(delay);
            const std::uint16_t event =
                job.bytes.size() >= 3
                    ? static_cast<std::uint16_t>(job.bytes[ONDREL_OFFSET_EVENT] |
                                                 (job.bytes[ONDREL_OFFSET_EVENT + 1] << 8))
                    : 0;
            Notify(ONDREL_KIND_INPUT, ONDREL_CODE_CONS, job.bytes.data(),
                   static_cast<std::int32_t>(job.bytes.size()), event);
            break;
        }
        case Job::Kind::Count:
            Notify(ONDREL_KIND_COUNT, ONDREL_CODE_CTRL, nullptr, job.count, 0);
            break;
        }
    }

    // Calls every standing request of `code`, without our lock (callbacks call exports).
    void Notify(std::int32_t kind, std::uint32_t code, const std::uint8_t* data,
                std::int32_t length, std::uint16_t event) {
        std::vector<Registration> targets;
        {
            std::lock_guard lock(mutex_);
            for (const auto& r : registrations_) {
                if (r.standing && r.code == code) {
                    targets.push_back(r);
                }
            }
        }
        const OndrelNotification notification{kind, code, length, data, event};
        for (const auto& target : targets) {
            if (StillRegistered(target.handle)) {
                target.callback(&notification);
            }
        }
    }

    bool StillRegistered(std::uint32_t handle) {
        std::lock_guard lock(mutex_);
        return std::any_of(registrations_.begin(), registrations_.end(),
                           [handle](const auto& r) { return r.handle == handle; });
    }

    firmware::VirtualKeyboard keyboard_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    std::atomic<int> inFlight_{0};
    std::vector<Registration> registrations_;
    std::uint32_t nextHandle_ = 1;
    bool initialised_ = false;
    int initResult_ = 1;
    Stats stats_;
    bool stop_ = false;
    std::thread thread_;
};

Service& Instance() {
    static Service service;
    return service;
}

} // namespace

firmware::VirtualKeyboard& Keyboard() {
    return Instance().Keyboard();
}
void Reset() {
    Instance().Reset();
}
void Plug() {
    Instance().Keyboard().Plug();
}
void Unplug() {
    Instance().Keyboard().Unplug();
}
bool RaiseEvent(std::uint16_t code) {
    return Instance().Keyboard().RaiseEvent(code);
}
bool Idle() {
    return Instance().Idle();
}
void WaitIdle() {
    Instance().WaitIdle();
}
void SetInitResult(int result) {
    Instance().SetInitResult(result);
}
Stats GetStats() {
    return Instance().GetStats();
}

} // namespace kovrel::standin

using kovrel::standin::Instance;

extern "C" {

int Debug(int) {
    return 1;
}
int Init(int) {
    return Instance().Init();
}
int End(void) {
    return Instance().End();
}

int RequestGetDeviceCount(const uint8_t* id, OndrelCallback callback, uint32_t code, uint32_t check,
                          uint32_t*) {
    return Instance().DeviceCount(id, callback, code, check);
}

int DeleteRequestFromUnitId(uint32_t handle) {
    return Instance().Delete(handle);
}
int DeleteRequestFromHandle(uint32_t handle) {
    return Instance().Delete(handle);
}

int RequestWrite(const uint8_t* id, OndrelCallback callback, uint32_t code, const uint8_t* data,
                 int length, uint32_t check, uint32_t*) {
    return Instance().Write(id, callback, code, data, length, check, false);
}

int RequestWriteOne(const uint8_t* id, OndrelCallback callback, uint32_t code,
                    const uint8_t* report, int length, uint32_t check, uint32_t*) {
    return Instance().Write(id, callback, code, report, length, check, true);
}

int RequestStatusWrite(const uint8_t* id, OndrelCallback callback, uint32_t code,
                       const uint8_t* data, int length, uint32_t check, uint32_t* handle) {
    return Instance().StatusWrite(id, callback, code, data, length, check, handle);
}

int RequestStatusGet(const uint8_t*, OndrelCallback, uint32_t, uint8_t*, int, uint32_t, uint32_t*) {
    return ONDREL_ERROR_UNSUPPORTED;
}

int RequestAsyncRead(const uint8_t* id, OndrelCallback callback, uint32_t code, uint32_t check,
                     uint32_t* handle) {
    return Instance().AsyncRead(id, callback, code, check, handle);
}

int RequestStatusSetFeature(const uint8_t*, OndrelCallback, uint32_t, const uint8_t*, int, uint32_t,
                            uint32_t*) {
    return ONDREL_ERROR_UNSUPPORTED;
}

} // extern "C"
