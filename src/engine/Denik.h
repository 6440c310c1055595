// The record of a run: every change a run makes to the machine is written
// down, in the order it happens and before it takes effect, so that the run
// can be taken back from it: by the run itself after a cancel or an error,
// and by the next start of Setup after the run was killed.
//
// On disk it is a text file of lines, one per step, in UTF-8:
//
//   SETUP 2 <I|U> <target> <set> <links>   first line: what the run was, where,
//                                          and the folder of its link (or empty)
//   S <path>                      a folder made
//   F <path> <size> <time>        a file copied, with what the copy holds
//   L <path> <target>             a link made, and where it points
//   O <path> <backup>             a file set aside under another name
//   R <root> <key> <name> <text>  a registry value written where none was
//   R <root> <key> <name> <text> 1
//                                 a value of the set's entry among the installed
//                                 programs that held <text>: written anew or
//                                 deleted, and written back when taken back
//   W <path> <size>               a file the run wrote itself (the list of what
//                                 it installed): no larger, it is the run's
//   K <root> <key>                a registry key made
//   C <root> <key>                a registry key to delete when taken back
//   D <path>                      a folder to remove once the run stands
//   Z <path>                      a later run wrote this path: not this run's now
//   V                             a later run into the same target stood: only
//                                 the files this run set aside are still its own
//   X                             the step before did not take effect
//   H                             the run stands: only its backups are left
//
// Fields are separated by tabs; "%", tabs and line breaks inside a field are
// written as %XX. A line cut short by a kill has no line break and is
// ignored: its step had not begun.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Stroj.h"

namespace setup {

// One step with its paths spelt out.
struct Krok {
    enum Druh : char {
        Slozka = 'S',
        Soubor = 'F',
        Odkaz = 'L',
        Odlozeni = 'O',
        Hodnota = 'R',
        Klic = 'K',
        SmazatKlic = 'C',
        OdstranitSlozku = 'D',
        Zapsany = 'W',
    };
    Druh druh = Soubor;
    std::wstring cesta{};   // a folder or file; for the registry, the key
    std::wstring druha{};   // the backup of Odlozeni; a link's target; the value's name of Hodnota
    std::wstring text{};    // the text a Hodnota wrote
    bool obnovit = false;   // a Hodnota's text is what the value held before: taken back, it is written again
    uint32_t koren = 0;   // the registry root
    // What a copy wrote: its size and last-write time, which the copy
    // carries from the medium. A negative size: not known (an older record).
    int64_t velikost = -1;
    int64_t cas = 0;
    // The copy a killed run was making when it was killed: a file no
    // larger than the copy would be is the copy's beginning, not the user's.
    bool nedokonceny = false;

    bool operator==(const Krok&) const = default;
};

// A record as read back from the disk.
struct ZaznamBehu {
    bool prazdny = true;        // not even its first line was written
    bool platny = false;        // the first line was understood
    bool odinstalace = false;   // a removal, not an install
    std::wstring cil, sada, slozkaOdkazu;
    std::vector<Krok> kroky;    // the steps that took effect and are still the run's, in order
    bool hotovo = false;        // the run stands
};

ZaznamBehu PrectiZaznam(std::string_view obsah);

// Why a record is none this program could have written for one run: a step
// outside the target, the link's folder and the set's own folder beside
// the records (its copy of Setup and its list), a backup not beside its
// original, a registry step other than the one value the program sets and
// the values of the set's entry among the installed programs.
// Nothing when it keeps every rule. A record that breaks one is not carried
// out at all: whoever wrote it, it is not to be trusted with the machine.
// slozkaZaznamu: the folder the record lies in, where the set's kept copy
// of Setup and its list live too (empty: no step may touch them).
std::optional<std::wstring> VadaZaznamu(const ZaznamBehu& zaznam, const std::wstring& slozkaZaznamu = {});

// The set's entry among the installed programs, under HKEY_CURRENT_USER,
// and its folder beside the records, which holds the copy of Setup.exe the
// entry starts and the list of what the install put where: both named
// after the set's folder name.
inline constexpr const wchar_t* KlicOdinstalace = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr const wchar_t* NazevKopie = L"Setup.exe";
inline constexpr const wchar_t* NazevSeznamu = L"seznam.txt";
std::wstring KlicAplikace(const std::wstring& nazevSady);
// The entry's values, in the order a run writes them; the last three are numbers.
inline constexpr const wchar_t* HodnotyAplikace[] = {
    L"DisplayName", L"Publisher", L"DisplayVersion", L"InstallLocation", L"InstallDate", L"DisplayIcon",
    L"UninstallString", L"QuietUninstallString", L"EstimatedSize", L"NoModify", L"NoRepair"};
inline constexpr std::size_t CiselnychHodnot = 3;
// Whether a name is one of them (cislo: one of the numbers).
bool HodnotaAplikace(const std::wstring& nazev, bool cislo = false);

// The first line of a record, and of a list.
std::wstring HlavickaZaznamu(bool odinstalace, const std::wstring& cil, const std::wstring& sada,
                             const std::wstring& slozkaOdkazu);

// A list as read back: the same lines as a record, the files (F) and the
// link (L) an install left. Why it is no list an install wrote: a file not
// directly in the target or a name like "..", the link outside its folder
// or pointing elsewhere, any other line. It is written where the user's
// programs may change it, so it is checked before anything is done by it.
std::optional<std::wstring> VadaSeznamu(const ZaznamBehu& seznam);

// The list kept for the set of that folder name beside the records, read
// and checked; throws Chyba naming it when it is not there or breaks a rule.
// chranena: the records of a run with more rights, whose folder must be
// one only administrators may change (OverSlozkuZaznamu).
ZaznamBehu NactiSeznam(ISoubory& soubory, const std::wstring& slozkaZaznamu, bool chranena, const std::wstring& nazev);

// Where the records of runs live: one folder for every set, in the user's
// local application data, so the next start finds a killed run's record
// whatever target it chooses itself; for a run with more rights than the
// user's programs, a folder of the machine's that only they may change.
inline constexpr const wchar_t* NazevSlozkyZaznamu = L"Instalace šablon";

// That folder's security: owned by the administrators, changed only by them
// and by SYSTEM, inheriting nothing from above.
inline constexpr const wchar_t* ZabezpeceniZaznamu = L"O:BAG:SYD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

// Whether a security descriptor (owner and DACL as SDDL) lets nobody but
// the administrators and SYSTEM own or change what it guards.
bool JenSpravci(const std::wstring& sddl);

// Whether a folder of records may be trusted: for records of a run with
// more rights, a protected folder at both levels (it and its parent);
// never a link or junction. Throws Chyba naming the folder when not.
void OverSlozkuZaznamu(ISoubory& soubory, const std::wstring& slozka, bool chranena);

// The records in a folder, the latest first, by their file names. A name's
// number is compared as digits, never parsed into a number that could
// overflow; a name with no number counts as the oldest.
std::vector<std::wstring> ZaznamyVeSlozce(ISoubory& soubory, const std::wstring& slozka);

// The record of the run in progress.
class Denik {
public:
    explicit Denik(ISoubory& soubory) : soubory_(soubory) {}
    ~Denik();
    Denik(const Denik&) = delete;
    Denik& operator=(const Denik&) = delete;

    // Starts a new record in slozka (made if missing; a protected folder
    // with ZabezpeceniZaznamu), beside any a killed run left there. It is
    // held open without sharing while the run lives, so no other start
    // takes it for a killed run's. Throws, naming the folder, when it
    // cannot be written: a run whose steps cannot be written down does
    // not start. slozkaOdkazu: the folder of the run's link, if any.
    void Zacni(const std::wstring& slozka, bool chranena, bool odinstalace, const std::wstring& cil,
               const std::wstring& sada, const std::wstring& slozkaOdkazu);
    bool Vede() const { return static_cast<bool>(soubor_); }

    // Writes a step down before it is taken. Throws when it cannot.
    void Zapis(const Krok& krok);
    // The step last written did not take effect.
    void Zrus();
    // Forces what is written so far to the disk.
    void Vynut();
    // The run stands.
    void Hotovo();
    // What this run stands on is no step of any older record left in the
    // folder any more: a record kept to be tried again must never take back
    // a later run's files, nor what a later run into the same target found
    // there and kept. Throws when an older record cannot be read or amended.
    void OdvolejStarsi(const std::wstring& cil, const std::vector<std::wstring>& cesty);
    // The record stays on the disk when the run ends, for the next start
    // to finish what the run could not.
    void Ponech() { ponechat_ = true; }
    // The run is over, however it ended: the record goes (unless it is to
    // stay), and its folder when nothing else is in it. Never throws.
    void Ukonci() noexcept;

private:
    void Radek(const std::wstring& radek);

    ISoubory& soubory_;
    std::wstring slozka_, cesta_;
    std::unique_ptr<IPripis> soubor_;
    bool slozkaNova_ = false;
    bool ponechat_ = false;
};

// The line of one step, without its line break.
std::wstring RadekKroku(const Krok& krok);

// Removes a folder a removal emptied; one that holds anything stays. The
// folders above it stay too: nothing tells whether the install made them
// or found them, empty, as the office suite left them. True when it went;
// throws when its removal fails.
bool OdstranPrazdnouSlozku(ISoubory& soubory, const std::wstring& slozka);

// Deletes a file this run put there (a copy, a link, a backup), whatever its
// attributes; a folder of that name is not the run's and stays. True when
// there was one.
bool SmazVytvoreny(ISoubory& soubory, const std::wstring& cesta);

// Whether a folder holds anything at all.
bool JePrazdna(ISoubory& soubory, const std::wstring& slozka);

// Removes a folder that holds nothing; true when it went. Throws when the
// folder cannot be listed or removed.
bool OdstranKdyzPrazdna(ISoubory& soubory, const std::wstring& slozka);

}  // namespace setup
