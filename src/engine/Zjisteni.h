// What the main window learns when it loads: the set on the medium, the
// welcome text, the proposed target and the user's templates folder.
#pragma once

#include <string>

#include "engine/Instalace.h"
#include "engine/Stroj.h"

namespace setup {

// What the medium without a set says.
inline constexpr const wchar_t* TextBezSady = L"Nenalezena žádná složka se soubory k instalaci.";

struct Nacteni {
    std::wstring SlozkaProgramu;
    std::wstring NazevSady;
    std::wstring Uvitani;          // the text of labSetup
    SlozkyInstalace slozky;        // CilSlozka is also the text of Slozka
};

// Throws Chyba when the medium holds no set folder or a platform call fails.
// cestaAplikace is the folder of the running executable.
Nacteni ZjistiInstalaci(const std::wstring& cestaAplikace, ISoubory& soubory,
                        IRegistr& registr, IShell& shell);

}  // namespace setup
