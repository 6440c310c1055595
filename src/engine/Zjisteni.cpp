#include "engine/Zjisteni.h"

#include "engine/Adresar.h"
#include "system/Cesty.h"

namespace setup {

namespace {

constexpr int32_t CsidlAppData = 26;
constexpr const wchar_t* VychoziSlozkaSablon = L"C:\\Program Files\\Microsoft Office\\Templates";

// The first plain folder beside the installer, named as the listing gives
// it; hidden and system folders are never offered by the listing.
std::wstring NajdiSadu(ISoubory& soubory, const std::wstring& slozkaProgramu) {
    for (const auto& jmeno : VypisJmena(soubory, slozkaProgramu + L"\\*.*", AtributSlozka)) {
        const auto a = soubory.Atributy(slozkaProgramu + L"\\" + jmeno);
        if (a && (*a & AtributSlozka)) return jmeno;
    }
    throw Chyba(CisloVlastniChyby, TitulekHlavnihoOkna, TextBezSady);
}

// The shared templates folder of the installed suite, or the suite's usual
// place when none is installed.
std::wstring SlozkaSablon(IRegistr& registr) {
    std::wstring cil;
    std::wstring koren = registr.CtiRegistr(
        HKEY_LOCAL_MACHINE_, L"SOFTWARE\\Microsoft\\Office\\9.0\\Common\\InstallRoot", L"Path");
    if (!koren.empty()) {
        cil = NadrazenaSlozka(koren) + L"\\Templates";
    } else {
        koren = registr.CtiRegistr(HKEY_LOCAL_MACHINE_,
                                   L"SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot",
                                   L"OfficeBin");
        if (!koren.empty())
            cil = registr.CtiRegistr(
                HKEY_LOCAL_MACHINE_,
                L"Software\\Microsoft\\Office\\8.0\\Common\\FileNew\\LocalTemplates", L"");
    }
    // The older suite may name no templates folder; its install root still
    // decides that the fallback is not taken.
    if (koren.empty()) cil = VychoziSlozkaSablon;
    return cil;
}

}  // namespace

Nacteni ZjistiInstalaci(const std::wstring& cestaAplikace, ISoubory& soubory,
                        IRegistr& registr, IShell& shell) {
    Nacteni n;
    n.SlozkaProgramu = cestaAplikace;
    if (!n.SlozkaProgramu.empty() && n.SlozkaProgramu.back() == L'\\')
        n.SlozkaProgramu.pop_back();

    n.NazevSady = NajdiSadu(soubory, n.SlozkaProgramu);

    n.Uvitani = L"Tento program nainstaluje šablony '" + n.NazevSady +
                L"' na váš počítač.\r\n\r\n"
                L"  Instalaci můžete zahájit klepnutím na tlačítko OK. Pokud si přejete "
                L"změnit umístění šablon, zadejte jinou cílovou složku. Existující složku "
                L"můžete nalistovat tlačítkem Procházet. Pokud si nepřejete pokračovat v "
                L"instalaci, ukončete instalační program klepnutím na tlačítko Storno.";

    n.slozky.CilSlozka = SlozkaSablon(registr) + L"\\" + n.NazevSady;
    // A registry value that names no full folder (a drive root, a relative
    // path, an older suite without its templates key) would give a proposal
    // that OK then refuses: the suite's usual place is proposed instead.
    if (RozeberCestu(n.slozky.CilSlozka).vada != VadaCesty::Zadna)
        n.slozky.CilSlozka = std::wstring(VychoziSlozkaSablon) + L"\\" + n.NazevSady;
    n.slozky.ZdrojSlozka = n.SlozkaProgramu + L"\\" + n.NazevSady;

    std::wstring jmeno = registr.CtiRegistr(
        HKEY_CURRENT_USER_, L"SOFTWARE\\Microsoft\\Office\\9.0\\Common\\General", L"Templates");
    // The value names folders inside the user's Microsoft folder. Anything
    // else (a drive, "..", a character no folder may hold) would put the
    // link outside the profile or make every install fail: no link then,
    // as when the value is missing.
    if (jmeno.empty() || !JsouNazvySlozek(jmeno)) return n;
    if (jmeno.back() == L'\\') jmeno.pop_back();
    const std::wstring appData = shell.SpecialniSlozka(CsidlAppData);
    if (appData.empty()) return n;
    n.slozky.SlozkaZastupcu = appData + L"\\Microsoft\\" + jmeno;
    return n;
}

}  // namespace setup
