#include "engine/Instalace.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "engine/Adresar.h"
#include "engine/Beh.h"
#include "engine/Denik.h"
#include "system/Cesty.h"
#include "system/Text.h"

namespace setup {

namespace {

constexpr int32_t ZobrazitOkno = 5;   // SW_SHOW for the link

// What the platform's copy says when its target is already there.
constexpr int32_t ChybaSouborExistuje = CisloSouborExistuje;
constexpr int32_t ChybaUzExistuje = CisloUzExistuje;

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
    // In the listing's order among names alike, so the box names the pair as listed.
    std::sort(poradi.begin(), poradi.end(), [&](std::size_t a, std::size_t b) {
        return MensiBezVelikosti(jmena[a], jmena[b]) || (!MensiBezVelikosti(jmena[b], jmena[a]) && a < b);
    });
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

// The first n pieces of a folder path as the folders are made, one level at
// a time.
std::wstring Uroven(const std::wstring& slozka, uint32_t n) {
    std::wstring cesta;
    const auto casti = CastiCesty(slozka);
    for (uint32_t k = 0; k < n && k < casti.size(); ++k) {
        if (!cesta.empty()) cesta += L'\\';
        cesta += casti[k];
    }
    return cesta;
}

// The first n keys of a registry key path.
std::wstring UrovenKlice(const std::wstring& klic, uint32_t n) {
    std::size_t konec = 0;
    for (uint32_t k = 0; k < n; ++k) {
        konec = klic.find(L'\\', konec == 0 ? 0 : konec + 1);
        if (konec == std::wstring::npos) return klic;
    }
    return klic.substr(0, konec);
}

// What a step written down for the record alone does: nothing (one
// function for all of them).
const auto Nic = [] {};

std::wstring Zaloha(const std::wstring& cesta, uint32_t n) {
    return cesta + L".zaloha" + TextCisla(static_cast<int64_t>(n));
}

}  // namespace

Vysledek Instaluj(Stroj& stroj, SlozkyInstalace& slozky, const std::wstring& cil) {
    return BehInstalace(stroj, slozky).Spust(cil);
}

Vysledek Odeber(Stroj& stroj, SlozkyInstalace& slozky, const std::wstring& cil) {
    BehInstalace beh(stroj, slozky);
    return slozky.Seznam ? beh.OdeberPodleSeznamu(*slozky.Seznam) : beh.Odeber(cil);
}

int TichyPrubeh::Zprava(const std::wstring& text, const std::wstring&, uint32_t) {
    if (protokol_) {
        try {
            protokol_->Radek(L"Hlášení: " + text);
        } catch (...) {
            // Nobody to tell.
        }
    }
    return 1;   // IDOK: the only button of the run's boxes
}

Vysledek BehInstalace::Odeber(const std::wstring& cil) {
    odebrani_ = true;
    return Spust(cil);
}

// The set is gone with the medium: the list names its files and its link.
Vysledek BehInstalace::OdeberPodleSeznamu(const ZaznamBehu& seznam) {
    seznam_ = &seznam;
    slozky_.ZdrojSlozka = seznam.sada;
    slozky_.SlozkaZastupcu.clear();
    for (const Krok& k : seznam.kroky)
        if (k.druh == Krok::Odkaz) slozky_.SlozkaZastupcu = seznam.slozkaOdkazu;
    return Odeber(seznam.cil);
}

Vysledek BehInstalace::Spust(const std::wstring& cil) {
    try {
        if (danyPlan_) ZacniZaznam();
        if (danyPlan_ || Sestav(cil)) Proved();
    } catch (...) {
        Obsluz(ChybaZVyjimky());
    }
    Konec();
    return uspech_ ? Vysledek::Hotovo : chyba_ ? Vysledek::Selhalo : Vysledek::Zruseno;
}

// The handler: the user reads the error first; what was done so far is
// taken back only after the box is closed. A copy stopped by Storno is no
// error: the user asked for it.
void BehInstalace::Obsluz(const Chyba& chyba) {
    if (chyba.cislo != CisloZrusenaOperace || !s_.prubeh.Stornovano()) Nahlas(chyba);
    if (instaluje_) VratZpet();
}

void BehInstalace::Nahlas(const Chyba& chyba) {
    chyba_ = true;
    Loguj(L"Chyba " + TextCisla(chyba.cislo) + (chyba.zdroj.empty() ? L"" : L" (" + chyba.zdroj + L")") + L": " +
          chyba.popis);
    try {
        ChybaHlaseni(s_.prubeh, chyba);
    } catch (...) {
        // A box that cannot be shown must not stop the rollback behind it.
    }
}

void BehInstalace::Loguj(const std::wstring& radek) noexcept {
    if (!s_.protokol) return;
    try {
        s_.protokol->Radek(radek);
    } catch (...) {
    }
}

bool BehInstalace::Sestav(const std::wstring& cil) {
    IPrubeh& prubeh = s_.prubeh;
    const wchar_t* const priprava = Text(TextPripravy, L"Připravuje se odebrání.");
    prubeh.Hlaska(priprava, 1, 3);
    plan_ = Plan();
    if (prubeh.Stornovano()) return false;
    Loguj(Text(L"Instalace do: ", L"Odebrání ze: ") + cil);

    OverCil(cil, TitulekHlavnihoOkna);
    slozky_.CilSlozka = cil;
    if (slozky_.CilSlozka.back() == L'\\') slozky_.CilSlozka.pop_back();
    if (odebrani_) OverMimoSadu();

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
    prubeh.Hlaska(priprava, 2, 3);
    if (prubeh.Stornovano()) return false;

    // A removal by a list: its files, each with what the install's copy held.
    std::vector<std::wstring> jmena;
    if (!seznam_) {
        jmena = VypisJmena(s_.soubory, slozky_.ZdrojSlozka + L"\\*.*", AtributJenProCteni);
        OverJedinecnaJmena(jmena, TitulekHlavnihoOkna);
    }
    plan_.Rezervuj(static_cast<std::size_t>(plan_.Pocet()) + jmena.size() + 2);   // the link, the value
    // Every file comes from one folder and goes to one: each held once.
    const SdilenyText zdrojSady = slozky_.ZdrojSlozka;
    const SdilenyText cilSady = slozky_.CilSlozka;
    for (auto& jmeno : jmena) {
        Objekt soubor;
        // What the copy will hold: how a file of the run is told from one
        // the user has changed since.
        const std::wstring zdroj = slozky_.ZdrojSlozka + L"\\" + jmeno;
        const auto p = s_.soubory.Vlastnosti(zdroj);
        if (!p) throw Chyba(CisloVlastniChyby, TitulekHlavnihoOkna, L"Soubor „" + zdroj + L"“ ze sady zmizel.");
        soubor.Velikost = p->velikost;
        soubor.Cas = p->casZmeny;
        soubor.Nazev = std::move(jmeno);
        soubor.Typ = TypSoubor;
        soubor.ZdrojovaSlozka = zdrojSady;
        soubor.CilovaSlozka = cilSady;
        soubor.Prepsat = PrepsatVzdy;
        plan_.Pridej(std::move(soubor));
    }

    if (seznam_)
        for (const Krok& k : seznam_->kroky) {
            if (k.druh != Krok::Soubor) continue;
            Objekt soubor;
            soubor.Nazev = k.cesta.substr(k.cesta.rfind(L'\\') + 1);
            soubor.Typ = TypSoubor;
            soubor.CilovaSlozka = cilSady;
            soubor.Velikost = k.velikost;
            soubor.Cas = k.cas;
            plan_.Pridej(std::move(soubor));
        }
    if (!slozky_.SlozkaZastupcu.empty()) {
        prubeh.Hlaska(priprava, 3, 3);
        if (prubeh.Stornovano()) return false;
        std::wstring slozka, posledni;
        RozdelCestu(slozky_.CilSlozka, slozka, posledni);
        Objekt odkaz;
        odkaz.Nazev = posledni + L".lnk";
        odkaz.Typ = TypZastupce;
        odkaz.ZdrojovaSlozka = slozky_.CilSlozka;
        odkaz.CilovaSlozka = slozky_.SlozkaZastupcu;
        plan_.Pridej(std::move(odkaz));
    }
    if (!odebrani_ && NastavitOsobniSablony()) {
        Objekt hodnota;
        hodnota.Nazev = NazevOsobnichSablon;
        hodnota.Typ = TypHodnota;
        hodnota.HKey = HKEY_CURRENT_USER_;
        hodnota.CilovaSlozka = slozky_.OsobniSablony.Klic;
        hodnota.Hodnota = slozky_.OsobniSablony.Slozka;
        plan_.Pridej(std::move(hodnota));
    }
    viditelne_ = plan_.Pocet();
    PridejAplikaci();
    OverDelkyCest(plan_, TitulekHlavnihoOkna);
    ZacniZaznam();
    return true;
}

void BehInstalace::ZacniZaznam() {
    if (!slozky_.SlozkaZaznamu.empty())
        denik_.Zacni(slozky_.SlozkaZaznamu, slozky_.ZaznamyChranene, odebrani_, slozky_.CilSlozka, slozky_.ZdrojSlozka,
                     slozky_.SlozkaZastupcu);
}

// The word processor lists the personal templates folder and the folders
// in it, so the value is set only for a target that is that folder or lies
// directly in it; for any other, it would name a folder the user did not
// choose. Asked again now: the user or a policy may have set it since the
// window opened, and a value that is there is never changed.
bool BehInstalace::NastavitOsobniSablony() {
    const ZapisOsobnichSablon& z = slozky_.OsobniSablony;
    if (z.Klic.empty() || z.Slozka.empty()) return false;
    const std::wstring& cil = slozky_.CilSlozka;
    if (!StejnyText(cil, z.Slozka) && !StejnyText(NadrazenaSlozka(cil), z.Slozka)) return false;
    return !s_.registr.ExistujeHodnota(HKEY_CURRENT_USER_, z.KlicZasad, NazevOsobnichSablon) &&
           !s_.registr.ExistujeHodnota(HKEY_CURRENT_USER_, z.Klic, NazevOsobnichSablon);
}

void BehInstalace::Proved() {
    IPrubeh& prubeh = s_.prubeh;
    prubeh.Hlaska(Text(L"Instaluje se.", L"Odebírá se."), 0, 1);

    const int32_t pocet = plan_.Pocet();
    aktualni_ = 0;
    kroky_.clear();
    noveSlozky_.clear();
    planovane_.clear();
    planovanePripraveno_ = false;
    instaluje_ = true;

    for (int32_t i = 1; i <= pocet; ++i) {
        aktualni_ = i;
        Objekt& rec = plan_(i);
        if (i <= viditelne_) prubeh.Hlaska(Text(L"Instaluje se: ", L"Odebírá se: ") + rec.Nazev, i, viditelne_);
        if (prubeh.Stornovano()) return VratZpet();
        ProvedZaznam(i, rec);
        if (prubeh.Stornovano()) return VratZpet();
    }

    prubeh.Hlaska(Text(L"Instalace dokončena.", L"Odebrání dokončeno."), 1, 1);
    // A Storno given while the last record ran is seen only now; until the
    // box says the run succeeded, it still takes the run back.
    if (prubeh.Stornovano()) return VratZpet();
    // From here the run stands, even should the program be killed while
    // the box waits: the next start only clears its backups away. The
    // copies that replace originals reach the disk first, then the mark:
    // no backup goes before both are there.
    VynutNahrazene();
    if (denik_.Vede()) {
        denik_.OdvolejStarsi(slozky_.CilSlozka, NapsaneCesty());
        denik_.Hotovo();
    }
    instaluje_ = false;
    uspech_ = true;
    // The mark written, the run stands; until it is on the disk too, the
    // backups stay, and the next start clears them once it reads the mark.
    std::optional<Chyba> nevynuceno;
    if (denik_.Vede()) {
        try {
            denik_.Vynut();
        } catch (...) {
            nevynuceno = ChybaZVyjimky();
            denik_.Ponech();
        }
    }
    std::wstring zprava = L"Instalace byla úspěšně dokončena.";
    if (odebrani_) {
        zprava = odebrano_ > 0 ? L"Šablony byly odebrány ze složky „" + Zkratka(slozky_.CilSlozka) + L"“."
                               : L"Ve složce „" + Zkratka(slozky_.CilSlozka) +
                                     L"“ nejsou žádné šablony této sady, nebylo co odebrat.";
        if (odebrano_ == 0) Loguj(L"Nic k odebrání.");
        if (!zmenene_.empty()) {
            zprava += L"\r\n\r\nTyto soubory jste od instalace změnili, a proto zůstaly na místě:";
            constexpr std::size_t Nejvic = 10;
            for (std::size_t k = 0; k < zmenene_.size() && k < Nejvic; ++k) zprava += L"\r\n– " + zmenene_[k];
            if (zmenene_.size() > Nejvic)
                zprava += L"\r\n– a dalších " + TextCisla(static_cast<int64_t>(zmenene_.size() - Nejvic)) + L".";
        }
    }
    prubeh.Zprava(zprava, TitulekHlavnihoOkna, StylInformace);
    if (nevynuceno) {
        nevynuceno->popis += L"\r\n\r\nZáznam o dokončení se nepodařilo uložit na disk, proto Setup dokončí úklid "
                             L"(odstranění záložních kopií) až při příštím spuštění.";
        return Nahlas(*nevynuceno);
    }
    OdstranZalohy();
    if (odebrani_) OdstranPrazdne();
    // The entry's key, emptied: one that cannot go yet is left to the next
    // start, with the record.
    if (odebrani_ && !hodnoty_.empty() && !s_.registr.SmazPrazdnyKlic(HKEY_CURRENT_USER_, hodnoty_[0].cesta))
        denik_.Ponech();
}

void BehInstalace::ProvedZaznam(int32_t i, Objekt& rec) {
    if (rec.Typ >= TypKopie && rec.Typ <= TypAplikace) return ProvedAplikaci(i, rec);
    if (odebrani_) {
        switch (rec.Typ) {
        case TypSlozka:
            // The target, once the run stands, if nothing else is left in
            // it, and the kept copy's folder; the user's templates folder
            // is the user's.
            if (i == 1 || i > viditelne_) Udelej({Krok::OdstranitSlozku, i, 0}, Nic);
            break;
        case TypSoubor:
        case TypZastupce:
            OdeberZaznam(i, rec);
            break;
        default:
            break;
        }
        return;
    }
    switch (rec.Typ) {
    case TypSlozka:
        VytvorSlozky(i, rec);
        break;
    case TypSoubor:
        KopirujSoubor(i, rec);
        break;
    case TypKlic:
        // The builder asks for the key to go when the run is taken back.
        if (rec.Undo) Udelej({Krok::SmazatKlic, i, 0}, Nic);
        break;
    case TypHodnota:
        ZapisHodnotu(i, rec);
        break;
    case TypZastupce:
        VytvorOdkaz(i, rec);
        break;
    default:
        break;
    }
}

template <typename F>
void BehInstalace::Udelej(KrokBehu krok, F&& akce) {
    if (denik_.Vede()) {
        denik_.Zapis(Uplny(krok));
        // A file set aside must be named on the disk before it leaves its
        // name: a power cut must never leave the user's original neither
        // under its name nor in a record.
        if (krok.druh == Krok::Odlozeni) denik_.Vynut();
    }
    kroky_.push_back(krok);
    try {
        akce();
    } catch (const Chyba& chyba) {
        // Refused before it changed anything (a name already taken, a
        // rename or a folder the platform would not make): not the run's.
        const bool nicNezmenil = krok.druh == Krok::Slozka || krok.druh == Krok::Odlozeni ||
                                 chyba.cislo == ChybaSouborExistuje || chyba.cislo == ChybaUzExistuje;
        if (nicNezmenil) {
            kroky_.pop_back();
            try {
                if (denik_.Vede()) denik_.Zrus();
            } catch (...) {
                // Taking back a step that did nothing changes nothing either.
            }
        }
        throw;
    }
}

Krok BehInstalace::Uplny(const KrokBehu& krok) const {
    const Objekt& rec = plan_(krok.zaznam);
    Krok k;
    k.druh = krok.druh;
    switch (krok.druh) {
    case Krok::Slozka:
        k.cesta = Uroven(rec.CilovaSlozka, krok.cislo);
        break;
    case Krok::Soubor:
        k.cesta = CestaSouboru(rec);
        k.velikost = rec.Velikost;
        k.cas = rec.Cas;
        break;
    case Krok::Odkaz:
        k.cesta = CestaOdkazu(rec);
        k.druha = rec.ZdrojovaSlozka;
        break;
    case Krok::Odlozeni:
        k.cesta = rec.Typ == TypZastupce ? CestaOdkazu(rec) : CestaSouboru(rec);
        k.druha = Zaloha(k.cesta, krok.cislo);
        break;
    case Krok::Zapsany:
        k.cesta = CestaSouboru(rec);
        k.velikost = rec.Velikost;
        break;
    case Krok::Hodnota:
        if (rec.Typ == TypAplikace) return hodnoty_[krok.cislo];
        k.koren = rec.HKey;
        k.cesta = rec.CilovaSlozka;
        k.druha = rec.Nazev;
        k.text = rec.Hodnota;
        break;
    case Krok::Klic:
        k.koren = rec.HKey;
        k.cesta = UrovenKlice(rec.CilovaSlozka, krok.cislo);
        break;
    case Krok::SmazatKlic:
        k.koren = rec.HKey;
        k.cesta = rec.CilovaSlozka;
        break;
    case Krok::OdstranitSlozku:
        k.cesta = rec.CilovaSlozka;
        break;
    }
    return k;
}

void BehInstalace::VytvorSlozky(int32_t i, const Objekt& rec) {
    const auto atributy = s_.soubory.Atributy(rec.CilovaSlozka);
    if (atributy && (*atributy & AtributSlozka)) return;
    // A file where the folder belongs: creating it is attempted and the
    // platform refuses, so the user learns why, even when no copy into it
    // follows (an empty set, the link's folder).
    if (atributy) return s_.soubory.VytvorSlozku(rec.CilovaSlozka);
    std::wstring cesta;
    uint32_t uroven = 0;
    for (const auto& cast : CastiCesty(rec.CilovaSlozka)) {
        if (!cesta.empty()) cesta += L'\\';
        cesta += cast;
        ++uroven;
        if (!Existuje(cesta)) {
            Udelej({Krok::Slozka, i, uroven}, [&] { s_.soubory.VytvorSlozku(cesta); });
            noveSlozky_.push_back(VelkaPismena(cesta));
            Loguj(L"Složka vytvořena: " + cesta);
        }
    }
}

void BehInstalace::KopirujSoubor(int32_t i, const Objekt& rec) {
    ISoubory& soubory = s_.soubory;
    const std::wstring cil = CestaSouboru(rec);
    const std::wstring zdroj = rec.ZdrojovaSlozka + L"\\" + rec.Nazev;
    if (KopirujDoNove(i, rec, zdroj, cil)) return;

    const auto atributy = soubory.Atributy(cil);
    const bool jeSoubor = atributy && !(*atributy & AtributSlozka);
    bool kopirovat;
    if (!atributy) {
        kopirovat = true;
    } else if (!jeSoubor) {
        // A folder of that name: the copy is attempted and the platform
        // refuses it, so the user learns why.
        kopirovat = true;
    } else if (rec.Prepsat == PrepsatStarsi) {
        kopirovat = soubory.CasZmeny(cil) < soubory.CasZmeny(zdroj);
    } else {
        kopirovat = rec.Prepsat == PrepsatVzdy;
    }
    if (!kopirovat) return Loguj(L"Soubor ponechán: " + cil);

    if (jeSoubor) {
        // Installing onto the set itself: the file is already where it
        // belongs, and replacing it would destroy the only copy.
        if (soubory.StejnySoubor(zdroj, cil)) return Loguj(L"Soubor je sám sebou, ponechán: " + cil);
        // The file being replaced is kept aside until the run succeeds, so a
        // cancel or an error can put it back.
        Odloz(i, cil);
    }
    Kopiruj(i, zdroj, cil);
    Loguj((jeSoubor ? L"Soubor nahrazen: " : L"Soubor zkopírován: ") + cil);
}

void BehInstalace::Kopiruj(int32_t i, const std::wstring& zdroj, const std::wstring& cil) {
    Udelej({Krok::Soubor, i, 0}, [&] { s_.soubory.Kopiruj(zdroj, cil, &s_.prubeh.Stornovano()); });
    // Files from a CD are read-only; the installed templates must not be.
    ZrusJenProCteni(cil);
}

// Into a folder this run made, a name is missing unless something else put
// it there since: the copy is tried at once, and the copy itself refuses a
// target that exists. Asking first would cost as much as the copy on a
// large folder, where the file system must search the whole folder for a
// name that is not there. When the name did turn up, the usual decision is
// made instead; false then, and for any other folder.
bool BehInstalace::KopirujDoNove(int32_t i, const Objekt& rec, const std::wstring& zdroj,
                                 const std::wstring& cil) {
    // A handful of folders at most: the levels of the target path.
    if (std::find(noveSlozky_.begin(), noveSlozky_.end(), VelkaPismena(rec.CilovaSlozka.text())) == noveSlozky_.end())
        return false;
    try {
        Kopiruj(i, zdroj, cil);
    } catch (const Chyba& chyba) {
        if (chyba.cislo != ChybaSouborExistuje && chyba.cislo != ChybaUzExistuje) throw;
        return false;
    }
    Loguj(L"Soubor zkopírován: " + cil);
    return true;
}

void BehInstalace::VytvorOdkaz(int32_t i, const Objekt& rec) {
    const std::wstring odkaz = CestaOdkazu(rec);
    // A link of the same name (from an earlier install) is kept aside like a
    // replaced file; the shell would otherwise overwrite it and a rollback
    // would then delete it.
    if (JeSoubor(odkaz)) Odloz(i, odkaz);
    Udelej({Krok::Odkaz, i, 0}, [&] {
        s_.shell.VytvorZastupce(rec.CilovaSlozka, rec.Nazev, rec.ZdrojovaSlozka, rec.Hodnota, rec.Ikona,
                                L"", ZobrazitOkno);
    });
    // The shell reports nothing, so the link is looked for: a run whose
    // link did not appear has not done what it was asked, and a link from
    // before must come back rather than be discarded with the backups.
    if (!JeSoubor(odkaz))
        throw Chyba(CisloVlastniChyby, TitulekHlavnihoOkna,
                    L"Zástupce „" + Zkratka(odkaz) + L"“ se nepodařilo vytvořit.");
    Loguj(L"Zástupce vytvořen: " + odkaz);
}

// A file of the set goes only when it holds what the medium holds, the
// link only when it still points to the target it was made for: a file the
// user has changed since the install, or a link turned elsewhere, is the
// user's now.
void BehInstalace::OdeberZaznam(int32_t i, const Objekt& rec) {
    const bool odkaz = rec.Typ == TypZastupce;
    const std::wstring cesta = odkaz ? CestaOdkazu(rec) : CestaSouboru(rec);
    if (!JeSoubor(cesta)) return;
    if (odkaz && !s_.shell.OdkazVedeDo(cesta, rec.ZdrojovaSlozka))
        return Loguj(L"Zástupce ponechán, ukazuje jinam: " + cesta);
    const auto p = seznam_ ? s_.soubory.Vlastnosti(cesta) : std::nullopt;
    if (!odkaz && (seznam_ ? !JeKopieBehu(*p, Uplny({Krok::Soubor, i, 0}))
                           : !s_.soubory.StejnyObsah(rec.ZdrojovaSlozka + L"\\" + rec.Nazev, cesta))) {
        zmenene_.push_back(rec.Nazev);
        return Loguj(L"Soubor ponechán, od instalace změněn: " + cesta);
    }
    Odloz(i, cesta);
    ++odebrano_;
}

// After a removal stood: the target folder, when nothing is left in it.
void BehInstalace::OdstranPrazdne() {
    for (const KrokBehu& krok : kroky_) {
        if (krok.druh != Krok::OdstranitSlozku) continue;
        const std::wstring slozka = Uplny(krok).cesta;
        try {
            Loguj((OdstranPrazdnouSlozku(s_.soubory, slozka) ? L"Složka odstraněna: " : L"Složka ponechána: ") +
                  slozka);
        } catch (...) {
            // The next start tries again, from the record.
            denik_.Ponech();
            Chyba chyba = ChybaZVyjimky();
            chyba.popis += L"\r\n\r\nSložku „" + slozka + L"“ se nepodařilo odstranit.";
            Nahlas(chyba);
        }
    }
}

// A registry value is written, with every key its write makes, only when
// none is there.
void BehInstalace::ZapisHodnotu(int32_t i, const Objekt& rec) {
    IRegistr& registr = s_.registr;
    // Asked again at the moment of writing: the suite or a policy refresh
    // may have set it since the plan was made, and a value that is there
    // is never changed.
    if (registr.ExistujeHodnota(rec.HKey, rec.CilovaSlozka, rec.Nazev))
        return Loguj(L"Hodnota " + rec.Nazev + L" mezitím nastavena, ponechána: " + rec.CilovaSlozka.text());
    ZapisKlice(i, rec);
    Udelej({Krok::Hodnota, i, 0}, Nic);
    // A value the run was to set and did not is a run that has not done
    // what it was asked: the suite would not list the templates.
    if (!registr.ZapisRegistr(rec.HKey, rec.CilovaSlozka, rec.Nazev, &rec.Hodnota.text(), 0))
        throw Chyba(CisloVlastniChyby, TitulekHlavnihoOkna,
                    L"Hodnotu „" + rec.Nazev + L"“ v klíči registru „" + Zkratka(rec.CilovaSlozka.text()) +
                        L"“ se nepodařilo zapsat.");
}

// The keys a value's write is to make: each one missing, from the first.
void BehInstalace::ZapisKlice(int32_t i, const Objekt& rec) {
    uint32_t klicu = 1;
    for (const wchar_t z : rec.CilovaSlozka) klicu += z == L'\\';
    bool chybi = false;
    for (uint32_t n = 1; n <= klicu; ++n) {
        chybi = chybi || !s_.registr.ExistujeKlic(rec.HKey, UrovenKlice(rec.CilovaSlozka, n));
        if (chybi) Udelej({Krok::Klic, i, n}, Nic);
    }
}

// The folder the set's entry starts Setup from: beside the records, named
// after the set. Empty where the records are kept in memory only.
std::wstring BehInstalace::SlozkaKopie() const {
    std::wstring slozka, nazev;
    RozdelCestu(slozky_.ZdrojSlozka, slozka, nazev);
    if (slozky_.SlozkaZaznamu.empty() || !PlatnyNazevSlozky(nazev)) return {};
    return slozky_.SlozkaZaznamu + L"\\" + nazev;
}

// After the set's records: the copy of Setup, the list and the entry. An
// install makes or updates them; a removal takes them away, from the
// medium only when the entry names this very target.
void BehInstalace::PridejAplikaci() {
    const std::wstring kopie = SlozkaKopie();
    if (kopie.empty() || (!odebrani_ && slozky_.Aplikace.Program.empty())) return;
    std::wstring slozka, nazev;
    RozdelCestu(slozky_.ZdrojSlozka, slozka, nazev);
    const std::wstring klic = KlicAplikace(nazev);
    if (odebrani_ && !seznam_ &&
        !StejnyText(s_.registr.CtiRegistr(HKEY_CURRENT_USER_, klic, L"InstallLocation"), slozky_.CilSlozka))
        return;
    Objekt o;
    o.Typ = TypSlozka;
    o.Nazev = nazev;
    o.CilovaSlozka = kopie;
    plan_.Pridej(o);
    o.Typ = TypKopie;
    o.Nazev = NazevKopie;
    o.ZdrojovaSlozka = slozky_.Aplikace.Program;
    // The running program is there: what its copy will hold.
    if (const auto p = odebrani_ ? std::nullopt : s_.soubory.Vlastnosti(slozky_.Aplikace.Program)) {
        o.Velikost = p->velikost;
        o.Cas = p->casZmeny;
    }
    plan_.Pridej(o);
    o.Typ = TypSeznam;
    o.Nazev = NazevSeznamu;
    plan_.Pridej(o);
    o.Typ = TypAplikace;
    o.Nazev = nazev;
    o.CilovaSlozka = klic;
    o.HKey = HKEY_CURRENT_USER_;
    plan_.Pridej(std::move(o));
}

void BehInstalace::ProvedAplikaci(int32_t i, Objekt& rec) {
    IRegistr& registr = s_.registr;
    const std::wstring cesta = CestaSouboru(rec);
    if (rec.Typ != TypAplikace) {
        // A removal by the list is the kept copy's, which waits for its
        // result: the copy that hands the removal over deletes it once it
        // has ended with that result.
        if (seznam_ && rec.Typ == TypKopie) return;
        // The copy and the list: an older one set aside, as a replaced file is.
        if (JeSoubor(cesta)) Odloz(i, cesta);
        if (odebrani_) return;
        if (rec.Typ == TypKopie) return Kopiruj(i, rec.ZdrojovaSlozka, cesta);
        std::wstring text = HlavickaZaznamu(false, slozky_.CilSlozka, slozky_.ZdrojSlozka, slozky_.SlozkaZastupcu) + L"\n";
        for (int32_t k = 1; k <= viditelne_; ++k) {
            const int32_t typ = plan_(k).Typ;
            if (typ == TypSoubor || typ == TypZastupce)
                text += RadekKroku(Uplny({typ == TypSoubor ? Krok::Soubor : Krok::Odkaz, k, 0})) + L"\n";
        }
        const std::string bajty = Utf8(text);
        rec.Velikost = static_cast<int64_t>(bajty.size());
        Udelej({Krok::Zapsany, i, 0}, Nic);
        return s_.soubory.OtevriKPripisu(cesta, Otevreni::Novy)->Pripis(bajty);
    }
    // The entry: a removal deletes its values, an install writes each one
    // that does not already say the same; either way the step keeps what
    // was there, for a rollback to put back.
    const std::wstring kopie = SlozkaKopie() + L"\\" + NazevKopie;
    int64_t bajtu = plan_(i - 2).Velikost;
    for (int32_t k = 1; k <= viditelne_; ++k)
        if (plan_(k).Typ == TypSoubor) bajtu += plan_(k).Velikost;
    const auto& a = slozky_.Aplikace;
    const auto kb = static_cast<int32_t>((bajtu + 1023) / 1024);
    const std::wstring odinstalace = L"\"" + kopie + L"\" /U", tiche = odinstalace + L" /S", velikost = TextCisla(kb),
                       jedna = L"1";
    const std::wstring* const texty[] = {&rec.Nazev, &a.Vydavatel, &a.Verze, &slozky_.CilSlozka, &a.Datum, &kopie,
                                         &odinstalace, &tiche, &velikost, &jedna, &jedna};
    if (!odebrani_) ZapisKlice(i, rec);
    for (std::size_t n = 0; n < std::size(HodnotyAplikace); ++n) {
        Krok k;
        k.druh = Krok::Hodnota;
        k.koren = rec.HKey;
        k.cesta = rec.CilovaSlozka;
        k.druha = HodnotyAplikace[n];
        k.obnovit = registr.ExistujeHodnota(k.koren, k.cesta, k.druha);
        if (k.obnovit) k.text = registr.CtiRegistr(k.koren, k.cesta, k.druha);
        if (odebrani_ ? !k.obnovit : texty[n]->empty() || (k.obnovit && k.text == *texty[n])) continue;
        // A value made where none was goes again while it says what was written.
        if (!k.obnovit) k.text = *texty[n];
        const bool cislo = n >= std::size(HodnotyAplikace) - CiselnychHodnot;
        hodnoty_.push_back(std::move(k));
        Udelej({Krok::Hodnota, i, static_cast<uint32_t>(hodnoty_.size() - 1)}, Nic);
        const Krok& h = hodnoty_.back();
        if (!(odebrani_ ? registr.SmazHodnotu(h.koren, h.cesta, h.druha)
                        : registr.ZapisRegistr(h.koren, h.cesta, h.druha, cislo ? nullptr : texty[n],
                                               n == std::size(HodnotyAplikace) - CiselnychHodnot ? kb : 1)))
            throw ChybaHodnoty(h, Text(L"zapsat", L"odstranit"));
    }
}

// Rollback: from the current record back to the first, each record takes
// back what this run did for it, its steps in reverse. A step that fails is
// reported with what it leaves, and the rollback goes on, so one stubborn
// file cannot leave everything else behind.
void BehInstalace::VratZpet() {
    instaluje_ = false;
    try {
        s_.prubeh.NelzeZrusit();
    } catch (...) {
        Nahlas(ChybaZVyjimky());
    }
    const int32_t pocet = viditelne_;
    bool hlasit = true;
    std::size_t konec = kroky_.size();
    SledovaniRollbacku sledovani(*this);
    for (int32_t i = aktualni_; i >= 1; --i) {
        if (hlasit && i <= pocet) {
            try {
                s_.prubeh.Hlaska(Text(L"Ruší se instalace: ", L"Ruší se odebrání: ") + plan_(i).Nazev, i, pocet);
            } catch (...) {
                // Reported once; the rollback itself matters more than its status line.
                Nahlas(ChybaZVyjimky());
                hlasit = false;
            }
        }
        std::size_t zacatek = konec;
        while (zacatek > 0 && kroky_[zacatek - 1].zaznam == i) --zacatek;
        std::vector<Krok> kroky;
        for (std::size_t k = zacatek; k < konec; ++k) kroky.push_back(Uplny(kroky_[k]));
        VratKroky(s_.soubory, s_.registr, s_.shell, kroky, sledovani);
        konec = zacatek;
    }
    kroky_.clear();
    if (!sledovani.ponechano.empty()) {
        std::wstring text = Text(L"Po zrušení instalace zůstalo na místě:", L"Po zrušení odebrání zůstalo na místě:");
        for (const auto& radek : sledovani.ponechano) text += L"\r\n– " + radek;
        Nahlas(Chyba(CisloVlastniChyby, TitulekHlavnihoOkna, text));
    }
}

void BehInstalace::SledovaniRollbacku::Vraceno(const Krok& krok, const Navrat& n) {
    switch (n.druh) {
    case Navrat::Nic:
        return;
    case Navrat::Vraceno:
        return beh_.Loguj((krok.druh == Krok::Odlozeni ? L"Obnoven: " : L"Odstraněn: ") + krok.cesta);
    case Navrat::Ponechano:
        beh_.Loguj(L"Ponecháno: " + krok.cesta);
        ponechano.push_back(krok.druh == Krok::Slozka ? L"složka „" + krok.cesta + L"“, ve které jsou jiné soubory"
                            : krok.druh == Krok::Hodnota
                                ? L"hodnota „" + krok.druha + L"“ v klíči registru „" + krok.cesta + L"“, která byla mezitím změněna"
                                : L"soubor „" + krok.cesta + L"“, který byl mezitím změněn");
        return;
    case Navrat::Vedle:
        beh_.Loguj(L"Obnoven vedle: " + n.vedle);
        ponechano.push_back(L"soubor „" + krok.cesta + L"“, který byl mezitím změněn; původní soubor je nyní „" +
                            n.vedle + L"“");
        return;
    }
}

void BehInstalace::SledovaniRollbacku::Selhalo(const Krok&, const Chyba& chyba, const std::wstring& dovetek) {
    Chyba c = chyba;
    if (!dovetek.empty()) c.popis += L"\r\n\r\n" + dovetek;
    beh_.Nahlas(c);
}

void BehInstalace::VynutNahrazene() {
    for (std::size_t k = 0; k + 1 < kroky_.size(); ++k) {
        const KrokBehu& dalsi = kroky_[k + 1];
        if (kroky_[k].druh == Krok::Odlozeni && dalsi.zaznam == kroky_[k].zaznam &&
            (dalsi.druh == Krok::Soubor || dalsi.druh == Krok::Odkaz || dalsi.druh == Krok::Zapsany))
            s_.soubory.Vynut(Uplny(dalsi).cesta);
    }
}

std::vector<std::wstring> BehInstalace::NapsaneCesty() const {
    std::vector<std::wstring> cesty;
    for (const KrokBehu& krok : kroky_)
        if (krok.druh == Krok::Slozka || krok.druh == Krok::Soubor || krok.druh == Krok::Odkaz ||
            krok.druh == Krok::Odlozeni || krok.druh == Krok::Zapsany)
            cesty.push_back(Uplny(krok).cesta);
    return cesty;
}

// A removal pointed at the medium's own set would delete the very files it
// compares with: the set itself, a folder in it, or one that holds it, in
// any spelling (a mapped drive, a short name).
void BehInstalace::OverMimoSadu() {
    const std::wstring& cil = slozky_.CilSlozka;
    const std::wstring& sada = slozky_.ZdrojSlozka;
    const auto nad = [](const std::wstring& a, const std::wstring& b) {
        return StejnyText(a, b) || (a.size() > b.size() && a[b.size()] == L'\\' && StejnyText(a.substr(0, b.size()), b));
    };
    bool stejna = nad(cil, sada) || nad(sada, cil);
    for (std::wstring c = cil; !stejna && c.find(L'\\') != std::wstring::npos; c = NadrazenaSlozka(c))
        stejna = s_.soubory.StejnySoubor(c, sada);
    for (std::wstring z = sada; !stejna && z.find(L'\\') != std::wstring::npos; z = NadrazenaSlozka(z))
        stejna = s_.soubory.StejnySoubor(z, cil);
    if (stejna)
        throw Chyba(CisloVlastniChyby, TitulekHlavnihoOkna,
                    L"Ze složky „" + Zkratka(cil) + L"“ nelze šablony odebrat: je to sada „" + Zkratka(sada) +
                        L"“ na instalačním médiu, leží v ní nebo ji obsahuje. Zadejte složku, do které byly "
                        L"šablony nainstalovány.");
}

// After a successful run the replaced files are no longer needed.
void BehInstalace::OdstranZalohy() {
    for (const KrokBehu& krok : kroky_) {
        if (krok.druh != Krok::Odlozeni) continue;
        const Krok uplny = Uplny(krok);
        const std::wstring& zaloha = uplny.druha;
        try {
            SmazVytvoreny(s_.soubory, zaloha);
            if (odebrani_) Loguj(L"Soubor odstraněn: " + uplny.cesta);
        } catch (...) {
            Chyba chyba = ChybaZVyjimky();
            chyba.popis += L"\r\n\r\nZáložní kopii „" + zaloha + L"“ nahrazeného souboru se nepodařilo odstranit.";
            Nahlas(chyba);
        }
    }
}

// The exit path: nothing here may stop the rest, so errors are ignored.
void BehInstalace::Konec() {
    try {
        s_.prubeh.Skonci();
    } catch (...) {
    }
    denik_.Ukonci();
    plan_ = Plan();
    kroky_.clear();
    noveSlozky_.clear();
    planovane_.clear();
    planovanePripraveno_ = false;
    hodnoty_.clear();
}

// Hidden and system entries exist too; a file where a folder is expected
// counts as existing, so the copy into it fails with the platform's reason.
bool BehInstalace::Existuje(const std::wstring& cesta) {
    return s_.soubory.Atributy(cesta).has_value();
}

bool BehInstalace::JeSoubor(const std::wstring& cesta) {
    const auto atributy = s_.soubory.Atributy(cesta);
    return atributy && !(*atributy & AtributSlozka);
}

void BehInstalace::ZrusJenProCteni(const std::wstring& cesta) {
    const auto atributy = s_.soubory.Atributy(cesta);
    if (atributy && (*atributy & AtributJenProCteni))
        s_.soubory.NastavAtributy(cesta, *atributy & ~AtributJenProCteni);
}

// Renames a file aside to a free name beside it. The name must be free on
// the disk and must not be one this plan is about to write, or a later
// record would take the backup for its own target.
std::wstring BehInstalace::Odloz(int32_t i, const std::wstring& cesta) {
    // Gathered on the first backup only: a fresh install replaces nothing,
    // and for a large set the names would hold megabytes for nothing.
    if (!planovanePripraveno_) {
        const int32_t pocet = plan_.Pocet();
        planovane_.reserve(static_cast<std::size_t>(pocet));
        for (int32_t k = 1; k <= pocet; ++k) {
            const Objekt& rec = plan_(k);
            if (rec.Typ == TypSoubor) planovane_.push_back(VelkaPismena(CestaSouboru(rec)));
            if (rec.Typ == TypZastupce) planovane_.push_back(VelkaPismena(CestaOdkazu(rec)));
        }
        std::sort(planovane_.begin(), planovane_.end());
        planovanePripraveno_ = true;
    }
    for (uint32_t n = 1;; ++n) {
        std::wstring kandidat = Zaloha(cesta, n);
        if (std::binary_search(planovane_.begin(), planovane_.end(), VelkaPismena(kandidat))) continue;
        if (Existuje(kandidat)) continue;
        Udelej({Krok::Odlozeni, i, n}, [&] { s_.soubory.Prejmenuj(cesta, kandidat); });
        Loguj(L"Odloženo: " + cesta + L" -> " + kandidat);
        return kandidat;
    }
}

}  // namespace setup
