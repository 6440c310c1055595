// znacka.dll: planted beside Setup.exe under the names of the DLLs it loads.
// When anything loads it, it leaves "<its own path>.nacteno" behind, so a
// test sees afterwards that a planted copy ran. It exports nothing and does
// nothing else.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE dll, DWORD duvod, LPVOID) {
    if (duvod == DLL_PROCESS_ATTACH) {
        wchar_t cesta[MAX_PATH + 16];
        const DWORD n = GetModuleFileNameW(dll, cesta, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            lstrcatW(cesta, L".nacteno");
            HANDLE h = CreateFileW(cesta, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        }
    }
    return TRUE;
}
