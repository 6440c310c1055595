// The bench driver: starts a program, watches for its windows by polling
// FindWindowW every 10 ms, presses its buttons with posted commands, and
// times with QueryPerformanceCounter. Prints raw figures on one line; the
// driver's own delay in seeing a window (measured by "kalibrace") is taken
// off by scripts/bench.
//
//   Mereni kalibrace N                   median delay of seeing a window, ms
//   Mereni start EXE CLASS               ms to the window shown, peak working set
//   Mereni instalace EXE ROOT            ms from OK to the completion box, peak working set
//   Mereni ticho EXE ROOT                ms of a whole silent run (/S), start to exit
//   Mereni proces EXE ARGUMENTS          ms of any other program's whole run, start to exit
//   Mereni storno EXE ROOT HOOK.dll      ms from Storno to the main window back
//   Mereni zaznam N                      ms to write a run's record of N steps, as Setup.exe does
//
// ROOT is where the office suite is said to live: the target becomes
// ROOT\Templates\<set>.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "engine/Denik.h"
#include "win32/Win32.h"
#include "ui/Ovladace.h"

namespace {

const wchar_t* const TridaSetup = L"SetupDialog";
const wchar_t* const KlicKorene = L"SOFTWARE\\Microsoft\\Office\\9.0\\Common\\InstallRoot";
const wchar_t* const KlicUzivatele = L"SOFTWARE\\Microsoft\\Office\\9.0\\Common\\General";
constexpr DWORD Limit = 600000;   // ms; a hang still ends the bench

LONGLONG Ted() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double Ms(LONGLONG od, LONGLONG do_) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(do_ - od) * 1000.0 / static_cast<double>(f.QuadPart);
}

[[noreturn]] void Selhani(const char* co) {
    std::fprintf(stderr, "Mereni: %s (%lu)\n", co, GetLastError());
    std::fflush(stderr);
    ExitProcess(1);
}

DWORD PidOkna(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    return pid;
}

// A visible top-level window of the process with this class, for which ok()
// holds; FindWindowW's extended form walks all windows of the class.
template <typename F>
HWND Najdi(DWORD pid, const wchar_t* trida, F ok) {
    HWND h = nullptr;
    while ((h = FindWindowExW(nullptr, h, trida, nullptr)) != nullptr)
        if (PidOkna(h) == pid && IsWindowVisible(h) && ok(h)) return h;
    return nullptr;
}

// Polls every 10 ms; *kdy gets the time of the look that found the window.
template <typename F>
HWND Cekej(F najdi, LONGLONG* kdy, HANDLE proces = nullptr) {
    const ULONGLONG konec = GetTickCount64() + Limit;
    for (;;) {
        HWND h = najdi();
        if (h) {
            *kdy = Ted();
            return h;
        }
        if (proces && WaitForSingleObject(proces, 0) == WAIT_OBJECT_0) Selhani("the program ended");
        if (GetTickCount64() > konec) Selhani("timed out");
        Sleep(10);
    }
}

struct Proces {
    PROCESS_INFORMATION pi{};
    ~Proces() {
        if (pi.hProcess) {
            if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
};

void Spust(Proces& p, const std::wstring& exe, const std::wstring& argumenty = {}) {
    const std::wstring slozka = exe.substr(0, exe.find_last_of(L'\\'));
    std::wstring prikaz = L"\"" + exe + L"\"" + (argumenty.empty() ? L"" : L" " + argumenty);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(exe.c_str(), prikaz.data(), nullptr, nullptr, FALSE, 0, nullptr, slozka.c_str(),
                        &si, &p.pi))
        Selhani("CreateProcessW");
}

SIZE_T Spicka(HANDLE proces) {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (!GetProcessMemoryInfo(proces, &pmc, sizeof pmc)) return 0;
    return pmc.PeakWorkingSetSize;
}

void NastavText(HKEY koren, const wchar_t* klic, const wchar_t* nazev, const std::wstring& hodnota) {
    HKEY k;
    if (RegCreateKeyExW(koren, klic, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        Selhani("RegCreateKeyExW");
    RegSetValueExW(k, nazev, 0, REG_SZ, reinterpret_cast<const BYTE*>(hodnota.c_str()),
                   static_cast<DWORD>((hodnota.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
}

void SmazHodnotu(HKEY koren, const wchar_t* klic, const wchar_t* nazev) {
    HKEY k;
    if (RegOpenKeyExW(koren, klic, 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
    RegDeleteValueW(k, nazev);
    RegCloseKey(k);
}

// The main window of Setup, told from the progress window by its folder box.
HWND HlavniOkno(DWORD pid) {
    return Najdi(pid, TridaSetup, [](HWND h) { return GetDlgItem(h, IDC_SLOZKA) != nullptr; });
}

HWND Hlaseni(DWORD pid) {
    return Najdi(pid, L"#32770", [](HWND) { return true; });
}

std::wstring TextHlaseni(HWND box) {
    std::wstring vse;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t b[512];
        GetWindowTextW(c, b, 512);
        vse += b;
        vse += L'\n';
    }
    return vse;
}

void PotvrdACekej(Proces& p, HWND box) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (WaitForSingleObject(p.pi.hProcess, 20000) != WAIT_OBJECT_0) Selhani("the program did not end");
}

// Delay between a window being shown and this driver seeing it: another
// thread shows a window at a known moment, at a varying phase of the poll.
struct Kalibrace {
    HANDLE pripraveno;
    LONGLONG ukazano = 0;
    int cekani = 0;
};

DWORD WINAPI UkazOkno(void* p) {
    auto* k = static_cast<Kalibrace*>(p);
    HWND h = CreateWindowExW(0, L"STATIC", L"SetupBench.Kalibrace", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                             nullptr, nullptr, nullptr);
    Sleep(static_cast<DWORD>(k->cekani));
    ShowWindow(h, SW_SHOWNOACTIVATE);
    k->ukazano = Ted();
    SetEvent(k->pripraveno);
    MSG m;
    while (WaitForSingleObject(k->pripraveno, 0) == WAIT_OBJECT_0 || true) {
        if (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        if (!IsWindow(h) || WaitForSingleObject(k->pripraveno, 0) == WAIT_TIMEOUT) break;
        Sleep(1);
    }
    DestroyWindow(h);
    return 0;
}

int Kalibruj(int n) {
    std::vector<double> v;
    const DWORD pid = GetCurrentProcessId();
    for (int i = 0; i < n; ++i) {
        Kalibrace k;
        k.pripraveno = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        k.cekani = 20 + (i * 7) % 13;
        HANDLE vlakno = CreateThread(nullptr, 0, UkazOkno, &k, 0, nullptr);
        LONGLONG videno;
        Cekej([&] { return Najdi(pid, L"STATIC", [](HWND) { return true; }); }, &videno);
        WaitForSingleObject(k.pripraveno, INFINITE);
        v.push_back(Ms(k.ukazano, videno));
        ResetEvent(k.pripraveno);
        WaitForSingleObject(vlakno, INFINITE);
        CloseHandle(vlakno);
        CloseHandle(k.pripraveno);
    }
    std::sort(v.begin(), v.end());
    std::printf("%.3f\n", v[v.size() / 2]);
    return 0;
}

int Start(const std::wstring& exe, const wchar_t* trida) {
    Proces p;
    const LONGLONG t0 = Ted();
    Spust(p, exe);
    LONGLONG t1;
    HWND h = Cekej([&] { return Najdi(p.pi.dwProcessId, trida, [](HWND) { return true; }); }, &t1,
                   p.pi.hProcess);
    WaitForInputIdle(p.pi.hProcess, 5000);
    const SIZE_T spicka = Spicka(p.pi.hProcess);
    PostMessageW(h, WM_CLOSE, 0, 0);
    std::printf("%.3f %lu\n", Ms(t0, t1), static_cast<unsigned long>(spicka));
    return 0;
}

HWND SpustSetup(Proces& p, const std::wstring& exe) {
    Spust(p, exe);
    LONGLONG t;
    HWND h = Cekej([&] { return HlavniOkno(p.pi.dwProcessId); }, &t, p.pi.hProcess);
    WaitForInputIdle(p.pi.hProcess, 5000);
    return h;
}

void StiskniOK(HWND hlavni) {
    PostMessageW(hlavni, WM_COMMAND, MAKEWPARAM(IDC_CMDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hlavni, IDC_CMDOK)));
}

int Instalace(const std::wstring& exe, const std::wstring& koren) {
    NastavText(HKEY_LOCAL_MACHINE, KlicKorene, L"Path", koren + L"\\Office\\");
    SmazHodnotu(HKEY_CURRENT_USER, KlicUzivatele, L"Templates");
    Proces p;
    HWND hlavni = SpustSetup(p, exe);
    const LONGLONG t0 = Ted();
    StiskniOK(hlavni);
    LONGLONG t1;
    HWND box = Cekej([&] { return Hlaseni(p.pi.dwProcessId); }, &t1, p.pi.hProcess);
    const SIZE_T spicka = Spicka(p.pi.hProcess);
    const std::wstring text = TextHlaseni(box);
    if (text.find(L"úspěšně") == std::wstring::npos) {
        std::fwprintf(stderr, L"Mereni: not the completion box: %ls\n", text.c_str());
        PotvrdACekej(p, box);
        return 1;
    }
    PotvrdACekej(p, box);
    std::printf("%.3f %lu\n", Ms(t0, t1), static_cast<unsigned long>(spicka));
    return 0;
}

int Storno(const std::wstring& exe, const std::wstring& koren, const std::wstring& hak) {
    NastavText(HKEY_LOCAL_MACHINE, KlicKorene, L"Path", koren + L"\\Office\\");
    NastavText(HKEY_CURRENT_USER, KlicUzivatele, L"Templates", L"SetupBench");
    HANDLE udalost = CreateEventW(nullptr, TRUE, FALSE, L"SetupBench.Storno");
    HANDLE mapa = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8,
                                     L"SetupBench.StornoCas");
    if (!udalost || !mapa) Selhani("event or mapping");
    auto* cas = static_cast<volatile LONGLONG*>(MapViewOfFile(mapa, FILE_MAP_READ, 0, 0, 8));
    HMODULE dll = LoadLibraryW(hak.c_str());
    if (!dll) Selhani("LoadLibraryW hook");
    auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, "StornoVolani")));
    if (!proc) Selhani("StornoVolani");

    Proces p;
    HWND hlavni = SpustSetup(p, exe);
    HHOOK h = SetWindowsHookExW(WH_CALLWNDPROC, proc, dll, p.pi.dwThreadId);
    if (!h) Selhani("SetWindowsHookExW");
    StiskniOK(hlavni);
    if (WaitForSingleObject(udalost, Limit) != WAIT_OBJECT_0) Selhani("Storno was not pressed");
    // Every sent message of a hooked thread asks the server for the hook
    // chain: the hook goes before the rollback it would slow down.
    UnhookWindowsHookEx(h);
    const LONGLONG t0 = *cas;
    LONGLONG t1;
    hlavni = Cekej([&] {
        if (HWND box = Hlaseni(p.pi.dwProcessId)) {
            std::fwprintf(stderr, L"Mereni: a box during the rollback: %ls\n", TextHlaseni(box).c_str());
            Selhani("rollback failed");
        }
        return HlavniOkno(p.pi.dwProcessId);
    }, &t1, p.pi.hProcess);
    PostMessageW(hlavni, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(p.pi.hProcess, 20000) != WAIT_OBJECT_0) Selhani("the program did not end");
    SmazHodnotu(HKEY_CURRENT_USER, KlicUzivatele, L"Templates");
    std::printf("%.3f\n", Ms(t0, t1));
    return 0;
}

// The record of an install of N files, written by the program's own code
// into the program's own folder for records: the start, one step a file,
// the end (the record and, when empty, its folder removed).
int Zaznam(int n) {
    setup::Win32Soubory soubory;
    setup::Win32Shell shell;
    const std::wstring slozka = shell.SpecialniSlozka(28) + L"\\" + setup::NazevSlozkyZaznamu;   // CSIDL_LOCAL_APPDATA
    const std::wstring cil = L"T:\\a\\cil\\Templates\\Sada";
    std::vector<setup::Krok> kroky(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        wchar_t nazev[32];
        std::swprintf(nazev, 32, L"\\sablona%05d.dot", i + 1);
        kroky[static_cast<size_t>(i)].cesta = cil + nazev;
    }
    const LONGLONG t0 = Ted();
    {
        setup::Denik denik(soubory);
        denik.Zacni(slozka, false, false, cil, L"T:\\a\\medium\\Sada", L"");
        for (const auto& krok : kroky) denik.Zapis(krok);
        denik.Hotovo();
    }
    const LONGLONG t1 = Ted();
    std::printf("%.3f\n", Ms(t0, t1));
    return 0;
}

// A silent install (/S) to ROOT\Templates\<set>, from the start of the
// process to its end; the exit code must say it is done.
int Ticho(const std::wstring& exe, const std::wstring& koren) {
    NastavText(HKEY_LOCAL_MACHINE, KlicKorene, L"Path", koren + L"\\Office\\");
    SmazHodnotu(HKEY_CURRENT_USER, KlicUzivatele, L"Templates");
    Proces p;
    const LONGLONG t0 = Ted();
    Spust(p, exe, L"/S /LOG=" + koren + L"\\ticho.log");
    if (WaitForSingleObject(p.pi.hProcess, Limit) != WAIT_OBJECT_0) Selhani("the silent run did not end");
    const LONGLONG t1 = Ted();
    DWORD kod = 1;
    GetExitCodeProcess(p.pi.hProcess, &kod);
    if (kod != 0) Selhani("the silent run did not install");
    std::printf("%.3f %lu\n", Ms(t0, t1), static_cast<unsigned long>(Spicka(p.pi.hProcess)));
    return 0;
}

// Another installer's run with the arguments as given (a peer's silent
// install), from the start of its process to its end; it must exit with 0.
int CelyProces(const std::wstring& exe, const std::wstring& argumenty) {
    Proces p;
    const LONGLONG t0 = Ted();
    Spust(p, exe, argumenty);
    if (WaitForSingleObject(p.pi.hProcess, Limit) != WAIT_OBJECT_0) Selhani("the program did not end");
    const LONGLONG t1 = Ted();
    DWORD kod = 1;
    GetExitCodeProcess(p.pi.hProcess, &kod);
    if (kod != 0) Selhani("the program failed");
    std::printf("%.3f %lu\n", Ms(t0, t1), static_cast<unsigned long>(Spicka(p.pi.hProcess)));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring co = argc > 1 ? argv[1] : L"";
    if (co == L"kalibrace" && argc == 3) return Kalibruj(_wtoi(argv[2]));
    if (co == L"start" && argc == 4) return Start(argv[2], argv[3]);
    if (co == L"instalace" && argc == 4) return Instalace(argv[2], argv[3]);
    if (co == L"storno" && argc == 5) return Storno(argv[2], argv[3], argv[4]);
    if (co == L"zaznam" && argc == 3) return Zaznam(_wtoi(argv[2]));
    if (co == L"ticho" && argc == 4) return Ticho(argv[2], argv[3]);
    if (co == L"proces" && argc >= 3) {
        std::wstring argumenty;
        for (int i = 3; i < argc; ++i) argumenty += (i > 3 ? L" " : L"") + std::wstring(argv[i]);
        return CelyProces(argv[2], argumenty);
    }
    std::fputs("usage: Mereni kalibrace N | start EXE CLASS | instalace EXE ROOT | storno EXE ROOT HOOK.dll"
               " | zaznam N | ticho EXE ROOT | proces EXE ARGUMENTS\n",
               stderr);
    return 2;
}
