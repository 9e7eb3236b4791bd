#include "model/key_record.h"

#include "model/byte_order.h"

namespace kovrel {

void PackKeyRecord(const KeyRecord& record, std::span<std::uint8_t, kKeyRecordSize> out) {
    bytes::PutU16(out, 0, record.kind);
    bytes::PutU16(out, 2, record.aux);
    bytes::PutU32(out, 4, record.value);
    bytes::PutU32(out, 8, record.mark);
    bytes::PutU32(out, 12, record.reserved);
}

KeyRecord UnpackKeyRecord(std::span<const std::uint8_t, kKeyRecordSize> in) {
    KeyRecord record;
    record.kind = bytes::GetU16(in, 0);
    record.aux = bytes::GetU16(in, 2);
    record.value = bytes::GetU32(in, 4);
    record.mark = bytes::GetU32(in, 8);
    record.reserved = bytes::GetU32(in, 12);
    return record;
}

std::uint16_t GCodeOfRecord(int recordNumber) {
    if (recordNumber < kGRecordFirst || recordNumber >= kGRecordEnd) {
        return 0;
    }
    const int offset = recordNumber - kGRecordFirst;
    const int bank = offset / kGKeysPerBank;
    const int g = offset % kGKeysPerBank + 1;
    return static_cast<std::uint16_t>((bank == 0 ? 0x0300 : 0x1300) + g);
}

void SetGCodes(AreaRecords area) {
    for (int r = kGRecordFirst; r < kGRecordEnd; ++r) {
        area[r].aux = GCodeOfRecord(r);
    }
}

} // namespace kovrel
