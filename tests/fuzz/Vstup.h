// Turns the fuzzer's bytes into a path-like text: most bytes stand for
// themselves (so "\", ":" and "." turn up often), a byte with the top bit set
// starts a two-byte UTF-16 unit, so letters of every script, NULs and lone
// surrogates occur too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace fuzz {

inline std::wstring Text(const uint8_t* data, std::size_t size) {
    std::wstring s;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] < 0x80 || i + 1 == size) {
            s += static_cast<wchar_t>(data[i] & 0x7F);
        } else {
            s += static_cast<wchar_t>(((data[i] & 0x7F) << 9 | data[i + 1] << 1 | 1) & 0xFFFF);
            ++i;
        }
    }
    return s;
}

[[noreturn]] inline void Poruseno(const char* co) {
    std::fprintf(stderr, "property broken: %s\n", co);
    __builtin_trap();
}

}  // namespace fuzz
