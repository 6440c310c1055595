#include <gtest/gtest.h>

#include <functional>

#include "FalesnyStroj.h"
#include "Scenar.h"
#include "engine/Beh.h"
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
        return ZjistiInstalaci(cesta, m.disk, m.registr, m.shell, m.okna);
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
    const Nacteni n = Zjisti();
    EXPECT_EQ(n.slozky.CilSlozka, L"C:\\Program Files\\Microsoft Office\\Templates\\Dopisy");
    EXPECT_EQ(n.PuvodNavrhu,
              L"Kancelářský balík nenalezen: navržena výchozí složka C:\\Program Files\\Microsoft Office\\Templates");
    // The two older suites first, the newer ones after; the user's
    // templates folder of 9.0 for the link, as ever.
    ASSERT_GT(m.registr.cteni.size(), 3u);
    EXPECT_EQ(m.registr.cteni[0], Cteni9);
    EXPECT_EQ(m.registr.cteni[1], Cteni8);
    EXPECT_EQ(m.registr.cteni.back(), CteniObecne);

    // A value of another type reads as missing; so does one of the type
    // that holds %VARIABLES%, which these two suites never wrote.
    m.registr.NastavJinyTyp(HKEY_LOCAL_MACHINE_, Klic9, L"Path");
    EXPECT_EQ(Zjisti().slozky.CilSlozka, L"C:\\Program Files\\Microsoft Office\\Templates\\Dopisy");
    m.registr.prostredi[L"PROGRAMFILES"] = L"D:\\Programy";
    m.registr.NastavRozsirenyText(HKEY_LOCAL_MACHINE_, Klic9, L"Path", L"%ProgramFiles%\\Office\\Office");
    m.registr.NastavRozsirenyText(HKEY_LOCAL_MACHINE_, Klic8, L"OfficeBin", L"%ProgramFiles%\\Office");
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

// ---------------------------------------------------------------- the suites from 10.0 on

const std::wstring AppData = L"C:\\Users\\Jana\\AppData\\Roaming";
const std::wstring Dokumenty = L"C:\\Users\\Jana\\Documents";
const std::wstring VlastniSablony = Dokumenty + L"\\Custom Office Templates";
const std::wstring Vychozi = L"C:\\Program Files\\Microsoft Office\\Templates\\Dopisy";
const std::wstring TextVychozi = L"; tato cesta není platná, navržena výchozí složka C:\\Program Files\\Microsoft Office\\Templates";
constexpr uint32_t Hklm = HKEY_LOCAL_MACHINE_;
constexpr uint32_t Hkcu = HKEY_CURRENT_USER_;

// An installed suite as its installer registers it.
void Msi(FalesnyRegistr& r, const std::wstring& verze, const std::wstring& aplikace = L"Common",
         uint32_t koren = Hklm) {
    r.NastavText(koren, L"SOFTWARE\\Microsoft\\Office\\" + verze + L"\\" + aplikace + L"\\InstallRoot", L"Path",
                 L"C:\\Program Files\\Microsoft Office\\Office" + verze.substr(0, 2) + L"\\");
}
void KlikniASpust(FalesnyRegistr& r, const std::wstring& klic, const std::wstring& verze, uint32_t koren = Hklm) {
    r.NastavText(koren, klic, L"InstallationPath", L"C:\\Program Files\\Microsoft Office");
    r.NastavText(koren, klic, L"Platform", L"x86");
    r.NastavText(koren, klic, L"VersionToReport", verze);
}
void KlikniASpust16(FalesnyRegistr& r, uint32_t koren = Hklm) {
    KlikniASpust(r, L"SOFTWARE\\Microsoft\\Office\\ClickToRun\\Configuration", L"16.0.17328.20000", koren);
}
void KlikniASpust15(FalesnyRegistr& r) {
    KlikniASpust(r, L"SOFTWARE\\Microsoft\\Office\\15.0\\ClickToRun\\Configuration", L"15.0.5363.1000");
}
std::wstring KlicVoleb(const std::wstring& verze, bool zasady = false) {
    return std::wstring(zasady ? L"Software\\Policies\\Microsoft\\Office\\" : L"Software\\Microsoft\\Office\\") +
           verze + L"\\Word\\Options";
}
std::wstring KlicObecny(const std::wstring& verze, bool zasady = false) {
    return std::wstring(zasady ? L"Software\\Policies\\Microsoft\\Office\\" : L"Software\\Microsoft\\Office\\") +
           verze + L"\\Common\\General";
}

// A plan, a line a record: type, name, target (a registry value with its
// root and text).
std::vector<std::wstring> PopisPlanu(const Plan& plan) {
    std::vector<std::wstring> radky;
    for (int32_t i = 1; i <= plan.Pocet(); ++i) {
        const Objekt& o = plan(i);
        std::wstring r = TextCisla(o.Typ) + L" " + o.Nazev + L" ";
        if (o.HKey) r += TextCisla(o.HKey) + L":";
        r += o.CilovaSlozka;
        if (!o.Hodnota.empty()) r += L" = " + o.Hodnota.text();
        radky.push_back(r);
    }
    return radky;
}

// The plan of an install into a target: the set's folder and its one file.
std::vector<std::wstring> PlanDo(const std::wstring& cil) {
    return {L"1 Šablony " + cil, L"2 a.dot " + cil};
}
// And the value that makes the word processor list the target's folder.
std::vector<std::wstring> PlanSHodnotou(const std::wstring& cil, const std::wstring& verze) {
    auto plan = PlanDo(cil);
    plan.push_back(L"4 PersonalTemplates 2147483649:" + KlicVoleb(verze) + L" = " + VlastniSablony);
    return plan;
}

struct Pocitac {
    const char* popis;
    std::function<void(FalesnyRegistr&)> registr;
    std::wstring navrh;                // the proposed target
    std::wstring puvod;                // what the discovery says of it
    std::vector<std::wstring> plan;    // for the proposed target
    std::wstring zastupci = {};        // the link's folder
};

TEST(ZjisteniVerzi, NavrhAPlanNaKazdemPocitaci) {
    const std::wstring cot = VlastniSablony + L"\\Dopisy";
    const std::wstring sablonyAppData = AppData + L"\\Microsoft\\Templates\\Dopisy";
    const std::wstring nenastaveno16 =
        L"PersonalTemplates není nastaveno, navržena složka Documents\\Custom Office Templates";
    const std::wstring zastupci = AppData + L"\\Microsoft\\Šablony";
    const Pocitac pocitace[] = {
        {"9.0", [](auto& r) { Msi(r, L"9.0"); },
         L"C:\\Program Files\\Microsoft Office\\Templates\\Dopisy",
         L"Office 9.0: složka Templates vedle složky z hodnoty Path klíče Common\\InstallRoot",
         PlanDo(L"C:\\Program Files\\Microsoft Office\\Templates\\Dopisy")},
        {"8.0",
         [](auto& r) {
             r.NastavText(Hklm, L"SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot", L"OfficeBin", L"C:\\MSOffice\\Office");
             r.NastavText(Hklm, L"Software\\Microsoft\\Office\\8.0\\Common\\FileNew\\LocalTemplates", L"", L"C:\\MSOffice\\Šablony");
         },
         L"C:\\MSOffice\\Šablony\\Dopisy", L"Office 8.0: složka z klíče Common\\FileNew\\LocalTemplates",
         PlanDo(L"C:\\MSOffice\\Šablony\\Dopisy")},
        {"8.0 bez klíče šablon a 16.0",
         [](auto& r) {
             r.NastavText(Hklm, L"SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot", L"OfficeBin", L"C:\\MSOffice\\Office");
             KlikniASpust16(r);
         },
         Vychozi, L"Office 8.0: klíč Common\\FileNew\\LocalTemplates neurčuje složku" + TextVychozi, PlanDo(Vychozi),},
        {"9.0 a 16.0",
         [](auto& r) {
             Msi(r, L"9.0");
             Msi(r, L"16.0");
             KlikniASpust16(r);
         },
         L"C:\\Program Files\\Microsoft Office\\Templates\\Dopisy",
         L"Office 9.0: složka Templates vedle složky z hodnoty Path klíče Common\\InstallRoot",
         PlanDo(L"C:\\Program Files\\Microsoft Office\\Templates\\Dopisy")},
        {"10.0", [](auto& r) { Msi(r, L"10.0"); }, sablonyAppData,
         L"Office 10.0: UserTemplates není nastaveno, navržena složka Microsoft\\Templates v datech aplikací",
         PlanDo(sablonyAppData)},
        {"11.0 s šablonami uživatele",
         [](auto& r) {
             Msi(r, L"11.0", L"Word");
             r.NastavText(Hkcu, KlicObecny(L"11.0"), L"UserTemplates", L" D:\\Šablony Jany\\ ");
         },
         L"D:\\Šablony Jany\\Dopisy", L"Office 11.0: složka z hodnoty UserTemplates uživatele",
         PlanDo(L"D:\\Šablony Jany\\Dopisy")},
        {"12.0 se zásadou",
         [](auto& r) {
             Msi(r, L"12.0");
             r.NastavText(Hkcu, KlicObecny(L"12.0"), L"UserTemplates", L"D:\\Šablony Jany");
             r.NastavText(Hkcu, KlicObecny(L"12.0", true), L"UserTemplates", L"\\\\server\\šablony\\Jana");
         },
         L"\\\\server\\šablony\\Jana\\Dopisy", L"Office 12.0: složka z hodnoty UserTemplates ze zásad skupiny",
         PlanDo(L"\\\\server\\šablony\\Jana\\Dopisy")},
        {"14.0", [](auto& r) { Msi(r, L"14.0"); }, sablonyAppData,
         L"Office 14.0: UserTemplates není nastaveno, navržena složka Microsoft\\Templates v datech aplikací",
         PlanDo(sablonyAppData)},
        {"14.0 s REG_EXPAND_SZ",
         [](auto& r) {
             Msi(r, L"14.0", L"Word");
             r.NastavRozsirenyText(Hkcu, KlicObecny(L"14.0"), L"UserTemplates", L"%APPDATA%\\Moje šablony");
         },
         AppData + L"\\Moje šablony\\Dopisy", L"Office 14.0: složka z hodnoty UserTemplates uživatele",
         PlanDo(AppData + L"\\Moje šablony\\Dopisy")},
        {"12.0 s neúplnou cestou",
         [](auto& r) {
             Msi(r, L"12.0");
             r.NastavText(Hkcu, KlicObecny(L"12.0"), L"UserTemplates", L"Šablony");
         },
         Vychozi, L"Office 12.0: složka z hodnoty UserTemplates uživatele" + TextVychozi, PlanDo(Vychozi)},
        {"15.0", [](auto& r) { Msi(r, L"15.0", L"Word"); }, cot, L"Office 15.0: " + nenastaveno16,
         PlanSHodnotou(cot, L"15.0")},
        {"15.0 click-to-run", [](auto& r) { KlikniASpust15(r); }, cot, L"Office 15.0 (click-to-run): " + nenastaveno16,
         PlanSHodnotou(cot, L"15.0")},
        {"16.0", [](auto& r) { Msi(r, L"16.0"); }, cot, L"Office 16.0: " + nenastaveno16,
         PlanSHodnotou(cot, L"16.0")},
        {"16.0 click-to-run", [](auto& r) { KlikniASpust16(r); }, cot,
         L"Office 16.0 (click-to-run): " + nenastaveno16, PlanSHodnotou(cot, L"16.0")},
        {"16.0 jen v 64bitovém registru", [](auto& r) { Msi(r, L"16.0", L"Word", FalesnyRegistr::Hklm64); }, cot,
         L"Office 16.0 (64bitové zobrazení registru): " + nenastaveno16, PlanSHodnotou(cot, L"16.0")},
        {"16.0 click-to-run jen v 64bitovém registru", [](auto& r) { KlikniASpust16(r, FalesnyRegistr::Hklm64); },
         cot, L"Office 16.0 (click-to-run, 64bitové zobrazení registru): " + nenastaveno16, PlanSHodnotou(cot, L"16.0")},
        {"16.0 s osobní složkou uživatele",
         [](auto& r) {
             KlikniASpust16(r);
             r.NastavText(Hkcu, KlicVoleb(L"16.0"), L"PersonalTemplates", L"D:\\Moje šablony\\");
         },
         L"D:\\Moje šablony\\Dopisy", L"Office 16.0 (click-to-run): složka z hodnoty PersonalTemplates uživatele",
         PlanDo(L"D:\\Moje šablony\\Dopisy")},
        {"16.0 s osobní složkou uživatele a zásadou",
         [](auto& r) {
             KlikniASpust16(r);
             r.NastavText(Hkcu, KlicVoleb(L"16.0"), L"PersonalTemplates", L"D:\\Moje šablony");
             r.NastavText(Hkcu, KlicVoleb(L"16.0", true), L"PersonalTemplates", L"\\\\server\\osobní\\Jana");
         },
         L"\\\\server\\osobní\\Jana\\Dopisy", L"Office 16.0 (click-to-run): složka z hodnoty PersonalTemplates ze zásad skupiny",
         PlanDo(L"\\\\server\\osobní\\Jana\\Dopisy")},
        {"16.0 jen se složkou pracovní skupiny",
         [](auto& r) {
             KlikniASpust16(r);
             r.NastavText(Hkcu, KlicObecny(L"16.0"), L"SharedTemplates", L"\\\\server\\skupina");
             r.NastavText(Hkcu, KlicVoleb(L"16.0", true), L"SharedTemplates", L"\\\\server\\skupina");
             r.NastavText(Hkcu, KlicVoleb(L"16.0"), L"Jiná", L"x");
         },
         cot, L"Office 16.0 (click-to-run): " + nenastaveno16, PlanSHodnotou(cot, L"16.0")},
        {"16.0 s REG_EXPAND_SZ",
         [](auto& r) {
             Msi(r, L"16.0", L"Word");
             r.NastavRozsirenyText(Hkcu, KlicVoleb(L"16.0"), L"PersonalTemplates", L" %UserProfile%\\Šablony ");
         },
         L"C:\\Users\\Jana\\Šablony\\Dopisy", L"Office 16.0: složka z hodnoty PersonalTemplates uživatele",
         PlanDo(L"C:\\Users\\Jana\\Šablony\\Dopisy")},
        {"16.0 s prázdnou hodnotou",
         [](auto& r) {
             KlikniASpust16(r);
             r.NastavText(Hkcu, KlicVoleb(L"16.0"), L"PersonalTemplates", L"");
         },
         cot,
         L"Office 16.0 (click-to-run): PersonalTemplates neurčuje složku, navržena složka Documents\\Custom "
         L"Office Templates; hodnota se nemění",
         PlanDo(cot)},
        {"16.0 a 14.0: rozhoduje novější",
         [](auto& r) {
             Msi(r, L"14.0");
             Msi(r, L"16.0", L"Word");
         },
         cot, L"Office 16.0: " + nenastaveno16, PlanSHodnotou(cot, L"16.0")},
        {"13.0 nebylo, prázdná cesta neznamená instalaci, 16.0 jen pro uživatele",
         [](auto& r) {
             Msi(r, L"13.0");
             r.NastavText(Hklm, L"SOFTWARE\\Microsoft\\Office\\16.0\\Common\\InstallRoot", L"Path", L"  ");
             Msi(r, L"16.0", L"Common", Hkcu);
             r.NastavText(Hkcu, L"Software\\Microsoft\\Office\\9.0\\Common\\General", L"Templates", L"Šablony");
         },
         Vychozi, L"Kancelářský balík nenalezen: navržena výchozí složka C:\\Program Files\\Microsoft Office\\Templates",
         {L"1 Šablony " + Vychozi, L"1 Zástupci " + zastupci, L"2 a.dot " + Vychozi, L"5 Dopisy.lnk " + zastupci},
         zastupci},
    };
    for (const Pocitac& p : pocitace) {
        SCOPED_TRACE(p.popis);
        Instalator in;
        in.Sablona(L"a.dot", L"obsah");
        in.m.shell.specialni[26] = AppData;
        in.m.shell.specialni[5] = Dokumenty;
        in.m.registr.prostredi = {{L"APPDATA", AppData}, {L"USERPROFILE", L"C:\\Users\\Jana"}};
        p.registr(in.m.registr);
        const auto pred = in.m.registr.Stav();

        const Nacteni n = ZjistiInstalaci(L"E:\\", in.m.disk, in.m.registr, in.m.shell, in.m.okna);
        EXPECT_EQ(n.slozky.CilSlozka, p.navrh);
        EXPECT_EQ(n.PuvodNavrhu, p.puvod);
        EXPECT_EQ(n.slozky.SlozkaZastupcu, p.zastupci);

        in.slozky = n.slozky;
        in.slozky.SlozkaZaznamu.clear();
        Stroj s = in.m.stroj();
        BehInstalace beh(s, in.slozky);
        ASSERT_TRUE(beh.Sestav(n.slozky.CilSlozka));
        EXPECT_EQ(PopisPlanu(beh.plan()), p.plan);
        EXPECT_EQ(in.m.registr.Stav(), pred) << "neither discovery nor plan writes";
    }
}


}  // namespace
}  // namespace setup::test
