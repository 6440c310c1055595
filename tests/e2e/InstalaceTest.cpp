// A whole install: Enter at start, the status lines, the completion box, and
// what lands on disk; a read-only medium twice; an error while installing.
#include <algorithm>

#include "Scenar.h"
#include "ui/Ovladace.h"

namespace e2e {
namespace {

using Instalace = Scenar;

TEST_F(Instalace, EnterInstalujeSaduAZastupce) {
    std::wstring sada = PripravSadu();
    std::wstring cil = NastavNovouVerzi() + L"\\" + NazevSady;
    std::wstring odkazy = NastavSablonyUzivatele(L"Šablony e2e");
    Spust();
    ASSERT_EQ(Text(Prvek(IDC_SLOZKA)), cil);

    Enter();
    Hlaseni h = CekejNaHlaseni();
    EXPECT_EQ(h.titulek, TitulekHlavnihoOkna);
    EXPECT_EQ(h.text, L"Instalace byla úspěšně dokončena.");
    EXPECT_EQ(h.tlacitka, std::vector<std::wstring>{L"OK"});
    EXPECT_EQ(h.ikona, Ikona::Informace);
    HWND prubeh = OknoPrubehu(Pid());
    ASSERT_TRUE(prubeh) << "the progress window stays up behind the completion box";
    EXPECT_EQ(Text(::GetDlgItem(prubeh, IDC_TEXT)), L"Instalace dokončena.");
    EXPECT_FALSE(::IsWindowVisible(Hlavni()));
    Snimek(h.okno, L"dokonceni");
    PotvrdHlaseni(h);
    ASSERT_TRUE(Program().CekejNaKonec(Cekani()));
    EXPECT_EQ(Program().Kod(), 0u);

    // Every status line, in order, and the bar each one left.
    auto soubory = SouboryVeSlozce(sada);
    std::wstring odkaz = std::wstring(NazevSady) + L".lnk";
    EXPECT_EQ(Hlasky().Texty(), HlaskyUspechu(soubory, true, odkaz));
    auto sUkazatelem = Hlasky().TextySUkazatelem();
    const int plny = 3945 / 15;
    const int zaznamu = static_cast<int>(soubory.size()) + 3;
    int i = 0;
    for (auto& [text, sirka] : sUkazatelem) {
        if (text == L"Instaluje se.") {
            EXPECT_EQ(sirka, 0) << "the bar is empty when execution starts";
        } else if (text.rfind(L"Instaluje se: ", 0) == 0) {
            ++i;
            EXPECT_NEAR(sirka, plny * i / zaznamu, 1) << Utf8(text);
        } else {
            EXPECT_NEAR(sirka, plny, 1) << Utf8(text) << ": three thirds, or done";
        }
    }

    OverSoubory(sada, cil);
    EXPECT_EQ(Strom(odkazy), std::vector<std::wstring>{odkaz});
    auto o = CtiOdkaz(odkazy + L"\\" + odkaz);
    ASSERT_TRUE(o);
    // Windows keeps the target's Unicode path in the link; Wine keeps only
    // the ANSI one, so a letter its code page lacks (the "ř" of the set's
    // name under a Western code page) comes back as its nearest look-alike.
    EXPECT_EQ(o->cil, PresAnsi(cil));
    EXPECT_EQ(o->popis, L"ShellLink Sample");
    EXPECT_EQ(o->argumenty, L"");
    EXPECT_EQ(o->pracovniSlozka, L"");
    UlozOdkazProLnkinfo(odkazy + L"\\" + odkaz, L"instalace", PresAnsi(cil));
}

TEST_F(Instalace, BezSablonUzivateleZadnyZastupce) {
    std::wstring sada = PripravSadu();
    std::wstring cil = NastavNovouVerzi() + L"\\" + NazevSady;
    std::wstring aplikacniData = SlozkaAplikacnichDat() + L"\\Microsoft";
    auto pred = Strom(aplikacniData);
    ASSERT_FALSE(pred.empty());
    Spust();
    Hlaseni h = InstalujAPotvrd();
    EXPECT_EQ(h.text, L"Instalace byla úspěšně dokončena.");
    EXPECT_EQ(Hlasky().Texty(), HlaskyUspechu(SouboryVeSlozce(sada), false, L""));
    OverSoubory(sada, cil);
    EXPECT_EQ(Strom(aplikacniData), pred) << "no templates folder, no link";
}

TEST_F(Instalace, CteneMediumDvakratPoSobe) {
    std::wstring sada = PripravSadu();
    for (auto& s : SouboryVeSlozce(sada)) ::SetFileAttributesW((sada + L"\\" + s).c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW(sada.c_str(), FILE_ATTRIBUTE_READONLY);
    std::wstring cil = NastavNovouVerzi() + L"\\" + NazevSady;

    for (int beh = 1; beh <= 2; ++beh) {
        SCOPED_TRACE(beh);
        Spust();
        Hlaseni h = InstalujAPotvrd();
        EXPECT_EQ(h.text, L"Instalace byla úspěšně dokončena.");
        EXPECT_EQ(h.ikona, Ikona::Informace);
        EXPECT_EQ(Program().Kod(), 0u);
        // The second run finds every file in place and replaces it; nothing
        // of the replaced copies may stay behind.
        OverSoubory(sada, cil);
    }
}

TEST_F(Instalace, ChybaBehemInstalaceVratiHlavniOkno) {
    PripravSadu();
    // The target's name is taken by a file: making the folder fails, with the
    // platform's reason.
    const std::wstring cil = ObsadCilSouborem("tady je soubor");
    ASSERT_FALSE(::CreateDirectoryW(cil.c_str(), nullptr));
    std::wstring popis = PopisChyby(::GetLastError());
    ASSERT_FALSE(popis.empty());

    Spust();
    Enter();
    Hlaseni h = CekejNaChybu();
    EXPECT_EQ(h.text, popis) << "the platform's own description";
    HWND prubeh = OknoPrubehu(Pid());
    ASSERT_TRUE(prubeh) << "the progress window stays up behind the box";
    EXPECT_EQ(::GetWindow(h.okno, GW_OWNER), prubeh);
    EXPECT_FALSE(::IsWindowEnabled(prubeh)) << "its Storno is inert while the box waits";
    Snimek(h.okno, L"chyba-instalace");
    PotvrdHlaseni(h);

    HWND hlavni = CekejNaHlavniOkno();
    EXPECT_EQ(hlavni, Hlavni());
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), cil);
    EXPECT_FALSE(OknoHlaseni(Pid())) << "one box only";
    EXPECT_FALSE(OknoPrubehu(Pid()));
    EXPECT_EQ(Hlasky().Texty(),
              (std::vector<std::wstring>{L"Připravuje se instalace.", L"Instaluje se.", L"Instaluje se: Šablony",
                                         L"Ruší se instalace: Šablony"}));
    EXPECT_EQ(CtiSoubor(cil), "tady je soubor");
    EXPECT_EQ(Strom(cil.substr(0, cil.rfind(L'\\'))), std::vector<std::wstring>{NazevSady});
    EXPECT_EQ(UkonciStornem(), 1603u) << "closed after a failed run";
}

// Targets that OK refuses before anything is planned: a drive's root and a
// folder named ".". The window stays usable for the next attempt.
TEST_F(Instalace, OdmitnuteCileNicNezmeni) {
    PripravSadu();
    NastavNovouVerzi();
    std::wstring odkazy = NastavSablonyUzivatele(L"Šablony e2e");
    Spust();
    const std::wstring tecka = Koren() + L"\\a\\.";
    const struct {
        std::wstring cil, zacatek, snimek;
    } pripady[] = {
        {L"C:\\", L"Do kořenové složky jednotky nebo sdílené složky („C:\\“)", L"chyba-cil-koren"},
        {tecka, L"Cílová složka „" + tecka + L"“ není platná cesta: název složky „.“ nelze použít.",
         L"chyba-cil-tecka"},
    };
    for (auto& p : pripady) {
        SCOPED_TRACE(Utf8(p.cil));
        ZadejCil(p.cil);
        OverOdmitnutyCil(p.zacatek, p.snimek);
        EXPECT_FALSE(Existuje(odkazy));
    }
    UkonciStornem();
}

// The set's folder goes away while the main window is open (a disc taken
// out, a share gone): the run reports the platform's reason and touches
// nothing, rather than installing an empty set.
TEST_F(Instalace, ZmizelaSadaJednoHlaseniANicNaDisku) {
    std::wstring sada = PripravSadu();
    std::wstring cil = NastavNovouVerzi() + L"\\" + NazevSady;
    std::wstring odkazy = NastavSablonyUzivatele(L"Šablony e2e");
    Spust();
    ASSERT_TRUE(::MoveFileW(sada.c_str(), (Medium() + L"\\jinde").c_str()));
    WIN32_FIND_DATAW d;
    ASSERT_EQ(::FindFirstFileW((sada + L"\\*.*").c_str(), &d), INVALID_HANDLE_VALUE);
    std::wstring popis = PopisChyby(::GetLastError());
    ASSERT_FALSE(popis.empty());

    Enter();
    Hlaseni h = CekejNaChybu();
    EXPECT_EQ(h.text, popis) << "the platform's own description";
    Snimek(h.okno, L"chyba-zmizela-sada");
    PotvrdHlaseni(h);

    EXPECT_EQ(CekejNaHlavniOkno(), Hlavni());
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), cil);
    EXPECT_FALSE(OknoHlaseni(Pid())) << "one box only";
    EXPECT_FALSE(OknoPrubehu(Pid()));
    EXPECT_EQ(Hlasky().Texty(), std::vector<std::wstring>{L"Připravuje se instalace."});
    EXPECT_FALSE(Existuje(Koren() + L"\\Office"));
    EXPECT_FALSE(Existuje(odkazy));
    UkonciStornem();
}

// The user's templates value names folders inside the user's Microsoft
// folder; one that climbs out of it (up into the profile, or up to the
// system's folder) plans no link at all, and the install goes on.
TEST_F(Instalace, SablonyUzivateleMimoProfilBezZastupce) {
    std::wstring sada = PripravSadu();
    std::wstring cil = NastavNovouVerzi() + L"\\" + NazevSady;
    const std::wstring profil = Prostredi(L"USERPROFILE");
    ASSERT_FALSE(profil.empty());
    const auto odkazyVProfilu = [&] {
        std::vector<std::wstring> v;
        for (auto& s : Strom(profil))
            if (s.size() > 4 && _wcsicmp(s.c_str() + s.size() - 4, L".lnk") == 0) v.push_back(s);
        return v;
    };
    for (const std::wstring hodnota : {L"..\\..\\windows", L"..\\..\\..\\..\\..\\windows"}) {
        SCOPED_TRACE(Utf8(hodnota));
        NastavText(HKEY_CURRENT_USER, KlicUzivatele, L"Templates", hodnota);
        // Where the link would land, were the value taken as it is.
        wchar_t kam[MAX_PATH];
        ASSERT_TRUE(::GetFullPathNameW((SlozkaAplikacnichDat() + L"\\Microsoft\\" + hodnota).c_str(), MAX_PATH,
                                       kam, nullptr));
        const bool byla = Existuje(kam);
        const auto windows = SouboryVeSlozce(L"C:\\windows");
        const auto odkazy = odkazyVProfilu();

        Spust();
        Hlaseni h = InstalujAPotvrd();
        EXPECT_EQ(h.text, L"Instalace byla úspěšně dokončena.");
        EXPECT_EQ(Hlasky().Texty(), HlaskyUspechu(SouboryVeSlozce(sada), false, L"")) << "no link planned";
        OverSoubory(sada, cil);
        EXPECT_EQ(Existuje(kam), byla) << Utf8(kam);
        EXPECT_FALSE(Existuje(std::wstring(kam) + L"\\" + NazevSady + L".lnk"));
        EXPECT_EQ(SouboryVeSlozce(L"C:\\windows"), windows);
        EXPECT_EQ(odkazyVProfilu(), odkazy);
    }
}

}  // namespace
}  // namespace e2e
