// The next start's half of a run's record: what a killed run left is taken
// back before the main window shows, and the user is told in one box.
#pragma once

#include <string>
#include <vector>

#include "engine/Stroj.h"

namespace setup {

struct VysledekObnovy {
    std::vector<std::wstring> cile;   // the targets of the runs taken back
    bool odinstalace = false;         // the last of them removed a set
    int obnoveno = 0;                 // files set aside that returned
    int odstraneno = 0;               // files the runs made, removed
    int slozek = 0;                   // folders the runs made, removed
    int registru = 0;                 // registry values and keys the runs made, removed
    // What could not be taken back, one line each: a locked file, a medium
    // gone. Its record stays for the next start.
    std::vector<std::wstring> zbyva;
    // What the runs made and the user has changed since, or filled with
    // their own files: it stays, one line each, and its record ends.
    std::vector<std::wstring> ponechano;
    // Records no run of this program could have written: not carried out
    // at all, put aside, one line each with the reason.
    std::vector<std::wstring> odmitnuto;

    bool NecoVraceno() const { return obnoveno + odstraneno + slozek + registru > 0; }
    bool JeCoHlasit() const { return NecoVraceno() || !zbyva.empty() || !ponechano.empty() || !odmitnuto.empty(); }
};

// Finishes every record in slozkaZaznamu: a run killed half way is taken
// back (the backups return to their names, what it made is removed, deepest
// first, never anything that was there before it nor anything the user has
// changed since); a run that had already succeeded has only its backups
// cleared away, silently. Every record is checked whole before any of it
// is carried out; a record held open by a run still going is that run's.
// A record finished is removed, with the folder when that is then empty.
// chranena: the folder must be one only administrators and SYSTEM can
// change, or nothing in it is trusted. Never throws: what cannot be done
// is in zbyva.
VysledekObnovy DokonciPrerusene(ISoubory& soubory, IRegistr& registr, IShell& shell, const std::wstring& slozkaZaznamu,
                                 bool chranena = false);

// The one box about it, when there is anything to say: what was put back,
// and what is left and where. Returns whether a box was shown.
bool OznamObnovu(IHlaseni& hlaseni, const VysledekObnovy& v, const std::wstring& slozkaZaznamu);

}  // namespace setup
