// A whole install: Enter at start, the status lines, the completion box, and
// what lands on disk; a read-only medium twice; an error while installing.
#include <algorithm>

#include "Scenar.h"
#include "ui/Ovladace.h"

namespace e2e {
namespace {

using Instalace = Scenar;

std::vector<std::wstring> Serazeno(std::vector<std::wstring> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// The installed folder holds exactly the set's files, byte for byte, none of
// them read-only.
void OverSoubory(const std::wstring& sada, const std::wstring& cil) {
    auto soubory = SouboryVeSlozce(sada);
    ASSERT_FALSE(soubory.empty());
    EXPECT_EQ(Strom(cil), Serazeno(soubory));
    for (auto& s : soubory) {
        EXPECT_EQ(CtiSoubor(cil + L"\\" + s), CtiSoubor(sada + L"\\" + s)) << Utf8(s);
        EXPECT_FALSE(Atributy(cil + L"\\" + s) & FILE_ATTRIBUTE_READONLY) << Utf8(s);
    }
}

// Keeps a copy of a written link for the independent reader run by
// scripts/test-e2e, with the target it must name.
void UlozOdkazProLnkinfo(const std::wstring& odkaz, const std::wstring& nazev, const std::wstring& cil) {
    std::wstring slozka = Prostredi(L"SETUP_E2E_ODKAZY");
    if (slozka.empty()) return;
    VytvorSlozky(slozka);
    ::CopyFileW(odkaz.c_str(), (slozka + L"\\" + nazev + L".lnk").c_str(), FALSE);
    ZapisSoubor(slozka + L"\\" + nazev + L".cil", Utf8(cil));
}

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
    EXPECT_TRUE(Program().CekejNaKonec(Cekani()));

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
        // The second run finds every file in place and replaces it; nothing
        // of the replaced copies may stay behind.
        OverSoubory(sada, cil);
    }
}

TEST_F(Instalace, ChybaPriKopirovaniVratiHlavniOkno) {
    std::wstring sada = PripravSadu();
    std::wstring sablony = NastavNovouVerzi();
    std::wstring cil = sablony + L"\\" + NazevSady;
    // The first template's name is taken by a folder in the target: its
    // copy fails.
    auto soubory = SouboryVeSlozce(sada);
    VytvorSlozky(cil + L"\\" + soubory[0]);
    ASSERT_FALSE(::CopyFileW((sada + L"\\" + soubory[0]).c_str(), (cil + L"\\" + soubory[0]).c_str(), TRUE));
    std::wstring popis = PopisChyby(::GetLastError());
    ASSERT_FALSE(popis.empty());

    Spust();
    Enter();
    Hlaseni h = CekejNaHlaseni();
    EXPECT_EQ(h.titulek, L"Setup");
    EXPECT_EQ(h.text, popis) << "the platform's own description";
    EXPECT_EQ(h.tlacitka, std::vector<std::wstring>{L"OK"});
    EXPECT_EQ(h.ikona, Ikona::Stop);
    Snimek(h.okno, L"chyba-instalace");
    PotvrdHlaseni(h);

    HWND hlavni = CekejNaHlavniOkno();
    EXPECT_EQ(hlavni, Hlavni());
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), cil);
    EXPECT_FALSE(OknoHlaseni(Pid())) << "one box only";
    EXPECT_FALSE(OknoPrubehu(Pid()));
    EXPECT_EQ(Hlasky().Texty(),
              (std::vector<std::wstring>{L"Připravuje se instalace.", L"Instaluje se.", L"Instaluje se: Šablony",
                                         L"Instaluje se: " + soubory[0], L"Ruší se instalace: " + soubory[0],
                                         L"Ruší se instalace: Šablony"}));
    EXPECT_EQ(Strom(sablony), (std::vector<std::wstring>{NazevSady, NazevSady + (L"\\" + soubory[0])}));
    UkonciStornem();
}

}  // namespace
}  // namespace e2e
