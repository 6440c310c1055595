// The main window as it stands before anything is loaded into it: its
// frame, its controls with their fonts, the picture, the icon and the etched
// rule. frmSetup puts the engine behind it; the benchmark shows it alone, as
// the floor that Setup's start-up is measured against.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Okno.h"
#include "ui/Vzhled.h"

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

// Loads the common controls, for every window of the program: version 6,
// as the manifest asks, with the visual styles.
void ZapniBezneOvladace() noexcept;

class HlavniOkno : public Okno {
public:
    // Shows the loaded window centred on the screen, the focus on OK.
    void Zobraz();

protected:
    HlavniOkno(IHlaseni& hlaseni, const Vzhled& vzhled) noexcept : Okno(hlaseni), vzhled_(vzhled) {}

    // Makes the window, hidden and centred on the screen, with its
    // controls. Throws Chyba.
    void VytvorOkno();
    // Fills in the welcome text, in a smaller font when the message font is
    // too large for it, and the target folder. Throws Chyba.
    void Napln(const std::wstring& uvitani, const std::wstring& cil);
    // WM_CTLCOLORSTATIC: the two lines of the etched rule in their colours.
    LRESULT OnCtlColorStatic(WPARAM w, LPARAM l) override;

    const Vzhled& vzhled_;

private:
    void VytvorOvladace();

    // The welcome text's font when the message font is too large for it.
    Pismo pismoUvitani_;
};

}  // namespace setup::ui
