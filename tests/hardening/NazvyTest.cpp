// Hostile names and targets, end to end: a medium under a path with spaces,
// Czech letters and characters outside every ANSI code page; set and file
// names with such characters, with "&" and with leading spaces; targets
// longer than MAX_PATH, empty, relative, with forward slashes.
#include <algorithm>
#include <cstdio>

#include "Stopy.h"
#include "ui/Ovladace.h"

namespace hardening {
namespace {

using namespace e2e;

const wchar_t* const CiziSada = L"Šablony ✓ テンプレート & spol";
const std::vector<std::wstring> CiziSoubory{L"Dopis ✓.dot", L"テンプレート.dot", L"A & B.dot",
                                            L" Mezera na začátku.dot", L"Ελληνικά & кириллица.dot"};

class Nazvy : public Stopy {
protected:
    std::wstring Medium() const override { return Koren() + L"\\Médium – sdílená složka ✓\\Instalace 日本"; }

    std::wstring PripravCiziSadu(const std::wstring& nazev) {
        std::wstring sada = Medium() + L"\\" + nazev;
        VytvorSlozky(sada);
        for (auto& s : CiziSoubory) ZapisSoubor(sada + L"\\" + s, "obsah " + Utf8(s));
        return sada;
    }

    // What a run with the given target ended with: the box it showed (or
    // none), and whether the program ended.
    struct Vysledek {
        Hlaseni hlaseni;
        bool skoncil = false;
    };
    Vysledek Zkus(const std::wstring& cil) {
        DWORD_PTR r = 0;
        ::SendMessageTimeoutW(Prvek(IDC_SLOZKA), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(cil.c_str()), SMTO_ABORTIFHUNG,
                              5000, &r);
        EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), cil);
        Enter();
        Vysledek v;
        v.hlaseni = CekejNaHlaseni();
        PotvrdHlaseni(v.hlaseni);
        v.skoncil = Program().CekejNaKonec(v.hlaseni.ikona == Ikona::Informace ? Cekani() : 1000);
        return v;
    }

    // A refused target: one error box, the main window back with the text,
    // nothing left anywhere.
    void OverOdmitnuti(const Vysledek& v, const std::wstring& cil) {
        EXPECT_FALSE(v.skoncil);
        EXPECT_EQ(v.hlaseni.ikona, Ikona::Stop);
        EXPECT_EQ(v.hlaseni.titulek, L"Setup");
        EXPECT_FALSE(v.hlaseni.text.empty());
        CekejNaHlavniOkno();
        EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), cil);
        EXPECT_FALSE(OknoHlaseni(Pid()));
        UkonciStornem();
        OverStopy();
    }
};

TEST_F(Nazvy, ZnakyMimoAnsiAAmpersand) {
    std::wstring sada = PripravCiziSadu(CiziSada);
    std::wstring cil = NastavNovouVerzi() + L"\\" + CiziSada;
    std::wstring odkazy = NastavSablonyUzivatele(L"Šablony ✓ 日本");
    Vyfot();
    Spust();
    EXPECT_EQ(Text(Prvek(IDC_LABSETUP)), Uvitani(CiziSada));
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), cil);
    Hlaseni h = InstalujAPotvrd();
    EXPECT_EQ(h.text, L"Instalace byla úspěšně dokončena.");
    for (auto& s : CiziSoubory) EXPECT_EQ(CtiSoubor(cil + L"\\" + s), "obsah " + Utf8(s)) << Utf8(s);
    EXPECT_EQ(Strom(odkazy), std::vector<std::wstring>{std::wstring(CiziSada) + L".lnk"});
    auto texty = Hlasky().Texty();
    for (auto& s : CiziSoubory)
        EXPECT_NE(std::find(texty.begin(), texty.end(), L"Instaluje se: " + s), texty.end()) << Utf8(s);
    // The run made the target and every missing level above it.
    OverStopy({Koren() + L"\\Office", odkazy, SlozkaZaznamu(), KlicOdinstalace});
}

TEST_F(Nazvy, SadaSMezerouNaZacatku) {
    const std::wstring nazev = L" Šablony s mezerou";
    std::wstring sada = PripravCiziSadu(nazev);
    std::wstring cil = NastavNovouVerzi() + L"\\" + nazev;
    Vyfot();
    Spust();
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), cil);
    Hlaseni h = InstalujAPotvrd();
    EXPECT_EQ(h.text, L"Instalace byla úspěšně dokončena.");
    for (auto& s : CiziSoubory) EXPECT_EQ(CtiSoubor(cil + L"\\" + s), "obsah " + Utf8(s)) << Utf8(s);
    OverStopy({Koren() + L"\\Office", SlozkaZaznamu(), KlicOdinstalace});
}

TEST_F(Nazvy, SadaSMezerouNaKonci) {
    // Windows drops a trailing space from a name it is given, so only a
    // "\\?\" path makes such a folder; another system may well have. The
    // program cannot open it by its name: it must say so and change nothing.
    const std::wstring nazev = L"Šablony s mezerou ";
    std::wstring sada = Medium() + L"\\" + nazev;
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + sada).c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(SetupExe().c_str(), (L"\\\\?\\" + sada + L"\\Dopis.dot").c_str(), FALSE));
    NastavNovouVerzi();
    Vyfot();
    SpustBezCekani();
    HWND okno = CekejNa([&] {
        HWND h = OknoHlaseni(Pid());
        return h ? h : HlavniOkno(Pid());
    });
    ASSERT_TRUE(okno);
    if (okno == HlavniOkno(Pid())) {
        // Taken as the set: an install must then work or be refused cleanly.
        ADD_FAILURE() << "the set was accepted: " << Utf8(Text(::GetDlgItem(okno, IDC_SLOZKA)));
    } else {
        CekejNaKlid(okno);
        Hlaseni h = CtiHlaseni(okno);
        std::printf("[ info ] set name with a trailing space: \"%s\"\n", Utf8(h.text).c_str());
        EXPECT_EQ(h.ikona, Ikona::Stop);
        EXPECT_FALSE(h.text.empty());
        PotvrdHlaseni(h);
        EXPECT_TRUE(Program().CekejNaKonec(Cekani())) << "a start-up error ends the program";
    }
    OverStopy();
    ::DeleteFileW((L"\\\\?\\" + sada + L"\\Dopis.dot").c_str());
    ::RemoveDirectoryW((L"\\\\?\\" + sada).c_str());
}

// The whole plan is checked before anything is made: a path of a folder
// longer than 247 characters or of a file longer than 243 (the platform's
// 259 less room for a backup's name) is refused with one clear box.
TEST_F(Nazvy, CilDelsiNezMaxPathOdmitnut) {
    PripravSadu();
    NastavNovouVerzi();
    std::wstring cil = Koren() + L"\\Dlouhý cíl";
    while (cil.size() < MAX_PATH + 20) cil += L"\\Složka s dlouhým jménem číslo " + std::to_wstring(cil.size());
    Vyfot();
    Spust();
    Vysledek v = Zkus(cil);
    EXPECT_EQ(v.hlaseni.text.rfind(L"Cesta „" + cil.substr(0, 100) + L"…", 0), 0u) << Utf8(v.hlaseni.text);
    EXPECT_NE(v.hlaseni.text.find(L"je příliš dlouhá"), std::wstring::npos);
    OverOdmitnuti(v, cil);
}

TEST_F(Nazvy, CilNaHraniciDelky) {
    std::wstring sada = PripravSadu();
    NastavNovouVerzi();
    size_t nejdelsi = 0;
    for (auto& s : SouboryVeSlozce(sada)) nejdelsi = std::max(nejdelsi, s.size());
    // The longest file path exactly at the limit: accepted and installed.
    std::wstring cil = Koren() + L"\\Na hranici";
    const size_t delka = 243 - 1 - nejdelsi;
    while (cil.size() + 40 < delka) cil += L"\\Složka " + std::to_wstring(cil.size());
    cil += L"\\" + std::wstring(delka - cil.size() - 1, L'x');
    ASSERT_EQ(cil.size(), delka);
    Vyfot();
    Spust();
    Vysledek v = Zkus(cil);
    EXPECT_EQ(v.hlaseni.text, L"Instalace byla úspěšně dokončena.");
    EXPECT_TRUE(v.skoncil);
    EXPECT_EQ(Strom(cil).size(), SouboryVeSlozce(sada).size());
    OverStopy({Koren() + L"\\Na hranici", SlozkaZaznamu(), KlicOdinstalace});
}

TEST_F(Nazvy, PrazdnyCilOdmitnut) {
    PripravSadu();
    NastavNovouVerzi();
    Vyfot();
    Spust();
    Vysledek v = Zkus(L"");
    EXPECT_EQ(v.hlaseni.text.rfind(L"Není zadána cílová složka.", 0), 0u) << Utf8(v.hlaseni.text);
    OverOdmitnuti(v, L"");
}

// A relative target would be resolved against the current folder, which is
// the medium; forward slashes would be read as separators by some calls and
// not by others. Both are refused before anything is made.
TEST_F(Nazvy, RelativniCilOdmitnut) {
    PripravSadu();
    NastavNovouVerzi();
    Vyfot();
    Spust();
    Vysledek v = Zkus(L"Moje šablony\\Nové");
    EXPECT_EQ(v.hlaseni.text.rfind(L"Cílová složka „Moje šablony\\Nové“ není platná cesta.", 0), 0u)
        << Utf8(v.hlaseni.text);
    OverOdmitnuti(v, L"Moje šablony\\Nové");
}

TEST_F(Nazvy, CilSDoprednymiLomitkyOdmitnut) {
    PripravSadu();
    NastavNovouVerzi();
    Vyfot();
    Spust();
    std::wstring cil = Koren() + L"\\Cíl/Moje šablony/Nové";
    Vysledek v = Zkus(cil);
    EXPECT_EQ(v.hlaseni.text.rfind(L"Cílová složka „" + cil + L"“ není platná cesta.", 0), 0u)
        << Utf8(v.hlaseni.text);
    OverOdmitnuti(v, cil);
}

}  // namespace
}  // namespace hardening
