// The floor for a rollback: list a folder with FindFirstFileW, delete every
// file with DeleteFileW, remove the folder and, when empty, its parent.
// Prints the time of the loop in milliseconds.
//
//   SmyckaMazani FOLDER
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int Chyba(const char* co, const std::wstring& cesta) {
    std::fprintf(stderr, "SmyckaMazani: %s %ls failed (%lu)\n", co, cesta.c_str(), GetLastError());
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: SmyckaMazani FOLDER\n", stderr);
        return 2;
    }
    const std::wstring slozka = argv[1];
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);

    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((slozka + L"\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return Chyba("FindFirstFileW", slozka);
    long pocet = 0;
    do {
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (!DeleteFileW((slozka + L"\\" + d.cFileName).c_str())) return Chyba("DeleteFileW", d.cFileName);
        ++pocet;
    } while (FindNextFileW(h, &d));
    FindClose(h);
    if (!RemoveDirectoryW(slozka.c_str())) return Chyba("RemoveDirectoryW", slozka);
    RemoveDirectoryW(slozka.substr(0, slozka.find_last_of(L'\\')).c_str());

    QueryPerformanceCounter(&t1);
    std::printf("%.3f %ld\n", (t1.QuadPart - t0.QuadPart) * 1000.0 / f.QuadPart, pocet);
    return 0;
}
