// The Win32 handle kinds the program owns, one alias each, and COM's
// per-thread initialisation.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "system/win32/Handle.h"

namespace setup {

namespace detail {
inline void ZavriKlic(HKEY h) noexcept { RegCloseKey(h); }
inline void ZavriHledani(HANDLE h) noexcept { FindClose(h); }
inline void ZavriObjekt(HANDLE h) noexcept { CloseHandle(h); }
inline void UvolniSeznam(LPITEMIDLIST p) noexcept { CoTaskMemFree(p); }
inline void UvolniLokalni(wchar_t* p) noexcept { LocalFree(p); }
inline void UvolniLokalniPamet(void* p) noexcept { LocalFree(p); }
inline void ZrusPohled(void* p) noexcept { UnmapViewOfFile(p); }
template <typename T>
void UvolniCom(T* p) noexcept { p->Release(); }
}  // namespace detail

using KlicRegistru = Vlastnik<HKEY, detail::ZavriKlic>;
using HledaniSouboru = Vlastnik<HANDLE, detail::ZavriHledani>;   // see Platny
using UchytSouboru = Vlastnik<HANDLE, detail::ZavriObjekt>;     // see Platny
using UchytObjektu = Vlastnik<HANDLE, detail::ZavriObjekt>;     // kernel objects: null for none
using SeznamPolozek = Vlastnik<LPITEMIDLIST, detail::UvolniSeznam>;
using LokalniText = Vlastnik<wchar_t*, detail::UvolniLokalni>;
using LokalniPamet = Vlastnik<void*, detail::UvolniLokalniPamet>;
using PohledMapovani = Vlastnik<void*, detail::ZrusPohled>;   // MapViewOfFile
template <typename T>
using ComUkazatel = Vlastnik<T*, detail::UvolniCom<T>>;

// File and find handles report failure as INVALID_HANDLE_VALUE, which is no
// constant expression and so cannot be an owner's empty value. Valid ones are
// never null, so the owners hold null for "none" and take handles through this.
inline HANDLE Platny(HANDLE h) noexcept { return h == INVALID_HANDLE_VALUE ? nullptr : h; }

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
