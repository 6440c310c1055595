#include "ui/Okno.h"

#include "win32/Win32.h"

namespace setup::ui {

namespace {

constexpr const wchar_t* TridaOkna = L"SetupDialog";

}  // namespace

void RegistrujTridu(const wchar_t* nazev, WNDPROC procedura, int extra, int pozadi) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, nazev, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = procedura;
    wc.cbWndExtra = extra;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));   // IDC_ARROW
    if (pozadi >= 0) wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(pozadi + 1));
    wc.lpszClassName = nazev;
    if (!RegisterClassExW(&wc)) VyvolejPosledni(L"RegisterClassExW ", nazev);
}

void NahlasVyjimku(IHlaseni& hlaseni) noexcept {
    try {
        ChybaHlaseni(hlaseni, ChybaZVyjimky());
    } catch (...) {
        // The report itself failed; there is nobody left to tell.
    }
}

SIZE Okno::VelikostOkna(DWORD styl, DWORD exStyl, int sirkaKlienta, int vyskaKlienta) {
    RECT r{0, 0, sirkaKlienta, vyskaKlienta};
    AdjustWindowRectEx(&r, styl, FALSE, exStyl);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void Okno::Vytvor(const wchar_t* titulek, DWORD styl, DWORD exStyl, HWND vlastnik, int x, int y,
                  int sirkaKlienta, int vyskaKlienta) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegistrujTridu(TridaOkna, &Okno::Procedura, DLGWINDOWEXTRA, COLOR_BTNFACE);
    const SIZE s = VelikostOkna(styl, exStyl, sirkaKlienta, vyskaKlienta);
    // WM_NCCREATE finds the object in the creation parameters and binds it
    // to the window.
    HWND h = CreateWindowExW(exStyl, TridaOkna, titulek, styl & ~WS_VISIBLE, x, y, s.cx, s.cy,
                             vlastnik, nullptr, instance, this);
    if (!h) VyvolejPosledni(L"CreateWindowExW");
}

LRESULT CALLBACK Okno::Procedura(HWND hwnd, UINT zprava, WPARAM w, LPARAM l) {
    if (zprava == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
        auto* nove = static_cast<Okno*>(cs->lpCreateParams);
        NastavStavOkna(hwnd, nove);
        nove->hwnd_ = hwnd;
        nove->okno_ = VlastnikOkna(hwnd);
    }
    auto* okno = StavOkna<Okno>(hwnd);
    if (!okno) return DefDlgProcW(hwnd, zprava, w, l);
    if (zprava == WM_NCDESTROY) {
        // The window's last message: the object lets go of it.
        NastavStavOkna(hwnd, nullptr);
        okno->okno_.release();
        okno->hwnd_ = nullptr;
        return DefDlgProcW(hwnd, zprava, w, l);
    }
    try {
        return okno->Zprava(zprava, w, l);
    } catch (...) {
        NahlasVyjimku(okno->hlaseni_);
        return 0;
    }
}

LRESULT Okno::Zprava(UINT zprava, WPARAM w, LPARAM l) {
    switch (zprava) {
    case WM_COMMAND: return OnCommand(w, l);
    case WM_CLOSE: return OnClose();
    case WM_DESTROY: return OnDestroy();
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(w, l);
    case WM_QUERYENDSESSION: return OnQueryEndSession(w, l);
    case WM_ENDSESSION: return OnEndSession(w, l);
    default: return Vychozi(zprava, w, l);
    }
}

Pismo PismoKVejiti(HWND popisek, const std::wstring& text, HFONT pismo, int dpi) {
    RECT klient{};
    GetClientRect(popisek, &klient);
    HDC dc = GetDC(popisek);
    if (!dc) return Pismo();
    NaKonci uvolni([popisek, dc] { ReleaseDC(popisek, dc); });
    const HGDIOBJ puvodni = GetCurrentObject(dc, OBJ_FONT);
    NaKonci obnov([dc, puvodni] { SelectObject(dc, puvodni); });

    // Static labels wrap with these flags; "&" stays an access-key marker.
    auto vyska = [&](HFONT f) {
        SelectObject(dc, f);
        RECT r{0, 0, klient.right, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_LEFT);
        return r.bottom;
    };
    if (vyska(pismo) <= klient.bottom) return Pismo();

    LOGFONTW lf{};
    if (!GetObjectW(pismo, sizeof lf, &lf)) return Pismo();
    int velikost = lf.lfHeight < 0 ? -lf.lfHeight : 0;
    if (velikost == 0) {
        TEXTMETRICW tm{};
        SelectObject(dc, pismo);
        GetTextMetricsW(dc, &tm);
        velikost = tm.tmHeight - tm.tmInternalLeading;
    }
    const int nejmensi = MulDiv(6, dpi, 72);
    Pismo mensi;
    for (int h = velikost - 1; h >= nejmensi; --h) {
        lf.lfHeight = -h;
        Pismo p(CreateFontIndirectW(&lf));
        if (!p) break;
        const bool vejde = vyska(p.get()) <= klient.bottom;
        mensi = std::move(p);
        if (vejde) break;
    }
    return mensi;
}

void PrirozenaVelikost(HWND obrazek, HBITMAP bitmapa) {
    BITMAP bm{};
    if (!GetObjectW(bitmapa, sizeof bm, &bm)) return;
    RECT okno{}, klient{};
    GetWindowRect(obrazek, &okno);
    GetClientRect(obrazek, &klient);
    const int okrajX = (okno.right - okno.left) - klient.right;
    const int okrajY = (okno.bottom - okno.top) - klient.bottom;
    SetWindowPos(obrazek, nullptr, 0, 0, bm.bmWidth + okrajX, bm.bmHeight + okrajY,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Rozvrzeni::Pridej(const wchar_t* trida, const wchar_t* text, DWORD styl, DWORD exStyl, int id,
                       Twipy kde, HFONT pismo) {
    HWND h = CreateWindowExW(exStyl, trida, text, WS_CHILD | WS_VISIBLE | styl, Px(kde.left),
                             Px(kde.top), Px(kde.width), Px(kde.height), rodic_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
    if (!h) VyvolejPosledni(L"CreateWindowExW ", trida);
    SetWindowPos(h, posledni_ ? posledni_ : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    posledni_ = h;
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(pismo ? pismo : pismo_), FALSE);
    return h;
}

}  // namespace setup::ui
