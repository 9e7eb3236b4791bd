#include "device/arrival.h"

#include "device/connected_keyboard.h"
#include "device/current_profile.h"

namespace kovrel::device {

ArrivalResult ReadArrivalData(CommandProtocol& protocol, ConnectedKeyboard& keyboard) {
    ArrivalResult outcome;
    ProfileBlockBytes layout{};
    outcome.layout = ReadDefaultLayout(protocol, layout);
    if (outcome.layout == result::kSuccess) {
        keyboard.SetDefaultLayout(layout);
    }
    InfoBlock block{};
    outcome.info = ReadInfoBlock(protocol, block);
    if (outcome.info == result::kSuccess) {
        keyboard.SetMacroMemorySize(block[kInfoMacroUnits] * kMacroUnitBytes);
    }
    return outcome;
}

} // namespace kovrel::device
