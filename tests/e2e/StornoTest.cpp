// Stopping a long install from the progress window: with its Storno button,
// with its close command, with Esc; the rollback and what it leaves.
#include <algorithm>
#include <cstdio>

#include "Scenar.h"
#include "ui/Ovladace.h"

namespace e2e {
namespace {

const wchar_t* const VelkaSada = L"Velká sada";

class Storno : public Scenar {
protected:
    // A set of many small files, so the run lasts long enough to stop it.
    std::wstring PripravVelkouSadu(int pocet) {
        std::wstring sada = Medium() + L"\\" + VelkaSada;
        VytvorSlozky(sada);
        std::string obsah(1024, 'x');
        for (int i = 0; i < pocet; ++i) {
            wchar_t nazev[64];
            std::swprintf(nazev, 64, L"\\Šablona %04d.dot", i);
            ZapisSoubor(sada + nazev, obsah);
        }
        soubory_ = SouboryVeSlozce(sada);
        return sada;
    }

    // Index in the plan's file order of the file being installed now, or -1.
    int PoradiInstalovaneho() {
        auto texty = Hlasky().Texty();
        const std::wstring zacatek = L"Instaluje se: ";
        for (auto t = texty.rbegin(); t != texty.rend(); ++t) {
            if (t->rfind(zacatek, 0) != 0) continue;
            std::wstring nazev = t->substr(zacatek.size());
            for (size_t i = 0; i < soubory_.size(); ++i)
                if (soubory_[i] == nazev) return static_cast<int>(i);
            return -1;
        }
        return -1;
    }

    // Waits until the run has copied past the given file.
    void CekejNaSoubor(int poradi) {
        ASSERT_TRUE(CekejAz([&] { return PoradiInstalovaneho() >= poradi; }))
            << "the run did not get to file " << poradi;
    }

    // The progress window once the run has copied past the given file;
    // null when the window never showed.
    HWND PrubehZaSouborem(int poradi) {
        HWND prubeh = CekejNa([&] { return OknoPrubehu(Pid()); });
        if (prubeh) CekejNaSoubor(poradi);
        return prubeh;
    }

    // The status lines of the stopped run: the install went forward record by
    // record and the rollback came back from where it stopped down to the
    // first record, and the run never finished.
    void OverZpatecniCestu(bool sOdkazem = false) {
        auto texty = Hlasky().Texty();
        std::vector<std::wstring> zaznamy{L"Šablony"};
        if (sOdkazem) zaznamy.push_back(L"Zástupci");
        zaznamy.insert(zaznamy.end(), soubory_.begin(), soubory_.end());

        size_t i = 0;
        ASSERT_GE(texty.size(), 3u);
        EXPECT_EQ(texty[i++], L"Připravuje se instalace.");
        EXPECT_EQ(texty[i++], L"Instaluje se.");
        size_t vpred = 0;
        while (i < texty.size() && texty[i].rfind(L"Instaluje se: ", 0) == 0) {
            ASSERT_LT(vpred, zaznamy.size());
            EXPECT_EQ(texty[i], L"Instaluje se: " + zaznamy[vpred]);
            ++vpred;
            ++i;
        }
        ASSERT_GT(vpred, 2u);
        // Rollback starts at the record that was current when the flag was seen.
        size_t zpet = vpred;
        while (i < texty.size()) {
            ASSERT_GT(zpet, 0u) << "more rollback lines than records";
            --zpet;
            EXPECT_EQ(texty[i], L"Ruší se instalace: " + zaznamy[zpet]);
            ++i;
        }
        EXPECT_EQ(zpet, 0u) << "the rollback reaches the first record";
    }

    std::vector<std::wstring> soubory_;
};

TEST_F(Storno, TlacitkoStornoVratiVseAHlavniOkno) {
    PripravVelkouSadu(3000);
    NastavNovouVerzi();
    Spust();
    // The user types another target, two levels of it missing, and starts
    // with Enter in the text box.
    std::wstring cil = Koren() + L"\\Cíl\\Moje šablony";
    Klikni(Prvek(IDC_SLOZKA));
    ASSERT_TRUE(CekejAz([&] { return Fokus(Program().Vlakno()) == Prvek(IDC_SLOZKA); }));
    Klavesa(VK_HOME);
    Klavesa(VK_END, false, true);
    Pis(cil);
    ASSERT_TRUE(CekejAz([&] { return Text(Prvek(IDC_SLOZKA)) == cil; })) << Utf8(Text(Prvek(IDC_SLOZKA)));
    Klavesa(VK_RETURN);

    HWND prubeh = PrubehZaSouborem(100);
    ASSERT_TRUE(prubeh);
    Snimek(prubeh, L"prubeh");
    EXPECT_EQ(Text(::GetDlgItem(prubeh, IDC_TEXT)).rfind(L"Instaluje se: ", 0), 0u);
    ASSERT_TRUE(Aktivuj(prubeh));
    Klikni(::GetDlgItem(prubeh, IDC_PRUBEH_STORNO));

    CekejNaHlavniOkno();
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), cil) << "the text the user typed";
    EXPECT_FALSE(OknoPrubehu(Pid()));
    EXPECT_FALSE(OknoHlaseni(Pid()));
    EXPECT_FALSE(Existuje(Koren() + L"\\Cíl")) << "both created levels are gone";
    EXPECT_FALSE(Existuje(Koren() + L"\\Office"));
    OverZpatecniCestu();
    UkonciStornem();
}

TEST_F(Storno, ZavreniOknaPrubehuJakoStorno) {
    PripravVelkouSadu(3000);
    std::wstring cil = NastavNovouVerzi() + L"\\" + VelkaSada;
    std::wstring odkazy = NastavSablonyUzivatele(L"Šablony e2e");
    Spust();
    Enter();
    HWND prubeh = PrubehZaSouborem(100);
    ASSERT_TRUE(prubeh);
    // Alt+F4 is the window's close command, as its close box.
    ASSERT_TRUE(Aktivuj(prubeh));
    Klavesa(VK_F4, true);

    CekejNaHlavniOkno();
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), cil);
    EXPECT_FALSE(Existuje(Koren() + L"\\Office"));
    EXPECT_FALSE(Existuje(odkazy)) << "the user's templates folder this run made is gone too";
    OverZpatecniCestu(true);
    // The closed window went away and the rollback's reports brought it back.
    auto u = Hlasky().Udalosti();
    EXPECT_TRUE(std::any_of(u.begin(), u.end(), [](const Udalost& x) { return x.druh == L'D'; }));
    UkonciStornem();
}

TEST_F(Storno, PrepsanySouborSeObnovi) {
    std::wstring sada = PripravVelkouSadu(1500);
    std::wstring cil = NastavNovouVerzi() + L"\\" + VelkaSada;
    // The target is there already, with the user's own copy of one template
    // (read-only and hidden) and a file of the user's.
    const std::wstring puvodni = soubory_[10];
    VytvorSlozky(cil);
    ZapisSoubor(cil + L"\\" + puvodni, "původní obsah");
    ::SetFileAttributesW((cil + L"\\" + puvodni).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ZapisSoubor(cil + L"\\Moje.dot", "moje");
    auto pred = Strom(cil);

    Spust();
    Enter();
    HWND prubeh = PrubehZaSouborem(60);
    ASSERT_TRUE(prubeh);
    // Esc is the progress window's Storno.
    ASSERT_TRUE(Aktivuj(prubeh));
    Klavesa(VK_ESCAPE);

    CekejNaHlavniOkno();
    OverZpatecniCestu();
    EXPECT_EQ(Strom(cil), pred);
    EXPECT_EQ(CtiSoubor(cil + L"\\" + puvodni), "původní obsah");
    EXPECT_EQ(Atributy(cil + L"\\" + puvodni) &
                  (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(CtiSoubor(cil + L"\\Moje.dot"), "moje");
    UkonciStornem();
}

TEST_F(Storno, BehemDlouheKopieOknoOdpovidaAStornoVratiVse) {
    constexpr int64_t Velka = 2LL << 30;
    ULARGE_INTEGER volne{};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(L"C:\\", &volne, nullptr, nullptr));
    if (volne.QuadPart < static_cast<uint64_t>(Velka) + (1ULL << 30))
        GTEST_SKIP() << "a copy of 2 GB needs 3 GB free on C:, there are " << (volne.QuadPart >> 20) << " MB";
    // The set: a 2 GB template made at once (a hole on the disk) between two small ones.
    const std::wstring sada = Medium() + L"\\" + VelkaSada, velka = L"Šablona velká.dot";
    VytvorSlozky(sada);
    ZapisSoubor(sada + L"\\Šablona A.dot", "a");
    ZapisSoubor(sada + L"\\Šablona Z.dot", "z");
    {
        Handle f(::CreateFileW((sada + L"\\" + velka).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        LARGE_INTEGER konec{};
        konec.QuadPart = Velka;
        ASSERT_TRUE(::SetFilePointerEx(f.get(), konec, nullptr, FILE_BEGIN) && ::SetEndOfFile(f.get()));
    }
    const std::wstring cil = NastavNovouVerzi() + L"\\" + VelkaSada;
    Spust();
    Enter();
    HWND prubeh = CekejNa([&] { return OknoPrubehu(Pid()); });
    ASSERT_TRUE(prubeh);
    // The copy runs while its status line stands and its target is not whole.
    const auto kopiruje = [&] {
        const auto texty = Hlasky().Texty();
        WIN32_FILE_ATTRIBUTE_DATA d{};
        return !texty.empty() && texty.back() == L"Instaluje se: " + velka &&
               (!::GetFileAttributesExW((cil + L"\\" + velka).c_str(), GetFileExInfoStandard, &d) ||
                (static_cast<int64_t>(d.nFileSizeHigh) << 32 | d.nFileSizeLow) < Velka);
    };
    ASSERT_TRUE(CekejAz(kopiruje));
    // A window that does not answer within 100 ms is one the system greys out.
    const auto odpovida = [&] {
        DWORD_PTR r;
        return ::SendMessageTimeoutW(prubeh, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &r) != 0 || !kopiruje();
    };
    for (int i = 0; i < 10 && kopiruje(); ++i, ::Sleep(20)) ASSERT_TRUE(odpovida()) << "no answer during the copy";
    ASSERT_TRUE(kopiruje()) << "the copy ended before Storno could be pressed";
    Snimek(prubeh, L"prubeh-dlouha-kopie");
    ASSERT_TRUE(Aktivuj(prubeh));
    Klikni(::GetDlgItem(prubeh, IDC_PRUBEH_STORNO));
    while (kopiruje()) {
        ASSERT_TRUE(odpovida()) << "no answer during the copy, Storno pressed";
        ::Sleep(20);
    }

    // Where the platform's copy cannot stop half way, the whole file is
    // taken back once it is copied.
    ASSERT_TRUE(CekejNa([&] { return HlavniOkno(Pid()); }, 300000));
    EXPECT_FALSE(OknoPrubehu(Pid()));
    EXPECT_FALSE(OknoHlaseni(Pid()));
    EXPECT_FALSE(Existuje(Koren() + L"\\Office")) << "the 2 GB file, the target folder, every level made";
    const auto texty = Hlasky().Texty();
    const auto kopie = std::find(texty.begin(), texty.end(), L"Instaluje se: " + velka);
    ASSERT_TRUE(kopie != texty.end() && kopie + 1 != texty.end());
    EXPECT_EQ(*(kopie + 1), L"Ruší se instalace: " + velka);
    EXPECT_EQ(texty.back(), L"Ruší se instalace: Šablony");
    UkonciStornem();
}

}  // namespace
}  // namespace e2e
