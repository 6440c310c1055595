// Not a test: the demo's unattended run (scripts/demo without a display).
// Runs the Setup.exe named by SETUP_E2E_UKAZKA through a whole install,
// takes a picture of each window and prints where the templates and the
// link went, as lines "CIL <path>" and "ODKAZ <path>".
#include <cstdio>

#include <gtest/gtest.h>

#include "Ridic.h"
#include "ui/Ovladace.h"

namespace e2e {
namespace {

void Vypis(const char* co, const std::wstring& cesta) { std::printf("%s %s\n", co, Utf8(cesta).c_str()); }

TEST(Ukazka, DISABLED_CelaInstalace) {
    std::wstring exe = Prostredi(L"SETUP_E2E_UKAZKA");
    ASSERT_FALSE(exe.empty()) << "SETUP_E2E_UKAZKA names the Setup.exe to run";
    Proces p = Proces::Spust(exe);
    HWND hlavni = CekejNa([&] { return HlavniOkno(p.Id()); });
    ASSERT_TRUE(hlavni);
    Snimek(hlavni, L"1-hlavni-okno");
    std::wstring cil = Text(::GetDlgItem(hlavni, IDC_SLOZKA));

    ASSERT_TRUE(Aktivuj(hlavni));
    Klavesa(VK_RETURN);
    HWND box = CekejNa([&] { return OknoHlaseni(p.Id()); });
    ASSERT_TRUE(box);
    HWND prubeh = OknoPrubehu(p.Id());
    RECT r{}, b{};
    ::GetWindowRect(box, &b);
    r = b;
    if (prubeh) {
        ::GetWindowRect(prubeh, &r);
        ::UnionRect(&r, &r, &b);
    }
    CekejNaKlid(box);
    Snimek(r, L"2-dokonceni");
    Hlaseni h = CtiHlaseni(box);
    std::printf("HLASENI %s\n", Utf8(h.text).c_str());
    ASSERT_TRUE(Aktivuj(box));
    Klavesa(VK_RETURN);
    ASSERT_TRUE(p.CekejNaKonec(Cekani()));

    Vypis("CIL", cil);
    for (auto& s : SouboryVeSlozce(cil)) Vypis("SOUBOR", cil + L"\\" + s);
    // The link is named after the target's last folder, in the user's
    // templates folder.
    HKEY k;
    wchar_t sablony[MAX_PATH] = {};
    DWORD velikost = sizeof sablony - sizeof(wchar_t);
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Office\\9.0\\Common\\General", 0, KEY_READ, &k) ==
        ERROR_SUCCESS) {
        ::RegQueryValueExW(k, L"Templates", nullptr, nullptr, reinterpret_cast<BYTE*>(sablony), &velikost);
        ::RegCloseKey(k);
    }
    if (sablony[0]) {
        std::wstring odkaz = SlozkaAplikacnichDat() + L"\\Microsoft\\" + sablony + L"\\" +
                             cil.substr(cil.find_last_of(L'\\') + 1) + L".lnk";
        if (Existuje(odkaz)) Vypis("ODKAZ", odkaz);
    }
}

}  // namespace
}  // namespace e2e
