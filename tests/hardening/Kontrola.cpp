// kontrola.exe: the control for the planted-DLL test. It loads each DLL
// named on its command line by name, as the system's own code does when it
// loads a library lazily, and prints where each came from. Without
// "--obrana" it has no defence, so copies planted in its folder are loaded
// and the test sees their markers; with it, it first restricts the DLL
// search to the system folder exactly as Setup.exe does.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    int i = 1;
    if (argc > 1 && std::wcscmp(argv[1], L"--obrana") == 0) {
        using Fn = BOOL(WINAPI*)(DWORD);
        auto fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
        if (!fn || !fn(LOAD_LIBRARY_SEARCH_SYSTEM32)) return 2;
        SetDllDirectoryW(L"");
        ++i;
    }
    for (; i < argc; ++i) {
        HMODULE m = LoadLibraryW(argv[i]);
        wchar_t cesta[MAX_PATH] = L"(nenačteno)";
        if (m) GetModuleFileNameW(m, cesta, MAX_PATH);
        std::wprintf(L"%ls: %ls\n", argv[i], cesta);
    }
    return 0;
}
