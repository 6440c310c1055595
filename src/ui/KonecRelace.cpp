#include "ui/KonecRelace.h"

#include <utility>

#include "system/Chyba.h"
#include "ui/Okno.h"

namespace setup::ui {

namespace {

constexpr const wchar_t* TridaHlidace = L"SetupHlidacRelace";

}  // namespace

void BlokovaniKonce::Nastav(HWND okno) noexcept {
    if (okno_) ShutdownBlockReasonDestroy(okno_);
    okno_ = okno;
    if (okno_ && !ShutdownBlockReasonCreate(okno_, DuvodBlokovani)) okno_ = nullptr;
}

HlidacTichehoBehu::HlidacTichehoBehu(std::function<void()> zastav) noexcept : zastav_(std::move(zastav)) {
    pripraveno_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    konecBehu_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!pripraveno_ || !konecBehu_) return;
    vlakno_.reset(CreateThread(nullptr, 0, &HlidacTichehoBehu::Vlakno, this, 0, &idVlakna_));
    // The run starts once it is guarded.
    if (vlakno_) WaitForSingleObject(pripraveno_.get(), INFINITE);
}

HlidacTichehoBehu::~HlidacTichehoBehu() {
    if (!vlakno_) return;
    SetEvent(konecBehu_.get());
    PostThreadMessageW(idVlakna_, WM_QUIT, 0, 0);
    WaitForSingleObject(vlakno_.get(), INFINITE);
}

DWORD WINAPI HlidacTichehoBehu::Vlakno(void* p) {
    auto* hlidac = static_cast<HlidacTichehoBehu*>(p);
    VlastnikOkna okno;
    BlokovaniKonce blokovani;
    try {
        RegistrujTridu(TridaHlidace, &HlidacTichehoBehu::Procedura, 0, -1);
        // Top-level, never shown: a message-only window is not asked.
        okno = VlastnikOkna(CreateWindowExW(0, TridaHlidace, TitulekAplikace, WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                            nullptr, GetModuleHandleW(nullptr), hlidac));
    } catch (...) {
    }
    if (okno) blokovani.Nastav(okno.get());
    SetEvent(hlidac->pripraveno_.get());
    if (!okno) return 0;
    MSG zprava;
    while (GetMessageW(&zprava, nullptr, 0, 0) > 0) DispatchMessageW(&zprava);
    return 0;
}

LRESULT CALLBACK HlidacTichehoBehu::Procedura(HWND okno, UINT zprava, WPARAM w, LPARAM l) {
    if (zprava == WM_NCCREATE) NastavStavOkna(okno, reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    auto* hlidac = StavOkna<HlidacTichehoBehu>(okno);
    switch (zprava) {
    case WM_QUERYENDSESSION:
        return FALSE;
    case WM_ENDSESSION:
        if (w && hlidac) {
            hlidac->zastav_();
            WaitForSingleObject(hlidac->konecBehu_.get(), INFINITE);
        }
        return 0;
    case WM_CLOSE:
        // A task list's polite close does not stop a silent run; the run's
        // own end takes the window away.
        return 0;
    default:
        return DefWindowProcW(okno, zprava, w, l);
    }
}

}  // namespace setup::ui
