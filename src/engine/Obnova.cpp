#include "engine/Obnova.h"

#include <optional>

#include "engine/Denik.h"
#include "engine/Vraceni.h"
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

// A run that stood: its backups go, and the folders and the entry's key a
// removal emptied. A backup whose original name holds nothing is the only
// copy left (a copy lost to a power cut before it reached the disk): it
// returns instead.
bool Uklid(ISoubory& soubory, IRegistr& registr, const ZaznamBehu& z) {
    bool hotovo = true;
    for (const Krok& k : z.kroky) {
        try {
            if (k.druh != Krok::Odlozeni) continue;
            if (!z.odinstalace && soubory.Atributy(k.druha) && !soubory.Atributy(k.cesta))
                soubory.Prejmenuj(k.druha, k.cesta);
            else
                SmazVytvoreny(soubory, k.druha);
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
        // So does the key of an entry the removal emptied, tried this once.
        if (z.odinstalace && k.druh == Krok::Hodnota && k.obnovit) registr.SmazPrazdnyKlic(k.koren, k.cesta);
    }
    return hotovo;
}

// The recovery's account of one walk back.
class SledovaniObnovy final : public ISledovaniNavratu {
public:
    explicit SledovaniObnovy(VysledekObnovy& v) : v_(v) {}
    bool hotovo = true;

    void Vraceno(const Krok& k, const Navrat& n) override {
        switch (n.druh) {
        case Navrat::Nic: return;
        case Navrat::Ponechano:
            v_.ponechano.push_back(k.druh == Krok::Slozka ? L"složka „" + k.cesta + L"“ s vašimi soubory"
                                                          : Popis(k) + L", který jste od té doby změnili");
            return;
        case Navrat::Vedle:
            v_.ponechano.push_back(L"soubor „" + k.cesta + L"“ jste od té doby změnili; původní soubor je nyní „" +
                                   n.vedle + L"“");
            ++v_.obnoveno;
            return;
        case Navrat::Vraceno: break;
        }
        switch (k.druh) {
        case Krok::Slozka: ++v_.slozek; break;
        case Krok::Soubor:
        case Krok::Zapsany:
        case Krok::Odkaz: ++v_.odstraneno; break;
        case Krok::Odlozeni: ++v_.obnoveno; break;
        default: ++v_.registru; break;
        }
    }
    void Selhalo(const Krok& k, const Chyba& chyba, const std::wstring&) override {
        v_.zbyva.push_back(Popis(k) + L": " + chyba.popis);
        hotovo = false;
    }

private:
    VysledekObnovy& v_;
};

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
    VysledekObnovy v;
    if (slozkaZaznamu.empty()) return v;
    try {
        const auto atributy = soubory.Atributy(slozkaZaznamu);
        if (!atributy) return v;
        OverSlozkuZaznamu(soubory, slozkaZaznamu, chranena);
        // The latest run first: it may stand on what an earlier one left.
        for (const std::wstring& nazev : ZaznamyVeSlozce(soubory, slozkaZaznamu)) {
            const std::wstring cesta = slozkaZaznamu + L"\\" + nazev;
            try {
                std::optional<std::string> obsah;
                try {
                    obsah = soubory.Nacti(cesta);
                } catch (const Chyba& chyba) {
                    // The record of a run still going, in another logon
                    // session: it is that run's.
                    if (chyba.cislo == CisloSdileni) continue;
                    throw;
                }
                if (!obsah) continue;
                const ZaznamBehu z = PrectiZaznam(*obsah);
                if (z.prazdny) {
                    // Killed before its first line: the run had not begun.
                    SmazVytvoreny(soubory, cesta);
                    continue;
                }
                std::optional<std::wstring> vada;
                if (!z.platny) vada = L"Setup mu nerozumí";
                if (!vada) vada = VadaZaznamu(z, slozkaZaznamu);
                if (vada) {
                    // Not carried out at all, and put aside so that it is
                    // named this once, not at every start.
                    std::wstring stranou = cesta + L".odmitnuto";
                    try {
                        soubory.Prejmenuj(cesta, stranou);
                    } catch (...) {
                        stranou = cesta;
                    }
                    v.odmitnuto.push_back(L"záznam „" + stranou + L"“: " + *vada);
                    continue;
                }
                bool hotovo = false;
                if (z.hotovo) {
                    hotovo = Uklid(soubory, registr, z);
                } else {
                    if (!z.kroky.empty()) {
                        v.cile.push_back(z.cil);
                        v.odinstalace = z.odinstalace;
                    }
                    SledovaniObnovy sledovani(v);
                    std::vector<Krok> kroky = z.kroky;
                    if (!kroky.empty() && kroky.back().druh == Krok::Soubor) kroky.back().nedokonceny = true;
                    VratKroky(soubory, registr, shell, kroky, sledovani);
                    hotovo = sledovani.hotovo;
                }
                if (hotovo) SmazVytvoreny(soubory, cesta);
            } catch (...) {
                const Chyba chyba = ChybaZVyjimky();
                v.zbyva.push_back(L"záznam „" + cesta + L"“: " + chyba.popis);
            }
        }
        // The folder goes once it holds nothing.
        OdstranKdyzPrazdna(soubory, slozkaZaznamu);
    } catch (...) {
        const Chyba chyba = ChybaZVyjimky();
        v.zbyva.push_back(L"složka „" + slozkaZaznamu + L"“: " + chyba.popis);
    }
    return v;
}

bool OznamObnovu(IHlaseni& hlaseni, const VysledekObnovy& v, const std::wstring& slozkaZaznamu) {
    if (!v.JeCoHlasit()) return false;
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
    if (!v.ponechano.empty()) {
        text += (text.empty() ? L"" : L"\r\n\r\n") +
                std::wstring(L"Toto jste od té doby změnili nebo jste do toho uložili své soubory, proto to "
                             L"zůstalo na místě:") +
                Radky(v.ponechano);
    }
    if (!v.odmitnuto.empty()) {
        text += (text.empty() ? L"" : L"\r\n\r\n") +
                std::wstring(L"Tyto záznamy Setup neprovedl, protože nepopisují žádnou jeho instalaci; "
                             L"zůstávají na disku, aby je mohl posoudit správce:") +
                Radky(v.odmitnuto);
    }
    if (!v.zbyva.empty()) {
        text += (text.empty() ? L"" : L"\r\n\r\n") + std::wstring(L"Tyto změny se nepodařilo vrátit:") +
                Radky(v.zbyva) + L"\r\n\r\nZáznam o nich zůstává ve složce „" + slozkaZaznamu +
                L"“ a Setup je zkusí vrátit znovu při příštím spuštění.";
    }
    hlaseni.Zprava(text, TitulekAplikace, v.zbyva.empty() && v.odmitnuto.empty() ? StylInformace : StylVarovani);
    return true;
}

}  // namespace setup
