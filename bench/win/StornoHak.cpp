// StornoHak.dll: loaded into Setup.exe by the bench driver's WH_CALLWNDPROC
// hook, to press Storno at one exact status report. A click is only seen at
// a report's message pump, so it is posted while the link record's report
// sets its text: that report's pump takes it, the run stops before the link
// and after every file of the set, and the rollback removes them all. The
// moment of the click goes to the driver through a named mapping, and a
// named event tells the driver to take the hook away again.
#include <windows.h>

#include <cwchar>

#include "ui/Ovladace.h"

namespace {

bool stisknuto = false;

void Oznam(LONGLONG cas) {
    HANDLE mapa = OpenFileMappingW(FILE_MAP_WRITE, FALSE, L"SetupBench.StornoCas");
    if (mapa) {
        if (void* p = MapViewOfFile(mapa, FILE_MAP_WRITE, 0, 0, sizeof cas)) {
            *static_cast<LONGLONG*>(p) = cas;
            UnmapViewOfFile(p);
        }
        CloseHandle(mapa);
    }
    if (HANDLE udalost = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"SetupBench.Storno")) {
        SetEvent(udalost);
        CloseHandle(udalost);
    }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK StornoVolani(int kod, WPARAM w, LPARAM l) {
    if (kod == HC_ACTION && !stisknuto) {
        const auto* z = reinterpret_cast<const CWPSTRUCT*>(l);
        if (z->message == WM_SETTEXT && z->lParam && GetDlgCtrlID(z->hwnd) == IDC_TEXT) {
            const auto* text = reinterpret_cast<const wchar_t*>(z->lParam);
            const size_t n = wcslen(text);
            if (n > 4 && wcscmp(text + n - 4, L".lnk") == 0) {
                stisknuto = true;
                HWND prubeh = GetParent(z->hwnd);
                LARGE_INTEGER cas;
                QueryPerformanceCounter(&cas);
                PostMessageW(prubeh, WM_COMMAND, MAKEWPARAM(IDC_PRUBEH_STORNO, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(prubeh, IDC_PRUBEH_STORNO)));
                Oznam(cas.QuadPart);
            }
        }
    }
    return CallNextHookEx(nullptr, kod, w, l);
}
