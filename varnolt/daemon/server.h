#pragma once
// The daemon's service: accepts clients on the listening socket, queues their reports for the
// first keyboard, hands each reply to the client whose report it answers, and tells every
// client about keyboard events and keyboards coming and going. A client that sends a malformed
// frame, or stops reading, is dropped; the others are not affected.

#include "varnolt/daemon/client_connection.h"
#include "varnolt/daemon/event_loop.h"
#include "varnolt/daemon/keyboard.h"
#include "varnolt/daemon/report_queue.h"
#include "varnolt/protocol/messages.h"
#include "varnolt/protocol/unix_socket.h"

#include <map>
#include <memory>
#include <set>
#include <vector>

namespace kovrel::varnolt {

class VirtualKeyboardHost;

class Server : public KeyboardSink {
public:
    Server(EventLoop& loop, UniqueFd listener);
    ~Server() override;

    // The virtual keyboard the test controls act on (may be null).
    void SetVirtualKeyboard(VirtualKeyboardHost* host) { virtual_ = host; }

    void OnInput(Keyboard& keyboard, std::span<const std::uint8_t> report) override;
    void OnAttached(Keyboard& keyboard) override;
    void OnDetached(Keyboard& keyboard) override;

    std::size_t ClientCount() const { return clients_.size() - dropped_.size(); }

private:
    struct Attached {
        Keyboard* keyboard;
        std::unique_ptr<ReportQueue> queue;
    };

    void Accept();
    void OnClientIo(ClientId id, short revents);
    void Handle(ClientConnection& client, const Message& message);
    void HandleControl(ClientConnection& client, const ControlRequest& request);
    std::string StatusText() const;

    void Send(ClientConnection& client, const Message& message);
    void Broadcast(const Message& message);
    void UpdateWriteInterest(ClientConnection& client);
    // Marks a client gone now and frees it from the event loop later, so no handler ever
    // runs on a destroyed connection.
    void Drop(ClientConnection& client);
    void Sweep();

    KeyboardList CurrentList() const;
    ReportQueue* QueueOf(Keyboard& keyboard);

    EventLoop& loop_;
    UniqueFd listener_;
    VirtualKeyboardHost* virtual_ = nullptr;
    std::map<ClientId, std::unique_ptr<ClientConnection>> clients_;
    std::set<ClientId> dropped_;
    EventLoop::TimerId sweepTimer_ = 0;
    ClientId nextClient_ = 1;
    std::vector<Attached> keyboards_;
    std::uint64_t malformed_ = 0;
};

} // namespace kovrel::varnolt
