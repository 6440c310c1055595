// What the self-drawn controls tell screen readers. The system's standard
// accessible object for a window knows only the window: its place, its
// state and its text read as a label, with "&" taken for an access-key
// marker. A control that draws something else answers WM_GETOBJECT with an
// object of its own, which says what the control is and shows, and leaves
// everything else to the standard object. No call here loads oleacc.dll
// until a screen reader (or anybody) actually asks.
#pragma once

#include <windows.h>

#include <string>

namespace setup::ui {

// What a control says of itself over the standard object.
struct PopisPristupnosti {
    LONG role;                             // ROLE_SYSTEM_...
    // Its name and its value as they are at the time of asking; null leaves
    // the standard object's answer. Called only while the window exists.
    std::wstring (*jmeno)(HWND okno);
    std::wstring (*hodnota)(HWND okno);
};

// The answer to WM_GETOBJECT: for the client area, an object that answers
// as popis says; for any other object, or when none can be made,
// DefWindowProcW's, so that the system makes its standard one.
LRESULT OdpovezObjektem(HWND okno, WPARAM w, LPARAM l, const PopisPristupnosti& popis) noexcept;

// Tells screen readers that the control's name or value (EVENT_OBJECT_...)
// changed. Costs next to nothing when nobody listens.
inline void OznamZmenu(HWND okno, DWORD udalost) noexcept {
    NotifyWinEvent(udalost, okno, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace setup::ui
