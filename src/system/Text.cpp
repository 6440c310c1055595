#include "system/Text.h"

namespace setup {

// Upper case of one UTF-16 unit for the scripts a Czech user meets in file
// and folder names: ASCII, Latin-1, Latin Extended-A, basic Greek and
// Cyrillic. Letters without a one-unit partner (ß, ı, ĸ, ŉ, ſ) stay as they are.
wchar_t VelkePismeno(wchar_t z) {
    const unsigned c = static_cast<unsigned>(z);
    if (c < 0x80) return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 0x20) : z;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 0x20);
    if (c == 0xFF) return static_cast<wchar_t>(0x178);
    if (c >= 0x100 && c <= 0x17F) {
        // Pairs run upper, lower from 0100 to 0137 and from 014A to 0177, and
        // from 0139 to 0148 and from 0179 to 017E they start one place later.
        if ((c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
            return (c & 1) ? static_cast<wchar_t>(c - 1) : z;
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
            return (c & 1) ? z : static_cast<wchar_t>(c - 1);
        return z;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x430 && c <= 0x44F) return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 0x50);
    return z;
}

std::wstring OrizniNulu(std::wstring_view text) {
    const auto pos = text.find(L'\0');
    return std::wstring(pos == std::wstring_view::npos ? text : text.substr(0, pos));
}

std::wstring OrizniMezery(std::wstring_view text) {
    const auto zacatek = text.find_first_not_of(L' ');
    if (zacatek == std::wstring_view::npos) return {};
    const auto konec = text.find_last_not_of(L' ');
    return std::wstring(text.substr(zacatek, konec - zacatek + 1));
}

std::wstring TextCisla(int64_t cislo) {
    // The magnitude without overflow, the most negative number included.
    const bool zaporne = cislo < 0;
    uint64_t n = zaporne ? 0 - static_cast<uint64_t>(cislo) : static_cast<uint64_t>(cislo);
    wchar_t cifry[21];
    wchar_t* p = cifry + 21;
    do {
        *--p = static_cast<wchar_t>(L'0' + n % 10);
        n /= 10;
    } while (n != 0);
    if (zaporne) *--p = L'-';
    return std::wstring(p, cifry + 21);
}

bool StejnyText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (VelkePismeno(a[i]) != VelkePismeno(b[i])) return false;
    return true;
}

bool MensiBezVelikosti(std::wstring_view a, std::wstring_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t x = VelkePismeno(a[i]), y = VelkePismeno(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

std::wstring VelkaPismena(std::wstring_view text) {
    std::wstring vysledek(text);
    for (auto& z : vysledek) z = VelkePismeno(z);
    return vysledek;
}

}  // namespace setup
