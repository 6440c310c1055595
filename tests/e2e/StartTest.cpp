// Start-up: the medium without a set, the proposed target for each state of
// the office suite's registry keys, the welcome text, and leaving with Esc.
#include "Scenar.h"
#include "ui/Ovladace.h"

namespace e2e {
namespace {

using Start = Scenar;

TEST_F(Start, BezSadyJednoHlaseniAProgramSkonci) {
    // Only things that must not count as a set: a plain file, a hidden and a
    // system folder.
    ZapisSoubor(Medium() + L"\\čtěte.txt", "nic");
    VytvorSlozky(Medium() + L"\\Skrytá");
    ZapisSoubor(Medium() + L"\\Skrytá\\a.dot", "a");
    ::SetFileAttributesW((Medium() + L"\\Skrytá").c_str(), FILE_ATTRIBUTE_HIDDEN);
    VytvorSlozky(Medium() + L"\\Systémová");
    ::SetFileAttributesW((Medium() + L"\\Systémová").c_str(), FILE_ATTRIBUTE_SYSTEM);

    SpustBezCekani();
    Hlaseni h = CekejNaHlaseni();
    EXPECT_EQ(h.titulek, L"Setup");
    EXPECT_EQ(h.text, L"Nenalezena žádná složka se soubory k instalaci.");
    EXPECT_EQ(h.tlacitka, std::vector<std::wstring>{L"OK"});
    EXPECT_EQ(h.ikona, Ikona::Stop);
    // The box is all there is: the main window is never shown.
    EXPECT_EQ(OknaProcesu(Pid()), std::vector<HWND>{h.okno});
    Snimek(h.okno, L"chyba-bez-sady");

    PotvrdHlaseni(h);
    EXPECT_TRUE(Program().CekejNaKonec(Cekani())) << "no second box, no window: the program ends";
}

TEST_F(Start, EscUkonciProgramANicNezapise) {
    PripravSadu();
    std::wstring sablony = NastavNovouVerzi();
    std::wstring odkazy = NastavSablonyUzivatele(L"Šablony e2e");
    Spust();
    auto pred = Strom(Koren());
    UkonciStornem();
    EXPECT_FALSE(Existuje(sablony));
    EXPECT_FALSE(Existuje(odkazy));
    EXPECT_EQ(Strom(Koren()), pred);
    EXPECT_TRUE(Hlasky().Texty().empty()) << "no install started";
}

// ---- the proposed target ---------------------------------------------------

struct Pripad {
    const char* nazev;
    void (*nastav)();
    const wchar_t* cil;   // without the set name
};

void NovaVerze() {
    NastavText(HKEY_LOCAL_MACHINE, KlicNovy, L"Path", L"C:\\Program Files\\Microsoft Office\\Office\\");
}
void NovaVerzeSMezerami() {
    NastavText(HKEY_LOCAL_MACHINE, KlicNovy, L"Path", L"  D:\\Kancelář 2000\\Office  ");
}
void StaraVerze() {
    NastavText(HKEY_LOCAL_MACHINE, KlicStary, L"OfficeBin", L"C:\\MSOffice\\Office");
    NastavText(HKEY_LOCAL_MACHINE, KlicSablonStare, L"", L"C:\\MSOffice\\Šablony");
}
void StaraVerzeBezLocalTemplates() {
    NastavText(HKEY_LOCAL_MACHINE, KlicStary, L"OfficeBin", L"C:\\MSOffice\\Office");
}
void ZadnaVerze() {}
void ObeVerze() {
    StaraVerze();
    NastavText(HKEY_LOCAL_MACHINE, KlicNovy, L"Path", L"E:\\Office 2000\\Office\\");
}

class Navrh : public Scenar, public ::testing::WithParamInterface<Pripad> {};

TEST_P(Navrh, CilovaSlozkaZRegistru) {
    PripravSadu();
    GetParam().nastav();
    Spust();
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), std::wstring(GetParam().cil) + L"\\" + NazevSady);
    UkonciStornem();
}

INSTANTIATE_TEST_SUITE_P(
    Start, Navrh,
    ::testing::Values(
        Pripad{"NovaVerze", NovaVerze, L"C:\\Program Files\\Microsoft Office\\Templates"},
        Pripad{"NovaVerzeSMezerami", NovaVerzeSMezerami, L"D:\\Kancelář 2000\\Templates"},
        Pripad{"StaraVerze", StaraVerze, L"C:\\MSOffice\\Šablony"},
        // The fallback is decided by the install root, not by the templates value.
        // No templates folder named: the suite's usual place.
        Pripad{"StaraVerzeBezLocalTemplates", StaraVerzeBezLocalTemplates,
               L"C:\\Program Files\\Microsoft Office\\Templates"},
        Pripad{"ZadnaVerze", ZadnaVerze, L"C:\\Program Files\\Microsoft Office\\Templates"},
        Pripad{"ObeVerzeNovaVyhrava", ObeVerze, L"E:\\Office 2000\\Templates"}),
    [](const auto& info) { return std::string(info.param.nazev); });

// ---- the welcome text ------------------------------------------------------

class UvitaniSady : public Scenar, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(UvitaniSady, TextUvitaniJmenujeSadu) {
    std::wstring sada = GetParam();
    PripravSadu(sada);
    Spust();
    EXPECT_EQ(Text(Prvek(IDC_LABSETUP)), Uvitani(sada));
    EXPECT_EQ(Text(Hlavni()), TitulekHlavnihoOkna);
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), L"C:\\Program Files\\Microsoft Office\\Templates\\" + sada);
    Snimek(Hlavni(), sada == NazevSady ? L"hlavni-okno" : L"hlavni-okno-ampersand");
    UkonciStornem();
}

INSTANTIATE_TEST_SUITE_P(Start, UvitaniSady,
                         ::testing::Values(L"Šablony kanceláře", L"Dopisy & faktury"),
                         [](const auto& info) { return info.index == 0 ? "Cesky" : "Ampersand"; });

}  // namespace
}  // namespace e2e
