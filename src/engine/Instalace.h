// The OK handler: builds the plan, executes it, rolls it back on a cancel or
// an error, and leaves through the exit path.
#pragma once

#include <string>

#include "engine/Stroj.h"

namespace setup {

// The main window's caption, which titles the completion box too.
inline constexpr const wchar_t* TitulekHlavnihoOkna = L"Instalace doplňků";

// The value through which the word processor of suites 15.0 and 16.0 lists
// a folder of the user's own templates, under HKEY_CURRENT_USER.
inline constexpr const wchar_t* NazevOsobnichSablon = L"PersonalTemplates";

// Where a run may set that value because neither the user nor a policy has:
// the run sets it when the target the user confirms is that folder or lies
// directly in it, and neither value exists by then. An empty Klic: never.
struct ZapisOsobnichSablon {
    std::wstring Klic;        // Software\Microsoft\Office\<version>\Word\Options
    std::wstring KlicZasad;   // the policy key whose value would win over it
    std::wstring Slozka;      // the folder the value is to name
};

// The main window's folders that an install run reads and writes.
struct SlozkyInstalace {
    std::wstring ZdrojSlozka;      // the template set on the medium
    std::wstring CilSlozka;        // overwritten with the target at OK
    std::wstring SlozkaZastupcu;   // the user's templates folder, or empty
    std::wstring SlozkaZaznamu;    // where a run keeps its record; empty: in memory only
    ZapisOsobnichSablon OsobniSablony;
};

// How a run ended.
enum class Vysledek {
    Hotovo,    // installed (or removed): the completion box was shown
    Zruseno,   // the user stopped it; whatever it did is taken back
    Selhalo,   // an error was reported; whatever it did is taken back
};

// One run for the target the user left: the window hides itself when the
// first report shows the progress window, and after the run shows itself
// again or, when it is done, unloads.
Vysledek cmdOK_Click(Stroj& stroj, SlozkyInstalace& slozky, const std::wstring& cil);

}  // namespace setup
