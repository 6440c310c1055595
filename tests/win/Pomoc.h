// What the tests of the Win32 layer share: a box that records instead of
// blocking, and a registry key and a folder of each test's own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "win32/Uchyty.h"
#include "win32/Win32.h"

namespace setup::test {

struct Zaznam {
    std::wstring text;
    std::wstring titulek;
    uint32_t styl;
};

class ZaznamHlaseni final : public IHlaseni {
public:
    int Zprava(const std::wstring& text, const std::wstring& titulek, uint32_t styl) override {
        zpravy.push_back({text, titulek, styl});
        return IDOK;
    }
    std::vector<Zaznam> zpravy;
};

// Deletes a key as a run's rollback does: a failure SmazKlic throws is shown
// in the report box.
inline void SmazKlic(IRegistr& registr, IHlaseni& hlaseni, uint32_t koren, const std::wstring& klic) {
    try {
        registr.SmazKlic(koren, klic);
    } catch (...) {
        ChybaHlaseni(hlaseni, ChybaZVyjimky());
    }
}

// "Suite_Test" of the running test, for key and folder names.
std::wstring JmenoTestu();

// HKCU\Software\SetupTests\<test>, deleted with RegDeleteTreeW before and
// after the test.
class TestovaciKlic {
public:
    TestovaciKlic();
    ~TestovaciKlic();
    TestovaciKlic(const TestovaciKlic&) = delete;
    TestovaciKlic& operator=(const TestovaciKlic&) = delete;

    // The key path relative to HKEY_CURRENT_USER, with an optional sub-path.
    std::wstring Cesta(const std::wstring& pod = L"") const;
    // Stores raw data under the key (or a sub-key), creating what is missing.
    void Nastav(const std::wstring& nazev, DWORD typ, const void* data, DWORD velikost,
                const std::wstring& pod = L"") const;
    void NastavText(const std::wstring& nazev, const std::wstring& text) const;
    void NastavCislo(const std::wstring& nazev, DWORD cislo) const;
    bool Existuje(const std::wstring& pod = L"") const;
    // Type and bytes of a stored value; nothing when it is not there.
    std::optional<std::pair<DWORD, std::vector<uint8_t>>> Surova(const std::wstring& nazev,
                                                                  const std::wstring& pod = L"") const;

private:
    std::wstring cesta_;
};

// C:\SetupTests\<test>, emptied before the test and removed after it,
// whatever the attributes of what is inside.
class TestovaciSlozka {
public:
    TestovaciSlozka();
    ~TestovaciSlozka();
    TestovaciSlozka(const TestovaciSlozka&) = delete;
    TestovaciSlozka& operator=(const TestovaciSlozka&) = delete;

    std::wstring Cesta(const std::wstring& pod = L"") const;
    void Zapis(const std::wstring& pod, const std::string& obsah) const;
    std::optional<std::string> Cti(const std::wstring& pod) const;
    void Slozka(const std::wstring& pod) const;
    // The names in a folder, "." and ".." left out.
    std::vector<std::wstring> Jmena(const std::wstring& pod = L"") const;

private:
    std::wstring cesta_;
};

void SmazStrom(const std::wstring& cesta);

// The number of handles this process holds.
long PocetUchytu();

}  // namespace setup::test
