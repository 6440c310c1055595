// Win32Soubory on the prefix's C: drive, each test in a folder of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <iostream>
#include <map>

#include "Pomoc.h"
#include "system/Text.h"
#include "win32/Win32.h"

namespace setup {
namespace {

using test::TestovaciSlozka;

class Soubory : public testing::Test {
protected:
    TestovaciSlozka slozka;
    Win32Soubory soubory;

    // The error number a call throws; 0 when it does not throw.
    template <typename F>
    static int32_t Chybou(F f) {
        try {
            f();
        } catch (const Chyba& ch) {
            EXPECT_FALSE(ch.popis.empty());
            EXPECT_FALSE(ch.zdroj.empty());
            return ch.cislo;
        }
        return 0;
    }
};

std::map<std::wstring, Polozka> PodleJmena(const std::vector<Polozka>& polozky) {
    std::map<std::wstring, Polozka> m;
    for (const Polozka& p : polozky) m[p.nazev] = p;
    return m;
}

TEST_F(Soubory, ListingShowsEveryEntryWithItsAttributesSizeAndTime) {
    slozka.Zapis(L"Dopis.dot", "12345");
    slozka.Zapis(L"Skryta.dot", "");
    ASSERT_TRUE(SetFileAttributesW(slozka.Cesta(L"Skryta.dot").c_str(), FILE_ATTRIBUTE_HIDDEN));
    slozka.Slozka(L"Šablony ✓");
    slozka.Zapis(L"テンプレート.dot", "ab");

    const auto polozky = PodleJmena(soubory.Vypis(slozka.Cesta(L"*.*")));
    EXPECT_EQ(polozky.size(), 6u);   // ".", ".." and the four
    EXPECT_TRUE(polozky.count(L"."));
    EXPECT_TRUE(polozky.count(L".."));
    ASSERT_TRUE(polozky.count(L"Dopis.dot"));
    EXPECT_EQ(polozky.at(L"Dopis.dot").velikost, 5);
    EXPECT_EQ(polozky.at(L"Dopis.dot").casZmeny, soubory.CasZmeny(slozka.Cesta(L"Dopis.dot")));
    EXPECT_EQ(polozky.at(L"Dopis.dot").atributy & AtributSlozka, 0u);
    ASSERT_TRUE(polozky.count(L"Skryta.dot"));
    EXPECT_EQ(polozky.at(L"Skryta.dot").atributy & AtributSkryty, AtributSkryty);
    ASSERT_TRUE(polozky.count(L"Šablony ✓"));
    EXPECT_EQ(polozky.at(L"Šablony ✓").atributy & AtributSlozka, AtributSlozka);
    ASSERT_TRUE(polozky.count(L"テンプレート.dot"));
    EXPECT_EQ(polozky.at(L"テンプレート.dot").velikost, 2);
}

TEST_F(Soubory, ListingOfPatternsThatMatchNothingOrOnePath) {
    slozka.Zapis(L"Dopis.dot", "x");
    EXPECT_TRUE(soubory.Vypis(slozka.Cesta(L"*.xyz")).empty());
    EXPECT_TRUE(soubory.Vypis(slozka.Cesta(L"Missing")).empty());
    // A folder that is not there, or is a file, is no empty folder.
    EXPECT_EQ(Chybou([&] { soubory.Vypis(slozka.Cesta(L"Missing\\*.*")); }), ERROR_PATH_NOT_FOUND);
    EXPECT_NE(Chybou([&] { soubory.Vypis(slozka.Cesta(L"Dopis.dot\\*.*")); }), 0);
    const auto jedna = soubory.Vypis(slozka.Cesta(L"DOPIS.DOT"));
    ASSERT_EQ(jedna.size(), 1u);
    EXPECT_EQ(jedna[0].nazev, L"Dopis.dot");   // the name as stored
    EXPECT_EQ(Chybou([&] { soubory.Vypis(slozka.Cesta(std::wstring(L"x\0*.*", 5))); }),
              ERROR_INVALID_NAME);
    // Not "nothing matches": a pattern the platform cannot take is an error.
    EXPECT_EQ(Chybou([&] { soubory.Vypis(slozka.Cesta(L"a|b\\*.*")); }), ERROR_INVALID_NAME);
}

TEST_F(Soubory, ListingOfThousandsOfFiles) {
    // Enough for the listing to come in many batches.
    for (int i = 0; i < 3000; ++i) {
        UchytSouboru f(CreateFileW(slozka.Cesta(L"f" + std::to_wstring(i) + L".dot").c_str(),
                                   GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(f);
    }
    const auto polozky = soubory.Vypis(slozka.Cesta(L"*.*"));
    EXPECT_EQ(polozky.size(), 3002u);
    const auto m = PodleJmena(polozky);
    EXPECT_EQ(m.size(), 3002u);   // no entry twice
    EXPECT_TRUE(m.count(L"f0.dot"));
    EXPECT_TRUE(m.count(L"f2999.dot"));
}

TEST_F(Soubory, AttributesOfWhatExistsAndNothingForWhatDoesNot) {
    slozka.Zapis(L"a.dot", "x");
    slozka.Slozka(L"Skryta");
    ASSERT_TRUE(SetFileAttributesW(slozka.Cesta(L"Skryta").c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(soubory.Atributy(slozka.Cesta(L"a.dot")));
    EXPECT_EQ(*soubory.Atributy(slozka.Cesta(L"a.dot")) & AtributSlozka, 0u);
    const auto skryta = soubory.Atributy(slozka.Cesta(L"Skryta"));
    ASSERT_TRUE(skryta);
    EXPECT_EQ(*skryta & (AtributSkryty | AtributSystemovy | AtributSlozka),
              AtributSkryty | AtributSystemovy | AtributSlozka);
    EXPECT_TRUE(soubory.Atributy(L"C:\\"));
    EXPECT_FALSE(soubory.Atributy(slozka.Cesta(L"missing.dot")));
    EXPECT_FALSE(soubory.Atributy(slozka.Cesta(L"Missing\\Deeper\\x")));
    EXPECT_FALSE(soubory.Atributy(slozka.Cesta(L"a.dot\\x")));   // a file is no folder
    EXPECT_EQ(Chybou([&] { soubory.Atributy(slozka.Cesta(std::wstring(L"a.dot\0x", 7))); }),
              ERROR_INVALID_NAME);
    // Only a path that is not there is "nothing"; a name the platform
    // refuses is an error.
    EXPECT_EQ(Chybou([&] { soubory.Atributy(slozka.Cesta(L"a<b")); }), ERROR_INVALID_NAME);
}

TEST_F(Soubory, SetAttributes) {
    slozka.Zapis(L"a.dot", "x");
    soubory.NastavAtributy(slozka.Cesta(L"a.dot"), AtributJenProCteni | AtributSkryty);
    EXPECT_EQ(GetFileAttributesW(slozka.Cesta(L"a.dot").c_str()) & 0x3,
              AtributJenProCteni | AtributSkryty);
    soubory.NastavAtributy(slozka.Cesta(L"a.dot"), AtributArchiv);
    EXPECT_EQ(GetFileAttributesW(slozka.Cesta(L"a.dot").c_str()) & 0x3, 0u);
    EXPECT_EQ(Chybou([&] { soubory.NastavAtributy(slozka.Cesta(L"missing"), AtributArchiv); }),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(Soubory, TimeAndSize) {
    std::string obsah(70000, 'x');
    slozka.Zapis(L"velky.dot", obsah);
    EXPECT_EQ(soubory.Velikost(slozka.Cesta(L"velky.dot")), 70000);
    WIN32_FILE_ATTRIBUTE_DATA udaje;
    ASSERT_TRUE(GetFileAttributesExW(slozka.Cesta(L"velky.dot").c_str(), GetFileExInfoStandard, &udaje));
    const int64_t cas = (static_cast<int64_t>(udaje.ftLastWriteTime.dwHighDateTime) << 32) |
                        udaje.ftLastWriteTime.dwLowDateTime;
    EXPECT_EQ(soubory.CasZmeny(slozka.Cesta(L"velky.dot")), cas);
    // A time set by hand comes back to the tick.
    FILETIME novy{0x12345678, 0x01D00000};
    {
        UchytSouboru f(CreateFileW(slozka.Cesta(L"velky.dot").c_str(), FILE_WRITE_ATTRIBUTES, 0,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(SetFileTime(f.get(), nullptr, nullptr, &novy));
    }
    EXPECT_EQ(soubory.CasZmeny(slozka.Cesta(L"velky.dot")), 0x01D0000012345678LL);
    EXPECT_EQ(Chybou([&] { soubory.Velikost(slozka.Cesta(L"missing")); }), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Chybou([&] { soubory.CasZmeny(slozka.Cesta(L"Missing\\x")); }), ERROR_PATH_NOT_FOUND);
}

TEST_F(Soubory, CopyKeepsContentAndAttributesAndNeverOverwrites) {
    slozka.Zapis(L"zdroj.dot", "obsah");
    ASSERT_TRUE(SetFileAttributesW(slozka.Cesta(L"zdroj.dot").c_str(), FILE_ATTRIBUTE_READONLY));
    soubory.Kopiruj(slozka.Cesta(L"zdroj.dot"), slozka.Cesta(L"Šablona ✓.dot"), nullptr);
    EXPECT_EQ(slozka.Cti(L"Šablona ✓.dot"), "obsah");
    EXPECT_EQ(*soubory.Atributy(slozka.Cesta(L"Šablona ✓.dot")) & AtributJenProCteni, AtributJenProCteni);

    slozka.Zapis(L"cil.dot", "stary");
    EXPECT_EQ(Chybou([&] { soubory.Kopiruj(slozka.Cesta(L"zdroj.dot"), slozka.Cesta(L"cil.dot"), nullptr); }),
              ERROR_FILE_EXISTS);
    EXPECT_EQ(slozka.Cti(L"cil.dot"), "stary");
    EXPECT_EQ(Chybou([&] { soubory.Kopiruj(slozka.Cesta(L"missing"), slozka.Cesta(L"x.dot"), nullptr); }),
              ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(slozka.Cti(L"x.dot"));
    EXPECT_NE(Chybou([&] { soubory.Kopiruj(slozka.Cesta(L"zdroj.dot"), slozka.Cesta(L"Missing\\x.dot"), nullptr); }),
              0);
}

TEST_F(Soubory, LongCopyIsWaitedForThroughTheHookWhileItRuns) {
    // 256 MB made at once, a hole on the disk, with a time of its own.
    const std::wstring zdroj = slozka.Cesta(L"velka.dot"), cil = slozka.Cesta(L"kopie.dot");
    {
        UchytSouboru f(CreateFileW(zdroj.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        LARGE_INTEGER konec{};
        konec.QuadPart = 256 << 20;
        const FILETIME cas{0x12345678, 0x01D00000};
        ASSERT_TRUE(SetFilePointerEx(f.get(), konec, nullptr, FILE_BEGIN) && SetEndOfFile(f.get()) &&
                    SetFileTime(f.get(), nullptr, nullptr, &cas));
    }
    ASSERT_TRUE(SetFileAttributesW(zdroj.c_str(), FILE_ATTRIBUTE_READONLY));
    // Windows keeps a stream beside the data; Wine has none to keep.
    DWORD svazek = 0;
    GetVolumeInformationW(L"C:\\", nullptr, 0, nullptr, nullptr, &svazek, nullptr, 0);
    if (svazek & FILE_NAMED_STREAMS) slozka.Zapis(L"velka.dot:Zone.Identifier", "ZoneId=3");
    const DWORD vlakno = GetCurrentThreadId();
    int volani = 0;
    soubory.cekani = [&](HANDLE hotovo) {
        ++volani;
        EXPECT_EQ(GetCurrentThreadId(), vlakno);
        EXPECT_EQ(WaitForSingleObject(hotovo, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the copy still runs";
        EXPECT_EQ(WaitForSingleObject(hotovo, INFINITE), WAIT_OBJECT_0);
    };
    const std::atomic<bool> zrusit{false};
    soubory.Kopiruj(zdroj, cil, &zrusit);
    EXPECT_EQ(volani, 1);
    EXPECT_TRUE(soubory.StejnyObsah(zdroj, cil));
    EXPECT_EQ(soubory.CasZmeny(cil), 0x01D0000012345678LL);
    EXPECT_EQ(*soubory.Atributy(cil) & AtributJenProCteni, AtributJenProCteni);
    if (svazek & FILE_NAMED_STREAMS) {
        EXPECT_EQ(slozka.Cti(L"kopie.dot:Zone.Identifier"), "ZoneId=3");
    }
    // A failure comes back from the copy's thread with the platform's number.
    EXPECT_EQ(Chybou([&] { soubory.Kopiruj(zdroj, cil, &zrusit); }), ERROR_FILE_EXISTS);
}

TEST_F(Soubory, RenameNeverReplaces) {
    slozka.Zapis(L"a.dot", "a");
    slozka.Zapis(L"b.dot", "b");
    soubory.Prejmenuj(slozka.Cesta(L"a.dot"), slozka.Cesta(L"テンプレート.dot"));
    EXPECT_FALSE(slozka.Cti(L"a.dot"));
    EXPECT_EQ(slozka.Cti(L"テンプレート.dot"), "a");
    EXPECT_EQ(Chybou([&] { soubory.Prejmenuj(slozka.Cesta(L"b.dot"), slozka.Cesta(L"テンプレート.dot")); }),
              ERROR_ALREADY_EXISTS);
    EXPECT_EQ(slozka.Cti(L"b.dot"), "b");
    EXPECT_EQ(slozka.Cti(L"テンプレート.dot"), "a");
    EXPECT_EQ(Chybou([&] { soubory.Prejmenuj(slozka.Cesta(L"missing"), slozka.Cesta(L"c.dot")); }),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(Soubory, DeleteRefusesReadOnlyAndMissingFiles) {
    slozka.Zapis(L"a.dot", "a");
    slozka.Zapis(L"ro.dot", "r");
    ASSERT_TRUE(SetFileAttributesW(slozka.Cesta(L"ro.dot").c_str(), FILE_ATTRIBUTE_READONLY));
    soubory.SmazSoubor(slozka.Cesta(L"a.dot"));
    EXPECT_FALSE(slozka.Cti(L"a.dot"));
    EXPECT_EQ(Chybou([&] { soubory.SmazSoubor(slozka.Cesta(L"ro.dot")); }), ERROR_ACCESS_DENIED);
    EXPECT_EQ(slozka.Cti(L"ro.dot"), "r");
    EXPECT_EQ(Chybou([&] { soubory.SmazSoubor(slozka.Cesta(L"missing")); }), ERROR_FILE_NOT_FOUND);
    // Cut at its NUL this path would name ro.dot's neighbour a.dot.
    slozka.Zapis(L"a.dot", "a");
    EXPECT_EQ(Chybou([&] { soubory.SmazSoubor(slozka.Cesta(std::wstring(L"a.dot\0.bak", 10))); }),
              ERROR_INVALID_NAME);
    EXPECT_EQ(slozka.Cti(L"a.dot"), "a");
}

TEST_F(Soubory, FoldersAreCreatedAndRemovedOneLevelAtATime) {
    soubory.VytvorSlozku(slozka.Cesta(L"Šablony ✓"));
    EXPECT_EQ(*soubory.Atributy(slozka.Cesta(L"Šablony ✓")) & AtributSlozka, AtributSlozka);
    EXPECT_EQ(Chybou([&] { soubory.VytvorSlozku(slozka.Cesta(L"Šablony ✓")); }), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(Chybou([&] { soubory.VytvorSlozku(slozka.Cesta(L"A\\B")); }), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(soubory.Atributy(slozka.Cesta(L"A")));

    slozka.Zapis(L"Šablony ✓\\x.dot", "x");
    EXPECT_EQ(Chybou([&] { soubory.OdstranSlozku(slozka.Cesta(L"Šablony ✓")); }), ERROR_DIR_NOT_EMPTY);
    DeleteFileW(slozka.Cesta(L"Šablony ✓\\x.dot").c_str());
    soubory.OdstranSlozku(slozka.Cesta(L"Šablony ✓"));
    EXPECT_FALSE(soubory.Atributy(slozka.Cesta(L"Šablony ✓")));
    EXPECT_EQ(Chybou([&] { soubory.OdstranSlozku(slozka.Cesta(L"Šablony ✓")); }), ERROR_FILE_NOT_FOUND);
}

TEST_F(Soubory, RecordFilesAreAppendedReadAndCompared) {
    // Appending makes the file and writes at its end, whatever was there.
    {
        const auto pripis = soubory.OtevriKPripisu(slozka.Cesta(L"beh1.txt"));
        pripis->Pripis("první\n");
        pripis->Pripis(std::string(70000, 'x'));
    }
    soubory.OtevriKPripisu(slozka.Cesta(L"beh1.txt"))->Pripis("\nkonec");
    const auto obsah = soubory.Nacti(slozka.Cesta(L"beh1.txt"));
    ASSERT_TRUE(obsah);
    EXPECT_EQ(*obsah, "první\n" + std::string(70000, 'x') + "\nkonec");
    EXPECT_FALSE(soubory.Nacti(slozka.Cesta(L"missing.txt")));
    EXPECT_FALSE(soubory.Nacti(slozka.Cesta(L"Missing\\beh1.txt")));
    EXPECT_EQ(Chybou([&] { soubory.OtevriKPripisu(slozka.Cesta(L"Missing\\beh1.txt")); }), ERROR_PATH_NOT_FOUND);

    // Equal content, one byte apart at the very end of a second block, and
    // another length.
    std::string velky(200000, 'a');
    slozka.Zapis(L"a.dot", velky);
    slozka.Zapis(L"b.dot", velky);
    velky.back() = 'b';
    slozka.Zapis(L"c.dot", velky);
    slozka.Zapis(L"d.dot", velky.substr(1));
    EXPECT_TRUE(soubory.StejnyObsah(slozka.Cesta(L"a.dot"), slozka.Cesta(L"b.dot")));
    EXPECT_FALSE(soubory.StejnyObsah(slozka.Cesta(L"a.dot"), slozka.Cesta(L"c.dot")));
    EXPECT_FALSE(soubory.StejnyObsah(slozka.Cesta(L"a.dot"), slozka.Cesta(L"d.dot")));
    EXPECT_EQ(Chybou([&] { soubory.StejnyObsah(slozka.Cesta(L"a.dot"), slozka.Cesta(L"missing")); }),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(Soubory, SameFileHoweverSpelt) {
    slozka.Slozka(L"Šablony ✓");
    slozka.Zapis(L"Šablony ✓\\Dopis.dot", "x");
    slozka.Zapis(L"Šablony ✓\\テンプレート.dot", "x");
    slozka.Zapis(L"Jiny.dot", "x");
    const std::wstring a = slozka.Cesta(L"Šablony ✓\\Dopis.dot");
    const std::wstring b = L"c" + slozka.Cesta(L"ŠABLONY ✓\\dopis.DOT").substr(1);
    EXPECT_TRUE(soubory.StejnySoubor(a, b));
    EXPECT_TRUE(soubory.StejnySoubor(a, slozka.Cesta(L"Šablony ✓\\..\\Šablony ✓\\Dopis.dot")));
    EXPECT_TRUE(soubory.StejnySoubor(slozka.Cesta(L"Šablony ✓"), slozka.Cesta(L"šablony ✓")));
    EXPECT_TRUE(soubory.StejnySoubor(slozka.Cesta(L"Šablony ✓\\テンプレート.dot"),
                                     slozka.Cesta(L"šablony ✓\\テンプレート.DOT")));
    EXPECT_FALSE(soubory.StejnySoubor(a, slozka.Cesta(L"Jiny.dot")));
    EXPECT_FALSE(soubory.StejnySoubor(a, slozka.Cesta(L"Šablony ✓\\テンプレート.dot")));
    EXPECT_FALSE(soubory.StejnySoubor(slozka.Cesta(L"Šablony ✓"), a));
    EXPECT_FALSE(soubory.StejnySoubor(a, slozka.Cesta(L"missing.dot")));
    EXPECT_FALSE(soubory.StejnySoubor(slozka.Cesta(L"missing.dot"), slozka.Cesta(L"missing.dot")));
    // Open elsewhere without sharing: still comparable.
    UchytSouboru otevreny(CreateFileW(a.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(otevreny);
    EXPECT_TRUE(soubory.StejnySoubor(a, b));
}


// A symbolic link, where the platform makes one: Windows needs the right
// to, and Wine 8 answers TRUE without making anything.
bool Odkaz(const std::wstring& odkaz, const std::wstring& cil, DWORD priznaky) {
    constexpr DWORD BezOpravneni = 0x2;   // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    if (!CreateSymbolicLinkW(odkaz.c_str(), cil.c_str(), priznaky | BezOpravneni)) return false;
    const DWORD atributy = GetFileAttributesW(odkaz.c_str());
    return atributy != INVALID_FILE_ATTRIBUTES && (atributy & FILE_ATTRIBUTE_REPARSE_POINT);
}

TEST_F(Soubory, NewFilesNeverTakeANameOrGoThroughALink) {
    slozka.Zapis(L"stary.log", "stary");
    slozka.Slozka(L"Skutecna");
    {
        const auto novy = soubory.OtevriKPripisu(slozka.Cesta(L"novy.log"), Otevreni::Novy);
        novy->Pripis("nový");
        novy->Vynut();
    }
    EXPECT_EQ(slozka.Cti(L"novy.log"), "nový");
    std::vector<std::pair<std::wstring, int32_t>> odmitnute{
        {L"stary.log", ERROR_FILE_EXISTS}, {L"Skutecna", ERROR_FILE_EXISTS}};
    if (Odkaz(slozka.Cesta(L"odkaz.log"), slozka.Cesta(L"nikam.log"), 0))
        odmitnute.push_back({L"odkaz.log", ERROR_FILE_EXISTS});
    if (Odkaz(slozka.Cesta(L"Spojeni"), slozka.Cesta(L"Skutecna"), SYMBOLIC_LINK_FLAG_DIRECTORY)) {
        odmitnute.push_back({L"Spojeni\\x.log", ERROR_CANT_ACCESS_FILE});
        slozka.Zapis(L"Skutecna\\x.log", "x");
        EXPECT_EQ(Chybou([&] { soubory.Nacti(slozka.Cesta(L"Spojeni\\x.log")); }), ERROR_CANT_ACCESS_FILE);
    }
    for (const auto& [jmeno, chyba] : odmitnute)
        for (const Otevreni jak : {Otevreni::Novy, Otevreni::Vylucny})
            EXPECT_EQ(Chybou([&] { soubory.OtevriKPripisu(slozka.Cesta(jmeno), jak); }), chyba) << Utf8(jmeno);
    EXPECT_EQ(slozka.Cti(L"stary.log"), "stary");
    EXPECT_FALSE(slozka.Cti(L"nikam.log"));
    std::cout << "symbolic links " << (odmitnute.size() > 2 ? "made" : "not made: those cases skipped") << "\n";
}

TEST_F(Soubory, RecordHeldWithoutSharingIsReadableOnceClosed) {
    {
        const auto zaznam = soubory.OtevriKPripisu(slozka.Cesta(L"beh1.txt"), Otevreni::Vylucny);
        zaznam->Pripis("SETUP");
        EXPECT_EQ(Chybou([&] { soubory.Nacti(slozka.Cesta(L"beh1.txt")); }), ERROR_SHARING_VIOLATION);
    }
    EXPECT_EQ(soubory.Nacti(slozka.Cesta(L"beh1.txt")), "SETUP");
    soubory.Vynut(slozka.Cesta(L"beh1.txt"));
    EXPECT_EQ(Chybou([&] { soubory.Vynut(slozka.Cesta(L"missing.txt")); }), ERROR_FILE_NOT_FOUND);
    const auto vlastnosti = soubory.Vlastnosti(slozka.Cesta(L"beh1.txt"));
    ASSERT_TRUE(vlastnosti);
    EXPECT_EQ(vlastnosti->velikost, 5);
    EXPECT_EQ(vlastnosti->casZmeny, soubory.CasZmeny(slozka.Cesta(L"beh1.txt")));
    EXPECT_EQ(vlastnosti->atributy, *soubory.Atributy(slozka.Cesta(L"beh1.txt")));
    EXPECT_FALSE(soubory.Vlastnosti(slozka.Cesta(L"missing.txt")));
}

TEST_F(Soubory, ProtectedFolderReadsBackItsDescriptor) {
    constexpr const wchar_t* Sddl = L"O:BAG:SYD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
    soubory.VytvorChranenouSlozku(slozka.Cesta(L"Chranena"), Sddl);
    const std::wstring chranena = soubory.Zabezpeceni(slozka.Cesta(L"Chranena"));
    slozka.Slozka(L"Obycejna");
    const std::wstring obycejna = soubory.Zabezpeceni(slozka.Cesta(L"Obycejna"));
    std::cout << "protected: " << Utf8(chranena) << "\nordinary:  " << Utf8(obycejna) << "\n";
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
        // Wine keeps no descriptor, only the Unix mode it maps it to: the
        // owner stays the user, and nobody but the owner and SYSTEM is let in.
        EXPECT_NE(chranena.find(L"(A;OICI;FA;;;SY)"), std::wstring::npos);
        EXPECT_EQ(chranena.find(L";;;WD)"), std::wstring::npos);
    } else {
        EXPECT_EQ(chranena, L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)");
    }
    EXPECT_NE(chranena, obycejna);
    EXPECT_NE(Chybou([&] { soubory.VytvorChranenouSlozku(slozka.Cesta(L"Spatna"), L"nesmysl"); }), 0);
    EXPECT_EQ(Chybou([&] { soubory.Zabezpeceni(slozka.Cesta(L"missing")); }), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace setup
