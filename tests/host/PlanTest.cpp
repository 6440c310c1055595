#include <gtest/gtest.h>

#include "Scenar.h"

namespace setup::test {
namespace {

class PlanTest : public testing::Test, protected Instalator {
protected:
    bool Sestav() {
        Stroj s = m.stroj();
        beh_ = std::make_unique<BehInstalace>(s, slozky);
        return beh_->Sestav();
    }
    const Plan& plan() const { return beh_->plan(); }

    std::unique_ptr<BehInstalace> beh_;
};

void OcekavejSlozku(const Objekt& o, const std::wstring& nazev, const std::wstring& cil) {
    EXPECT_EQ(o.Typ, TypSlozka);
    EXPECT_EQ(o.Nazev, nazev);
    EXPECT_EQ(o.ZdrojovaSlozka, L"");
    EXPECT_EQ(o.CilovaSlozka, cil);
    EXPECT_EQ(o.Prepsat, PrepsatNikdy);
    EXPECT_EQ(o.Velikost, 0);
}

void OcekavejSoubor(const Objekt& o, const std::wstring& nazev, const std::wstring& cil,
                    int64_t velikost) {
    EXPECT_EQ(o.Typ, TypSoubor);
    EXPECT_EQ(o.Nazev, nazev);
    EXPECT_EQ(o.ZdrojovaSlozka, L"E:\\Dopisy");
    EXPECT_EQ(o.CilovaSlozka, cil);
    EXPECT_EQ(o.Prepsat, PrepsatVzdy);
    EXPECT_EQ(o.Velikost, velikost);
}

void OcekavejNic(const Objekt& o) {
    EXPECT_EQ(o.HKey, 0u);
    EXPECT_EQ(o.Hodnota, L"");
    EXPECT_EQ(o.Ikona, L"");
    EXPECT_FALSE(o.Undo);
}

TEST_F(PlanTest, BezSlozkyZastupcu) {
    Sablona(L"b.dot", L"12345");
    m.disk.Soubor(L"E:\\Dopisy\\a.dot", L"123", 0, CasMedia);
    m.disk.Soubor(L"E:\\Dopisy\\skryty.dot", L"x", AtributSkryty);
    m.disk.Soubor(L"E:\\Dopisy\\systemovy.dot", L"x", AtributSystemovy);
    m.disk.Slozka(L"E:\\Dopisy\\Podslozka");
    m.disk.Soubor(L"E:\\Dopisy\\Podslozka\\c.dot", L"x");
    m.okna.stornovano = true;   // left over from an earlier run

    ASSERT_TRUE(Sestav());
    ASSERT_EQ(plan().Pocet(), 3);
    OcekavejSlozku(plan()(1), L"Šablony", L"C:\\Office\\Templates\\Dopisy");
    OcekavejSoubor(plan()(2), L"b.dot", L"C:\\Office\\Templates\\Dopisy", 5);
    OcekavejSoubor(plan()(3), L"a.dot", L"C:\\Office\\Templates\\Dopisy", 3);
    for (int32_t i = 1; i <= 3; ++i) OcekavejNic(plan()(i));
    EXPECT_EQ(m.okna.udalosti, (std::vector<Udalost>{H(Priprava, 1, 3), Skryj, H(Priprava, 2, 3)}));
    EXPECT_FALSE(m.okna.Stornovano());
}

TEST_F(PlanTest, SeSlozkouZastupcuAOdkazem) {
    Sablona(L"a.dot");
    Zastupci();
    ZadejCil(L"D:\\Sablony\\Moje dopisy\\");

    ASSERT_TRUE(Sestav());
    EXPECT_EQ(slozky.CilSlozka, L"D:\\Sablony\\Moje dopisy");
    ASSERT_EQ(plan().Pocet(), 4);
    OcekavejSlozku(plan()(1), L"Šablony", L"D:\\Sablony\\Moje dopisy");
    OcekavejSlozku(plan()(2), L"Zástupci", slozky.SlozkaZastupcu);
    OcekavejSoubor(plan()(3), L"a.dot", L"D:\\Sablony\\Moje dopisy", 10);
    const Objekt& odkaz = plan()(4);
    EXPECT_EQ(odkaz.Typ, TypZastupce);
    EXPECT_EQ(odkaz.Nazev, L"Moje dopisy.lnk");   // the target's last component, not the set's
    EXPECT_EQ(odkaz.ZdrojovaSlozka, L"D:\\Sablony\\Moje dopisy");
    EXPECT_EQ(odkaz.CilovaSlozka, slozky.SlozkaZastupcu);
    EXPECT_EQ(odkaz.Prepsat, 0);
    EXPECT_EQ(odkaz.Velikost, 0);
    for (int32_t i = 1; i <= 4; ++i) OcekavejNic(plan()(i));
    EXPECT_EQ(m.okna.udalosti,
              (std::vector<Udalost>{H(Priprava, 1, 3), Skryj, H(Priprava, 2, 3), H(Priprava, 3, 3)}));
}

TEST_F(PlanTest, PrazdnaSadaAVelkySoubor) {
    Zastupci();
    ASSERT_TRUE(Sestav());
    ASSERT_EQ(plan().Pocet(), 3);
    EXPECT_EQ(plan()(3).Typ, TypZastupce);

    Sablona(L"velky.avi");
    m.disk.NastavVelikost(L"E:\\Dopisy\\velky.avi", int64_t{6} << 30);
    ASSERT_TRUE(Sestav());
    EXPECT_EQ(plan()(3).Velikost, int64_t{6} << 30);
}

TEST_F(PlanTest, StornoPriKazdePripravneZprave) {
    Sablona(L"a.dot");
    Zastupci();
    for (int32_t k = 1; k <= 3; ++k) {
        m.okna.udalosti.clear();
        m.okna.hlasek = 0;
        m.okna.stornovatPriHlasce = {k};
        m.zasahy.volani = 0;
        EXPECT_FALSE(Sestav()) << k;
        EXPECT_EQ(m.okna.udalosti.size(), static_cast<std::size_t>(k + 1)) << "no report after the cancel";
        // Nothing is listed once the cancel has been seen before the listing.
        EXPECT_EQ(m.zasahy.volani, k < 3 ? 0 : 2) << k;
    }
}

TEST_F(PlanTest, ChybnyCilJeOdmitnutDrivNezSeCokoliUdela) {
    Sablona(L"a.dot");
    const std::wstring spatne[] = {
        L"", L"Sablony", L"Sablony\\Dopisy", L"C:Sablony", L"C:", L"\\Sablony", L"   ",
        L"C:/Sablony", L"C:\\Sablony/Dopisy", L"\\\\server", L"\\\\server\\", L"\\\\\\share",
        L"1:\\Sablony"};
    for (const auto& cil : spatne) {
        ZadejCil(cil);
        try {
            Sestav();
            ADD_FAILURE() << "přijato: " << Utf8(cil);
        } catch (const Chyba& c) {
            EXPECT_EQ(c.cislo, CisloVlastniChyby);
            EXPECT_EQ(c.zdroj, Titulek);
            if (cil.empty())
                EXPECT_EQ(c.popis, L"Není zadána cílová složka. Zadejte úplnou cestu ke složce, do které se mají šablony nainstalovat, například C:\\Šablony.");
            else
                EXPECT_EQ(c.popis, L"Cílová složka „" + cil + L"“ není platná cesta. Zadejte úplnou cestu, která začíná písmenem jednotky (například C:\\Šablony) nebo názvem serveru a sdílené složky (například \\\\server\\šablony), a jednotlivé složky oddělte znakem \\.");
        }
        EXPECT_EQ(m.zasahy.volani, 0) << Utf8(cil);
    }
    for (const std::wstring cil : {L"C:\\", L"d:\\Šablony", L"\\\\server\\share", L"\\\\server\\share\\A\\"}) {
        ZadejCil(cil);
        EXPECT_TRUE(Sestav()) << Utf8(cil);
    }
}

TEST_F(PlanTest, ChybaVypisuMediaPrijdeKObsluze) {
    Sablona(L"a.dot");
    m.zasahy.selhatVolani = {2};   // the size of a.dot
    EXPECT_THROW(Sestav(), Chyba);
}

}  // namespace
}  // namespace setup::test
