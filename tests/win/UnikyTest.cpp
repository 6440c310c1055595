// Ten thousand calls of each registry operation and of the link writer leave
// the process with the handles it had.
#include <windows.h>

#include <gtest/gtest.h>

#include "Pomoc.h"
#include "win32/Win32.h"

namespace setup {
namespace {

using test::PocetUchytu;

constexpr int Opakovani = 10000;
constexpr uint32_t HKCU = HKEY_CURRENT_USER_;

TEST(Uniky, HandleCountingSeesAnOpenKey) {
    // Without this the tests below could pass by counting nothing.
    const long predtim = PocetUchytu();
    ASSERT_GT(predtim, 0);
    KlicRegistru klic;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, klic.put()), ERROR_SUCCESS);
    EXPECT_EQ(PocetUchytu(), predtim + 1);
    klic.reset();
    EXPECT_EQ(PocetUchytu(), predtim);
}

TEST(Uniky, RegistryOperationsCloseEveryKey) {
    test::TestovaciKlic klic;
    test::ZaznamHlaseni hlaseni;
    Win32Registr registr;
    klic.NastavText(L"text", L"  C:\\Office  ");
    klic.NastavCislo(L"cislo", 42);
    klic.Nastav(L"v", REG_SZ, L"", 2, L"Plna\\Podklic");
    const std::wstring hodnota = L"x";
    // Warm up every path once: the first calls open lasting handles of the
    // system's own, and the first exception thrown sets up the unwinder's.
    registr.CtiRegistr(HKCU, klic.Cesta(), L"text");
    registr.ZapisRegistr(HKCU, klic.Cesta(L"Nova"), L"v", &hodnota);
    test::SmazKlic(registr, hlaseni, HKCU, klic.Cesta(L"Nova"));
    test::SmazKlic(registr, hlaseni, HKCU, klic.Cesta(L"Missing"));
    test::SmazKlic(registr, hlaseni, HKCU, klic.Cesta(L"Plna"));
    hlaseni.zpravy.clear();
    const long predtim = PocetUchytu();

    for (int i = 0; i < Opakovani; ++i) {
        ASSERT_EQ(registr.CtiRegistr(HKCU, klic.Cesta(), L"text"), L"C:\\Office");
        registr.CtiRegistr(HKCU, klic.Cesta(), L"missing");            // open, query fails
        registr.CtiRegistr(HKCU, klic.Cesta(L"Missing"), L"text");     // open fails
    }
    EXPECT_EQ(PocetUchytu(), predtim) << "CtiRegistr";
    for (int i = 0; i < Opakovani; ++i) {
        ASSERT_TRUE(registr.ZapisRegistr(HKCU, klic.Cesta(L"Nova"), L"v", &hodnota));   // creates
        ASSERT_TRUE(registr.ZapisRegistr(HKCU, klic.Cesta(), L"cislo", nullptr, i));     // opens
        test::SmazKlic(registr, hlaseni, HKCU, klic.Cesta(L"Nova"));                                     // deletes
    }
    EXPECT_EQ(PocetUchytu(), predtim) << "ZapisRegistr, SmazKlic";
    for (int i = 0; i < Opakovani; ++i) {
        test::SmazKlic(registr, hlaseni, HKCU, klic.Cesta(L"Missing"));   // the open fails
        test::SmazKlic(registr, hlaseni, HKCU, klic.Cesta(L"Plna"));      // the delete fails
    }
    EXPECT_EQ(PocetUchytu(), predtim) << "SmazKlic failing";
    EXPECT_EQ(hlaseni.zpravy.size(), 2u * Opakovani);
}

TEST(Uniky, LinkWriterReleasesEverything) {
    test::TestovaciSlozka slozka;
    test::ZaznamHlaseni hlaseni;
    Win32Shell shell;
    slozka.Slozka(L"Cil");
    shell.VytvorZastupce(slozka.Cesta(), L"a.lnk", slozka.Cesta(L"Cil"), L"", L"", L"", 5);
    const long predtim = PocetUchytu();
    // Every other call cannot save: both ways out of the routine are taken.
    for (int i = 0; i < Opakovani; ++i) {
        shell.VytvorZastupce(i % 2 ? slozka.Cesta(L"Missing") : slozka.Cesta(), L"a.lnk",
                             slozka.Cesta(L"Cil"), L"", L"", L"", 5);
    }
    EXPECT_EQ(PocetUchytu(), predtim);
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

TEST(Uniky, FileOperationsCloseTheirFindAndFileHandles) {
    test::TestovaciSlozka slozka;
    slozka.Zapis(L"a.dot", "x");
    const std::wstring a = slozka.Cesta(L"a.dot");
    const auto kolo = [&](Win32Soubory& soubory) {
        soubory.Vypis(slozka.Cesta(L"*.*"));
        soubory.Vypis(slozka.Cesta(L"*.xyz"));
        soubory.StejnySoubor(a, slozka.Cesta(L"A.DOT"));
        soubory.StejnySoubor(a, slozka.Cesta(L"missing"));
        soubory.Kopiruj(a, slozka.Cesta(L"b.dot"), nullptr);
        soubory.SmazSoubor(slozka.Cesta(L"b.dot"));
        try {
            soubory.SmazSoubor(slozka.Cesta(L"missing"));
        } catch (const Chyba&) {
        }
    };
    Win32Soubory zahrati;   // the first calls open lasting handles of the system's own
    kolo(zahrati);
    const long predtim = PocetUchytu();
    {
        // The copies' thread and its event go with the object.
        Win32Soubory soubory;
        for (int i = 0; i < 1000; ++i) kolo(soubory);
    }
    EXPECT_EQ(PocetUchytu(), predtim);
}

}  // namespace
}  // namespace setup
