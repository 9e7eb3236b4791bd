#pragma once
// The check value that accompanies every call of the device service.

#include <ondrel/ondrel.h>

#include <cstdint>
#include <span>

namespace kovrel::device {

using RequestId = std::span<const std::uint8_t, ONDREL_ID_SIZE>;

inline RequestId EventId() {
    return RequestId(ONDREL_ID_EVENT, ONDREL_ID_SIZE);
}
inline RequestId ControlId() {
    return RequestId(ONDREL_ID_CONTROL, ONDREL_ID_SIZE);
}
inline RequestId BankId() {
    return RequestId(ONDREL_ID_BANK, ONDREL_ID_SIZE);
}

// The identifier's bytes, the callback address (its low 32 bits, little-endian; zeros for none),
// the code (little-endian; zeros for 0) and the payload, each byte through the substitution
// table, summed modulo 2^32.
inline std::uint32_t ComputeCheckValue(RequestId id, OndrelCallback callback, std::uint32_t code,
                                       std::span<const std::uint8_t> payload = {}) {
    return OndrelCheckValue(id.data(), callback, code, payload.data(), payload.size());
}

} // namespace kovrel::device
