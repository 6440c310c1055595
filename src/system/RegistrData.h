// Turns a registry value's type and raw bytes into the text the registry
// reader returns. Portable: the bytes come from whatever read them.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace setup {

// Value types, as the platform numbers them.
inline constexpr uint32_t TypRegSz = 1;         // UTF-16LE text
inline constexpr uint32_t TypRegExpandSz = 2;   // the same, with %VARIABLES% to expand
inline constexpr uint32_t TypRegDword = 4;      // 32-bit little-endian number

// REG_SZ: the text up to its first NUL (or to the end when there is none; an
// odd last byte is not half a character and is dropped), trimmed of spaces.
// REG_DWORD: exactly four bytes, read as a signed number, in decimal; any
// other length is not a number and gives empty text.
// Every other type: empty text.
std::wstring TextHodnoty(uint32_t typ, std::span<const uint8_t> data);

}  // namespace setup
