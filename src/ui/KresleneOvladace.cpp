#include "ui/KresleneOvladace.h"

#include <oleacc.h>

#include <new>
#include <string>

#include "win32/Win32.h"
#include "ui/Okno.h"
#include "ui/Ovladace.h"
#include "ui/Pristupnost.h"

namespace setup::ui {

namespace {

// ---- the status line ----------------------------------------------------------

struct Radek {
    std::wstring text;
    HFONT pismo = nullptr;
    bool nakresleno = true;   // the pixels show text
};

// Whether the control itself is shown (its own style: IsWindowVisible would
// walk its parents), and whether it draws only when told.
bool Viditelny(HWND okno) noexcept { return (GetWindowLongW(okno, GWL_STYLE) & WS_VISIBLE) != 0; }
bool NaPokyn(HWND okno) noexcept { return (GetWindowLongW(okno, GWL_STYLE) & KsKreslitNaPokyn) != 0; }

void KresliRadek(HWND okno, HDC dc, const Radek& r) noexcept {
    RECT klient{};
    GetClientRect(okno, &klient);
    // The dialog's own colours, as its labels have them. Asking the parent
    // (WM_CTLCOLORSTATIC) would cost as much as the drawing itself where
    // the dialog is themed.
    FillRect(dc, &klient, GetSysColorBrush(COLOR_BTNFACE));
    const HGDIOBJ puvodni = r.pismo ? SelectObject(dc, r.pismo) : nullptr;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, r.text.c_str(), static_cast<int>(r.text.size()), &klient,
              DT_LEFT | DT_EXPANDTABS | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (puvodni) SelectObject(dc, puvodni);
}

void VykresliRadek(HWND okno, Radek& r) noexcept {
    r.nakresleno = true;
    if (!Viditelny(okno)) return;
    if (HDC dc = GetDC(okno)) {
        NaKonci uvolni([okno, dc] { ReleaseDC(okno, dc); });
        KresliRadek(okno, dc, r);
    }
}

LRESULT NastavTextRadku(HWND okno, Radek& r, const wchar_t* text) noexcept {
    try {
        r.text = text ? text : L"";
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    r.nakresleno = false;
    if (!NaPokyn(okno)) VykresliRadek(okno, r);
    return TRUE;
}

// A screen reader reads the line as exactly the text it draws, asked through
// WM_GETTEXT; the standard object would drop a file name's "&" as an
// access-key marker.
std::wstring TextRadku(HWND okno) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(okno, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(okno, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

constexpr PopisPristupnosti PristupnostRadku{ROLE_SYSTEM_STATICTEXT, &TextRadku, nullptr};

LRESULT ObsluzRadek(HWND okno, Radek& r, UINT zprava, WPARAM w, LPARAM l) {
    switch (zprava) {
    case WM_NCCREATE:
        if (!NastavTextRadku(okno, r, reinterpret_cast<const CREATESTRUCTW*>(l)->lpszName)) return FALSE;
        return DefWindowProcW(okno, zprava, w, l);
    case WM_SETTEXT: {
        const auto* text = reinterpret_cast<const wchar_t*>(l);
        // The same text again: nothing to draw, nothing to tell.
        if (r.text.compare(text ? text : L"") == 0) return TRUE;
        if (!NastavTextRadku(okno, r, text)) return FALSE;
        OznamZmenu(okno, EVENT_OBJECT_NAMECHANGE);
        return TRUE;
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(r.text.size());
    case WM_GETTEXT: {
        if (w == 0 || !l) return 0;
        const std::size_t n = r.text.size() < w - 1 ? r.text.size() : w - 1;
        auto* cil = reinterpret_cast<wchar_t*>(l);
        r.text.copy(cil, n);
        cil[n] = L'\0';
        return static_cast<LRESULT>(n);
    }
    case WM_SETFONT:
        r.pismo = reinterpret_cast<HFONT>(w);
        if (LOWORD(l)) InvalidateRect(okno, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(r.pismo);
    case WM_GETOBJECT:
        return OdpovezObjektem(okno, w, l, PristupnostRadku);
    case WM_ERASEBKGND:
        return 1;   // WM_PAINT covers every pixel
    case UM_VYKRESLI:
        if (!r.nakresleno) VykresliRadek(okno, r);
        return 0;
    case WM_PAINT: {
        // A text not yet drawn is drawn whole, not just where the
        // window was uncovered.
        if (!r.nakresleno) InvalidateRect(okno, nullptr, FALSE);
        r.nakresleno = true;
        PAINTSTRUCT ps;
        if (HDC dc = BeginPaint(okno, &ps)) {
            NaKonci konec([okno, &ps] { EndPaint(okno, &ps); });
            KresliRadek(okno, dc, r);
        }
        return 0;
    }
    default:
        return DefWindowProcW(okno, zprava, w, l);
    }
}

// ---- the bar ------------------------------------------------------------------

constexpr int BarvaPlna = COLOR_ACTIVECAPTION;
constexpr int BarvaPrazdna = COLOR_WINDOW;

// Kept in the program: the window manager's own slots for a window's data
// cost a round trip to the server with each write under some systems.
struct Pruh {
    int sirka = 0;         // the filled width given
    int nakreslena = 0;    // the filled width the pixels show
    int procento = 0;      // the share done, 0 to 100
};

void Vypln(HDC dc, int od, int po, int vyska, int barva) noexcept {
    if (po <= od) return;
    const RECT r{od, 0, po, vyska};
    FillRect(dc, &r, GetSysColorBrush(barva));
}

void KresliPruh(HWND pruh, HDC dc, int sirka, int od, int po) noexcept {
    RECT klient{};
    GetClientRect(pruh, &klient);
    if (po > klient.right) po = klient.right;
    Vypln(dc, od, sirka < po ? sirka : po, klient.bottom, BarvaPlna);
    Vypln(dc, sirka > od ? sirka : od, po, klient.bottom, BarvaPrazdna);
}

// Only the pixels between the end drawn and the new end change.
void VykresliPruh(HWND pruh, Pruh& p) noexcept {
    const int stara = p.nakreslena;
    p.nakreslena = p.sirka;
    if (stara == p.sirka || !Viditelny(pruh)) return;
    if (HDC dc = GetDC(pruh)) {
        NaKonci uvolni([pruh, dc] { ReleaseDC(pruh, dc); });
        KresliPruh(pruh, dc, p.sirka, stara < p.sirka ? stara : p.sirka, stara < p.sirka ? p.sirka : stara);
    }
}

void NastavSirku(HWND pruh, Pruh& p, int nova) noexcept {
    p.sirka = nova;
    if (!NaPokyn(pruh)) VykresliPruh(pruh, p);
}

// Held within 0 to 100, as a progress bar's value is. The share comes from
// the run's own numbers: the width is only its picture, rounded to pixels.
void NastavProcento(HWND pruh, Pruh& p, LPARAM procento) noexcept {
    const int nove = procento < 0 ? 0 : procento > 100 ? 100 : static_cast<int>(procento);
    if (nove == p.procento) return;
    p.procento = nove;
    OznamZmenu(pruh, EVENT_OBJECT_VALUECHANGE);
}

// "42%", as the system's own progress bar gives its value.
std::wstring HodnotaPruhu(HWND pruh) {
    const Pruh* p = StavOkna<Pruh>(pruh);
    const int procento = p ? p->procento : 0;
    wchar_t text[4];
    std::size_t n = 0;
    if (procento >= 100) text[n++] = L'1';
    if (procento >= 10) text[n++] = static_cast<wchar_t>(L'0' + procento / 10 % 10);
    text[n++] = static_cast<wchar_t>(L'0' + procento % 10);
    text[n++] = L'%';
    return std::wstring(text, n);
}

constexpr PopisPristupnosti PristupnostPruhu{ROLE_SYSTEM_PROGRESSBAR, nullptr, &HodnotaPruhu};

LRESULT ObsluzPruh(HWND pruh, Pruh& p, UINT zprava, WPARAM w, LPARAM l) {
    switch (zprava) {
    case UM_SIRKAUKAZATELE:
        NastavSirku(pruh, p, static_cast<int>(w));
        NastavProcento(pruh, p, l);
        return 0;
    case UM_VYKRESLI:
        VykresliPruh(pruh, p);
        return 0;
    case WM_GETOBJECT:
        return OdpovezObjektem(pruh, w, l, PristupnostPruhu);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        // An end not yet drawn is drawn too, wherever the window was
        // uncovered.
        if (p.nakreslena != p.sirka) {
            RECT zmena{p.nakreslena < p.sirka ? p.nakreslena : p.sirka, 0,
                       p.nakreslena < p.sirka ? p.sirka : p.nakreslena, 0x7FFF};
            InvalidateRect(pruh, &zmena, FALSE);
            p.nakreslena = p.sirka;
        }
        PAINTSTRUCT ps;
        if (HDC dc = BeginPaint(pruh, &ps)) {
            NaKonci konec([pruh, &ps] { EndPaint(pruh, &ps); });
            KresliPruh(pruh, dc, p.sirka, ps.rcPaint.left, ps.rcPaint.right);
        }
        return 0;
    }
    default:
        return DefWindowProcW(pruh, zprava, w, l);
    }
}

}  // namespace

void RegistrujKresleneOvladace() {
    RegistrujTridu(TridaRadku, &ProceduraSeStavem<Radek, ObsluzRadek>, 0, -1);
    RegistrujTridu(TridaPruhu, &ProceduraSeStavem<Pruh, ObsluzPruh>, 0, -1);
}

}  // namespace setup::ui
