// The path routines with any text: no overread, and the pieces they give put
// back together are the path they were given.
#include <cstddef>
#include <cstdint>

#include "Vstup.h"
#include "system/Cesty.h"

using fuzz::Poruseno;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::wstring cesta = fuzz::Text(data, size);

    std::wstring slozka, posledni;
    setup::RozdelCestu(cesta, slozka, posledni);
    if (slozka + posledni != cesta) Poruseno("RozdelCestu: folder + last part is not the path");
    if (posledni.find(L'\\') != std::wstring::npos) Poruseno("RozdelCestu: last part holds a backslash");
    if (!slozka.empty() && slozka.back() != L'\\') Poruseno("RozdelCestu: folder part does not end with a backslash");

    const std::wstring nad = setup::NadrazenaSlozka(cesta);
    if (cesta.compare(0, nad.size(), nad) != 0) Poruseno("NadrazenaSlozka: not a prefix of the path");
    if (!cesta.empty() && nad.size() >= cesta.size()) Poruseno("NadrazenaSlozka: not shorter than the path");

    const auto casti = setup::CastiCesty(cesta);
    std::wstring s = cesta;
    if (s.empty() || s.back() != L'\\') s += L'\\';
    if (!casti.empty()) {
        std::wstring znovu;
        for (const auto& c : casti) znovu += c + L'\\';
        if (znovu != s) Poruseno("CastiCesty: the pieces do not rebuild the path");
        for (std::size_t i = 1; i < casti.size(); ++i)
            if (casti[i].find(L'\\') != std::wstring::npos) Poruseno("CastiCesty: a later piece holds a backslash");
        // Every piece but the first is one level: creating them in order
        // never makes the same folder twice.
        std::wstring dosud;
        for (const auto& c : casti) {
            const std::wstring dalsi = dosud + c + L'\\';
            if (dalsi.size() <= dosud.size()) Poruseno("CastiCesty: a piece adds nothing");
            dosud = dalsi;
        }
    }
    return 0;
}
