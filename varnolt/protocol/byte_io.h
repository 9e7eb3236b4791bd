#pragma once
// Little-endian packing for the daemon's socket frames, one byte at a time. The reader never
// reads past its buffer: every read reports failure instead, so a malformed frame is refused
// as a whole.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kovrel::varnolt {

class ByteWriter {
public:
    void U8(std::uint8_t v) { bytes_.push_back(v); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void I64(std::int64_t v) {
        U32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
        U32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) >> 32));
    }
    void Bytes(std::span<const std::uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    // A 32-bit length, then the bytes.
    void Blob(std::span<const std::uint8_t> b) {
        U32(static_cast<std::uint32_t>(b.size()));
        Bytes(b);
    }
    void Text(std::string_view s) {
        Blob(std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()));
    }

    const std::vector<std::uint8_t>& Data() const { return bytes_; }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool U8(std::uint8_t& v) {
        if (Remaining() < 1) {
            return Fail();
        }
        v = bytes_[pos_++];
        return true;
    }
    bool U16(std::uint16_t& v) {
        std::uint8_t lo = 0, hi = 0;
        if (!U8(lo) || !U8(hi)) {
            return false;
        }
        v = static_cast<std::uint16_t>(lo | (hi << 8));
        return true;
    }
    bool U32(std::uint32_t& v) {
        std::uint16_t lo = 0, hi = 0;
        if (!U16(lo) || !U16(hi)) {
            return false;
        }
        v = static_cast<std::uint32_t>(lo) | (static_cast<std::uint32_t>(hi) << 16);
        return true;
    }
    bool I32(std::int32_t& v) {
        std::uint32_t u = 0;
        if (!U32(u)) {
            return false;
        }
        v = static_cast<std::int32_t>(u);
        return true;
    }
    bool I64(std::int64_t& v) {
        std::uint32_t lo = 0, hi = 0;
        if (!U32(lo) || !U32(hi)) {
            return false;
        }
        v = static_cast<std::int64_t>(static_cast<std::uint64_t>(lo) |
                                      (static_cast<std::uint64_t>(hi) << 32));
        return true;
    }
    // A 32-bit length, then that many bytes; refused when the length exceeds `limit` or what
    // is left of the buffer.
    bool Blob(std::vector<std::uint8_t>& out, std::size_t limit) {
        std::uint32_t n = 0;
        if (!U32(n)) {
            return false;
        }
        if (n > limit || n > Remaining()) {
            return Fail();
        }
        out.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                   bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
        pos_ += n;
        return true;
    }
    bool Text(std::string& out, std::size_t limit) {
        std::vector<std::uint8_t> b;
        if (!Blob(b, limit)) {
            return false;
        }
        out.assign(b.begin(), b.end());
        return true;
    }

    std::size_t Remaining() const { return bytes_.size() - pos_; }
    // True when every byte was consumed and no read failed: trailing bytes make a frame
    // malformed, so two sides that disagree on a layout notice at once.
    bool Finished() const { return ok_ && pos_ == bytes_.size(); }
    bool Ok() const { return ok_; }

private:
    bool Fail() {
        ok_ = false;
        return false;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

} // namespace kovrel::varnolt
