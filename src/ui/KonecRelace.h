// A logoff or a shutdown waits for a run. While one is in progress, the
// program's own top-level windows answer WM_QUERYENDSESSION with FALSE, and
// the reason stands beside the program in the system's list of programs
// that keep it waiting. A session that ends all the same (WM_ENDSESSION)
// raises the run's cancel flag: the run stops at its next check and takes
// back what it has time for; its record covers the rest at the next start.
#pragma once

#include <windows.h>

#include <functional>

#include "win32/Uchyty.h"

namespace setup::ui {

inline constexpr const wchar_t* DuvodBlokovani = L"Probíhá instalace šablon. Počkejte prosím, až skončí.";

// The reason, on a window of the calling thread, for as long as the object
// lives. A system that cannot keep it still has the window's refusal.
class BlokovaniKonce {
public:
    BlokovaniKonce() noexcept = default;
    explicit BlokovaniKonce(HWND okno) noexcept { Nastav(okno); }
    ~BlokovaniKonce() { Nastav(nullptr); }
    BlokovaniKonce(const BlokovaniKonce&) = delete;
    BlokovaniKonce& operator=(const BlokovaniKonce&) = delete;

    // The reason on this window instead (none: nowhere).
    void Nastav(HWND okno) noexcept;

private:
    HWND okno_ = nullptr;
};

// The silent run has no window for the system to ask: for as long as the
// object lives, a hidden top-level window on a thread of its own, with its
// own message loop, refuses for it. When the session ends all the same,
// zastav is called on that thread, and the thread then holds the session's
// end until the object goes (the run has ended): the system ends the
// process once every window has answered, so the answer waits for the
// rollback, as long as the system lets it. Without a thread or a window the
// run goes on unguarded.
class HlidacTichehoBehu {
public:
    explicit HlidacTichehoBehu(std::function<void()> zastav) noexcept;
    ~HlidacTichehoBehu();
    HlidacTichehoBehu(const HlidacTichehoBehu&) = delete;
    HlidacTichehoBehu& operator=(const HlidacTichehoBehu&) = delete;

private:
    static DWORD WINAPI Vlakno(void* hlidac);
    static LRESULT CALLBACK Procedura(HWND okno, UINT zprava, WPARAM w, LPARAM l);

    std::function<void()> zastav_;
    UchytObjektu pripraveno_;   // the thread has its window, or has given up
    UchytObjektu konecBehu_;
    UchytObjektu vlakno_;
    DWORD idVlakna_ = 0;
};

}  // namespace setup::ui
