#include "ui/Pruh.h"

#include "system/win32/Win32.h"
#include "ui/Ovladace.h"

namespace setup::ui {

namespace {

constexpr int BarvaPlna = COLOR_ACTIVECAPTION;
constexpr int BarvaPrazdna = COLOR_WINDOW;

// The filled width lives in the window's user data.
int Sirka(HWND pruh) noexcept { return static_cast<int>(GetWindowLongPtrW(pruh, GWLP_USERDATA)); }

void Vypln(HDC dc, int od, int po, int vyska, int barva) noexcept {
    if (po <= od) return;
    const RECT r{od, 0, po, vyska};
    FillRect(dc, &r, GetSysColorBrush(barva));
}

void Nakresli(HWND pruh, HDC dc, int od, int po) noexcept {
    RECT klient{};
    GetClientRect(pruh, &klient);
    const int sirka = Sirka(pruh);
    if (po > klient.right) po = klient.right;
    Vypln(dc, od, sirka < po ? sirka : po, klient.bottom, BarvaPlna);
    Vypln(dc, sirka > od ? sirka : od, po, klient.bottom, BarvaPrazdna);
}

LRESULT CALLBACK Procedura(HWND pruh, UINT zprava, WPARAM w, LPARAM l) {
    switch (zprava) {
    case UM_SIRKAUKAZATELE: {
        const int stara = Sirka(pruh);
        const int nova = static_cast<int>(w);
        if (nova == stara) return 0;
        SetWindowLongPtrW(pruh, GWLP_USERDATA, nova);
        // Only the pixels between the old and the new end change.
        if (GetWindowLongW(pruh, GWL_STYLE) & WS_VISIBLE) {
            if (HDC dc = GetDC(pruh)) {
                Nakresli(pruh, dc, stara < nova ? stara : nova, stara < nova ? nova : stara);
                ReleaseDC(pruh, dc);
            }
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;   // WM_PAINT covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (HDC dc = BeginPaint(pruh, &ps)) {
            Nakresli(pruh, dc, ps.rcPaint.left, ps.rcPaint.right);
            EndPaint(pruh, &ps);
        }
        return 0;
    }
    default:
        return DefWindowProcW(pruh, zprava, w, l);
    }
}

}  // namespace

void RegistrujPruh(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, TridaPruhu, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Procedura;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));   // IDC_ARROW
    wc.lpszClassName = TridaPruhu;
    if (!RegisterClassExW(&wc)) VyvolejPosledni(L"RegisterClassExW SetupPruh");
}

}  // namespace setup::ui
