// The test program runs on a COM apartment thread, as the installer's
// user-interface thread does.
#include <gtest/gtest.h>

#include "win32/Uchyty.h"

int wmain(int argc, wchar_t** argv) {
    setup::ComProstredi com;
    if (FAILED(com.Vysledek())) return 2;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
