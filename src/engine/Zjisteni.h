// What the main window learns when it loads: the set on the medium, the
// welcome text, the proposed target and the user's templates folder.
//
// The proposal follows the office suite the machine has. Suites 9.0 and 8.0
// are looked for first, as always: 9.0's shared Templates folder, or 8.0's
// LocalTemplates key. Without either, the newest of 16.0, 15.0, 14.0, 12.0,
// 11.0 and 10.0 that is installed decides, so that the word processor
// lists the templates: 10.0 to 14.0 list the user templates folder
// (UserTemplates), 15.0 and 16.0 the personal templates folder
// (PersonalTemplates), or Documents\Custom Office Templates once the run has
// set PersonalTemplates to it. With no suite at all, the suite's usual
// shared folder is proposed.
#pragma once

#include <string>

#include "engine/Instalace.h"
#include "engine/Stroj.h"

namespace setup {

// What the medium without a set says.
inline constexpr const wchar_t* TextBezSady = L"Nenalezena žádná složka se soubory k instalaci.";
// What it says when the program was started out of an archive, which the
// archive viewer copied alone to a temporary folder.
inline constexpr const wchar_t* TextZArchivu =
    L"Setup byl spuštěn přímo z archivu ZIP, bez složky se šablonami. Rozbalte nejprve celý archiv "
    L"(Extrahovat vše) a spusťte Setup.exe z rozbalené složky.";

// Whether an error is one of the two above: no set beside the program.
inline bool ChybiSada(const Chyba& chyba) { return chyba.popis == TextBezSady || chyba.popis == TextZArchivu; }

struct Nacteni {
    std::wstring SlozkaProgramu;
    std::wstring NazevSady;
    std::wstring Uvitani;          // the text of labSetup
    SlozkyInstalace slozky;        // CilSlozka is also the text of Slozka
    std::wstring PuvodNavrhu;      // which suite and which value gave the proposal, for the log
};

// Throws Chyba when the medium holds no set folder or a platform call fails;
// a special folder the shell cannot give is shown in hlaseni and proposes
// nothing. cestaAplikace is the folder of the running executable,
// docasnaSlozka the user's temporary folder (empty: not known), where an
// archive viewer puts a program started out of an archive.
Nacteni ZjistiInstalaci(const std::wstring& cestaAplikace, ISoubory& soubory, IRegistr& registr, IShell& shell,
                        IHlaseni& hlaseni, const std::wstring& docasnaSlozka = {});

// A special folder for a caller that goes on without one: a failure to ask
// the shell is shown in the report box, and the folder is empty text.
std::wstring SpecialniSlozkaNeboNic(IShell& shell, IHlaseni& hlaseni, int32_t cislo);

}  // namespace setup
