// How the install run scales: builds, executes and rolls back (or completes)
// plans of 10,000 and 100,000 files on the fake machine and prints the times
// and their ratio. Ten times the files should take about ten times as long;
// anything quadratic in the engine or the fake shows up as a ratio near 100.
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "FalesnyStroj.h"
#include "engine/Instalace.h"

using namespace setup;
using namespace setup::test;

namespace {

const std::wstring Zdroj = L"E:\\Dopisy";
const std::wstring Cil = L"C:\\Office\\Templates\\Dopisy";

// Processor time of this process in milliseconds: what other programs on the
// machine do does not count.
double CasProcesoru() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

std::wstring Jmeno(int i) { return L"sablona" + std::to_wstring(i) + L".dot"; }

struct Druh {
    const char* nazev;
    bool staraInstalace;   // the target already holds older copies of every file
    bool storno;           // Storno while the last file is copied: everything is taken back
};

struct Mereni {
    double ms;        // processor time of the run
    int64_t volani;   // calls the run made to the machine
};

Mereni Zmer(int pocet, const Druh& druh) {
    FalesnyStroj m;
    m.okna.zaznamenavat = false;
    m.okna.zasahy = nullptr;
    m.disk.PridejKoren(L"C:");
    m.disk.PridejKoren(L"E:");
    m.disk.Slozka(L"C:\\Office\\Templates");
    m.disk.Slozka(L"C:\\Users\\Jana\\AppData\\Roaming");
    for (int i = 0; i < pocet; ++i) {
        m.disk.Soubor(Zdroj + L"\\" + Jmeno(i), L"obsah", AtributJenProCteni);
        if (druh.staraInstalace) m.disk.Soubor(Cil + L"\\" + Jmeno(i), L"starý");
    }
    if (druh.storno) m.zasahy.StornovatNaCeste(Cil + L"\\" + Jmeno(pocet - 1), L"Kopiruj");

    m.disk.Slozka(L"C:\\Users\\Jana\\AppData\\Local");
    SlozkyInstalace slozky{Zdroj, Cil, L"C:\\Users\\Jana\\AppData\\Roaming\\Microsoft\\Šablony",
                           L"C:\\Users\\Jana\\AppData\\Local\\Instalace šablon", {}};
    m.okna.textSlozky = Cil;
    Stroj stroj = m.stroj();

    const double zacatek = CasProcesoru();
    Instaluj(stroj, slozky, Cil);
    const double konec = CasProcesoru();

    // The run must have done what it was measured for.
    const auto posledni = m.disk.Udaje(Cil + L"\\" + Jmeno(pocet - 1));
    const bool ok = druh.storno ? (druh.staraInstalace ? posledni && posledni->obsah == L"starý" : !posledni)
                                : posledni && posledni->obsah == L"obsah";
    if (!ok) std::fprintf(stderr, "chyba: běh \"%s\" s %d soubory neskončil, jak měl\n", druh.nazev, pocet);
    return {konec - zacatek, m.zasahy.volani};
}

// The best of a few runs: other work on the machine only ever adds time.
Mereni Nejlepsi(int pocet, const Druh& druh) {
    Mereni nejlepsi = Zmer(pocet, druh);
    for (int i = 1; i < 3; ++i) nejlepsi.ms = std::min(nejlepsi.ms, Zmer(pocet, druh).ms);
    return nejlepsi;
}

}  // namespace

int main() {
    const Druh druhy[] = {
        {"nova instalace", false, false},
        {"nova instalace, storno", false, true},
        {"prepsani stare instalace", true, false},
        {"prepsani stare instalace, storno", true, true},
    };
    std::printf("%-34s %12s %12s %7s %12s\n", "beh", "10 000 [ms]", "100 000 [ms]", "pomer", "pomer volani");
    for (const auto& druh : druhy) {
        const Mereni maly = Nejlepsi(10'000, druh);
        const Mereni velky = Nejlepsi(100'000, druh);
        std::printf("%-34s %12.1f %12.1f %7.1f %12.2f\n", druh.nazev, maly.ms, velky.ms, velky.ms / maly.ms,
                    static_cast<double>(velky.volani) / static_cast<double>(maly.volani));
    }
    std::printf("\nCasy jsou procesorovy cas behu (nejlepsi ze tri); pomer volani je pocet volani\n"
                "disku a shellu. Cas roste o neco rychleji nez pocet volani, protoze data\n"
                "100 000 souboru se uz nevejdou do vyrovnavacich pameti procesoru.\n");
    return 0;
}
