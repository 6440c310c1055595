#include "engine/Denik.h"

#include <optional>

#include "system/Text.h"

namespace setup {

namespace {

constexpr const wchar_t* Hlavicka = L"SETUP\t1";

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

}  // namespace

std::wstring RadekKroku(const Krok& krok) {
    std::wstring radek(1, static_cast<wchar_t>(krok.druh));
    switch (krok.druh) {
    case Krok::Hodnota:
        return Pridej(Pridej(Pridej(radek, TextCisla(krok.koren)), krok.cesta), krok.druha);
    case Krok::Klic:
    case Krok::SmazatKlic:
        return Pridej(Pridej(radek, TextCisla(krok.koren)), krok.cesta);
    case Krok::Odlozeni:
        return Pridej(Pridej(radek, krok.cesta), krok.druha);
    default:
        return Pridej(radek, krok.cesta);
    }
}

ZaznamBehu PrectiZaznam(std::string_view obsah) {
    ZaznamBehu z;
    bool prvni = true;
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
            if (p.size() < 5 || p[0] != L"SETUP" || p[1] != L"1" || (p[2] != L"I" && p[2] != L"U")) return z;
            z.platny = true;
            z.odinstalace = p[2] == L"U";
            z.cil = p[3];
            z.sada = p[4];
            continue;
        }
        if (p[0].size() != 1) continue;
        const wchar_t druh = p[0][0];
        Krok k;
        k.druh = static_cast<Krok::Druh>(druh);
        switch (druh) {
        case Krok::Slozka:
        case Krok::Soubor:
        case Krok::OdstranitSlozku:
            if (p.size() != 2) continue;
            k.cesta = p[1];
            break;
        case Krok::Odlozeni:
            if (p.size() != 3) continue;
            k.cesta = p[1];
            k.druha = p[2];
            break;
        case Krok::Hodnota:
        case Krok::Klic:
        case Krok::SmazatKlic: {
            if (p.size() != (druh == Krok::Hodnota ? 4u : 3u)) continue;
            const auto koren = Cislo(p[1]);
            if (!koren || *koren > 0xFFFFFFFFu) continue;
            k.koren = static_cast<uint32_t>(*koren);
            k.cesta = p[2];
            if (druh == Krok::Hodnota) k.druha = p[3];
            break;
        }
        case L'X':
            if (!z.kroky.empty()) z.kroky.pop_back();
            continue;
        case L'H':
            z.hotovo = true;
            continue;
        default:
            continue;
        }
        z.kroky.push_back(std::move(k));
    }
    return z;
}

Denik::~Denik() { Ukonci(); }

void Denik::Zacni(const std::wstring& slozka, bool chranena, bool odinstalace, const std::wstring& cil,
                  const std::wstring& sada, const std::wstring& slozkaOdkazu) {
    (void)chranena;
    (void)slozkaOdkazu;
    Ukonci();
    slozka_ = slozka;
    const auto atributy = soubory_.Atributy(slozka_);
    if (!atributy || !(*atributy & AtributSlozka)) {
        soubory_.VytvorSlozku(slozka_);
        slozkaNova_ = true;
    }
    try {
        // Beside the records of killed runs that could not yet be finished:
        // the next number.
        uint64_t posledni = 0;
        for (const auto& p : soubory_.Vypis(slozka_ + L"\\beh*.txt")) {
            const std::wstring& n = p.nazev;
            if (n.size() > 7 && StejnyText(n.substr(0, 3), L"beh") && StejnyText(n.substr(n.size() - 4), L".txt"))
                if (const auto c = Cislo(n.substr(3, n.size() - 7)); c && *c > posledni) posledni = *c;
        }
        cesta_ = slozka_ + L"\\beh" + TextCisla(static_cast<int64_t>(posledni + 1)) + L".txt";
        soubor_ = soubory_.OtevriKPripisu(cesta_);
        Radek(std::wstring(Hlavicka) + (odinstalace ? L"\tU\t" : L"\tI\t") + Zakoduj(cil) + L"\t" + Zakoduj(sada));
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

void Denik::Hotovo() { Radek(L"H"); }

void Denik::Ukonci() noexcept {
    if (!soubor_ && !slozkaNova_) return;
    try {
        if (soubor_) {
            soubor_.reset();
            soubory_.SmazSoubor(cesta_);
        }
        // The folder goes when the record was the last thing in it.
        std::size_t zbyva = 0;
        for (const auto& p : soubory_.Vypis(slozka_ + L"\\*.*"))
            if (p.nazev != L"." && p.nazev != L"..") ++zbyva;
        if (zbyva == 0) soubory_.OdstranSlozku(slozka_);
    } catch (...) {
        // A record left behind is found by the next start, which finds
        // nothing in it to take back.
    }
    soubor_.reset();
    slozkaNova_ = false;
}

bool OdstranPrazdnouSlozku(ISoubory& soubory, const std::wstring& slozka) {
    const auto atributy = soubory.Atributy(slozka);
    if (!atributy || !(*atributy & AtributSlozka)) return false;
    for (const auto& p : soubory.Vypis(slozka + L"\\*.*"))
        if (p.nazev != L"." && p.nazev != L"..") return false;
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

bool VratKrok(ISoubory& soubory, IRegistr& registr, const Krok& krok,
              const std::wstring* zalohaPuvodniho) {
    switch (krok.druh) {
    case Krok::Slozka: {
        const auto atributy = soubory.Atributy(krok.cesta);
        if (!atributy || !(*atributy & AtributSlozka)) return false;
        soubory.OdstranSlozku(krok.cesta);
        return true;
    }
    case Krok::Soubor:
        // A file that replaced one set aside is the run's only while the
        // backup is there; once the backup has returned, the name holds the
        // original again (a rollback killed half way, taken back anew).
        if (zalohaPuvodniho && !soubory.Atributy(*zalohaPuvodniho)) return false;
        return SmazVytvoreny(soubory, krok.cesta);
    case Krok::Odlozeni:
        // The backup is there until it has returned; whatever then stands
        // under the original name is not this run's, and the platform's
        // refusal to rename over it says so.
        if (!soubory.Atributy(krok.druha)) return false;
        soubory.Prejmenuj(krok.druha, krok.cesta);
        return true;
    case Krok::Hodnota:
        if (!registr.ExistujeHodnota(krok.koren, krok.cesta, krok.druha)) return false;
        if (!registr.SmazHodnotu(krok.koren, krok.cesta, krok.druha))
            throw Chyba(CisloVlastniChyby, TitulekAplikace,
                        L"Hodnotu „" + krok.druha + L"“ v klíči registru „" + krok.cesta +
                            L"“ se nepodařilo odstranit.");
        return true;
    case Krok::Klic:
        if (!registr.ExistujeKlic(krok.koren, krok.cesta)) return false;
        if (!registr.SmazPrazdnyKlic(krok.koren, krok.cesta))
            throw Chyba(CisloVlastniChyby, TitulekAplikace,
                        L"Klíč registru „" + krok.cesta + L"“ se nepodařilo odstranit.");
        return true;
    case Krok::SmazatKlic:
        registr.SmazKlic(krok.koren, krok.cesta);
        return true;
    case Krok::OdstranitSlozku:
        return false;
    }
    return false;
}

}  // namespace setup
