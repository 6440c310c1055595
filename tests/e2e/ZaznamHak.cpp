// e2e_zaznam.dll: loaded into Setup.exe by the driver's WH_CALLWNDPROC hook.
// It writes down, in the order they happen, every text the progress window's
// status line receives and every width its bar takes, so a test can check
// the whole sequence of a run, however fast it goes. The file is named by the
// SETUP_E2E_ZAZNAM variable of the process; records are UTF-16 lines:
// "T<text>", "U<width in pixels>", "D" (the progress window goes away).
//
// When SETUP_E2E_STORNO_PRI names a status text, the first time the status
// line receives it the Storno button's click is posted to the progress
// window, as a user's click arriving right then would be: the run sees it
// when it next takes its messages, with that report.
//
// When the status line is given the text named by SETUP_E2E_ZASTAVIT, the
// hook holds the program's thread right there, before the text is shown and
// before the step it announces: the program stands still at a known point
// of its run until the driver kills it.
//
// Asked with the registered message "SetupE2E.Popis", it also describes a
// window from inside: Wine answers WM_GETFONT and WM_GETICON sent from
// another process with nothing, so fonts and icons can only be read here.
// "I<big icon 0/1>|<small icon 0/1>|<screen width>|<screen height>", then "P<id>|<face>|<height>|<weight>|
// <charset>|<italic>|<underline>" for each child with a font.
#include <windows.h>

#include <cwchar>

#include "ui/Ovladace.h"

namespace {

HANDLE soubor = INVALID_HANDLE_VALUE;
bool otevreno = false;

void Zapis(wchar_t druh, const wchar_t* text) {
    if (!otevreno) {
        otevreno = true;
        wchar_t cesta[MAX_PATH];
        DWORD n = GetEnvironmentVariableW(L"SETUP_E2E_ZAZNAM", cesta, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return;
        soubor = CreateFileW(cesta, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (soubor == INVALID_HANDLE_VALUE) return;
    DWORD n;
    WriteFile(soubor, &druh, sizeof druh, &n, nullptr);
    if (text) WriteFile(soubor, text, static_cast<DWORD>(wcslen(text) * sizeof(wchar_t)), &n, nullptr);
    const wchar_t konec = L'\n';
    WriteFile(soubor, &konec, sizeof konec, &n, nullptr);
}

// Posts Storno's click once, at the status text the variable names.
void StornoPriTextu(HWND status, const wchar_t* text) {
    static bool nacteno = false, hotovo = false;
    static wchar_t hledany[256];
    if (!nacteno) {
        nacteno = true;
        const DWORD n = GetEnvironmentVariableW(L"SETUP_E2E_STORNO_PRI", hledany, 256);
        hotovo = n == 0 || n >= 256;
    }
    if (hotovo || !text || wcscmp(text, hledany) != 0) return;
    hotovo = true;
    HWND prubeh = GetParent(status);
    PostMessageW(prubeh, WM_COMMAND, MAKEWPARAM(IDC_PRUBEH_STORNO, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(prubeh, IDC_PRUBEH_STORNO)));
}

void MoznaZastav(const wchar_t* text) {
    static wchar_t zastavit[512];
    static DWORD n = GetEnvironmentVariableW(L"SETUP_E2E_ZASTAVIT", zastavit, 512);
    if (n > 0 && n < 512 && text && wcscmp(text, zastavit) == 0)
        for (;;) Sleep(INFINITE);
}

void ZapisSirku(int sirka) {
    wchar_t b[16];
    swprintf(b, 16, L"%d", sirka);
    Zapis(L'U', b);
}

void Popis(HWND okno) {
    wchar_t b[160];
    swprintf(b, 160, L"%d|%d|%d|%d", SendMessageW(okno, WM_GETICON, ICON_BIG, 0) != 0,
             SendMessageW(okno, WM_GETICON, ICON_SMALL, 0) != 0, GetSystemMetrics(SM_CXSCREEN),
             GetSystemMetrics(SM_CYSCREEN));
    Zapis(L'I', b);
    for (HWND c = GetWindow(okno, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        auto pismo = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
        LOGFONTW lf{};
        if (!pismo || GetObjectW(pismo, sizeof lf, &lf) != sizeof lf) continue;
        swprintf(b, 160, L"%d|%ls|%ld|%ld|%d|%d|%d", GetDlgCtrlID(c), lf.lfFaceName, lf.lfHeight,
                 lf.lfWeight, lf.lfCharSet, lf.lfItalic, lf.lfUnderline);
        Zapis(L'P', b);
    }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ZaznamVolani(int kod, WPARAM w, LPARAM l) {
    if (kod == HC_ACTION) {
        const auto* z = reinterpret_cast<const CWPSTRUCT*>(l);
        static const UINT popis = RegisterWindowMessageW(L"SetupE2E.Popis");
        if (z->message == popis) Popis(z->hwnd);
        int id = GetDlgCtrlID(z->hwnd);
        if (id == IDC_TEXT) {
            if (z->message == WM_SETTEXT) {
                const auto* text = reinterpret_cast<const wchar_t*>(z->lParam);
                Zapis(L'T', text ? text : L"");
                StornoPriTextu(z->hwnd, text);
                MoznaZastav(text);
            }
            else if (z->message == WM_DESTROY)
                Zapis(L'D', nullptr);
        } else if (id == IDC_UKAZATEL && z->message == UM_SIRKAUKAZATELE) {
            ZapisSirku(static_cast<int>(z->wParam));
        }
    }
    return CallNextHookEx(nullptr, kod, w, l);
}
