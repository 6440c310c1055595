// The run's log: UTF-8 lines appended to a file, each with its local time.
#include "system/Text.h"
#include "win32/Win32.h"

namespace setup {

namespace {

std::wstring Dve(unsigned n) {
    std::wstring s = TextCisla(n);
    return s.size() < 2 ? L"0" + s : s;
}

}  // namespace

void Win32Protokol::Otevri(ISoubory& soubory, const std::wstring& cesta, Otevreni jak) {
    soubor_ = soubory.OtevriKPripisu(cesta, jak);
    cesta_ = cesta;
    // What was said before the file was known goes first.
    std::vector<std::wstring> cekajici;
    cekajici.swap(cekajici_);
    for (const auto& radek : cekajici) Zapis(radek);
}

void Win32Protokol::Radek(const std::wstring& text) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    std::wstring radek = TextCisla(t.wYear) + L"-" + Dve(t.wMonth) + L"-" + Dve(t.wDay) + L" " +
                         Dve(t.wHour) + L":" + Dve(t.wMinute) + L":" + Dve(t.wSecond) + L"  ";
    // A box's message comes in several lines; in the log it is one, so that
    // every line begins with its time and a reader takes each for one entry.
    for (const wchar_t z : text) {
        if (z != L'\r' && z != L'\n')
            radek += z;
        else if (radek.back() != L' ')
            radek += L' ';
    }
    if (soubor_)
        Zapis(radek);
    else
        cekajici_.push_back(radek);
}

void Win32Protokol::Zapis(const std::wstring& radek) {
    soubor_->Pripis(Utf8(radek + L"\r\n"));
}

}  // namespace setup
