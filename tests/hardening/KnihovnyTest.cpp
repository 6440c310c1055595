// Planted DLLs: copies of znacka.dll put beside Setup.exe (its own folder and
// the working folder it is started in) under the name of every DLL it loads
// after its first line, with Wine told to prefer a DLL found on the search
// path over its own (load order "native,builtin"), which is how Windows treats
// a DLL that is not one of its known system DLLs. A Browse and a whole
// install must leave no marker. The control program, run the same way
// without the defence, must load every one of them: the test can fail.
//
//   SETUP_H_ZNACKA    Windows path of znacka.dll
//   SETUP_H_KONTROLA  Windows path of kontrola.exe
//   SETUP_H_KNIHOVNY  the DLL file names to plant, separated by spaces
//   SETUP_H_PRUZKUM   when set, Knihovny.Pruzkum runs Setup.exe with
//                     WINEDEBUG=+loaddll, for scripts/test-hardening to list
//                     what it loads
#include <sstream>

#include "../e2e/Scenar.h"
#include "Otisk.h"
#include "ui/Ovladace.h"

namespace hardening {
namespace {

using namespace e2e;

std::vector<std::wstring> Podstrcene() {
    std::wistringstream s(Prostredi(L"SETUP_H_KNIHOVNY"));
    std::vector<std::wstring> v;
    for (std::wstring n; s >> n;) v.push_back(n);
    return v;
}

// Wine's own copy of a DLL wins over one found on the search path unless
// Wine is told otherwise; this tells it, for one program, to prefer the copy
// it finds ("native,builtin"), as Windows does for a DLL that is not one of
// its known system DLLs. A DLL is named without ".dll", anything else with
// its extension. (Set in the registry: WINEDLLOVERRIDES set by one Windows
// program does not reach the programs it starts.)
class PrednostNalezenych {
public:
    PrednostNalezenych(const std::wstring& program, const std::vector<std::wstring>& knihovny)
        : klic_(L"Software\\Wine\\AppDefaults\\" + program) {
        SmazKlic(HKEY_CURRENT_USER, klic_);
        for (auto n : knihovny) {
            if (n.size() > 4 && _wcsicmp(n.c_str() + n.size() - 4, L".dll") == 0) n.resize(n.size() - 4);
            NastavText(HKEY_CURRENT_USER, klic_ + L"\\DllOverrides", n, L"native,builtin");
        }
    }
    ~PrednostNalezenych() { SmazKlic(HKEY_CURRENT_USER, klic_); }

private:
    std::wstring klic_;
};

// Runs a console program with arguments in its own folder; its exit code, or
// -1 when it did not end in time.
long SpustAPockej(const std::wstring& exe, const std::wstring& argumenty) {
    std::wstring prikaz = L"\"" + exe + L"\"" + argumenty;
    std::wstring slozka = exe.substr(0, exe.find_last_of(L'\\'));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(exe.c_str(), prikaz.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                          slozka.c_str(), &si, &pi))
        return -2;
    setup::UchytObjektu proces(pi.hProcess), vlakno(pi.hThread);
    if (::WaitForSingleObject(pi.hProcess, Cekani()) != WAIT_OBJECT_0) {
        ::TerminateProcess(pi.hProcess, 99);
        return -1;
    }
    DWORD kod = 0;
    ::GetExitCodeProcess(pi.hProcess, &kod);
    return static_cast<long>(kod);
}

class Knihovny : public Scenar {
protected:
    // Plants every DLL in the folder; returns the marker paths.
    std::vector<std::wstring> Podstrc(const std::wstring& slozka, const std::vector<std::wstring>& knihovny) {
        std::wstring znacka = Prostredi(L"SETUP_H_ZNACKA");
        std::vector<std::wstring> znacky;
        for (auto& n : knihovny) {
            std::wstring cil = slozka + L"\\" + n;
            if (!::CopyFileW(znacka.c_str(), cil.c_str(), FALSE)) ADD_FAILURE() << "cannot plant " << Utf8(n);
            znacky.push_back(cil + L".nacteno");
            ::DeleteFileW(znacky.back().c_str());
        }
        return znacky;
    }

    // The markers that appeared.
    static std::vector<std::wstring> Nactene(const std::vector<std::wstring>& znacky) {
        std::vector<std::wstring> v;
        for (auto& z : znacky)
            if (Existuje(z)) v.push_back(z);
        return v;
    }

    // Browse opened and cancelled, then a whole install with the link.
    void ProchazetAInstalovat() {
        ASSERT_TRUE(Aktivuj(Hlavni()));
        Klavesa('P', true);
        HWND p = CekejNa([&] { return ProhlizecSlozek(Pid()); });
        ASSERT_TRUE(p) << "the folder browser did not open";
        CekejNaKlid(p);
        ASSERT_TRUE(Aktivuj(p));
        Klavesa(VK_ESCAPE);
        ASSERT_TRUE(CekejAz([&] { return !::IsWindow(p); }));
        Hlaseni h = InstalujAPotvrd();
        EXPECT_EQ(h.text, L"Instalace byla úspěšně dokončena.");
    }
};

TEST_F(Knihovny, Pruzkum) {
    if (Prostredi(L"SETUP_H_PRUZKUM").empty()) GTEST_SKIP() << "only for listing the DLLs";
    PripravSadu();
    NastavNovouVerzi();
    NastavSablonyUzivatele(L"Šablony h");
    DocasneProstredi p{{L"WINEDEBUG", L"+pid,+loaddll"}};
    Spust();
    ProchazetAInstalovat();
}

TEST_F(Knihovny, PodvrzeneSeNenactou) {
    auto knihovny = Podstrcene();
    ASSERT_FALSE(knihovny.empty()) << "SETUP_H_KNIHOVNY names no DLL";
    std::wstring sada = PripravSadu();
    std::wstring cil = NastavNovouVerzi() + L"\\" + NazevSady;
    NastavSablonyUzivatele(L"Šablony h");
    auto znacky = Podstrc(Medium(), knihovny);
    PrednostNalezenych prednost(L"Setup.exe", knihovny);
    {
        // SETUP_H_LADENI, e.g. "+pid,+loaddll,+module", shows where each DLL was looked for.
        std::wstring ladeni = Prostredi(L"SETUP_H_LADENI");
        DocasneProstredi p{{L"WINEDEBUG", ladeni.empty() ? Prostredi(L"WINEDEBUG") : ladeni}};
        Spust();
    }
    ProchazetAInstalovat();
    EXPECT_EQ(Strom(cil).size(), SouboryVeSlozce(sada).size());
    for (auto& z : Nactene(znacky)) ADD_FAILURE() << "planted DLL was loaded: " << Utf8(z);
}

TEST_F(Knihovny, KontrolniProgramBezObranyJeNacte) {
    auto knihovny = Podstrcene();
    ASSERT_FALSE(knihovny.empty());
    std::wstring kontrola = Medium() + L"\\kontrola.exe";
    ASSERT_TRUE(::CopyFileW(Prostredi(L"SETUP_H_KONTROLA").c_str(), kontrola.c_str(), FALSE));
    auto znacky = Podstrc(Medium(), knihovny);
    PrednostNalezenych prednost(L"kontrola.exe", knihovny);

    // With the defence: nothing planted is loaded.
    std::wstring argumenty = L" --obrana";
    for (auto& n : knihovny) argumenty += L" " + n;
    ASSERT_EQ(SpustAPockej(kontrola, argumenty), 0);
    for (auto& z : Nactene(znacky)) ADD_FAILURE() << "loaded despite the defence: " << Utf8(z);

    // Without it: every planted copy is loaded, so the markers do show a load.
    argumenty.erase(0, std::wstring(L" --obrana").size());
    ASSERT_EQ(SpustAPockej(kontrola, argumenty), 0);
    EXPECT_EQ(Nactene(znacky), znacky) << "the control program must load every planted DLL";
}

}  // namespace
}  // namespace hardening
