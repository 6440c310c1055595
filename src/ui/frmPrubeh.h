// The progress window: a fixed prompt, the status line, the bar and Storno.
// It exists only while a run reports status; every time it is made it starts
// in the same state (text "...", bar 1845 twips with nothing reported done,
// Storno enabled). All it does on its own is raise the main window's cancel
// flag, and, since it shows only during a run, refuse the session's end.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "ui/KonecRelace.h"
#include "ui/Okno.h"
#include "ui/Vzhled.h"

namespace setup::ui {

// Layout in twips.
inline constexpr int PrubehSirka = 5610;
inline constexpr int PrubehVyska = 1815;
inline constexpr Twipy PrubehStorno{4260, 1350, 1215, 345};
inline constexpr Twipy PrubehLabel1{720, 210, 3945, 255};
inline constexpr Twipy PrubehImage1{180, 180, 480, 480};
// The bar as it starts: filled 1845 twips of its track inside the frame.
inline constexpr Twipy PrubehUkazatel{150, 1410, 1845, 225};
inline constexpr Twipy PrubehMetr{120, 1380, 4005, 285};
// The whole track the bar may fill: the frame's inside.
inline constexpr Twipy PrubehDrahaUkazatele{
    PrubehUkazatel.left, PrubehUkazatel.top,
    PrubehMetr.width - 2 * (PrubehUkazatel.left - PrubehMetr.left), PrubehUkazatel.height};
inline constexpr Twipy PrubehText{120, 1020, 5355, 285};

class frmPrubeh final : public Okno {
public:
    // stornovano is the main window's cancel flag, which the window raises.
    frmPrubeh(IHlaseni& hlaseni, const Vzhled& vzhled, std::atomic<bool>& stornovano) noexcept
        : Okno(hlaseni), vzhled_(vzhled), stornovano_(stornovano) {}
    ~frmPrubeh() override { Znic(); }

    // Makes the window, hidden and in its initial state, if it does not exist.
    void Zajisti(HWND vlastnik);
    // A top-level window is visible when its own style says so; asking
    // IsWindowVisible would walk its parents, on every report of a run.
    bool Viditelne() const noexcept {
        return Existuje() && (GetWindowLongW(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    // Shows the window centred over its owner, without waiting for the user.
    void Zobraz();
    // Closes the window; as every close does, this raises the cancel flag
    // (Form_Unload).
    void Uvolni();
    // Closes the window at the end of a run: the next run's window starts
    // with Storno enabled again.
    void KonecBehu();

    // The status line and the bar keep what they are given and draw it at
    // the next Vykresli (or when the window is painted).
    void NastavText(const std::wstring& text);
    // The filled length of the bar in pixels, and the share done in percent
    // that it stands for.
    void NastavSirkuUkazatele(int sirka, int procento);
    void Vykresli();
    // Storno goes grey for the rest of the run, also in a window made again
    // after the user closed this one: the rollback cannot be stopped.
    void ZakazStorno();

private:
    LRESULT OnCommand(WPARAM w, LPARAM l) override;
    LRESULT OnClose() override;
    LRESULT OnDestroy() override;
    LRESULT OnCtlColorStatic(WPARAM w, LPARAM l) override;
    LRESULT OnQueryEndSession(WPARAM, LPARAM) override { return FALSE; }
    LRESULT OnEndSession(WPARAM konci, LPARAM) override;

    void cmdStorno_Click();
    void Form_Unload();

    const Vzhled& vzhled_;
    std::atomic<bool>& stornovano_;
    // The two controls every report changes, kept at hand: looking a
    // control up walks the window's children, a round trip to the window
    // server under some systems, once per file of a run.
    HWND text_ = nullptr;
    HWND ukazatel_ = nullptr;
    bool stornoZakazano_ = false;
    BlokovaniKonce blokovani_;
};

}  // namespace setup::ui
