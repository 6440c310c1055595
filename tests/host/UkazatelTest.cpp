#include <gtest/gtest.h>

#include <climits>
#include <limits>

#include "engine/Ukazatel.h"
#include "system/Chyba.h"

namespace setup {
namespace {

// The progress window's layout: Metr at 120 and 4005 wide, Ukazatel at 150.
int64_t Sirka(int32_t hotovo, int32_t celkem) {
    return SirkaUkazatele(120, 4005, 150, hotovo, celkem);
}

TEST(Ukazatel, PriklladyRozvrzeniOkna) {
    EXPECT_EQ(Sirka(1, 3), 1315);
    EXPECT_EQ(Sirka(2, 3), 2630);
    EXPECT_EQ(Sirka(3, 3), 3945);
    EXPECT_EQ(Sirka(0, 1), 0);
    EXPECT_EQ(Sirka(1, 1), 3945);
    // Integer part of 3945 * i / n.
    EXPECT_EQ(Sirka(1, 7), 563);
    EXPECT_EQ(Sirka(6, 7), 3381);
}

TEST(Ukazatel, ZaokrouhleniNaSudouSoucinu) {
    // inner 2.5 and 3.5: the product is rounded before the division.
    EXPECT_EQ(SirkaUkazatele(0, 2.5, 0, 1, 1), 2);
    EXPECT_EQ(SirkaUkazatele(0, 3.5, 0, 1, 1), 4);
    EXPECT_EQ(SirkaUkazatele(0, 2.6, 0, 1, 1), 3);
    EXPECT_EQ(SirkaUkazatele(0, 2.4, 0, 1, 1), 2);
    EXPECT_EQ(SirkaUkazatele(0, -2.5, 0, 1, 1), -2);
    // 7.5 rounds to 8, then 8 / 3 truncates to 2.
    EXPECT_EQ(SirkaUkazatele(0, 7.5, 0, 1, 3), 2);
    // Truncation toward zero for a negative product.
    EXPECT_EQ(SirkaUkazatele(0, -7, 0, 1, 3), -2);
}

TEST(Ukazatel, VelkeHodnotyBezPreteceni) {
    // 3945 * 2^31 is far beyond 32 bits; the width still comes out right.
    EXPECT_EQ(Sirka(INT32_MAX, INT32_MAX), 3945);
    EXPECT_EQ(Sirka(INT32_MAX / 2, INT32_MAX), 1972);
    EXPECT_EQ(Sirka(1'000'000, 3'000'000), 1315);
    EXPECT_EQ(Sirka(INT32_MAX, 1), int64_t{3945} * INT32_MAX);   // beyond the frame, not clamped
}

TEST(Ukazatel, NesmyslneHodnotyJsouChybou) {
    EXPECT_THROW(Sirka(1, 0), Chyba);
    EXPECT_THROW(SirkaUkazatele(0, 1e300, 0, 1, 1), Chyba);
    EXPECT_THROW(SirkaUkazatele(0, std::numeric_limits<double>::quiet_NaN(), 0, 1, 1), Chyba);
    EXPECT_THROW(SirkaUkazatele(0, std::numeric_limits<double>::infinity(), 0, 1, 1), Chyba);
}

TEST(Ukazatel, ProcentoZCiselBehu) {
    EXPECT_EQ(ProcentoUkazatele(2, 3), 66);   // truncated, not rounded
    EXPECT_EQ(ProcentoUkazatele(3, 3), 100);
    EXPECT_EQ(ProcentoUkazatele(INT32_MAX - 1, INT32_MAX), 99);   // 100 * 2^31 needs 64 bits
    // Beyond the total or below nothing, the value stays in its range.
    EXPECT_EQ(ProcentoUkazatele(INT32_MAX, 1), 100);
    EXPECT_EQ(ProcentoUkazatele(-1, 3), 0);
    EXPECT_EQ(ProcentoUkazatele(1, 0), 0);
}

}  // namespace
}  // namespace setup
