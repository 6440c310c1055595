#include <gtest/gtest.h>

#include "Scenar.h"
#include "system/Text.h"

namespace setup::test {
namespace {

class PlanTest : public testing::Test, protected Instalator {
protected:
    bool Sestav() {
        Stroj s = m.stroj();
        beh_ = std::make_unique<BehInstalace>(s, slozky);
        return beh_->Sestav(m.okna.textSlozky);
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

    ASSERT_TRUE(Sestav());
    ASSERT_EQ(plan().Pocet(), 3);
    OcekavejSlozku(plan()(1), L"Šablony", L"C:\\Office\\Templates\\Dopisy");
    OcekavejSoubor(plan()(2), L"b.dot", L"C:\\Office\\Templates\\Dopisy", 5);
    OcekavejSoubor(plan()(3), L"a.dot", L"C:\\Office\\Templates\\Dopisy", 3);
    for (int32_t i = 1; i <= 3; ++i) OcekavejNic(plan()(i));
    // The files hold their two folders once for all of them.
    EXPECT_EQ(&plan()(2).ZdrojovaSlozka.text(), &plan()(3).ZdrojovaSlozka.text());
    EXPECT_EQ(&plan()(2).CilovaSlozka.text(), &plan()(3).CilovaSlozka.text());
    EXPECT_EQ(m.okna.udalosti, (std::vector<Udalost>{H(Priprava, 1, 3), Skryj, H(Priprava, 2, 3)}));
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
        m.okna.hlavniViditelne = true;
        m.okna.stornovano = false;
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
    const std::wstring nazvy =
        L" Název složky nesmí být prázdný ani „.“ či „..“, nesmí končit tečkou ani mezerou, nesmí "
        L"obsahovat znaky \\ / : * ? \" < > | a nesmí to být název zařízení, například CON nebo NUL.";
    const auto neuplna = [](const std::wstring& cil) {
        return L"Cílová složka „" + cil + L"“ není platná cesta. Zadejte úplnou cestu, která začíná písmenem jednotky (například C:\\Šablony) nebo názvem serveru a sdílené složky (například \\\\server\\šablony), a jednotlivé složky oddělte znakem \\.";
    };
    const auto koren = [](const std::wstring& cil) {
        return L"Do kořenové složky jednotky nebo sdílené složky („" + cil +
               L"“) nelze šablony nainstalovat. Zadejte složku v ní, například C:\\Šablony.";
    };
    const auto nazev = [&](const std::wstring& cil, const std::wstring& n) {
        return L"Cílová složka „" + cil + L"“ není platná cesta: název složky „" + n + L"“ nelze použít." + nazvy;
    };
    const auto lomitka = [&](const std::wstring& cil) {
        return L"Cílová složka „" + cil + L"“ není platná cesta: obsahuje dvě zpětná lomítka za sebou." + nazvy;
    };
    const std::pair<std::wstring, std::wstring> spatne[] = {
        {L"", L"Není zadána cílová složka. Zadejte úplnou cestu ke složce, do které se mají šablony nainstalovat, například C:\\Šablony."},
        {L"Sablony", neuplna(L"Sablony")},
        {L"Sablony\\Dopisy", neuplna(L"Sablony\\Dopisy")},
        {L"C:Sablony", neuplna(L"C:Sablony")},
        {L"C:", neuplna(L"C:")},
        {L"\\Sablony", neuplna(L"\\Sablony")},
        {L"   ", neuplna(L"   ")},
        {L"C:/Sablony", neuplna(L"C:/Sablony")},
        {L"C:\\Sablony/Dopisy", neuplna(L"C:\\Sablony/Dopisy")},
        {L"\\\\server", neuplna(L"\\\\server")},
        {L"\\\\server\\", neuplna(L"\\\\server\\")},
        {L"\\\\\\share", neuplna(L"\\\\\\share")},
        {L"1:\\Sablony", neuplna(L"1:\\Sablony")},
        // Roots: what the folder browser gives for a drive, and a share.
        {L"C:\\", koren(L"C:\\")},
        {L"c:\\\\", koren(L"c:\\\\")},
        {L"\\\\server\\share", koren(L"\\\\server\\share")},
        {L"\\\\server\\share\\", koren(L"\\\\server\\share\\")},
        // Folder names the file system refuses or stores otherwise.
        {L"C:\\a\\.", nazev(L"C:\\a\\.", L".")},
        {L"C:\\x\\..\\y", nazev(L"C:\\x\\..\\y", L"..")},
        {L"C:\\a\\b.", nazev(L"C:\\a\\b.", L"b.")},
        {L"C:\\a \\b", nazev(L"C:\\a \\b", L"a ")},
        {L"C:\\a|b", nazev(L"C:\\a|b", L"a|b")},
        {L"C:\\a:b", nazev(L"C:\\a:b", L"a:b")},
        {L"C:\\a\tb", nazev(L"C:\\a\tb", L"a\tb")},
        {L"C:\\nul\\Dopisy", nazev(L"C:\\nul\\Dopisy", L"nul")},
        {L"C:\\Sablony\\COM1.dot", nazev(L"C:\\Sablony\\COM1.dot", L"COM1.dot")},
        {L"\\\\server\\share\\a\\..", nazev(L"\\\\server\\share\\a\\..", L"..")},
        {L"C:\\a\\\\", lomitka(L"C:\\a\\\\")},
        {L"C:\\a\\\\b", lomitka(L"C:\\a\\\\b")},
    };
    for (const auto& [cil, popis] : spatne) {
        ZadejCil(cil);
        try {
            Sestav();
            ADD_FAILURE() << "přijato: " << Utf8(cil);
        } catch (const Chyba& c) {
            EXPECT_EQ(c.cislo, CisloVlastniChyby);
            EXPECT_EQ(c.zdroj, Titulek);
            EXPECT_EQ(c.popis, popis) << Utf8(cil);
        }
        EXPECT_EQ(m.zasahy.volani, 0) << Utf8(cil);
    }
    for (const std::wstring cil : {L"d:\\Šablony", L"C:\\a\\", L"C:\\.a\\b c\\CONSOLE",
                                   L"\\\\server\\share\\A", L"\\\\server\\share\\A\\"}) {
        ZadejCil(cil);
        EXPECT_TRUE(Sestav()) << Utf8(cil);
    }
}

TEST_F(PlanTest, SouboryLisiciSeJenVelikostiPismenSeOdmitnou) {
    // The medium lists a twin of every file whose name is all upper case
    // in its own folder, as a share that tells case apart could.
    m.zasahy.upravVypis = [](const std::wstring&, std::vector<Polozka>& polozky) {
        const std::size_t n = polozky.size();
        for (std::size_t i = 0; i < n; ++i)
            if (polozky[i].nazev == L"Dopis.dot" || polozky[i].nazev == L"Šablona.dot") {
                Polozka dvojce = polozky[i];
                dvojce.nazev = VelkaPismena(dvojce.nazev);
                dvojce.nazev.replace(dvojce.nazev.size() - 3, 3, L"dot");
                polozky.push_back(dvojce);
            }
    };
    Sablona(L"Dopis.dot");
    Sablona(L"faktura.dot");
    try {
        Sestav();
        ADD_FAILURE() << "přijato";
    } catch (const Chyba& c) {
        EXPECT_EQ(c.popis, L"Sada obsahuje soubory „Dopis.dot“ a „DOPIS.dot“, jejichž názvy se liší jen "
                           L"velikostí písmen. V cílové složce by jeden nahradil druhý, proto je nelze "
                           L"nainstalovat.");
    }
    // Letters beyond ASCII fold too; the whole run then stops before it
    // touches anything.
    m.disk.Smaz(L"E:\\Dopisy\\Dopis.dot");
    Sablona(L"Šablona.dot");
    const Snimek pred = m.disk.Stav();
    m.okna.udalosti.clear();
    Spust();
    ASSERT_EQ(m.okna.Zpravy().size(), 1u);
    EXPECT_NE(m.okna.Zpravy()[0].text.find(L"„Šablona.dot“ a „ŠABLONA.dot“"), std::wstring::npos);
    EXPECT_EQ(m.okna.udalosti.back(), Zobraz);
    EXPECT_EQ(m.disk.Stav(), pred);
}

TEST_F(PlanTest, ChybaVypisuMediaPrijdeKObsluze) {
    Sablona(L"a.dot");
    m.zasahy.selhatVolani = {2};   // the size of a.dot
    EXPECT_THROW(Sestav(), Chyba);

    // The set folder gone since start-up (a medium swapped, a share lost) is
    // no empty set: one box with the platform's words, nothing made.
    m.zasahy.selhatVolani.clear();
    m.disk.Smaz(L"E:\\Dopisy");
    Zastupci();
    const Snimek pred = m.disk.Stav();
    m.okna.udalosti.clear();
    Spust();
    EXPECT_EQ(m.okna.Zpravy(), (std::vector<Udalost>{Box(L"Systém nemůže nalézt uvedenou cestu.")}));
    EXPECT_EQ(m.okna.udalosti.back(), Zobraz);
    EXPECT_EQ(m.disk.Stav(), pred);
}

// The value that lets the word processor of 15.0 and 16.0 list the target.
class OsobniSablony : public PlanTest {
protected:
    const std::wstring Slozka = L"C:\\Users\\Jana\\Documents\\Custom Office Templates";
    const std::wstring Klic = L"Software\\Microsoft\\Office\\16.0\\Word\\Options";
    const std::wstring KlicZasad = L"Software\\Policies\\Microsoft\\Office\\16.0\\Word\\Options";

    OsobniSablony() {
        Sablona(L"a.dot");
        m.disk.Slozka(L"C:\\Users\\Jana\\Documents");
        slozky.OsobniSablony = {Klic, KlicZasad, Slozka};
        ZadejCil(Slozka + L"\\Dopisy");
    }
    // Whether the plan for the target ends with the value, and what it holds.
    bool SHodnotou(const std::wstring& cil) {
        ZadejCil(cil);
        EXPECT_TRUE(Sestav()) << Utf8(cil);
        const Objekt& posledni = plan()(plan().Pocet());
        if (posledni.Typ != TypHodnota) return false;
        EXPECT_EQ(posledni.Nazev, L"PersonalTemplates");
        EXPECT_EQ(posledni.HKey, HKEY_CURRENT_USER_);
        EXPECT_EQ(posledni.CilovaSlozka, Klic);
        EXPECT_EQ(posledni.Hodnota, Slozka);
        return true;
    }
};

TEST_F(OsobniSablony, JenProCilKteryJeTouSlozkouNeboPrimoVNi) {
    EXPECT_TRUE(SHodnotou(Slozka + L"\\Dopisy"));
    EXPECT_TRUE(SHodnotou(Slozka + L"\\Jiné šablony\\"));
    EXPECT_TRUE(SHodnotou(Slozka));
    EXPECT_TRUE(SHodnotou(L"c:\\USERS\\jana\\documents\\custom office templates\\Dopisy"));
    EXPECT_FALSE(SHodnotou(Slozka + L"\\Dopisy\\Staré"));
    EXPECT_FALSE(SHodnotou(L"C:\\Users\\Jana\\Documents\\Dopisy"));
    EXPECT_FALSE(SHodnotou(Slozka + L"2\\Dopisy"));
    EXPECT_FALSE(SHodnotou(L"D:\\Šablony\\Dopisy"));
    // After the files, which are what the value is for.
    EXPECT_TRUE(SHodnotou(Slozka + L"\\Dopisy"));
    EXPECT_EQ(plan().Pocet(), 3);
    EXPECT_EQ(plan()(2).Typ, TypSoubor);

    slozky.OsobniSablony = {};
    EXPECT_FALSE(SHodnotou(Slozka + L"\\Dopisy"));
}

TEST_F(OsobniSablony, HodnotaNastavenaOdSpusteniSeNemeni) {
    // Set by the user or by a policy since the window opened, of any type.
    m.registr.NastavText(HKEY_CURRENT_USER_, KlicZasad, L"Jiná", L"x");
    m.registr.NastavText(HKEY_CURRENT_USER_, Klic, L"Jiná", L"x");
    EXPECT_TRUE(SHodnotou(Slozka + L"\\Dopisy"));
    m.registr.NastavCislo(HKEY_CURRENT_USER_, KlicZasad, L"PersonalTemplates", 0);
    EXPECT_FALSE(SHodnotou(Slozka + L"\\Dopisy"));
    m.registr.SmazHodnotu(HKEY_CURRENT_USER_, KlicZasad, L"PersonalTemplates");
    m.registr.NastavText(HKEY_CURRENT_USER_, Klic, L"personaltemplates", L"");
    EXPECT_FALSE(SHodnotou(Slozka + L"\\Dopisy"));
}

}  // namespace
}  // namespace setup::test
