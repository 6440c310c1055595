// A window is a C++ object. The object travels to the window through
// CreateWindowExW's last argument and is found again through GWLP_USERDATA;
// one switch hands each message the windows answer to a method of its own. The windows are dialog windows without a template: their class
// reserves DLGWINDOWEXTRA and leaves what it does not handle to DefDlgProcW,
// so that IsDialogMessageW gives them the default button, Esc, Tab order and
// access keys of a dialog.
#pragma once

#include <windows.h>

#include <new>
#include <string>

#include "system/Chyba.h"
#include "win32/Uchyty.h"
#include "ui/Rozmery.h"

namespace setup::ui {

// A window's state, kept in GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY.
template <typename T>
T* StavOkna(HWND okno) noexcept {
    return reinterpret_cast<T*>(GetWindowLongPtrW(okno, GWLP_USERDATA));
}
inline void NastavStavOkna(HWND okno, void* stav) noexcept {
    SetWindowLongPtrW(okno, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(stav));
}

// The window procedure of a control class whose state T each control makes
// at WM_NCCREATE and deletes at WM_NCDESTROY; Obsluz answers every message
// in between, WM_NCCREATE among them. No memory for the state: no control.
template <typename T, LRESULT (*Obsluz)(HWND, T&, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK ProceduraSeStavem(HWND okno, UINT zprava, WPARAM w, LPARAM l) {
    if (zprava == WM_NCCREATE) {
        auto* novy = new (std::nothrow) T;
        if (!novy) return FALSE;
        NastavStavOkna(okno, novy);
    }
    T* stav = StavOkna<T>(okno);
    if (!stav) return DefWindowProcW(okno, zprava, w, l);
    if (zprava == WM_NCDESTROY) {
        NastavStavOkna(okno, nullptr);
        delete stav;
        return DefWindowProcW(okno, zprava, w, l);
    }
    return Obsluz(okno, *stav, zprava, w, l);
}

// Reports the exception being handled in the error box; used at the
// boundaries no exception may cross (window procedures, the program's entry).
// Call it only inside a catch block.
void NahlasVyjimku(IHlaseni& hlaseni) noexcept;

// The label's font at a smaller size when the text, wrapped as the label
// wraps it, would not fit the label at the font's own size; an empty owner
// when it fits. The layout was drawn for small dialog fonts: a larger system
// font must not cut off the end of a text.
Pismo PismoKVejiti(HWND popisek, const std::wstring& text, HFONT pismo, int dpi);

// Registers a window class of this program once; later calls find it. The
// background is a system colour index, or -1 for a class that paints every
// pixel itself.
void RegistrujTridu(const wchar_t* nazev, WNDPROC procedura, int extra, int pozadi);

// Resizes a picture control to its bitmap's natural size plus the control's
// own border; the picture is never stretched.
void PrirozenaVelikost(HWND obrazek, HBITMAP bitmapa);

class Okno {
public:
    Okno(const Okno&) = delete;
    Okno& operator=(const Okno&) = delete;

    HWND hwnd() const noexcept { return hwnd_; }
    bool Existuje() const noexcept { return hwnd_ != nullptr; }
    HWND Ovladac(int id) const noexcept { return GetDlgItem(hwnd_, id); }

protected:
    explicit Okno(IHlaseni& hlaseni) noexcept : hlaseni_(hlaseni) {}
    // Derived classes destroy their window in their own destructor, while
    // the object can still answer the messages that destruction sends.
    virtual ~Okno() = default;

    // Creates the top-level window, hidden, with the given client size in
    // pixels at (x, y); the frame is added to it. Throws Chyba on failure.
    void Vytvor(const wchar_t* titulek, DWORD styl, DWORD exStyl, HWND vlastnik,
                int x, int y, int sirkaKlienta, int vyskaKlienta);
    // The window size that gives the client size for the style.
    static SIZE VelikostOkna(DWORD styl, DWORD exStyl, int sirkaKlienta, int vyskaKlienta);
    void Znic() noexcept { okno_.reset(); }

    // The switch: each message a window may answer goes to its method,
    // which leaves what it does not handle to the dialog's default.
    virtual LRESULT Zprava(UINT zprava, WPARAM w, LPARAM l);
    virtual LRESULT OnCommand(WPARAM w, LPARAM l) { return Vychozi(WM_COMMAND, w, l); }
    virtual LRESULT OnClose() { return Vychozi(WM_CLOSE, 0, 0); }
    virtual LRESULT OnDestroy() { return Vychozi(WM_DESTROY, 0, 0); }
    virtual LRESULT OnCtlColorStatic(WPARAM w, LPARAM l) { return Vychozi(WM_CTLCOLORSTATIC, w, l); }
    virtual LRESULT OnQueryEndSession(WPARAM w, LPARAM l) { return Vychozi(WM_QUERYENDSESSION, w, l); }
    virtual LRESULT OnEndSession(WPARAM w, LPARAM l) { return Vychozi(WM_ENDSESSION, w, l); }
    LRESULT Vychozi(UINT zprava, WPARAM w, LPARAM l) {
        return DefDlgProcW(hwnd_, zprava, w, l);
    }

    IHlaseni& hlaseni_;

private:
    static LRESULT CALLBACK Procedura(HWND hwnd, UINT zprava, WPARAM w, LPARAM l);
    // The window from WM_NCCREATE to WM_NCDESTROY, also while it is being
    // destroyed; the owner destroys it when the object lets it go first.
    HWND hwnd_ = nullptr;
    VlastnikOkna okno_;
};

// A child control of a window at a place given in twips. Child windows
// belong to their parent and are destroyed with it. Each new control is put
// below the previous one in the z-order, which is also the Tab order.
class Rozvrzeni {
public:
    Rozvrzeni(HWND rodic, int dpi, HFONT pismo) noexcept : rodic_(rodic), dpi_(dpi), pismo_(pismo) {}
    HWND Pridej(const wchar_t* trida, const wchar_t* text, DWORD styl, DWORD exStyl, int id,
                Twipy kde, HFONT pismo = nullptr);
    int Px(int64_t twipy) const noexcept { return Pixely(twipy, dpi_); }

private:
    HWND rodic_;
    int dpi_;
    HFONT pismo_;
    HWND posledni_ = nullptr;
};

}  // namespace setup::ui
