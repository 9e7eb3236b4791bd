#include "model/macro_image.h"

#include "model/byte_order.h"
#include "model/key_usage.h"
#include "model/profile_block.h"
#include "skin/core/language_table.h"

#include <algorithm>

namespace kovrel {
namespace {

std::size_t NameLength(const MacroRecord& macro) {
    return std::min(macro.name.size(), kMaxMacroNameChars);
}

std::size_t ActionCount(const MacroRecord& macro) {
    return std::min(macro.actions.size(), static_cast<std::size_t>(kMaxMacroActions));
}

std::span<const MacroRecord> Capped(std::span<const MacroRecord> macros) {
    return macros.first(std::min(macros.size(), static_cast<std::size_t>(kMaxMacros)));
}

// The image word and key bytes of one action.
void EncodeAction(const MacroAction& action, std::span<std::uint8_t> out, std::size_t at) {
    auto word = static_cast<std::uint16_t>((action.delay / 10) & 0x0FFF);
    std::uint8_t k0 = 0;
    std::uint8_t k1 = 0;
    const HidUsage usage = KeyToUsage(action.key);
    if (usage.page == kPageKeyboard) {
        word |= 0x2000;
        if (const std::uint8_t bit = ModifierBit(action.key); bit != 0) {
            k0 = 0x01;
            k1 = bit;
        } else {
            k0 = 0x02;
            k1 = static_cast<std::uint8_t>(usage.usage);
        }
    } else if (usage.page == kPageConsumer || usage.page == kPageGenericDesktop) {
        word |= usage.page == kPageConsumer ? 0x3000 : 0x4000;
        k0 = static_cast<std::uint8_t>(usage.usage & 0xFF);
        k1 = static_cast<std::uint8_t>(usage.usage >> 8);
    }
    if (action.state != 1) {
        word |= 0x8000;
    }
    bytes::PutU16(out, at, word);
    out[at + 2] = k0;
    out[at + 3] = k1;
}

std::u16string NumberedMacroName(int number) {
    std::u16string name = LanguageText("MACRO_NEW_PREFIX");
    for (char c : std::to_string(number)) {
        name.push_back(static_cast<char16_t>(c));
    }
    return name;
}

} // namespace

MacroImageSize MacroImageSizes(std::span<const MacroRecord> macros) {
    macros = Capped(macros);
    MacroImageSize size;
    size.withoutNames = kMacroImageHeaderSize + 2 * macros.size();
    std::size_t names = 0;
    for (const MacroRecord& macro : macros) {
        size.withoutNames += 4 + 4 * ActionCount(macro);
        names += 2 * NameLength(macro);
    }
    size.withNames = size.withoutNames + names;
    return size;
}

std::vector<std::uint8_t> EncodeMacroImage(std::span<const MacroRecord> macros, bool names) {
    macros = Capped(macros);
    const MacroImageSize sizes = MacroImageSizes(macros);
    const std::size_t size = names ? sizes.withNames : sizes.withoutNames;
    std::vector<std::uint8_t> image(size, 0);
    bytes::PutU16(image, 0, kMacroImageMark);
    bytes::PutU16(image, 2, static_cast<std::uint16_t>(size & 0xFFFF));
    bytes::PutU16(image, 4, static_cast<std::uint16_t>(macros.size()));
    bytes::PutU16(image, 6, names ? 1 : 0);
    std::size_t o = kMacroImageHeaderSize + 2 * macros.size();
    for (std::size_t k = 0; k < macros.size(); ++k) {
        const MacroRecord& macro = macros[k];
        const std::size_t count = ActionCount(macro);
        const std::size_t nameLength = names ? NameLength(macro) : 0;
        bytes::PutU16(image, kMacroImageHeaderSize + 2 * k, static_cast<std::uint16_t>(o & 0xFFFF));
        bytes::PutU16(image, o, static_cast<std::uint16_t>(count));
        image[o + 2] = macro.cycles;
        image[o + 3] = static_cast<std::uint8_t>(nameLength);
        o += 4;
        for (std::size_t a = 0; a < count; ++a) {
            EncodeAction(macro.actions[a], image, o);
            o += 4;
        }
        for (std::size_t c = 0; c < nameLength; ++c) {
            bytes::PutU16(image, o, macro.name[c]);
            o += 2;
        }
    }
    return image;
}

int DecodeMacroImage(std::span<const std::uint8_t> image, std::vector<MacroRecord>& out) {
    out.clear();
    if (image.size() < kMacroImageHeaderSize || bytes::GetU16(image, 0) != kMacroImageMark) {
        return -1;
    }
    const std::size_t n = bytes::GetU16(image, 4);
    if (n > kMaxMacros || !bytes::Fits(image.size(), kMacroImageHeaderSize, 2 * n)) {
        return -1;
    }
    std::vector<MacroRecord> macros(n);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t entry = bytes::GetU16(image, kMacroImageHeaderSize + 2 * k);
        if (!bytes::Fits(image.size(), entry, 4)) {
            return -1;
        }
        const std::size_t count = bytes::GetU16(image, entry);
        const std::size_t nameLength = image[entry + 3];
        if (count > kMaxMacroActions ||
            !bytes::Fits(image.size(), entry + 4, 4 * count + 2 * nameLength)) {
            return -1;
        }
        MacroRecord& macro = macros[k];
        macro.cycles = image[entry + 2];
        macro.newFlag = 0;
        macro.macroId = static_cast<std::uint16_t>(k + 1);
        macro.actions.resize(count);
        std::size_t at = entry + 4;
        for (std::size_t a = 0; a < count; ++a, at += 4) {
            const std::uint16_t word = bytes::GetU16(image, at);
            const auto pageClass = static_cast<std::uint8_t>((word >> 12) & 7);
            MacroAction& action = macro.actions[a];
            action.delay = (word & 0x0FFFu) * 10;
            action.key = SlotKey({pageClass, image[at + 2], image[at + 3]});
            action.state = (word & 0x8000) ? 0 : 1;
        }
        if (nameLength > 0) {
            for (std::size_t c = 0; c < std::min(nameLength, kMaxMacroNameChars); ++c) {
                macro.name.push_back(static_cast<char16_t>(bytes::GetU16(image, at + 2 * c)));
            }
        } else {
            macro.name = NumberedMacroName(static_cast<int>(k + 1));
        }
    }
    out = std::move(macros);
    return static_cast<int>(n);
}

} // namespace kovrel
