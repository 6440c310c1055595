#include "system/Cesty.h"

#include "system/Text.h"

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

bool PlatnyNazevSlozky(std::wstring_view nazev) {
    if (nazev.empty() || nazev == L"." || nazev == L"..") return false;
    if (nazev.back() == L'.' || nazev.back() == L' ') return false;
    for (const wchar_t z : nazev)
        if (z < 32 || std::wstring_view(L"<>:\"/\\|?*").find(z) != std::wstring_view::npos) return false;
    // A device name stays a device with any extension after it.
    const std::wstring zaklad = VelkaPismena(nazev.substr(0, nazev.find(L'.')));
    for (const wchar_t* zarizeni : {L"CON", L"PRN", L"AUX", L"NUL"})
        if (zaklad == zarizeni) return false;
    if (zaklad.size() == 4 && (zaklad.compare(0, 3, L"COM") == 0 || zaklad.compare(0, 3, L"LPT") == 0) &&
        zaklad[3] >= L'1' && zaklad[3] <= L'9')
        return false;
    return true;
}

bool JsouNazvySlozek(std::wstring_view cesta) {
    if (!cesta.empty() && cesta.back() == L'\\') cesta.remove_suffix(1);
    for (;;) {
        const auto p = cesta.find(L'\\');
        if (!PlatnyNazevSlozky(cesta.substr(0, p))) return false;
        if (p == std::wstring_view::npos) return true;
        cesta.remove_prefix(p + 1);
    }
}

bool VDocasneSlozceArchivu(std::wstring_view slozka, std::wstring_view docasna) {
    while (!docasna.empty() && docasna.back() == L'\\') docasna.remove_suffix(1);
    if (docasna.empty() || slozka.size() <= docasna.size() + 1 || slozka[docasna.size()] != L'\\' ||
        !StejnyText(slozka.substr(0, docasna.size()), docasna))
        return false;
    const auto archivu = [](std::wstring_view nazev) {
        const std::wstring n = VelkaPismena(nazev);
        const std::wstring_view v = n;
        if (v.size() > 2 && v.compare(0, 2, L"7Z") == 0) return true;
        if (v.size() > 4 && v.compare(0, 4, L"RAR$") == 0) return true;
        // Explorer: Temp1_Šablony.zip, Temp2_... for the next one open.
        if (v.compare(0, 4, L"TEMP") != 0) return false;
        std::size_t i = 4;
        while (i < v.size() && v[i] >= L'0' && v[i] <= L'9') ++i;
        return i > 4 && i + 1 < v.size() && v[i] == L'_';
    };
    std::wstring_view zbytek = slozka.substr(docasna.size() + 1);
    while (!zbytek.empty()) {
        const auto p = zbytek.find(L'\\');
        if (archivu(zbytek.substr(0, p))) return true;
        if (p == std::wstring_view::npos) break;
        zbytek.remove_prefix(p + 1);
    }
    return false;
}

RozborCesty RozeberCestu(std::wstring_view cesta) {
    if (cesta.empty()) return {VadaCesty::Prazdna, {}};
    if (cesta.find(L'/') != std::wstring_view::npos) return {VadaCesty::NeniUplna, {}};
    const auto pismeno = [](wchar_t z) { return (z >= L'A' && z <= L'Z') || (z >= L'a' && z <= L'z'); };
    std::size_t zacatek;   // where the folders below the root begin
    if (cesta.size() >= 3 && pismeno(cesta[0]) && cesta[1] == L':' && cesta[2] == L'\\') {
        zacatek = 3;
    } else if (cesta.compare(0, 2, L"\\\\") == 0) {
        const auto konecServeru = cesta.find(L'\\', 2);
        if (konecServeru == std::wstring_view::npos || konecServeru == 2) return {VadaCesty::NeniUplna, {}};
        const auto konecSdileni = cesta.find(L'\\', konecServeru + 1);
        if (konecSdileni == konecServeru + 1 || konecServeru + 1 == cesta.size())
            return {VadaCesty::NeniUplna, {}};
        if (konecSdileni == std::wstring_view::npos) return {VadaCesty::Koren, {}};
        zacatek = konecSdileni + 1;
    } else {
        return {VadaCesty::NeniUplna, {}};
    }
    std::wstring_view slozky = cesta.substr(zacatek);
    if (!slozky.empty() && slozky.back() == L'\\') slozky.remove_suffix(1);
    if (slozky.empty()) return {VadaCesty::Koren, {}};
    for (;;) {
        const auto p = slozky.find(L'\\');
        const std::wstring_view nazev = slozky.substr(0, p);
        if (!PlatnyNazevSlozky(nazev)) return {VadaCesty::Nazev, std::wstring(nazev)};
        if (p == std::wstring_view::npos) return {};
        slozky.remove_prefix(p + 1);
    }
}

}  // namespace setup
