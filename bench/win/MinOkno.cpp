// The floor for start-up and memory: the least a Win32 program does to show
// a window. Built with the same compiler and flags as Setup.exe.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedura(HWND okno, UINT zprava, WPARAM w, LPARAM l) {
    if (zprava == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(okno, zprava, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Procedura;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = L"MinOkno";
    if (!RegisterClassExW(&wc)) return 1;
    HWND okno = CreateWindowExW(0, L"MinOkno", L"MinOkno", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance,
                                nullptr);
    if (!okno) return 1;
    ShowWindow(okno, SW_SHOW);
    MSG zprava;
    while (GetMessageW(&zprava, nullptr, 0, 0) > 0) {
        TranslateMessage(&zprava);
        DispatchMessageW(&zprava);
    }
    return 0;
}
