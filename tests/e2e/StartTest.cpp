// Start-up: the medium without a set, one run at a time, the proposed target
// for each state of the office suite's registry keys, the welcome text, and
// leaving with Esc.
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
    Hlaseni h = CekejNaChybu();
    EXPECT_EQ(h.text, L"Nenalezena žádná složka se soubory k instalaci.");
    // The box is all there is: the main window is never shown.
    EXPECT_EQ(OknaProcesu(Pid()), std::vector<HWND>{h.okno});
    Snimek(h.okno, L"chyba-bez-sady");

    PotvrdHlaseni(h);
    ASSERT_TRUE(Program().CekejNaKonec(Cekani())) << "no second box, no window: the program ends";
    EXPECT_EQ(Program().Kod(), 1619u);
}

// Setup.exe alone in the folder where Explorer puts a program started out
// of a zip that is open in it.
class ZArchivu : public Scenar {
protected:
    std::wstring Medium() const override { return DocasnaSlozka() + L"Temp1_Sablony.zip"; }
    void TearDown() override {
        Scenar::TearDown();
        SmazStrom(Medium());
    }
};

TEST_F(ZArchivu, HlaseniRadiRozbalitArchiv) {
    const std::wstring text =
        L"Setup byl spuštěn přímo z archivu ZIP, bez složky se šablonami. Rozbalte nejprve celý archiv "
        L"(Extrahovat vše) a spusťte Setup.exe z rozbalené složky.";
    VytvorSlozky(Koren());
    SpustBezCekani();
    Hlaseni h = CekejNaChybu();
    EXPECT_EQ(h.text, text);
    EXPECT_EQ(OknaProcesu(Pid()), std::vector<HWND>{h.okno});
    Snimek(h.okno, L"chyba-z-archivu");
    PotvrdHlaseni(h);
    ASSERT_TRUE(Program().CekejNaKonec(Cekani()));
    EXPECT_EQ(Program().Kod(), 1619u);

    // Silent: the same words in the log, and no window.
    const std::wstring log = Koren() + L"\\z-archivu.log";
    SpustBezCekani(L"/S /LOG=" + log);
    bool konec = false;
    EXPECT_TRUE(OknaDoKonce(Program(), konec).empty());
    ASSERT_TRUE(konec);
    EXPECT_EQ(Program().Kod(), 1619u);
    EXPECT_NE(CtiSoubor(log).find(Utf8(text)), std::string::npos) << CtiSoubor(log);
}

TEST_F(Start, EscUkonciProgramANicNezapise) {
    PripravSadu();
    std::wstring sablony = NastavNovouVerzi();
    std::wstring odkazy = NastavSablonyUzivatele(L"Šablony e2e");
    Spust();
    auto pred = Strom(Koren());
    EXPECT_EQ(UkonciStornem(), 1602u) << "closed without installing: the user's choice to stop";
    EXPECT_FALSE(Existuje(sablony));
    EXPECT_FALSE(Existuje(odkazy));
    EXPECT_EQ(Strom(Koren()), pred);
    EXPECT_TRUE(Hlasky().Texty().empty()) << "no install started";
}

// ---- one run at a time -----------------------------------------------------

BOOL CALLBACK SberHlavnich(HWND h, LPARAM l) {
    if (::IsWindowVisible(h) && ::GetDlgItem(h, IDC_LABSETUP) && ::GetDlgItem(h, IDC_SLOZKA))
        reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
    return TRUE;
}

// Every main window of Setup on the desktop, whichever process shows it.
std::vector<HWND> HlavniOkna() {
    std::vector<HWND> v;
    ::EnumWindows(SberHlavnich, reinterpret_cast<LPARAM>(&v));
    return v;
}

TEST_F(Start, DvaStartyNarazJedenBehVPopredi) {
    PripravSadu();
    // Both started before either has got anywhere.
    Proces a = Proces::Spust(SetupExe());
    Proces b = Proces::Spust(SetupExe());
    ASSERT_TRUE(CekejAz([&] { return !a.Bezi() || !b.Bezi(); })) << "neither start gave way";
    Proces& bezi = a.Bezi() ? a : b;
    Proces& ustoupil = a.Bezi() ? b : a;
    EXPECT_EQ(ustoupil.Kod(), 1618u);
    HWND hlavni = CekejNa([&] { return HlavniOkno(bezi.Id()); });
    ASSERT_TRUE(hlavni);
    EXPECT_TRUE(bezi.Bezi());
    EXPECT_EQ(HlavniOkna(), std::vector<HWND>{hlavni});
    EXPECT_TRUE(CekejAz([&] { return ::GetForegroundWindow() == hlavni; }));

    // Another program in front: a silent start leaves it there; a start
    // with a window gives way too and brings the running one to the front.
    Proces jiny = Proces::Spust(L"C:\\windows\\notepad.exe");
    HWND poznamky = CekejNa([&] {
        auto o = OknaProcesu(jiny.Id());
        return o.empty() ? nullptr : o.front();
    });
    ASSERT_TRUE(poznamky);
    ASSERT_TRUE(Aktivuj(poznamky));
    Proces ticho = Proces::Spust(SetupExe(), {}, L"/S");
    ASSERT_TRUE(ticho.CekejNaKonec(Cekani()));
    EXPECT_EQ(ticho.Kod(), 1618u);
    EXPECT_EQ(::GetForegroundWindow(), poznamky);
    Proces dalsi = Proces::Spust(SetupExe());
    ASSERT_TRUE(dalsi.CekejNaKonec(Cekani()));
    EXPECT_EQ(dalsi.Kod(), 1618u);
    EXPECT_TRUE(CekejAz([&] { return ::GetForegroundWindow() == hlavni; }));
    EXPECT_EQ(HlavniOkna(), std::vector<HWND>{hlavni});

    ASSERT_TRUE(Aktivuj(hlavni));
    Klavesa(VK_ESCAPE);
    ASSERT_TRUE(bezi.CekejNaKonec(Cekani()));
    EXPECT_EQ(bezi.Kod(), 1602u);
}

// The silent run's hidden window, which the system asks before a session ends.
HWND HlidacRelace(DWORD pid) {
    for (HWND h = nullptr; (h = ::FindWindowExW(nullptr, h, L"SetupHlidacRelace", nullptr));) {
        DWORD p = 0;
        ::GetWindowThreadProcessId(h, &p);
        if (p == pid) return h;
    }
    return nullptr;
}

TEST_F(Start, BehemTicheInstalaceHlaseniAKonecRelaceJiZastavi) {
    PripravVelkouSadu(3000);
    NastavNovouVerzi();
    Proces ticho = Proces::Spust(SetupExe(), {}, L"/S");
    // The run holds the lock from its start; its record is there a little later.
    ASSERT_TRUE(CekejAz([&] { return Existuje(SlozkaZaznamu()) || !ticho.Bezi(); }));
    ASSERT_TRUE(ticho.Bezi()) << "the silent run ended before the second start";

    // A start with a window has nothing to bring to the front: a box says
    // why, and its log says it too.
    const std::wstring log = Koren() + L"\\druhy.log";
    SpustBezCekani(L"/LOG=" + log);
    Hlaseni h = CekejNaHlaseni();
    EXPECT_EQ(h.titulek, L"Setup");
    EXPECT_EQ(h.text, L"Instalace šablon již probíhá. Počkejte prosím, až skončí.");
    EXPECT_EQ(h.ikona, Ikona::Informace);
    EXPECT_EQ(h.tlacitka, std::vector<std::wstring>{L"OK"});
    Snimek(h.okno, L"jiny-beh");
    PotvrdHlaseni(h);
    ASSERT_TRUE(Program().CekejNaKonec(Cekani()));
    EXPECT_EQ(Program().Kod(), 1618u);
    const auto text = ZUtf8(CtiSoubor(log)).value_or(L"");
    EXPECT_NE(text.find(L"  Instalace šablon již probíhá. Počkejte prosím, až skončí.\r\n"), std::wstring::npos);
    EXPECT_TRUE(text.ends_with(L"  Výsledek: 1618\r\n")) << Utf8(text);

    // The session's end is refused while the silent run goes on; ending
    // all the same, it stops the run, which takes back what it did.
    ASSERT_TRUE(ticho.Bezi()) << "the silent run ended before the session's end";
    HWND hlidac = HlidacRelace(ticho.Id());
    ASSERT_TRUE(hlidac);
    EXPECT_FALSE(::IsWindowVisible(hlidac));
    DWORD_PTR r = 1;
    ASSERT_TRUE(::SendMessageTimeoutW(hlidac, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, Cekani(), &r));
    EXPECT_EQ(r, 0u);
    ::PostMessageW(hlidac, WM_ENDSESSION, TRUE, 0);
    ASSERT_TRUE(ticho.CekejNaKonec(Cekani()));
    EXPECT_EQ(ticho.Kod(), 1602u);
    EXPECT_FALSE(Existuje(Koren() + L"\\Office"));
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
        // The install root keeps the newer suites from being looked for; with
        // no templates key the proposal would be one OK refuses, so the
        // suite's usual folder is proposed.
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
