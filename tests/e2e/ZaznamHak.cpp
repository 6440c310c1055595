// e2e_zaznam.dll: loaded into Setup.exe by the driver's WH_CALLWNDPROC hook.
// It writes down, in the order they happen, every text the progress window's
// status line receives and every width its bar takes, so a test can check
// the whole sequence of a run, however fast it goes. The file is named by the
// SETUP_E2E_ZAZNAM variable of the process; records are UTF-16 lines:
// "T<text>", "U<width in pixels>", "D" (the progress window goes away).
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

void ZapisSirku(int sirka) {
    wchar_t b[16];
    swprintf(b, 16, L"%d", sirka);
    Zapis(L'U', b);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ZaznamVolani(int kod, WPARAM w, LPARAM l) {
    if (kod == HC_ACTION) {
        const auto* z = reinterpret_cast<const CWPSTRUCT*>(l);
        int id = GetDlgCtrlID(z->hwnd);
        if (id == IDC_TEXT) {
            if (z->message == WM_SETTEXT)
                Zapis(L'T', z->lParam ? reinterpret_cast<const wchar_t*>(z->lParam) : L"");
            else if (z->message == WM_DESTROY)
                Zapis(L'D', nullptr);
        } else if (id == IDC_UKAZATEL) {
            if (z->message == WM_CREATE) {
                ZapisSirku(reinterpret_cast<const CREATESTRUCTW*>(z->lParam)->cx);
            } else if (z->message == WM_WINDOWPOSCHANGED) {
                const auto* p = reinterpret_cast<const WINDOWPOS*>(z->lParam);
                if (!(p->flags & SWP_NOSIZE)) ZapisSirku(p->cx);
            }
        }
    }
    return CallNextHookEx(nullptr, kod, w, l);
}
