#include "engine/Instalace.h"

#include <algorithm>
#include <utility>

#include "engine/Adresar.h"
#include "engine/Beh.h"
#include "system/Cesty.h"
#include "system/Text.h"

namespace setup {

namespace {

constexpr int32_t ZobrazitOkno = 5;   // SW_SHOW for the link

// What the platform's copy says when its target is already there.
constexpr int32_t ChybaSouborExistuje = 80;    // ERROR_FILE_EXISTS
constexpr int32_t ChybaUzExistuje = 183;       // ERROR_ALREADY_EXISTS

const wchar_t* const TextPripravy = L"Připravuje se instalace.";

// A path for a message box: one too long to read (a value in the registry
// may be a megabyte) keeps its start and its end.
std::wstring Zkratka(const std::wstring& cesta) {
    if (cesta.size() <= 160) return cesta;
    // Never half of a surrogate pair at either cut.
    const auto vysoka = [](wchar_t z) { return z >= 0xD800 && z <= 0xDBFF; };
    const auto nizka = [](wchar_t z) { return z >= 0xDC00 && z <= 0xDFFF; };
    std::size_t zacatek = 100, konec = cesta.size() - 50;
    if (vysoka(cesta[zacatek - 1])) --zacatek;
    if (nizka(cesta[konec])) --konec;
    return cesta.substr(0, zacatek) + L"…" + cesta.substr(konec);
}

// The target must be a full path from a drive root or a network share, with
// "\" between folders: anything else would be resolved against whatever
// folder happens to be current. Not the root itself, which is no place for
// a set of templates, and no folder name that the file system would refuse
// or store otherwise (a trailing dot, ".."), which would put the templates
// and the link somewhere other than the user asked. Checked before the plan
// touches the machine.
void OverCil(const std::wstring& text, const std::wstring& zdroj) {
    const RozborCesty rozbor = RozeberCestu(text);
    switch (rozbor.vada) {
    case VadaCesty::Zadna:
        return;
    case VadaCesty::Prazdna:
        throw Chyba(CisloVlastniChyby, zdroj,
                    L"Není zadána cílová složka. Zadejte úplnou cestu ke složce, do které "
                    L"se mají šablony nainstalovat, například C:\\Šablony.");
    case VadaCesty::NeniUplna:
        throw Chyba(CisloVlastniChyby, zdroj,
                    L"Cílová složka „" + Zkratka(text) +
                        L"“ není platná cesta. Zadejte úplnou cestu, která začíná písmenem "
                        L"jednotky (například C:\\Šablony) nebo názvem serveru a sdílené "
                        L"složky (například \\\\server\\šablony), a jednotlivé složky oddělte "
                        L"znakem \\.");
    case VadaCesty::Koren:
        throw Chyba(CisloVlastniChyby, zdroj,
                    L"Do kořenové složky jednotky nebo sdílené složky („" + Zkratka(text) +
                        L"“) nelze šablony nainstalovat. Zadejte složku v ní, například "
                        L"C:\\Šablony.");
    case VadaCesty::Nazev:
        throw Chyba(CisloVlastniChyby, zdroj,
                    L"Cílová složka „" + Zkratka(text) + L"“ není platná cesta: " +
                        (rozbor.nazev.empty() ? std::wstring(L"obsahuje dvě zpětná lomítka za sebou.")
                                              : L"název složky „" + Zkratka(rozbor.nazev) +
                                                    L"“ nelze použít.") +
                        L" Název složky nesmí být prázdný ani „.“ či „..“, nesmí končit tečkou "
                        L"ani mezerou, nesmí obsahovat znaky \\ / : * ? \" < > | a nesmí to být "
                        L"název zařízení, například CON nebo NUL.");
    }
}

// A medium served from a case-sensitive share may hold two files whose
// names differ only in case; the target folder holds one of them, so the
// other would be lost without a word. Refused before anything is touched.
void OverJedinecnaJmena(const std::vector<std::wstring>& jmena, const std::wstring& zdroj) {
    std::vector<std::size_t> poradi(jmena.size());
    for (std::size_t i = 0; i < poradi.size(); ++i) poradi[i] = i;
    std::stable_sort(poradi.begin(), poradi.end(),
                     [&](std::size_t a, std::size_t b) { return MensiBezVelikosti(jmena[a], jmena[b]); });
    for (std::size_t i = 1; i < poradi.size(); ++i) {
        const std::wstring& a = jmena[poradi[i - 1]];
        const std::wstring& b = jmena[poradi[i]];
        if (StejnyText(a, b))
            throw Chyba(CisloVlastniChyby, zdroj,
                        L"Sada obsahuje soubory „" + Zkratka(a) + L"“ a „" + Zkratka(b) +
                            L"“, jejichž názvy se liší jen velikostí písmen. V cílové složce by "
                            L"jeden nahradil druhý, proto je nelze nainstalovat.");
    }
}

// Where the shell writes a link: the folder, one "\", the link's name.
std::wstring CestaOdkazu(const Objekt& rec) {
    std::wstring cesta = rec.CilovaSlozka;
    if (cesta.empty() || cesta.back() != L'\\') cesta += L'\\';
    return cesta + rec.Nazev;
}

std::wstring CestaSouboru(const Objekt& rec) { return rec.CilovaSlozka + L"\\" + rec.Nazev; }

// The longest paths the platform's file calls take without the long-path
// prefix: 259 characters for a file, 247 for a folder (room for an 8.3 name
// must remain). A file keeps 16 more for the name of its backup while it is
// replaced. Some systems accept longer paths and some refuse them half way
// through a run; checking the whole plan first gives every system the same
// clear answer before anything is touched.
constexpr std::size_t NejdelsiSoubor = 259 - 16;
constexpr std::size_t NejdelsiSlozka = 247;

void OverDelkyCest(const Plan& plan, const std::wstring& zdroj) {
    for (int32_t i = 1; i <= plan.Pocet(); ++i) {
        const Objekt& rec = plan(i);
        std::wstring cesta;
        std::size_t nejvic = NejdelsiSoubor;
        if (rec.Typ == TypSlozka) {
            cesta = rec.CilovaSlozka;
            nejvic = NejdelsiSlozka;
        } else if (rec.Typ == TypSoubor) {
            cesta = CestaSouboru(rec);
        } else if (rec.Typ == TypZastupce) {
            cesta = CestaOdkazu(rec);
        }
        if (cesta.size() > nejvic)
            throw Chyba(CisloVlastniChyby, zdroj,
                        L"Cesta „" + Zkratka(cesta) + L"“ je příliš dlouhá: má " +
                            TextCisla(static_cast<int64_t>(cesta.size())) + L" znaků a smí jich mít nejvýše " +
                            TextCisla(static_cast<int64_t>(nejvic)) + L". Zvolte kratší cílovou složku.");
    }
}

}  // namespace

void cmdOK_Click(Stroj& stroj, SlozkyInstalace& slozky) {
    BehInstalace(stroj, slozky).Spust();
}

void BehInstalace::Spust() {
    try {
        if (Sestav()) Proved();
    } catch (...) {
        Obsluz(ChybaZVyjimky());
    }
    Konec();
}

void BehInstalace::SpustPlan(Plan plan) {
    plan_ = std::move(plan);
    try {
        s_.okna.NastavStornovano(false);
        Proved();
    } catch (...) {
        Obsluz(ChybaZVyjimky());
    }
    Konec();
}

// The handler: the user reads the error first; what was done so far is
// taken back only after the box is closed.
void BehInstalace::Obsluz(const Chyba& chyba) {
    Nahlas(chyba);
    if (instaluje_) VratZpet();
}

void BehInstalace::Nahlas(const Chyba& chyba) {
    try {
        ChybaHlaseni(s_.hlaseni, chyba);
    } catch (...) {
        // A box that cannot be shown must not stop the rollback behind it.
    }
}

bool BehInstalace::Sestav() {
    IOkna& okna = s_.okna;
    okna.NastavStornovano(false);
    okna.Hlaska(TextPripravy, 1, 3);
    okna.SkryjHlavniOkno();
    plan_ = Plan();
    if (okna.Stornovano()) return false;

    const std::wstring text = okna.TextSlozky();
    OverCil(text, okna.Titulek());
    slozky_.CilSlozka = text;
    if (slozky_.CilSlozka.back() == L'\\') slozky_.CilSlozka.pop_back();

    Objekt sablony;
    sablony.Nazev = L"Šablony";
    sablony.Typ = TypSlozka;
    sablony.CilovaSlozka = slozky_.CilSlozka;
    sablony.Prepsat = PrepsatNikdy;
    plan_.Pridej(std::move(sablony));
    if (!slozky_.SlozkaZastupcu.empty()) {
        Objekt zastupci;
        zastupci.Nazev = L"Zástupci";
        zastupci.Typ = TypSlozka;
        zastupci.CilovaSlozka = slozky_.SlozkaZastupcu;
        zastupci.Prepsat = PrepsatNikdy;
        plan_.Pridej(std::move(zastupci));
    }
    okna.Hlaska(TextPripravy, 2, 3);
    if (okna.Stornovano()) return false;

    auto jmena = VypisJmena(s_.soubory, slozky_.ZdrojSlozka + L"\\*.*", AtributJenProCteni);
    OverJedinecnaJmena(jmena, okna.Titulek());
    plan_.Rezervuj(static_cast<std::size_t>(plan_.Pocet()) + jmena.size() + 1);   // and the link
    for (auto& jmeno : jmena) {
        Objekt soubor;
        soubor.Velikost = s_.soubory.Velikost(slozky_.ZdrojSlozka + L"\\" + jmeno);
        soubor.Nazev = std::move(jmeno);
        soubor.Typ = TypSoubor;
        soubor.ZdrojovaSlozka = slozky_.ZdrojSlozka;
        soubor.CilovaSlozka = slozky_.CilSlozka;
        soubor.Prepsat = PrepsatVzdy;
        plan_.Pridej(std::move(soubor));
    }

    if (!slozky_.SlozkaZastupcu.empty()) {
        okna.Hlaska(TextPripravy, 3, 3);
        if (okna.Stornovano()) return false;
        std::wstring slozka, posledni;
        RozdelCestu(slozky_.CilSlozka, slozka, posledni);
        Objekt odkaz;
        odkaz.Nazev = posledni + L".lnk";
        odkaz.Typ = TypZastupce;
        odkaz.ZdrojovaSlozka = slozky_.CilSlozka;
        odkaz.CilovaSlozka = slozky_.SlozkaZastupcu;
        plan_.Pridej(std::move(odkaz));
    }
    OverDelkyCest(plan_, okna.Titulek());
    return true;
}

void BehInstalace::Proved() {
    IOkna& okna = s_.okna;
    okna.Hlaska(L"Instaluje se.", 0, 1);

    const int32_t pocet = plan_.Pocet();
    aktualni_ = 0;
    stav_.clear();
    planovane_.clear();
    planovanePripraveno_ = false;
    noveSlozky_.clear();
    instaluje_ = true;

    for (int32_t i = 1; i <= pocet; ++i) {
        aktualni_ = i;
        Objekt& rec = plan_(i);
        okna.Hlaska(L"Instaluje se: " + rec.Nazev, i, pocet);
        if (okna.Stornovano()) return VratZpet();
        ProvedZaznam(i, rec);
        if (okna.Stornovano()) return VratZpet();
    }

    okna.Hlaska(L"Instalace dokončena.", 1, 1);
    // A Storno given while the last record ran is seen only now; until the
    // box says the run succeeded, it still takes the run back.
    if (okna.Stornovano()) return VratZpet();
    s_.hlaseni.Zprava(L"Instalace byla úspěšně dokončena.", okna.Titulek(), StylInformace);
    instaluje_ = false;
    uspech_ = true;
    OdstranZalohy();
}

void BehInstalace::ProvedZaznam(int32_t i, Objekt& rec) {
    switch (rec.Typ) {
    case TypSlozka:
        VytvorSlozky(i, rec);
        break;
    case TypSoubor:
        KopirujSoubor(i, rec);
        break;
    case TypHodnota:
        rec.Undo = s_.registr.CtiRegistr(rec.HKey, rec.CilovaSlozka, rec.Nazev).empty();
        s_.registr.ZapisRegistr(rec.HKey, rec.CilovaSlozka, rec.Nazev, &rec.Hodnota, 0);
        break;
    case TypZastupce:
        VytvorOdkaz(i, rec);
        break;
    default:
        break;
    }
}

void BehInstalace::VytvorSlozky(int32_t i, Objekt& rec) {
    const auto atributy = s_.soubory.Atributy(rec.CilovaSlozka);
    if (atributy && (*atributy & AtributSlozka)) return;
    // A file where the folder belongs: creating it is attempted and the
    // platform refuses, so the user learns why, even when no copy into it
    // follows (an empty set, the link's folder).
    if (atributy) return s_.soubory.VytvorSlozku(rec.CilovaSlozka);
    std::wstring cesta;
    for (const auto& cast : CastiCesty(rec.CilovaSlozka)) {
        if (!cesta.empty()) cesta += L'\\';
        cesta += cast;
        if (!Existuje(cesta)) {
            s_.soubory.VytvorSlozku(cesta);
            rec.Undo = true;
            Stav(i).slozky.push_back(cesta);
            noveSlozky_.push_back(VelkaPismena(cesta));
        }
    }
}

void BehInstalace::KopirujSoubor(int32_t i, Objekt& rec) {
    ISoubory& soubory = s_.soubory;
    const std::wstring cil = CestaSouboru(rec);
    const std::wstring zdroj = rec.ZdrojovaSlozka + L"\\" + rec.Nazev;
    if (KopirujDoNove(rec, zdroj, cil)) return;

    const auto atributy = soubory.Atributy(cil);
    const bool jeSoubor = atributy && !(*atributy & AtributSlozka);
    bool kopirovat;
    if (!atributy) {
        kopirovat = true;
        rec.Undo = true;
    } else if (!jeSoubor) {
        // A folder of that name: the copy is attempted and the platform
        // refuses it, so the user learns why.
        kopirovat = true;
    } else if (rec.Prepsat == PrepsatStarsi) {
        kopirovat = soubory.CasZmeny(cil) < soubory.CasZmeny(zdroj);
    } else {
        kopirovat = rec.Prepsat == PrepsatVzdy;
    }
    if (!kopirovat) return;

    if (jeSoubor) {
        // Installing onto the set itself: the file is already where it
        // belongs, and replacing it would destroy the only copy.
        if (soubory.StejnySoubor(zdroj, cil)) return;
        // The file being replaced is kept aside until the run succeeds, so a
        // cancel or an error can put it back. Undo stays false: the name was
        // taken before this run.
        Stav(i).zaloha = Odloz(cil);
    }
    soubory.Kopiruj(zdroj, cil);
    // Files from a CD are read-only; the installed templates must not be.
    ZrusJenProCteni(cil);
}

// Into a folder this run made, a name is missing unless something else put
// it there since: the copy is tried at once, and the copy itself refuses a
// target that exists. Asking first would cost as much as the copy on a
// large folder, where the file system must search the whole folder for a
// name that is not there. When the name did turn up, the usual decision is
// made instead; false then, and for any other folder.
bool BehInstalace::KopirujDoNove(Objekt& rec, const std::wstring& zdroj, const std::wstring& cil) {
    // A handful of folders at most: the levels of the target path.
    if (std::find(noveSlozky_.begin(), noveSlozky_.end(), VelkaPismena(rec.CilovaSlozka)) == noveSlozky_.end())
        return false;
    rec.Undo = true;
    try {
        s_.soubory.Kopiruj(zdroj, cil);
    } catch (const Chyba& chyba) {
        if (chyba.cislo != ChybaSouborExistuje && chyba.cislo != ChybaUzExistuje) throw;
        rec.Undo = false;
        return false;
    }
    ZrusJenProCteni(cil);
    return true;
}

void BehInstalace::VytvorOdkaz(int32_t i, Objekt& rec) {
    const std::wstring odkaz = CestaOdkazu(rec);
    // A link of the same name (from an earlier install) is kept aside like a
    // replaced file; the shell would otherwise overwrite it and a rollback
    // would then delete it.
    if (!rec.CilovaSlozka.empty() && !rec.ZdrojovaSlozka.empty()) {
        const auto atributy = s_.soubory.Atributy(odkaz);
        if (atributy && !(*atributy & AtributSlozka)) Stav(i).zaloha = Odloz(odkaz);
    }
    s_.shell.VytvorZastupce(rec.CilovaSlozka, rec.Nazev, rec.ZdrojovaSlozka, rec.Hodnota,
                            rec.Ikona, L"", ZobrazitOkno);
    rec.Undo = true;
    // The shell reports nothing, so the link is looked for: a run whose
    // link did not appear has not done what it was asked, and a link from
    // before must come back rather than be discarded with the backups.
    const auto atributy = s_.soubory.Atributy(odkaz);
    if (!atributy || (*atributy & AtributSlozka))
        throw Chyba(CisloVlastniChyby, s_.okna.Titulek(),
                    L"Zástupce „" + Zkratka(odkaz) + L"“ se nepodařilo vytvořit.");
}

// Rollback: from the current record back to the first, each record takes
// back what this run made. A step that fails is reported and the rest of the
// rollback goes on, so one stubborn file cannot leave everything else behind.
void BehInstalace::VratZpet() {
    instaluje_ = false;
    try {
        s_.okna.ZakazStorno();
    } catch (...) {
        Nahlas(ChybaZVyjimky());
    }
    const int32_t pocet = plan_.Pocet();
    bool hlasit = true;
    for (int32_t i = aktualni_; i >= 1; --i) {
        Objekt& rec = plan_(i);
        if (hlasit) {
            try {
                s_.okna.Hlaska(L"Ruší se instalace: " + rec.Nazev, i, pocet);
            } catch (...) {
                // Reported once; the rollback itself matters more than its status line.
                Nahlas(ChybaZVyjimky());
                hlasit = false;
            }
        }
        const StavZaznamu* stav = NajdiStav(i);
        if (rec.Undo || (stav && !stav->zaloha.empty())) VratZaznam(i, rec);
        rec.Undo = false;
    }
}

void BehInstalace::VratZaznam(int32_t i, Objekt& rec) {
    StavZaznamu zadny;
    StavZaznamu* nalez = NajdiStav(i);
    StavZaznamu& stav = nalez ? *nalez : zadny;
    std::wstring dovetek;   // names what the failing step was working on
    try {
        switch (rec.Typ) {
        case TypSlozka:
            // Deepest first; a level that cannot go keeps its parents too.
            while (!stav.slozky.empty()) {
                const std::wstring& slozka = stav.slozky.back();
                dovetek = L"Složku „" + slozka + L"“ se nepodařilo odstranit.";
                if (Existuje(slozka)) s_.soubory.OdstranSlozku(slozka);
                stav.slozky.pop_back();
            }
            break;
        case TypSoubor:
        case TypZastupce: {
            const std::wstring cesta =
                rec.Typ == TypSoubor ? CestaSouboru(rec) : CestaOdkazu(rec);
            const std::wstring puvodni =
                stav.zaloha.empty()
                    ? std::wstring()
                    : L" Původní soubor zůstal uložen jako „" + stav.zaloha + L"“.";
            if (rec.Undo || !stav.zaloha.empty()) {
                dovetek = L"Soubor „" + cesta + L"“ se nepodařilo odstranit." + puvodni;
                SmazVytvoreny(cesta);
            }
            if (!stav.zaloha.empty()) {
                dovetek = L"Soubor „" + cesta + L"“ se nepodařilo obnovit." + puvodni;
                s_.soubory.Prejmenuj(stav.zaloha, cesta);
                stav.zaloha.clear();
            }
            break;
        }
        case TypKlic:
            s_.registr.SmazKlic(rec.HKey, rec.CilovaSlozka);
            break;
        default:
            // A written registry value stays: there is no way to remove a
            // single value, and this installer's plan writes none.
            break;
        }
    } catch (...) {
        Chyba chyba = ChybaZVyjimky();
        if (!dovetek.empty()) chyba.popis += L"\r\n\r\n" + dovetek;
        Nahlas(chyba);
    }
}

BehInstalace::StavZaznamu& BehInstalace::Stav(int32_t i) {
    // Records run in order, so a new state goes at the end.
    if (stav_.empty() || stav_.back().first != i) stav_.emplace_back(i, StavZaznamu{});
    return stav_.back().second;
}

BehInstalace::StavZaznamu* BehInstalace::NajdiStav(int32_t i) {
    const auto it = std::lower_bound(stav_.begin(), stav_.end(), i,
                                     [](const auto& prvek, int32_t cislo) { return prvek.first < cislo; });
    return it != stav_.end() && it->first == i ? &it->second : nullptr;
}

// After a successful run the replaced files are no longer needed.
void BehInstalace::OdstranZalohy() {
    for (const auto& [i, stav] : stav_) {
        const std::wstring& zaloha = stav.zaloha;
        if (zaloha.empty()) continue;
        try {
            SmazVytvoreny(zaloha);
        } catch (...) {
            Chyba chyba = ChybaZVyjimky();
            chyba.popis += L"\r\n\r\nZáložní kopii „" + zaloha +
                           L"“ nahrazeného souboru se nepodařilo odstranit.";
            Nahlas(chyba);
        }
    }
}

// The exit path: nothing here may stop the rest, so errors are ignored.
void BehInstalace::Konec() {
    try {
        s_.okna.Hlaska(L"", 0, 0);
    } catch (...) {
    }
    try {
        if (uspech_)
            s_.okna.UvolniHlavniOkno();
        else
            s_.okna.ZobrazHlavniOkno();
    } catch (...) {
    }
    plan_ = Plan();
    stav_.clear();
    planovane_.clear();
    planovanePripraveno_ = false;
    noveSlozky_.clear();
}

// Hidden and system entries exist too; a file where a folder is expected
// counts as existing, so the copy into it fails with the platform's reason.
bool BehInstalace::Existuje(const std::wstring& cesta) {
    return s_.soubory.Atributy(cesta).has_value();
}

void BehInstalace::ZrusJenProCteni(const std::wstring& cesta) {
    const auto atributy = s_.soubory.Atributy(cesta);
    if (atributy && (*atributy & AtributJenProCteni))
        s_.soubory.NastavAtributy(cesta, *atributy & ~AtributJenProCteni);
}

// Deletes a file this run put there, whatever its attributes; a folder of
// that name is not this run's and stays.
void BehInstalace::SmazVytvoreny(const std::wstring& cesta) {
    const auto atributy = s_.soubory.Atributy(cesta);
    if (!atributy || (*atributy & AtributSlozka)) return;
    if (*atributy & AtributJenProCteni)
        s_.soubory.NastavAtributy(cesta, *atributy & ~AtributJenProCteni);
    s_.soubory.SmazSoubor(cesta);
}

// Renames a file aside to a free name beside it and returns that name. The
// name must be free on the disk and must not be one this plan is about to
// write, or a later record would take the backup for its own target.
std::wstring BehInstalace::Odloz(const std::wstring& cesta) {
    // Gathered on the first backup only: a fresh install replaces nothing,
    // and for a large set the names would hold megabytes for nothing.
    if (!planovanePripraveno_) {
        const int32_t pocet = plan_.Pocet();
        planovane_.reserve(static_cast<std::size_t>(pocet));
        for (int32_t i = 1; i <= pocet; ++i) {
            const Objekt& rec = plan_(i);
            if (rec.Typ == TypSoubor) planovane_.push_back(VelkaPismena(CestaSouboru(rec)));
            if (rec.Typ == TypZastupce) planovane_.push_back(VelkaPismena(CestaOdkazu(rec)));
        }
        std::sort(planovane_.begin(), planovane_.end());
        planovanePripraveno_ = true;
    }
    for (uint64_t n = 1;; ++n) {
        std::wstring kandidat = cesta + L".zaloha" + TextCisla(static_cast<int64_t>(n));
        if (std::binary_search(planovane_.begin(), planovane_.end(), VelkaPismena(kandidat))) continue;
        if (Existuje(kandidat)) continue;
        s_.soubory.Prejmenuj(cesta, kandidat);
        return kandidat;
    }
}

}  // namespace setup
