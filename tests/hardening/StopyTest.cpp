// Nothing lost, nothing left: the whole drive C: and the registry are
// photographed before a run and compared after it. A cancelled run leaves no
// difference at all, the user's overwritten file included; a successful run
// differs only by the target folder with its files, the user's templates
// folder with the link, and the set's entry among the installed programs
// with the copy of Setup it starts.
#include <cstdio>

#include "Stopy.h"
#include "ui/Ovladace.h"

namespace hardening {
namespace {

using namespace e2e;

const std::string PuvodniObsah = "původní obsah, uživatelova úprava";

// The user's own copy of a template (read-only and hidden) and a file of the
// user's, in a target folder that is already there.
void PripravCil(const std::wstring& cil, const std::wstring& prepsany) {
    VytvorSlozky(cil);
    ZapisSoubor(cil + L"\\" + prepsany, PuvodniObsah);
    ::SetFileAttributesW((cil + L"\\" + prepsany).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ZapisSoubor(cil + L"\\Moje.dot", "moje");
}

size_t PocetKopii(Zaznam& z) {
    size_t n = 0;
    for (auto& t : z.Texty())
        if (t.rfind(L"Instaluje se: ", 0) == 0) ++n;
    return n;
}

// The check itself sees every kind of change it is there to see.
TEST_F(Stopy, OtiskVidiKazdouZmenu) {
    std::wstring slozka = Koren() + L"\\Data";
    VytvorSlozky(slozka);
    ZapisSoubor(slozka + L"\\obsah.dot", "abc");
    ZapisSoubor(slozka + L"\\atribut.dot", "abc");
    ZapisSoubor(slozka + L"\\zmizi.dot", "abc");
    NastavText(HKEY_CURRENT_USER, L"Software\\Setup hardening", L"Hodnota", L"před");
    NastavText(HKEY_CURRENT_USER, L"Software\\Setup hardening\\Zmizi", L"", L"x");
    Vyfot();

    // Same size, other contents (and the time put back as it was).
    FILETIME cas{};
    {
        setup::UchytSouboru h(::CreateFileW((slozka + L"\\obsah.dot").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr));
        ::GetFileTime(h.get(), nullptr, nullptr, &cas);
    }
    ZapisSoubor(slozka + L"\\obsah.dot", "abd");
    {
        setup::UchytSouboru h(::CreateFileW((slozka + L"\\obsah.dot").c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr));
        ::SetFileTime(h.get(), nullptr, nullptr, &cas);
    }
    ::SetFileAttributesW((slozka + L"\\atribut.dot").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::DeleteFileW((slozka + L"\\zmizi.dot").c_str());
    ZapisSoubor(slozka + L"\\novy.dot", "");
    NastavText(HKEY_CURRENT_USER, L"Software\\Setup hardening", L"Hodnota", L"po");
    NastavText(HKEY_CURRENT_USER, L"Software\\Setup hardening", L"Nová", L"");
    SmazKlic(HKEY_CURRENT_USER, L"Software\\Setup hardening\\Zmizi");

    auto zmeny = Zmeny();
    for (auto& z : zmeny) std::printf("[ změna ] %s\n", Utf8(z).c_str());
    auto je = [&](const std::wstring& zacatek, const std::wstring& obsahuje) {
        for (auto& z : zmeny)
            if (z.rfind(zacatek, 0) == 0 && z.find(obsahuje) != std::wstring::npos) return true;
        return false;
    };
    EXPECT_TRUE(je(L"disk: ~", L"obsah.dot")) << "contents";
    EXPECT_TRUE(je(L"disk: ~", L"atribut.dot")) << "attributes";
    EXPECT_TRUE(je(L"disk: -", L"zmizi.dot"));
    EXPECT_TRUE(je(L"disk: +", L"novy.dot"));
    EXPECT_TRUE(je(L"registry: ~", L"Hodnota"));
    EXPECT_TRUE(je(L"registry: +", L"Nov"));
    EXPECT_TRUE(je(L"registry: -", L"Zmizi"));
    EXPECT_EQ(zmeny.size(), 8u) << "exactly these (the removed key and its value)";
    SmazKlic(HKEY_CURRENT_USER, L"Software\\Setup hardening");
}

TEST_F(Stopy, ZrusenyBehNezanechaNic) {
    std::wstring sada = PripravVelkouSadu(L"Velká sada", 1500);
    auto soubory = SouboryVeSlozce(sada);
    std::wstring cil = NastavNovouVerzi() + L"\\Velká sada";
    PripravCil(cil, soubory[10]);
    NastavSablonyUzivatele(L"Šablony stopy");
    Vyfot();

    Spust();
    Enter();
    HWND prubeh = CekejNa([&] { return OknoPrubehu(Pid()); });
    ASSERT_TRUE(prubeh);
    // Past the overwritten file, so its backup has to be put back.
    ASSERT_TRUE(CekejAz([&] { return PocetKopii(Hlasky()) > 60; }));
    ASSERT_TRUE(Aktivuj(prubeh));
    Klavesa(VK_ESCAPE);
    CekejNaHlavniOkno();
    EXPECT_FALSE(OknoHlaseni(Pid()));
    UkonciStornem();

    OverStopy();
    EXPECT_EQ(CtiSoubor(cil + L"\\" + soubory[10]), PuvodniObsah);
}

TEST_F(Stopy, UspesnyBehMeniJenCilASablony) {
    std::wstring sada = PripravSadu();
    auto soubory = SouboryVeSlozce(sada);
    std::wstring cil = NastavNovouVerzi() + L"\\" + NazevSady;
    PripravCil(cil, soubory[0]);
    std::wstring odkazy = NastavSablonyUzivatele(L"Šablony stopy");
    Vyfot();

    Spust();
    Hlaseni h = InstalujAPotvrd();
    EXPECT_EQ(h.text, L"Instalace byla úspěšně dokončena.");

    // The target folder's entries and the templates folder with the link,
    // the kept copy of Setup with its list and the set's entry among the
    // installed programs; nothing else on the drive or in the registry.
    OverStopy({cil + L"\\", odkazy, SlozkaZaznamu(), KlicOdinstalace});
    EXPECT_EQ(Strom(SlozkaZaznamu()), (std::vector<std::wstring>{NazevSady, std::wstring(NazevSady) + L"\\Setup.exe",
                                                                 std::wstring(NazevSady) + L"\\seznam.txt"}));
    EXPECT_EQ(CtiSoubor(cil + L"\\Moje.dot"), "moje");
    for (auto& s : soubory) EXPECT_EQ(CtiSoubor(cil + L"\\" + s), CtiSoubor(sada + L"\\" + s)) << Utf8(s);
    EXPECT_TRUE(Existuje(odkazy + L"\\" + NazevSady + L".lnk"));
}

}  // namespace
}  // namespace hardening
