// The record of a run: every change a run makes to the machine is written
// down, in the order it happens and before it takes effect, so that the run
// can be taken back from it: by the run itself after a cancel or an error,
// and by the next start of Setup after the run was killed.
//
// On disk it is a text file of lines, one per step, in UTF-8:
//
//   SETUP 1 <I|U> <target> <set>  first line: what the run was and where
//   S <path>                      a folder made
//   F <path>                      a file made (a copy or a link)
//   O <path> <backup>             a file set aside under another name
//   R <root> <key> <name>         a registry value written where none was
//   K <root> <key>                a registry key made
//   C <root> <key>                a registry key to delete when taken back
//   D <path>                      a folder to remove once the run stands
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
        Odlozeni = 'O',
        Hodnota = 'R',
        Klic = 'K',
        SmazatKlic = 'C',
        OdstranitSlozku = 'D',
    };
    Druh druh = Soubor;
    std::wstring cesta;   // a folder or file; for the registry, the key
    std::wstring druha;   // the backup of Odlozeni; the value's name of Hodnota
    uint32_t koren = 0;   // the registry root

    bool operator==(const Krok&) const = default;
};

// A record as read back from the disk.
struct ZaznamBehu {
    bool prazdny = true;        // not even its first line was written
    bool platny = false;        // the first line was understood
    bool odinstalace = false;   // a removal, not an install
    std::wstring cil, sada;
    std::vector<Krok> kroky;    // the steps that took effect, in order
    bool hotovo = false;        // the run stands
};

ZaznamBehu PrectiZaznam(std::string_view obsah);

// Where the records of runs live: one folder for every set, in the user's
// local application data, so the next start finds a killed run's record
// whatever target it chooses itself.
inline constexpr const wchar_t* NazevSlozkyZaznamu = L"Instalace šablon";

// The record of the run in progress.
class Denik {
public:
    explicit Denik(ISoubory& soubory) : soubory_(soubory) {}
    ~Denik();
    Denik(const Denik&) = delete;
    Denik& operator=(const Denik&) = delete;

    // Starts a new record in slozka (made if missing), beside any a killed
    // run left there. Throws when it cannot be written: a run whose steps
    // cannot be written down does not start.
    // A protected folder (chranena) is made with a security descriptor that
    // lets only administrators and SYSTEM change it, and one found is used
    // only when it is so. slozkaOdkazu: the folder of the run's link, if any.
    void Zacni(const std::wstring& slozka, bool chranena, bool odinstalace, const std::wstring& cil,
               const std::wstring& sada, const std::wstring& slozkaOdkazu);
    bool Vede() const { return static_cast<bool>(soubor_); }

    // Writes a step down before it is taken. Throws when it cannot.
    void Zapis(const Krok& krok);
    // The step last written did not take effect.
    void Zrus();
    // The run stands.
    void Hotovo();
    // The run is over, however it ended: the record goes, and its folder
    // when nothing else is in it. Never throws.
    void Ukonci() noexcept;

private:
    void Radek(const std::wstring& radek);

    ISoubory& soubory_;
    std::wstring slozka_, cesta_;
    std::unique_ptr<IPripis> soubor_;
    bool slozkaNova_ = false;
};

// The line of one step, without its line break.
std::wstring RadekKroku(const Krok& krok);

// Takes one step back, if it still stands: what it made is removed, what it
// set aside returns. A step already taken back, or one that never took
// effect, changes nothing, so the next start may take back again what a
// killed rollback had begun without writing down how far it got. For a file
// made in place of one set aside, zalohaPuvodniho names that backup. True
// when it changed something; throws when it could not be taken back.
bool VratKrok(ISoubory& soubory, IRegistr& registr, const Krok& krok,
              const std::wstring* zalohaPuvodniho = nullptr);

// Removes a folder a removal emptied; one that holds anything stays. The
// folders above it stay too: nothing tells whether the install made them
// or found them, empty, as the office suite left them. True when it went;
// throws when its removal fails.
bool OdstranPrazdnouSlozku(ISoubory& soubory, const std::wstring& slozka);

// Deletes a file this run put there (a copy, a link, a backup), whatever its
// attributes; a folder of that name is not the run's and stays. True when
// there was one.
bool SmazVytvoreny(ISoubory& soubory, const std::wstring& cesta);

}  // namespace setup
