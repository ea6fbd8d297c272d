// 128-bit unsigned arithmetic for exact decimal and binary rounding inside the core.
#pragma once

#include <bit>
#include <cstdint>

namespace gcode {

using u128 = unsigned __int128;

inline int BitWidth(u128 v) {
    const auto high = static_cast<std::uint64_t>(v >> 64);
    const auto bits =
        high != 0 ? 64 + std::bit_width(high) : std::bit_width(static_cast<std::uint64_t>(v));
    return static_cast<int>(bits);
}

}  // namespace gcode
