// The program's entry: a safe DLL search, COM and the common controls on
// this one thread, then the main window and its message loop.
#include <windows.h>

#include <optional>
#include <string>

#include "engine/Denik.h"
#include "engine/Instalace.h"
#include "engine/Obnova.h"
#include "engine/Zjisteni.h"
#include "system/Cesty.h"
#include "system/Text.h"
#include "system/Volby.h"
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
constexpr int KodNeplatnaVolba = 87;  // ERROR_INVALID_PARAMETER

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
constexpr const wchar_t* VerzeProgramu = L"1.00.0018";

int KodVysledku(Vysledek v) {
    switch (v) {
    case Vysledek::Hotovo: return KodHotovo;
    case Vysledek::Zruseno: return KodZruseno;
    case Vysledek::Selhalo: return KodSelhalo;
    }
    return KodSelhalo;
}

constexpr const wchar_t* TextNapovedy =
    L"Použití: Setup.exe [volby]\r\n"
    L"\r\n"
    L"/S – tichá instalace: žádné okno ani hlášení; šablony se nainstalují do navržené složky.\r\n"
    L"/D=složka – cílová složka místo navržené. Jako poslední volba smí obsahovat mezery i bez uvozovek.\r\n"
    L"/LOG=soubor – připojí záznam o průběhu do souboru (UTF-8). Tichý běh bez /LOG zapisuje do "
    L"%TEMP%\\Setup <sada>.log.\r\n"
    L"/U – odebere šablony z cílové složky; soubory, které jste od instalace změnili, zůstanou.\r\n"
    L"/? – zobrazí tento přehled.\r\n"
    L"\r\n"
    L"Volby lze psát i s pomlčkou (-S) a malými písmeny.\r\n"
    L"\r\n"
    L"Návratové kódy: 0 hotovo, 1602 zrušeno uživatelem, 1603 chyba, 1618 už běží jiný Setup, "
    L"1619 chybí složka se šablonami, 87 neplatná volba.";

// The boxes of a run with a log: each one shown and written down.
class ZapisovaneHlaseni final : public IHlaseni {
public:
    ZapisovaneHlaseni(IHlaseni& dal, IProtokol& protokol) : dal_(dal), protokol_(protokol) {}
    int Zprava(const std::wstring& text, const std::wstring& titulek, uint32_t styl) override {
        try {
            protokol_.Radek(L"Hlášení: " + text);
        } catch (...) {
        }
        return dal_.Zprava(text, titulek, styl);
    }

private:
    IHlaseni& dal_;
    IProtokol& protokol_;
};

// The log's opening lines: which program, started how.
void Uvod(IProtokol& protokol) {
    protokol.Radek(std::wstring(L"Setup ") + VerzeProgramu);
    protokol.Radek(std::wstring(L"Příkazový řádek: ") + GetCommandLineW());
}

// Where the records of runs live.
std::wstring SlozkaZaznamu(IShell& shell) {
#ifdef SETUP_BEZ_ZAZNAMU
    // Built so by the benchmark alone, to weigh what the record costs.
    (void)shell;
    return {};
#else
    // The system names the folder in the environment of every process it
    // starts; asking the shell would load its library, a megabyte and a few
    // milliseconds, at every start. The shell answers where the name is not
    // given, or is no full path.
    std::wstring slozka(MAX_PATH, L'\0');
    const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", slozka.data(), MAX_PATH);
    slozka.resize(n < MAX_PATH ? n : 0);
    if (!slozka.empty() && slozka.back() == L'\\') slozka.pop_back();
    if (RozeberCestu(slozka).vada != VadaCesty::Zadna) slozka = shell.SpecialniSlozka(CsidlLocalAppData);
    if (!slozka.empty()) slozka += std::wstring(L"\\") + NazevSlozkyZaznamu;
    return slozka;
#endif
}

// The log a silent run keeps when it is not told where: beside the user's
// other temporary files, named after the set.
std::wstring VychoziLog(const std::wstring& sada) {
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return {};
    return std::wstring(temp, n) + (sada.empty() ? L"Setup.log" : L"Setup " + sada + L".log");
}

// The run nobody watches: no window and no box, ever; everything it would
// have said goes to the log, and the exit code says how it ended.
int SpustTise(const Volby& volby) {
    Win32Protokol protokol;
    TichyPrubeh tichy(&protokol);
    Win32Soubory soubory;
    Win32Registr registr(tichy);
    Win32Shell shell(tichy);
    Uvod(protokol);
    const auto konec = [&](int kod) {
        protokol.Radek(L"Výsledek: " + TextCisla(kod));
        return kod;
    };
    try {
        if (volby.log) protokol.Otevri(soubory, *volby.log);
    } catch (...) {
        return KodNeplatnaVolba;   // a log it was told to keep cannot be kept
    }
    // Not told where: the default log, once the set's name is known or the
    // run ends without one. Nowhere to write: the exit code still tells.
    const auto vychoziLog = [&](const std::wstring& sada) {
        if (protokol.Otevreny()) return;
        try {
            protokol.Otevri(soubory, VychoziLog(sada));
        } catch (...) {
        }
    };
    if (!volby.chybna.empty()) {
        vychoziLog(L"");
        protokol.Radek(L"Neplatná volba příkazového řádku: „" + volby.chybna + L"“.");
        return konec(KodNeplatnaVolba);
    }
    if (volby.napoveda) return konec(KodHotovo);

    const std::wstring slozkaZaznamu = SlozkaZaznamu(shell);
    OznamObnovu(tichy, DokonciPrerusene(soubory, registr, shell, slozkaZaznamu), slozkaZaznamu);

    Nacteni n;
    try {
        n = ZjistiInstalaci(SlozkaSouboru(CestaProgramu()), soubory, registr, shell);
    } catch (...) {
        const Chyba chyba = ChybaZVyjimky();
        vychoziLog(L"");
        protokol.Radek(L"Chyba " + TextCisla(chyba.cislo) + L": " + chyba.popis);
        return konec(chyba.popis == TextBezSady ? KodBezSady : KodSelhalo);
    }
    vychoziLog(n.NazevSady);
    protokol.Radek(L"Sada: " + n.slozky.ZdrojSlozka);
    protokol.Radek(L"Návrh: " + n.PuvodNavrhu);
    n.slozky.SlozkaZaznamu = slozkaZaznamu;
    Stroj stroj{soubory, registr, shell, tichy, &protokol};
    const std::wstring cil = volby.cil.value_or(n.slozky.CilSlozka);
    return konec(KodVysledku(volby.odinstalovat ? Odeber(stroj, n.slozky, cil) : cmdOK_Click(stroj, n.slozky, cil)));
}

int Spust() {
    const Volby volby = RozeberPrikaz(GetCommandLineW());

    // A bad command line and the list of options touch nothing: they are
    // answered even while another run goes on.
    if (!volby.tichy && (!volby.chybna.empty() || volby.napoveda)) {
        Win32Hlaseni hlaseni;
        if (volby.napoveda) {
            hlaseni.Zprava(TextNapovedy, TitulekAplikace, StylInformace);
            return KodHotovo;
        }
        hlaseni.Zprava(L"Neplatná volba příkazového řádku: „" + volby.chybna + L"“.\r\n\r\n" + TextNapovedy,
                       TitulekAplikace, StylKriticka);
        return KodNeplatnaVolba;
    }

    JedinyBeh jedinyBeh;
    if (jedinyBeh.JinyBezi()) {
        if (!volby.tichy) jedinyBeh.UkazJiny();
        return KodJinyBeh;
    }
    // COM on this thread, apartment-threaded as a user-interface thread
    // needs it for the shell's link object and folder browser. Without it
    // those two fail and report it themselves; the rest works. A window
    // needs neither to be shown, so COM comes up once it shows.
    std::optional<ComProstredi> com;
    const auto zapniCom = [&com] { com.emplace(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE); };
    if (volby.tichy) {
        zapniCom();
        return SpustTise(volby);
    }

    ZapniBezneOvladace();
    Win32Hlaseni naObrazovce;
    Win32Soubory soubory;
    Win32Protokol protokol;
    if (volby.log) {
        try {
            protokol.Otevri(soubory, *volby.log);
        } catch (...) {
            const Chyba chyba = ChybaZVyjimky();
            naObrazovce.Zprava(L"Záznam o průběhu nelze zapisovat do souboru „" + *volby.log + L"“: " + chyba.popis,
                               TitulekAplikace, StylKriticka);
            return KodNeplatnaVolba;
        }
        Uvod(protokol);
    }
    ZapisovaneHlaseni zapisovane(naObrazovce, protokol);
    IHlaseni& hlaseni = volby.log ? static_cast<IHlaseni&>(zapisovane) : naObrazovce;
    const auto konec = [&](int kod) {
        if (volby.log) protokol.Radek(L"Výsledek: " + TextCisla(kod));
        return kod;
    };
    Win32Registr registr(hlaseni);
    Win32Shell shell(hlaseni);
    Vzhled vzhled(GetModuleHandleW(nullptr));

    // What a killed run left is put back before anything else is shown.
    const std::wstring slozkaZaznamu = SlozkaZaznamu(shell);
    OznamObnovu(hlaseni, DokonciPrerusene(soubory, registr, shell, slozkaZaznamu), slozkaZaznamu);

    frmSetup okno(Sluzby{soubory, registr, shell, hlaseni}, vzhled);
    naObrazovce.vlastnik = [&okno] { return okno.VlastnikHlaseni(); };
    // A long copy runs while the windows go on answering.
    soubory.cekani = [&okno](HANDLE konec) { okno.CekejNaKopii(konec); };
    NaKonci odpoj([&naObrazovce, &soubory] {
        naObrazovce.vlastnik = nullptr;
        soubory.cekani = nullptr;
    });
    if (!okno.Nacti(SlozkaSouboru(CestaProgramu()))) return konec(okno.BezSady() ? KodBezSady : KodSelhalo);
    okno.slozky.SlozkaZaznamu = slozkaZaznamu;
    if (volby.log) {
        okno.protokol = &protokol;
        protokol.Radek(L"Sada: " + okno.slozky.ZdrojSlozka);
        protokol.Radek(L"Návrh: " + okno.PuvodNavrhu);
    }
    if (volby.cil) okno.NastavCil(*volby.cil);

    if (volby.odinstalovat) {
        zapniCom();
        // Nothing is taken away without the user's word.
        const std::wstring cil = volby.cil.value_or(okno.slozky.CilSlozka);
        std::wstring sada, nazev;
        RozdelCestu(okno.slozky.ZdrojSlozka, sada, nazev);
        if (hlaseni.Zprava(L"Chcete ze složky „" + cil + L"“ odebrat šablony „" + nazev + L"“?\r\n\r\n"
                           L"Soubory, které jste od instalace změnili, zůstanou na místě.",
                           TitulekHlavnihoOkna, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
            return konec(KodZruseno);
        return konec(KodVysledku(okno.Odeber()));
    }

    okno.Zobraz();
    zapniCom();
    MSG zprava;
    BOOL r;
    while ((r = GetMessageW(&zprava, nullptr, 0, 0)) != 0) {
        if (r == -1) VyvolejPosledni(L"GetMessageW");
        okno.ZpracujZpravu(zprava);
    }
    // Closing the window without a run that stood is the user's choice to
    // stop, unless the last run failed.
    const auto beh = okno.PosledniBeh();
    if (beh == Vysledek::Hotovo) return konec(KodHotovo);
    return konec(beh == Vysledek::Selhalo ? KodSelhalo : KodZruseno);
}

}  // namespace

}  // namespace setup::ui

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
