// The end-to-end driver: starts Setup.exe, finds its windows, reads them and
// works them as a person would (keyboard and mouse through SendInput), and
// reads what a run left on disk, in the registry and in the link.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "win32/Uchyty.h"

namespace e2e {

// How long the driver waits for anything the program is expected to do.
// Wine on a busy machine is slow to start a process; a hang still ends the
// test well within the level's time budget.
DWORD Cekani();

// ---- processes -------------------------------------------------------------

// A started process; a process still running when the object dies is killed,
// so a failing test never leaves a Setup.exe behind.
class Proces {
public:
    // Starts exe with its own folder as the working folder, with extra
    // environment variables added to the driver's own, and the arguments
    // after the quoted program name as they stand.
    static Proces Spust(const std::wstring& exe,
                        const std::vector<std::pair<std::wstring, std::wstring>>& prostredi = {},
                        const std::wstring& argumenty = {});
    Proces(Proces&&) noexcept = default;
    Proces& operator=(Proces&&) noexcept = default;
    ~Proces();

    DWORD Id() const { return pid_; }
    DWORD Vlakno() const { return tid_; }
    HANDLE Handle() const { return h_.get(); }
    // True when the process ended within the wait.
    bool CekejNaKonec(DWORD ms);
    bool Bezi() const;
    // The whole exit code, as the Windows side reads it (a Unix parent
    // would see it modulo 256); STILL_ACTIVE while the process runs.
    DWORD Kod() const;
    void Zabij();

private:
    Proces() = default;
    setup::UchytObjektu h_;
    DWORD pid_ = 0;
    DWORD tid_ = 0;
};

// Ends a process from outside by its id, as a task manager does
// (TerminateProcess), and waits until it is gone.
void UkonciPodleId(DWORD pid);

// ---- windows ---------------------------------------------------------------

std::wstring Trida(HWND h);
// The text through WM_GETTEXT, as another program sees it.
std::wstring Text(HWND h);
// The window's rectangle in its parent's client coordinates (screen
// coordinates for a top-level window).
RECT ObdelnikVRodici(HWND h);
SIZE VelikostKlienta(HWND h);
// Visible top-level windows of a process, in z-order.
std::vector<HWND> OknaProcesu(DWORD pid);
// Waits for the process to end and gives every visible top-level window it
// showed meanwhile (looked for every 10 ms); false in konec when it did not
// end within the wait.
std::vector<HWND> OknaDoKonce(Proces& p, bool& konec);
std::vector<HWND> Potomci(HWND h);
// The window with the keyboard focus in the given thread.
HWND Fokus(DWORD vlakno);

// Polls every 10 ms until najdi gives a window or the time runs out.
HWND CekejNa(const std::function<HWND()>& najdi, DWORD ms = Cekani());
// Polls every 10 ms until the condition holds; false on timeout.
bool CekejAz(const std::function<bool()>& podminka, DWORD ms = Cekani());
// Waits until the program's thread has handled everything sent so far.
void CekejNaKlid(HWND h);

// The windows of Setup, told apart by the controls they hold.
HWND HlavniOkno(DWORD pid);      // frmSetup, visible
HWND OknoPrubehu(DWORD pid);     // frmPrubeh, visible
HWND ProhlizecSlozek(DWORD pid); // the shell's folder browser
HWND OknoHlaseni(DWORD pid);     // a message box

enum class Ikona { Zadna, Informace, Stop, Vykricnik, Otazka, Jina };
inline void PrintTo(Ikona i, std::ostream* os) {
    const char* n[] = {"none", "information", "stop", "exclamation", "question", "another"};
    *os << n[static_cast<int>(i)];
}

// What a message box shows.
struct Hlaseni {
    HWND okno = nullptr;
    std::wstring titulek;
    std::wstring text;
    std::vector<std::wstring> tlacitka;
    Ikona ikona = Ikona::Zadna;
};
Hlaseni CtiHlaseni(HWND okno);

// ---- input -----------------------------------------------------------------

// Brings the window to the foreground, as a click on it would; true when it
// got there.
bool Aktivuj(HWND okno);
// A key press and release (with Alt or Ctrl or Shift held when asked).
void Klavesa(WORD vk, bool alt = false, bool shift = false);
// Types text character by character (Unicode key events, Czech letters too).
void Pis(const std::wstring& text);
// A left mouse click in the middle of the window. Without cekat the press
// and the release are only queued: the program may be busy in one long call
// and take them at its next look at its messages.
void Klikni(HWND h, bool cekat = true);

// ---- screenshots -----------------------------------------------------------

// Saves a picture of the window (frame included) as NAME.png in the folder
// named by SETUP_E2E_SNIMKY (a Linux path), taken of the display with
// ImageMagick's import. Does nothing when the variable is unset.
void Snimek(HWND okno, const std::wstring& nazev);
// The same for a rectangle of the screen.
void Snimek(const RECT& r, const std::wstring& nazev);

// ---- the status line log ---------------------------------------------------

// Every text the progress window's status line is given, and every width
// its bar takes, recorded inside Setup.exe by a window hook (e2e_zaznam.dll):
// a status flashes by far too fast to be caught by looking.
struct Udalost {
    wchar_t druh;        // 'T' a status text, 'U' the bar's width, 'N' a new progress window
    std::wstring text;   // the status text
    int sirka = 0;       // the bar's width in pixels
};

// A window as the program itself sees it (read inside it by the hook).
struct PismoPrvku {
    std::wstring tvar;
    int vyska = 0, vaha = 0, znakovaSada = 0;
    bool kurziva = false, podtrzeni = false;
};
struct PopisOkna {
    bool velkaIkona = false, malaIkona = false;
    SIZE obrazovka{};   // the screen as the program measures it
    std::vector<std::pair<int, PismoPrvku>> pisma;   // control id and its font
    const PismoPrvku* Pismo(int id) const {
        for (auto& [i, p] : pisma)
            if (i == id) return &p;
        return nullptr;
    }
};

class Zaznam {
public:
    // soubor: where the hook writes; pass it to Setup.exe as SETUP_E2E_ZAZNAM.
    explicit Zaznam(std::wstring soubor);
    ~Zaznam();
    const std::wstring& Soubor() const { return soubor_; }
    // Hooks the program's user-interface thread.
    void Pripoj(DWORD vlakno);
    std::vector<Udalost> Udalosti() const;
    // The status texts in order, a text repeated right away counted once.
    std::vector<std::wstring> Texty() const;
    // The last status text, read from the end of the log only: cheap enough
    // to ask every few milliseconds of a run of thousands of files.
    std::wstring PosledniText() const;
    // The status texts, each with the bar width it left behind.
    std::vector<std::pair<std::wstring, int>> TextySUkazatelem() const;
    // The window's icons and its controls' fonts, read inside the program
    // (Wine gives another process no answer to WM_GETFONT or WM_GETICON).
    PopisOkna Popis(HWND okno) const;

private:
    std::wstring soubor_;
    HMODULE dll_ = nullptr;
    HHOOK hak_ = nullptr;
};

// ---- disk, registry, links -------------------------------------------------

bool Existuje(const std::wstring& cesta);
DWORD Atributy(const std::wstring& cesta);   // INVALID_FILE_ATTRIBUTES when missing
std::string CtiSoubor(const std::wstring& cesta);
void ZapisSoubor(const std::wstring& cesta, const std::string& obsah);
void VytvorSlozky(const std::wstring& cesta);
// Removes a tree, whatever the attributes of its entries; a missing tree is fine.
void SmazStrom(const std::wstring& cesta);
// Names of the plain files of a folder in the file system's own order, as a
// listing without hidden and system entries returns them.
std::vector<std::wstring> SouboryVeSlozce(const std::wstring& slozka);
// All entries below a folder, as relative paths, sorted; links to other
// places (Wine's links into the Unix home) are listed but not entered.
std::vector<std::wstring> Strom(const std::wstring& slozka);

// Writes a text value (REG_SZ, or another text type such as REG_EXPAND_SZ),
// creating the key.
void NastavText(HKEY koren, const std::wstring& klic, const std::wstring& nazev,
                const std::wstring& hodnota, DWORD typ = REG_SZ);
void SmazKlic(HKEY koren, const std::wstring& klic);
bool ExistujeKlic(HKEY koren, const std::wstring& klic);
// A value's type and text, as stored; nothing when it is not there.
struct HodnotaRegistru {
    DWORD typ = 0;
    std::wstring text;
    bool operator==(const HodnotaRegistru&) const = default;
};
std::optional<HodnotaRegistru> CtiHodnotu(HKEY koren, const std::wstring& klic, const std::wstring& nazev);

std::wstring SlozkaAplikacnichDat();   // CSIDL_APPDATA
std::wstring SlozkaDokumentu();        // CSIDL_PERSONAL
std::wstring SlozkaMistnichDat();      // CSIDL_LOCAL_APPDATA
std::wstring DocasnaSlozka();          // GetTempPathW, with its trailing "\"
std::wstring PopisChyby(DWORD kod);    // the system's description, no line break

struct Odkaz {
    std::wstring cil;
    std::wstring popis;
    std::wstring argumenty;
    std::wstring pracovniSlozka;
};
// Reads a link back through the shell's own link object.
std::optional<Odkaz> CtiOdkaz(const std::wstring& cesta);

// The text as it comes back from the ANSI code page (letters it lacks become
// their nearest look-alikes or "?").
std::wstring PresAnsi(const std::wstring& s);

std::wstring Prostredi(const wchar_t* nazev);
std::string Utf8(const std::wstring& s);
// The text of UTF-8 bytes; nothing when they are not valid UTF-8.
std::optional<std::wstring> ZUtf8(const std::string& s);

}  // namespace e2e
