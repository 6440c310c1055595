#include "ui/frmPrubeh.h"

#include "win32/Win32.h"
#include "ui/Ovladace.h"
#include "ui/KresleneOvladace.h"

namespace setup::ui {

namespace {

constexpr DWORD StylOkna = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
// Its own taskbar button: the main window is hidden while this one shows.
constexpr DWORD ExStylOkna = WS_EX_APPWINDOW;

// The rectangle of the monitor's work area nearest to a window.
RECT PracovniPlocha(HWND okno) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoW(MonitorFromWindow(okno, MONITOR_DEFAULTTONEAREST), &mi)) return mi.rcWork;
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return r;
}

}  // namespace

void frmPrubeh::Zajisti(HWND vlastnik) {
    if (Existuje()) return;
    Vytvor(L"Instalace", StylOkna, ExStylOkna, vlastnik, CW_USEDEFAULT, CW_USEDEFAULT,
           vzhled_.Px(PrubehSirka), vzhled_.Px(PrubehVyska));
    blokovani_.Nastav(hwnd());
    try {
        vzhled_.NastavIkony(hwnd());
        // Storno is the only control that takes the focus; the rest follow
        // it in the z-order, the bar above its frame.
        Rozvrzeni r(hwnd(), vzhled_.Dpi(), vzhled_.PismoZprav());
        r.Pridej(L"BUTTON", L"Storno",
                 WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON | (stornoZakazano_ ? WS_DISABLED : 0), 0,
                 IDC_PRUBEH_STORNO, PrubehStorno);
        RegistrujKresleneOvladace();
        // The status line and the bar draw when told (Vykresli): a run
        // reports far more often than a screen can show.
        text_ = r.Pridej(TridaRadku, L"...", KsKreslitNaPokyn, 0, IDC_TEXT, PrubehText);
        r.Pridej(L"STATIC", L"Počkejte prosím na dokončení instalace", SS_LEFT, 0, IDC_LABEL1,
                 PrubehLabel1);
        HWND obrazek = r.Pridej(L"STATIC", L"", SS_BITMAP, 0, IDC_IMAGE1, PrubehImage1);
        SendMessageW(obrazek, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(vzhled_.Image1()));
        PrirozenaVelikost(obrazek, vzhled_.Image1());
        ukazatel_ = r.Pridej(TridaPruhu, L"", WS_CLIPSIBLINGS | KsKreslitNaPokyn, 0, IDC_UKAZATEL,
                             PrubehDrahaUkazatele);
        NastavSirkuUkazatele(vzhled_.Px(PrubehUkazatel.width), 0);
        r.Pridej(L"STATIC", L"", SS_LEFT | WS_CLIPSIBLINGS, WS_EX_CLIENTEDGE, IDC_METR, PrubehMetr);
    } catch (...) {
        Znic();
        throw;
    }
}

void frmPrubeh::Zobraz() {
    HWND vlastnik = GetWindow(hwnd(), GW_OWNER);
    RECT o{};
    RECT w{};
    GetWindowRect(hwnd(), &w);
    if (!vlastnik || !GetWindowRect(vlastnik, &o)) o = PracovniPlocha(hwnd());
    const int sirka = w.right - w.left;
    const int vyska = w.bottom - w.top;
    int x = o.left + ((o.right - o.left) - sirka) / 2;
    int y = o.top + ((o.bottom - o.top) - vyska) / 2;
    // Never out of reach, should the owner stand near the screen's edge.
    const RECT p = PracovniPlocha(vlastnik ? vlastnik : hwnd());
    if (x + sirka > p.right) x = p.right - sirka;
    if (y + vyska > p.bottom) y = p.bottom - vyska;
    if (x < p.left) x = p.left;
    if (y < p.top) y = p.top;
    SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd(), SW_SHOW);
}

void frmPrubeh::Uvolni() {
    Znic();
}

void frmPrubeh::KonecBehu() {
    Znic();
    stornoZakazano_ = false;
}

void frmPrubeh::NastavText(const std::wstring& text) {
    if (!SetWindowTextW(text_, text.c_str())) VyvolejPosledni(L"SetWindowTextW Text");
}

void frmPrubeh::NastavSirkuUkazatele(int sirka, int procento) {
    SendMessageW(ukazatel_, UM_SIRKAUKAZATELE, static_cast<WPARAM>(sirka < 0 ? 0 : sirka), procento);
}

void frmPrubeh::Vykresli() {
    if (!Existuje()) return;
    SendMessageW(text_, UM_VYKRESLI, 0, 0);
    SendMessageW(ukazatel_, UM_VYKRESLI, 0, 0);
}

void frmPrubeh::ZakazStorno() {
    stornoZakazano_ = true;
    EnableWindow(Ovladac(IDC_PRUBEH_STORNO), FALSE);
}

void frmPrubeh::cmdStorno_Click() {
    stornovano_ = true;
}

void frmPrubeh::Form_Unload() {
    stornovano_ = true;
}

LRESULT frmPrubeh::OnEndSession(WPARAM konci, LPARAM) {
    // The session ends all the same: the run stops as on Storno.
    if (konci) stornovano_ = true;
    return 0;
}

LRESULT frmPrubeh::OnCommand(WPARAM w, LPARAM l) {
    // Esc arrives here as IDCANCEL even when the button is disabled; a
    // disabled Storno does nothing, however it is pressed.
    if (LOWORD(w) == IDC_PRUBEH_STORNO && HIWORD(w) == BN_CLICKED) {
        if (IsWindowEnabled(Ovladac(IDC_PRUBEH_STORNO))) cmdStorno_Click();
        return 0;
    }
    return Vychozi(WM_COMMAND, w, l);
}

LRESULT frmPrubeh::OnClose() {
    // The close box, Alt+F4 and the system menu all end here.
    Uvolni();
    return 0;
}

LRESULT frmPrubeh::OnDestroy() {
    // However the window goes (Hlaska, the close box, its owner going), the
    // run learns of it.
    Form_Unload();
    blokovani_.Nastav(nullptr);
    text_ = ukazatel_ = nullptr;
    return Vychozi(WM_DESTROY, 0, 0);
}

// The bar's frame is white inside, as a text box is.
LRESULT frmPrubeh::OnCtlColorStatic(WPARAM w, LPARAM l) {
    if (GetDlgCtrlID(reinterpret_cast<HWND>(l)) != IDC_METR) return Vychozi(WM_CTLCOLORSTATIC, w, l);
    SetBkColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

}  // namespace setup::ui
