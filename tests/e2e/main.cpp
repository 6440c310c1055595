// The end-to-end tests of Setup.exe. Run under Wine (scripts/test-e2e):
//   SETUP_E2E_EXE    Windows path of the Setup.exe under test
//   SETUP_E2E_VZORY  Windows path of the bundled sample template set
//   SETUP_E2E_SNIMKY Linux folder for screenshots (optional)
//   SETUP_E2E_ODKAZY Windows folder to keep written links in, for lnkinfo (optional)
//   SETUP_E2E_CEKANI how long to wait for the program, in ms (optional)
//   SETUP_E2E_SEMENO the seed of the random kill points (optional; each run prints its own)
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    // The link object and the folder browser's messages need COM.
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    ::testing::InitGoogleTest(&argc, argv);
    int vysledek = RUN_ALL_TESTS();
    ::CoUninitialize();
    return vysledek;
}
