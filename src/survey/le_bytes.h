#pragma once
// Explicit little-endian access to byte images. The probe's memory and the .ZLM file are
// little-endian; reading through these keeps the code independent of host byte order and
// of struct layout.
#include <bit>
#include <cstdint>
#include <cstring>

namespace zolm::le {

inline std::uint16_t u16(const std::uint8_t *p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t u32(const std::uint8_t *p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
        | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::uint64_t u64(const std::uint8_t *p)
{
    return static_cast<std::uint64_t>(u32(p)) | (static_cast<std::uint64_t>(u32(p + 4)) << 32);
}

inline double f64(const std::uint8_t *p) { return std::bit_cast<double>(u64(p)); }
inline float f32(const std::uint8_t *p) { return std::bit_cast<float>(u32(p)); }

inline void put16(std::uint8_t *p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void put32(std::uint8_t *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void put64(std::uint8_t *p, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void putF64(std::uint8_t *p, double v) { put64(p, std::bit_cast<std::uint64_t>(v)); }
inline void putF32(std::uint8_t *p, float v) { put32(p, std::bit_cast<std::uint32_t>(v)); }

} // namespace zolm::le
