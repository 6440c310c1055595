#include "ui/HlavniOkno.h"

#include <commctrl.h>

#include "engine/Instalace.h"
#include "win32/Win32.h"
#include "ui/Ovladace.h"

namespace setup::ui {

namespace {

// A fixed dialog frame with a close box and no minimise or maximise box.
constexpr DWORD StylOkna = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD ExStylOkna = WS_EX_DLGMODALFRAME;

}  // namespace

// The common controls are not among the DLLs Windows always takes from the
// system folder, so the program does not import them (an import is resolved
// before the search can be restricted): they are loaded by name once it is.
// By name, not by full path, so the manifest's activation context still
// gives version 6 from the side-by-side store.
// The common controls load msimg32 lazily themselves; Wine's do it without
// the restricted search and would take a copy from the program's folder.
// Loaded first by its full system path, it is already there when they ask.
void ZapniBezneOvladace() noexcept {
    NactiSystemovouKnihovnu(L"msimg32.dll");

    using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    if (!comctl) return;
    auto fn = reinterpret_cast<InitCommonControlsExFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(comctl, "InitCommonControlsEx")));
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    if (fn) fn(&icc);
}

void HlavniOkno::VytvorOkno() {
    const SIZE s = VelikostOkna(StylOkna, ExStylOkna, vzhled_.Px(SetupSirka), vzhled_.Px(SetupVyska));
    Vytvor(TitulekHlavnihoOkna, StylOkna, ExStylOkna, nullptr,
           (GetSystemMetrics(SM_CXSCREEN) - s.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - s.cy) / 2,
           vzhled_.Px(SetupSirka), vzhled_.Px(SetupVyska));
    VytvorOvladace();
}

void HlavniOkno::VytvorOvladace() {
    vzhled_.NastavIkony(hwnd());
    // Created in Tab order: OK, Storno, the folder, Browse; the labels and
    // pictures after them. A label's access key moves the focus to the next
    // control in this order.
    Rozvrzeni r(hwnd(), vzhled_.Dpi(), vzhled_.PismoZprav());
    r.Pridej(L"BUTTON", L"OK", WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, IDC_CMDOK, SetupOK);
    r.Pridej(L"BUTTON", L"Storno", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_CMDSTORNO, SetupStorno);
    HWND slozka = r.Pridej(L"EDIT", L"", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                           IDC_SLOZKA, SetupSlozka);
    SendMessageW(slozka, EM_SETLIMITTEXT, 0, 0);   // no limit of its own
    r.Pridej(L"BUTTON", L"&Procházet...", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_CMDPROCHAZET,
             SetupProchazet);
    r.Pridej(L"STATIC", L"Instalace šablon dokumentů", SS_LEFT, 0, IDC_LABNADPIS, SetupNadpis,
             vzhled_.PismoNadpisu());
    r.Pridej(L"STATIC", L"", SS_LEFT, 0, IDC_LABSETUP, SetupUvitani);

    // The picture at its natural size inside a sunken border two pixels wide
    // (at 96 DPI exactly the place the layout gives it).
    HWND obrazek = r.Pridej(L"STATIC", L"", SS_BITMAP, WS_EX_CLIENTEDGE, IDC_OBRAZEKSETUP, SetupObrazek);
    SendMessageW(obrazek, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(vzhled_.ObrazekSetup()));
    PrirozenaVelikost(obrazek, vzhled_.ObrazekSetup());

    // The two lines of the etched rule, one pixel high and one pixel apart
    // at any DPI.
    const int x = r.Px(CaraLeva);
    const int y = r.Px(CaraHorni);
    const int delka = r.Px(CaraPrava) - x;
    const Twipy cara{CaraLeva, CaraHorni, CaraPrava - CaraLeva, 15};
    HWND line2 = r.Pridej(L"STATIC", L"", SS_LEFT, 0, IDC_LINE2, cara);
    HWND line1 = r.Pridej(L"STATIC", L"", SS_LEFT, 0, IDC_LINE1, cara);
    SetWindowPos(line2, nullptr, x, y, delka, 1, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(line1, nullptr, x, y + 1, delka, 1, SWP_NOZORDER | SWP_NOACTIVATE);

    SendMessageW(hwnd(), DM_SETDEFID, IDC_CMDOK, 0);
}

void HlavniOkno::Napln(const std::wstring& uvitani, const std::wstring& cil) {
    HWND popisek = Ovladac(IDC_LABSETUP);
    if (!SetWindowTextW(popisek, uvitani.c_str())) VyvolejPosledni(L"SetWindowTextW labSetup");
    pismoUvitani_ = PismoKVejiti(popisek, uvitani, vzhled_.PismoZprav(), vzhled_.Dpi());
    if (pismoUvitani_) SendMessageW(popisek, WM_SETFONT, reinterpret_cast<WPARAM>(pismoUvitani_.get()), TRUE);
    if (!SetWindowTextW(Ovladac(IDC_SLOZKA), cil.c_str())) VyvolejPosledni(L"SetWindowTextW Slozka");
}

void HlavniOkno::Zobraz() {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Ovladac(IDC_CMDOK)), TRUE);
}

LRESULT HlavniOkno::OnCtlColorStatic(WPARAM w, LPARAM l) {
    HDC dc = reinterpret_cast<HDC>(w);
    switch (GetDlgCtrlID(reinterpret_cast<HWND>(l))) {
    case IDC_LINE2:
        SetBkColor(dc, GetSysColor(COLOR_BTNSHADOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNSHADOW));
    case IDC_LINE1:
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    default:
        return Vychozi(WM_CTLCOLORSTATIC, w, l);
    }
}

}  // namespace setup::ui
