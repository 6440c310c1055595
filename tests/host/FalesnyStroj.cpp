#include "FalesnyStroj.h"

#include <algorithm>
#include <iterator>

#include "system/Text.h"

namespace setup::test {

std::wstring PopisChyby(int32_t cislo) {
    switch (cislo) {
    case ChybaSouborNenalezen: return L"Systém nemůže nalézt uvedený soubor.";
    case ChybaCestaNenalezena: return L"Systém nemůže nalézt uvedenou cestu.";
    case ChybaPristupOdepren: return L"Přístup byl odepřen.";
    case ChybaJinaJednotka: return L"Systém nemůže přesunout soubor na jinou diskovou jednotku.";
    case ChybaNeniPripraveno: return L"Zařízení není připraveno.";
    case ChybaSdileni: return L"Proces nemá přístup k souboru, protože jej právě používá jiný proces.";
    case ChybaSouborExistuje: return L"Soubor existuje.";
    case ChybaDiskPlny: return L"Na disku není dostatek místa.";
    case ChybaSpatnyNazev: return L"Syntaxe názvu souboru, adresáře nebo jmenovky svazku je nesprávná.";
    case ChybaSlozkaNeniPrazdna: return L"Adresář není prázdný.";
    case ChybaUzExistuje: return L"Nelze vytvořit soubor, který již existuje.";
    case ChybaNeniSlozka: return L"Neplatný název adresáře.";
    case CisloZrusenaOperace: return L"Požadavek byl přerušen.";
    default: return L"Neznámá chyba.";
    }
}

namespace {

[[noreturn]] void Vyvolej(int32_t cislo, const wchar_t* operace, const std::wstring& cesta) {
    throw Chyba(cislo, std::wstring(operace) + L" " + cesta, PopisChyby(cislo));
}

bool PlatneJmeno(const std::wstring& jmeno) {
    if (jmeno.empty()) return false;
    for (wchar_t z : jmeno)
        if (z < 32 || std::wstring_view(L"<>:\"/|?*").find(z) != std::wstring_view::npos)
            return false;
    return true;
}

// The platform's wildcard match: "*" any run of characters, "?" any one;
// "*.*" matches every name, with or without a dot.
bool Odpovida(const std::wstring& vzor, const std::wstring& jmeno) {
    if (vzor == L"*.*" || vzor == L"*") return true;
    const std::wstring v = VelkaPismena(vzor), j = VelkaPismena(jmeno);
    std::size_t vi = 0, ji = 0, hvezda = std::wstring::npos, zpet = 0;
    while (ji < j.size()) {
        if (vi < v.size() && (v[vi] == L'?' || v[vi] == j[ji])) {
            ++vi;
            ++ji;
        } else if (vi < v.size() && v[vi] == L'*') {
            hvezda = vi++;
            zpet = ji;
        } else if (hvezda != std::wstring::npos) {
            vi = hvezda + 1;
            ji = ++zpet;
        } else {
            return false;
        }
    }
    while (vi < v.size() && v[vi] == L'*') ++vi;
    return vi == v.size();
}

}  // namespace

// ---------------------------------------------------------------- Zasahy

void Zasahy::SelhatNaCeste(std::wstring cesta, std::wstring operace, int kolikaty) {
    pravidla_.push_back({std::move(operace), VelkaPismena(cesta), kolikaty, false});
}

void Zasahy::StornovatNaCeste(std::wstring cesta, std::wstring operace, int kolikaty) {
    pravidla_.push_back({std::move(operace), VelkaPismena(cesta), kolikaty, true});
}

bool Zasahy::MaSelhat(const wchar_t* operace,
                      std::initializer_list<const std::wstring*> cesty) {
    ++volani;
    if (zaznamenavat) {
        std::wstring radek = std::to_wstring(volani) + L" " + operace;
        for (const auto* c : cesty) radek += L" " + *c;
        zaznam.push_back(std::move(radek));
    }
    if (volani == stornovatPriVolani && stornovano) *stornovano = true;
    if (const auto a = akce.find(volani); a != akce.end()) a->second();
    bool selhat = selhatVolani.count(volani) != 0;
    for (auto& p : pravidla_) {
        if (!p.operace.empty() && p.operace != operace) continue;
        bool shoda = false;
        for (const auto* c : cesty) shoda = shoda || VelkaPismena(*c) == p.cesta;
        if (!shoda || (p.kolikaty != 0 && ++p.pocet != p.kolikaty)) continue;
        if (!p.storno)
            selhat = true;
        else if (stornovano)
            *stornovano = true;
    }
    if (selhat) ++selhani;
    return selhat;
}

void Zasahy::Volani(const wchar_t* operace, std::initializer_list<const std::wstring*> cesty) {
    if (!MaSelhat(operace, cesty)) return;
    const std::wstring op = operace;
    const int32_t cislo = op == L"Kopiruj" ? ChybaDiskPlny
                          : op == L"Vypis" ? ChybaNeniPripraveno
                                           : ChybaPristupOdepren;
    Vyvolej(cislo, operace, **cesty.begin());
}

bool Zasahy::TicheVolani(const wchar_t* operace, const std::wstring& cesta) {
    return MaSelhat(operace, {&cesta});
}

std::vector<std::wstring> Rozdil(const Snimek& a, const Snimek& b) {
    std::vector<std::wstring> rozdil;
    for (const auto& [cesta, stav] : a) {
        const auto it = b.find(cesta);
        if (it == b.end() || !(it->second == stav)) rozdil.push_back(cesta);
    }
    for (const auto& [cesta, stav] : b)
        if (a.find(cesta) == a.end()) rozdil.push_back(cesta);
    return rozdil;
}

// ---------------------------------------------------------------- FalesnyDisk

namespace {

// Hash and equality of names without regard to case, for lookups that
// allocate nothing.
struct BezVelikosti {
    std::size_t operator()(std::wstring_view s) const noexcept {
        std::size_t h = 1469598103934665603ull;
        for (wchar_t z : s) h = (h ^ static_cast<std::size_t>(VelkePismeno(z))) * 1099511628211ull;
        return h;
    }
    bool operator()(std::wstring_view a, std::wstring_view b) const noexcept { return StejnyText(a, b); }
};

}  // namespace

struct FalesnyDisk::Uzel {
    std::wstring nazev;
    bool slozka = false;
    uint32_t atributy = 0;
    std::wstring obsah;
    int64_t velikost = 0;
    int64_t cas = 0;
    std::wstring zabezpeceni;   // SDDL; empty: the user's
    Uzel* rodic = nullptr;
    // Children in listing order, and by folded name for lookups; a list so
    // that removing one entry of a big folder costs nothing.
    // The index's keys point at the children's own names.
    std::list<std::unique_ptr<Uzel>> deti;
    std::unordered_map<std::wstring_view, std::list<std::unique_ptr<Uzel>>::iterator, BezVelikosti,
                       BezVelikosti>
        index;

    Uzel* Dite(std::wstring_view jmeno) const {
        const auto it = index.find(jmeno);
        return it == index.end() ? nullptr : it->second->get();
    }
    uint32_t VsechnyAtributy() const { return atributy | (slozka ? AtributSlozka : 0); }
};

struct FalesnyDisk::Nalez {
    int32_t chyba = 0;         // 0 when the entry exists
    Uzel* uzel = nullptr;      // the entry
    Uzel* rodic = nullptr;     // the folder it is (or would be) in, when that exists
    std::wstring jmeno;        // the last component, as given

    static Nalez Chybny(int32_t cislo) {
        Nalez n;
        n.chyba = cislo;
        return n;
    }
};

FalesnyDisk::FalesnyDisk(Zasahy& zasahy) : zasahy_(zasahy) {}
FalesnyDisk::~FalesnyDisk() = default;

int64_t FalesnyDisk::Tik() { return hodiny_ += 10'000'000; }

void FalesnyDisk::PridejKoren(const std::wstring& koren) {
    auto uzel = std::make_unique<Uzel>();
    uzel->nazev = koren;
    uzel->slozka = true;
    koreny_[VelkaPismena(koren)] = std::move(uzel);
}

FalesnyDisk::Nalez FalesnyDisk::Najdi(const std::wstring& cesta) const {
    Nalez n;
    std::wstring koren;
    std::size_t i;
    const auto pismeno = [](wchar_t z) { return (z >= L'A' && z <= L'Z') || (z >= L'a' && z <= L'z'); };
    if (cesta.compare(0, 2, L"\\\\") == 0) {
        const auto server = cesta.find(L'\\', 2);
        if (server == std::wstring::npos || server == 2) return Nalez::Chybny(ChybaSpatnyNazev);
        const auto sdileni = cesta.find(L'\\', server + 1);
        i = sdileni == std::wstring::npos ? cesta.size() : sdileni;
        if (i == server + 1) return Nalez::Chybny(ChybaSpatnyNazev);
        koren = cesta.substr(0, i);
    } else if (cesta.size() >= 2 && pismeno(cesta[0]) && cesta[1] == L':') {
        // "C:name" is relative to the drive's current folder: not for us.
        if (cesta.size() > 2 && cesta[2] != L'\\') return Nalez::Chybny(ChybaSpatnyNazev);
        koren = cesta.substr(0, 2);
        i = 2;
    } else {
        return Nalez::Chybny(ChybaSpatnyNazev);
    }
    const auto k = koreny_.find(VelkaPismena(koren));
    if (k == koreny_.end()) return Nalez::Chybny(ChybaCestaNenalezena);

    // Doubled separators and "." fold away, ".." climbs, as the platform's
    // path normalisation does.
    std::vector<std::wstring_view> casti;
    casti.reserve(16);
    const std::wstring_view pohled = cesta;
    while (i < pohled.size()) {
        auto j = pohled.find(L'\\', i);
        if (j == std::wstring_view::npos) j = pohled.size();
        const std::wstring_view cast = pohled.substr(i, j - i);
        if (cast == L"..") {
            if (!casti.empty()) casti.pop_back();
        } else if (!cast.empty() && cast != L".") {
            casti.push_back(cast);
        }
        i = j + 1;
    }
    const bool lomitko = cesta.back() == L'\\';

    Uzel* u = k->second.get();
    if (casti.empty()) {
        n.uzel = u;
        return n;
    }
    for (std::size_t c = 0; c + 1 < casti.size(); ++c) {
        u = u->Dite(casti[c]);
        if (!u || !u->slozka) return Nalez::Chybny(ChybaCestaNenalezena);
    }
    n.rodic = u;
    n.jmeno = std::wstring(casti.back());
    Uzel* posledni = u->Dite(n.jmeno);
    if (!posledni)
        n.chyba = ChybaSouborNenalezen;
    else if (lomitko && !posledni->slozka)
        n.chyba = ChybaSpatnyNazev;
    else
        n.uzel = posledni;
    return n;
}

FalesnyDisk::Uzel& FalesnyDisk::Existujici(const std::wstring& cesta, const wchar_t* operace) const {
    const Nalez n = Najdi(cesta);
    if (!n.uzel) Vyvolej(n.chyba, operace, cesta);
    return *n.uzel;
}

FalesnyDisk::Uzel& FalesnyDisk::Vloz(Uzel& rodic, std::unique_ptr<Uzel> uzel) {
    uzel->rodic = &rodic;
    rodic.deti.push_back(std::move(uzel));
    rodic.index[rodic.deti.back()->nazev] = std::prev(rodic.deti.end());
    return *rodic.deti.back();
}

std::unique_ptr<FalesnyDisk::Uzel> FalesnyDisk::Vyjmi(Uzel& uzel) {
    Uzel& rodic = *uzel.rodic;
    const auto it = rodic.index.find(uzel.nazev);
    const auto misto = it->second;
    rodic.index.erase(it);   // before the name its key points at goes
    std::unique_ptr<Uzel> vyjmuty = std::move(*misto);
    rodic.deti.erase(misto);
    vyjmuty->rodic = nullptr;
    return vyjmuty;
}

void FalesnyDisk::Slozka(const std::wstring& cesta, uint32_t atributy) {
    const Nalez n = Najdi(cesta);
    if (n.uzel) {
        if (!n.uzel->slozka) Vyvolej(ChybaUzExistuje, L"Slozka", cesta);
        n.uzel->atributy = atributy;
        return;
    }
    if (!n.rodic) {
        std::wstring nadrazena = cesta;
        if (nadrazena.back() == L'\\') nadrazena.pop_back();
        const auto p = nadrazena.rfind(L'\\');
        if (p == std::wstring::npos || n.chyba != ChybaCestaNenalezena) Vyvolej(n.chyba, L"Slozka", cesta);
        Slozka(nadrazena.substr(0, p));
        return Slozka(cesta, atributy);
    }
    auto uzel = std::make_unique<Uzel>();
    uzel->nazev = n.jmeno;
    uzel->slozka = true;
    uzel->atributy = atributy;
    uzel->cas = Tik();
    Vloz(*n.rodic, std::move(uzel));
}

void FalesnyDisk::Soubor(const std::wstring& cesta, const std::wstring& obsah, uint32_t atributy,
                         int64_t cas) {
    Nalez n = Najdi(cesta);
    if (!n.rodic && !n.uzel) {
        Slozka(cesta.substr(0, cesta.rfind(L'\\')));
        n = Najdi(cesta);
    }
    Uzel* u = n.uzel;
    if ((u && u->slozka) || (!u && n.chyba != ChybaSouborNenalezen)) Vyvolej(n.chyba ? n.chyba : ChybaPristupOdepren, L"Soubor", cesta);
    if (!u) {
        auto novy = std::make_unique<Uzel>();
        novy->nazev = n.jmeno;
        u = &Vloz(*n.rodic, std::move(novy));
    }
    u->obsah = obsah;
    u->velikost = static_cast<int64_t>(obsah.size());
    u->atributy = atributy;
    u->cas = cas != 0 ? cas : Tik();
}

void FalesnyDisk::NastavVelikost(const std::wstring& cesta, int64_t velikost) {
    Existujici(cesta, L"NastavVelikost").velikost = velikost;
}

void FalesnyDisk::Smaz(const std::wstring& cesta) {
    Uzel& u = Existujici(cesta, L"Smaz");
    if (u.rodic) Vyjmi(u);
}

void FalesnyDisk::NastavPoradi(const std::wstring& slozka, const std::vector<std::wstring>& jmena) {
    Uzel& s = Existujici(slozka, L"NastavPoradi");
    auto kam = s.deti.begin();
    for (const auto& jmeno : jmena) {
        const auto it = s.index.find(jmeno);
        if (it == s.index.end()) continue;
        if (it->second == kam) {
            ++kam;
            continue;
        }
        s.deti.splice(kam, s.deti, it->second);
    }
}

void FalesnyDisk::Pridej(Snimek& snimek, const Uzel& uzel, const std::wstring& cesta) const {
    StavPolozky stav;
    stav.slozka = uzel.slozka;
    stav.atributy = uzel.atributy;
    if (!uzel.slozka) {
        stav.obsah = uzel.obsah;
        stav.velikost = uzel.velikost;
        stav.cas = uzel.cas;
    }
    snimek[cesta] = stav;
    for (const auto& dite : uzel.deti) Pridej(snimek, *dite, cesta + L"\\" + dite->nazev);
}

Snimek FalesnyDisk::Stav() const {
    Snimek snimek;
    for (const auto& [klic, koren] : koreny_) Pridej(snimek, *koren, koren->nazev);
    return snimek;
}

std::optional<StavPolozky> FalesnyDisk::Udaje(const std::wstring& cesta) const {
    const Nalez n = Najdi(cesta);
    if (!n.uzel) return std::nullopt;
    StavPolozky stav;
    stav.slozka = n.uzel->slozka;
    stav.atributy = n.uzel->atributy;
    stav.obsah = n.uzel->obsah;
    stav.velikost = n.uzel->velikost;
    stav.cas = n.uzel->cas;
    return stav;
}

bool FalesnyDisk::Uloz(const std::wstring& cesta, const std::wstring& obsah) {
    const Nalez n = Najdi(cesta);
    Uzel* u = n.uzel;
    if (u && (u->slozka || (u->atributy & AtributJenProCteni))) return false;
    if (!u) {
        if (n.chyba != ChybaSouborNenalezen || !PlatneJmeno(n.jmeno)) return false;
        auto novy = std::make_unique<Uzel>();
        novy->nazev = n.jmeno;
        novy->atributy = AtributArchiv;
        u = &Vloz(*n.rodic, std::move(novy));
    }
    u->obsah = obsah;
    u->velikost = static_cast<int64_t>(obsah.size());
    u->cas = Tik();
    return true;
}

std::vector<Polozka> FalesnyDisk::Vypis(const std::wstring& vzor) {
    zasahy_.Volani(L"Vypis", {&vzor});
    const auto p = vzor.rfind(L'\\');
    if (p == std::wstring::npos) Vyvolej(ChybaSpatnyNazev, L"Vypis", vzor);
    const std::wstring jmeno = vzor.substr(p + 1);
    const auto polozka = [](const Uzel& u, std::wstring nazev) {
        return setup::Polozka{std::move(nazev), u.VsechnyAtributy(), u.velikost, u.cas};
    };
    std::vector<setup::Polozka> vysledek;

    if (jmeno.find_first_of(L"*?") == std::wstring::npos) {
        const Nalez n = Najdi(vzor);
        if (n.uzel && n.uzel->rodic) vysledek.push_back(polozka(*n.uzel, n.uzel->nazev));
        else if (!n.uzel && n.chyba != ChybaSouborNenalezen) Vyvolej(n.chyba, L"Vypis", vzor);
        return vysledek;
    }
    const Nalez n = Najdi(vzor.substr(0, p + 1));
    if (!n.uzel || !n.uzel->slozka) Vyvolej(ChybaCestaNenalezena, L"Vypis", vzor);
    if (n.uzel->rodic) {
        // Every folder but a root lists itself and its parent first.
        if (Odpovida(jmeno, L".")) vysledek.push_back(polozka(*n.uzel, L"."));
        if (Odpovida(jmeno, L"..")) vysledek.push_back(polozka(*n.uzel->rodic, L".."));
    }
    for (const auto& dite : n.uzel->deti)
        if (Odpovida(jmeno, dite->nazev)) vysledek.push_back(polozka(*dite, dite->nazev));
    if (zasahy_.upravVypis) zasahy_.upravVypis(vzor, vysledek);
    return vysledek;
}

std::optional<uint32_t> FalesnyDisk::Atributy(const std::wstring& cesta) {
    zasahy_.Volani(L"Atributy", {&cesta});
    const Nalez n = Najdi(cesta);
    if (!n.uzel) return std::nullopt;
    return n.uzel->VsechnyAtributy();
}

std::optional<Polozka> FalesnyDisk::Vlastnosti(const std::wstring& cesta) {
    zasahy_.Volani(L"Vlastnosti", {&cesta});
    const Nalez n = Najdi(cesta);
    if (!n.uzel) return std::nullopt;
    Polozka p;
    p.atributy = n.uzel->VsechnyAtributy();
    p.velikost = n.uzel->slozka ? 0 : n.uzel->velikost;
    p.casZmeny = n.uzel->cas;
    return p;
}

void FalesnyDisk::Vynut(const std::wstring& cesta) {
    zasahy_.Volani(L"Vynut", {&cesta});
    Existujici(cesta, L"Vynut");
}

void FalesnyDisk::VytvorChranenouSlozku(const std::wstring& cesta, const std::wstring& sddl) {
    VytvorSlozku(cesta);
    Najdi(cesta).uzel->zabezpeceni = sddl;
}

std::wstring FalesnyDisk::Zabezpeceni(const std::wstring& cesta) {
    zasahy_.Volani(L"Zabezpeceni", {&cesta});
    const Uzel& u = Existujici(cesta, L"Zabezpeceni");
    return u.zabezpeceni.empty() ? ZabezpeceniUzivatele : u.zabezpeceni;
}

void FalesnyDisk::NastavZabezpeceni(const std::wstring& cesta, const std::wstring& sddl) {
    Existujici(cesta, L"NastavZabezpeceni").zabezpeceni = sddl;
}

void FalesnyDisk::NastavAtributy(const std::wstring& cesta, uint32_t atributy) {
    zasahy_.Volani(L"NastavAtributy", {&cesta});
    Uzel& u = Existujici(cesta, L"NastavAtributy");
    u.atributy = atributy & (AtributJenProCteni | AtributSkryty | AtributSystemovy | AtributArchiv);
}

int64_t FalesnyDisk::CasZmeny(const std::wstring& cesta) {
    zasahy_.Volani(L"CasZmeny", {&cesta});
    return Existujici(cesta, L"CasZmeny").cas;
}

int64_t FalesnyDisk::Velikost(const std::wstring& cesta) {
    zasahy_.Volani(L"Velikost", {&cesta});
    const Uzel& u = Existujici(cesta, L"Velikost");
    if (u.slozka) Vyvolej(ChybaPristupOdepren, L"Velikost", cesta);
    return u.velikost;
}

void FalesnyDisk::Kopiruj(const std::wstring& zdroj, const std::wstring& cil, const std::atomic<bool>* zrusit) {
    zasahy_.Volani(L"Kopiruj", {&zdroj, &cil});
    // Half way through the file: a copy told to stop removes what it wrote.
    if (zrusit && *zrusit) {
        zastaveneKopie.push_back(cil);
        Vyvolej(CisloZrusenaOperace, L"Kopiruj", cil);
    }
    const Uzel& z = Existujici(zdroj, L"Kopiruj");
    if (z.slozka) Vyvolej(ChybaPristupOdepren, L"Kopiruj", zdroj);
    const Nalez n = Najdi(cil);
    if (n.uzel) Vyvolej(n.uzel->slozka ? ChybaPristupOdepren : ChybaSouborExistuje, L"Kopiruj", cil);
    if (n.chyba != ChybaSouborNenalezen) Vyvolej(n.chyba, L"Kopiruj", cil);
    if (!PlatneJmeno(n.jmeno)) Vyvolej(ChybaSpatnyNazev, L"Kopiruj", cil);
    auto kopie = std::make_unique<Uzel>();
    kopie->nazev = n.jmeno;
    kopie->obsah = z.obsah;
    kopie->velikost = z.velikost;
    kopie->cas = z.cas;
    kopie->atributy = z.atributy | AtributArchiv;
    Vloz(*n.rodic, std::move(kopie));
}

void FalesnyDisk::Prejmenuj(const std::wstring& z, const std::wstring& na) {
    zasahy_.Volani(L"Prejmenuj", {&z, &na});
    Uzel& u = Existujici(z, L"Prejmenuj");
    if (!u.rodic) Vyvolej(ChybaPristupOdepren, L"Prejmenuj", z);
    const Nalez n = Najdi(na);
    if (n.uzel) Vyvolej(ChybaUzExistuje, L"Prejmenuj", na);
    if (n.chyba != ChybaSouborNenalezen) Vyvolej(n.chyba, L"Prejmenuj", na);
    if (!PlatneJmeno(n.jmeno)) Vyvolej(ChybaSpatnyNazev, L"Prejmenuj", na);
    const auto korenOd = [](const Uzel* x) {
        while (x->rodic) x = x->rodic;
        return x;
    };
    if (korenOd(&u) != korenOd(n.rodic)) Vyvolej(ChybaJinaJednotka, L"Prejmenuj", na);
    for (const Uzel* x = n.rodic; x; x = x->rodic)
        if (x == &u) Vyvolej(ChybaPristupOdepren, L"Prejmenuj", na);   // into itself
    auto presunuty = Vyjmi(u);
    presunuty->nazev = n.jmeno;
    Vloz(*n.rodic, std::move(presunuty));
}

void FalesnyDisk::SmazSoubor(const std::wstring& cesta) {
    zasahy_.Volani(L"SmazSoubor", {&cesta});
    Uzel& u = Existujici(cesta, L"SmazSoubor");
    if (u.slozka || (u.atributy & AtributJenProCteni)) Vyvolej(ChybaPristupOdepren, L"SmazSoubor", cesta);
    Vyjmi(u);
}

void FalesnyDisk::VytvorSlozku(const std::wstring& cesta) {
    zasahy_.Volani(L"VytvorSlozku", {&cesta});
    const Nalez n = Najdi(cesta);
    if (n.uzel) Vyvolej(ChybaUzExistuje, L"VytvorSlozku", cesta);
    if (n.chyba != ChybaSouborNenalezen) Vyvolej(n.chyba, L"VytvorSlozku", cesta);
    if (!PlatneJmeno(n.jmeno)) Vyvolej(ChybaSpatnyNazev, L"VytvorSlozku", cesta);
    auto uzel = std::make_unique<Uzel>();
    uzel->nazev = n.jmeno;
    uzel->slozka = true;
    uzel->cas = Tik();
    Vloz(*n.rodic, std::move(uzel));
}

void FalesnyDisk::OdstranSlozku(const std::wstring& cesta) {
    zasahy_.Volani(L"OdstranSlozku", {&cesta});
    Uzel& u = Existujici(cesta, L"OdstranSlozku");
    if (!u.slozka) Vyvolej(ChybaNeniSlozka, L"OdstranSlozku", cesta);
    if (!u.rodic || (u.atributy & AtributJenProCteni)) Vyvolej(ChybaPristupOdepren, L"OdstranSlozku", cesta);
    if (!u.deti.empty()) Vyvolej(ChybaSlozkaNeniPrazdna, L"OdstranSlozku", cesta);
    Vyjmi(u);
}

bool FalesnyDisk::StejnySoubor(const std::wstring& a, const std::wstring& b) {
    zasahy_.Volani(L"StejnySoubor", {&a, &b});
    const Nalez x = Najdi(a), y = Najdi(b);
    return x.uzel && x.uzel == y.uzel;
}

bool FalesnyDisk::StejnyObsah(const std::wstring& a, const std::wstring& b) {
    zasahy_.Volani(L"StejnyObsah", {&a, &b});
    const Uzel& x = Existujici(a, L"StejnyObsah");
    const Uzel& y = Existujici(b, L"StejnyObsah");
    if (x.slozka || y.slozka) Vyvolej(ChybaPristupOdepren, L"StejnyObsah", x.slozka ? a : b);
    return x.obsah == y.obsah;
}

std::optional<std::string> FalesnyDisk::Nacti(const std::wstring& cesta) {
    zasahy_.Volani(L"Nacti", {&cesta});
    const Nalez n = Najdi(cesta);
    if (!n.uzel) {
        if (n.chyba == ChybaSouborNenalezen || n.chyba == ChybaCestaNenalezena) return std::nullopt;
        Vyvolej(n.chyba, L"Nacti", cesta);
    }
    if (n.uzel->slozka || PresOdkaz(*n.uzel)) Vyvolej(ChybaPristupOdepren, L"Nacti", cesta);
    if (drzene_.count(VelkaPismena(cesta))) Vyvolej(ChybaSdileni, L"Nacti", cesta);
    std::string bajty;
    for (const wchar_t z : n.uzel->obsah) bajty += static_cast<char>(z);
    return bajty;
}

// An open file: every write is a call of its own, found by its path, as a
// handle finds its file.
class FalesnyDisk::OtevrenySoubor final : public IPripis {
public:
    OtevrenySoubor(FalesnyDisk& disk, std::wstring cesta, bool vylucne)
        : disk_(disk), cesta_(std::move(cesta)), vylucne_(vylucne) {
        if (vylucne_) disk_.drzene_.insert(VelkaPismena(cesta_));
    }
    ~OtevrenySoubor() override {
        if (vylucne_) disk_.drzene_.erase(VelkaPismena(cesta_));
    }
    void Vynut() override {
        disk_.zasahy_.Volani(L"VynutPripis", {&cesta_});
        disk_.Existujici(cesta_, L"VynutPripis");
    }
    void Pripis(std::string_view bajty) override {
        disk_.zasahy_.Volani(L"Pripis", {&cesta_});
        Uzel& u = disk_.Existujici(cesta_, L"Pripis");
        for (const char b : bajty) u.obsah += static_cast<wchar_t>(static_cast<unsigned char>(b));
        u.velikost = static_cast<int64_t>(u.obsah.size());
        u.cas = disk_.Tik();
    }

private:
    FalesnyDisk& disk_;
    std::wstring cesta_;
    bool vylucne_;
};

std::unique_ptr<IPripis> FalesnyDisk::OtevriKPripisu(const std::wstring& cesta, Otevreni jak) {
    zasahy_.Volani(L"OtevriKPripisu", {&cesta});
    const Nalez n = Najdi(cesta);
    if (jak != Otevreni::Pripojit) {
        if (n.uzel) Vyvolej(ChybaSouborExistuje, L"OtevriKPripisu", cesta);
        if (n.rodic && PresOdkaz(*n.rodic)) Vyvolej(ChybaPristupOdepren, L"OtevriKPripisu", cesta);
    }
    if (n.uzel && (n.uzel->slozka || (n.uzel->atributy & AtributJenProCteni)))
        Vyvolej(ChybaPristupOdepren, L"OtevriKPripisu", cesta);
    if (drzene_.count(VelkaPismena(cesta))) Vyvolej(ChybaSdileni, L"OtevriKPripisu", cesta);
    if (!n.uzel) {
        if (n.chyba != ChybaSouborNenalezen) Vyvolej(n.chyba, L"OtevriKPripisu", cesta);
        if (!PlatneJmeno(n.jmeno)) Vyvolej(ChybaSpatnyNazev, L"OtevriKPripisu", cesta);
        auto novy = std::make_unique<Uzel>();
        novy->nazev = n.jmeno;
        novy->atributy = AtributArchiv;
        novy->cas = Tik();
        Vloz(*n.rodic, std::move(novy));
    }
    return std::make_unique<OtevrenySoubor>(*this, cesta, jak == Otevreni::Vylucny);
}

bool FalesnyDisk::PresOdkaz(const Uzel& uzel) {
    for (const Uzel* u = &uzel; u; u = u->rodic)
        if (u->atributy & AtributOdkaz) return true;
    return false;
}

struct FalesnyDisk::Zachyceni {
    std::vector<std::unique_ptr<Uzel>> koreny;
};

namespace {

// A deep copy of an entry and everything below it.
template <typename U>
std::unique_ptr<U> Kopie(const U& puvodni, U* rodic) {
    auto u = std::make_unique<U>();
    u->nazev = puvodni.nazev;
    u->slozka = puvodni.slozka;
    u->atributy = puvodni.atributy;
    u->obsah = puvodni.obsah;
    u->velikost = puvodni.velikost;
    u->cas = puvodni.cas;
    u->zabezpeceni = puvodni.zabezpeceni;
    u->rodic = rodic;
    for (const auto& dite : puvodni.deti) {
        u->deti.push_back(Kopie(*dite, u.get()));
        u->index[u->deti.back()->nazev] = std::prev(u->deti.end());
    }
    return u;
}

}  // namespace

std::shared_ptr<const FalesnyDisk::Zachyceni> FalesnyDisk::Zachyt() const {
    auto z = std::make_shared<Zachyceni>();
    for (const auto& [klic, koren] : koreny_) z->koreny.push_back(Kopie(*koren, static_cast<Uzel*>(nullptr)));
    return z;
}

void FalesnyDisk::Obnov(const std::shared_ptr<const Zachyceni>& zachyceni) {
    koreny_.clear();
    for (const auto& koren : zachyceni->koreny)
        koreny_[VelkaPismena(koren->nazev)] = Kopie(*koren, static_cast<Uzel*>(nullptr));
}

// ---------------------------------------------------------------- FalesnyRegistr

FalesnyRegistr::Klic& FalesnyRegistr::Vytvor(uint32_t koren, const std::wstring& klic) {
    const std::wstring cesta = VelkaPismena(klic);
    // Every key along the path comes into being, as with the platform's create.
    for (auto p = cesta.find(L'\\'); p != std::wstring::npos; p = cesta.find(L'\\', p + 1))
        klice_[{koren, cesta.substr(0, p)}];
    return klice_[{koren, cesta}];
}

const FalesnyRegistr::Klic* FalesnyRegistr::Najdi(uint32_t koren, const std::wstring& klic) const {
    const auto it = klice_.find({koren, VelkaPismena(klic)});
    return it == klice_.end() ? nullptr : &it->second;
}

const FalesnyRegistr::Hodnota* FalesnyRegistr::NajdiHodnotu(uint32_t koren, const std::wstring& klic,
                                                           const std::wstring& nazev) const {
    const Klic* k = Najdi(koren, klic);
    if (!k) return nullptr;
    const auto it = k->find(VelkaPismena(nazev));
    return it == k->end() ? nullptr : &it->second;
}

bool FalesnyRegistr::Selze(const wchar_t* operace, const std::wstring& klic) {
    return zasahy_ && zasahy_->TicheVolani(operace, klic);
}

void FalesnyRegistr::NastavText(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                                const std::wstring& text) {
    Vytvor(koren, klic)[VelkaPismena(nazev)] = Hodnota{1, text, 0};
}

void FalesnyRegistr::NastavRozsirenyText(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                                         const std::wstring& text) {
    Vytvor(koren, klic)[VelkaPismena(nazev)] = Hodnota{2, text, 0};
}

void FalesnyRegistr::NastavCislo(uint32_t koren, const std::wstring& klic,
                                 const std::wstring& nazev, uint32_t cislo) {
    Vytvor(koren, klic)[VelkaPismena(nazev)] = Hodnota{4, L"", cislo};
}

void FalesnyRegistr::NastavJinyTyp(uint32_t koren, const std::wstring& klic,
                                   const std::wstring& nazev) {
    Vytvor(koren, klic)[VelkaPismena(nazev)] = Hodnota{3, L"C:\\Office", 0};
}

bool FalesnyRegistr::MaKlic(uint32_t koren, const std::wstring& klic) const {
    return Najdi(koren, klic) != nullptr;
}

std::optional<std::wstring> FalesnyRegistr::Text(uint32_t koren, const std::wstring& klic,
                                                 const std::wstring& nazev) const {
    const Hodnota* h = NajdiHodnotu(koren, klic, nazev);
    if (!h || h->typ != 1) return std::nullopt;
    return h->text;
}

std::wstring FalesnyRegistr::CtiRegistr(uint32_t koren, const std::wstring& klic,
                                        const std::wstring& nazev) {
    cteni.push_back({koren, klic, nazev});
    const Hodnota* h = NajdiHodnotu(koren, klic, nazev);
    if (!h) return {};
    if (h->typ == 1) return OrizniMezery(OrizniNulu(h->text));
    if (h->typ == 4) return TextCisla(static_cast<int32_t>(h->cislo));
    return {};
}

// The platform's expansion: a %NAME% the environment holds becomes its
// value; any other, and a lone "%", stay as they are.
std::wstring FalesnyRegistr::Rozvin(const std::wstring& text) const {
    std::wstring vysledek;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto zacatek = text.find(L'%', i);
        const auto konec = zacatek == std::wstring::npos ? std::wstring::npos : text.find(L'%', zacatek + 1);
        if (konec == std::wstring::npos) break;
        vysledek += text.substr(i, zacatek - i);
        const auto it = prostredi.find(VelkaPismena(text.substr(zacatek + 1, konec - zacatek - 1)));
        if (it != prostredi.end()) {
            vysledek += it->second;
            i = konec + 1;
        } else {
            vysledek += L'%';
            i = zacatek + 1;
        }
    }
    return vysledek + text.substr(std::min(i, text.size()));
}

std::wstring FalesnyRegistr::CtiCestu(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                                      bool pohled64) {
    cteni.push_back({koren, klic, nazev, pohled64});
    const Hodnota* h = NajdiHodnotu(pohled64 && koren == HKEY_LOCAL_MACHINE_ ? Hklm64 : koren, klic, nazev);
    if (!h || (h->typ != 1 && h->typ != 2)) return {};
    const std::wstring text = OrizniMezery(OrizniNulu(h->text));
    return h->typ == 1 ? text : OrizniMezery(Rozvin(text));
}

bool FalesnyRegistr::ZapisRegistr(uint32_t koren, const std::wstring& klic,
                                  const std::wstring& nazev, const std::wstring* hodnota,
                                  int32_t cislo) {
    if (Selze(L"ZapisRegistr", klic)) {
        Vytvor(koren, klic);
        return false;
    }
    if (hodnota)
        NastavText(koren, klic, nazev, *hodnota);
    else
        NastavCislo(koren, klic, nazev, static_cast<uint32_t>(cislo));
    return true;
}

std::map<std::wstring, std::wstring> FalesnyRegistr::Stav() const {
    std::map<std::wstring, std::wstring> stav;
    for (const auto& [cesta, hodnoty] : klice_) {
        const std::wstring klic = TextCisla(cesta.first) + L"\\" + cesta.second;
        stav[klic] = L"";
        for (const auto& [nazev, h] : hodnoty)
            stav[klic + L"\\@" + nazev] = TextCisla(h.typ) + L":" + h.text + L":" + TextCisla(h.cislo);
    }
    return stav;
}

struct FalesnyRegistr::Zachyceni {
    Klice klice;
};

std::shared_ptr<const FalesnyRegistr::Zachyceni> FalesnyRegistr::Zachyt() const {
    return std::make_shared<const Zachyceni>(Zachyceni{klice_});
}

void FalesnyRegistr::Obnov(const std::shared_ptr<const Zachyceni>& zachyceni) { klice_ = zachyceni->klice; }

bool FalesnyRegistr::MaPodklice(uint32_t koren, const std::wstring& slozenyKlic) const {
    const auto it = klice_.upper_bound({koren, slozenyKlic});
    return it != klice_.end() && it->first.first == koren &&
           it->first.second.compare(0, slozenyKlic.size() + 1, slozenyKlic + L"\\") == 0;
}

bool FalesnyRegistr::ExistujeKlic(uint32_t koren, const std::wstring& klic) {
    return Najdi(koren, klic) != nullptr;
}

bool FalesnyRegistr::ExistujeHodnota(uint32_t koren, const std::wstring& klic, const std::wstring& nazev) {
    return NajdiHodnotu(koren, klic, nazev) != nullptr;
}

bool FalesnyRegistr::SmazHodnotu(uint32_t koren, const std::wstring& klic, const std::wstring& nazev) {
    if (Selze(L"SmazHodnotu", klic)) return false;
    const auto it = klice_.find({koren, VelkaPismena(klic)});
    if (it != klice_.end()) it->second.erase(VelkaPismena(nazev));
    return true;
}

bool FalesnyRegistr::SmazPrazdnyKlic(uint32_t koren, const std::wstring& klic) {
    if (Selze(L"SmazPrazdnyKlic", klic)) return false;
    const std::wstring cesta = VelkaPismena(klic);
    const auto it = klice_.find({koren, cesta});
    if (it == klice_.end()) return true;
    if (!it->second.empty() || MaPodklice(koren, cesta)) return false;
    klice_.erase(it);
    return true;
}

void FalesnyRegistr::SmazKlic(uint32_t koren, const std::wstring& klic) {
    if (klic.empty()) return;
    const std::wstring cesta = VelkaPismena(klic);
    const auto it = klice_.find({koren, cesta});
    if (it == klice_.end()) throw Chyba(CisloVlastniChyby, TitulekAplikace, L"Nelze otevřít regist.");
    const auto dalsi = std::next(it);
    if (dalsi != klice_.end() && dalsi->first.first == koren &&
        dalsi->first.second.compare(0, cesta.size() + 1, cesta + L"\\") == 0)
        throw Chyba(CisloVlastniChyby, TitulekAplikace, L"Nelze odstranit klice registru.");
    klice_.erase(it);
}

// ---------------------------------------------------------------- FalesnyShell

std::wstring FalesnyShell::SpecialniSlozka(int32_t cislo) {
    const auto it = specialni.find(cislo);
    return it == specialni.end() ? std::wstring() : it->second;
}

void FalesnyShell::VytvorZastupce(const std::wstring& slozka, const std::wstring& nazev,
                                  const std::wstring& cil, const std::wstring& argumenty,
                                  const std::wstring& ikona, const std::wstring& pracovniSlozka,
                                  int32_t zobrazeni) {
    odkazy.push_back({slozka, nazev, cil, argumenty, ikona, pracovniSlozka, zobrazeni});
    if (slozka.empty() || cil.empty()) return;
    std::wstring cesta = slozka;
    if (cesta.back() != L'\\') cesta += L'\\';
    cesta += nazev;
    if (zasahy_.TicheVolani(L"VytvorZastupce", cesta)) return;
    disk_.Uloz(cesta, ObsahOdkazu(cil));
}

bool FalesnyShell::OdkazVedeDo(const std::wstring& odkaz, const std::wstring& cil) {
    const auto udaje = disk_.Udaje(odkaz);
    return udaje && !udaje->slozka && StejnyText(udaje->obsah, ObsahOdkazu(cil));
}

// ---------------------------------------------------------------- FalesnaOkna

void FalesnaOkna::Hlaska(const std::wstring& text, int32_t hotovo, int32_t celkem) { Ohlas(text, hotovo, celkem); }

void FalesnaOkna::Skonci() { Ohlas(L"", 0, 0); }

void FalesnaOkna::Ohlas(const std::wstring& text, int32_t hotovo, int32_t celkem) {
    ++hlasek;
    if (zasahy) volaniPredHlaskou.push_back(zasahy->volani);
    Zapis({Udalost::Hlaska, text, hotovo, celkem});
    // The first report shows the progress window, and the main window hides.
    if (hlavniViditelne && !text.empty()) {
        hlavniViditelne = false;
        Zapis({Udalost::Skryj});
    }
    if (selhatPriHlasce.count(hlasek)) throw Chyba(6, TitulekAplikace, L"Přetečení.");
    // An empty text closes the progress window, and closing it raises the flag.
    if (text.empty() || stornovatPriHlasce.count(hlasek)) stornovano = true;
}

int FalesnaOkna::Zprava(const std::wstring& text, const std::wstring& titulek, uint32_t styl) {
    if (zasahy) volaniPredZpravou.push_back(zasahy->volani);
    Zapis({Udalost::Zprava, text, 0, 0, titulek, styl});
    return 1;
}

Vysledek FalesnaOkna::Spust(const std::function<Vysledek()>& beh) {
    stornovano = false;
    const Vysledek v = beh();
    Zapis({v == Vysledek::Hotovo ? Udalost::Uvolni : Udalost::Zobraz});
    hlavniViditelne = true;
    return v;
}

std::vector<Udalost> FalesnaOkna::Zpravy() const {
    std::vector<Udalost> zpravy;
    std::copy_if(udalosti.begin(), udalosti.end(), std::back_inserter(zpravy),
                 [](const Udalost& u) { return u.druh == Udalost::Zprava; });
    return zpravy;
}

void PrintTo(const Udalost& u, std::ostream* os) {
    static const char* const druhy[] = {"Hlaska", "Zprava", "Skryj", "Zobraz", "Uvolni", "ZakazStorno"};
    *os << druhy[u.druh];
    if (u.druh == Udalost::Hlaska)
        *os << "(\"" << Utf8(u.text) << "\", " << u.hotovo << ", " << u.celkem << ")";
    if (u.druh == Udalost::Zprava)
        *os << "(\"" << Utf8(u.text) << "\", \"" << Utf8(u.titulek) << "\", " << u.styl << ")";
}

}  // namespace setup::test
