#include "service.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace kovrel::ondrel {
namespace {

bool IsId(const std::uint8_t* id, const std::uint8_t (&known)[ONDREL_ID_SIZE]) {
    return std::equal(id, id + ONDREL_ID_SIZE, known);
}

bool IsKnownId(const std::uint8_t* id) {
    return IsId(id, ONDREL_ID_EVENT) || IsId(id, ONDREL_ID_CONTROL) || IsId(id, ONDREL_ID_BANK);
}

std::chrono::milliseconds InitWait() {
    const char* text = std::getenv("ONDREL_INIT_WAIT_MS");
    if (!text) {
        return kInitWait;
    }
    const std::string_view view(text);
    int ms = 0;
    const auto [end, ec] = std::from_chars(view.data(), view.data() + view.size(), ms);
    if (ec != std::errc() || end != view.data() + view.size() || ms < 0 || ms > 60000) {
        return kInitWait;
    }
    return std::chrono::milliseconds(ms);
}

} // namespace

Service& Service::Instance() {
    // Never destroyed: the host never unloads the library, and a callback thread must not meet
    // a destroyed service at process exit.
    static Service* service = new Service;
    return *service;
}

int Service::Init() {
    std::lock_guard lock(lifecycle_);
    if (ready_) {
        return 1;
    }
    auto link = std::make_unique<DaemonLink>(registrations_);
    if (!link->Start(InitWait())) {
        return ONDREL_ERROR_NOT_READY;
    }
    link_ = link.get();
    links_.push_back(std::move(link));
    ready_ = true;
    return 1;
}

int Service::End() {
    std::lock_guard lock(lifecycle_);
    if (!ready_ || link_.load()->OnLinkThread()) {
        return 0;
    }
    ready_ = false;
    link_.load()->Stop();
    registrations_.Clear();
    return 1;
}

int Service::DeviceCount(const std::uint8_t* id, OndrelCallback callback, std::uint32_t code,
                         std::uint32_t check) {
    if (!ready_) {
        return ONDREL_ERROR_NOT_READY;
    }
    if (!id || !IsKnownId(id)) {
        return ONDREL_ERROR_ARGUMENT;
    }
    if (OndrelCheckValue(id, callback, code, nullptr, 0) != check) {
        return ONDREL_ERROR_CHECK;
    }
    return link_.load()->Count();
}

int Service::Cancel(std::uint32_t handle) {
    if (!ready_) {
        return ONDREL_ERROR_NOT_READY;
    }
    return registrations_.Remove(handle) ? 1 : 0;
}

int Service::WriteReport(const std::uint8_t* id, OndrelCallback callback, std::uint32_t code,
                         const std::uint8_t* data, int length, std::uint32_t check,
                         bool exactly64) {
    if (!ready_) {
        return ONDREL_ERROR_NOT_READY;
    }
    const bool lengthOk =
        exactly64 ? length == ONDREL_REPORT_SIZE : length >= 1 && length <= ONDREL_REPORT_SIZE;
    if (!id || !IsId(id, ONDREL_ID_CONTROL) || !data || !lengthOk) {
        return ONDREL_ERROR_ARGUMENT;
    }
    if (OndrelCheckValue(id, callback, code, data, static_cast<std::size_t>(length)) != check) {
        return ONDREL_ERROR_CHECK;
    }
    if (!link_.load()->Connected()) {
        return ONDREL_ERROR_NOT_READY;
    }
    if (link_.load()->Count() <= 0) {
        return ONDREL_ERROR_NO_DEVICE;
    }
    varnolt::Message message;
    if (data[0] == ONDREL_REPORT_ID_COMMAND) {
        varnolt::ReportMessage report;
        std::copy(data, data + length, report.bytes.begin());
        message = report;
    } else {
        // Any other output report gets no reply, so it must not hold the keyboard's slot.
        message = varnolt::BankWriteMessage{{data, data + length}};
    }
    const int sent = Deliver(message);
    return sent > 0 ? (exactly64 ? 1 : length) : sent;
}

int Service::StatusWrite(const std::uint8_t* id, OndrelCallback callback, std::uint32_t code,
                         const std::uint8_t* data, int length, std::uint32_t check,
                         std::uint32_t* handle) {
    if (!ready_) {
        return ONDREL_ERROR_NOT_READY;
    }
    if (!id || !IsKnownId(id) || !data || length < 1 ||
        length > static_cast<int>(varnolt::kMaxReportBytes)) {
        return ONDREL_ERROR_ARGUMENT;
    }
    if (OndrelCheckValue(id, callback, code, data, static_cast<std::size_t>(length)) != check) {
        return ONDREL_ERROR_CHECK;
    }
    if (!link_.load()->Connected()) {
        return ONDREL_ERROR_NOT_READY;
    }
    const std::uint32_t h = registrations_.Add(callback, code, false);
    if (handle) {
        *handle = h;
    }
    if (link_.load()->Count() <= 0) {
        return ONDREL_ERROR_NO_DEVICE;
    }
    return Deliver(varnolt::BankWriteMessage{{data, data + length}});
}

int Service::AsyncRead(const std::uint8_t* id, OndrelCallback callback, std::uint32_t code,
                       std::uint32_t check, std::uint32_t* handle) {
    if (!ready_) {
        return ONDREL_ERROR_NOT_READY;
    }
    if (!id || !IsKnownId(id) || !callback ||
        (code != ONDREL_CODE_CONS && code != ONDREL_CODE_CTRL)) {
        return ONDREL_ERROR_ARGUMENT;
    }
    if (OndrelCheckValue(id, callback, code, nullptr, 0) != check) {
        return ONDREL_ERROR_CHECK;
    }
    const std::uint32_t h = registrations_.Add(callback, code, true);
    if (handle) {
        *handle = h;
    }
    return 1;
}

int Service::Deliver(const varnolt::Message& message) {
    switch (link_.load()->Send(message)) {
    case DaemonLink::SendResult::Sent:
        return 1;
    case DaemonLink::SendResult::NoDaemon:
        return ONDREL_ERROR_NOT_READY;
    case DaemonLink::SendResult::Failed:
        break;
    }
    return ONDREL_ERROR_IO;
}

} // namespace kovrel::ondrel
