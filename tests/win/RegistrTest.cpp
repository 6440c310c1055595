// mRegistry against the registry of a fresh Wine prefix, each test under a
// key of its own. Single calls are replaced where the registry will not fail
// or change on demand.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include "Pomoc.h"
#include "win32/Win32.h"

namespace setup {
namespace {

using test::TestovaciKlic;
using test::ZaznamHlaseni;
using test::SmazKlic;

constexpr uint32_t HKCU = HKEY_CURRENT_USER_;

std::vector<uint8_t> Utf16(const std::wstring& text) {
    std::vector<uint8_t> v;
    for (wchar_t c : text) {
        v.push_back(static_cast<uint8_t>(c & 0xFF));
        v.push_back(static_cast<uint8_t>(c >> 8));
    }
    v.insert(v.end(), {0, 0});
    return v;
}

class Registr : public testing::Test {
protected:
    TestovaciKlic klic;
    ZaznamHlaseni hlaseni;
    Win32Registr registr;

    std::wstring Cti(const std::wstring& nazev, const std::wstring& pod = L"") {
        return registr.CtiRegistr(HKCU, klic.Cesta(pod), nazev);
    }
    std::wstring CtiCestu(const std::wstring& nazev, bool pohled64 = false) {
        return registr.CtiCestu(HKCU, klic.Cesta(), nazev, pohled64);
    }
    void NastavBajty(const std::wstring& nazev, DWORD typ, std::vector<uint8_t> data) {
        klic.Nastav(nazev, typ, data.data(), static_cast<DWORD>(data.size()));
    }
};

// CtiRegistr ------------------------------------------------------------------------

TEST_F(Registr, TextIsTrimmedOfSpacesAndCutAtNul) {
    klic.NastavText(L"Path", L"  C:\\Office\\  ");
    klic.NastavText(L"Tab", L"\tC:\\Office\t");
    NastavBajty(L"Nul", REG_SZ, Utf16(std::wstring(L"C:\\A\0C:\\B", 9)));
    NastavBajty(L"NulFirst", REG_SZ, Utf16(std::wstring(L"\0C:\\B", 5)));
    klic.NastavText(L"Czech", L" Šablony ✓ テンプレート ");
    EXPECT_EQ(Cti(L"Path"), L"C:\\Office\\");
    EXPECT_EQ(Cti(L"Tab"), L"\tC:\\Office\t");
    EXPECT_EQ(Cti(L"Nul"), L"C:\\A");
    EXPECT_EQ(Cti(L"NulFirst"), L"");
    EXPECT_EQ(Cti(L"Czech"), L"Šablony ✓ テンプレート");
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

TEST_F(Registr, NumberReadsAsSignedDecimal) {
    klic.NastavCislo(L"a", 42);
    klic.NastavCislo(L"b", 0);
    klic.NastavCislo(L"c", 0xFFFFFFFF);
    klic.NastavCislo(L"d", 0x80000000);
    klic.NastavCislo(L"e", 0x7FFFFFFF);
    EXPECT_EQ(Cti(L"a"), L"42");
    EXPECT_EQ(Cti(L"b"), L"0");
    EXPECT_EQ(Cti(L"c"), L"-1");
    EXPECT_EQ(Cti(L"d"), L"-2147483648");
    EXPECT_EQ(Cti(L"e"), L"2147483647");
}

TEST_F(Registr, OtherTypesReadAsEmpty) {
    const std::vector<uint8_t> text = Utf16(L"C:\\Office");
    NastavBajty(L"expand", REG_EXPAND_SZ, text);
    std::vector<uint8_t> multi = text;
    multi.insert(multi.end(), {0, 0});
    NastavBajty(L"multi", REG_MULTI_SZ, multi);
    NastavBajty(L"binary", REG_BINARY, {42, 0, 0, 0});
    NastavBajty(L"qword", REG_QWORD, {42, 0, 0, 0, 0, 0, 0, 0});
    NastavBajty(L"none", REG_NONE, text);
    for (const wchar_t* nazev : {L"expand", L"multi", L"binary", L"qword", L"none"}) {
        EXPECT_EQ(Cti(nazev), L"") << nazev;
    }
}

TEST_F(Registr, NumberStoredWithOtherThanFourBytesIsEmptyAndUntouched) {
    // Eight bytes: not a 32-bit number, so not usable rather than cut to its
    // first four; the read must not write past a 4-byte number either.
    const std::vector<uint8_t> osm = {42, 0, 0, 0, 1, 0, 0, 0};
    NastavBajty(L"eight", REG_DWORD, osm);
    NastavBajty(L"zero", REG_DWORD, {});
    NastavBajty(L"one", REG_DWORD, {42});
    NastavBajty(L"three", REG_DWORD, {42, 0, 0});
    EXPECT_EQ(Cti(L"eight"), L"");
    EXPECT_EQ(Cti(L"zero"), L"");
    EXPECT_EQ(Cti(L"one"), L"");
    EXPECT_EQ(Cti(L"three"), L"");
    const auto ulozeno = klic.Surova(L"eight");
    ASSERT_TRUE(ulozeno);
    EXPECT_EQ(ulozeno->first, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(ulozeno->second, osm);
}

TEST_F(Registr, TextWithoutNulOrWithOddByteCount) {
    NastavBajty(L"nonul", REG_SZ, {'C', 0, ':', 0, '\\', 0, 'A', 0});
    NastavBajty(L"odd", REG_SZ, {'C', 0, ':', 0, 'X'});
    NastavBajty(L"half", REG_SZ, {'C'});
    NastavBajty(L"empty", REG_SZ, {});
    EXPECT_EQ(Cti(L"nonul"), L"C:\\A");
    EXPECT_EQ(Cti(L"odd"), L"C:");
    EXPECT_EQ(Cti(L"half"), L"");
    EXPECT_EQ(Cti(L"empty"), L"");
}

TEST_F(Registr, LargeValuesReadWhole) {
    // A megabyte of text, and 100,000 characters written by the module itself.
    std::wstring mega(512 * 1024 - 1, L'x');
    for (std::size_t i = 0; i < mega.size(); i += 1000) mega[i] = L'ř';
    klic.NastavText(L"mega", mega);
    EXPECT_EQ(Cti(L"mega"), mega);

    const std::wstring sto(100000, L'ů');
    EXPECT_TRUE(registr.ZapisRegistr(HKCU, klic.Cesta(), L"sto", &sto));
    EXPECT_EQ(Cti(L"sto"), sto);
}

TEST_F(Registr, DefaultValueSetAndUnset) {
    EXPECT_EQ(Cti(L""), L"");
    klic.NastavText(L"", L"  C:\\Šablony  ");
    EXPECT_EQ(Cti(L""), L"C:\\Šablony");
}

TEST_F(Registr, MissingKeyOrValueIsEmpty) {
    klic.NastavText(L"Path", L"C:\\Office");
    EXPECT_EQ(Cti(L"Path", L"Missing"), L"");
    EXPECT_EQ(Cti(L"Other"), L"");
    EXPECT_EQ(registr.CtiRegistr(0x80000099, klic.Cesta(), L"Path"), L"");   // no such root
    EXPECT_EQ(Cti(L"Path"), L"C:\\Office");
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

TEST_F(Registr, NulInKeyOrValueNameNamesNothing) {
    // Cut short at the NUL, these would name the existing key and value.
    klic.NastavText(L"Path", L"C:\\Office");
    EXPECT_EQ(registr.CtiRegistr(HKCU, klic.Cesta() + std::wstring(L"\0X", 2), L"Path"), L"");
    EXPECT_EQ(registr.CtiRegistr(HKCU, klic.Cesta(), std::wstring(L"Path\0X", 6)), L"");
    const std::wstring jina = L"D:\\";
    EXPECT_FALSE(registr.ZapisRegistr(HKCU, klic.Cesta(), std::wstring(L"Path\0X", 6), &jina));
    EXPECT_FALSE(registr.ZapisRegistr(HKCU, klic.Cesta() + std::wstring(L"\0X", 2), L"Path", &jina));
    EXPECT_EQ(Cti(L"Path"), L"C:\\Office");
    SmazKlic(registr, hlaseni, HKCU, klic.Cesta() + std::wstring(L"\0X", 2));
    EXPECT_TRUE(klic.Existuje());
    ASSERT_EQ(hlaseni.zpravy.size(), 1u);
    EXPECT_EQ(hlaseni.zpravy[0].text, L"Nelze otevřít regist.");
}

// A value rewritten between the size query and the data query -------------------------

namespace zmena {
std::wstring cesta;
std::function<void(HKEY)> prepis;
int volani = 0;

LSTATUS WINAPI Cti(HKEY h, LPCWSTR nazev, LPDWORD r, LPDWORD typ, LPBYTE data, LPDWORD velikost) {
    const LSTATUS kod = RegQueryValueExW(h, nazev, r, typ, data, velikost);
    if (volani++ == 0) {
        KlicRegistru zapis;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, cesta.c_str(), 0, KEY_SET_VALUE, zapis.put()) ==
            ERROR_SUCCESS) {
            prepis(zapis.get());
        }
    }
    return kod;
}
}  // namespace zmena

class ZmenaBehemCteni : public Registr {
protected:
    void SetUp() override {
        zmena::cesta = klic.Cesta();
        zmena::volani = 0;
        klic.NastavText(L"v", L"short");
    }
    std::wstring CtiSeZmenou(std::function<void(HKEY)> prepis) {
        zmena::prepis = std::move(prepis);
        RegistrVolani volani;
        volani.cti = zmena::Cti;
        Win32Registr r(volani);
        return r.CtiRegistr(HKCU, klic.Cesta(), L"v");
    }
};

TEST_F(ZmenaBehemCteni, GrownValueIsReadWhole) {
    const std::wstring dlouha(5000, L'é');
    EXPECT_EQ(CtiSeZmenou([&](HKEY h) {
                  RegSetValueExW(h, L"v", 0, REG_SZ, reinterpret_cast<const BYTE*>(dlouha.c_str()),
                                 static_cast<DWORD>((dlouha.size() + 1) * 2));
              }),
              dlouha);
    EXPECT_GE(zmena::volani, 3);   // size, a read that did not fit, the read
}

TEST_F(ZmenaBehemCteni, ShrunkValueIsReadAsItIsNow) {
    EXPECT_EQ(CtiSeZmenou([](HKEY h) {
                  RegSetValueExW(h, L"v", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"ab"), 6);
              }),
              L"ab");
}

TEST_F(ZmenaBehemCteni, ValueThatBecameANumberReadsAsTheNumber) {
    EXPECT_EQ(CtiSeZmenou([](HKEY h) {
                  const DWORD cislo = 7;
                  RegSetValueExW(h, L"v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&cislo), 4);
              }),
              L"7");
}

TEST_F(ZmenaBehemCteni, DeletedValueIsEmpty) {
    EXPECT_EQ(CtiSeZmenou([](HKEY h) { RegDeleteValueW(h, L"v"); }), L"");
}

namespace roste {
int volani = 0;
LSTATUS WINAPI Cti(HKEY, LPCWSTR, LPDWORD, LPDWORD typ, LPBYTE data, LPDWORD velikost) {
    ++volani;
    *typ = REG_SZ;
    *velikost = static_cast<DWORD>(volani * 100);   // always bigger than the buffer offered
    return data ? ERROR_MORE_DATA : ERROR_SUCCESS;
}
}  // namespace roste

TEST_F(Registr, ValueThatNeverStopsGrowingGivesEmptyTextInBoundedTime) {
    klic.NastavText(L"v", L"x");
    roste::volani = 0;
    RegistrVolani volani;
    volani.cti = roste::Cti;
    Win32Registr r(volani);
    EXPECT_EQ(r.CtiRegistr(HKCU, klic.Cesta(), L"v"), L"");
    EXPECT_GT(roste::volani, 2);
    EXPECT_LE(roste::volani, 20);
}

// CtiCestu ----------------------------------------------------------------------------

TEST_F(Registr, PathOfEitherTextTypeTheExpandableOneExpanded) {
    SetEnvironmentVariableW(L"SETUP_TEST_PROFIL", L"C:\\Users\\Jana Nováková");
    klic.NastavText(L"sz", L"  D:\\Šablony\\  ");
    klic.NastavText(L"szProcenta", L"%SETUP_TEST_PROFIL%\\Šablony");
    NastavBajty(L"expand", REG_EXPAND_SZ, Utf16(L" %SETUP_TEST_PROFIL%\\Šablony "));
    NastavBajty(L"neznama", REG_EXPAND_SZ, Utf16(L"%SETUP_TEST_NENI%\\Šablony"));
    NastavBajty(L"nul", REG_EXPAND_SZ, Utf16(std::wstring(L"%SETUP_TEST_PROFIL%\0D:\\B", 24)));
    NastavBajty(L"prazdna", REG_EXPAND_SZ, Utf16(L""));
    EXPECT_EQ(CtiCestu(L"sz"), L"D:\\Šablony\\");
    EXPECT_EQ(CtiCestu(L"szProcenta"), L"%SETUP_TEST_PROFIL%\\Šablony") << "REG_SZ is taken as it is";
    EXPECT_EQ(CtiCestu(L"expand"), L"C:\\Users\\Jana Nováková\\Šablony");
    EXPECT_EQ(CtiCestu(L"neznama"), L"%SETUP_TEST_NENI%\\Šablony") << "an unknown variable stays";
    EXPECT_EQ(CtiCestu(L"nul"), L"C:\\Users\\Jana Nováková");
    EXPECT_EQ(CtiCestu(L"prazdna"), L"");
    // The reader of the older suites' values still takes REG_EXPAND_SZ for nothing.
    EXPECT_EQ(Cti(L"expand"), L"");
    // Longer than a first guess at the expanded size.
    const std::wstring dlouha(1000, L'ř');
    SetEnvironmentVariableW(L"SETUP_TEST_PROFIL", dlouha.c_str());
    EXPECT_EQ(CtiCestu(L"expand"), dlouha + L"\\Šablony");
    SetEnvironmentVariableW(L"SETUP_TEST_PROFIL", nullptr);
}

TEST_F(Registr, PathOfOtherTypesOrMissingIsEmpty) {
    klic.NastavCislo(L"dword", 42);
    NastavBajty(L"multi", REG_MULTI_SZ, {'C', 0, ':', 0, 0, 0, 0, 0});
    NastavBajty(L"binary", REG_BINARY, Utf16(L"C:\\Office"));
    for (const wchar_t* nazev : {L"dword", L"multi", L"binary", L"chybi"}) EXPECT_EQ(CtiCestu(nazev), L"") << nazev;
    klic.NastavText(L"Path", L"C:\\Office");
    EXPECT_EQ(registr.CtiCestu(HKCU, klic.Cesta(L"Chybi"), L"Path"), L"");
    EXPECT_EQ(registr.CtiCestu(HKCU, klic.Cesta() + std::wstring(L"\0X", 2), L"Path"), L"");
    EXPECT_EQ(registr.CtiCestu(HKCU, klic.Cesta(), std::wstring(L"Path\0X", 6)), L"");
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

namespace pohled {
std::vector<REGSAM> prava;
LSTATUS WINAPI Otevri(HKEY k, LPCWSTR c, DWORD o, REGSAM s, PHKEY h) {
    prava.push_back(s);
    return RegOpenKeyExW(k, c, o, s, h);
}
}  // namespace pohled

TEST_F(Registr, PathOfThe64BitViewAsksForIt) {
    // A 32-bit prefix has one view, as 32-bit Windows: the flag is ignored
    // and the same key is read; what shows the view is the open's rights.
    klic.NastavText(L"Path", L"C:\\Program Files\\Microsoft Office\\");
    pohled::prava.clear();
    RegistrVolani volani;
    volani.otevri = pohled::Otevri;
    Win32Registr r(volani);
    EXPECT_EQ(r.CtiCestu(HKCU, klic.Cesta(), L"Path", true), L"C:\\Program Files\\Microsoft Office\\");
    EXPECT_EQ(r.CtiCestu(HKCU, klic.Cesta(), L"Path", false), L"C:\\Program Files\\Microsoft Office\\");
    EXPECT_EQ(r.CtiRegistr(HKCU, klic.Cesta(), L"Path"), L"C:\\Program Files\\Microsoft Office\\");
    EXPECT_EQ(pohled::prava, (std::vector<REGSAM>{KEY_READ | KEY_WOW64_64KEY, KEY_READ, KEY_READ}));
}

// ZapisRegistr ------------------------------------------------------------------------

TEST_F(Registr, WriteCreatesMissingKeysAndStoresTextWithItsNul) {
    const std::wstring hodnota = L"x";
    ASSERT_FALSE(klic.Existuje(L"A"));
    EXPECT_TRUE(registr.ZapisRegistr(HKCU, klic.Cesta(L"A\\B"), L"Templates", &hodnota));
    const auto ulozeno = klic.Surova(L"Templates", L"A\\B");
    ASSERT_TRUE(ulozeno);
    EXPECT_EQ(ulozeno->first, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ulozeno->second, (std::vector<uint8_t>{'x', 0, 0, 0}));

    const std::wstring prazdna;
    EXPECT_TRUE(registr.ZapisRegistr(HKCU, klic.Cesta(L"A\\B"), L"Empty", &prazdna));
    EXPECT_EQ(klic.Surova(L"Empty", L"A\\B")->second, (std::vector<uint8_t>{0, 0}));

    const std::wstring cesky = L"Šablony ✓";
    EXPECT_TRUE(registr.ZapisRegistr(HKCU, klic.Cesta(L"A\\B"), L"", &cesky));
    EXPECT_EQ(klic.Surova(L"", L"A\\B")->second, Utf16(cesky));
    EXPECT_EQ(registr.CtiRegistr(HKCU, klic.Cesta(L"A\\B"), L""), cesky);
}

TEST_F(Registr, WriteWithoutTextStoresTheNumber) {
    EXPECT_TRUE(registr.ZapisRegistr(HKCU, klic.Cesta(), L"n", nullptr, -2));
    auto ulozeno = klic.Surova(L"n");
    ASSERT_TRUE(ulozeno);
    EXPECT_EQ(ulozeno->first, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(ulozeno->second, (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(registr.ZapisRegistr(HKCU, klic.Cesta(), L"z", nullptr));
    EXPECT_EQ(klic.Surova(L"z")->second, (std::vector<uint8_t>{0, 0, 0, 0}));
    // Replacing a text with a number and back.
    EXPECT_TRUE(registr.ZapisRegistr(HKCU, klic.Cesta(), L"n", nullptr, 305419896));
    EXPECT_EQ(Cti(L"n"), L"305419896");
    const std::wstring text = L"t";
    EXPECT_TRUE(registr.ZapisRegistr(HKCU, klic.Cesta(), L"n", &text));
    EXPECT_EQ(klic.Surova(L"n")->first, static_cast<DWORD>(REG_SZ));
}

namespace odmitnuti {
int vytvoreni = 0;
LSTATUS WINAPI Otevri(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY) { return ERROR_ACCESS_DENIED; }
LSTATUS WINAPI Vytvor(HKEY k, LPCWSTR c, DWORD r, LPWSTR t, DWORD o, REGSAM s,
                      LPSECURITY_ATTRIBUTES a, PHKEY h, LPDWORD d) {
    ++vytvoreni;
    return RegCreateKeyExW(k, c, r, t, o, s, a, h, d);
}
}  // namespace odmitnuti

TEST_F(Registr, WriteWhoseOpenFailsOtherwiseThanNotFoundCreatesNothing) {
    // The key is missing, and creating it would succeed: only the open's
    // answer (access denied) may keep the write from creating it.
    odmitnuti::vytvoreni = 0;
    RegistrVolani volani;
    volani.otevri = odmitnuti::Otevri;
    volani.vytvor = odmitnuti::Vytvor;
    Win32Registr r(volani);
    const std::wstring hodnota = L"x";
    EXPECT_FALSE(r.ZapisRegistr(HKCU, klic.Cesta(L"A\\B"), L"v", &hodnota));
    EXPECT_EQ(odmitnuti::vytvoreni, 0);
    EXPECT_FALSE(klic.Existuje(L"A"));
}

namespace nezapsano {
LSTATUS WINAPI Zapis(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD) { return ERROR_ACCESS_DENIED; }
}  // namespace nezapsano

TEST_F(Registr, FailedSetGivesFalseAndLeavesTheCreatedKey) {
    RegistrVolani volani;
    volani.zapis = nezapsano::Zapis;
    Win32Registr r(volani);
    const std::wstring hodnota = L"x";
    EXPECT_FALSE(r.ZapisRegistr(HKCU, klic.Cesta(L"A"), L"v", &hodnota));
    EXPECT_TRUE(klic.Existuje(L"A"));
    EXPECT_FALSE(klic.Surova(L"v", L"A"));
}

// A key the user may read but not change -------------------------------------------------

class KlicJenProCteni : public Registr {
protected:
    void SetUp() override {
        klic.NastavText(L"Path", L"C:\\Office");
        klic.Nastav(L"Sub", REG_SZ, L"", 2, L"Child");
        Zabezpeceni(L"D:P(A;;KR;;;WD)");   // everyone: read only
    }
    void TearDown() override { Zabezpeceni(L"D:P(A;;KA;;;WD)"); }

    void Zabezpeceni(const wchar_t* sddl) {
        PSECURITY_DESCRIPTOR popis = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                         &popis, nullptr));
        NaKonci uvolni([&] { LocalFree(popis); });
        KlicRegistru h;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, klic.Cesta().c_str(), 0, WRITE_DAC, h.put()),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetKeySecurity(h.get(), DACL_SECURITY_INFORMATION, popis), ERROR_SUCCESS);
    }
};

TEST_F(KlicJenProCteni, IsReadButNeitherWrittenNorDeleted) {
    // The security is really enforced: changing rights are refused.
    KlicRegistru zkouska;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, klic.Cesta().c_str(), 0, 0x3F, zkouska.put()),
              ERROR_ACCESS_DENIED);
    zkouska.release();

    EXPECT_EQ(Cti(L"Path"), L"C:\\Office");
    const std::wstring jina = L"D:\\";
    EXPECT_FALSE(registr.ZapisRegistr(HKCU, klic.Cesta(), L"Path", &jina));
    EXPECT_FALSE(registr.ZapisRegistr(HKCU, klic.Cesta(), L"New", nullptr, 1));
    EXPECT_EQ(Cti(L"Path"), L"C:\\Office");
    EXPECT_EQ(Cti(L"New"), L"");
    EXPECT_TRUE(hlaseni.zpravy.empty());

    SmazKlic(registr, hlaseni, HKCU, klic.Cesta());
    EXPECT_TRUE(klic.Existuje());
    ASSERT_EQ(hlaseni.zpravy.size(), 1u);
    EXPECT_EQ(hlaseni.zpravy[0].text, L"Nelze otevřít regist.");
}

// SmazKlic ---------------------------------------------------------------------------------

namespace pocitane {
int otevreni = 0;
LSTATUS WINAPI Otevri(HKEY k, LPCWSTR c, DWORD o, REGSAM s, PHKEY h) {
    ++otevreni;
    return RegOpenKeyExW(k, c, o, s, h);
}
}  // namespace pocitane

TEST_F(Registr, DeleteOfEmptyPathDoesNothing) {
    pocitane::otevreni = 0;
    RegistrVolani volani;
    volani.otevri = pocitane::Otevri;
    Win32Registr r(volani);
    SmazKlic(r, hlaseni, HKCU, L"");
    EXPECT_EQ(pocitane::otevreni, 0);
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

TEST_F(Registr, DeleteOfMissingKeyReportsTheOpen) {
    SmazKlic(registr, hlaseni, HKCU, klic.Cesta(L"Missing"));
    ASSERT_EQ(hlaseni.zpravy.size(), 1u);
    EXPECT_EQ(hlaseni.zpravy[0].text, L"Nelze otevřít regist.");
    EXPECT_EQ(hlaseni.zpravy[0].titulek, L"Setup");
    EXPECT_EQ(hlaseni.zpravy[0].styl, 16u);
}

TEST_F(Registr, DeleteRemovesTheKeyQuietly) {
    klic.NastavText(L"v", L"x");
    klic.Nastav(L"w", REG_SZ, L"y", 4, L"Child");
    SmazKlic(registr, hlaseni, HKCU, klic.Cesta(L"Child"));
    EXPECT_FALSE(klic.Existuje(L"Child"));
    EXPECT_TRUE(klic.Existuje());
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

TEST_F(Registr, RefusedDeleteIsReportedAndTheKeyStays) {
    // The platform refuses to delete a key that has sub-keys.
    klic.Nastav(L"w", REG_SZ, L"y", 4, L"Child\\Grandchild");
    const long predtim = test::PocetUchytu();
    SmazKlic(registr, hlaseni, HKCU, klic.Cesta(L"Child"));
    EXPECT_EQ(test::PocetUchytu(), predtim);   // the opened key was closed
    EXPECT_TRUE(klic.Existuje(L"Child\\Grandchild"));
    ASSERT_EQ(hlaseni.zpravy.size(), 1u);
    EXPECT_EQ(hlaseni.zpravy[0].text, L"Nelze odstranit klice registru.");
    EXPECT_EQ(hlaseni.zpravy[0].titulek, L"Setup");
    EXPECT_EQ(hlaseni.zpravy[0].styl, 16u);
}

// What a run needs to take a value back: whether a key and a value are
// there, and their removal, a key's only while it is empty.
TEST_F(Registr, ValuesAndEmptyKeysAreFoundAndRemoved) {
    klic.NastavText(L"Jméno", L"x");
    klic.Nastav(L"Rozšířená", REG_EXPAND_SZ, L"%TEMP%", 14);
    klic.Nastav(L"v", REG_SZ, L"x", 4, L"Pod");
    EXPECT_TRUE(registr.ExistujeKlic(HKCU, klic.Cesta()));
    EXPECT_FALSE(registr.ExistujeKlic(HKCU, klic.Cesta(L"Jiný")));
    EXPECT_TRUE(registr.ExistujeHodnota(HKCU, klic.Cesta(), L"jméno"));
    EXPECT_TRUE(registr.ExistujeHodnota(HKCU, klic.Cesta(), L"Rozšířená"));   // any type
    EXPECT_FALSE(registr.ExistujeHodnota(HKCU, klic.Cesta(), L"Jiná"));
    EXPECT_FALSE(registr.ExistujeHodnota(HKCU, klic.Cesta(L"Jiný"), L"Jméno"));

    EXPECT_TRUE(registr.SmazHodnotu(HKCU, klic.Cesta(), L"Jméno"));
    EXPECT_FALSE(registr.ExistujeHodnota(HKCU, klic.Cesta(), L"Jméno"));
    EXPECT_TRUE(registr.SmazHodnotu(HKCU, klic.Cesta(), L"Jméno"));   // gone already
    EXPECT_TRUE(registr.SmazHodnotu(HKCU, klic.Cesta(L"Jiný"), L"Jméno"));
    EXPECT_TRUE(registr.ExistujeHodnota(HKCU, klic.Cesta(), L"Rozšířená"));

    // A key with a value or a key in it stays.
    EXPECT_FALSE(registr.SmazPrazdnyKlic(HKCU, klic.Cesta(L"Pod")));
    EXPECT_FALSE(registr.SmazPrazdnyKlic(HKCU, klic.Cesta()));
    EXPECT_TRUE(registr.SmazHodnotu(HKCU, klic.Cesta(L"Pod"), L"v"));
    EXPECT_TRUE(registr.SmazPrazdnyKlic(HKCU, klic.Cesta(L"Pod")));
    EXPECT_FALSE(klic.Existuje(L"Pod"));
    EXPECT_TRUE(registr.SmazPrazdnyKlic(HKCU, klic.Cesta(L"Pod")));
    EXPECT_TRUE(klic.Existuje());
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

}  // namespace
}  // namespace setup
