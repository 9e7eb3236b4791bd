// libOndrel.so as the application sees it, against Varnolt with the virtual keyboard: counts,
// replies and events through the callback, check values, unplug and plug, and daemon restarts.

#include "daemon_process.h"

#include <ondrel/ondrel.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>

using kovrel::testing::ConnectControl;
using kovrel::testing::DaemonProcess;
using kovrel::varnolt::ControlOp;

namespace {

constexpr auto kWait = std::chrono::seconds(10);

struct Note {
    int kind;
    std::uint32_t code;
    int length;
    std::uint16_t event;
    std::vector<std::uint8_t> data;
};

class Recorder {
public:
    void Add(const OndrelNotification* n) {
        Note note{n->kind, n->code, n->length, n->event, {}};
        if (n->data && n->length > 0) {
            note.data.assign(n->data, n->data + n->length);
        }
        std::function<void(const Note&)> hook;
        {
            std::lock_guard lock(mutex_);
            notes_.push_back(note);
            hook = hook_;
        }
        if (hook) {
            hook(note);
        }
        cv_.notify_all();
    }
    bool WaitFor(const std::function<bool(const Note&)>& match) {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, kWait,
                            [&] { return std::any_of(notes_.begin(), notes_.end(), match); });
    }
    bool Any(const std::function<bool(const Note&)>& match) {
        std::lock_guard lock(mutex_);
        return std::any_of(notes_.begin(), notes_.end(), match);
    }
    void SetHook(std::function<void(const Note&)> hook) {
        std::lock_guard lock(mutex_);
        hook_ = std::move(hook);
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        notes_.clear();
        hook_ = nullptr;
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<Note> notes_;
    std::function<void(const Note&)> hook_;
};

Recorder recorderA;
Recorder recorderB;
int CallbackA(const OndrelNotification* n) {
    recorderA.Add(n);
    return 1;
}
int CallbackB(const OndrelNotification* n) {
    recorderB.Add(n);
    return 1;
}

std::uint32_t Check(const std::uint8_t* id, OndrelCallback cb, std::uint32_t code,
                    const void* payload = nullptr, std::size_t length = 0) {
    return OndrelCheckValue(id, cb, code, payload, length);
}

int Count() {
    return RequestGetDeviceCount(ONDREL_ID_CONTROL, nullptr, 0,
                                 Check(ONDREL_ID_CONTROL, nullptr, 0), nullptr);
}

std::uint32_t Register(OndrelCallback cb, std::uint32_t code) {
    const std::uint8_t* id = code == ONDREL_CODE_CONS ? ONDREL_ID_EVENT : ONDREL_ID_CONTROL;
    std::uint32_t handle = 0;
    EXPECT_EQ(RequestAsyncRead(id, cb, code, Check(id, cb, code), &handle), 1);
    EXPECT_NE(handle, 0u);
    return handle;
}

std::array<std::uint8_t, 64> Command(std::uint8_t code, std::uint8_t length) {
    std::array<std::uint8_t, 64> r{};
    r[0] = 0x04;
    r[3] = code;
    r[4] = length;
    unsigned sum = 0;
    for (std::size_t i = 3; i < 64; ++i) {
        sum += r[i];
    }
    r[1] = static_cast<std::uint8_t>(sum);
    r[2] = static_cast<std::uint8_t>(sum >> 8);
    return r;
}

int Write(const std::array<std::uint8_t, 64>& r) {
    return RequestWriteOne(ONDREL_ID_CONTROL, nullptr, 0, r.data(), 64,
                           Check(ONDREL_ID_CONTROL, nullptr, 0, r.data(), 64), nullptr);
}

bool IsReplyTo(const Note& n, std::uint8_t code) {
    return n.kind == ONDREL_KIND_INPUT && n.code == ONDREL_CODE_CTRL && n.data.size() > 3 &&
           n.data[3] == code;
}

class OndrelLink : public ::testing::Test {
protected:
    void SetUp() override {
        kovrel::testing::TestFolders::Get();
        recorderA.Clear();
        recorderB.Clear();
    }
    void TearDown() override { End(); }
};

} // namespace

TEST_F(OndrelLink, AKeyboardPresentAtStartIsCountedAtInit) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    ASSERT_EQ(Init(0), 1);
    EXPECT_EQ(Count(), 1);
}

TEST_F(OndrelLink, InitIsReadyWithoutADaemonAndCountsTheKeyboardWhenOneComes) {
    ::setenv("ONDREL_INIT_WAIT_MS", "200", 1);
    const int init = Init(0);
    ::unsetenv("ONDREL_INIT_WAIT_MS");
    ASSERT_EQ(init, 1);
    EXPECT_EQ(Count(), 0);
    Register(CallbackA, ONDREL_CODE_CTRL);
    const auto report = Command(3, 44);
    EXPECT_EQ(Write(report), ONDREL_ERROR_NOT_READY);

    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    EXPECT_TRUE(recorderA.WaitFor([](const Note& n) {
        return n.kind == ONDREL_KIND_COUNT && n.code == ONDREL_CODE_CTRL && n.length == 1;
    }));
    EXPECT_EQ(Count(), 1);
}

TEST_F(OndrelLink, AWrongCheckValueFailsAndNothingIsSent) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    ASSERT_EQ(Init(0), 1);
    auto control = ConnectControl();
    ASSERT_TRUE(control.Call(ControlOp::ClearLog));
    const auto r = Command(3, 44);
    const std::uint8_t bank[2] = {0x05, 0x03};
    std::uint32_t handle = 0;
    struct Case {
        const char* name;
        int result;
    };
    const Case cases[] = {
        {"count", RequestGetDeviceCount(ONDREL_ID_CONTROL, nullptr, 0,
                                        Check(ONDREL_ID_CONTROL, nullptr, 0) + 1, nullptr)},
        {"write one",
         RequestWriteOne(ONDREL_ID_CONTROL, nullptr, 0, r.data(), 64,
                         Check(ONDREL_ID_CONTROL, nullptr, 0, r.data(), 64) + 1, nullptr)},
        {"write one, check of another report",
         RequestWriteOne(ONDREL_ID_CONTROL, nullptr, 0, r.data(), 64,
                         Check(ONDREL_ID_CONTROL, nullptr, 0, Command(1, 0).data(), 64), nullptr)},
        {"status write",
         RequestStatusWrite(ONDREL_ID_BANK, CallbackA, ONDREL_CODE_LED, bank, 2,
                            Check(ONDREL_ID_BANK, nullptr, ONDREL_CODE_LED, bank, 2), &handle)},
        {"async read",
         RequestAsyncRead(ONDREL_ID_EVENT, CallbackA, ONDREL_CODE_CONS,
                          Check(ONDREL_ID_EVENT, CallbackA, ONDREL_CODE_CTRL), &handle)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, ONDREL_ERROR_CHECK) << c.name;
    }
    EXPECT_EQ(handle, 0u);
    const auto log = control.Call(ControlOp::Log);
    ASSERT_TRUE(log);
    EXPECT_EQ(log->text, "");
}

TEST_F(OndrelLink, AReplyAndAKeyboardEventReachTheCallback) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    ASSERT_EQ(Init(0), 1);
    Register(CallbackA, ONDREL_CODE_CTRL);
    Register(CallbackB, ONDREL_CODE_CONS);
    EXPECT_EQ(Write(Command(3, 44)), 1);
    EXPECT_TRUE(recorderA.WaitFor([](const Note& n) { return IsReplyTo(n, 3) && n.length == 64; }));

    // A callback may call the exports: the bank toggle sends the bank from inside it.
    recorderB.SetHook([](const Note& n) {
        if (n.event == 0x02FF) {
            const std::uint8_t bank[2] = {0x05, 0x03};
            std::uint32_t handle = 0;
            RequestStatusWrite(ONDREL_ID_BANK, CallbackB, ONDREL_CODE_LED, bank, 2,
                               Check(ONDREL_ID_BANK, CallbackB, ONDREL_CODE_LED, bank, 2), &handle);
        }
    });
    auto control = ConnectControl();
    ASSERT_TRUE(control.Call(ControlOp::RaiseEvent, 0x02FF));
    EXPECT_TRUE(recorderB.WaitFor([](const Note& n) {
        return n.kind == ONDREL_KIND_INPUT && n.code == ONDREL_CODE_CONS && n.event == 0x02FF &&
               !n.data.empty() && n.data[0] == 0x06;
    }));
    // The bank write reached the keyboard, and the reply registration saw no event.
    for (int i = 0; i < 100; ++i) {
        const auto log = control.Call(ControlOp::Log);
        ASSERT_TRUE(log);
        if (log->text.find("bank 0503") != std::string::npos) {
            break;
        }
        ASSERT_LT(i, 99) << "bank write never arrived";
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_FALSE(recorderA.Any([](const Note& n) { return n.code == ONDREL_CODE_CONS; }));
}

TEST_F(OndrelLink, ALongReplyIsDeliveredWhole) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    ASSERT_EQ(Init(0), 1);
    Register(CallbackA, ONDREL_CODE_CTRL);
    auto control = ConnectControl();
    ASSERT_TRUE(control.Call(ControlOp::Fault, 0, "long 1 80"));
    EXPECT_EQ(Write(Command(3, 44)), 1);
    // Cutting it to the waiting buffer is the receiver's business.
    EXPECT_TRUE(recorderA.WaitFor([](const Note& n) { return IsReplyTo(n, 3) && n.length == 80; }));
}

TEST_F(OndrelLink, UnplugAndPlugAreCountChanges) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    ASSERT_EQ(Init(0), 1);
    Register(CallbackA, ONDREL_CODE_CTRL);
    auto control = ConnectControl();
    ASSERT_TRUE(control.Call(ControlOp::Unplug));
    EXPECT_TRUE(recorderA.WaitFor(
        [](const Note& n) { return n.kind == ONDREL_KIND_COUNT && n.length == 0; }));
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(Write(Command(3, 44)), ONDREL_ERROR_NO_DEVICE);
    ASSERT_TRUE(control.Call(ControlOp::Plug));
    EXPECT_TRUE(recorderA.WaitFor(
        [](const Note& n) { return n.kind == ONDREL_KIND_COUNT && n.length == 1; }));
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(Write(Command(3, 44)), 1);
    EXPECT_TRUE(recorderA.WaitFor([](const Note& n) { return IsReplyTo(n, 3); }));
}

TEST_F(OndrelLink, ACancelledRequestIsNotCalledAgain) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    ASSERT_EQ(Init(0), 1);
    const auto cancelled = Register(CallbackB, ONDREL_CODE_CONS);
    Register(CallbackA, ONDREL_CODE_CONS);
    EXPECT_EQ(DeleteRequestFromUnitId(cancelled), 1);
    EXPECT_EQ(DeleteRequestFromUnitId(cancelled), 0);
    EXPECT_EQ(DeleteRequestFromUnitId(0), 0);
    auto control = ConnectControl();
    ASSERT_TRUE(control.Call(ControlOp::RaiseEvent, 0x1804));
    EXPECT_TRUE(recorderA.WaitFor([](const Note& n) { return n.event == 0x1804; }));
    EXPECT_FALSE(recorderB.Any([](const Note&) { return true; }));
}

TEST_F(OndrelLink, ADaemonRestartWithinTheGraceIsNotAnUnplug) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    ASSERT_EQ(Init(0), 1);
    Register(CallbackA, ONDREL_CODE_CTRL);
    daemon.Kill();
    ASSERT_TRUE(daemon.Start());
    // The registration made before the restart still receives the replies.
    bool answered = false;
    for (int i = 0; i < 200 && !answered; ++i) {
        if (Write(Command(3, 44)) == 1) {
            answered = recorderA.WaitFor([](const Note& n) { return IsReplyTo(n, 3); });
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    EXPECT_TRUE(answered);
    EXPECT_EQ(Count(), 1);
    EXPECT_FALSE(recorderA.Any([](const Note& n) { return n.kind == ONDREL_KIND_COUNT; }));
}

TEST_F(OndrelLink, ADaemonThatStaysAwayMeansNoKeyboard) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    ASSERT_EQ(Init(0), 1);
    Register(CallbackA, ONDREL_CODE_CTRL);
    EXPECT_EQ(daemon.Stop(), 0);
    EXPECT_TRUE(recorderA.WaitFor(
        [](const Note& n) { return n.kind == ONDREL_KIND_COUNT && n.length == 0; }));
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(Write(Command(3, 44)), ONDREL_ERROR_NOT_READY);
}

TEST_F(OndrelLink, ExportsBeforeInitAndBadArgumentsFail) {
    const auto r = Command(3, 44);
    EXPECT_EQ(Count(), ONDREL_ERROR_NOT_READY);
    EXPECT_EQ(Write(r), ONDREL_ERROR_NOT_READY);
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    ASSERT_EQ(Init(0), 1);
    EXPECT_EQ(RequestWriteOne(ONDREL_ID_CONTROL, nullptr, 0, r.data(), 63,
                              Check(ONDREL_ID_CONTROL, nullptr, 0, r.data(), 63), nullptr),
              ONDREL_ERROR_ARGUMENT);
    EXPECT_EQ(RequestWriteOne(nullptr, nullptr, 0, r.data(), 64, 0, nullptr),
              ONDREL_ERROR_ARGUMENT);
    EXPECT_EQ(RequestStatusGet(ONDREL_ID_CONTROL, nullptr, 0, nullptr, 0, 0, nullptr),
              ONDREL_ERROR_UNSUPPORTED);
    EXPECT_EQ(Debug(0), 1);
}
