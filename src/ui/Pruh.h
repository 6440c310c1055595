// The progress bar: a strip filled from its left edge to a given width in
// pixels, the rest in the window colour. Setting a new width paints the
// difference at once; nothing is invalidated and no window is moved, so a
// report that moves the bar costs a few pixels of drawing and no trip
// through the window manager.
#pragma once

#include <windows.h>

namespace setup::ui {

// The window class of the strip; registered on first use.
inline constexpr const wchar_t* TridaPruhu = L"SetupPruh";
void RegistrujPruh(HINSTANCE instance);

}  // namespace setup::ui
