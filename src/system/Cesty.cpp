#include "system/Cesty.h"

namespace setup {

namespace {

// Position (1-based) of the first "\" in s at or after position od, or 0.
// Positions are size_t: a path may be longer than any 16-bit counter.
std::size_t Lomitko(const std::wstring& s, std::size_t od) {
    if (od == 0) od = 1;
    if (od > s.size()) return 0;
    const auto p = s.find(L'\\', od - 1);
    return p == std::wstring::npos ? 0 : p + 1;
}

}  // namespace

void RozdelCestu(const std::wstring& cesta, std::wstring& slozka, std::wstring& posledni) {
    const auto p = cesta.rfind(L'\\');
    const std::size_t delka = (p == std::wstring::npos) ? 0 : p + 1;
    slozka = cesta.substr(0, delka);
    posledni = cesta.substr(delka);
}

std::wstring NadrazenaSlozka(const std::wstring& cesta) {
    std::wstring s = cesta;
    if (!s.empty() && s.back() == L'\\') s.pop_back();
    std::wstring slozka, posledni;
    RozdelCestu(s, slozka, posledni);
    if (!slozka.empty() && slozka.back() == L'\\') slozka.pop_back();
    return slozka;
}

std::vector<std::wstring> CastiCesty(const std::wstring& cesta) {
    std::wstring s = cesta;
    if (s.empty() || s.back() != L'\\') s += L'\\';

    std::vector<std::wstring> casti;
    // The root's own backslash: that of C:\, or for \\server\share\ the one
    // that ends the share name. Searching from the second character skips
    // the first of the two leading backslashes of a network path.
    std::size_t pos = Lomitko(s, 2);
    if (s.compare(0, 2, L"\\\\") == 0) {
        pos = Lomitko(s, pos + 1);
        pos = Lomitko(s, pos + 1);
    }
    std::size_t predchozi = 0;
    for (;;) {
        const std::size_t dalsi = Lomitko(s, pos + 1);
        if (dalsi == 0) break;
        // From just after the previous backslash up to (without) this one.
        casti.push_back(s.substr(predchozi, dalsi - 1 - predchozi));
        predchozi = dalsi;
        pos = dalsi;
    }
    return casti;
}

}  // namespace setup
