// The floor for an install: list the set with FindFirstFileW and copy every
// plain file with CopyFileW into a new folder, nothing else. Prints the time
// of the loop in milliseconds (QueryPerformanceCounter).
//
//   SmyckaKopii SOURCE TARGET      (TARGET and its parent are created)
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int Chyba(const char* co, const std::wstring& cesta) {
    std::fprintf(stderr, "SmyckaKopii: %s %ls failed (%lu)\n", co, cesta.c_str(), GetLastError());
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: SmyckaKopii SOURCE TARGET\n", stderr);
        return 2;
    }
    const std::wstring zdroj = argv[1];
    const std::wstring cil = argv[2];
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);

    // Every missing level of the target, as the installer makes them.
    for (size_t i = cil.find(L'\\', 3); i != std::wstring::npos; i = cil.find(L'\\', i + 1))
        CreateDirectoryW(cil.substr(0, i).c_str(), nullptr);
    if (!CreateDirectoryW(cil.c_str(), nullptr)) return Chyba("CreateDirectoryW", cil);
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((zdroj + L"\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return Chyba("FindFirstFileW", zdroj);
    long pocet = 0;
    do {
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (!CopyFileW((zdroj + L"\\" + d.cFileName).c_str(), (cil + L"\\" + d.cFileName).c_str(), TRUE))
            return Chyba("CopyFileW", d.cFileName);
        ++pocet;
    } while (FindNextFileW(h, &d));
    FindClose(h);

    QueryPerformanceCounter(&t1);
    std::printf("%.3f %ld\n", (t1.QuadPart - t0.QuadPart) * 1000.0 / f.QuadPart, pocet);
    return 0;
}
