// Hostile conditions while the files are copied: a disk that fills up, a
// source file another program holds open without sharing, a source file
// that goes away after the plan was made, a target taken by a file. Each
// ends with one error box with the system's description, a complete
// rollback (nothing left, nothing lost, a user's overwritten file back as
// it was) and the main window back.
//
//   SETUP_H_DISK  Windows root of a small drive (a tmpfs mounted by
//                 scripts/test-hardening); the full-disk case is skipped
//                 without it
#include <algorithm>
#include <cstdio>

#include "Stopy.h"
#include "ui/Ovladace.h"

namespace hardening {
namespace {

using namespace e2e;

class Podminky : public Stopy {
protected:
    // The error box: the system's description of one of the codes, the stop
    // icon, "Setup"; confirmed; the main window back and alone.
    void OverChybuANavrat(const std::vector<DWORD>& kody, const std::wstring& cil) {
        Hlaseni h = CekejNaChybu();
        std::vector<std::wstring> popisy;
        for (DWORD k : kody) popisy.push_back(PopisChyby(k));
        EXPECT_NE(std::find(popisy.begin(), popisy.end(), h.text), popisy.end()) << Utf8(h.text);
        PotvrdHlaseni(h);
        CekejNaHlavniOkno();
        EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), cil);
        EXPECT_FALSE(OknoHlaseni(Pid())) << "one box only";
        EXPECT_FALSE(OknoPrubehu(Pid()));
        auto texty = Hlasky().Texty();
        ASSERT_FALSE(texty.empty());
        EXPECT_EQ(texty.back().rfind(L"Ruší se instalace: ", 0), 0u) << "the rollback ran";
    }
};

TEST_F(Podminky, ZamcenyZdroj) {
    std::wstring sada = PripravSadu();
    auto soubory = SouboryVeSlozce(sada);
    std::wstring cil = NastavNovouVerzi() + L"\\" + NazevSady;
    VytvorSlozky(cil);
    ZapisSoubor(cil + L"\\" + soubory[0], "starší verze");
    ::SetFileAttributesW((cil + L"\\" + soubory[0]).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    NastavSablonyUzivatele(L"Šablony podmínky");
    Vyfot();

    // The last file is held open by another program, without any sharing.
    std::wstring zamceny = sada + L"\\" + soubory.back();
    setup::UchytSouboru zamek(::CreateFileW(zamceny.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(zamek.get(), INVALID_HANDLE_VALUE);
    Spust();
    Enter();
    OverChybuANavrat({ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, ERROR_ACCESS_DENIED}, cil);
    zamek.reset();
    UkonciStornem();
    OverStopy();
    EXPECT_EQ(CtiSoubor(cil + L"\\" + soubory[0]), "starší verze");
}

TEST_F(Podminky, ZmizelyZdroj) {
    std::wstring sada = PripravVelkouSadu(L"Velká sada", 1500);
    auto soubory = SouboryVeSlozce(sada);
    std::wstring cil = NastavNovouVerzi() + L"\\Velká sada";
    Vyfot();

    Spust();
    Enter();
    // The plan is made and the copying under way: the last file goes.
    ASSERT_TRUE(CekejAz([&] {
        auto t = Hlasky().Texty();
        return !t.empty() && t.back().rfind(L"Instaluje se: Šablona", 0) == 0;
    }));
    std::wstring zmizely = sada + L"\\" + soubory.back();
    ASSERT_TRUE(::DeleteFileW(zmizely.c_str()));
    OverChybuANavrat({ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND}, cil);
    UkonciStornem();
    OverStopy({zmizely});
}

TEST_F(Podminky, CilJeSoubor) {
    PripravSadu();
    const std::wstring cil = ObsadCilSouborem("soubor místo složky");
    ::SetFileAttributesW(cil.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    Vyfot();
    Spust();
    Enter();
    OverChybuANavrat({ERROR_PATH_NOT_FOUND, ERROR_DIRECTORY, ERROR_ALREADY_EXISTS, ERROR_FILE_EXISTS,
                      ERROR_ACCESS_DENIED},
                     cil);
    UkonciStornem();
    OverStopy();
    EXPECT_EQ(CtiSoubor(cil), "soubor místo složky");
}

TEST_F(Podminky, PlnyDisk) {
    std::wstring disk = Prostredi(L"SETUP_H_DISK");
    if (disk.empty()) GTEST_SKIP() << "no small drive (SETUP_H_DISK)";
    // A set larger than the drive: eight files of 200 kB on a 1 MB drive.
    std::wstring sada = Medium() + L"\\" + NazevSady;
    VytvorSlozky(sada);
    for (int i = 0; i < 8; ++i) {
        wchar_t nazev[64];
        std::swprintf(nazev, 64, L"\\Velká šablona %d.dot", i);
        ZapisSoubor(sada + nazev, std::string(200 * 1024, static_cast<char>('0' + i)));
    }
    NastavText(HKEY_LOCAL_MACHINE, KlicNovy, L"Path", disk + L"Office\\Office\\");
    std::wstring cil = disk + L"Office\\Templates\\" + NazevSady;
    Vyfot({disk});
    auto pred = Strom(disk.substr(0, disk.size() - 1));

    Spust();
    ASSERT_EQ(Text(Prvek(IDC_SLOZKA)), cil);
    Enter();
    OverChybuANavrat({ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL}, cil);
    UkonciStornem();
    EXPECT_EQ(Strom(disk.substr(0, disk.size() - 1)), pred) << "every level the run created is gone";
    OverStopy();
}

}  // namespace
}  // namespace hardening
