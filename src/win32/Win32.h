// The Win32 implementations of the engine's interfaces, and the shell's
// folder browser.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <functional>
#include <string>

#include "engine/Stroj.h"
#include "system/Text.h"

namespace setup {

// A library from the system folder by its full path, never from the folder
// the program runs from; null with the reason in GetLastError.
HMODULE NactiSystemovouKnihovnu(const wchar_t* nazev) noexcept;

// A function of a system library that is loaded, by its full path, only when
// first needed; knihovna keeps the library from then on. Throws with the
// reason when the library or the function is missing.
FARPROC AdresaFunkce(HMODULE& knihovna, const wchar_t* nazev, const char* jmeno);

// The same, typed from the function's declaration alone
// (decltype(&::Funkce)): nothing refers to the import, so the program does
// not import the library.
template <typename F>
F FunkceKnihovny(HMODULE& knihovna, const wchar_t* nazev, const char* jmeno) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(AdresaFunkce(knihovna, nazev, jmeno)));
}

// mChyby ---------------------------------------------------------------------

// Message boxes through MessageBoxW, owned by the window vlastnik names:
// the program's own visible top-level window, so that a box is modal for
// the whole program whichever program is in front (the active window is
// nobody's when another program is). No owner while it gives none.
class Win32Hlaseni final : public IHlaseni {
public:
    std::function<HWND()> vlastnik;
    int Zprava(const std::wstring& text, const std::wstring& titulek, uint32_t styl) override;
};

// The platform's description of a system error number or HRESULT
// (FormatMessageW), without the trailing line break; a sentence naming the
// number when the system has no text for it.
std::wstring PopisSystemoveChyby(DWORD kod);

// Throwers for the three shapes of Win32 call; the error carries the number,
// the source (the operation and its path) and the platform's description.
[[noreturn]] void VyvolejWin32(DWORD kod, const std::wstring& zdroj);
[[noreturn]] void VyvolejHresult(HRESULT hr, const std::wstring& zdroj);
// The number a BOOL call left in GetLastError(); a call that left none
// still fails, as ERROR_INTERNAL_ERROR.
[[noreturn]] void VyvolejPoVolani(DWORD kod, const std::wstring& zdroj);

namespace detail {
inline void Pripoj(std::wstring& zdroj, const wchar_t* cast) { zdroj += cast; }
inline void Pripoj(std::wstring& zdroj, const std::wstring& cast) { zdroj += cast; }
inline void Pripoj(std::wstring& zdroj, int cislo) { zdroj += TextCisla(cislo); }
}  // namespace detail

// GetLastError(), read before the source is put together from its parts
// (texts and numbers, no temporaries): making a string may change it.
template <typename... Casti>
[[noreturn]] void VyvolejPosledni(const Casti&... casti) {
    const DWORD kod = GetLastError();
    std::wstring zdroj;
    (detail::Pripoj(zdroj, casti), ...);
    VyvolejPoVolani(kod, zdroj);
}

// Files ----------------------------------------------------------------------

// A path holding a NUL cannot be handed to the platform without naming some
// other path; every operation refuses it with ERROR_INVALID_NAME. A copy
// runs on a thread of the object's own, while the calling thread waits.
class Win32Soubory final : public ISoubory {
public:
    Win32Soubory();
    ~Win32Soubory() override;

    // How the calling thread waits for a copy still running after a few
    // milliseconds: given the event the copy's end sets, it returns once it
    // is set. None: a plain wait. The window side waits with its windows
    // answering, and so lets Storno reach the copy.
    std::function<void(HANDLE konec)> cekani;

    std::vector<Polozka> Vypis(const std::wstring& vzor) override;
    std::optional<uint32_t> Atributy(const std::wstring& cesta) override;
    void NastavAtributy(const std::wstring& cesta, uint32_t atributy) override;
    int64_t CasZmeny(const std::wstring& cesta) override;
    int64_t Velikost(const std::wstring& cesta) override;
    void Kopiruj(const std::wstring& zdroj, const std::wstring& cil,
                 const std::atomic<bool>* zrusit) override;
    void Prejmenuj(const std::wstring& z, const std::wstring& na) override;
    void SmazSoubor(const std::wstring& cesta) override;
    void VytvorSlozku(const std::wstring& cesta) override;
    void OdstranSlozku(const std::wstring& cesta) override;
    bool StejnySoubor(const std::wstring& a, const std::wstring& b) override;
    bool StejnyObsah(const std::wstring& a, const std::wstring& b) override;
    std::optional<Polozka> Vlastnosti(const std::wstring& cesta) override;
    std::optional<std::string> Nacti(const std::wstring& cesta) override;
    std::unique_ptr<IPripis> OtevriKPripisu(const std::wstring& cesta, Otevreni jak = Otevreni::Pripojit) override;
    void Vynut(const std::wstring& cesta) override;
    void VytvorChranenouSlozku(const std::wstring& cesta, const std::wstring& sddl) override;
    std::wstring Zabezpeceni(const std::wstring& cesta) override;

private:
    class Kopirovani;
    std::unique_ptr<Kopirovani> kopirovani_;
};

// The run's log: UTF-8 lines appended to a file, each with its local time.
// Lines given before the file is opened wait and go first.
class Win32Protokol final : public IProtokol {
public:
    // Opens the file as jak says; throws Chyba when it cannot.
    void Otevri(ISoubory& soubory, const std::wstring& cesta, Otevreni jak = Otevreni::Pripojit);
    bool Otevreny() const { return static_cast<bool>(soubor_); }
    const std::wstring& Cesta() const { return cesta_; }
    void Radek(const std::wstring& text) override;

private:
    void Zapis(const std::wstring& radek);
    std::unique_ptr<IPripis> soubor_;
    std::wstring cesta_;
    std::vector<std::wstring> cekajici_;
};

// mRegistry ------------------------------------------------------------------

// The advapi32 calls the registry module makes. Tests replace single calls
// to stage failures and races the real registry will not produce on demand.
struct RegistrVolani {
    decltype(&::RegOpenKeyExW) otevri = ::RegOpenKeyExW;
    decltype(&::RegCreateKeyExW) vytvor = ::RegCreateKeyExW;
    decltype(&::RegQueryValueExW) cti = ::RegQueryValueExW;
    decltype(&::RegSetValueExW) zapis = ::RegSetValueExW;
    decltype(&::RegDeleteKeyW) smaz = ::RegDeleteKeyW;
};

// Reads open keys with KEY_READ, so that a user who may read but not change
// a machine-wide key still gets its values; writes and deletes ask for the
// six key rights (0x3F). CtiCestu adds KEY_WOW64_64KEY for the 64-bit view
// and expands REG_EXPAND_SZ with ExpandEnvironmentStringsW. A key path or value name holding a NUL names no key:
// the read gives empty text, the write false, the delete its open error.
// SmazKlic throws its failures.
class Win32Registr final : public IRegistr {
public:
    explicit Win32Registr(const RegistrVolani& volani = {}) : volani_(volani) {}
    std::wstring CtiRegistr(uint32_t koren, const std::wstring& klic,
                            const std::wstring& nazev) override;
    std::wstring CtiCestu(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                          bool pohled64 = false) override;
    bool ZapisRegistr(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                      const std::wstring* hodnota, int32_t cislo = 0) override;
    void SmazKlic(uint32_t koren, const std::wstring& klic) override;
    bool ExistujeKlic(uint32_t koren, const std::wstring& klic) override;
    bool ExistujeHodnota(uint32_t koren, const std::wstring& klic, const std::wstring& nazev) override;
    bool SmazHodnotu(uint32_t koren, const std::wstring& klic, const std::wstring& nazev) override;
    bool SmazPrazdnyKlic(uint32_t koren, const std::wstring& klic) override;

private:
    RegistrVolani volani_;
};

// mPomucky -------------------------------------------------------------------

// Makes the shell's link object. The default makes an instance of
// CLSID_ShellLink; tests hand in one that records the calls made on it.
using TvurceOdkazu = std::function<HRESULT(IShellLinkW** odkaz)>;
HRESULT VytvorObjektOdkazu(IShellLinkW** odkaz);

// Special folders and links. COM must be initialised on the thread.
class Win32Shell final : public IShell {
public:
    explicit Win32Shell(TvurceOdkazu tvurce = VytvorObjektOdkazu) : tvurce_(std::move(tvurce)) {}
    std::wstring SpecialniSlozka(int32_t cislo) override;
    void VytvorZastupce(const std::wstring& slozka, const std::wstring& nazev,
                        const std::wstring& cil, const std::wstring& argumenty,
                        const std::wstring& ikona, const std::wstring& pracovniSlozka,
                        int32_t zobrazeni) override;
    bool OdkazVedeDo(const std::wstring& odkaz, const std::wstring& cil) override;

private:
    TvurceOdkazu tvurce_;
};

// The shell's folder browser, modal to the owner: the chosen folder exactly
// as the shell gives it (a drive root keeps its backslash), or empty text
// when the user cancels or the choice has no file-system path. Reports its
// own errors through the box.
std::wstring VyberSlozku(IHlaseni& hlaseni, const std::wstring& titulek, HWND vlastnik);

}  // namespace setup
