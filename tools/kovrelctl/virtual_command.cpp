// kovrelctl virtual ...: test controls of the daemon's virtual keyboard, sent as control frames
// straight to Varnolt (the keyboard's own protocol is not involved).

#include "command_groups.h"
#include "daemon_start.h"

#include "varnolt/protocol/control_client.h"

#include <charconv>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

namespace kovrel::kovrelctl {
namespace {

using varnolt::ControlOp;

struct VirtualOptions {
    std::string code;
    bool json = false;
    std::vector<std::string> fault;
    long long delay = 0;
};

int Control(ControlOp op, std::int64_t number = 0, std::string text = {},
            std::string* output = nullptr) {
    if (!EnsureDaemon()) {
        return Fail(kExitFailed, "cannot start Varnolt; check that it is installed beside "
                                 "kovrelctl");
    }
    varnolt::ControlClient client;
    if (!client.Connect(kDaemonWait)) {
        return Fail(kExitFailed, "Varnolt does not answer; start it (VARNOLT_VIRTUAL=1 Varnolt) "
                                 "and try again");
    }
    const auto result = client.Call(op, number, std::move(text));
    if (!result) {
        return Fail(kExitFailed, "Varnolt did not answer the control request; try again");
    }
    switch (result->status) {
    case varnolt::kControlOk:
        if (output) {
            *output = result->text;
        } else {
            std::cout << result->text;
        }
        return kExitOk;
    case varnolt::kControlBadArgument:
        return Fail(kExitUsage, result->text);
    case varnolt::kControlNoVirtualKeyboard:
        return Fail(kExitNoKeyboard, result->text);
    default:
        return Fail(kExitFailed, result->text);
    }
}

int RaiseEvent(const std::string& text) {
    std::string_view view(text);
    int base = 10;
    if (view.size() > 2 && view[0] == '0' && (view[1] == 'x' || view[1] == 'X')) {
        view.remove_prefix(2);
        base = 16;
    }
    unsigned code = 0;
    const auto [end, ec] = std::from_chars(view.data(), view.data() + view.size(), code, base);
    if (ec != std::errc() || end != view.data() + view.size() || code > 0xFFFF || view.empty()) {
        return Fail(kExitUsage, "event CODE must be 0 to 0xFFFF, decimal or 0x-hex (e.g. 0x0401)");
    }
    return Control(ControlOp::RaiseEvent, code);
}

int Status(bool json) {
    std::string text;
    if (int rc = Control(ControlOp::Status, 0, {}, &text); rc != kExitOk) {
        return rc;
    }
    if (!json) {
        std::cout << text;
        return kExitOk;
    }
    nlohmann::json out = nlohmann::json::object();
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        if (auto eq = line.find('='); eq != std::string::npos) {
            const std::string key = line.substr(0, eq);
            const std::string value = line.substr(eq + 1);
            long long number = 0;
            const auto [p, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
            if (ec == std::errc() && p == value.data() + value.size()) {
                out[key] = number;
            } else {
                out[key] = value;
            }
        }
        start = end + 1;
    }
    std::cout << out.dump(2) << "\n";
    return kExitOk;
}

} // namespace

void AddVirtualCommand(CommandLine& cli) {
    auto o = std::make_shared<VirtualOptions>();
    auto* group = cli.App().add_subcommand(
        "virtual", "Test controls of the daemon's virtual keyboard (Varnolt with "
                   "VARNOLT_VIRTUAL=1).");
    group->require_subcommand(1);

    cli.OnRun(group->add_subcommand("plug", "Plug the virtual keyboard in."),
              [] { return Control(ControlOp::Plug); });
    cli.OnRun(group->add_subcommand("unplug", "Unplug the virtual keyboard."),
              [] { return Control(ControlOp::Unplug); });

    auto* event = group->add_subcommand(
        "event", "Raise a keyboard event, e.g. 0x1802 (profile key 2), 0x02FF (G bank), 0x0401 "
                 "(lighting key).");
    event->add_option("CODE", o->code, "Event code, decimal or 0x-hex")->required();
    cli.OnRun(event, [o] { return RaiseEvent(o->code); });

    auto* dump = group->add_subcommand("dump", "Print the virtual keyboard's memories.");
    dump->add_flag("--json", o->json,
                   "Print JSON: the decoded information block and lighting records, and every "
                   "memory as a hex string (as the virtual keyboard describes them)");
    cli.OnRun(dump, [o] { return Control(ControlOp::Dump, o->json ? 1 : 0); });

    auto* log = group->add_subcommand(
        "log", "Print what the virtual keyboard received, oldest first: sequence, kind "
               "(report or bank), bytes in hex.");
    log->add_flag("--json", o->json,
                  "Print JSON: [{\"sequence\": number, \"kind\": \"report\"|\"bank\", \"bytes\": "
                  "hex string}, ...]");
    cli.OnRun(log, [o] { return Control(ControlOp::Log, o->json ? 1 : 0); });

    cli.OnRun(group->add_subcommand("clear-log", "Empty the receive log."),
              [] { return Control(ControlOp::ClearLog); });

    auto* fault = group->add_subcommand(
        "fault", "Inject faults into the next commands: drop N | wrong-code N | status S N | "
                 "long N [SIZE] | unplug-after N | clear.");
    fault->add_option("FAULT", o->fault, "The fault and its numbers")->required();
    cli.OnRun(fault, [o] {
        std::string text;
        for (const auto& word : o->fault) {
            text += (text.empty() ? "" : " ") + word;
        }
        return Control(ControlOp::Fault, 0, text);
    });

    auto* delay = group->add_subcommand(
        "delay", "Set the simulated USB transfer time per report each way, in microseconds.");
    delay->add_option("MICROSECONDS", o->delay, "0 to 10000000")
        ->required()
        ->check(CLI::Range(0LL, 10'000'000LL));
    cli.OnRun(delay, [o] { return Control(ControlOp::SetDelay, o->delay); });

    auto* status = group->add_subcommand(
        "status", "Show the daemon's state: pid, keyboards, clients, the report queue, and the "
                  "virtual keyboard (plugged, unplugged or off).");
    status->add_flag("--json", o->json,
                     "Print JSON: {\"pid\", \"keyboards\", \"clients\", \"malformed\" (frames "
                     "refused), \"queued\", \"outstanding\" (0 or 1), \"sent\", \"timed_out\", "
                     "\"virtual\": \"plugged\"|\"unplugged\"|\"off\"}");
    cli.OnRun(status, [o] { return Status(o->json); });
}

} // namespace kovrel::kovrelctl
