// The Win32 handle kinds the program and its tests own, one alias each, the
// slim lock held for a scope, and COM's per-thread initialisation.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "win32/Handle.h"

namespace setup {

namespace detail {
inline void ZavriKlic(HKEY h) noexcept { RegCloseKey(h); }
inline void ZavriHledani(HANDLE h) noexcept { FindClose(h); }
inline void ZavriObjekt(HANDLE h) noexcept { CloseHandle(h); }
// File and find handles report failure as INVALID_HANDLE_VALUE, not null.
inline HANDLE NeplatnyUchyt() noexcept { return INVALID_HANDLE_VALUE; }
inline void UvolniSeznam(LPITEMIDLIST p) noexcept { CoTaskMemFree(p); }
inline void UvolniLokalni(wchar_t* p) noexcept { LocalFree(p); }
inline void UvolniLokalniPamet(void* p) noexcept { LocalFree(p); }
inline void ZrusPohled(void* p) noexcept { UnmapViewOfFile(p); }
template <typename T>
void UvolniCom(T* p) noexcept { p->Release(); }
inline void ZnicOkno(HWND h) noexcept { DestroyWindow(h); }
inline void SmazObjektGdi(HGDIOBJ h) noexcept { DeleteObject(h); }
inline void ZnicIkonu(HICON h) noexcept { DestroyIcon(h); }
inline void SmazDc(HDC h) noexcept { DeleteDC(h); }
inline void ZrusHak(HWINEVENTHOOK h) noexcept { UnhookWinEvent(h); }
inline void UvolniBstr(BSTR b) noexcept { SysFreeString(b); }
}  // namespace detail

using KlicRegistru = Vlastnik<HKEY, detail::ZavriKlic>;
using HledaniSouboru = Vlastnik<HANDLE, detail::ZavriHledani, detail::NeplatnyUchyt>;
using UchytSouboru = Vlastnik<HANDLE, detail::ZavriObjekt, detail::NeplatnyUchyt>;
using UchytObjektu = Vlastnik<HANDLE, detail::ZavriObjekt>;   // kernel objects: null for none
using SeznamPolozek = Vlastnik<LPITEMIDLIST, detail::UvolniSeznam>;
using LokalniText = Vlastnik<wchar_t*, detail::UvolniLokalni>;
using LokalniPamet = Vlastnik<void*, detail::UvolniLokalniPamet>;
using PohledMapovani = Vlastnik<void*, detail::ZrusPohled>;   // MapViewOfFile
template <typename T>
using ComUkazatel = Vlastnik<T*, detail::UvolniCom<T>>;
using VlastnikOkna = Vlastnik<HWND, detail::ZnicOkno>;
using Pismo = Vlastnik<HFONT, detail::SmazObjektGdi>;
using Bitmapa = Vlastnik<HBITMAP, detail::SmazObjektGdi>;
using Ikona = Vlastnik<HICON, detail::ZnicIkonu>;
using PametoveDc = Vlastnik<HDC, detail::SmazDc>;                  // CreateCompatibleDC
using HakUdalosti = Vlastnik<HWINEVENTHOOK, detail::ZrusHak>;      // SetWinEventHook
using TextBstr = Vlastnik<BSTR, detail::UvolniBstr>;

// A slim reader/writer lock held exclusively from construction to the end of
// the scope; it can be let go and taken again in between (a condition
// variable's wait, work done outside the lock).
class Zamek {
public:
    explicit Zamek(SRWLOCK& l) noexcept : l_(l) { Zamkni(); }
    ~Zamek() {
        if (drzen_) ReleaseSRWLockExclusive(&l_);
    }
    Zamek(const Zamek&) = delete;
    Zamek& operator=(const Zamek&) = delete;
    void Zamkni() noexcept {
        AcquireSRWLockExclusive(&l_);
        drzen_ = true;
    }
    void Odemkni() noexcept {
        drzen_ = false;
        ReleaseSRWLockExclusive(&l_);
    }

private:
    SRWLOCK& l_;
    bool drzen_ = false;
};

// COM for the current thread for as long as the object lives (the link object
// and the folder browser need it). Uninitialises only what it initialised.
class ComProstredi {
public:
    explicit ComProstredi(DWORD model = COINIT_APARTMENTTHREADED) noexcept
        : hr_(CoInitializeEx(nullptr, model)) {}
    ~ComProstredi() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComProstredi(const ComProstredi&) = delete;
    ComProstredi& operator=(const ComProstredi&) = delete;
    HRESULT Vysledek() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

}  // namespace setup
