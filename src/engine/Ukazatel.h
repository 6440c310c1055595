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

}  // namespace setup
