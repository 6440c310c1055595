// What both windows draw with: the screen's DPI, the fonts, the program
// icon and the two pictures. Made once at start-up; outlives the windows.
#pragma once

#include <windows.h>

#include "ui/Okno.h"

namespace setup::ui {

class Vzhled {
public:
    // Throws Chyba when a resource or a font cannot be made.
    explicit Vzhled(HINSTANCE instance);

    int Dpi() const noexcept { return dpi_; }
    int Px(int64_t twipy) const noexcept { return Pixely(twipy, dpi_); }

    HFONT PismoZprav() const noexcept { return pismoZprav_.get(); }     // the system's message font
    HFONT PismoNadpisu() const noexcept { return pismoNadpisu_.get(); } // labNadpis
    HICON VelkaIkona() const noexcept { return velkaIkona_.get(); }
    HICON MalaIkona() const noexcept { return malaIkona_.get(); }
    HBITMAP ObrazekSetup() const noexcept { return obrazekSetup_.get(); }
    HBITMAP Image1() const noexcept { return image1_.get(); }

    // Gives a top-level window the program icon, in both sizes.
    void NastavIkony(HWND okno) const noexcept;

private:
    int dpi_ = 96;
    Pismo pismoZprav_;
    Pismo pismoNadpisu_;
    Ikona velkaIkona_;
    Ikona malaIkona_;
    Bitmapa obrazekSetup_;
    Bitmapa image1_;
};

}  // namespace setup::ui
