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

std::string Utf8(std::wstring_view text) {
    std::string s;
    s.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        uint32_t c = static_cast<uint16_t>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            const uint32_t d = static_cast<uint16_t>(text[i + 1]);
            if (d >= 0xDC00 && d <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00);
                ++i;
            }
        }
        if (c < 0x80) {
            s += static_cast<char>(c);
        } else if (c < 0x800) {
            s += static_cast<char>(0xC0 | (c >> 6));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            s += static_cast<char>(0xE0 | (c >> 12));
            s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            s += static_cast<char>(0xF0 | (c >> 18));
            s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return s;
}

std::wstring ZUtf8(std::string_view bajty) {
    std::wstring text;
    text.reserve(bajty.size());
    const auto bajt = [&](std::size_t i) { return static_cast<uint8_t>(bajty[i]); };
    const auto pokracovani = [&](std::size_t i) { return i < bajty.size() && (bajt(i) & 0xC0) == 0x80; };
    for (std::size_t i = 0; i < bajty.size();) {
        const uint8_t b = bajt(i);
        uint32_t c = 0xFFFD;
        std::size_t delka = 1;
        if (b < 0x80) {
            c = b;
        } else if (b >= 0xC2 && b < 0xE0 && pokracovani(i + 1)) {
            c = ((b & 0x1Fu) << 6) | (bajt(i + 1) & 0x3Fu);
            delka = 2;
        } else if (b >= 0xE0 && b < 0xF0 && pokracovani(i + 1) && pokracovani(i + 2)) {
            c = ((b & 0x0Fu) << 12) | ((bajt(i + 1) & 0x3Fu) << 6) | (bajt(i + 2) & 0x3Fu);
            delka = 3;
            if (c < 0x800) c = 0xFFFD;   // an overlong form
        } else if (b >= 0xF0 && b < 0xF5 && pokracovani(i + 1) && pokracovani(i + 2) && pokracovani(i + 3)) {
            c = ((b & 0x07u) << 18) | ((bajt(i + 1) & 0x3Fu) << 12) | ((bajt(i + 2) & 0x3Fu) << 6) |
                (bajt(i + 3) & 0x3Fu);
            delka = 4;
            if (c < 0x10000 || c > 0x10FFFF) c = 0xFFFD;
        }
        if (c >= 0x10000 && c != 0xFFFD) {
            text += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            text += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            text += static_cast<wchar_t>(c);
        }
        i += delka;
    }
    return text;
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
