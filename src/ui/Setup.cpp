// The program's entry: a safe DLL search, COM and the common controls on
// this one thread, then the main window and its message loop.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "engine/Denik.h"
#include "engine/Obnova.h"
#include "system/win32/Uchyty.h"
#include "system/win32/Win32.h"
#include "ui/Rozmery.h"
#include "ui/Vzhled.h"
#include "ui/frmSetup.h"

namespace setup::ui {

namespace {

// Libraries are loaded from the system folder only, never from the folder
// the installer runs from, which on a medium anybody may have written to.
void OmezHledaniKnihoven() noexcept {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        // Older systems lack the call; they get the narrower SetDllDirectoryW.
        auto fn = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void (*)()>(
            GetProcAddress(kernel, "SetDefaultDllDirectories")));
        if (fn) fn(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    SetDllDirectoryW(L"");
}

// The common controls are not among the DLLs Windows always takes from the
// system folder, so the program does not import them (an import is resolved
// before the search can be restricted): they are loaded by name once it is.
// By name, not by full path, so the manifest's activation context still
// gives version 6 from the side-by-side store.
// The common controls load msimg32 lazily themselves; Wine's do it without
// the restricted search and would take a copy from the program's folder.
// Loaded first by its full system path, it is already there when they ask.
void ZapniBezneOvladace() noexcept {
    NactiSystemovouKnihovnu(L"msimg32.dll");

    using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    if (!comctl) return;
    auto fn = reinterpret_cast<InitCommonControlsExFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(comctl, "InitCommonControlsEx")));
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    if (fn) fn(&icc);
}

// The full path of the running program, however long.
std::wstring CestaProgramu() {
    std::wstring cesta(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, cesta.data(), static_cast<DWORD>(cesta.size()));
        if (n == 0) VyvolejPosledni(L"GetModuleFileNameW");
        if (n < cesta.size()) {
            cesta.resize(n);
            return cesta;
        }
        // Cut short: the buffer was too small.
        cesta.resize(cesta.size() * 2);
    }
}

// Exit codes that deployment tools read without being told.
constexpr int KodHotovo = 0;
constexpr int KodZruseno = 1602;      // ERROR_INSTALL_USEREXIT
constexpr int KodSelhalo = 1603;      // ERROR_INSTALL_FAILURE
constexpr int KodJinyBeh = 1618;      // ERROR_INSTALL_ALREADY_RUNNING
constexpr int KodBezSady = 1619;      // ERROR_INSTALL_PACKAGE_OPEN_FAILED

// One run of Setup at a time in a logon session, whichever set it carries:
// two runs over one folder would take each other's files for their own, and
// the records of runs are shared. The first start holds the mutex for its
// whole life and names its process beside it, so that a second start can
// bring its windows to the front.
constexpr const wchar_t* NazevZamku = L"Local\\Setup-InstalaceSablon-1";
constexpr const wchar_t* NazevProcesu = L"Local\\Setup-InstalaceSablon-1-proces";

class JedinyBeh {
public:
    JedinyBeh() {
        zamek_.reset(CreateMutexW(nullptr, FALSE, NazevZamku));
        // Without the mutex there is no way to tell: the run goes on alone.
        jiny_ = zamek_ && GetLastError() == ERROR_ALREADY_EXISTS;
        proces_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD), NazevProcesu));
        if (!proces_) return;
        if (DWORD* pid = static_cast<DWORD*>(MapViewOfFile(proces_.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(DWORD)))) {
            if (!jiny_) *pid = GetCurrentProcessId();
            else pidJineho_ = *pid;
            UnmapViewOfFile(pid);
        }
    }
    bool JinyBezi() const { return jiny_; }

    // The other run's window to the front: the box it waits on, if any.
    void UkazJiny() const {
        if (pidJineho_ == 0) return;
        Hledani h{pidJineho_};
        EnumWindows(&NajdiOkno, reinterpret_cast<LPARAM>(&h));
        if (!h.okno) return;
        HWND popredi = GetLastActivePopup(h.okno);
        if (IsIconic(h.okno)) ShowWindow(h.okno, SW_RESTORE);
        SetForegroundWindow(popredi ? popredi : h.okno);
    }

private:
    struct Hledani {
        DWORD pid;
        HWND okno = nullptr;
    };
    // The other process's visible window that nothing owns.
    static BOOL CALLBACK NajdiOkno(HWND okno, LPARAM l) {
        auto* h = reinterpret_cast<Hledani*>(l);
        DWORD pid = 0;
        GetWindowThreadProcessId(okno, &pid);
        if (pid != h->pid || !IsWindowVisible(okno) || GetWindow(okno, GW_OWNER)) return TRUE;
        h->okno = okno;
        return FALSE;
    }

    UchytObjektu zamek_;
    UchytObjektu proces_;
    bool jiny_ = false;
    DWORD pidJineho_ = 0;
};

constexpr int32_t CsidlLocalAppData = 28;

int Spust() {
    JedinyBeh jedinyBeh;
    if (jedinyBeh.JinyBezi()) {
        jedinyBeh.UkazJiny();
        return KodJinyBeh;
    }

    // COM on this thread, apartment-threaded as a user-interface thread
    // needs it for the shell's link object and folder browser. Without it
    // those two fail and report it themselves; the rest works.
    ComProstredi com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ZapniBezneOvladace();

    Win32Hlaseni hlaseni;
    Win32Soubory soubory;
    Win32Registr registr(hlaseni);
    Win32Shell shell(hlaseni);
    Vzhled vzhled(GetModuleHandleW(nullptr));

    // What a killed run left is put back before anything else is shown.
    std::wstring slozkaZaznamu = shell.SpecialniSlozka(CsidlLocalAppData);
    if (!slozkaZaznamu.empty()) slozkaZaznamu += std::wstring(L"\\") + NazevSlozkyZaznamu;
#ifdef SETUP_BEZ_ZAZNAMU
    // Built so by the benchmark alone, to weigh what the record costs.
    slozkaZaznamu.clear();
#endif
    OznamObnovu(hlaseni, DokonciPrerusene(soubory, registr, slozkaZaznamu), slozkaZaznamu);

    frmSetup okno(Sluzby{soubory, registr, shell, hlaseni}, vzhled);
    hlaseni.vlastnik = [&okno] { return okno.VlastnikHlaseni(); };
    // A long copy runs while the windows go on answering.
    soubory.cekani = [&okno](HANDLE konec) { okno.CekejNaKopii(konec); };
    NaKonci odpoj([&hlaseni, &soubory] {
        hlaseni.vlastnik = nullptr;
        soubory.cekani = nullptr;
    });
    if (!okno.Nacti(SlozkaSouboru(CestaProgramu()))) return okno.BezSady() ? KodBezSady : KodSelhalo;
    okno.slozky.SlozkaZaznamu = slozkaZaznamu;
    okno.Zobraz();

    MSG zprava;
    BOOL r;
    while ((r = GetMessageW(&zprava, nullptr, 0, 0)) != 0) {
        if (r == -1) VyvolejPosledni(L"GetMessageW");
        okno.ZpracujZpravu(zprava);
    }
    // Closing the window without a run that stood is the user's choice to
    // stop, unless the last run failed.
    const auto beh = okno.PosledniBeh();
    if (beh == Vysledek::Hotovo) return KodHotovo;
    return beh == Vysledek::Selhalo ? KodSelhalo : KodZruseno;
}

}  // namespace

}  // namespace setup::ui

// Every exception is caught at a window procedure or here, so a terminate
// never has a type name to print. Replacing libstdc++'s verbose handler
// keeps its name demangler, a sixth of the program, out of Setup.exe.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    setup::ui::OmezHledaniKnihoven();
    try {
        return setup::ui::Spust();
    } catch (...) {
        setup::Win32Hlaseni hlaseni;
        setup::ui::NahlasVyjimku(hlaseni);
        return setup::ui::KodSelhalo;
    }
}
