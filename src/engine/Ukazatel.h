// The progress bar's arithmetic, in twips.
#pragma once

#include <cstdint>

namespace setup {

// The filled length of the bar for hotovo of celkem (celkem != 0): the inner
// length of the frame times hotovo, rounded to the nearest integer with ties
// to even, divided by celkem with the quotient truncated toward zero.
// Computed in 64 bits, so no argument overflows.
int64_t SirkaUkazatele(double metrLeft, double metrWidth, double ukazatelLeft,
                       int32_t hotovo, int32_t celkem);

// The share done in whole percent, as the bar tells a screen reader:
// hotovo * 100 / celkem truncated toward zero, computed in 64 bits and held
// within 0 to 100, the range of a progress bar's value. No total gives 0.
int32_t ProcentoUkazatele(int32_t hotovo, int32_t celkem) noexcept;

}  // namespace setup
