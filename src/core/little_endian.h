// A 32-bit value as the four bytes Windows stores it in (REG_DWORD data, the
// DROPFILES header): least significant byte first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace glossira {

inline std::string PackDword(std::uint32_t v)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return bytes;
}

// The value in bytes[at, at + 4); the caller checks that they are there.
inline std::uint32_t UnpackDword(std::string_view bytes, std::size_t at = 0)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

}  // namespace glossira
