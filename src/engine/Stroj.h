// The machine as the engine sees it: files, registry, shell and the windows.
// The Win32 layer implements these; host tests use a fake machine.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "system/Chyba.h"

namespace setup {

// File attributes, as the platform numbers them.
inline constexpr uint32_t AtributJenProCteni = 0x1;
inline constexpr uint32_t AtributSkryty = 0x2;
inline constexpr uint32_t AtributSystemovy = 0x4;
inline constexpr uint32_t AtributSlozka = 0x10;
inline constexpr uint32_t AtributArchiv = 0x20;

// Registry roots, as 32-bit handle values.
inline constexpr uint32_t HKEY_LOCAL_MACHINE_ = 0x80000002;
inline constexpr uint32_t HKEY_CURRENT_USER_ = 0x80000001;

// One entry of a folder listing.
struct Polozka {
    std::wstring nazev;
    uint32_t atributy = 0;
    int64_t velikost = 0;
    int64_t casZmeny = 0;   // 100 ns ticks since 1601 (FILETIME)
};

// File operations. Every failure throws Chyba with the platform's number and
// description.
class ISoubory {
public:
    virtual ~ISoubory() = default;
    // Entries matching a pattern ("C:\Sada\*.*" or a single path), in the
    // order the file system returns them, "." and ".." included where the
    // platform returns them. A pattern that matches nothing gives an empty
    // list; a folder of the pattern that does not exist is an error.
    virtual std::vector<Polozka> Vypis(const std::wstring& vzor) = 0;
    // Attributes of a file or folder, hidden and system ones included;
    // nothing when the path does not exist.
    virtual std::optional<uint32_t> Atributy(const std::wstring& cesta) = 0;
    virtual void NastavAtributy(const std::wstring& cesta, uint32_t atributy) = 0;
    virtual int64_t CasZmeny(const std::wstring& cesta) = 0;
    virtual int64_t Velikost(const std::wstring& cesta) = 0;
    // Copies a file to a target that must not exist; content, time and
    // attributes travel with it, as the platform's copy does.
    virtual void Kopiruj(const std::wstring& zdroj, const std::wstring& cil) = 0;
    // Renames a file within its volume; the target must not exist.
    virtual void Prejmenuj(const std::wstring& z, const std::wstring& na) = 0;
    virtual void SmazSoubor(const std::wstring& cesta) = 0;
    virtual void VytvorSlozku(const std::wstring& cesta) = 0;
    // Removes an empty folder.
    virtual void OdstranSlozku(const std::wstring& cesta) = 0;
    // Whether two existing paths name the same file, however spelt.
    virtual bool StejnySoubor(const std::wstring& a, const std::wstring& b) = 0;
};

// Registry access. Reads and writes never throw for a registry failure.
class IRegistr {
public:
    virtual ~IRegistr() = default;
    // The value as text (REG_SZ trimmed of spaces, REG_DWORD in decimal), or
    // empty text when the key or value is missing or of another type.
    virtual std::wstring CtiRegistr(uint32_t koren, const std::wstring& klic,
                                    const std::wstring& nazev) = 0;
    // Writes hodnota as REG_SZ, or cislo as REG_DWORD when hodnota is null;
    // creates the key when it does not exist. True when the value was stored.
    virtual bool ZapisRegistr(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                              const std::wstring* hodnota, int32_t cislo = 0) = 0;
    // Deletes a key; reports its own failures in the error box and returns.
    virtual void SmazKlic(uint32_t koren, const std::wstring& klic) = 0;
};

// The shell: special folders and links.
class IShell {
public:
    virtual ~IShell() = default;
    // The file-system path of a special folder (CSIDL), without a trailing
    // backslash; empty text when there is none. Reports its own errors.
    virtual std::wstring SpecialniSlozka(int32_t cislo) = 0;
    // Writes a shell link; never reports a failure.
    virtual void VytvorZastupce(const std::wstring& slozka, const std::wstring& nazev,
                                const std::wstring& cil, const std::wstring& argumenty,
                                const std::wstring& ikona, const std::wstring& pracovniSlozka,
                                int32_t zobrazeni) = 0;
};

// The window side of an install run: the main window's status operation,
// cancel flag and visibility, and the progress window's Storno.
class IOkna {
public:
    virtual ~IOkna() = default;
    // Shows the progress window if needed, sets its text and bar (a total of
    // 0 keeps the bar), closes it for the empty text, lets pending window
    // events run.
    virtual void Hlaska(const std::wstring& text, int32_t hotovo, int32_t celkem) = 0;
    virtual bool Stornovano() const = 0;
    virtual void NastavStornovano(bool hodnota) = 0;
    virtual std::wstring TextSlozky() const = 0;   // the target text box
    virtual std::wstring Titulek() const = 0;      // the main window's caption
    virtual void SkryjHlavniOkno() = 0;
    virtual void ZobrazHlavniOkno() = 0;
    virtual void UvolniHlavniOkno() = 0;            // ends the program
    virtual void ZakazStorno() = 0;                 // the progress window's button
};

// Everything an install run reaches.
struct Stroj {
    ISoubory& soubory;
    IRegistr& registr;
    IShell& shell;
    IOkna& okna;
    IHlaseni& hlaseni;
};

}  // namespace setup
