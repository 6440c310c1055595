// The program's entry: a safe DLL search, COM and the common controls on
// this one thread, then the main window and its message loop.
#include <windows.h>
#include <sddl.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/Denik.h"
#include "engine/Instalace.h"
#include "engine/Obnova.h"
#include "engine/Zjisteni.h"
#include "system/Cesty.h"
#include "system/Text.h"
#include "system/Volby.h"
#include "win32/Uchyty.h"
#include "win32/Win32.h"
#include "ui/KonecRelace.h"
#include "ui/Rozmery.h"
#include "ui/Vzhled.h"
#include "ui/frmSetup.h"
#include "ui/res/Zdroje.h"

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

// The path with its short (8.3) names spelled out; as it stands where that
// cannot be told.
std::wstring DlouhaCesta(const std::wstring& cesta) {
    const DWORD n = GetLongPathNameW(cesta.c_str(), nullptr, 0);
    if (n == 0) return cesta;
    std::wstring dlouha(n, L'\0');
    const DWORD m = GetLongPathNameW(cesta.c_str(), dlouha.data(), n);
    if (m == 0 || m >= n) return cesta;
    dlouha.resize(m);
    return dlouha;
}

// The user's temporary folder, where an archive viewer puts a program
// started out of an archive. TMP and TEMP often name it with short names
// (a long user name), while the program's own path has the long ones.
std::wstring DocasnaSlozka() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return {};
    return DlouhaCesta(std::wstring(temp, n));
}

// Exit codes that deployment tools read without being told.
constexpr int KodHotovo = 0;
constexpr int KodZruseno = 1602;      // ERROR_INSTALL_USEREXIT
constexpr int KodSelhalo = 1603;      // ERROR_INSTALL_FAILURE
constexpr int KodJinyBeh = 1618;      // ERROR_INSTALL_ALREADY_RUNNING
constexpr int KodBezSady = 1619;      // ERROR_INSTALL_PACKAGE_OPEN_FAILED
constexpr int KodNeplatnaVolba = 87;  // ERROR_INVALID_PARAMETER

// One run of Setup at a time for each user, across all of the user's logon
// sessions and whichever set it carries: two runs over one folder would take
// each other's files for their own, and the records of runs are kept in the
// user's profile. The first start holds a mutex named after the user, in
// the namespace all sessions share, for its whole life. A mutex that cannot
// be made or opened (an elevated run's refuses an unelevated start; another
// program may hold the name) counts as a run in progress: a second run at
// once is the one thing that must not happen.
//
// Beside it, in its own session, the first start names its process and
// whether it runs silent, so that a second start there can bring its
// windows to the front; windows of another session cannot be.
constexpr const wchar_t* NazevZamku = L"Global\\Setup-InstalaceSablon-1-";   // + the user's SID
constexpr const wchar_t* NazevProcesu = L"Local\\Setup-InstalaceSablon-1-";  // + the SID + "-proces"

// How long a second start waits, at most, for the first run to name its
// process, and then for a window of it to show: a run just started shows
// its window only once it has put back what a killed run left.
constexpr DWORD CekaniNaProces = 1000;
constexpr DWORD CekaniNaOkno = 10000;

constexpr const wchar_t* TextJinehoBehu = L"Instalace šablon již probíhá. Počkejte prosím, až skončí.";

// The SID the program runs as, in its string form; empty when it cannot be read.
std::wstring SidUzivatele() {
    UchytObjektu token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return {};
    DWORD n = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &n);
    std::vector<unsigned char> data(n);
    if (n == 0 || !GetTokenInformation(token.get(), TokenUser, data.data(), n, &n)) return {};
    LokalniText text;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(data.data())->User.Sid, text.put())) return {};
    return text.get();
}

class JedinyBeh {
public:
    explicit JedinyBeh(bool tichy) {
        const std::wstring sid = SidUzivatele();
        if (sid.empty()) return;
        const std::wstring zamek = NazevZamku + sid;
        zamek_.reset(CreateMutexW(nullptr, FALSE, zamek.c_str()));
        const DWORD chyba = GetLastError();
        jiny_ = !zamek_ || chyba == ERROR_ALREADY_EXISTS;

        const std::wstring proces = NazevProcesu + sid + L"-proces";
        proces_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ZapisBehu),
                                         proces.c_str()));
        if (proces_) pohled_.reset(MapViewOfFile(proces_.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ZapisBehu)));
        if (pohled_ && !jiny_) {
            Zapis().tichy = tichy;
            // Named last: whoever reads the process reads its kind too.
            InterlockedExchange(&Zapis().pid, static_cast<LONG>(GetCurrentProcessId()));
        }
    }
    ~JedinyBeh() {
        if (pohled_ && !jiny_) InterlockedExchange(&Zapis().pid, 0);
    }
    JedinyBeh(const JedinyBeh&) = delete;
    JedinyBeh& operator=(const JedinyBeh&) = delete;

    bool JinyBezi() const { return jiny_; }

    // Brings the other run's window to the front: the box it waits on, if
    // any. False when there is none to bring: the other run is silent, runs
    // in another session, or the name is held by some other program.
    bool UkazJiny() const {
        if (!pohled_) return false;
        const DWORD zacatek = GetTickCount();
        DWORD pid = 0;
        UchytObjektu proces;
        for (;;) {
            if (pid == 0) {
                pid = static_cast<DWORD>(InterlockedCompareExchange(&Zapis().pid, 0, 0));
                if (pid != 0 && Zapis().tichy) return false;
                if (pid != 0) proces.reset(OpenProcess(SYNCHRONIZE, FALSE, pid));
            }
            if (pid != 0 && UkazOkno(pid)) return true;
            if (GetTickCount() - zacatek >= (pid != 0 ? CekaniNaOkno : CekaniNaProces)) return false;
            // A run that ends meanwhile has no window left to bring.
            if (!proces)
                Sleep(50);
            else if (WaitForSingleObject(proces.get(), 50) != WAIT_TIMEOUT)
                return false;
        }
    }

private:
    struct ZapisBehu {
        volatile LONG pid;     // 0 until the first run has named itself, and after it ends
        volatile LONG tichy;
    };
    ZapisBehu& Zapis() const { return *static_cast<ZapisBehu*>(pohled_.get()); }

    struct Hledani {
        DWORD pid;
        HWND okno = nullptr;
        HWND vlastnene = nullptr;
    };
    // The other process's visible window that nothing owns; else its first
    // visible owned one, in front: during a run the progress window, whose
    // owner is hidden, or a box over it.
    static BOOL CALLBACK NajdiOkno(HWND okno, LPARAM l) {
        auto* h = reinterpret_cast<Hledani*>(l);
        DWORD pid = 0;
        GetWindowThreadProcessId(okno, &pid);
        if (pid != h->pid || !IsWindowVisible(okno)) return TRUE;
        if (GetWindow(okno, GW_OWNER)) {
            if (!h->vlastnene) h->vlastnene = okno;
            return TRUE;
        }
        h->okno = okno;
        return FALSE;
    }
    static bool UkazOkno(DWORD pid) {
        Hledani h{pid};
        EnumWindows(&NajdiOkno, reinterpret_cast<LPARAM>(&h));
        if (h.okno) {
            HWND popredi = GetLastActivePopup(h.okno);
            if (IsIconic(h.okno)) ShowWindow(h.okno, SW_RESTORE);
            SetForegroundWindow(popredi ? popredi : h.okno);
            return true;
        }
        if (!h.vlastnene) return false;
        SetForegroundWindow(h.vlastnene);
        return true;
    }

    UchytObjektu zamek_;
    UchytObjektu proces_;
    PohledMapovani pohled_;
    // Without the user's name no mutex can be asked for: as if another run held it.
    bool jiny_ = true;
};

constexpr int32_t CsidlLocalAppData = 28;
constexpr int32_t CsidlCommonAppData = 35;
constexpr const wchar_t* VerzeProgramu = L"" VERZE_PROGRAMU;

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
    L"/LOG=soubor – připojí záznam o průběhu do souboru (UTF-8). Tichý běh bez /LOG zapisuje pokaždé "
    L"do nového souboru %TEMP%\\Setup <sada> <RRRR-MM-DD> #<číslo>.log.\r\n"
    L"/U – odebere šablony z cílové složky; soubory, které jste od instalace změnili, zůstanou.\r\n"
    L"/? – zobrazí tento přehled.\r\n"
    L"\r\n"
    L"Volby lze psát i s pomlčkou (-S) a malými písmeny.\r\n"
    L"\r\n"
    L"Návratové kódy: 0 hotovo, 1602 zrušeno uživatelem, 1603 chyba, 1618 už běží jiný Setup, "
    L"1619 chybí složka se šablonami, 87 neplatná volba.";

// Why a silent run's command line was refused, in one line of its log.
constexpr const wchar_t* TextPlatnychVoleb =
    L"Volby se oddělují mezerou a každá začíná znakem / nebo -; platné jsou /S, /D=složka, /LOG=soubor, "
    L"/U a /?.";

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

#ifndef SETUP_BEZ_ZAZNAMU
// The user the process runs as (the SID as text), and whether it runs with
// more rights than that user's own programs: elevated from a split token
// (with UAC off, or for a standard user, every program of the user has the
// same rights and there is nothing to guard), or as a service account (as
// under a deployment tool). Wine keeps no security descriptors and gives
// every program of the Unix user the same rights: no boundary there either,
// and a protected folder could not be told from any other. Nothing when the
// token cannot be read.
struct Prava {
    std::wstring sid;
    bool vyssi = false;
    bool sluzba = false;   // a service account: LocalSystem, LocalService, NetworkService
};

std::optional<Prava> PravaProcesu() {
    UchytObjektu token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return std::nullopt;
    alignas(TOKEN_USER) BYTE uzivatel[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD n = 0;
    if (!GetTokenInformation(token.get(), TokenUser, uzivatel, sizeof uzivatel, &n)) return std::nullopt;
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(uzivatel)->User.Sid, &text)) return std::nullopt;
    const LokalniText vlastnik(text);
    Prava p{text};
    TOKEN_ELEVATION_TYPE druh = TokenElevationTypeDefault;
    // Not knowing is taken as the worse case.
    p.sluzba = p.sid == L"S-1-5-18" || p.sid == L"S-1-5-19" || p.sid == L"S-1-5-20";
    p.vyssi = !GetTokenInformation(token.get(), TokenElevationType, &druh, sizeof druh, &n) ||
              druh == TokenElevationTypeFull || p.sluzba;
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) p.vyssi = false;
    return p;
}
#endif

// Where the records of runs live; empty: in memory only.
struct MistoZaznamu {
    std::wstring slozka;
    bool chranene = false;   // see SlozkyInstalace::ZaznamyChranene
    bool sluzba = false;     // the run is a service's (a deployment tool's), not a person's
};

MistoZaznamu SlozkaZaznamu(IShell& shell, IHlaseni& hlaseni) {
#ifdef SETUP_BEZ_ZAZNAMU
    // Built so by the benchmark alone, to weigh what the record costs.
    (void)shell;
    (void)hlaseni;
    return {};
#else
    const auto prava = PravaProcesu();
    if (!prava || prava->vyssi) {
        // A run with more rights than the user's own programs must not take
        // back what they could have written: its records live among the
        // machine's data, in a folder for each user that only administrators
        // and SYSTEM may change. That folder comes from the shell, not from
        // the environment, which whoever started the run sets.
        MistoZaznamu m{{}, true, !prava || prava->sluzba};
        if (!prava) return m;
        const std::wstring data = SpecialniSlozkaNeboNic(shell, hlaseni, CsidlCommonAppData);
        if (RozeberCestu(data).vada == VadaCesty::Zadna)
            m.slozka = data + L"\\" + NazevSlozkyZaznamu + L"\\" + prava->sid;
        return m;
    }
    // The system names the folder in the environment of every process it
    // starts; asking the shell would load its library, a megabyte and a few
    // milliseconds, at every start. The shell answers where the name is not
    // given, or is no full path.
    std::wstring slozka(MAX_PATH, L'\0');
    const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", slozka.data(), MAX_PATH);
    slozka.resize(n < MAX_PATH ? n : 0);
    if (!slozka.empty() && slozka.back() == L'\\') slozka.pop_back();
    if (RozeberCestu(slozka).vada != VadaCesty::Zadna) slozka = SpecialniSlozkaNeboNic(shell, hlaseni, CsidlLocalAppData);
    if (!slozka.empty()) slozka += std::wstring(L"\\") + NazevSlozkyZaznamu;
    return {slozka, false};
#endif
}

// What an install that stands keeps beside the records and enters among the
// installed programs. An elevated run keeps the copy and its list beside its
// own records, where only administrators may change them, and the copy asks
// for the same rights when the entry starts it; a service account's run (a
// deployment tool's) makes none: its entry would sit in that account's
// registry, where no person looks.
void NastavAplikaci(SlozkyInstalace& slozky, const MistoZaznamu& zaznamy) {
    if (zaznamy.sluzba || zaznamy.slozka.empty()) return;
    SYSTEMTIME t;
    GetLocalTime(&t);
    slozky.Aplikace = {CestaProgramu(), L"" VYDAVATEL_PROGRAMU, VerzeProgramu,
                       TextCisla(t.wYear * 10000 + t.wMonth * 100 + t.wDay)};
}

// /U started from the copy an install kept beside the records (in a folder
// of the records' folder, with the list beside it): that copy cannot delete
// itself while it runs, so it copies itself to the temporary folder and
// starts the copy with the same options, its own process handle and the
// writing end of a pipe, both inherited, and its folder's name. The copy
// removes the set by the list it finds under that name beside its own
// records, sends back how that ended, and once this copy has ended with
// that code (a deployment tool that started it reads it), deletes it and
// its folder. Nothing when started from elsewhere.
std::optional<int> PredejOdebrani() {
    const std::wstring program = CestaProgramu(), slozka = SlozkaSouboru(program);
    std::wstring nad, nazev;
    RozdelCestu(slozka, nad, nazev);
    const std::wstring zaznamy = NadrazenaSlozka(slozka), konec = std::wstring(L"\\") + NazevSlozkyZaznamu;
    // An elevated install keeps its copy one level deeper: in the folder of
    // its user's records among the machine's data.
    const bool chranena = !zaznamy.ends_with(konec) && NadrazenaSlozka(zaznamy).ends_with(konec);
    if ((!zaznamy.ends_with(konec) && !chranena) ||
        GetFileAttributesW((slozka + L"\\" + NazevSeznamu).c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    // One name: the copy an earlier removal left there has ended. An
    // elevated removal's copy goes beside the records, where only
    // administrators may write: in the user's temporary folder any of the
    // user's programs could swap it before it starts with those rights.
    const std::wstring temp = chranena ? zaznamy + L"\\" : DocasnaSlozka(), kopie = temp + L"Odebrání šablon.exe";
    if (!CopyFileW(program.c_str(), kopie.c_str(), FALSE)) VyvolejPosledni(L"CopyFileW");
    HANDLE ja = nullptr, cteni = nullptr, zapis = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &ja, SYNCHRONIZE, TRUE, 0))
        VyvolejPosledni(L"DuplicateHandle");
    const UchytObjektu vlastnik(ja);
    SECURITY_ATTRIBUTES dedit{sizeof dedit, nullptr, TRUE};
    if (!CreatePipe(&cteni, &zapis, &dedit, 0)) VyvolejPosledni(L"CreatePipe");
    const UchytObjektu vysledek(cteni);
    UchytObjektu zapisVysledku(zapis);
    SetHandleInformation(cteni, HANDLE_FLAG_INHERIT, 0);
    const std::wstring_view radek = GetCommandLineW();
    std::wstring prikaz = L"\"" + kopie;
    prikaz += L"\" \"/PREVZIT=";
    prikaz += TextCisla(static_cast<int64_t>(reinterpret_cast<uintptr_t>(ja)));
    prikaz += L',';
    prikaz += TextCisla(static_cast<int64_t>(reinterpret_cast<uintptr_t>(zapis)));
    prikaz += L':';
    prikaz += nazev;
    prikaz += L"\" ";
    prikaz += radek.substr(ZacatekVoleb(radek));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // Started in the copy's folder: a process's current folder cannot be removed.
    if (!CreateProcessW(kopie.c_str(), prikaz.data(), nullptr, nullptr, TRUE, 0, nullptr, temp.c_str(), &si, &pi))
        VyvolejPosledni(L"CreateProcessW");
    const UchytObjektu proces(pi.hProcess), vlakno(pi.hThread);
    // Only the copy's end of the pipe is left open: should it end without a
    // word (killed), the read ends too, and the removal's fate is unknown.
    zapisVysledku.reset();
    DWORD kod = 0, precteno = 0;
    if (!ReadFile(vysledek.get(), &kod, sizeof kod, &precteno, nullptr) || precteno != sizeof kod) return KodSelhalo;
    return static_cast<int>(kod);
}

// The copy a removal was handed to: the kept copy's process and the pipe
// to it, from the handles the option names ("<process>,<pipe>:<folder>").
// At its end it sends the result back, waits (a while at most) for the kept copy to
// end with it, and deletes that copy and its folder, which the removal
// left for want of deleting a running program.
class PrevzeteOdebrani {
public:
    explicit PrevzeteOdebrani(const std::wstring& prevzit) {
        const wchar_t* z = prevzit.c_str();
        proces_.reset(Uchyt(z));
        if (*z == L',') kanal_.reset(Uchyt(++z));
    }
    ~PrevzeteOdebrani() { Vrat(); }
    PrevzeteOdebrani(const PrevzeteOdebrani&) = delete;
    PrevzeteOdebrani& operator=(const PrevzeteOdebrani&) = delete;

    int kod = KodSelhalo;   // how the removal ended

    // The kept copy's folder, once the list in it was read; it goes when
    // the removal stood.
    std::wstring slozka;

private:
    void Vrat() noexcept {
        const DWORD d = static_cast<DWORD>(kod);
        DWORD zapsano = 0;
        if (kanal_) WriteFile(kanal_.get(), &d, sizeof d, &zapsano, nullptr);
        kanal_.reset();
        // A removal that did not stand put the entry and the list back, and
        // the copy they name stays with them.
        if (kod != KodHotovo || slozka.empty() || !proces_ || WaitForSingleObject(proces_.get(), 60000) != WAIT_OBJECT_0)
            return;
        // A program that has just ended may hold its file a moment longer.
        const std::wstring program = slozka + L"\\" + NazevKopie;
        for (int pokus = 0; pokus < 40 && !DeleteFileW(program.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND;
             ++pokus)
            Sleep(50);
        // The records' folder goes too when nothing else is in it.
        if (RemoveDirectoryW(slozka.c_str())) RemoveDirectoryW(NadrazenaSlozka(slozka).c_str());
    }

    static HANDLE Uchyt(const wchar_t*& z) {
        uintptr_t n = 0;
        for (; *z >= L'0' && *z <= L'9'; ++z) n = n * 10 + static_cast<uintptr_t>(*z - L'0');
        return reinterpret_cast<HANDLE>(n);
    }
    UchytObjektu proces_, kanal_;
};

// The log a silent run keeps when it is not told where: beside the user's
// other temporary files, named after the set and the day, a new file for
// every run with the first number free. A name already there is never
// written through: a link planted at it would aim the log anywhere.
void OtevriVychoziLog(Win32Protokol& protokol, ISoubory& soubory, const std::wstring& sada) {
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) VyvolejPosledni(L"GetTempPathW");
    SYSTEMTIME t;
    GetLocalTime(&t);
    const auto cifry = [](unsigned cislo, std::size_t delka) {
        std::wstring s = TextCisla(cislo);
        return std::wstring(s.size() < delka ? delka - s.size() : 0, L'0') + s;
    };
    const std::wstring zacatek = std::wstring(temp, n) + L"Setup " + (sada.empty() ? L"" : sada + L" ") +
                                 cifry(t.wYear, 4) + L"-" + cifry(t.wMonth, 2) + L"-" + cifry(t.wDay, 2) + L" #";
    for (unsigned cislo = 1;; ++cislo) {
        try {
            protokol.Otevri(soubory, zacatek + cifry(cislo, 3) + L".log", Otevreni::Novy);
            return;
        } catch (const Chyba& chyba) {
            if (chyba.cislo != ERROR_FILE_EXISTS || cislo >= 9999) throw;
        }
    }
}

// The folder name a removal was handed over with (see PrevzeteOdebrani).
std::wstring PrevzatyNazev(const Volby& volby) {
    const auto dvojtecka = volby.prevzit->find(L':');
    return dvojtecka == std::wstring::npos ? std::wstring() : volby.prevzit->substr(dvojtecka + 1);
}

// The run nobody watches: no window and no box, ever; everything it would
// have said goes to the log, and the exit code says how it ended.
int SpustTise(const Volby& volby, PrevzeteOdebrani* prevzeti) {
    Win32Protokol protokol;
    TichyPrubeh tichy(&protokol);
    Win32Soubory soubory;
    Win32Registr registr;
    Win32Shell shell;
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
            OtevriVychoziLog(protokol, soubory, sada);
        } catch (...) {
        }
    };
    if (!volby.chybna.empty()) {
        vychoziLog(L"");
        protokol.Radek(L"Neplatná volba příkazového řádku: „" + volby.chybna + L"“.");
        protokol.Radek(TextPlatnychVoleb);
        return konec(KodNeplatnaVolba);
    }
    if (volby.napoveda) return konec(KodHotovo);

    const MistoZaznamu zaznamy = SlozkaZaznamu(shell, tichy);
    OznamObnovu(tichy, DokonciPrerusene(soubory, registr, shell, zaznamy.slozka, zaznamy.chranene), zaznamy.slozka);

    Nacteni n;
    ZaznamBehu seznam;
    try {
        if (volby.prevzit) {
            n.NazevSady = PrevzatyNazev(volby);
            seznam = NactiSeznam(soubory, zaznamy.slozka, zaznamy.chranene, n.NazevSady);
            prevzeti->slozka = zaznamy.slozka + L"\\" + n.NazevSady;
            n.slozky.ZdrojSlozka = seznam.sada;
            n.slozky.CilSlozka = seznam.cil;
            n.slozky.Seznam = &seznam;
        } else {
            n = ZjistiInstalaci(SlozkaSouboru(CestaProgramu()), soubory, registr, shell, tichy, DocasnaSlozka());
        }
    } catch (...) {
        const Chyba chyba = ChybaZVyjimky();
        vychoziLog(L"");
        protokol.Radek(L"Chyba " + TextCisla(chyba.cislo) + L": " + chyba.popis);
        return konec(ChybiSada(chyba) ? KodBezSady : KodSelhalo);
    }
    vychoziLog(n.NazevSady);
    protokol.Radek(L"Sada: " + n.slozky.ZdrojSlozka);
    protokol.Radek(L"Návrh: " + n.PuvodNavrhu);
    n.slozky.SlozkaZaznamu = zaznamy.slozka;
    n.slozky.ZaznamyChranene = zaznamy.chranene;
    NastavAplikaci(n.slozky, zaznamy);
    Stroj stroj{soubory, registr, shell, tichy, &protokol};
    const std::wstring cil = volby.cil.value_or(n.slozky.CilSlozka);
    // Until the result is written down, the session does not end under the run.
    HlidacTichehoBehu hlidac([&tichy] { tichy.Zastav(); });
    return konec(KodVysledku(volby.odinstalovat || volby.prevzit ? Odeber(stroj, n.slozky, cil)
                                                                 : Instaluj(stroj, n.slozky, cil)));
}

// A start while another run goes on does nothing and says so: the other
// run's window comes to the front, or, where there is none to bring, a box;
// under /S nothing shows. A log it is told to keep says it as well, unless
// the file cannot be written (the other run may be writing the very same
// one): the exit code tells all the same.
int Odmitni(const Volby& volby, const JedinyBeh& jiny) {
    if (volby.log) {
        Win32Protokol protokol;
        Uvod(protokol);
        protokol.Radek(TextJinehoBehu);
        protokol.Radek(L"Výsledek: " + TextCisla(KodJinyBeh));
        // The lines wait for the file and go into it as it opens.
        Win32Soubory soubory;
        try {
            protokol.Otevri(soubory, *volby.log);
        } catch (...) {
        }
    }
    if (!volby.tichy && !jiny.UkazJiny()) {
        Win32Hlaseni hlaseni;
        hlaseni.Zprava(TextJinehoBehu, TitulekAplikace, StylInformace);
    }
    return KodJinyBeh;
}

int Spust(const Volby& volby, PrevzeteOdebrani* prevzeti) {
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

    // The kept copy only waits for the copy it hands the removal to, which
    // is the run, and the one that holds the lock.
    if (volby.odinstalovat && !volby.prevzit)
        if (const auto kod = PredejOdebrani()) return *kod;
    JedinyBeh jedinyBeh(volby.tichy);
    if (jedinyBeh.JinyBezi()) return Odmitni(volby, jedinyBeh);
    // COM on this thread, apartment-threaded as a user-interface thread
    // needs it for the shell's link object and folder browser. Without it
    // those two fail and report it themselves; the rest works. A window
    // needs neither to be shown, so COM comes up once it shows, or before
    // a killed run is taken back.
    std::optional<ComProstredi> com;
    const auto zapniCom = [&com] {
        if (!com) com.emplace(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    };
    if (volby.tichy) {
        zapniCom();
        return SpustTise(volby, prevzeti);
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
    Win32Registr registr;
    Win32Shell shell;
    Vzhled vzhled(GetModuleHandleW(nullptr));

    // What a killed run left is put back before anything else is shown.
    const MistoZaznamu zaznamy = SlozkaZaznamu(shell, hlaseni);
    // Taking a killed run back may ask the shell whether a link still points
    // where the run made it point; with no records there is nothing to ask.
    const DWORD atributy = zaznamy.slozka.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(zaznamy.slozka.c_str());
    if (atributy != INVALID_FILE_ATTRIBUTES && (atributy & FILE_ATTRIBUTE_DIRECTORY)) zapniCom();
    OznamObnovu(hlaseni, DokonciPrerusene(soubory, registr, shell, zaznamy.slozka, zaznamy.chranene), zaznamy.slozka);

    frmSetup okno(Sluzby{soubory, registr, shell, hlaseni}, vzhled);
    naObrazovce.vlastnik = [&okno] { return okno.VlastnikHlaseni(); };
    // A long copy runs while the windows go on answering.
    soubory.cekani = [&okno](HANDLE konec) { okno.CekejNaKopii(konec); };
    NaKonci odpoj([&naObrazovce, &soubory] {
        naObrazovce.vlastnik = nullptr;
        soubory.cekani = nullptr;
    });
    // A removal handed over has its list instead of a set; a list that
    // cannot be used ends the program with its box.
    ZaznamBehu seznam;
    if (volby.prevzit) {
        seznam = NactiSeznam(soubory, zaznamy.slozka, zaznamy.chranene, PrevzatyNazev(volby));
        prevzeti->slozka = zaznamy.slozka + L"\\" + PrevzatyNazev(volby);
    }
    if (!okno.Nacti(volby.prevzit ? std::wstring() : SlozkaSouboru(CestaProgramu()), DocasnaSlozka()))
        return konec(okno.BezSady() ? KodBezSady : KodSelhalo);
    if (volby.prevzit) {
        okno.slozky.ZdrojSlozka = seznam.sada;
        okno.slozky.CilSlozka = seznam.cil;
        okno.slozky.Seznam = &seznam;
    }
    okno.slozky.SlozkaZaznamu = zaznamy.slozka;
    okno.slozky.ZaznamyChranene = zaznamy.chranene;
    NastavAplikaci(okno.slozky, zaznamy);
    if (volby.log) {
        okno.protokol = &protokol;
        protokol.Radek(L"Sada: " + okno.slozky.ZdrojSlozka);
        protokol.Radek(L"Návrh: " + okno.PuvodNavrhu);
    }
    if (volby.cil) okno.NastavCil(*volby.cil);

    if (volby.odinstalovat || volby.prevzit) {
        zapniCom();
        // Nothing is taken away without the user's word.
        const std::wstring cil = volby.prevzit ? seznam.cil : volby.cil.value_or(okno.slozky.CilSlozka);
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

// A removal handed over sends its result back however it ends (by an
// exception: as a failure).
int Spust() {
    const Volby volby = RozeberPrikaz(GetCommandLineW());
    if (!volby.prevzit) return Spust(volby, nullptr);
    PrevzeteOdebrani prevzeti(*volby.prevzit);
    return prevzeti.kod = Spust(volby, &prevzeti);
}

}  // namespace

}  // namespace setup::ui

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    setup::ui::OmezHledaniKnihoven();
    try {
        return setup::ui::Spust();
    } catch (...) {
        // A run told to be silent shows no box even now: a deployment tool
        // would wait on it for ever.
        try {
            if (setup::RozeberPrikaz(GetCommandLineW()).tichy) return setup::ui::KodSelhalo;
        } catch (...) {
        }
        setup::Win32Hlaseni hlaseni;
        setup::ui::NahlasVyjimku(hlaseni);
        return setup::ui::KodSelhalo;
    }
}
