// prazdny.exe: imports the same DLLs as Setup.exe and ends in its first
// line. What Wine loads for it is what it loads for Setup.exe before
// Setup.exe's first line runs; scripts/test-hardening checks that the
// import lists agree.
#include <windows.h>
#include <objbase.h>

#include <cstdlib>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Referenced, never called: each makes its DLL an import.
    static void* volatile dovozy[] = {
        reinterpret_cast<void*>(&RegCloseKey), reinterpret_cast<void*>(&GetStockObject),
        reinterpret_cast<void*>(&CoInitializeEx), reinterpret_cast<void*>(&MessageBoxW), reinterpret_cast<void*>(&std::abort)};
    (void)dovozy;
    ExitProcess(0);
}
