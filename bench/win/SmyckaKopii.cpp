// The floor for an install: list the set with FindFirstFileW and copy every
// plain file with CopyFileW into a new folder, nothing else. Prints the time
// of the loop in milliseconds (QueryPerformanceCounter).
//
//   SmyckaKopii SOURCE TARGET      (TARGET and its parent are created)
#include <windows.h>

#include <cstdio>
#include <string>

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

    const std::wstring rodic = cil.substr(0, cil.find_last_of(L'\\'));
    if (GetFileAttributesW(rodic.c_str()) == INVALID_FILE_ATTRIBUTES) CreateDirectoryW(rodic.c_str(), nullptr);
    if (!CreateDirectoryW(cil.c_str(), nullptr)) return 1;
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((zdroj + L"\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return 1;
    long pocet = 0;
    do {
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (!CopyFileW((zdroj + L"\\" + d.cFileName).c_str(), (cil + L"\\" + d.cFileName).c_str(), TRUE))
            return 1;
        ++pocet;
    } while (FindNextFileW(h, &d));
    FindClose(h);

    QueryPerformanceCounter(&t1);
    std::printf("%.3f %ld\n", (t1.QuadPart - t0.QuadPart) * 1000.0 / f.QuadPart, pocet);
    return 0;
}
