// The command line parser with any text: no overread, a piece not
// understood is one that stands on the line, and what was understood, each
// value quoted again and parsed again, says the same.
#include <cstddef>
#include <cstdint>

#include "Vstup.h"
#include "system/Volby.h"

using fuzz::Poruseno;

namespace {

// A value as one argv piece: in quotes, with backslashes doubled where a
// quote follows them and every quote escaped.
std::wstring Uvozeny(const std::wstring& text) {
    std::wstring kus = L"\"";
    std::size_t lomitka = 0;
    for (const wchar_t z : text) {
        if (z == L'\\') {
            ++lomitka;
            continue;
        }
        kus.append(z == L'"' ? 2 * lomitka + 1 : lomitka, L'\\');
        kus += z;
        lomitka = 0;
    }
    kus.append(2 * lomitka, L'\\');
    return kus + L'"';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::wstring prikaz = fuzz::Text(data, size);
    const std::wstring_view platny = std::wstring_view(prikaz).substr(0, prikaz.find(L'\0'));

    const setup::Volby volby = setup::RozeberPrikaz(prikaz);
    if (!volby.chybna.empty() && platny.find(volby.chybna) == std::wstring_view::npos)
        Poruseno("the piece not understood is not on the line");
    if (volby.napoveda && !volby.chybna.empty()) Poruseno("help on an invalid line");
    for (const auto* hodnota : {&volby.cil, &volby.log})
        if (*hodnota && ((*hodnota)->empty() || (*hodnota)->find(L'\0') != std::wstring::npos))
            Poruseno("a value is empty or holds a NUL");

    std::wstring znovu = L"\"C:\\Program Files\\Setup.exe\"";
    if (volby.tichy) znovu += L" /S";
    if (volby.odinstalovat) znovu += L" -u";
    if (volby.napoveda) znovu += L" /?";
    if (volby.log) znovu += L" " + Uvozeny(L"/Log=" + *volby.log);
    if (volby.cil) znovu += L" /D=" + Uvozeny(*volby.cil);
    setup::Volby ocekavane = volby;
    ocekavane.chybna.clear();
    if (setup::RozeberPrikaz(znovu) != ocekavane) Poruseno("the options quoted again say something else");
    return 0;
}
