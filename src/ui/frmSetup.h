// The installer's main window. Loading it finds what to install; it offers
// OK, Storno and Browse, and it is the engine's window side during a run:
// the status operation Hlaska, the cancel flag and its own visibility.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/Instalace.h"
#include "engine/Stroj.h"
#include "ui/Okno.h"
#include "ui/Vzhled.h"
#include "ui/frmPrubeh.h"

namespace setup::ui {

// Layout in twips.
inline constexpr int SetupSirka = 6555;
inline constexpr int SetupVyska = 4440;
inline constexpr Twipy SetupProchazet{5220, 2880, 1185, 345};
inline constexpr Twipy SetupSlozka{2190, 2430, 4245, 285};
inline constexpr Twipy SetupStorno{5340, 3960, 1095, 345};
inline constexpr Twipy SetupOK{4020, 3960, 1215, 345};
inline constexpr Twipy SetupNadpis{2280, 120, 3735, 255};
inline constexpr Twipy SetupUvitani{2190, 480, 4275, 1725};
inline constexpr Twipy SetupObrazek{210, 150, 1830, 3450};
// The etched rule: Line2 from (240, 3765) to (6390, 3765) in the shadow
// colour, Line1 one pixel below it in white; each one pixel high.
inline constexpr int CaraLeva = 240;
inline constexpr int CaraPrava = 6390;
inline constexpr int CaraHorni = 3765;

// A run's reports are drawn at most this often (ms): about as often as a
// screen shows a change, and often enough that a click is felt at once.
inline constexpr int KresbaMs = 15;

// The system services the window hands to the engine.
struct Sluzby {
    ISoubory& soubory;
    IRegistr& registr;
    IShell& shell;
    IHlaseni& hlaseni;
};

class frmSetup final : public Okno, public IPrubeh {
public:
    frmSetup(const Sluzby& sluzby, const Vzhled& vzhled) noexcept
        : Okno(sluzby.hlaseni), sluzby_(sluzby), vzhled_(vzhled),
          prubeh_(sluzby.hlaseni, vzhled, stornovano_) {}
    ~frmSetup() override;

    // Makes the window, hidden, and runs Form_Load. False when loading
    // failed: the error has been reported and the window unloaded.
    // docasnaSlozka is the user's temporary folder (see ZjistiInstalaci).
    bool Nacti(const std::wstring& cestaAplikace, const std::wstring& docasnaSlozka);
    // The target the command line names, instead of the proposal.
    void NastavCil(const std::wstring& cil);
    // Removes the set from the target in the text box, behind the progress
    // window; this window is not shown for it.
    Vysledek Odeber();
    // Whether loading failed because the medium holds no set.
    bool BezSady() const noexcept { return bezSady_; }
    // Shows the loaded window centred on the screen, the focus on OK.
    void Zobraz();

    // Hands one message to the dialog that it belongs to, or dispatches it.
    void ZpracujZpravu(MSG& zprava);
    // The window that owns message boxes: the progress window while it
    // shows, else this one while it shows, else none.
    HWND VlastnikHlaseni() const noexcept;

    // IPrubeh: the run's reports, its cancel flag and its boxes. Every
    // report reaches the progress window's controls; they are drawn, and
    // input is taken, at most every KresbaMs, but always for the first and
    // the last report of a phase and before a box.
    void Hlaska(const std::wstring& text, int32_t hotovo, int32_t celkem) override;
    const std::atomic<bool>& Stornovano() const override { return stornovano_; }
    void NelzeZrusit() override;
    int Zprava(const std::wstring& text, const std::wstring& titulek, uint32_t styl) override;

    // Waits until a copy running on another thread sets its event, the
    // windows answering meanwhile; what the run reported is drawn first.
    void CekejNaKopii(HANDLE konec);

    // How the last run ended; none when no run was started.
    std::optional<Vysledek> PosledniBeh() const { return posledniBeh_; }

    // The folders found at load; an install run reads and writes them.
    std::wstring SlozkaProgramu;
    SlozkyInstalace slozky;
    std::wstring PuvodNavrhu;   // what gave the proposal, for the log
    // The log of runs, if one is kept.
    IProtokol* protokol = nullptr;

private:
    LRESULT Zprava(UINT zprava, WPARAM w, LPARAM l) override;
    LRESULT OnCommand(WPARAM w, LPARAM l);
    LRESULT OnClose();
    LRESULT OnDestroy();
    LRESULT OnCtlColorStatic(WPARAM w, LPARAM l);
    LRESULT OnEndSession(WPARAM konci);

    void VytvorOvladace();
    void Form_Load(const std::wstring& cestaAplikace, const std::wstring& docasnaSlozka);
    void cmdOK_Click();
    void cmdStorno_Click();
    void cmdProchazet_Click();
    Vysledek Spust(Vysledek (*beh)(Stroj&, SlozkyInstalace&, const std::wstring&));
    std::wstring TextSlozky() const;
    void ZobrazHlavniOkno();
    // Lets every pending window message run, then returns; false when it
    // met WM_QUIT, which it leaves for the program's own message loop.
    bool ZpracujCekajiciZpravy();
    bool ZpracujZpravyVeFronte();
    // Draws what the run reported and takes the input waiting.
    void Ukaz();
    static int64_t OdstupKreseb() noexcept;

    Sluzby sluzby_;
    const Vzhled& vzhled_;
    // The welcome text's font when the message font is too large for it.
    Pismo pismoUvitani_;
    std::atomic<bool> stornovano_{false};
    std::optional<Vysledek> posledniBeh_;
    bool bezSady_ = false;
    // True while an install run is in progress. The window is hidden then,
    // but input queued before it was hidden still arrives while Hlaska lets
    // messages run; it must not start a second run or unload the window.
    // Nor may the session end under it (KonecRelace.h).
    bool instalaceBezi_ = false;
    // When the reports were last drawn, in performance-counter ticks, and
    // the ticks between two drawings.
    int64_t posledniKresba_ = 0;
    int64_t odstupKreseb_ = OdstupKreseb();
    // The next report is drawn whenever it comes (the first of the rollback).
    bool kreslitPristi_ = false;
    frmPrubeh prubeh_;
};

}  // namespace setup::ui
