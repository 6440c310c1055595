// Shared pieces of the install-run tests: the events the user sees, and a
// machine with the medium in E:\ and the set E:\Dopisy.
#pragma once

#include <string>
#include <vector>

#include "FalesnyStroj.h"
#include "engine/Beh.h"
#include "engine/Instalace.h"
#include "system/Text.h"

namespace setup::test {

inline const std::wstring Priprava = L"Připravuje se instalace.";
inline const std::wstring Titulek = TitulekHlavnihoOkna;

inline Udalost H(std::wstring text, int32_t hotovo, int32_t celkem) {
    return {Udalost::Hlaska, std::move(text), hotovo, celkem};
}
inline Udalost Box(std::wstring text) { return {Udalost::Zprava, std::move(text), 0, 0, L"Setup", 16}; }
inline const Udalost Dokonceno{Udalost::Zprava, L"Instalace byla úspěšně dokončena.", 0, 0, Titulek, 64};
inline const Udalost Skryj{Udalost::Skryj};
inline const Udalost Zobraz{Udalost::Zobraz};
inline const Udalost Uvolni{Udalost::Uvolni};
inline const Udalost Zakaz{Udalost::ZakazStorno};
inline const Udalost Zavri = H(L"", 0, 0);

inline std::vector<Udalost> operator+(std::vector<Udalost> a, const std::vector<Udalost>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Time stamps: older than the medium's files, and the medium's.
inline constexpr int64_t CasStary = 120000000000000000;
inline constexpr int64_t CasMedia = 125000000000000000;

// Where runs keep their record.
inline const std::wstring SlozkaZaznamu = L"C:\\Users\\Jana\\AppData\\Local\\Instalace šablon";

struct Instalator {
    FalesnyStroj m;
    SlozkyInstalace slozky;
    bool odebrat = false;   // Spust removes the set instead

    Instalator() {
        m.disk.PridejKoren(L"C:");
        m.disk.PridejKoren(L"E:");
        m.disk.Soubor(L"E:\\Setup.exe", L"program", AtributJenProCteni, CasMedia);
        m.disk.Slozka(L"E:\\Dopisy", AtributJenProCteni);
        slozky.ZdrojSlozka = L"E:\\Dopisy";
        slozky.CilSlozka = L"C:\\Office\\Templates\\Dopisy";
        slozky.SlozkaZaznamu = SlozkaZaznamu;
        m.okna.textSlozky = slozky.CilSlozka;
        m.disk.Slozka(L"C:\\Office\\Templates");
        m.disk.Slozka(L"C:\\Users\\Jana\\AppData\\Local");
    }
    // A template on the medium: read-only, as on a CD.
    void Sablona(const std::wstring& jmeno, const std::wstring& obsah = {}) {
        m.disk.Soubor(L"E:\\Dopisy\\" + jmeno, obsah.empty() ? L"nový " + jmeno : obsah,
                      AtributJenProCteni, CasMedia);
    }
    void ZadejCil(const std::wstring& cesta) { m.okna.textSlozky = cesta; }
    void Zastupci(const std::wstring& cesta = L"C:\\Users\\Jana\\AppData\\Roaming\\Microsoft\\Šablony") {
        slozky.SlozkaZastupcu = cesta;
    }
    Vysledek Spust() {
        Stroj s = m.stroj();
        return m.okna.Spust([&] {
            return odebrat ? Odeber(s, slozky, m.okna.textSlozky) : Instaluj(s, slozky, m.okna.textSlozky);
        });
    }
    Vysledek SpustPlan(Plan plan) {
        Stroj s = m.stroj();
        return m.okna.Spust([&] { return BehInstalace(s, slozky, std::move(plan)).Spust(slozky.CilSlozka); });
    }
};

inline Objekt Zaznam(TypAkce typ, std::wstring nazev, std::wstring zdroj, std::wstring cil,
                     int32_t prepsat = 0) {
    Objekt o;
    o.Typ = typ;
    o.Nazev = std::move(nazev);
    o.ZdrojovaSlozka = std::move(zdroj);
    o.CilovaSlozka = std::move(cil);
    o.Prepsat = prepsat;
    return o;
}

}  // namespace setup::test
