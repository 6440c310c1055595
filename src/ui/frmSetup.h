// The installer's main window. Loading it finds what to install; it offers
// OK, Storno and Browse, and it is the engine's window side during a run:
// the status operations Hlaska and Skonci, the cancel flag and its own visibility.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/Instalace.h"
#include "engine/Stroj.h"
#include "ui/HlavniOkno.h"
#include "ui/frmPrubeh.h"

namespace setup::ui {

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

class frmSetup final : public HlavniOkno, public IPrubeh {
public:
    frmSetup(const Sluzby& sluzby, const Vzhled& vzhled) noexcept
        : HlavniOkno(sluzby.hlaseni, vzhled), sluzby_(sluzby), prubeh_(sluzby.hlaseni, vzhled, stornovano_) {}
    ~frmSetup() override;

    // Makes the window, hidden, and runs Form_Load. False when loading
    // failed: the error has been reported and the window unloaded.
    // docasnaSlozka is the user's temporary folder (see ZjistiInstalaci).
    // No cestaAplikace: the window alone, for a removal by the list an
    // install kept (throws Chyba when it cannot be made).
    bool Nacti(const std::wstring& cestaAplikace, const std::wstring& docasnaSlozka);
    // The target the command line names, instead of the proposal.
    void NastavCil(const std::wstring& cil);
    // Removes the set from the target in the text box, behind the progress
    // window; this window is not shown for it.
    Vysledek Odeber();
    // Whether loading failed because the medium holds no set.
    bool BezSady() const noexcept { return bezSady_; }

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
    void Skonci() override;
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
    LRESULT OnCommand(WPARAM w, LPARAM l) override;
    LRESULT OnClose() override;
    LRESULT OnDestroy() override;
    LRESULT OnQueryEndSession(WPARAM w, LPARAM l) override {
        return instalaceBezi_ ? FALSE : Vychozi(WM_QUERYENDSESSION, w, l);
    }
    LRESULT OnEndSession(WPARAM konci, LPARAM) override;

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
    // Shows the progress window in place of this one; true when it was not
    // showing.
    bool ZobrazPrubeh();
    static int64_t OdstupKreseb() noexcept;

    Sluzby sluzby_;
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
