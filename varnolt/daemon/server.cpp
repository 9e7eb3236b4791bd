#include "varnolt/daemon/server.h"

#include "varnolt/daemon/virtual_controls.h"
#include "varnolt/daemon/virtual_keyboard_host.h"

#include <algorithm>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace kovrel::varnolt {

Server::Server(EventLoop& loop, UniqueFd listener) : loop_(loop), listener_(std::move(listener)) {
    loop_.Watch(listener_.Get(), POLLIN, [this](short) { Accept(); });
}

Server::~Server() {
    loop_.Unwatch(listener_.Get());
    for (auto& [id, client] : clients_) {
        loop_.Unwatch(client->Fd());
    }
    if (sweepTimer_ != 0) {
        loop_.CancelTimer(sweepTimer_);
    }
}

void Server::Accept() {
    for (;;) {
        UniqueFd fd(::accept4(listener_.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!fd.Valid()) {
            return;
        }
        // The socket's mode already keeps other users out; the peer check holds even if the
        // socket file's mode were changed.
        if (!PeerIsSameUser(fd.Get())) {
            continue;
        }
        const ClientId id = nextClient_++;
        auto client = std::make_unique<ClientConnection>(id, std::move(fd));
        auto& ref = *client;
        clients_.emplace(id, std::move(client));
        loop_.Watch(ref.Fd(), POLLIN, [this, id](short revents) { OnClientIo(id, revents); });
        Send(ref, WelcomeMessage{CurrentList()});
    }
}

void Server::OnClientIo(ClientId id, short revents) {
    auto it = clients_.find(id);
    if (it == clients_.end() || dropped_.contains(id)) {
        return;
    }
    auto& client = *it->second;
    if (revents & POLLOUT) {
        if (!client.Flush()) {
            Drop(client);
            return;
        }
        UpdateWriteInterest(client);
    }
    if (revents & (POLLIN | POLLHUP | POLLERR)) {
        const bool open = client.ReadAvailable();
        // Frames that arrived before a hang-up are still served.
        Message message;
        for (;;) {
            if (dropped_.contains(id)) {
                return;
            }
            const auto next = client.NextMessage(message);
            if (next == ClientConnection::Next::NeedMore) {
                break;
            }
            if (next == ClientConnection::Next::Malformed) {
                ++malformed_;
                Drop(client);
                return;
            }
            Handle(client, message);
        }
        if (!open) {
            Drop(client);
        }
    }
}

void Server::Handle(ClientConnection& client, const Message& message) {
    if (const auto* report = std::get_if<ReportMessage>(&message)) {
        if (!keyboards_.empty()) {
            keyboards_.front().queue->Submit(
                client.Id(), ReportQueue::Kind::Command,
                std::vector<std::uint8_t>(report->bytes.begin(), report->bytes.end()));
        }
    } else if (const auto* bank = std::get_if<BankWriteMessage>(&message)) {
        if (!keyboards_.empty() && !bank->bytes.empty()) {
            keyboards_.front().queue->Submit(client.Id(), ReportQueue::Kind::BankWrite,
                                             bank->bytes);
        }
    } else if (const auto* control = std::get_if<ControlRequest>(&message)) {
        HandleControl(client, *control);
    } else {
        // Messages only the daemon sends have no business arriving here.
        ++malformed_;
        Drop(client);
    }
}

void Server::HandleControl(ClientConnection& client, const ControlRequest& request) {
    switch (request.op) {
    case ControlOp::Status:
        Send(client, ControlResultMessage{request.seq, kControlOk, StatusText()});
        return;
    case ControlOp::Shutdown:
        Send(client, ControlResultMessage{request.seq, kControlOk, {}});
        loop_.Stop();
        return;
    default:
        Send(client, HandleVirtualControl(virtual_, request));
        return;
    }
}

std::string Server::StatusText() const {
    std::ostringstream out;
    out << "pid=" << ::getpid() << "\n";
    out << "keyboards=" << keyboards_.size() << "\n";
    out << "clients=" << ClientCount() << "\n";
    out << "malformed=" << malformed_ << "\n";
    if (!keyboards_.empty()) {
        const auto s = keyboards_.front().queue->GetStatus();
        out << "queued=" << s.queued << "\n";
        out << "outstanding=" << (s.outstanding ? 1 : 0) << "\n";
        out << "sent=" << s.sent << "\n";
        out << "timed_out=" << s.timedOut << "\n";
    } else {
        out << "queued=0\noutstanding=0\n";
    }
    out << "virtual="
        << (!virtual_                ? "off"
            : virtual_->IsAttached() ? "plugged"
                                     : "unplugged")
        << "\n";
    return out.str();
}

void Server::OnInput(Keyboard& keyboard, std::span<const std::uint8_t> report) {
    if (report.empty()) {
        return;
    }
    if (report[0] == 0x04) {
        auto* queue = QueueOf(keyboard);
        if (!queue) {
            return;
        }
        const auto owner = queue->TakeReply();
        if (!owner) {
            return;
        }
        auto it = clients_.find(*owner);
        if (it != clients_.end() && !dropped_.contains(*owner)) {
            Send(*it->second, ReplyMessage{{report.begin(), report.end()}});
        }
    } else if (report[0] == 0x06) {
        const auto n = std::min(report.size(), kMaxReportBytes);
        Broadcast(EventMessage{{report.begin(), report.begin() + static_cast<std::ptrdiff_t>(n)}});
    }
}

void Server::OnAttached(Keyboard& keyboard) {
    if (QueueOf(keyboard)) {
        return;
    }
    keyboards_.push_back(Attached{&keyboard, std::make_unique<ReportQueue>(loop_, keyboard)});
    Broadcast(KeyboardsChangedMessage{CurrentList()});
}

void Server::OnDetached(Keyboard& keyboard) {
    const auto before = keyboards_.size();
    std::erase_if(keyboards_, [&](const Attached& a) { return a.keyboard == &keyboard; });
    if (keyboards_.size() != before) {
        Broadcast(KeyboardsChangedMessage{CurrentList()});
    }
}

void Server::Send(ClientConnection& client, const Message& message) {
    const auto frame = EncodeFrame(message);
    if (!client.Queue(frame)) {
        Drop(client);
        return;
    }
    UpdateWriteInterest(client);
}

void Server::Broadcast(const Message& message) {
    const auto frame = EncodeFrame(message);
    for (auto& [id, client] : clients_) {
        if (dropped_.contains(id)) {
            continue;
        }
        if (!client->Queue(frame)) {
            Drop(*client);
            continue;
        }
        UpdateWriteInterest(*client);
    }
}

void Server::UpdateWriteInterest(ClientConnection& client) {
    loop_.SetEvents(client.Fd(), client.WantsWrite() ? POLLIN | POLLOUT : POLLIN);
}

void Server::Drop(ClientConnection& client) {
    const ClientId id = client.Id();
    if (!dropped_.insert(id).second) {
        return;
    }
    loop_.Unwatch(client.Fd());
    for (auto& attached : keyboards_) {
        attached.queue->ForgetClient(id);
    }
    if (sweepTimer_ == 0) {
        sweepTimer_ = loop_.AddTimer(std::chrono::milliseconds(0), [this] {
            sweepTimer_ = 0;
            Sweep();
        });
    }
}

void Server::Sweep() {
    for (auto id : dropped_) {
        clients_.erase(id);
    }
    dropped_.clear();
}

KeyboardList Server::CurrentList() const {
    KeyboardList list;
    list.daemonPid = static_cast<std::uint32_t>(::getpid());
    for (const auto& attached : keyboards_) {
        list.names.push_back(attached.keyboard->Name());
    }
    return list;
}

ReportQueue* Server::QueueOf(Keyboard& keyboard) {
    for (auto& attached : keyboards_) {
        if (attached.keyboard == &keyboard) {
            return attached.queue.get();
        }
    }
    return nullptr;
}

} // namespace kovrel::varnolt
