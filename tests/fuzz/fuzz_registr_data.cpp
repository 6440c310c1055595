// Registry bytes of any type and length to text: no overread (ASan sees the
// exact length, as the bytes are copied to a buffer of their own size), no
// NUL and no space at either end of the result, a REG_DWORD only from
// exactly four bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <span>

#include "Vstup.h"
#include "system/RegistrData.h"

using fuzz::Poruseno;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the type: mostly the two that are read, now and
    // then any other number.
    const uint32_t typ = data[0] < 0x70   ? setup::TypRegSz
                         : data[0] < 0xE0 ? setup::TypRegDword
                                          : static_cast<uint32_t>(data[0]) - 0xE0;
    const std::size_t n = size - 1;
    std::unique_ptr<uint8_t[]> bajty(new uint8_t[n ? n : 1]);
    __builtin_memcpy(bajty.get(), data + 1, n);

    const std::wstring text = setup::TextHodnoty(typ, std::span<const uint8_t>(bajty.get(), n));

    if (text.find(L'\0') != std::wstring::npos) Poruseno("the text holds a NUL");
    if (!text.empty() && (text.front() == L' ' || text.back() == L' ')) Poruseno("the text is not trimmed");

    if (typ == setup::TypRegSz) {
        if (text.size() > n / 2) Poruseno("REG_SZ: more characters than the bytes hold");
        // The text is a piece of what the bytes say, before their first NUL.
        std::wstring cely;
        for (std::size_t i = 0; i + 1 < n; i += 2) {
            const wchar_t z = static_cast<wchar_t>(bajty[i] | bajty[i + 1] << 8);
            if (z == L'\0') break;
            cely += z;
        }
        if (cely.find(text) == std::wstring::npos) Poruseno("REG_SZ: text not found in the value");
    } else if (typ == setup::TypRegDword) {
        if (n != 4) {
            if (!text.empty()) Poruseno("REG_DWORD: a number from other than four bytes");
        } else {
            const int32_t cislo = static_cast<int32_t>(bajty[0] | bajty[1] << 8 | bajty[2] << 16 |
                                                       static_cast<uint32_t>(bajty[3]) << 24);
            if (std::wcstoll(text.c_str(), nullptr, 10) != cislo) Poruseno("REG_DWORD: the text is not the number");
        }
    } else if (!text.empty()) {
        Poruseno("another type gave text");
    }
    return 0;
}
