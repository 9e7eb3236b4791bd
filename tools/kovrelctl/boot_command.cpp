// kovrelctl boot: put the keyboard into its firmware-update (boot) mode.

#include "command_groups.h"
#include "keyboard_session.h"

#include <memory>

namespace kovrel::kovrelctl {
namespace {

int RunBoot(bool yes) {
    if (!yes) {
        return Fail(kExitUsage, "boot mode stops the keyboard until a firmware updater runs; "
                                "add --yes to go ahead");
    }
    KeyboardSession session;
    if (int rc = session.Open(); rc != kExitOk) {
        return rc;
    }
    const int result = device::EnterBootMode(session.Protocol());
    if (result == device::result::kNoKeyboard) {
        return CommandFailed(result, "enter boot mode");
    }
    if (result != device::result::kSuccess) {
        return Fail(kExitFailed, "cannot enter boot mode: the device service refused the report; "
                                 "check that Varnolt is running and try again");
    }
    return kExitOk;
}

} // namespace

void AddBootCommand(CommandLine& cli) {
    auto yes = std::make_shared<bool>(false);
    auto* boot = cli.App().add_subcommand(
        "boot", "Send the boot-mode report: the keyboard waits for a firmware updater.");
    boot->add_flag("--yes", *yes, "Confirm: the keyboard stops working until it is updated");
    cli.OnRun(boot, [yes] { return RunBoot(*yes); });
}

} // namespace kovrel::kovrelctl
