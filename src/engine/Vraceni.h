// Taking a run back: the one walk over a run's steps, the last first, for
// the run's own rollback after a cancel or an error and for the next
// start's recovery after a kill alike. Only what the run itself wrote is
// taken back: a file that no longer holds what the copy wrote, a link that
// points elsewhere, a value that says something else, a folder that holds
// the user's files, is the user's now and stays.
#pragma once

#include <string>
#include <vector>

#include "engine/Denik.h"
#include "engine/Stroj.h"

namespace setup {

// What taking one step back did.
struct Navrat {
    enum Druh {
        Nic,         // nothing of the step's was left to take back
        Vraceno,     // what it made is gone, or what it set aside is back
        Ponechano,   // what stands there is the user's now, and stays
        Vedle,       // the original came back beside the user's file, as vedle
    };
    Druh druh = Nic;
    std::wstring vedle;
};

// Whether a file holds what the run's copy (or its own write) left there:
// the size and the last-write time the step names.
bool JeKopieBehu(const Polozka& p, const Krok& krok);

// The error of a registry value that could not be written, deleted or put
// back (co: "zapsat", "odstranit", "obnovit"), naming the value and its key.
Chyba ChybaHodnoty(const Krok& krok, const wchar_t* co);

// Takes one step back, if it still stands. A step already taken back, or
// one that never took effect, changes nothing, so the next start may take
// back again what a killed rollback had begun without writing down how far
// it got. For a file made in place of one set aside, zalohaPuvodniho names
// that backup. Throws when it could not be taken back.
Navrat VratKrok(ISoubory& soubory, IRegistr& registr, IShell& shell, const Krok& krok,
                const std::wstring* zalohaPuvodniho = nullptr);

// Who watches a walk back.
class ISledovaniNavratu {
public:
    virtual ~ISledovaniNavratu() = default;
    virtual void Vraceno(const Krok& krok, const Navrat& navrat) = 0;
    // The step could not be taken back; dovetek says what that leaves.
    virtual void Selhalo(const Krok& krok, const Chyba& chyba, const std::wstring& dovetek) = 0;
};

// Takes steps back, the last first, each file with the backup it replaced.
// A step that fails is reported and the walk goes on: one stubborn file
// must not leave everything else behind, and what depends on it (the
// folder it is in) then fails in its turn and is reported too.
void VratKroky(ISoubory& soubory, IRegistr& registr, IShell& shell, const std::vector<Krok>& kroky,
               ISledovaniNavratu& sledovani);

// The name an original comes back under when its own name holds the
// user's file: "Dopis (původní).dot", "Dopis (původní 2).dot", ...
std::wstring NazevPuvodniho(const std::wstring& cesta, int n);

}  // namespace setup
