// The Win32 implementations of the engine's interfaces, and the shell's
// folder browser.
#pragma once

#include <windows.h>

#include <string>

#include "engine/Stroj.h"

namespace setup {

// Message boxes through MessageBoxW, owned by the thread's active window.
class Win32Hlaseni final : public IHlaseni {
public:
    int Zprava(const std::wstring& text, const std::wstring& titulek, uint32_t styl) override;
};

// The platform's description of a system error number (FormatMessageW),
// without the trailing line break.
std::wstring PopisSystemoveChyby(DWORD kod);

// Throwers for the three shapes of Win32 call; the error carries the number,
// the source (the operation and its path) and the platform's description.
[[noreturn]] void VyvolejWin32(DWORD kod, const std::wstring& zdroj);
[[noreturn]] void VyvolejPosledni(const std::wstring& zdroj);   // GetLastError()
[[noreturn]] void VyvolejHresult(HRESULT hr, const std::wstring& zdroj);

class Win32Soubory final : public ISoubory {
public:
    std::vector<Polozka> Vypis(const std::wstring& vzor) override;
    std::optional<uint32_t> Atributy(const std::wstring& cesta) override;
    void NastavAtributy(const std::wstring& cesta, uint32_t atributy) override;
    int64_t CasZmeny(const std::wstring& cesta) override;
    int64_t Velikost(const std::wstring& cesta) override;
    void Kopiruj(const std::wstring& zdroj, const std::wstring& cil) override;
    void Prejmenuj(const std::wstring& z, const std::wstring& na) override;
    void SmazSoubor(const std::wstring& cesta) override;
    void VytvorSlozku(const std::wstring& cesta) override;
    void OdstranSlozku(const std::wstring& cesta) override;
    bool StejnySoubor(const std::wstring& a, const std::wstring& b) override;
};

// mRegistry. SmazKlic reports its failures through the given box.
class Win32Registr final : public IRegistr {
public:
    explicit Win32Registr(IHlaseni& hlaseni) : hlaseni_(hlaseni) {}
    std::wstring CtiRegistr(uint32_t koren, const std::wstring& klic,
                            const std::wstring& nazev) override;
    bool ZapisRegistr(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                      const std::wstring* hodnota, int32_t cislo = 0) override;
    void SmazKlic(uint32_t koren, const std::wstring& klic) override;

private:
    IHlaseni& hlaseni_;
};

// mPomucky: special folders and links. COM must be initialised on the thread.
class Win32Shell final : public IShell {
public:
    explicit Win32Shell(IHlaseni& hlaseni) : hlaseni_(hlaseni) {}
    std::wstring SpecialniSlozka(int32_t cislo) override;
    void VytvorZastupce(const std::wstring& slozka, const std::wstring& nazev,
                        const std::wstring& cil, const std::wstring& argumenty,
                        const std::wstring& ikona, const std::wstring& pracovniSlozka,
                        int32_t zobrazeni) override;

private:
    IHlaseni& hlaseni_;
};

// The shell's folder browser, modal to the owner: the chosen folder exactly
// as the shell gives it (a drive root keeps its backslash), or empty text
// when the user cancels. Reports its own errors through the box.
std::wstring VyberSlozku(IHlaseni& hlaseni, const std::wstring& titulek, HWND vlastnik);

}  // namespace setup
