// mChyby: the message box, the platform's error texts and the throwers.
#include "system/Text.h"
#include "win32/Uchyty.h"
#include "win32/Win32.h"

namespace setup {

int Win32Hlaseni::Zprava(const std::wstring& text, const std::wstring& titulek, uint32_t styl) {
    return MessageBoxW(vlastnik ? vlastnik() : nullptr, text.c_str(), titulek.c_str(), styl);
}

namespace {

std::wstring Hexadecimalne(DWORD kod) {
    static constexpr wchar_t cifry[] = L"0123456789ABCDEF";
    std::wstring text = L"0x00000000";
    for (int i = 9; i >= 2; --i, kod >>= 4) text[i] = cifry[kod & 0xF];
    return text;
}

// The system's own text for a number, trimmed; empty when it has none.
std::wstring TextSystemu(DWORD kod) {
    LokalniText buffer;
    const DWORD delka = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, kod, 0, reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
    std::wstring text;
    if (delka != 0 && buffer) text.assign(buffer.get(), delka);
    // The system's texts end with CR LF (sometimes after a space).
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

std::wstring PopisSystemoveChyby(DWORD kod) {
    std::wstring text = TextSystemu(kod);
    // An HRESULT that wraps a Win32 error reads as that error.
    if (text.empty() && HRESULT_FACILITY(kod) == FACILITY_WIN32 && (kod & 0x80000000u)) {
        text = TextSystemu(HRESULT_CODE(kod));
    }
    if (text.empty()) {
        // HRESULTs read best in hexadecimal, plain error numbers in decimal.
        const std::wstring cislo = (kod & 0x80000000u) ? Hexadecimalne(kod)
                                                       : TextCisla(static_cast<int32_t>(kod));
        text = L"Systémová chyba číslo " + cislo + L".";
    }
    return text;
}

void VyvolejWin32(DWORD kod, const std::wstring& zdroj) {
    throw Chyba(static_cast<int32_t>(kod), zdroj, PopisSystemoveChyby(kod));
}

void VyvolejPoVolani(DWORD kod, const std::wstring& zdroj) {
    // A failing call that left no reason must still not read as "The
    // operation completed successfully".
    if (kod == ERROR_SUCCESS) kod = ERROR_INTERNAL_ERROR;
    VyvolejWin32(kod, zdroj);
}

void VyvolejHresult(HRESULT hr, const std::wstring& zdroj) {
    throw Chyba(static_cast<int32_t>(hr), zdroj, PopisSystemoveChyby(static_cast<DWORD>(hr)));
}

}  // namespace setup
