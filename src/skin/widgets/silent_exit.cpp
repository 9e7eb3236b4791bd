#include "skin/widgets/silent_exit.h"

#include <cstdlib>
#include <utility>

namespace kovrel::skin {

namespace {

SilentExitHook& InstalledHook() {
    static SilentExitHook hook;
    return hook;
}

} // namespace

void EndProgramSilently() {
    constexpr int kExitCode = 0;
    if (const SilentExitHook& hook = InstalledHook()) {
        hook(kExitCode);
        return;
    }
    std::exit(kExitCode);
}

SilentExitHook SetSilentExitHook(SilentExitHook hook) {
    return std::exchange(InstalledHook(), std::move(hook));
}

} // namespace kovrel::skin
