#include "engine/Vraceni.h"

#include <algorithm>
#include <utility>

#include "system/Text.h"

namespace setup {

namespace {

// How far apart two last-write times may be and still be one: FAT keeps
// them to two seconds.
constexpr int64_t TolerancecCasu = 2 * 10'000'000;

}  // namespace

bool JeKopieBehu(const Polozka& p, const Krok& krok) {
    if (krok.velikost < 0) return false;
    if ((krok.nedokonceny || krok.druh == Krok::Zapsany) && p.velikost <= krok.velikost) return true;
    const int64_t rozdil = p.casZmeny > krok.cas ? p.casZmeny - krok.cas : krok.cas - p.casZmeny;
    return p.velikost == krok.velikost && rozdil <= TolerancecCasu;
}

namespace {

Navrat Vraceno() { return {Navrat::Vraceno, {}}; }
Navrat Ponechano() { return {Navrat::Ponechano, {}}; }

}  // namespace

Chyba ChybaHodnoty(const Krok& krok, const wchar_t* co) {
    return Chyba(CisloVlastniChyby, TitulekAplikace,
                 L"Hodnotu „" + krok.druha + L"“ v klíči registru „" + krok.cesta + L"“ se nepodařilo " + co + L".");
}

std::wstring NazevPuvodniho(const std::wstring& cesta, int n) {
    const auto lomitko = cesta.rfind(L'\\');
    auto tecka = cesta.rfind(L'.');
    if (tecka == std::wstring::npos || (lomitko != std::wstring::npos && tecka < lomitko)) tecka = cesta.size();
    const std::wstring pripona = n > 1 ? L" (původní " + TextCisla(n) + L")" : std::wstring(L" (původní)");
    return cesta.substr(0, tecka) + pripona + cesta.substr(tecka);
}

Navrat VratKrok(ISoubory& soubory, IRegistr& registr, IShell& shell, const Krok& krok,
                const std::wstring* zalohaPuvodniho) {
    switch (krok.druh) {
    case Krok::Slozka: {
        const auto atributy = soubory.Atributy(krok.cesta);
        if (!atributy || !(*atributy & AtributSlozka)) return {};
        // Something put there since is the user's, and so is the folder.
        return OdstranKdyzPrazdna(soubory, krok.cesta) ? Vraceno() : Ponechano();
    }
    case Krok::Soubor:
    case Krok::Zapsany:
    case Krok::Odkaz: {
        // A file that replaced one set aside is the run's only while the
        // backup is there; once the backup has returned, the name holds the
        // original again (a rollback killed half way, taken back anew).
        if (zalohaPuvodniho && !soubory.Atributy(*zalohaPuvodniho)) return {};
        const auto p = soubory.Vlastnosti(krok.cesta);
        if (!p || (p->atributy & AtributSlozka)) return {};
        const bool behu = krok.druh == Krok::Odkaz ? shell.OdkazVedeDo(krok.cesta, krok.druha) : JeKopieBehu(*p, krok);
        if (!behu) return Ponechano();
        if (p->atributy & AtributJenProCteni) soubory.NastavAtributy(krok.cesta, p->atributy & ~AtributJenProCteni);
        soubory.SmazSoubor(krok.cesta);
        return Vraceno();
    }
    case Krok::Odlozeni: {
        // The backup is there until it has returned.
        if (!soubory.Atributy(krok.druha)) return {};
        if (!soubory.Atributy(krok.cesta)) {
            soubory.Prejmenuj(krok.druha, krok.cesta);
            return Vraceno();
        }
        // The name holds the user's file now: the original comes back
        // beside it, under a name the user sees.
        for (int n = 1;; ++n) {
            std::wstring vedle = NazevPuvodniho(krok.cesta, n);
            if (soubory.Atributy(vedle)) continue;
            soubory.Prejmenuj(krok.druha, vedle);
            return {Navrat::Vedle, std::move(vedle)};
        }
    }
    case Krok::Hodnota:
        if (krok.obnovit) {
            // A value of the entry that was there comes back as it was.
            if (registr.ExistujeHodnota(krok.koren, krok.cesta, krok.druha) &&
                registr.CtiRegistr(krok.koren, krok.cesta, krok.druha) == krok.text)
                return {};
            const bool cislo = HodnotaAplikace(krok.druha, true);
            uint32_t c = 0;
            for (const wchar_t z : cislo ? krok.text : L"") c = c * 10 + static_cast<uint32_t>(z - L'0');
            if (!registr.ZapisRegistr(krok.koren, krok.cesta, krok.druha, cislo ? nullptr : &krok.text,
                                     static_cast<int32_t>(c)))
                throw ChybaHodnoty(krok, L"obnovit");
            return Vraceno();
        }
        if (!registr.ExistujeHodnota(krok.koren, krok.cesta, krok.druha)) return {};
        // A value set to something else since is the user's or a policy's.
        if (!krok.text.empty() && registr.CtiRegistr(krok.koren, krok.cesta, krok.druha) != krok.text)
            return Ponechano();
        if (!registr.SmazHodnotu(krok.koren, krok.cesta, krok.druha)) throw ChybaHodnoty(krok, L"odstranit");
        return Vraceno();
    case Krok::Klic:
        if (!registr.ExistujeKlic(krok.koren, krok.cesta)) return {};
        if (!registr.SmazPrazdnyKlic(krok.koren, krok.cesta))
            throw Chyba(CisloVlastniChyby, TitulekAplikace,
                        L"Klíč registru „" + krok.cesta + L"“ se nepodařilo odstranit.");
        return Vraceno();
    case Krok::SmazatKlic:
        registr.SmazKlic(krok.koren, krok.cesta);
        return Vraceno();
    case Krok::OdstranitSlozku:
        return {};
    }
    return {};
}

void VratKroky(ISoubory& soubory, IRegistr& registr, IShell& shell, const std::vector<Krok>& kroky,
               ISledovaniNavratu& sledovani) {
    // Which backup each replaced file's copy stands over: the one set
    // aside from its name last before it.
    std::vector<std::pair<std::wstring, std::size_t>> odlozene;   // folded path, step
    for (std::size_t i = 0; i < kroky.size(); ++i)
        if (kroky[i].druh == Krok::Odlozeni) odlozene.emplace_back(VelkaPismena(kroky[i].cesta), i);
    std::sort(odlozene.begin(), odlozene.end());
    std::vector<const std::wstring*> zalohaKroku(kroky.size(), nullptr);
    for (std::size_t i = 0; !odlozene.empty() && i < kroky.size(); ++i) {
        if (kroky[i].druh != Krok::Soubor && kroky[i].druh != Krok::Odkaz && kroky[i].druh != Krok::Zapsany) continue;
        const std::wstring cesta = VelkaPismena(kroky[i].cesta);
        auto it = std::lower_bound(odlozene.begin(), odlozene.end(), std::make_pair(cesta, i));
        if (it != odlozene.begin() && (--it)->first == cesta) zalohaKroku[i] = &kroky[it->second].druha;
    }
    for (std::size_t i = kroky.size(); i-- > 0;) {
        const Krok& k = kroky[i];
        try {
            sledovani.Vraceno(k, VratKrok(soubory, registr, shell, k, zalohaKroku[i]));
        } catch (...) {
            std::wstring dovetek;   // what the failing step leaves
            const std::wstring puvodni =
                zalohaKroku[i] ? L" Původní soubor zůstal uložen jako „" + *zalohaKroku[i] + L"“." : L"";
            switch (k.druh) {
            case Krok::Slozka: dovetek = L"Složku „" + k.cesta + L"“ se nepodařilo odstranit."; break;
            case Krok::Soubor:
            case Krok::Zapsany:
            case Krok::Odkaz: dovetek = L"Soubor „" + k.cesta + L"“ se nepodařilo odstranit." + puvodni; break;
            case Krok::Odlozeni:
                dovetek = L"Soubor „" + k.cesta + L"“ se nepodařilo obnovit. Původní soubor zůstal uložen jako „" +
                          k.druha + L"“.";
                break;
            default: break;
            }
            sledovani.Selhalo(k, ChybaZVyjimky(), dovetek);
        }
    }
}

}  // namespace setup
