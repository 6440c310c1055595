#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system/Cesty.h"

namespace setup {
namespace {

using Casti = std::vector<std::wstring>;

TEST(Cesty, RozdelCestuDeliZaPoslednimLomitkem) {
    struct Pripad {
        std::wstring cesta, slozka, posledni;
    };
    const Pripad pripady[] = {
        {L"C:\\Templates\\Dopisy", L"C:\\Templates\\", L"Dopisy"},
        {L"C:\\Templates\\Dopisy\\", L"C:\\Templates\\Dopisy\\", L""},
        {L"Dopisy", L"", L"Dopisy"},
        {L"C:\\", L"C:\\", L""},
        {L"", L"", L""},
        {L"\\\\server\\share\\A", L"\\\\server\\share\\", L"A"},
    };
    for (const auto& p : pripady) {
        std::wstring slozka = L"stará", posledni = L"stará";
        RozdelCestu(p.cesta, slozka, posledni);
        EXPECT_EQ(slozka, p.slozka) << testing::PrintToString(p.cesta);
        EXPECT_EQ(posledni, p.posledni) << testing::PrintToString(p.cesta);
    }
}

TEST(Cesty, NadrazenaSlozkaBezKoncovehoLomitka) {
    const std::pair<std::wstring, std::wstring> pripady[] = {
        {L"C:\\Program Files\\Microsoft Office\\Office", L"C:\\Program Files\\Microsoft Office"},
        {L"C:\\Program Files\\Microsoft Office\\Office\\", L"C:\\Program Files\\Microsoft Office"},
        {L"C:\\Data", L"C:"},
        {L"C:\\", L""},
        {L"Data", L""},
        {L"", L""},
    };
    for (const auto& [cesta, nadrazena] : pripady)
        EXPECT_EQ(NadrazenaSlozka(cesta), nadrazena) << testing::PrintToString(cesta);
}

TEST(Cesty, CastiCestyOdPrvniSlozkyPodKorenem) {
    const std::pair<std::wstring, Casti> pripady[] = {
        {L"C:\\Program Files\\Microsoft Office\\Templates\\Dopisy",
         {L"C:\\Program Files", L"Microsoft Office", L"Templates", L"Dopisy"}},
        {L"C:\\A\\B\\", {L"C:\\A", L"B"}},
        {L"C:\\A", {L"C:\\A"}},
        {L"C:\\", {}},
        {L"C:", {}},
        {L"\\\\server\\share\\A\\B", {L"\\\\server\\share\\A", L"B"}},
        {L"\\\\server\\share", {}},
        {L"\\\\server\\share\\", {}},
        {L"C:\\A\\\\B", {L"C:\\A", L"", L"B"}},
        {L"A\\B\\C", {L"A\\B", L"C"}},
    };
    for (const auto& [cesta, casti] : pripady)
        EXPECT_EQ(CastiCesty(cesta), casti) << testing::PrintToString(cesta);
}

TEST(Cesty, DlouheCestyBezSestnactibitovehoPretekani) {
    // Positions beyond 32767 must work like any other.
    const std::wstring dlouhe(40000, L'x');
    const std::wstring cesta = L"C:\\" + dlouhe + L"\\" + dlouhe + L"\\Konec";

    std::wstring slozka, posledni;
    RozdelCestu(cesta, slozka, posledni);
    EXPECT_EQ(slozka, L"C:\\" + dlouhe + L"\\" + dlouhe + L"\\");
    EXPECT_EQ(posledni, L"Konec");
    EXPECT_EQ(NadrazenaSlozka(cesta), L"C:\\" + dlouhe + L"\\" + dlouhe);
    EXPECT_EQ(CastiCesty(cesta), (Casti{L"C:\\" + dlouhe, dlouhe, L"Konec"}));
}

TEST(Cesty, CastiSlozeneZpetDavajiPuvodniCestu) {
    // The engine rebuilds a folder from its pieces with "\" between them.
    for (const std::wstring cesta :
         {L"D:\\Šablony\\Dopisy\\2024", L"\\\\nas\\data\\Firma\\Šablony", L"E:\\X"}) {
        std::wstring slozena;
        for (const auto& cast : CastiCesty(cesta)) {
            if (!slozena.empty()) slozena += L'\\';
            slozena += cast;
        }
        EXPECT_EQ(slozena, cesta);
    }
}

TEST(Cesty, DocasnaSlozkaProhlizeceArchivu) {
    const std::wstring temp = L"C:\\Users\\Jan\\AppData\\Local\\Temp\\";
    const std::pair<std::wstring, bool> pripady[] = {
        {temp + L"Temp1_Šablony.zip", true},
        {temp + L"Temp12_a", true},
        {temp + L"Temp1_Šablony.zip\\Šablony", true},
        {temp + L"7zO4B5C1A2D", true},
        {temp + L"Rar$EXa2804.31440", true},
        {L"c:\\users\\jan\\appdata\\local\\temp\\TEMP2_X.ZIP", true},
        {temp + L"Stažené\\Temp1_x.zip", true},
        // The temporary folder itself, an ordinary folder in it, names
        // that only begin like a viewer's.
        {temp.substr(0, temp.size() - 1), false},
        {temp + L"Šablony", false},
        {temp + L"Temp_x.zip", false},
        {temp + L"Temp1_", false},
        {temp + L"TempX1_x.zip", false},
        {temp + L"7z", false},
        {temp + L"Rar$", false},
        // Elsewhere, or beside the temporary folder under a longer name.
        {L"E:\\Temp1_Šablony.zip", false},
        {L"C:\\Users\\Jan\\AppData\\Local\\Temp2\\Temp1_x.zip", false},
    };
    for (const auto& [slozka, ano] : pripady) {
        EXPECT_EQ(VDocasneSlozceArchivu(slozka, temp), ano) << testing::PrintToString(slozka);
        EXPECT_EQ(VDocasneSlozceArchivu(slozka, temp.substr(0, temp.size() - 1)), ano)
            << testing::PrintToString(slozka);
    }
    EXPECT_FALSE(VDocasneSlozceArchivu(L"\\Temp1_x.zip", L""));
}

}  // namespace
}  // namespace setup
