#include "engine/Obnova.h"

#include <algorithm>
#include <map>

#include "engine/Denik.h"
#include "system/Text.h"

namespace setup {

namespace {

std::wstring Popis(const Krok& k) {
    switch (k.druh) {
    case Krok::Slozka: return L"složka „" + k.cesta + L"“";
    case Krok::Odlozeni: return L"soubor „" + k.cesta + L"“ (původní je uložen jako „" + k.druha + L"“)";
    case Krok::Hodnota: return L"hodnota „" + k.druha + L"“ v klíči registru „" + k.cesta + L"“";
    case Krok::Klic:
    case Krok::SmazatKlic: return L"klíč registru „" + k.cesta + L"“";
    default: return L"soubor „" + k.cesta + L"“";
    }
}

// The number of a record's file name (beh7.txt gives 7); 0 for none.
uint64_t CisloZaznamu(const std::wstring& nazev) {
    if (nazev.size() <= 7 || !StejnyText(nazev.substr(0, 3), L"beh") ||
        !StejnyText(nazev.substr(nazev.size() - 4), L".txt"))
        return 0;
    uint64_t n = 0;
    for (std::size_t i = 3; i < nazev.size() - 4; ++i) {
        if (nazev[i] < L'0' || nazev[i] > L'9' || n > 1'000'000'000'000ull) return 0;
        n = n * 10 + static_cast<uint64_t>(nazev[i] - L'0');
    }
    return n;
}

// A run that stood: its backups go, and the folders a removal emptied.
bool Uklid(ISoubory& soubory, const ZaznamBehu& z) {
    bool hotovo = true;
    for (const Krok& k : z.kroky) {
        try {
            if (k.druh == Krok::Odlozeni) SmazVytvoreny(soubory, k.druha);
        } catch (...) {
            hotovo = false;
        }
    }
    for (const Krok& k : z.kroky) {
        try {
            if (k.druh == Krok::OdstranitSlozku) OdstranPrazdnouSlozku(soubory, k.cesta);
        } catch (...) {
            // A folder that cannot go stays, as the run would have left it.
        }
    }
    return hotovo;
}

// A run that did not stand: every step back, the last first. A step that
// cannot be taken back is noted and the rest go on; what depends on it
// (the folder it is in) then fails in its turn and is noted too.
bool VratBeh(ISoubory& soubory, IRegistr& registr, const ZaznamBehu& z, VysledekObnovy& v) {
    // Which backup each replaced file's copy stands over.
    std::map<std::wstring, std::wstring> zalohy;
    bool hotovo = true;
    std::vector<const std::wstring*> zalohaKroku(z.kroky.size(), nullptr);
    for (std::size_t i = 0; i < z.kroky.size(); ++i) {
        const Krok& k = z.kroky[i];
        if (k.druh == Krok::Odlozeni) zalohy[VelkaPismena(k.cesta)] = k.druha;
        if (k.druh == Krok::Soubor)
            if (const auto it = zalohy.find(VelkaPismena(k.cesta)); it != zalohy.end()) zalohaKroku[i] = &it->second;
    }
    for (std::size_t i = z.kroky.size(); i-- > 0;) {
        const Krok& k = z.kroky[i];
        try {
            if (!VratKrok(soubory, registr, k, zalohaKroku[i])) continue;
            switch (k.druh) {
            case Krok::Slozka: ++v.slozek; break;
            case Krok::Soubor: ++v.odstraneno; break;
            case Krok::Odlozeni: ++v.obnoveno; break;
            default: ++v.registru; break;
            }
        } catch (...) {
            const Chyba chyba = ChybaZVyjimky();
            v.zbyva.push_back(Popis(k) + L": " + chyba.popis);
            hotovo = false;
        }
    }
    return hotovo;
}

std::wstring Radky(const std::vector<std::wstring>& radky) {
    constexpr std::size_t Nejvic = 8;
    std::wstring text;
    for (std::size_t i = 0; i < radky.size() && i < Nejvic; ++i) text += L"\r\n– " + radky[i];
    if (radky.size() > Nejvic)
        text += L"\r\n– a dalších " + TextCisla(static_cast<int64_t>(radky.size() - Nejvic)) + L".";
    return text;
}

}  // namespace

VysledekObnovy DokonciPrerusene(ISoubory& soubory, IRegistr& registr, IShell& shell, const std::wstring& slozkaZaznamu,
                                 bool chranena) {
    (void)shell;
    (void)chranena;
    VysledekObnovy v;
    if (slozkaZaznamu.empty()) return v;
    try {
        const auto atributy = soubory.Atributy(slozkaZaznamu);
        if (!atributy || !(*atributy & AtributSlozka)) return v;
        // The latest run first: it may stand on what an earlier one left.
        std::vector<std::pair<uint64_t, std::wstring>> zaznamy;
        for (const auto& p : soubory.Vypis(slozkaZaznamu + L"\\beh*.txt"))
            if (const uint64_t n = CisloZaznamu(p.nazev); n != 0 && !(p.atributy & AtributSlozka))
                zaznamy.emplace_back(n, p.nazev);
        std::sort(zaznamy.rbegin(), zaznamy.rend());
        for (const auto& [n, nazev] : zaznamy) {
            const std::wstring cesta = slozkaZaznamu + L"\\" + nazev;
            bool hotovo = false;
            try {
                const auto obsah = soubory.Nacti(cesta);
                if (!obsah) continue;
                const ZaznamBehu z = PrectiZaznam(*obsah);
                if (z.prazdny) {
                    // Killed before its first line: the run had not begun.
                    SmazVytvoreny(soubory, cesta);
                    continue;
                }
                if (!z.platny) {
                    // Not a record this program can read: it stays, untouched.
                    v.zbyva.push_back(L"záznam „" + cesta + L"“, kterému Setup nerozumí");
                    continue;
                }
                if (z.hotovo) {
                    hotovo = Uklid(soubory, z);
                } else {
                    if (!z.kroky.empty()) {
                        v.cile.push_back(z.cil);
                        v.odinstalace = z.odinstalace;
                    }
                    hotovo = VratBeh(soubory, registr, z, v);
                }
                if (hotovo) SmazVytvoreny(soubory, cesta);
            } catch (...) {
                const Chyba chyba = ChybaZVyjimky();
                v.zbyva.push_back(L"záznam „" + cesta + L"“: " + chyba.popis);
            }
        }
        // The folder goes once it holds nothing.
        std::size_t zbyva = 0;
        for (const auto& p : soubory.Vypis(slozkaZaznamu + L"\\*.*"))
            if (p.nazev != L"." && p.nazev != L"..") ++zbyva;
        if (zbyva == 0) soubory.OdstranSlozku(slozkaZaznamu);
    } catch (...) {
        const Chyba chyba = ChybaZVyjimky();
        v.zbyva.push_back(L"složka „" + slozkaZaznamu + L"“: " + chyba.popis);
    }
    return v;
}

bool OznamObnovu(IHlaseni& hlaseni, const VysledekObnovy& v, const std::wstring& slozkaZaznamu) {
    if (!v.NecoVraceno() && v.zbyva.empty()) return false;
    std::wstring text;
    if (!v.cile.empty()) {
        text = v.odinstalace ? L"Předchozí odebírání šablon ze složky „" : L"Předchozí instalace šablon do složky „";
        text += v.cile.front() + L"“";
        for (std::size_t i = 1; i < v.cile.size(); ++i) text += L" a „" + v.cile[i] + L"“";
        text += L" nebyla dokončena: program byl ukončen dříve, než doběhl.";
    }
    if (v.NecoVraceno()) {
        text += (text.empty() ? L"" : L" ") + std::wstring(L"Setup vrátil počítač do stavu před ní.");
        if (v.obnoveno) text += L"\r\n\r\nObnovené původní soubory: " + TextCisla(v.obnoveno) + L".";
        if (v.odstraneno || v.slozek) {
            text += L"\r\nOdstraněné soubory: " + TextCisla(v.odstraneno) + L", složky: " + TextCisla(v.slozek) + L".";
        }
        if (v.registru) text += L"\r\nOdstraněné položky registru: " + TextCisla(v.registru) + L".";
    }
    if (!v.zbyva.empty()) {
        text += (text.empty() ? L"" : L"\r\n\r\n") + std::wstring(L"Tyto změny se nepodařilo vrátit:") +
                Radky(v.zbyva) + L"\r\n\r\nZáznam o nich zůstává ve složce „" + slozkaZaznamu +
                L"“ a Setup je zkusí vrátit znovu při příštím spuštění.";
    }
    hlaseni.Zprava(text, TitulekAplikace, v.zbyva.empty() ? StylInformace : StylVarovani);
    return true;
}

}  // namespace setup
