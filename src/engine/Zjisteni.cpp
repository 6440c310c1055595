#include "engine/Zjisteni.h"

#include <optional>

#include "engine/Adresar.h"
#include "system/Cesty.h"

namespace setup {

namespace {

constexpr int32_t CsidlAppData = 26;
constexpr int32_t CsidlDokumenty = 5;   // CSIDL_PERSONAL: the user's Documents, wherever redirected
constexpr const wchar_t* VychoziSlozkaSablon = L"C:\\Program Files\\Microsoft Office\\Templates";

constexpr const wchar_t* KlicOffice = L"SOFTWARE\\Microsoft\\Office\\";
constexpr const wchar_t* KlicUzivatele = L"Software\\Microsoft\\Office\\";
// Policies mirror the user's keys here and win over them.
constexpr const wchar_t* KlicZasad = L"Software\\Policies\\Microsoft\\Office\\";
// The folder the suites from 15.0 on suggest for the user's own templates,
// inside Documents. The suite names it in English in every language.
constexpr const wchar_t* VlastniSablonyOffice = L"Custom Office Templates";

// The first plain folder beside the installer, named as the listing gives
// it; hidden and system folders are never offered by the listing. None
// where an archive viewer has put the program alone: the user is told to
// unpack the whole archive, which is what helps.
std::wstring NajdiSadu(ISoubory& soubory, const std::wstring& slozkaProgramu, const std::wstring& docasnaSlozka) {
    for (const auto& jmeno : VypisJmena(soubory, slozkaProgramu + L"\\*.*", AtributSlozka)) {
        const auto a = soubory.Atributy(slozkaProgramu + L"\\" + jmeno);
        if (a && (*a & AtributSlozka)) return jmeno;
    }
    throw Chyba(CisloVlastniChyby, TitulekHlavnihoOkna,
                VDocasneSlozceArchivu(slozkaProgramu, docasnaSlozka) ? TextZArchivu : TextBezSady);
}

// The folder a suite names for templates (empty: none), and how it was found.
struct Navrh {
    std::wstring slozka;
    std::wstring puvod;
};

// Suites 9.0 and 8.0: the shared templates folder beside 9.0's program
// folder, or 8.0's LocalTemplates key. Nothing when neither is installed.
std::optional<Navrh> StaraVerze(IRegistr& registr) {
    std::wstring koren = registr.CtiRegistr(
        HKEY_LOCAL_MACHINE_, L"SOFTWARE\\Microsoft\\Office\\9.0\\Common\\InstallRoot", L"Path");
    if (!koren.empty())
        return Navrh{NadrazenaSlozka(koren) + L"\\Templates",
                     L"Office 9.0: složka Templates vedle složky z hodnoty Path klíče Common\\InstallRoot"};
    koren = registr.CtiRegistr(HKEY_LOCAL_MACHINE_, L"SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot",
                               L"OfficeBin");
    if (koren.empty()) return std::nullopt;
    // The older suite may name no templates folder; its install root still
    // decides that no other suite is looked for.
    Navrh n;
    n.slozka = registr.CtiRegistr(HKEY_LOCAL_MACHINE_,
                                  L"Software\\Microsoft\\Office\\8.0\\Common\\FileNew\\LocalTemplates", L"");
    n.puvod = n.slozka.empty() ? L"Office 8.0: klíč Common\\FileNew\\LocalTemplates neurčuje složku"
                               : L"Office 8.0: složka z klíče Common\\FileNew\\LocalTemplates";
    return n;
}

// Whether a suite of this version is installed, and how it was seen (for
// the text); nothing when it is not. Its machine-wide keys are in the
// program's own registry view for a suite of the same width, in the 64-bit
// view for a 64-bit suite; a click-to-run suite is shown by its own key.
std::optional<std::wstring> Nainstalovana(IRegistr& registr, const std::wstring& verze) {
    const std::wstring klic = KlicOffice + verze;
    const std::wstring klicC2R =
        verze == L"16.0" ? std::wstring(KlicOffice) + L"ClickToRun\\Configuration"
        : verze == L"15.0" ? klic + L"\\ClickToRun\\Configuration"
                           : std::wstring();
    for (const bool pohled64 : {false, true}) {
        const std::wstring pohled = pohled64 ? L"64bitové zobrazení registru" : L"";
        for (const wchar_t* cast : {L"\\Word\\InstallRoot", L"\\Common\\InstallRoot"})
            if (!registr.CtiCestu(HKEY_LOCAL_MACHINE_, klic + cast, L"Path", pohled64).empty())
                return pohled64 ? L" (" + pohled + L")" : L"";
        if (!klicC2R.empty() &&
            !registr.CtiCestu(HKEY_LOCAL_MACHINE_, klicC2R, L"InstallationPath", pohled64).empty())
            return L" (click-to-run" + (pohled64 ? L", " + pohled : pohled) + L")";
    }
    return std::nullopt;
}

// A folder from a registry value, to which the set's name is joined: its
// trailing backslashes would make a path OK refuses.
std::wstring BezKoncovehoLomitka(std::wstring slozka) {
    while (slozka.size() > 1 && slozka.back() == L'\\') slozka.pop_back();
    return slozka;
}

// A value of the user's, or of a policy, which wins over it.
struct Nastaveni {
    std::wstring text;
    const wchar_t* puvod = nullptr;
};
Nastaveni CtiSeZasadou(IRegistr& registr, const std::wstring& verze, const std::wstring& cast,
                       const wchar_t* nazev) {
    Nastaveni h{registr.CtiCestu(HKEY_CURRENT_USER_, KlicZasad + verze + cast, nazev), L"ze zásad skupiny"};
    if (h.text.empty()) h = {registr.CtiCestu(HKEY_CURRENT_USER_, KlicUzivatele + verze + cast, nazev), L"uživatele"};
    return h;
}

// 10.0 to 14.0 list the user templates folder under File > New, and each
// folder in it as a tab of its own.
Navrh SablonyUzivatele(IRegistr& registr, IShell& shell, IHlaseni& hlaseni, const std::wstring& verze,
                       const std::wstring& jak) {
    const std::wstring zacatek = L"Office " + verze + jak + L": ";
    const Nastaveni h = CtiSeZasadou(registr, verze, L"\\Common\\General", L"UserTemplates");
    if (!h.text.empty())
        return {BezKoncovehoLomitka(h.text), zacatek + L"složka z hodnoty UserTemplates " + h.puvod};
    const std::wstring appData = SpecialniSlozkaNeboNic(shell, hlaseni, CsidlAppData);
    return {appData.empty() ? std::wstring() : appData + L"\\Microsoft\\Templates",
            zacatek + L"UserTemplates není nastaveno, navržena složka Microsoft\\Templates v datech aplikací"};
}

// 15.0 and 16.0 list only the workgroup folder and the personal templates
// folder; neither is set until someone sets it. The workgroup folder is
// shared by many users and never a target. Without a personal folder,
// Documents\Custom Office Templates is proposed, where the suite itself
// suggests to keep one, and the run may set the value to it.
Navrh OsobniSablony(IRegistr& registr, IShell& shell, IHlaseni& hlaseni, const std::wstring& verze,
                    const std::wstring& jak, ZapisOsobnichSablon& zapis) {
    const std::wstring zacatek = L"Office " + verze + jak + L": ";
    const Nastaveni h = CtiSeZasadou(registr, verze, L"\\Word\\Options", NazevOsobnichSablon);
    if (!h.text.empty())
        return {BezKoncovehoLomitka(h.text), zacatek + L"složka z hodnoty PersonalTemplates " + h.puvod};

    const std::wstring klic = KlicUzivatele + verze + L"\\Word\\Options";
    const std::wstring klicZasad = KlicZasad + verze + L"\\Word\\Options";
    const std::wstring dokumenty = SpecialniSlozkaNeboNic(shell, hlaseni, CsidlDokumenty);
    if (dokumenty.empty())
        return {L"", zacatek + L"PersonalTemplates není nastaveno a složka Documents není k dispozici"};
    Navrh n{dokumenty + L"\\" + VlastniSablonyOffice,
            zacatek + L"PersonalTemplates není nastaveno, navržena složka Documents\\" + VlastniSablonyOffice};
    // A value that is there names no folder (empty, or of another type):
    // it is someone's, and stays as it is.
    if (registr.ExistujeHodnota(HKEY_CURRENT_USER_, klicZasad, NazevOsobnichSablon) ||
        registr.ExistujeHodnota(HKEY_CURRENT_USER_, klic, NazevOsobnichSablon)) {
        n.puvod = zacatek + L"PersonalTemplates neurčuje složku, navržena složka Documents\\" +
                  VlastniSablonyOffice + L"; hodnota se nemění";
        return n;
    }
    zapis = {klic, klicZasad, n.slozka};
    return n;
}

// The newest suite from 10.0 to 16.0 that is installed; nothing when none is.
// There was no 13.0.
std::optional<Navrh> NovaVerze(IRegistr& registr, IShell& shell, IHlaseni& hlaseni, ZapisOsobnichSablon& zapis) {
    struct Verze {
        const wchar_t* cislo;
        bool osobni;   // lists the personal templates folder, not the user templates folder
    };
    for (const Verze v : {Verze{L"16.0", true}, Verze{L"15.0", true}, Verze{L"14.0", false},
                          Verze{L"12.0", false}, Verze{L"11.0", false}, Verze{L"10.0", false}}) {
        const auto jak = Nainstalovana(registr, v.cislo);
        if (!jak) continue;
        return v.osobni ? OsobniSablony(registr, shell, hlaseni, v.cislo, *jak, zapis)
                        : SablonyUzivatele(registr, shell, hlaseni, v.cislo, *jak);
    }
    return std::nullopt;
}

}  // namespace

std::wstring SpecialniSlozkaNeboNic(IShell& shell, IHlaseni& hlaseni, int32_t cislo) {
    try {
        return shell.SpecialniSlozka(cislo);
    } catch (...) {
        ChybaHlaseni(hlaseni, ChybaZVyjimky());
        return {};
    }
}

Nacteni ZjistiInstalaci(const std::wstring& cestaAplikace, ISoubory& soubory, IRegistr& registr, IShell& shell,
                        IHlaseni& hlaseni, const std::wstring& docasnaSlozka) {
    Nacteni n;
    n.SlozkaProgramu = cestaAplikace;
    if (!n.SlozkaProgramu.empty() && n.SlozkaProgramu.back() == L'\\')
        n.SlozkaProgramu.pop_back();

    n.NazevSady = NajdiSadu(soubory, n.SlozkaProgramu, docasnaSlozka);

    n.Uvitani = L"Tento program nainstaluje šablony '" + n.NazevSady +
                L"' na váš počítač.\r\n\r\n"
                L"  Instalaci můžete zahájit klepnutím na tlačítko OK. Pokud si přejete "
                L"změnit umístění šablon, zadejte jinou cílovou složku. Existující složku "
                L"můžete nalistovat tlačítkem Procházet. Pokud si nepřejete pokračovat v "
                L"instalaci, ukončete instalační program klepnutím na tlačítko Storno.";

    std::optional<Navrh> navrh = StaraVerze(registr);
    const bool staraVerze = navrh.has_value();
    if (!navrh) navrh = NovaVerze(registr, shell, hlaseni, n.slozky.OsobniSablony);
    const bool zadnaVerze = !navrh;
    if (zadnaVerze)
        navrh = Navrh{VychoziSlozkaSablon, L"Kancelářský balík nenalezen: navržena výchozí složka " +
                                                std::wstring(VychoziSlozkaSablon)};

    n.slozky.CilSlozka = navrh->slozka + L"\\" + n.NazevSady;
    n.PuvodNavrhu = navrh->puvod;
    // A registry value that names no full folder (a drive root, a relative
    // path, an older suite without its templates key) would give a proposal
    // that OK then refuses: the suite's usual place is proposed instead.
    if (RozeberCestu(n.slozky.CilSlozka).vada != VadaCesty::Zadna) {
        n.slozky.CilSlozka = std::wstring(VychoziSlozkaSablon) + L"\\" + n.NazevSady;
        n.PuvodNavrhu += L"; tato cesta není platná, navržena výchozí složka ";
        n.PuvodNavrhu += VychoziSlozkaSablon;
    }
    n.slozky.ZdrojSlozka = n.SlozkaProgramu + L"\\" + n.NazevSady;

    // The suites from 10.0 on list the target itself: no link.
    if (!staraVerze && !zadnaVerze) return n;
    std::wstring jmeno = registr.CtiRegistr(
        HKEY_CURRENT_USER_, L"SOFTWARE\\Microsoft\\Office\\9.0\\Common\\General", L"Templates");
    // The value names folders inside the user's Microsoft folder. Anything
    // else (a drive, "..", a character no folder may hold) would put the
    // link outside the profile or make every install fail: no link then,
    // as when the value is missing.
    if (jmeno.empty() || !JsouNazvySlozek(jmeno)) return n;
    if (jmeno.back() == L'\\') jmeno.pop_back();
    const std::wstring appData = SpecialniSlozkaNeboNic(shell, hlaseni, CsidlAppData);
    if (appData.empty()) return n;
    n.slozky.SlozkaZastupcu = appData + L"\\Microsoft\\" + jmeno;
    return n;
}

}  // namespace setup
