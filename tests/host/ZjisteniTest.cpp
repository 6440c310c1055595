#include <gtest/gtest.h>

#include "FalesnyStroj.h"
#include "engine/Zjisteni.h"
#include "system/Text.h"

namespace setup::test {
namespace {

const std::wstring Klic9 = L"SOFTWARE\\Microsoft\\Office\\9.0\\Common\\InstallRoot";
const std::wstring Klic8 = L"SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot";
const std::wstring KlicSablon8 = L"Software\\Microsoft\\Office\\8.0\\Common\\FileNew\\LocalTemplates";
const std::wstring KlicObecne = L"SOFTWARE\\Microsoft\\Office\\9.0\\Common\\General";
const FalesnyRegistr::Cteni Cteni9{HKEY_LOCAL_MACHINE_, Klic9, L"Path"};
const FalesnyRegistr::Cteni Cteni8{HKEY_LOCAL_MACHINE_, Klic8, L"OfficeBin"};
const FalesnyRegistr::Cteni CteniSablon8{HKEY_LOCAL_MACHINE_, KlicSablon8, L""};
const FalesnyRegistr::Cteni CteniObecne{HKEY_CURRENT_USER_, KlicObecne, L"Templates"};

class Zjisteni : public testing::Test {
protected:
    Zjisteni() {
        m.disk.PridejKoren(L"C:");
        m.disk.PridejKoren(L"E:");
        m.disk.Soubor(L"E:\\Setup.exe", L"program");
    }
    Nacteni Zjisti(const std::wstring& cesta = L"E:\\") {
        return ZjistiInstalaci(cesta, m.disk, m.registr, m.shell);
    }
    FalesnyStroj m;
};

TEST_F(Zjisteni, PrvniSlozkaVPoradiVypisuSeZachovanymZapisem) {
    m.disk.Soubor(L"E:\\readme.txt", L"");
    m.disk.Slozka(L"E:\\Skryta", AtributSkryty);
    m.disk.Slozka(L"E:\\Systemova", AtributSystemovy);
    m.disk.Slozka(L"E:\\fAKTURY");
    m.disk.Slozka(L"E:\\Dopisy");
    m.disk.NastavPoradi(L"E:\\", {L"readme.txt", L"Skryta", L"Systemova", L"Faktury"});

    const Nacteni n = Zjisti();
    EXPECT_EQ(n.SlozkaProgramu, L"E:");
    EXPECT_EQ(n.NazevSady, L"fAKTURY");
    EXPECT_EQ(n.slozky.ZdrojSlozka, L"E:\\fAKTURY");

    m.disk.NastavPoradi(L"E:\\", {L"Dopisy"});
    EXPECT_EQ(Zjisti().NazevSady, L"Dopisy");
}

TEST_F(Zjisteni, ProgramVeSlozceIVKorenuJednotky) {
    m.disk.Slozka(L"C:\\Instalace\\Dopisy");
    Nacteni n = Zjisti(L"C:\\Instalace");
    EXPECT_EQ(n.SlozkaProgramu, L"C:\\Instalace");
    EXPECT_EQ(n.slozky.ZdrojSlozka, L"C:\\Instalace\\Dopisy");
    n = Zjisti(L"C:\\Instalace\\");
    EXPECT_EQ(n.SlozkaProgramu, L"C:\\Instalace");

    m.disk.Slozka(L"E:\\Sada");
    n = Zjisti(L"E:\\");
    EXPECT_EQ(n.SlozkaProgramu, L"E:");
    EXPECT_EQ(n.slozky.ZdrojSlozka, L"E:\\Sada");
}

TEST_F(Zjisteni, BezSlozkySadyChybaSNazvemOkna) {
    m.disk.Soubor(L"E:\\readme.txt", L"");
    m.disk.Slozka(L"E:\\Skryta", AtributSkryty);
    try {
        Zjisti();
        FAIL() << "bez složky sady nesmí zjištění projít";
    } catch (const Chyba& c) {
        EXPECT_EQ(c.cislo, static_cast<int32_t>(0x80040000));
        EXPECT_EQ(c.zdroj, L"Instalace doplňků");
        EXPECT_EQ(c.popis, L"Nenalezena žádná složka se soubory k instalaci.");
    }
}

TEST_F(Zjisteni, NecitelneMediumJeChybou) {
    m.disk.Slozka(L"E:\\Sada");
    m.zasahy.selhatVolani = {1};
    try {
        Zjisti();
        FAIL();
    } catch (const Chyba& c) {
        EXPECT_EQ(c.cislo, ChybaNeniPripraveno);
    }
}

TEST_F(Zjisteni, UvitaciText) {
    m.disk.Slozka(L"E:\\Dopisy & faktury");
    EXPECT_EQ(Zjisti().Uvitani,
              L"Tento program nainstaluje šablony 'Dopisy & faktury' na váš počítač.\r\n\r\n"
              L"  Instalaci můžete zahájit klepnutím na tlačítko OK. Pokud si přejete změnit "
              L"umístění šablon, zadejte jinou cílovou složku. Existující složku můžete "
              L"nalistovat tlačítkem Procházet. Pokud si nepřejete pokračovat v instalaci, "
              L"ukončete instalační program klepnutím na tlačítko Storno.");
}

class CilovaSlozka : public Zjisteni {
protected:
    CilovaSlozka() { m.disk.Slozka(L"E:\\Dopisy"); }
};

TEST_F(CilovaSlozka, NovejsiVerze) {
    m.registr.NastavText(HKEY_LOCAL_MACHINE_, Klic9, L"Path",
                         L"  C:\\Program Files\\Microsoft Office\\Office\\ ");
    const Nacteni n = Zjisti();
    EXPECT_EQ(n.slozky.CilSlozka, L"C:\\Program Files\\Microsoft Office\\Templates\\Dopisy");
    EXPECT_EQ(m.registr.cteni, (std::vector<FalesnyRegistr::Cteni>{Cteni9, CteniObecne}));
}

TEST_F(CilovaSlozka, StarsiVerze) {
    m.registr.NastavText(HKEY_LOCAL_MACHINE_, Klic8, L"OfficeBin", L"C:\\MSOffice\\Office");
    m.registr.NastavText(HKEY_LOCAL_MACHINE_, KlicSablon8, L"", L"C:\\MSOffice\\Šablony");
    EXPECT_EQ(Zjisti().slozky.CilSlozka, L"C:\\MSOffice\\Šablony\\Dopisy");
    EXPECT_EQ(m.registr.cteni,
              (std::vector<FalesnyRegistr::Cteni>{Cteni9, Cteni8, CteniSablon8, CteniObecne}));
}

TEST_F(CilovaSlozka, NavrhKteryByOKOdmitloNahradiVychoziSlozka) {
    // A proposal OK would refuse is no proposal: the suite's usual place is
    // given instead. The older suite without its templates key would give
    // "\Dopisy"; a Path of a drive root "\Templates\Dopisy".
    const std::wstring vychozi = L"C:\\Program Files\\Microsoft Office\\Templates\\Dopisy";
    m.registr.NastavText(HKEY_LOCAL_MACHINE_, Klic8, L"OfficeBin", L"C:\\MSOffice\\Office");
    EXPECT_EQ(Zjisti().slozky.CilSlozka, vychozi);
    for (const std::wstring sablony : {L"Templates", L"C:\\", L"C:\\MSOffice\\..\\Templates"}) {
        m.registr.NastavText(HKEY_LOCAL_MACHINE_, KlicSablon8, L"", sablony);
        EXPECT_EQ(Zjisti().slozky.CilSlozka, vychozi) << Utf8(sablony);
    }
    for (const std::wstring cesta : {L"C:\\", L"Office", L"C:\\Office|\\Office", L"\\\\server\\"}) {
        m.registr.NastavText(HKEY_LOCAL_MACHINE_, Klic9, L"Path", cesta);
        EXPECT_EQ(Zjisti().slozky.CilSlozka, vychozi) << Utf8(cesta);
    }
    // A share's folder is a full path.
    m.registr.NastavText(HKEY_LOCAL_MACHINE_, Klic9, L"Path", L"\\\\server\\share\\Office\\");
    EXPECT_EQ(Zjisti().slozky.CilSlozka, L"\\\\server\\share\\Templates\\Dopisy");
}

TEST_F(CilovaSlozka, BezKancelarskehoBalikuNahradniCesta) {
    EXPECT_EQ(Zjisti().slozky.CilSlozka, L"C:\\Program Files\\Microsoft Office\\Templates\\Dopisy");
    EXPECT_EQ(m.registr.cteni, (std::vector<FalesnyRegistr::Cteni>{Cteni9, Cteni8, CteniObecne}));

    // A value of another type reads as missing.
    m.registr.NastavJinyTyp(HKEY_LOCAL_MACHINE_, Klic9, L"Path");
    EXPECT_EQ(Zjisti().slozky.CilSlozka, L"C:\\Program Files\\Microsoft Office\\Templates\\Dopisy");
}

TEST_F(CilovaSlozka, ObeVerzeVyhravaNovejsi) {
    m.registr.NastavText(HKEY_LOCAL_MACHINE_, Klic9, L"Path", L"D:\\Office2000\\Office\\");
    m.registr.NastavText(HKEY_LOCAL_MACHINE_, Klic8, L"OfficeBin", L"C:\\MSOffice\\Office");
    m.registr.NastavText(HKEY_LOCAL_MACHINE_, KlicSablon8, L"", L"C:\\MSOffice\\Šablony");
    EXPECT_EQ(Zjisti().slozky.CilSlozka, L"D:\\Office2000\\Templates\\Dopisy");
    EXPECT_EQ(m.registr.cteni, (std::vector<FalesnyRegistr::Cteni>{Cteni9, CteniObecne}));
}

TEST_F(CilovaSlozka, SlozkaZastupcu) {
    m.shell.specialni[26] = L"C:\\Users\\Jana\\AppData\\Roaming";
    EXPECT_EQ(Zjisti().slozky.SlozkaZastupcu, L"");   // no Templates value

    m.registr.NastavText(HKEY_CURRENT_USER_, KlicObecne, L"Templates", L" Šablony ");
    EXPECT_EQ(Zjisti().slozky.SlozkaZastupcu, L"C:\\Users\\Jana\\AppData\\Roaming\\Microsoft\\Šablony");

    m.shell.specialni.clear();   // no application data folder
    EXPECT_EQ(Zjisti().slozky.SlozkaZastupcu, L"");
}

TEST_F(CilovaSlozka, SlozkaZastupcuJenZNazvuSlozek) {
    // The value names folders inside the user's Microsoft folder; anything
    // that could lead elsewhere, or that no folder may be called, plans no
    // link at all.
    m.shell.specialni[26] = L"C:\\Users\\Jana\\AppData\\Roaming";
    const std::wstring microsoft = L"C:\\Users\\Jana\\AppData\\Roaming\\Microsoft\\";
    const std::pair<std::wstring, std::wstring> hodnoty[] = {
        {L"Šablony\\Moje", microsoft + L"Šablony\\Moje"},
        {L"Šablony\\", microsoft + L"Šablony"},
        {L".Šablony", microsoft + L".Šablony"},
        {L"..\\..\\..\\..\\..\\windows", L""},
        {L"..", L""},
        {L"Šablony\\.", L""},
        {L"C:\\Windows", L""},
        {L"\\Windows", L""},
        {L"\\\\server\\share", L""},
        {L"Šab|lony", L""},
        {L"Šablony\\\\Moje", L""},
        {L"Šablony.", L""},
        {L"CON", L""},
    };
    for (const auto& [hodnota, zastupci] : hodnoty) {
        m.registr.NastavText(HKEY_CURRENT_USER_, KlicObecne, L"Templates", hodnota);
        EXPECT_EQ(Zjisti().slozky.SlozkaZastupcu, zastupci) << Utf8(hodnota);
    }
}

}  // namespace
}  // namespace setup::test
