#include "model/configuration_store.h"

namespace kovrel {

void Configuration::SetText(int recordIndex, std::u16string_view text) {
    TextEntry& entry = texts[recordIndex];
    textTotal -= entry.size;
    const std::size_t end = text.find(u'\0');
    entry.text = std::u16string(text.substr(0, end));
    entry.size = static_cast<std::uint32_t>((entry.text.size() + 1) * 2);
    textTotal += entry.size;
}

Configuration EmptyConfiguration() {
    Configuration configuration;
    SetGCodes(configuration.Area(0));
    return configuration;
}

int MacroPositionIn(std::span<const MacroRecord> macros, std::uint32_t macroId) {
    for (std::size_t i = 0; i < macros.size(); ++i) {
        if (macros[i].macroId == macroId) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

void ConfigurationStore::Replace(Configuration configuration) {
    const Lock lock = Acquire();
    data_ = std::move(configuration);
}

ConfigurationStore& WorkingStore() {
    static ConfigurationStore store;
    return store;
}

ConfigurationStore& AppliedStore() {
    static ConfigurationStore store;
    return store;
}

int MacroPosition(std::uint32_t macroId) {
    ConfigurationStore& working = WorkingStore();
    const auto lock = working.Acquire();
    return MacroPositionIn(working.Data().macros, macroId);
}

std::uint16_t MacroIdAt(int position) {
    ConfigurationStore& working = WorkingStore();
    const auto lock = working.Acquire();
    const auto& macros = working.Data().macros;
    if (position < 0 || static_cast<std::size_t>(position) >= macros.size()) {
        return 0;
    }
    return macros[position].macroId;
}

} // namespace kovrel
