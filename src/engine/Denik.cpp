#include "engine/Denik.h"

#include <algorithm>
#include <optional>

#include "system/Cesty.h"
#include "system/Text.h"

namespace setup {

namespace {

constexpr const wchar_t* Hlavicka = L"SETUP\t2";

// A field as the line holds it: the characters that would break the line
// into fields or lines, and "%" itself, as %XX.
std::wstring Zakoduj(std::wstring_view pole) {
    static constexpr wchar_t cifry[] = L"0123456789ABCDEF";
    std::wstring s;
    s.reserve(pole.size());
    for (const wchar_t z : pole) {
        if (z == L'%' || static_cast<uint32_t>(z) < 0x20) {
            s += L'%';
            s += cifry[(z >> 4) & 0xF];
            s += cifry[z & 0xF];
        } else {
            s += z;
        }
    }
    return s;
}

int Cifra(wchar_t z) {
    if (z >= L'0' && z <= L'9') return z - L'0';
    if (z >= L'A' && z <= L'F') return z - L'A' + 10;
    return -1;
}

std::wstring Dekoduj(std::wstring_view pole) {
    std::wstring s;
    s.reserve(pole.size());
    for (std::size_t i = 0; i < pole.size(); ++i) {
        if (pole[i] == L'%' && i + 2 < pole.size() && Cifra(pole[i + 1]) >= 0 && Cifra(pole[i + 2]) >= 0) {
            s += static_cast<wchar_t>(Cifra(pole[i + 1]) * 16 + Cifra(pole[i + 2]));
            i += 2;
        } else {
            s += pole[i];
        }
    }
    return s;
}

std::vector<std::wstring> Pole(std::wstring_view radek) {
    std::vector<std::wstring> pole;
    for (;;) {
        const auto p = radek.find(L'\t');
        pole.push_back(Dekoduj(radek.substr(0, p)));
        if (p == std::wstring_view::npos) return pole;
        radek.remove_prefix(p + 1);
    }
}

// A decimal number of a field; nothing when it is none.
std::optional<uint64_t> Cislo(const std::wstring& pole) {
    if (pole.empty() || pole.size() > 19) return std::nullopt;
    uint64_t n = 0;
    for (const wchar_t z : pole) {
        if (z < L'0' || z > L'9') return std::nullopt;
        n = n * 10 + static_cast<uint64_t>(z - L'0');
    }
    return n;
}

std::wstring Pridej(std::wstring radek, const std::wstring& pole) {
    radek += L'\t';
    radek += Zakoduj(pole);
    return radek;
}


// Whether a path lies in a folder, at any depth, in any spelling of case.
bool LeziVe(const std::wstring& cesta, const std::wstring& slozka) {
    return !slozka.empty() && cesta.size() > slozka.size() + 1 && cesta[slozka.size()] == L'\\' &&
           StejnyText(std::wstring_view(cesta).substr(0, slozka.size()), slozka);
}

// A folder made on the way to the target: the target or a folder above it.
bool NaCesteK(const std::wstring& slozka, const std::wstring& cil) {
    return StejnyText(slozka, cil) || LeziVe(cil, slozka);
}

// Directly in a folder: a file of the set in the target, a link in its folder.
bool PrimoVe(const std::wstring& cesta, const std::wstring& slozka) {
    return LeziVe(cesta, slozka) && cesta.find(L'\\', slozka.size() + 1) == std::wstring::npos;
}

// The key under which the program sets its one value, for any version:
// Software\Microsoft\Office\<n.n>\Word\Options, or (for the keys its write
// made) a key on the way to it from Software\Microsoft\Office.
bool KlicOsobnichSablon(const std::wstring& klic, bool celou) {
    const std::wstring k = VelkaPismena(klic);
    const std::wstring zacatek = L"SOFTWARE\\MICROSOFT\\OFFICE";
    if (k.compare(0, zacatek.size(), zacatek) != 0) return false;
    std::wstring_view zbytek = std::wstring_view(k).substr(zacatek.size());
    if (zbytek.empty()) return !celou;
    if (zbytek[0] != L'\\') return false;
    zbytek.remove_prefix(1);
    // The version: digits, a dot, digits.
    std::size_t i = 0;
    while (i < zbytek.size() && zbytek[i] >= L'0' && zbytek[i] <= L'9') ++i;
    if (i == 0 || i >= zbytek.size() || zbytek[i] != L'.') return false;
    std::size_t j = ++i;
    while (j < zbytek.size() && zbytek[j] >= L'0' && zbytek[j] <= L'9') ++j;
    if (j == i) return false;
    zbytek.remove_prefix(j);
    if (zbytek == L"\\WORD\\OPTIONS") return true;
    return !celou && (zbytek.empty() || zbytek == L"\\WORD");
}


// A record's file name: beh<digits>.txt, or beh<anything>.txt for the
// number, which is only ever compared as text.
bool JeNazevZaznamu(const std::wstring& nazev) {
    return nazev.size() >= 7 && StejnyText(std::wstring_view(nazev).substr(0, 3), L"beh") &&
           StejnyText(std::wstring_view(nazev).substr(nazev.size() - 4), L".txt");
}

// The digits of a record's name without leading zeros; empty when it has
// none or anything else.
std::wstring CisloNazvu(const std::wstring& nazev) {
    std::wstring c = nazev.substr(3, nazev.size() - 7);
    for (const wchar_t z : c)
        if (z < L'0' || z > L'9') return {};
    c.erase(0, c.find_first_not_of(L'0'));
    return c;
}

// Numbers written as digits, compared without parsing them.
bool MensiCislo(const std::wstring& a, const std::wstring& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// The next number, digit by digit.
std::wstring Nasledujici(std::wstring c) {
    for (std::size_t i = c.size(); i-- > 0;) {
        if (c[i] != L'9') {
            ++c[i];
            return c;
        }
        c[i] = L'0';
    }
    return L"1" + c;
}

bool JeZaloha(const std::wstring& zaloha, const std::wstring& cesta) {
    const std::wstring pripona = L".zaloha";
    if (zaloha.size() <= cesta.size() + pripona.size() || !StejnyText(zaloha.substr(0, cesta.size()), cesta) ||
        !StejnyText(zaloha.substr(cesta.size(), pripona.size()), pripona))
        return false;
    for (std::size_t i = cesta.size() + pripona.size(); i < zaloha.size(); ++i)
        if (zaloha[i] < L'0' || zaloha[i] > L'9') return false;
    return true;
}

// A SID in SDDL that stands for the administrators or SYSTEM.
bool JeSpravce(std::wstring_view sid) {
    return sid == L"BA" || sid == L"SY" || sid == L"S-1-5-32-544" || sid == L"S-1-5-18";
}

}  // namespace

std::wstring RadekKroku(const Krok& krok) {
    std::wstring radek(1, static_cast<wchar_t>(krok.druh));
    switch (krok.druh) {
    case Krok::Hodnota:
        radek = Pridej(Pridej(Pridej(Pridej(radek, TextCisla(krok.koren)), krok.cesta), krok.druha), krok.text);
        return krok.obnovit ? radek + L"\t1" : radek;
    case Krok::Zapsany:
        return Pridej(Pridej(radek, krok.cesta), TextCisla(krok.velikost));
    case Krok::Klic:
    case Krok::SmazatKlic:
        return Pridej(Pridej(radek, TextCisla(krok.koren)), krok.cesta);
    case Krok::Odlozeni:
    case Krok::Odkaz:
        return Pridej(Pridej(radek, krok.cesta), krok.druha);
    case Krok::Soubor:
        return Pridej(Pridej(Pridej(radek, krok.cesta), TextCisla(krok.velikost)), TextCisla(krok.cas));
    default:
        return Pridej(radek, krok.cesta);
    }
}

ZaznamBehu PrectiZaznam(std::string_view obsah) {
    ZaznamBehu z;
    bool prvni = true;
    std::vector<std::wstring> odvolane;   // paths a later run wrote, case-folded
    bool nahrazeny = false;               // a later run into the same target stood
    for (;;) {
        const auto konec = obsah.find('\n');
        // What follows the last line break is a line cut short.
        if (konec == std::string_view::npos) break;
        const std::wstring radek = ZUtf8(obsah.substr(0, konec));
        obsah.remove_prefix(konec + 1);
        const std::vector<std::wstring> p = Pole(radek);
        if (prvni) {
            prvni = false;
            z.prazdny = false;
            if (p.size() < 5 || p[0] != L"SETUP" || (p[1] != L"1" && p[1] != L"2") ||
                (p[2] != L"I" && p[2] != L"U"))
                return z;
            z.platny = true;
            z.odinstalace = p[2] == L"U";
            z.cil = p[3];
            z.sada = p[4];
            if (p.size() > 5) z.slozkaOdkazu = p[5];
            continue;
        }
        if (p[0].size() != 1) continue;
        const wchar_t druh = p[0][0];
        Krok k;
        k.druh = static_cast<Krok::Druh>(druh);
        switch (druh) {
        case Krok::Slozka:
        case Krok::OdstranitSlozku:
            if (p.size() != 2) continue;
            k.cesta = p[1];
            break;
        case Krok::Soubor:
            // Without what the copy wrote (an older record), nothing tells
            // the run's file from the user's: it is kept.
            if (p.size() != 2 && p.size() != 4) continue;
            k.cesta = p[1];
            if (p.size() == 4) {
                const auto velikost = Cislo(p[2]);
                const auto cas = Cislo(p[3]);
                if (!velikost || !cas || *velikost > INT64_MAX || *cas > INT64_MAX) continue;
                k.velikost = static_cast<int64_t>(*velikost);
                k.cas = static_cast<int64_t>(*cas);
            }
            break;
        case Krok::Odlozeni:
        case Krok::Odkaz:
            if (p.size() != 3) continue;
            k.cesta = p[1];
            k.druha = p[2];
            break;
        case Krok::Zapsany: {
            const auto velikost = p.size() == 3 ? Cislo(p[2]) : std::nullopt;
            if (!velikost || *velikost > INT64_MAX) continue;
            k.cesta = p[1];
            k.velikost = static_cast<int64_t>(*velikost);
            break;
        }
        case Krok::Hodnota:
        case Krok::Klic:
        case Krok::SmazatKlic: {
            const bool hodnota = druh == Krok::Hodnota;
            if (hodnota ? p.size() < 4 || p.size() > 6 : p.size() != 3) continue;
            const auto koren = Cislo(p[1]);
            if (!koren || *koren > 0xFFFFFFFFu) continue;
            k.koren = static_cast<uint32_t>(*koren);
            k.cesta = p[2];
            if (hodnota) k.druha = p[3];
            if (p.size() >= 5) k.text = p[4];
            k.obnovit = p.size() == 6;
            break;
        }
        case L'Z':
            if (p.size() == 2) odvolane.push_back(VelkaPismena(p[1]));
            continue;
        case L'X':
            if (!z.kroky.empty()) z.kroky.pop_back();
            continue;
        case L'H':
            z.hotovo = true;
            continue;
        case L'V':
            nahrazeny = true;
            continue;
        default:
            continue;
        }
        z.kroky.push_back(std::move(k));
    }
    // What a later run wrote over is that run's: its files, its folders.
    // What this run set aside there still comes back, beside them.
    if (nahrazeny) std::erase_if(z.kroky, [](const Krok& k) { return k.druh != Krok::Odlozeni; });
    if (!odvolane.empty()) {
        std::sort(odvolane.begin(), odvolane.end());
        std::erase_if(z.kroky, [&](const Krok& k) {
            return (k.druh == Krok::Soubor || k.druh == Krok::Odkaz || k.druh == Krok::Slozka ||
                    k.druh == Krok::Zapsany) &&
                   std::binary_search(odvolane.begin(), odvolane.end(), VelkaPismena(k.cesta));
        });
    }
    return z;
}

bool HodnotaAplikace(const std::wstring& nazev, bool cislo) {
    for (std::size_t n = cislo ? std::size(HodnotyAplikace) - CiselnychHodnot : 0; n < std::size(HodnotyAplikace); ++n)
        if (StejnyText(nazev, HodnotyAplikace[n])) return true;
    return false;
}

std::wstring KlicAplikace(const std::wstring& nazevSady) {
    return L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Instalace šablon - " + nazevSady;
}

std::wstring HlavickaZaznamu(bool odinstalace, const std::wstring& cil, const std::wstring& sada,
                             const std::wstring& slozkaOdkazu) {
    return Pridej(Pridej(Pridej(std::wstring(Hlavicka) + (odinstalace ? L"\tU" : L"\tI"), cil), sada), slozkaOdkazu);
}

std::optional<std::wstring> VadaSeznamu(const ZaznamBehu& z) {
    // As an install writes it: a full target and link folder, the files
    // directly in the target with what they held, the link directly in its
    // folder pointing to the target; no name such as "..".
    if (!z.platny || z.odinstalace || z.hotovo || RozeberCestu(z.cil).vada != VadaCesty::Zadna ||
        (!z.slozkaOdkazu.empty() && RozeberCestu(z.slozkaOdkazu).vada != VadaCesty::Zadna))
        return L"Setup mu nerozumí";
    for (const Krok& k : z.kroky)
        if (RozeberCestu(k.cesta).vada != VadaCesty::Zadna ||
            (k.druh == Krok::Soubor ? k.velikost < 0 || !PrimoVe(k.cesta, z.cil)
                                    : k.druh != Krok::Odkaz || !PrimoVe(k.cesta, z.slozkaOdkazu) ||
                                          !StejnyText(k.druha, z.cil)))
            return L"položka, kterou Setup do seznamu nezapisuje: „" + k.cesta + L"“";
    return std::nullopt;
}

ZaznamBehu NactiSeznam(ISoubory& soubory, const std::wstring& slozkaZaznamu, bool chranena, const std::wstring& nazev) {
    const std::wstring cesta = slozkaZaznamu + L"\\" + nazev + L"\\" + NazevSeznamu;
    ZaznamBehu z;
    // The file is read through no link; an elevated run's only from a
    // folder that only administrators may change.
    if (chranena) OverSlozkuZaznamu(soubory, slozkaZaznamu, true);
    std::optional<std::wstring> vada = L"chybí";
    if (!slozkaZaznamu.empty() && PlatnyNazevSlozky(nazev)) {
        if (const auto obsah = soubory.Nacti(cesta)) {
            z = PrectiZaznam(*obsah);
            // Named after its own set.
            vada = z.sada.ends_with(L"\\" + nazev) ? VadaSeznamu(z) : L"patří jiné sadě";
        }
    }
    if (vada)
        throw Chyba(CisloVlastniChyby, TitulekAplikace,
                    L"Seznam nainstalovaných šablon „" + cesta + L"“ nelze použít: " + *vada + L".");
    return z;
}

std::optional<std::wstring> VadaZaznamu(const ZaznamBehu& z, const std::wstring& slozkaZaznamu) {
    if (RozeberCestu(z.cil).vada != VadaCesty::Zadna) return L"cílová složka „" + z.cil + L"“ není platná";
    std::wstring cil = z.cil, odkazy = z.slozkaOdkazu;
    if (cil.back() == L'\\') cil.pop_back();
    if (!odkazy.empty()) {
        if (RozeberCestu(odkazy).vada != VadaCesty::Zadna) return L"složka zástupců „" + odkazy + L"“ není platná";
        if (odkazy.back() == L'\\') odkazy.pop_back();
    }
    // The set's own folder beside the records and its entry, named after
    // the set the record names: nothing of another set's, nothing else there.
    std::wstring slozkaSady, nazevSady;
    RozdelCestu(z.sada, slozkaSady, nazevSady);
    std::wstring kopie = L"?", program = kopie, seznam = kopie;   // "?": no path is one of them
    if (!slozkaZaznamu.empty() && PlatnyNazevSlozky(nazevSady)) {
        kopie = slozkaZaznamu + L"\\" + nazevSady;
        program = kopie + L"\\" + NazevKopie;
        seznam = kopie + L"\\" + NazevSeznamu;
    }
    const std::wstring klic = KlicAplikace(nazevSady);
    const auto mimo = [](const Krok& k) { return L"krok mimo cílovou složku a složku zástupců: „" + k.cesta + L"“"; };
    for (const Krok& k : z.kroky) {
        switch (k.druh) {
        case Krok::Slozka:
            if (!NaCesteK(k.cesta, cil) && (odkazy.empty() || !NaCesteK(k.cesta, odkazy)) && !StejnyText(k.cesta, kopie))
                return mimo(k);
            break;
        case Krok::Soubor:
            if (!PrimoVe(k.cesta, cil) && !StejnyText(k.cesta, program)) return mimo(k);
            break;
        case Krok::Zapsany:
            if (!StejnyText(k.cesta, seznam)) return mimo(k);
            break;
        case Krok::Odkaz:
            if (odkazy.empty() || !PrimoVe(k.cesta, odkazy) || !StejnyText(k.druha, cil)) return mimo(k);
            break;
        case Krok::Odlozeni:
            if (!PrimoVe(k.cesta, cil) && (odkazy.empty() || !PrimoVe(k.cesta, odkazy)) &&
                !StejnyText(k.cesta, program) && !StejnyText(k.cesta, seznam))
                return mimo(k);
            if (!JeZaloha(k.druha, k.cesta))
                return L"záloha „" + k.druha + L"“ neleží vedle souboru „" + k.cesta + L"“";
            break;
        case Krok::OdstranitSlozku:
            if (!StejnyText(k.cesta, cil) && !StejnyText(k.cesta, kopie)) return mimo(k);
            break;
        case Krok::Hodnota:
            if (k.koren == HKEY_CURRENT_USER_ && StejnyText(k.cesta, klic) && HodnotaAplikace(k.druha)) break;
            if (k.koren != HKEY_CURRENT_USER_ || !KlicOsobnichSablon(k.cesta, true) ||
                !StejnyText(k.druha, L"PersonalTemplates") || k.obnovit)
                return L"krok v registru mimo hodnotu PersonalTemplates a položku sady: „" + k.cesta + L"“";
            break;
        case Krok::Klic:
            // The entry's key, and those on the way to it that every
            // Windows has: made only where they were missing.
            if (k.koren == HKEY_CURRENT_USER_ && (StejnyText(k.cesta, klic) || StejnyText(k.cesta, KlicOdinstalace)))
                break;
            if (k.koren != HKEY_CURRENT_USER_ || !KlicOsobnichSablon(k.cesta, false))
                return L"krok v registru mimo hodnotu PersonalTemplates a položku sady: „" + k.cesta + L"“";
            break;
        default:
            return L"krok, který Setup nikdy nezapisuje: „" + k.cesta + L"“";
        }
    }
    return std::nullopt;
}

bool JenSpravci(const std::wstring& sddl) {
    std::wstring_view s = sddl;
    if (s.substr(0, 2) != L"O:") return false;
    const auto konecVlastnika = s.find(L':', 2);
    if (konecVlastnika == std::wstring_view::npos || konecVlastnika < 3) return false;
    if (!JeSpravce(s.substr(2, konecVlastnika - 3))) return false;
    const auto dacl = s.find(L"D:");
    if (dacl == std::wstring_view::npos) return false;
    s.remove_prefix(dacl + 2);
    // Inheriting nothing: the folder above may let others in.
    const auto prvni = s.find(L'(');
    if (s.substr(0, prvni).find(L'P') == std::wstring_view::npos) return false;
    bool nejaky = false;
    for (auto a = s.find(L'('); a != std::wstring_view::npos; a = s.find(L'(', a + 1)) {
        const auto b = s.find(L')', a);
        if (b == std::wstring_view::npos) return false;
        const std::wstring_view ace = s.substr(a + 1, b - a - 1);
        const auto typ = ace.substr(0, ace.find(L';'));
        const auto sid = ace.substr(ace.rfind(L';') + 1);
        if (typ == L"A" && !JeSpravce(sid)) return false;
        nejaky = true;
    }
    return nejaky;
}

void OverSlozkuZaznamu(ISoubory& soubory, const std::wstring& slozka, bool chranena) {
    for (const std::wstring& uroven : {NadrazenaSlozka(slozka), slozka}) {
        if (!chranena && uroven != slozka) continue;
        const auto atributy = soubory.Atributy(uroven);
        if (!atributy) continue;
        if (!(*atributy & AtributSlozka) || (*atributy & AtributOdkaz))
            throw Chyba(CisloVlastniChyby, TitulekAplikace,
                        L"Složka záznamů o průběhu instalace „" + uroven +
                            L"“ není obyčejná složka (je na jejím místě soubor nebo odkaz).");
        if (chranena && !JenSpravci(soubory.Zabezpeceni(uroven)))
            throw Chyba(CisloVlastniChyby, TitulekAplikace,
                        L"Do složky záznamů o průběhu instalace „" + uroven +
                            L"“ mohou zapisovat i jiní uživatelé než správci, proto jí Setup nevěří.");
    }
}

std::vector<std::wstring> ZaznamyVeSlozce(ISoubory& soubory, const std::wstring& slozka) {
    std::vector<std::pair<std::wstring, std::wstring>> zaznamy;   // number, name
    for (auto& p : soubory.Vypis(slozka + L"\\beh*.txt"))
        if (JeNazevZaznamu(p.nazev) && !(p.atributy & AtributSlozka))
            zaznamy.emplace_back(CisloNazvu(p.nazev), std::move(p.nazev));
    std::sort(zaznamy.begin(), zaznamy.end(), [](const auto& a, const auto& b) {
        if (a.first != b.first) return MensiCislo(b.first, a.first);
        return a.second > b.second;
    });
    std::vector<std::wstring> nazvy;
    for (auto& [cislo, nazev] : zaznamy) nazvy.push_back(std::move(nazev));
    return nazvy;
}

Denik::~Denik() { Ukonci(); }

void Denik::Zacni(const std::wstring& slozka, bool chranena, bool odinstalace, const std::wstring& cil,
                  const std::wstring& sada, const std::wstring& slozkaOdkazu) {
    Ukonci();
    slozka_ = slozka;
    try {
        OverSlozkuZaznamu(soubory_, slozka_, chranena);
        if (chranena) {
            const std::wstring nad = NadrazenaSlozka(slozka_);
            if (!soubory_.Atributy(nad)) soubory_.VytvorChranenouSlozku(nad, ZabezpeceniZaznamu);
        }
        if (!soubory_.Atributy(slozka_)) {
            if (chranena)
                soubory_.VytvorChranenouSlozku(slozka_, ZabezpeceniZaznamu);
            else
                soubory_.VytvorSlozku(slozka_);
            slozkaNova_ = true;
        }
    } catch (...) {
        Chyba chyba = ChybaZVyjimky();
        if (chyba.cislo != CisloVlastniChyby)
            chyba.popis = L"Složku záznamů o průběhu instalace „" + slozka_ + L"“ se nepodařilo vytvořit: " +
                          chyba.popis;
        throw chyba;
    }
    try {
        // Beside the records of killed runs that could not yet be finished:
        // the next number, the one after the highest there.
        std::wstring cislo;
        for (const auto& nazev : ZaznamyVeSlozce(soubory_, slozka_))
            if (const std::wstring c = CisloNazvu(nazev); MensiCislo(cislo, c)) cislo = c;
        for (int pokus = 0;; ++pokus) {
            cislo = Nasledujici(cislo);
            cesta_ = slozka_ + L"\\beh" + cislo + L".txt";
            try {
                soubor_ = soubory_.OtevriKPripisu(cesta_, Otevreni::Vylucny);
                break;
            } catch (const Chyba& chyba) {
                // A name taken meanwhile: the next one.
                if (chyba.cislo != CisloSouborExistuje || pokus >= 100) throw;
            }
        }
        Radek(HlavickaZaznamu(odinstalace, cil, sada, slozkaOdkazu));
    } catch (...) {
        Ukonci();
        throw;
    }
}

void Denik::Radek(const std::wstring& radek) {
    soubor_->Pripis(Utf8(radek + L"\n"));
}

void Denik::Zapis(const Krok& krok) { Radek(RadekKroku(krok)); }

void Denik::Zrus() { Radek(L"X"); }

void Denik::Vynut() { soubor_->Vynut(); }

void Denik::Hotovo() { Radek(L"H"); }

void Denik::OdvolejStarsi(const std::wstring& cil, const std::vector<std::wstring>& cesty) {
    if (!soubor_) return;
    std::wstring slozka, nazev;
    RozdelCestu(cesta_, slozka, nazev);
    std::vector<std::wstring> starsi = ZaznamyVeSlozce(soubory_, slozka_);
    std::erase_if(starsi, [&](const std::wstring& n) { return StejnyText(n, nazev); });
    if (starsi.empty()) return;
    // Every path the run wrote, and every folder above one.
    std::vector<std::wstring> napsane;
    for (const auto& c : cesty)
        for (std::wstring cesta = VelkaPismena(c); !cesta.empty(); cesta = NadrazenaSlozka(cesta))
            napsane.push_back(cesta);
    std::sort(napsane.begin(), napsane.end());
    napsane.erase(std::unique(napsane.begin(), napsane.end()), napsane.end());
    for (const auto& jiny : starsi) {
        const std::wstring cesta = slozka_ + L"\\" + jiny;
        std::optional<std::string> obsah;
        try {
            obsah = soubory_.Nacti(cesta);
        } catch (const Chyba& chyba) {
            // A run still going holds its record: it is no older one.
            if (chyba.cislo == CisloSdileni) continue;
            throw;
        }
        if (!obsah) continue;
        const ZaznamBehu z = PrectiZaznam(*obsah);
        std::wstring radky;
        if (z.platny && StejnyText(z.cil, cil)) radky = L"V\n";
        for (const Krok& k : radky.empty() ? z.kroky : std::vector<Krok>{}) {
            const bool jeho =
                k.druh == Krok::Soubor || k.druh == Krok::Odkaz || k.druh == Krok::Slozka || k.druh == Krok::Zapsany;
            if (jeho && std::binary_search(napsane.begin(), napsane.end(), VelkaPismena(k.cesta)))
                radky += L"Z\t" + Zakoduj(k.cesta) + L"\n";
        }
        if (!radky.empty()) {
            const auto pripis = soubory_.OtevriKPripisu(cesta);
            pripis->Pripis(Utf8(radky));
            pripis->Vynut();
        }
    }
}

void Denik::Ukonci() noexcept {
    if (!soubor_ && !slozkaNova_) return;
    try {
        if (soubor_) {
            soubor_.reset();
            if (!ponechat_) soubory_.SmazSoubor(cesta_);
        }
        // The folder goes when the record was the last thing in it.
        OdstranKdyzPrazdna(soubory_, slozka_);
    } catch (...) {
        // A record left behind is found by the next start, which finds
        // nothing in it to take back.
    }
    soubor_.reset();
    slozkaNova_ = false;
    ponechat_ = false;
}

bool JePrazdna(ISoubory& soubory, const std::wstring& slozka) {
    for (const auto& p : soubory.Vypis(slozka + L"\\*.*"))
        if (p.nazev != L"." && p.nazev != L"..") return false;
    return true;
}

bool OdstranPrazdnouSlozku(ISoubory& soubory, const std::wstring& slozka) {
    const auto atributy = soubory.Atributy(slozka);
    if (!atributy || !(*atributy & AtributSlozka)) return false;
    return OdstranKdyzPrazdna(soubory, slozka);
}

bool OdstranKdyzPrazdna(ISoubory& soubory, const std::wstring& slozka) {
    if (!JePrazdna(soubory, slozka)) return false;
    soubory.OdstranSlozku(slozka);
    return true;
}

bool SmazVytvoreny(ISoubory& soubory, const std::wstring& cesta) {
    const auto atributy = soubory.Atributy(cesta);
    if (!atributy || (*atributy & AtributSlozka)) return false;
    if (*atributy & AtributJenProCteni) soubory.NastavAtributy(cesta, *atributy & ~AtributJenProCteni);
    soubory.SmazSoubor(cesta);
    return true;
}

}  // namespace setup
