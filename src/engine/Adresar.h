// Folder listings with the classic attribute filter: an entry is listed when
// each of its hidden, system and directory bits is among the requested ones,
// so asking for the directory bit lists folders and plain files, asking for
// the read-only bit lists plain and read-only files only. "." and ".." are
// never listed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Stroj.h"

namespace setup {

inline std::vector<std::wstring> VypisJmena(ISoubory& soubory, const std::wstring& vzor,
                                            uint32_t atributy) {
    constexpr uint32_t filtrovane = AtributSkryty | AtributSystemovy | AtributSlozka;
    const uint32_t zakazane = filtrovane & ~atributy;
    std::vector<std::wstring> jmena;
    for (auto& p : soubory.Vypis(vzor)) {
        if (p.nazev == L"." || p.nazev == L"..") continue;
        if ((p.atributy & zakazane) != 0) continue;
        jmena.push_back(std::move(p.nazev));
    }
    return jmena;
}

}  // namespace setup
