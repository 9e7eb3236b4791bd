#include "app/instance_start.h"

#include "app/instance_client.h"

namespace kovrel::app {

StartDecision ClaimInstance(const CommandLine& line, InstanceLock& lock,
                            const std::filesystem::path& socketPath) {
    if (line.kill) {
        instance::SendRequest(instance::Request::Quit(), socketPath);
        return StartDecision::Exit;
    }
    if (lock.TryAcquire() != InstanceLock::Result::HeldByOther) {
        return StartDecision::Run;
    }
    // A command given to a second start is meant for the running instance; showing its window
    // as well would get in the way of what the command does.
    if (line.commands.empty()) {
        instance::SendRequest(instance::Request::Show(), socketPath);
    }
    for (std::uint32_t command : line.commands) {
        instance::SendRequest(instance::Request::Command(command), socketPath);
    }
    return StartDecision::Exit;
}

} // namespace kovrel::app
