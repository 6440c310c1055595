#include "Pomoc.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace setup::test {

std::wstring JmenoTestu() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    const std::string jmeno = std::string(info->test_suite_name()) + "_" + info->name();
    return std::wstring(jmeno.begin(), jmeno.end());   // ASCII identifiers
}

// Registry ---------------------------------------------------------------------

TestovaciKlic::TestovaciKlic() : cesta_(L"Software\\SetupTests\\" + JmenoTestu()) {
    RegDeleteTreeW(HKEY_CURRENT_USER, cesta_.c_str());
    KlicRegistru klic;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, cesta_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        klic.put(), nullptr) != ERROR_SUCCESS) {
        throw std::runtime_error("test key");
    }
}

TestovaciKlic::~TestovaciKlic() { RegDeleteTreeW(HKEY_CURRENT_USER, cesta_.c_str()); }

std::wstring TestovaciKlic::Cesta(const std::wstring& pod) const {
    return pod.empty() ? cesta_ : cesta_ + L"\\" + pod;
}

void TestovaciKlic::Nastav(const std::wstring& nazev, DWORD typ, const void* data, DWORD velikost,
                           const std::wstring& pod) const {
    KlicRegistru klic;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Cesta(pod).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, klic.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(klic.get(), nazev.c_str(), 0, typ, static_cast<const BYTE*>(data), velikost),
              ERROR_SUCCESS);
}

void TestovaciKlic::NastavText(const std::wstring& nazev, const std::wstring& text) const {
    Nastav(nazev, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void TestovaciKlic::NastavCislo(const std::wstring& nazev, DWORD cislo) const {
    Nastav(nazev, REG_DWORD, &cislo, sizeof cislo);
}

bool TestovaciKlic::Existuje(const std::wstring& pod) const {
    KlicRegistru klic;
    return RegOpenKeyExW(HKEY_CURRENT_USER, Cesta(pod).c_str(), 0, KEY_READ, klic.put()) ==
           ERROR_SUCCESS;
}

std::optional<std::pair<DWORD, std::vector<uint8_t>>> TestovaciKlic::Surova(
    const std::wstring& nazev, const std::wstring& pod) const {
    KlicRegistru klic;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Cesta(pod).c_str(), 0, KEY_READ, klic.put()) !=
        ERROR_SUCCESS) {
        klic.release();
        return std::nullopt;
    }
    DWORD typ = 0;
    DWORD velikost = 0;
    if (RegQueryValueExW(klic.get(), nazev.c_str(), nullptr, &typ, nullptr, &velikost) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<uint8_t> data(velikost + 1);
    DWORD precteno = velikost + 1;
    if (RegQueryValueExW(klic.get(), nazev.c_str(), nullptr, &typ, data.data(), &precteno) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(precteno);
    return std::make_pair(typ, data);
}

// Files --------------------------------------------------------------------------

void SmazStrom(const std::wstring& cesta) {
    const DWORD atributy = GetFileAttributesW(cesta.c_str());
    if (atributy == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(cesta.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(atributy & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(cesta.c_str());
        return;
    }
    WIN32_FIND_DATAW nalez;
    {
        HledaniSouboru hledani(FindFirstFileW((cesta + L"\\*").c_str(), &nalez));
        if (hledani) {
            do {
                const std::wstring jmeno = nalez.cFileName;
                if (jmeno != L"." && jmeno != L"..") SmazStrom(cesta + L"\\" + jmeno);
            } while (FindNextFileW(hledani.get(), &nalez));
        }
    }
    RemoveDirectoryW(cesta.c_str());
}

TestovaciSlozka::TestovaciSlozka() : cesta_(L"C:\\SetupTests\\" + JmenoTestu()) {
    SmazStrom(cesta_);
    CreateDirectoryW(L"C:\\SetupTests", nullptr);
    if (!CreateDirectoryW(cesta_.c_str(), nullptr)) throw std::runtime_error("test folder");
}

TestovaciSlozka::~TestovaciSlozka() { SmazStrom(cesta_); }

std::wstring TestovaciSlozka::Cesta(const std::wstring& pod) const {
    return pod.empty() ? cesta_ : cesta_ + L"\\" + pod;
}

void TestovaciSlozka::Zapis(const std::wstring& pod, const std::string& obsah) const {
    UchytSouboru soubor(CreateFileW(Cesta(pod).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(soubor) << "cannot write " << GetLastError();
    DWORD zapsano = 0;
    ASSERT_TRUE(WriteFile(soubor.get(), obsah.data(), static_cast<DWORD>(obsah.size()), &zapsano,
                          nullptr));
}

std::optional<std::string> TestovaciSlozka::Cti(const std::wstring& pod) const {
    UchytSouboru soubor(CreateFileW(Cesta(pod).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    if (!soubor) return std::nullopt;
    std::string obsah;
    char buffer[4096];
    DWORD precteno = 0;
    while (ReadFile(soubor.get(), buffer, sizeof buffer, &precteno, nullptr) && precteno > 0) {
        obsah.append(buffer, precteno);
    }
    return obsah;
}

void TestovaciSlozka::Slozka(const std::wstring& pod) const {
    ASSERT_TRUE(CreateDirectoryW(Cesta(pod).c_str(), nullptr)) << GetLastError();
}

std::vector<std::wstring> TestovaciSlozka::Jmena(const std::wstring& pod) const {
    std::vector<std::wstring> jmena;
    WIN32_FIND_DATAW nalez;
    HledaniSouboru hledani(FindFirstFileW((Cesta(pod) + L"\\*").c_str(), &nalez));
    if (!hledani) return jmena;
    do {
        const std::wstring jmeno = nalez.cFileName;
        if (jmeno != L"." && jmeno != L"..") jmena.push_back(jmeno);
    } while (FindNextFileW(hledani.get(), &nalez));
    return jmena;
}

// Handles ----------------------------------------------------------------------------

namespace {

// The legacy layout of NtQuerySystemInformation's SystemHandleInformation (16).
struct ZaznamUchytu {
    USHORT proces;
    USHORT stopa;
    UCHAR typ;
    UCHAR priznaky;
    USHORT hodnota;
    PVOID objekt;
    ACCESS_MASK pristup;
};
struct TabulkaUchytu {
    ULONG pocet;
    ZaznamUchytu zaznamy[1];
};
using DotazSystemu = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);

}  // namespace

long PocetUchytu() {
    DWORD pocet = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &pocet) && pocet > 0) return static_cast<long>(pocet);
    // Wine 8 answers the call above with 0. Its kernel does list every
    // process's handles, so count this process's entries there.
    const auto dotaz = reinterpret_cast<DotazSystemu>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!dotaz) return -1;
    std::vector<uint8_t> buffer(1 << 20);
    LONG stav;
    ULONG delka = 0;
    constexpr LONG MaloMista = static_cast<LONG>(0xC0000004);   // STATUS_INFO_LENGTH_MISMATCH
    while ((stav = dotaz(16, buffer.data(), static_cast<ULONG>(buffer.size()), &delka)) == MaloMista) {
        buffer.resize(buffer.size() * 2);
    }
    if (stav != 0) return -1;
    const auto* tabulka = reinterpret_cast<const TabulkaUchytu*>(buffer.data());
    const USHORT ja = static_cast<USHORT>(GetCurrentProcessId());
    long nase = 0;
    for (ULONG i = 0; i < tabulka->pocet; ++i) {
        if (tabulka->zaznamy[i].proces == ja) ++nase;
    }
    return nase;
}

}  // namespace setup::test
