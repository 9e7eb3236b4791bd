#pragma once
// The device service behind the twelve exports: checks each call's arguments and check value,
// keeps the registrations and hands reports to the daemon link. One instance per process.

#include "daemon_link.h"
#include "registrations.h"

#include <memory>
#include <mutex>
#include <vector>

namespace kovrel::ondrel {

// How long Init waits for the daemon's first message; ONDREL_INIT_WAIT_MS overrides it.
inline constexpr std::chrono::milliseconds kInitWait{5000};

class Service {
public:
    static Service& Instance();

    int Init();
    int End();
    int DeviceCount(const std::uint8_t* id, OndrelCallback callback, std::uint32_t code,
                    std::uint32_t check);
    int Cancel(std::uint32_t handle);
    // A report for the keyboard: 64 bytes for RequestWriteOne, 1..64 (padded) for RequestWrite.
    int WriteReport(const std::uint8_t* id, OndrelCallback callback, std::uint32_t code,
                    const std::uint8_t* data, int length, std::uint32_t check, bool exactly64);
    int StatusWrite(const std::uint8_t* id, OndrelCallback callback, std::uint32_t code,
                    const std::uint8_t* data, int length, std::uint32_t check,
                    std::uint32_t* handle);
    int AsyncRead(const std::uint8_t* id, OndrelCallback callback, std::uint32_t code,
                  std::uint32_t check, std::uint32_t* handle);

private:
    int Deliver(const varnolt::Message& message);

    // Guards Init and End against each other; the other exports only read `ready_`.
    std::mutex lifecycle_;
    std::atomic<bool> ready_{false};
    Registrations registrations_;
    // The current link. A link ended by End() is kept (stopped) rather than destroyed: an
    // export that raced with End() may still hold it.
    std::atomic<DaemonLink*> link_{nullptr};
    std::vector<std::unique_ptr<DaemonLink>> links_;
};

} // namespace kovrel::ondrel
