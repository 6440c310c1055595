// The suites from 10.0 on: the proposal the main window shows, the install,
// and the PersonalTemplates value of 16.0, set only where it was not and
// taken back with the run.
#include <algorithm>

#include "Scenar.h"
#include "ui/Ovladace.h"

namespace e2e {
namespace {

const wchar_t* const KlicVoleb16 = L"Software\\Microsoft\\Office\\16.0\\Word\\Options";

std::vector<std::wstring> Serazeno(std::vector<std::wstring> v) {
    std::sort(v.begin(), v.end());
    return v;
}

class NoveVerze : public Scenar {
protected:
    void SetUp() override {
        Scenar::SetUp();
        const std::wstring dokumenty = SlozkaDokumentu();
        ASSERT_FALSE(dokumenty.empty());
        ASSERT_TRUE(Existuje(dokumenty));
        osobni_ = dokumenty + L"\\Custom Office Templates";
        UklidSlozku(osobni_);
    }

    // A click-to-run suite of 16.0, as its service registers it.
    void KlikniASpust16() {
        const std::wstring klic = L"SOFTWARE\\Microsoft\\Office\\ClickToRun\\Configuration";
        NastavText(HKEY_LOCAL_MACHINE, klic, L"InstallationPath", Koren() + L"\\Office16");
        NastavText(HKEY_LOCAL_MACHINE, klic, L"Platform", L"x86");
        NastavText(HKEY_LOCAL_MACHINE, klic, L"VersionToReport", L"16.0.17328.20000");
    }
    // A suite of 14.0 installed with its own installer.
    void Verze14() {
        NastavText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Office\\14.0\\Common\\InstallRoot", L"Path",
                   Koren() + L"\\Office14\\Office14\\");
    }
    std::optional<HodnotaRegistru> OsobniSablony() {
        return CtiHodnotu(HKEY_CURRENT_USER, KlicVoleb16, L"PersonalTemplates");
    }

    std::wstring osobni_;   // Documents\Custom Office Templates
};

// The status lines of a whole install with the value after the files.
std::vector<std::wstring> HlaskySHodnotou(const std::vector<std::wstring>& soubory) {
    auto texty = HlaskyUspechu(soubory, false, L"");
    texty.insert(texty.end() - 1, L"Instaluje se: PersonalTemplates");
    return texty;
}

TEST_F(NoveVerze, KlikniASpust16NastaviOsobniSablony) {
    const std::wstring sada = PripravSadu();
    KlikniASpust16();
    const std::wstring cil = osobni_ + L"\\" + NazevSady;
    Spust();
    ASSERT_EQ(Text(Prvek(IDC_SLOZKA)), cil);
    Snimek(Hlavni(), L"office16-navrh");
    ASSERT_FALSE(ExistujeKlic(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office"));

    Hlaseni h = InstalujAPotvrd();
    EXPECT_EQ(h.text, L"Instalace byla úspěšně dokončena.");
    const auto soubory = SouboryVeSlozce(sada);
    EXPECT_EQ(Strom(cil), Serazeno(soubory));
    for (auto& s : soubory) EXPECT_EQ(CtiSoubor(cil + L"\\" + s), CtiSoubor(sada + L"\\" + s)) << Utf8(s);
    EXPECT_EQ(Hlasky().Texty(), HlaskySHodnotou(soubory));
    EXPECT_EQ(OsobniSablony(), (HodnotaRegistru{REG_SZ, osobni_})) << "the folder, not the set's own";
}

TEST_F(NoveVerze, NastavenouOsobniSlozkuNemeni) {
    const std::wstring sada = PripravSadu();
    KlikniASpust16();
    const std::wstring moje = Koren() + L"\\Moje šablony";
    NastavText(HKEY_CURRENT_USER, KlicVoleb16, L"PersonalTemplates", moje);
    const std::wstring cil = moje + L"\\" + NazevSady;
    Spust();
    ASSERT_EQ(Text(Prvek(IDC_SLOZKA)), cil);

    Hlaseni h = InstalujAPotvrd();
    EXPECT_EQ(h.text, L"Instalace byla úspěšně dokončena.");
    EXPECT_EQ(Strom(cil), Serazeno(SouboryVeSlozce(sada)));
    EXPECT_EQ(Hlasky().Texty(), HlaskyUspechu(SouboryVeSlozce(sada), false, L""));
    EXPECT_EQ(OsobniSablony(), (HodnotaRegistru{REG_SZ, moje}));
    EXPECT_FALSE(Existuje(osobni_));
}

TEST_F(NoveVerze, StornoNaKonciVratiHodnotu) {
    const std::wstring sada = PripravSadu();
    KlikniASpust16();
    // Storno pressed while the last report shows, the value already written.
    StornoPriHlasce(L"Instalace dokončena.");
    Spust();
    Enter();

    // The main window is hidden, not gone, while the run lasts: the end of
    // the rollback is waited for, then the window's return.
    ASSERT_TRUE(CekejAz([&] {
        const auto t = Hlasky().Texty();
        return !t.empty() && t.back() == L"Ruší se instalace: Šablony";
    })) << "the run was not taken back";
    ASSERT_TRUE(CekejAz([&] { return ::IsWindowVisible(Hlavni()) && !OknoPrubehu(Pid()); }));
    EXPECT_FALSE(OknoHlaseni(Pid())) << "a cancel, not an error";
    EXPECT_EQ(OsobniSablony(), std::nullopt);
    EXPECT_FALSE(ExistujeKlic(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office")) << "the keys its write made go too";
    EXPECT_FALSE(Existuje(osobni_));

    auto texty = HlaskySHodnotou(SouboryVeSlozce(sada));
    std::vector<std::wstring> zpet{L"PersonalTemplates"};
    for (auto s = SouboryVeSlozce(sada); !s.empty(); s.pop_back()) zpet.push_back(s.back());
    zpet.push_back(L"Šablony");
    for (auto& z : zpet) texty.push_back(L"Ruší se instalace: " + z);
    EXPECT_EQ(Hlasky().Texty(), texty);
    UkonciStornem();
}

TEST_F(NoveVerze, Verze14NavrhneSlozkuSablonUzivatele) {
    const std::wstring sada = PripravSadu();
    Verze14();
    const std::wstring sablony = SlozkaAplikacnichDat() + L"\\Microsoft\\Templates";
    const std::wstring cil = sablony + L"\\" + NazevSady;
    UklidSlozku(Existuje(sablony) ? cil : sablony);
    Spust();
    ASSERT_EQ(Text(Prvek(IDC_SLOZKA)), cil);
    Snimek(Hlavni(), L"office14-navrh");

    Hlaseni h = InstalujAPotvrd();
    EXPECT_EQ(h.text, L"Instalace byla úspěšně dokončena.");
    EXPECT_EQ(Strom(cil), Serazeno(SouboryVeSlozce(sada)));
    EXPECT_EQ(Hlasky().Texty(), HlaskyUspechu(SouboryVeSlozce(sada), false, L""))
        << "no link and no registry value for this version";
    EXPECT_FALSE(ExistujeKlic(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office"));
}

TEST_F(NoveVerze, Verze14SeSlozkouVeTvaruSPromennou) {
    PripravSadu();
    Verze14();
    NastavText(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\14.0\\Common\\General", L"UserTemplates",
               L"%APPDATA%\\Šablony e2e", REG_EXPAND_SZ);
    const std::wstring slozka = SlozkaAplikacnichDat() + L"\\Šablony e2e";
    UklidSlozku(slozka);
    Spust();
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), slozka + L"\\" + NazevSady);
    UkonciStornem();
    EXPECT_FALSE(Existuje(slozka));
}

}  // namespace
}  // namespace e2e
