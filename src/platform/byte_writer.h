#pragma once
// Little-endian byte packing for the binary files the program writes itself (painting, settings,
// metafiles): values are appended byte by byte in a fixed order, never by dumping in-memory
// records, so a file's layout does not depend on the compiler.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pigmentaria {

class TByteWriter {
public:
    void U8(std::uint8_t v) { Bytes_.push_back(v); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void Raw(const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        Bytes_.insert(Bytes_.end(), b, b + n);
    }
    void Zeros(std::size_t n) { Bytes_.insert(Bytes_.end(), n, 0); }
    // A NUL-terminated string in a fixed field; the caller has checked that it fits.
    void FixedString(std::string_view s, std::size_t field) {
        const std::size_t n = s.size() < field ? s.size() : field - 1;
        Raw(s.data(), n);
        Zeros(field - n);
    }
    // Patches a value written earlier, at byte offset `at`.
    void PutU16(std::size_t at, std::uint16_t v) {
        Bytes_[at] = static_cast<std::uint8_t>(v);
        Bytes_[at + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    void PutU32(std::size_t at, std::uint32_t v) {
        PutU16(at, static_cast<std::uint16_t>(v));
        PutU16(at + 2, static_cast<std::uint16_t>(v >> 16));
    }
    std::size_t Size() const { return Bytes_.size(); }
    std::vector<std::uint8_t>& Bytes() { return Bytes_; }

private:
    std::vector<std::uint8_t> Bytes_;
};

} // namespace pigmentaria
