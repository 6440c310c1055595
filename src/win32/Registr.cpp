// mRegistry: read, write and delete with one key handle per call.
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "system/RegistrData.h"
#include "system/Text.h"
#include "win32/Uchyty.h"
#include "win32/Win32.h"

namespace setup {

namespace {

// The six key rights that changing a key needs, and nothing more. Deleting
// needs no more either: the delete itself opens the key again asking for
// DELETE, so a user without that right sees the delete, not the open, fail.
constexpr REGSAM PravaZmeny = 0x3F;
// A value that keeps changing size while it is read gives up after this.
constexpr int PokusuCteni = 8;

// Roots travel as 32-bit numbers; the predefined handles are sign-extended.
HKEY Koren(uint32_t koren) {
    return reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(koren)));
}

bool MaNulu(const std::wstring& text) { return text.find(L'\0') != std::wstring::npos; }

// Opens or creates into an empty owner; a failed call leaves it empty
// whatever it wrote to the out-parameter.
template <typename Volani>
LSTATUS Otevri(KlicRegistru& klic, Volani volani) {
    const LSTATUS kod = volani(klic.put());
    if (kod != ERROR_SUCCESS) klic.release();
    return kod;
}

}  // namespace

namespace {

// One value read whole: its type and bytes, when the key opens and the
// value is of a type prijmout takes. The value may be rewritten between two
// queries, growing, shrinking or changing type: read into a buffer of the
// size last reported until a read succeeds, and hand over the type that
// read returned.
template <typename Prijmout>
std::optional<std::pair<DWORD, std::vector<uint8_t>>> CtiHodnotu(const RegistrVolani& volani, uint32_t koren,
                                                                 const std::wstring& klic,
                                                                 const std::wstring& nazev, REGSAM prava,
                                                                 Prijmout prijmout) {
    if (MaNulu(klic) || MaNulu(nazev)) return std::nullopt;
    KlicRegistru h;
    if (Otevri(h, [&](HKEY* out) { return volani.otevri(Koren(koren), klic.c_str(), 0, prava, out); }) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD typ = 0;
    DWORD velikost = 0;
    if (volani.cti(h.get(), nazev.c_str(), nullptr, &typ, nullptr, &velikost) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<uint8_t> data;
    for (int pokus = 0; pokus < PokusuCteni; ++pokus) {
        if (!prijmout(typ, velikost)) return std::nullopt;
        data.resize(std::max<DWORD>(velikost, 1));   // never a null buffer
        DWORD precteno = static_cast<DWORD>(data.size());
        const LSTATUS kod = volani.cti(h.get(), nazev.c_str(), nullptr, &typ, data.data(), &precteno);
        if (kod == ERROR_SUCCESS) {
            if (!prijmout(typ, precteno)) return std::nullopt;
            data.resize(std::min<std::size_t>(precteno, data.size()));
            return std::make_pair(typ, std::move(data));
        }
        if (kod != ERROR_MORE_DATA) return std::nullopt;
        velikost = precteno;
    }
    return std::nullopt;
}

// %VARIABLES% of the environment expanded; empty text when the platform
// cannot. The size needed may change between the two calls when another
// thread changes the environment: asked again, a few times.
std::wstring Rozvin(const std::wstring& text) {
    std::wstring vysledek(std::max<std::size_t>(text.size() + 1, MAX_PATH), L'\0');
    for (int pokus = 0; pokus < PokusuCteni; ++pokus) {
        const DWORD n = ExpandEnvironmentStringsW(text.c_str(), vysledek.data(), static_cast<DWORD>(vysledek.size()));
        if (n == 0) return {};
        if (n <= vysledek.size()) {
            vysledek.resize(n - 1);   // n counts the terminating NUL
            return vysledek;
        }
        vysledek.resize(n);
    }
    return {};
}

}  // namespace

std::wstring Win32Registr::CtiRegistr(uint32_t koren, const std::wstring& klic,
                                      const std::wstring& nazev) {
    const auto hodnota = CtiHodnotu(volani_, koren, klic, nazev, KEY_READ, [](DWORD typ, DWORD velikost) {
        return typ == REG_SZ || (typ == REG_DWORD && velikost == 4);
    });
    if (!hodnota) return {};
    return TextHodnoty(hodnota->first, hodnota->second);
}

std::wstring Win32Registr::CtiCestu(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                                    bool pohled64) {
    const REGSAM prava = KEY_READ | (pohled64 ? KEY_WOW64_64KEY : 0);
    const auto hodnota = CtiHodnotu(volani_, koren, klic, nazev, prava, [](DWORD typ, DWORD) {
        return typ == REG_SZ || typ == REG_EXPAND_SZ;
    });
    if (!hodnota) return {};
    const std::wstring text = TextHodnoty(TypRegSz, hodnota->second);
    if (hodnota->first == REG_SZ || text.empty()) return text;
    return OrizniMezery(Rozvin(text));
}

bool Win32Registr::ZapisRegistr(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                                const std::wstring* hodnota, int32_t cislo) {
    if (MaNulu(klic) || MaNulu(nazev)) return false;
    if (hodnota && hodnota->size() >= MAXDWORD / sizeof(wchar_t)) return false;

    KlicRegistru h;
    LSTATUS kod = Otevri(h, [&](HKEY* out) {
        return volani_.otevri(Koren(koren), klic.c_str(), 0, PravaZmeny, out);
    });
    // Only a key that is not there is created; any other failure of the open
    // (access denied...) leaves the registry as it is.
    if (kod == ERROR_FILE_NOT_FOUND) {
        kod = Otevri(h, [&](HKEY* out) {
            DWORD zpusob = 0;
            return volani_.vytvor(Koren(koren), klic.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  PravaZmeny, nullptr, out, &zpusob);
        });
    }
    if (kod != ERROR_SUCCESS) return false;

    if (hodnota) {
        // Stored with its terminating NUL.
        const DWORD bajty = static_cast<DWORD>((hodnota->size() + 1) * sizeof(wchar_t));
        kod = volani_.zapis(h.get(), nazev.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(hodnota->c_str()), bajty);
    } else {
        const uint32_t u = static_cast<uint32_t>(cislo);
        const BYTE data[4] = {static_cast<BYTE>(u), static_cast<BYTE>(u >> 8),
                              static_cast<BYTE>(u >> 16), static_cast<BYTE>(u >> 24)};
        kod = volani_.zapis(h.get(), nazev.c_str(), 0, REG_DWORD, data, sizeof data);
    }
    return kod == ERROR_SUCCESS;
}

namespace {

// Opens a key for a look or a change; a key path holding a NUL names none.
LSTATUS OtevriKlic(KlicRegistru& h, uint32_t koren, const std::wstring& klic, REGSAM prava) {
    if (MaNulu(klic)) return ERROR_FILE_NOT_FOUND;
    return Otevri(h, [&](HKEY* out) { return RegOpenKeyExW(Koren(koren), klic.c_str(), 0, prava, out); });
}

}  // namespace

bool Win32Registr::ExistujeKlic(uint32_t koren, const std::wstring& klic) {
    KlicRegistru h;
    return OtevriKlic(h, koren, klic, KEY_READ) == ERROR_SUCCESS;
}

bool Win32Registr::ExistujeHodnota(uint32_t koren, const std::wstring& klic, const std::wstring& nazev) {
    KlicRegistru h;
    if (MaNulu(nazev) || OtevriKlic(h, koren, klic, KEY_QUERY_VALUE) != ERROR_SUCCESS) return false;
    const LSTATUS kod = RegQueryValueExW(h.get(), nazev.c_str(), nullptr, nullptr, nullptr, nullptr);
    return kod == ERROR_SUCCESS || kod == ERROR_MORE_DATA;
}

bool Win32Registr::SmazHodnotu(uint32_t koren, const std::wstring& klic, const std::wstring& nazev) {
    if (MaNulu(nazev)) return false;
    KlicRegistru h;
    const LSTATUS otevreni = OtevriKlic(h, koren, klic, KEY_SET_VALUE);
    if (otevreni == ERROR_FILE_NOT_FOUND) return true;
    if (otevreni != ERROR_SUCCESS) return false;
    const LSTATUS kod = RegDeleteValueW(h.get(), nazev.c_str());
    return kod == ERROR_SUCCESS || kod == ERROR_FILE_NOT_FOUND;
}

bool Win32Registr::SmazPrazdnyKlic(uint32_t koren, const std::wstring& klic) {
    if (klic.empty()) return false;
    KlicRegistru h;
    const LSTATUS otevreni = OtevriKlic(h, koren, klic, KEY_READ);
    if (otevreni == ERROR_FILE_NOT_FOUND) return true;
    if (otevreni != ERROR_SUCCESS) return false;
    DWORD klicu = 0, hodnot = 0;
    if (RegQueryInfoKeyW(h.get(), nullptr, nullptr, nullptr, &klicu, nullptr, nullptr, &hodnot, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS ||
        klicu != 0 || hodnot != 0)
        return false;
    h.reset();
    return RegDeleteKeyW(Koren(koren), klic.c_str()) == ERROR_SUCCESS;
}

void Win32Registr::SmazKlic(uint32_t koren, const std::wstring& klic) {
    if (klic.empty()) return;
    KlicRegistru h;
    if (MaNulu(klic) || Otevri(h, [&](HKEY* out) {
                            return volani_.otevri(Koren(koren), klic.c_str(), 0,
                                                  PravaZmeny, out);
                        }) != ERROR_SUCCESS) {
        throw Chyba(CisloVlastniChyby, TitulekAplikace, L"Nelze otevřít regist.");
    }
    // An empty sub-key name deletes the opened key itself. The handle is
    // closed as the error leaves, before any box waits for the user.
    if (volani_.smaz(h.get(), L"") != ERROR_SUCCESS) {
        throw Chyba(CisloVlastniChyby, TitulekAplikace, L"Nelze odstranit klice registru.");
    }
}

}  // namespace setup
