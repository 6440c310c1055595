// Layout arithmetic of the two windows: positions are designed in twips
// (1/1440 inch) and placed in pixels at the screen's actual DPI.
#pragma once

#include <cstdint>
#include <string>

namespace setup::ui {

// A rectangle in twips, as the layout tables give it.
struct Twipy {
    int left, top, width, height;
};

// Twips to pixels, rounded to the nearest pixel with halves away from zero
// (as MulDiv rounds), and held inside the range a window coordinate can
// take, so that no argument can overflow.
inline int Pixely(int64_t twipy, int dpi) {
    constexpr int64_t Mez = 32767;
    const int64_t soucin = twipy * dpi;
    int64_t px = soucin >= 0 ? (soucin + 720) / 1440 : -((-soucin + 720) / 1440);
    if (px > Mez) px = Mez;
    if (px < -Mez) px = -Mez;
    return static_cast<int>(px);
}

// The folder of a program from the full path of its file: the part before
// the last "\", where a drive root keeps its backslash (E:\Setup.exe gives
// E:\, C:\Sada\Setup.exe gives C:\Sada).
inline std::wstring SlozkaSouboru(const std::wstring& cesta) {
    const auto p = cesta.find_last_of(L'\\');
    if (p == std::wstring::npos) return std::wstring();
    std::wstring slozka = cesta.substr(0, p);
    if (slozka.size() == 2 && slozka[1] == L':') slozka += L'\\';
    return slozka;
}

}  // namespace setup::ui
