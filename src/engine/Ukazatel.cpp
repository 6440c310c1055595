#include "engine/Ukazatel.h"

#include <cmath>

#include "system/Chyba.h"

namespace setup {

namespace {

// Nearest integer, ties to the even neighbour, whatever the current
// floating-point rounding mode is.
double ZaokrouhliNaSude(double x) {
    const double dolu = std::floor(x);
    const double zbytek = x - dolu;
    if (zbytek > 0.5) return dolu + 1;
    if (zbytek < 0.5) return dolu;
    return std::fmod(dolu, 2.0) == 0.0 ? dolu : dolu + 1;
}

}  // namespace

int64_t SirkaUkazatele(double metrLeft, double metrWidth, double ukazatelLeft,
                       int32_t hotovo, int32_t celkem) {
    if (celkem == 0) throw Chyba(11, TitulekAplikace, L"Dělení nulou.");
    const double vnitrek = metrWidth - (ukazatelLeft - metrLeft) * 2;
    const double soucin = ZaokrouhliNaSude(vnitrek * static_cast<double>(hotovo));
    // 2^63 is exact in a double; anything at or beyond it (or not a number)
    // has no 64-bit value.
    constexpr double mez = 9223372036854775808.0;
    if (!(soucin > -mez && soucin < mez)) throw Chyba(6, TitulekAplikace, L"Přetečení.");
    return static_cast<int64_t>(soucin) / celkem;
}

int32_t ProcentoUkazatele(int32_t hotovo, int32_t celkem) noexcept {
    if (celkem == 0) return 0;
    const int64_t procento = int64_t{hotovo} * 100 / celkem;
    return procento < 0 ? 0 : procento > 100 ? 100 : static_cast<int32_t>(procento);
}

}  // namespace setup
