// The two controls of the progress window that change on every report: the
// status line and the bar. Both keep their state in the program rather than
// in the window manager and invalidate nothing, so a report costs no round
// trip through the window manager. They draw a change at once, or, with
// KsKreslitNaPokyn, only when told (UM_VYKRESLI) or painted: a run reports
// far more often than anybody can read, and each drawing costs more than the
// report itself.
#pragma once

#include <windows.h>

namespace setup::ui {

// The status line: one line of text in the window's font, cut with an
// ellipsis when too long, in the dialog's colours. It
// answers WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH itself; "&" is a
// character like any other, as file names need. Screen readers see static
// text named by that text, and hear of each change.
inline constexpr const wchar_t* TridaRadku = L"SetupRadek";

// The bar: a strip filled from its left edge to a width in pixels
// (UM_SIRKAUKAZATELE), the rest in the window colour. Screen readers see a
// progress bar whose value is the share done that comes with the width,
// and hear of each change.
inline constexpr const wchar_t* TridaPruhu = L"SetupPruh";

// Style of both: a change is kept, and told to screen readers at once, but
// drawn only at the next UM_VYKRESLI or paint, whichever comes first.
inline constexpr DWORD KsKreslitNaPokyn = 0x0001;

// Registers both classes; later calls do nothing.
void RegistrujKresleneOvladace();

}  // namespace setup::ui
