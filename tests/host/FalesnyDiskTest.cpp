// The fake disk stands in for Windows in every engine test, so the Windows
// behaviour those tests rely on is pinned down here.
#include <gtest/gtest.h>

#include <functional>

#include "FalesnyStroj.h"
#include "engine/Adresar.h"

namespace setup::test {
namespace {

std::vector<std::wstring> Jmena(const std::vector<setup::Polozka>& polozky) {
    std::vector<std::wstring> jmena;
    for (const auto& p : polozky) jmena.push_back(p.nazev);
    return jmena;
}

int32_t CisloChyby(const std::function<void()>& f) {
    try {
        f();
    } catch (const Chyba& c) {
        EXPECT_EQ(c.popis, PopisChyby(c.cislo));
        return c.cislo;
    }
    return 0;
}

class FalesnyDiskTest : public testing::Test {
protected:
    FalesnyDiskTest() {
        d.PridejKoren(L"C:");
        d.PridejKoren(L"\\\\server\\share");
    }
    Zasahy z;
    FalesnyDisk d{z};
};

TEST_F(FalesnyDiskTest, JmenaBezOhleduNaVelikostPismenSeZachovanymZapisem) {
    d.Soubor(L"C:\\Šablony\\Dopis.dot", L"obsah");
    EXPECT_TRUE(d.Atributy(L"c:\\ŠABLONY\\dopis.DOT"));
    EXPECT_EQ(Jmena(d.Vypis(L"C:\\šablony\\*.*")),
              (std::vector<std::wstring>{L".", L"..", L"Dopis.dot"}));
    EXPECT_EQ(Jmena(d.Vypis(L"C:\\*.*")), (std::vector<std::wstring>{L"Šablony"}));   // a root has no . and ..
    EXPECT_EQ(Jmena(d.Vypis(L"C:\\Šablony\\DOPIS.dot")), (std::vector<std::wstring>{L"Dopis.dot"}));
    EXPECT_TRUE(d.StejnySoubor(L"C:\\Šablony\\Dopis.dot", L"c:\\X\\..\\šablony\\\\.\\DOPIS.DOT"));
}

TEST_F(FalesnyDiskTest, VypisVPoradiVytvoreniNeboNastavenem) {
    for (auto j : {L"b", L"C", L"a", L"d.txt"}) d.Soubor(std::wstring(L"C:\\S\\") + j, L"");
    EXPECT_EQ(Jmena(d.Vypis(L"C:\\S\\*.*")), (std::vector<std::wstring>{L".", L"..", L"b", L"C", L"a", L"d.txt"}));
    d.NastavPoradi(L"C:\\S", {L"D.TXT", L"a"});
    EXPECT_EQ(Jmena(d.Vypis(L"C:\\S\\*.*")), (std::vector<std::wstring>{L".", L"..", L"d.txt", L"a", L"b", L"C"}));
    EXPECT_EQ(Jmena(d.Vypis(L"C:\\S\\*.txt")), (std::vector<std::wstring>{L"d.txt"}));
    EXPECT_TRUE(d.Vypis(L"C:\\S\\*.doc").empty());
    EXPECT_TRUE(d.Vypis(L"C:\\S\\nic").empty());
    EXPECT_EQ(CisloChyby([&] { d.Vypis(L"C:\\Neni\\*.*"); }), ChybaCestaNenalezena);
}

TEST_F(FalesnyDiskTest, KopieJakoNaWindows) {
    d.Soubor(L"C:\\Z\\a.dot", L"nový", AtributJenProCteni, 111);
    d.Soubor(L"C:\\C\\a.dot", L"starý");
    d.Soubor(L"C:\\Soubor", L"");
    EXPECT_EQ(CisloChyby([&] { d.Kopiruj(L"C:\\Z\\a.dot", L"C:\\C\\A.DOT", nullptr); }), ChybaSouborExistuje);
    EXPECT_EQ(CisloChyby([&] { d.Kopiruj(L"C:\\Z\\a.dot", L"C:\\Neni\\a.dot", nullptr); }), ChybaCestaNenalezena);
    EXPECT_EQ(CisloChyby([&] { d.Kopiruj(L"C:\\Z\\a.dot", L"C:\\Soubor\\a.dot", nullptr); }), ChybaCestaNenalezena);
    EXPECT_EQ(CisloChyby([&] { d.Kopiruj(L"C:\\Z\\b.dot", L"C:\\b.dot", nullptr); }), ChybaSouborNenalezen);
    EXPECT_EQ(CisloChyby([&] { d.Kopiruj(L"C:\\Z\\a.dot", L"C:\\C", nullptr); }), ChybaPristupOdepren);
    EXPECT_EQ(CisloChyby([&] { d.Kopiruj(L"C:\\Z\\a.dot", L"Q:\\a.dot", nullptr); }), ChybaCestaNenalezena);
    EXPECT_EQ(CisloChyby([&] { d.Kopiruj(L"C:\\Z\\a.dot", L"C:\\a?.dot", nullptr); }), ChybaSpatnyNazev);

    d.Kopiruj(L"C:\\Z\\a.dot", L"\\\\SERVER\\Share\\a.dot", nullptr);
    const auto kopie = d.Udaje(L"\\\\server\\share\\a.dot");
    ASSERT_TRUE(kopie);
    EXPECT_EQ(kopie->obsah, L"nový");
    EXPECT_EQ(kopie->cas, 111);
    EXPECT_EQ(kopie->atributy, AtributJenProCteni | AtributArchiv);
}

TEST_F(FalesnyDiskTest, MazaniASlozkyJakoNaWindows) {
    d.Soubor(L"C:\\S\\jen.dot", L"", AtributJenProCteni);
    d.Soubor(L"C:\\S\\skryty.dot", L"", AtributSkryty | AtributSystemovy);
    d.Soubor(L"C:\\Soubor", L"");
    EXPECT_EQ(CisloChyby([&] { d.SmazSoubor(L"C:\\S\\jen.dot"); }), ChybaPristupOdepren);
    EXPECT_EQ(CisloChyby([&] { d.SmazSoubor(L"C:\\S"); }), ChybaPristupOdepren);
    EXPECT_EQ(CisloChyby([&] { d.SmazSoubor(L"C:\\S\\nic"); }), ChybaSouborNenalezen);
    d.SmazSoubor(L"C:\\S\\skryty.dot");
    EXPECT_FALSE(d.Atributy(L"C:\\S\\skryty.dot"));

    EXPECT_EQ(CisloChyby([&] { d.OdstranSlozku(L"C:\\S"); }), ChybaSlozkaNeniPrazdna);
    EXPECT_EQ(CisloChyby([&] { d.OdstranSlozku(L"C:\\Soubor"); }), ChybaNeniSlozka);
    EXPECT_EQ(CisloChyby([&] { d.OdstranSlozku(L"C:\\"); }), ChybaPristupOdepren);
    EXPECT_EQ(CisloChyby([&] { d.VytvorSlozku(L"C:\\A\\B"); }), ChybaCestaNenalezena);
    EXPECT_EQ(CisloChyby([&] { d.VytvorSlozku(L"C:\\S"); }), ChybaUzExistuje);
    EXPECT_EQ(CisloChyby([&] { d.VytvorSlozku(L"C:\\Soubor"); }), ChybaUzExistuje);
    EXPECT_EQ(CisloChyby([&] { d.VytvorSlozku(L"C:\\Soubor\\X"); }), ChybaCestaNenalezena);
    d.VytvorSlozku(L"C:\\A");
    EXPECT_EQ(d.Atributy(L"C:\\A\\"), AtributSlozka);
    EXPECT_FALSE(d.Atributy(L"C:\\Soubor\\"));
    d.OdstranSlozku(L"c:\\a");
    EXPECT_FALSE(d.Atributy(L"C:\\A"));
}

TEST_F(FalesnyDiskTest, PrejmenovaniZachovavaObsahCasAtributy) {
    d.Soubor(L"C:\\S\\a.dot", L"starý", AtributJenProCteni | AtributSkryty, 42);
    d.Soubor(L"C:\\S\\b.dot", L"");
    EXPECT_EQ(CisloChyby([&] { d.Prejmenuj(L"C:\\S\\a.dot", L"C:\\S\\B.dot"); }), ChybaUzExistuje);
    EXPECT_EQ(CisloChyby([&] { d.Prejmenuj(L"C:\\S\\a.dot", L"\\\\server\\share\\a.dot"); }), ChybaJinaJednotka);
    d.Prejmenuj(L"C:\\S\\a.dot", L"C:\\S\\a.dot.zaloha1");
    EXPECT_FALSE(d.Udaje(L"C:\\S\\a.dot"));
    const auto zaloha = d.Udaje(L"C:\\S\\a.dot.zaloha1");
    ASSERT_TRUE(zaloha);
    EXPECT_EQ(zaloha->obsah, L"starý");
    EXPECT_EQ(zaloha->cas, 42);
    EXPECT_EQ(zaloha->atributy, AtributJenProCteni | AtributSkryty);
}

TEST_F(FalesnyDiskTest, VstrikovaneSelhaniACitaniVolani) {
    d.Soubor(L"C:\\S\\a.dot", L"");
    z.selhatVolani = {2};
    EXPECT_TRUE(d.Atributy(L"C:\\S\\a.dot"));
    EXPECT_EQ(CisloChyby([&] { d.Atributy(L"C:\\S\\a.dot"); }), ChybaPristupOdepren);
    EXPECT_TRUE(d.Atributy(L"C:\\S\\a.dot"));
    EXPECT_EQ(z.volani, 3);
    EXPECT_EQ(z.selhani, 1);

    z.SelhatNaCeste(L"c:\\s\\A.DOT", L"SmazSoubor");
    EXPECT_EQ(CisloChyby([&] { d.SmazSoubor(L"C:\\S\\a.dot"); }), ChybaPristupOdepren);
    EXPECT_TRUE(d.Atributy(L"C:\\S\\a.dot"));   // the failed call changed nothing
    z.SelhatNaCeste(L"C:\\S\\b.dot");
    EXPECT_EQ(CisloChyby([&] { d.Kopiruj(L"C:\\S\\a.dot", L"C:\\S\\b.dot", nullptr); }), ChybaDiskPlny);
    EXPECT_FALSE(d.Udaje(L"C:\\S\\b.dot"));
}

TEST(FalesnyStroj, OdkazyOknaARegistr) {
    FalesnyStroj m;
    m.disk.PridejKoren(L"C:");
    m.disk.Slozka(L"C:\\Z");
    m.disk.Soubor(L"C:\\Z\\jen.lnk", L"", AtributJenProCteni);
    m.shell.VytvorZastupce(L"C:\\Z\\", L"a.lnk", L"C:\\Cil", L"", L"", L"", 5);
    m.shell.VytvorZastupce(L"C:\\Z", L"jen.lnk", L"C:\\Cil", L"", L"", L"", 5);
    m.shell.VytvorZastupce(L"C:\\Neni", L"b.lnk", L"C:\\Cil", L"", L"", L"", 5);
    EXPECT_EQ(m.disk.Udaje(L"C:\\Z\\a.lnk")->obsah, FalesnyShell::ObsahOdkazu(L"C:\\Cil"));
    EXPECT_EQ(m.disk.Udaje(L"C:\\Z\\jen.lnk")->obsah, L"");   // a read-only file is not overwritten
    EXPECT_FALSE(m.disk.Udaje(L"C:\\Neni\\b.lnk"));
    EXPECT_EQ(m.shell.odkazy.size(), 3u);

    m.okna.stornovatPriHlasce = {2};
    m.okna.Hlaska(L"a", 0, 1);
    EXPECT_FALSE(m.okna.Stornovano());
    m.okna.Hlaska(L"b", 0, 1);
    EXPECT_TRUE(m.okna.Stornovano());
    m.okna.stornovano = false;
    m.okna.Skonci();   // closing the progress window raises the flag
    EXPECT_TRUE(m.okna.Stornovano());

    m.registr.NastavText(HKEY_LOCAL_MACHINE_, L"A\\B", L"x", L"  C:\\Office\\  ");
    EXPECT_EQ(m.registr.CtiRegistr(HKEY_LOCAL_MACHINE_, L"a\\b", L"X"), L"C:\\Office\\");
    // A failure SmazKlic throws, shown as the run shows it.
    const auto smaz = [&](const wchar_t* klic) {
        try {
            m.registr.SmazKlic(HKEY_LOCAL_MACHINE_, klic);
        } catch (...) {
            ChybaHlaseni(m.okna, ChybaZVyjimky());
        }
    };
    smaz(L"A");
    smaz(L"A\\C");
    EXPECT_EQ(m.okna.Zpravy(),
              (std::vector<Udalost>{{Udalost::Zprava, L"Nelze odstranit klice registru.", 0, 0, L"Setup", 16},
                                    {Udalost::Zprava, L"Nelze otevřít regist.", 0, 0, L"Setup", 16}}));
    m.registr.SmazKlic(HKEY_LOCAL_MACHINE_, L"A\\B");
    EXPECT_FALSE(m.registr.MaKlic(HKEY_LOCAL_MACHINE_, L"A\\B"));
}

TEST(VypisJmena, FiltrAtributuJakoDir) {
    Zasahy z;
    FalesnyDisk d{z};
    d.PridejKoren(L"E:");
    d.Soubor(L"E:\\Sada\\plain.dot", L"");
    d.Soubor(L"E:\\Sada\\ro.dot", L"", AtributJenProCteni);
    d.Soubor(L"E:\\Sada\\hidden.dot", L"", AtributSkryty);
    d.Soubor(L"E:\\Sada\\system.dot", L"", AtributSystemovy);
    d.Slozka(L"E:\\Sada\\Podslozka");
    d.Slozka(L"E:\\Sada\\SkrytaSlozka", AtributSkryty);

    EXPECT_EQ(VypisJmena(d, L"E:\\Sada\\*.*", AtributJenProCteni),
              (std::vector<std::wstring>{L"plain.dot", L"ro.dot"}));
    EXPECT_EQ(VypisJmena(d, L"E:\\Sada\\*.*", AtributSlozka),
              (std::vector<std::wstring>{L"plain.dot", L"ro.dot", L"Podslozka"}));
    EXPECT_EQ(VypisJmena(d, L"E:\\Sada\\*.*", AtributSlozka | AtributSkryty),
              (std::vector<std::wstring>{L"plain.dot", L"ro.dot", L"hidden.dot", L"Podslozka", L"SkrytaSlozka"}));
}

}  // namespace
}  // namespace setup::test
