// The machine as the engine sees it: files, registry, shell and the windows.
// The Win32 layer implements these; host tests use a fake machine.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "system/Chyba.h"

namespace setup {

// File attributes, as the platform numbers them.
inline constexpr uint32_t AtributJenProCteni = 0x1;
inline constexpr uint32_t AtributSkryty = 0x2;
inline constexpr uint32_t AtributSystemovy = 0x4;
inline constexpr uint32_t AtributSlozka = 0x10;
inline constexpr uint32_t AtributArchiv = 0x20;
inline constexpr uint32_t AtributOdkaz = 0x400;   // a reparse point: a symbolic link or a junction

// Platform error numbers the engine tells apart.
inline constexpr int32_t CisloSdileni = 32;           // ERROR_SHARING_VIOLATION: another process has it open
inline constexpr int32_t CisloSouborExistuje = 80;    // ERROR_FILE_EXISTS
inline constexpr int32_t CisloUzExistuje = 183;       // ERROR_ALREADY_EXISTS

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

// A file opened to be written at its end, byte by byte as the caller gives
// them; closed when the object goes. The writes go to the file cache: they
// survive the program being killed, and a power cut only once forced.
class IPripis {
public:
    virtual ~IPripis() = default;
    virtual void Pripis(std::string_view bajty) = 0;
    // Forces what was written so far to the disk.
    virtual void Vynut() = 0;
};

// How OtevriKPripisu opens its file.
enum class Otevreni {
    Pripojit,   // appends, making the file when it is not there: a log the user named
    Novy,       // makes a new file: a name already taken is refused (ERROR_FILE_EXISTS),
                // and a symbolic link or junction is never followed, at the name or at
                // the folder that holds it
    Vylucny,    // as Novy, and no other process may open the file while it is open
};

// The machine's implementations show no boxes of their own: a failure they
// report is a Chyba thrown to the caller, which shows it or goes on without.

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
    // Attributes, size and last-write time in one call (nazev is left
    // empty); nothing when the path does not exist.
    virtual std::optional<Polozka> Vlastnosti(const std::wstring& cesta) = 0;
    virtual void NastavAtributy(const std::wstring& cesta, uint32_t atributy) = 0;
    virtual int64_t CasZmeny(const std::wstring& cesta) = 0;
    virtual int64_t Velikost(const std::wstring& cesta) = 0;
    // Copies a file to a target that must not exist; content, time and
    // attributes travel with it, as the platform's copy does. A copy that
    // sees *zrusit raised stops, even in the middle of the file where the
    // platform can, leaves no part of the target behind and throws
    // CisloZrusenaOperace; null: nothing to watch.
    virtual void Kopiruj(const std::wstring& zdroj, const std::wstring& cil,
                         const std::atomic<bool>* zrusit) = 0;
    // Renames a file within its volume; the target must not exist.
    virtual void Prejmenuj(const std::wstring& z, const std::wstring& na) = 0;
    virtual void SmazSoubor(const std::wstring& cesta) = 0;
    virtual void VytvorSlozku(const std::wstring& cesta) = 0;
    // Removes an empty folder.
    virtual void OdstranSlozku(const std::wstring& cesta) = 0;
    // Whether two paths name the same file or folder, however spelt; false
    // when either is not there.
    virtual bool StejnySoubor(const std::wstring& a, const std::wstring& b) = 0;
    // Whether two files hold the same bytes.
    virtual bool StejnyObsah(const std::wstring& a, const std::wstring& b) = 0;
    // Forces a file's content to the disk, so that a power cut keeps it.
    virtual void Vynut(const std::wstring& cesta) = 0;
    // The whole of a small file; nothing when it does not exist. Never
    // through a symbolic link or junction, at the name or at the folder
    // that holds it (the platform's refusal is thrown); a file another
    // process holds open without sharing throws ERROR_SHARING_VIOLATION.
    virtual std::optional<std::string> Nacti(const std::wstring& cesta) = 0;
    // Opens a file for writing at its end.
    virtual std::unique_ptr<IPripis> OtevriKPripisu(const std::wstring& cesta,
                                                    Otevreni jak = Otevreni::Pripojit) = 0;
    // Makes one folder with the given security descriptor (SDDL: owner,
    // group and a protected DACL), not inheriting from its parent.
    virtual void VytvorChranenouSlozku(const std::wstring& cesta, const std::wstring& sddl) = 0;
    // The owner and the DACL of an existing file or folder as SDDL
    // ("O:BAD:P(A;OICI;FA;;;SY)..."): a link's or junction's own, not those
    // of where it leads; throws when they cannot be read.
    virtual std::wstring Zabezpeceni(const std::wstring& cesta) = 0;
};

// Registry access. Reads and writes never throw for a registry failure.
class IRegistr {
public:
    virtual ~IRegistr() = default;
    // The value as text (REG_SZ trimmed of spaces, REG_DWORD in decimal), or
    // empty text when the key or value is missing or of another type.
    virtual std::wstring CtiRegistr(uint32_t koren, const std::wstring& klic,
                                    const std::wstring& nazev) = 0;
    // A value that names a folder: REG_SZ as it is, REG_EXPAND_SZ with its
    // %VARIABLES% expanded from the environment, either one cut at its
    // first NUL and trimmed of spaces; empty text when the key or value is
    // missing or of any other type. pohled64 reads the 64-bit view of the
    // registry, where a 64-bit office suite keeps its machine-wide keys and
    // a 32-bit program is otherwise not shown them; 32-bit Windows has one
    // view only and reads that.
    virtual std::wstring CtiCestu(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                                  bool pohled64 = false) = 0;
    // Writes hodnota as REG_SZ, or cislo as REG_DWORD when hodnota is null;
    // creates the key when it does not exist. True when the value was stored.
    virtual bool ZapisRegistr(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                              const std::wstring* hodnota, int32_t cislo = 0) = 0;
    // Deletes a key; throws Chyba when it cannot be opened or deleted.
    virtual void SmazKlic(uint32_t koren, const std::wstring& klic) = 0;
    // Whether a key exists, and whether a value of any type exists in it.
    virtual bool ExistujeKlic(uint32_t koren, const std::wstring& klic) = 0;
    virtual bool ExistujeHodnota(uint32_t koren, const std::wstring& klic, const std::wstring& nazev) = 0;
    // Deletes one value, and a key that holds neither values nor keys; true
    // when it is gone afterwards, also when it was not there. Neither
    // reports anything itself.
    virtual bool SmazHodnotu(uint32_t koren, const std::wstring& klic, const std::wstring& nazev) = 0;
    virtual bool SmazPrazdnyKlic(uint32_t koren, const std::wstring& klic) = 0;
};

// The shell: special folders and links.
class IShell {
public:
    virtual ~IShell() = default;
    // The file-system path of a special folder (CSIDL), without a trailing
    // backslash; empty text when there is none. Throws Chyba when the shell
    // cannot be asked.
    virtual std::wstring SpecialniSlozka(int32_t cislo) = 0;
    // Writes a shell link; never reports a failure.
    virtual void VytvorZastupce(const std::wstring& slozka, const std::wstring& nazev,
                                const std::wstring& cil, const std::wstring& argumenty,
                                const std::wstring& ikona, const std::wstring& pracovniSlozka,
                                int32_t zobrazeni) = 0;
    // Whether a link file points to a folder, however letter case spells
    // it; false for a file that is no link that can be read.
    virtual bool OdkazVedeDo(const std::wstring& odkaz, const std::wstring& cil) = 0;
};

// What a run tells whoever watches it, and what it asks: the progress
// window for a person, nothing but the log for a silent run. Its boxes
// (IHlaseni) are the run's messages.
class IPrubeh : public IHlaseni {
public:
    // The status line and the bar: hotovo of celkem (celkem above 0).
    virtual void Hlaska(const std::wstring& text, int32_t hotovo, int32_t celkem) = 0;
    // The end of the run's reports: the progress window goes.
    virtual void Skonci() = 0;
    // The user's wish to stop; a long copy watches it too, from wherever the
    // copy runs. A silent run's rises only when the session ends under it.
    virtual const std::atomic<bool>& Stornovano() const = 0;
    // From here on the run cannot be stopped (it is being taken back).
    virtual void NelzeZrusit() = 0;
};

// A log of what a run did, line by line; lines carry no line break.
class IProtokol {
public:
    virtual ~IProtokol() = default;
    virtual void Radek(const std::wstring& text) = 0;
};

// Everything a run reaches.
struct Stroj {
    ISoubory& soubory;
    IRegistr& registr;
    IShell& shell;
    IPrubeh& prubeh;
    IProtokol* protokol = nullptr;   // none: nothing is logged
};

}  // namespace setup
