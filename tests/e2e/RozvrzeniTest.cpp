// The layout of both windows at 96 dots per inch, to the pixel: the design is
// in twips, 15 to a pixel.
#include "Scenar.h"
#include "ui/Ovladace.h"

namespace e2e {
namespace {

using Rozvrzeni = Scenar;

struct Misto {
    int id;
    const char* nazev;
    int left, top, width, height;   // twips
};

// The control's place in pixels at the given DPI: twips * DPI / 1440,
// rounded to the nearest pixel (at 96 DPI exactly twips / 15).
void OverMisto(HWND okno, const Misto& m, int dpi = 96) {
    HWND h = ::GetDlgItem(okno, m.id);
    ASSERT_TRUE(h) << m.nazev << " missing";
    auto px = [dpi](int twipy) { return (twipy * dpi + 720) / 1440; };
    RECT r = ObdelnikVRodici(h);
    EXPECT_EQ(r.left, px(m.left)) << m.nazev;
    EXPECT_EQ(r.top, px(m.top)) << m.nazev;
    EXPECT_EQ(r.right - r.left, px(m.width)) << m.nazev;
    EXPECT_EQ(r.bottom - r.top, px(m.height)) << m.nazev;
}

// Centred within one pixel on the given rectangle.
void OverStred(const RECT& okno, const RECT& na, const char* co) {
    EXPECT_LE(std::abs((okno.left + okno.right) - (na.left + na.right)), 2)
        << co << ": " << okno.left << ".." << okno.right << " in " << na.left << ".." << na.right;
    EXPECT_LE(std::abs((okno.top + okno.bottom) - (na.top + na.bottom)), 2)
        << co << ": " << okno.top << ".." << okno.bottom << " in " << na.top << ".." << na.bottom;
}

// The main window's controls that scale with the DPI.
const Misto MistaHlavnihoOkna[] = {
        {IDC_CMDPROCHAZET, "cmdProchazet", 5220, 2880, 1185, 345},
        {IDC_SLOZKA, "Slozka", 2190, 2430, 4245, 285},
        {IDC_CMDSTORNO, "cmdStorno", 5340, 3960, 1095, 345},
        {IDC_CMDOK, "cmdOK", 4020, 3960, 1215, 345},
        {IDC_LABNADPIS, "labNadpis", 2280, 120, 3735, 255},
        {IDC_LABSETUP, "labSetup", 2190, 480, 4275, 1725},
};

TEST_F(Rozvrzeni, HlavniOkno) {
    PripravSadu();
    Spust();
    HWND o = Hlavni();
    EXPECT_EQ(Text(o), TitulekHlavnihoOkna);
    SIZE k = VelikostKlienta(o);
    EXPECT_EQ(k.cx, 437);
    EXPECT_EQ(k.cy, 296);

    for (auto& m : MistaHlavnihoOkna) OverMisto(o, m);
    const Misto mista[] = {
        // The picture is its 118 x 226 bitmap inside a 2-pixel sunken border.
        {IDC_OBRAZEKSETUP, "ObrazekSetup", 210, 150, (118 + 4) * 15, (226 + 4) * 15},
        // The etched rule: two lines one pixel high, from x 240 to x 6390.
        {IDC_LINE2, "Line2", 240, 3765, 6390 - 240, 15},
        {IDC_LINE1, "Line1", 240, 3780, 6390 - 240, 15},
    };
    for (auto& m : mista) OverMisto(o, m);

    EXPECT_EQ(Text(Prvek(IDC_CMDPROCHAZET)), L"&Procházet...");
    EXPECT_EQ(Text(Prvek(IDC_CMDOK)), L"OK");
    EXPECT_EQ(Text(Prvek(IDC_CMDSTORNO)), L"Storno");
    EXPECT_EQ(Text(Prvek(IDC_LABNADPIS)), L"Instalace šablon dokumentů");

    // The heading's own font, and the program's icon on the window.
    const PopisOkna popis = Hlasky().Popis(o);
    const PismoPrvku* nadpis = popis.Pismo(IDC_LABNADPIS);
    ASSERT_TRUE(nadpis);
    EXPECT_EQ(nadpis->tvar, L"MS Sans Serif");
    EXPECT_EQ(nadpis->vaha, 700);
    EXPECT_EQ(nadpis->znakovaSada, 238);
    EXPECT_EQ(nadpis->vyska, -13) << "9.75 points at 96 dots per inch";
    EXPECT_FALSE(nadpis->kurziva);
    EXPECT_FALSE(nadpis->podtrzeni);
    // Every other control in the one font of the system's message boxes.
    const PismoPrvku* zpravy = popis.Pismo(IDC_CMDOK);
    ASSERT_TRUE(zpravy);
    for (int id : {IDC_CMDSTORNO, IDC_SLOZKA, IDC_CMDPROCHAZET})
        EXPECT_EQ(popis.Pismo(id) ? popis.Pismo(id)->tvar : L"", zpravy->tvar) << "control " << id;
    EXPECT_TRUE(popis.velkaIkona && popis.malaIkona) << "the program's icon";

    // A fixed dialog frame with a close box and no minimise or maximise box.
    LONG styl = ::GetWindowLongW(o, GWL_STYLE);
    EXPECT_TRUE(styl & WS_SYSMENU);
    EXPECT_FALSE(styl & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    // The focus starts on OK, and the window stands in the middle of the screen.
    EXPECT_EQ(Fokus(Program().Vlakno()), Prvek(IDC_CMDOK));
    // The screen as the program measures it: after a while in a Wine
    // virtual desktop the driver's own screen metrics read as zero.
    RECT r, obrazovka{0, 0, popis.obrazovka.cx, popis.obrazovka.cy};
    ASSERT_GT(obrazovka.right, 0);
    ::GetWindowRect(o, &r);
    OverStred(r, obrazovka, "main window centred on the screen");
    UkonciStornem();
}

// The system's DPI for programs started from now on, as the display
// settings store it; put back to 96 when the object goes.
class Dpi {
public:
    explicit Dpi(DWORD dpi) { Nastav(dpi); }
    ~Dpi() { Nastav(96); }

private:
    static void Nastav(DWORD dpi) {
        const std::pair<HKEY, const wchar_t*> mista[] = {
            {HKEY_CURRENT_USER, L"Control Panel\\Desktop"},
            {HKEY_CURRENT_CONFIG, L"Software\\Fonts"},
        };
        for (auto& [koren, klic] : mista) {
            HKEY k;
            if (::RegCreateKeyExW(koren, klic, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
                continue;
            ::RegSetValueExW(k, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
            ::RegCloseKey(k);
        }
    }
};

// At 150 % (144 DPI) the same design in bigger pixels: twips / 10, the
// heading's 9.75 points 20 pixels high, the picture at its own size.
TEST_F(Rozvrzeni, HlavniOknoPri144Dpi) {
    PripravSadu();
    Dpi dpi(144);
    Spust();
    HWND o = Hlavni();
    SIZE k = VelikostKlienta(o);
    EXPECT_EQ(k.cx, 656) << "6555 twips";
    EXPECT_EQ(k.cy, 444);
    for (auto& m : MistaHlavnihoOkna) OverMisto(o, m, 144);
    RECT obrazek = ObdelnikVRodici(::GetDlgItem(o, IDC_OBRAZEKSETUP));
    EXPECT_EQ(obrazek.right - obrazek.left, 118 + 4) << "the picture keeps its own size";
    EXPECT_EQ(obrazek.bottom - obrazek.top, 226 + 4);
    RECT cara = ObdelnikVRodici(::GetDlgItem(o, IDC_LINE1));
    EXPECT_EQ(cara.bottom - cara.top, 1) << "the rule stays one pixel thin";
    const PopisOkna popis = Hlasky().Popis(o);
    const PismoPrvku* nadpis = popis.Pismo(IDC_LABNADPIS);
    ASSERT_TRUE(nadpis);
    EXPECT_EQ(nadpis->vyska, -20) << "9.75 points at 144 dots per inch";
    Snimek(o, L"hlavni-okno-144dpi");
    UkonciStornem();
}

TEST_F(Rozvrzeni, OknoPrubehu) {
    PripravSadu();
    NastavNovouVerzi();
    Spust();
    RECT hlavni;
    ::GetWindowRect(Hlavni(), &hlavni);
    Enter();
    // The completion box holds the run with the progress window still up:
    // the bar full, the last status line shown.
    Hlaseni h = CekejNaHlaseni();
    HWND o = OknoPrubehu(Pid());
    ASSERT_TRUE(o);
    EXPECT_EQ(Text(o), L"Instalace");
    SIZE k = VelikostKlienta(o);
    EXPECT_EQ(k.cx, 374);
    EXPECT_EQ(k.cy, 121);

    const Misto mista[] = {
        {IDC_PRUBEH_STORNO, "cmdStorno", 4260, 1350, 1215, 345},
        {IDC_LABEL1, "Label1", 720, 210, 3945, 255},
        {IDC_IMAGE1, "Image1", 180, 180, 480, 480},
        // Full: the whole inside of the frame, 3945 twips.
        {IDC_UKAZATEL, "Ukazatel", 150, 1410, 3945, 225},
        {IDC_METR, "Metr", 120, 1380, 4005, 285},
        {IDC_TEXT, "Text", 120, 1020, 5355, 285},
    };
    for (auto& m : mista) OverMisto(o, m);
    EXPECT_EQ(Text(::GetDlgItem(o, IDC_LABEL1)), L"Počkejte prosím na dokončení instalace");
    EXPECT_EQ(Text(::GetDlgItem(o, IDC_TEXT)), L"Instalace dokončena.");
    EXPECT_EQ(Text(::GetDlgItem(o, IDC_PRUBEH_STORNO)), L"Storno");

    LONG styl = ::GetWindowLongW(o, GWL_STYLE);
    EXPECT_TRUE(styl & WS_THICKFRAME) << "a resizable frame";
    EXPECT_TRUE(styl & WS_CAPTION);
    const PopisOkna popis = Hlasky().Popis(o);
    EXPECT_TRUE(popis.velkaIkona && popis.malaIkona) << "the program's icon";
    EXPECT_EQ(::GetWindow(o, GW_OWNER), Hlavni());
    EXPECT_FALSE(::IsWindowVisible(Hlavni())) << "the main window is hidden during the run";
    RECT r;
    ::GetWindowRect(o, &r);
    OverStred(r, hlavni, "progress window centred over the main window");
    Snimek(o, L"prubeh-dokonceno");
    PotvrdHlaseni(h);
    EXPECT_TRUE(Program().CekejNaKonec(Cekani()));
}

}  // namespace
}  // namespace e2e
