#include "ui/Vzhled.h"

#include <cstddef>
#include <cwchar>

#include "system/Text.h"
#include "win32/Win32.h"
#include "ui/res/Zdroje.h"

namespace setup::ui {

namespace {

int DpiObrazovky() {
    HDC dc = GetDC(nullptr);
    if (!dc) return 96;
    NaKonci uvolni([dc] { ReleaseDC(nullptr, dc); });
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

Pismo VytvorPismo(const LOGFONTW& lf) {
    Pismo p(CreateFontIndirectW(&lf));
    if (!p) VyvolejPosledni(L"CreateFontIndirectW ", lf.lfFaceName);
    return p;
}

// The font the system uses for message boxes, which is also the font of
// dialogs on current systems.
Pismo VytvorPismoZprav() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) {
        // Systems before Vista know the structure without its last field.
        ncm.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) {
            LOGFONTW lf{};
            if (!GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf))
                VyvolejPosledni(L"SystemParametersInfoW SPI_GETNONCLIENTMETRICS");
            return VytvorPismo(lf);
        }
    }
    return VytvorPismo(ncm.lfMessageFont);
}

// The heading: MS Sans Serif, 9.75 points, bold, Central European.
Pismo VytvorPismoNadpisu(int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(975, dpi, 7200);
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = EASTEUROPE_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    wcscpy(lf.lfFaceName, L"MS Sans Serif");
    return VytvorPismo(lf);
}

Ikona NactiIkonu(HINSTANCE instance, int sirka, int vyska) {
    Ikona i(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_SETUP), IMAGE_ICON, sirka, vyska, LR_DEFAULTCOLOR)));
    if (!i) VyvolejPosledni(L"LoadImageW IDI_SETUP");
    return i;
}

Bitmapa NactiBitmapu(HINSTANCE instance, int id) {
    Bitmapa b(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (!b) VyvolejPosledni(L"LoadImageW ", id);
    return b;
}

}  // namespace

Vzhled::Vzhled(HINSTANCE instance)
    : dpi_(DpiObrazovky()),
      pismoZprav_(VytvorPismoZprav()),
      pismoNadpisu_(VytvorPismoNadpisu(dpi_)),
      velkaIkona_(NactiIkonu(instance, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON))),
      malaIkona_(NactiIkonu(instance, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON))),
      obrazekSetup_(NactiBitmapu(instance, IDB_OBRAZEKSETUP)),
      image1_(NactiBitmapu(instance, IDB_IMAGE1)) {}

void Vzhled::NastavIkony(HWND okno) const noexcept {
    SendMessageW(okno, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(velkaIkona_.get()));
    SendMessageW(okno, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(malaIkona_.get()));
}

}  // namespace setup::ui
