// Stopping a long install from the progress window: with its Storno button,
// with its close command, with Esc; the rollback and what it leaves.
#include <algorithm>
#include <cstdio>

#include "Scenar.h"
#include "ui/Ovladace.h"

namespace e2e {
namespace {

class Storno : public Scenar {
protected:
    // The status line as it reads now; empty before the first report.
    std::wstring PosledniText() { return Hlasky().PosledniText(); }

    // Waits until the run has copied past the given file.
    void CekejNaSoubor(int poradi) {
        ASSERT_TRUE(CekejAz([&] { return PoradiInstalovaneho() >= poradi; }))
            << "the run did not get to file " << poradi;
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

    // A set of one file of the given size in MB: its copy is a single call
    // of the platform, during which the program looks at no message.
    std::wstring PripravSaduJednohoSouboru(int megabajtu) {
        std::wstring sada = Medium() + L"\\" + VelkaSada;
        VytvorSlozky(sada);
        const std::wstring nazev = L"Velká šablona.dot";
        setup::UchytSouboru h(::CreateFileW((sada + L"\\" + nazev).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        std::string blok(1 << 20, 'x');
        DWORD n = 0;
        for (int i = 0; i < megabajtu; ++i)
            if (!::WriteFile(h.get(), blok.data(), static_cast<DWORD>(blok.size()), &n, nullptr)) break;
        soubory_ = {nazev};
        return sada;
    }

};

TEST_F(Storno, TlacitkoStornoVratiVseAHlavniOkno) {
    PripravVelkouSadu(3000);
    NastavNovouVerzi();
    Spust();
    // The user types another target, two levels of it missing, and starts
    // with Enter in the text box.
    std::wstring cil = Koren() + L"\\Cíl\\Moje šablony";
    ZadejCil(cil);
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
    EXPECT_EQ(UkonciStornem(), 1602u) << "a run the user stopped, then the window closed";
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

// A Storno clicked, or Esc pressed, while the last file copies: the window
// takes it in during the copy (or, should the input wait in the queue, at
// the report after the last record, which says the run is done). Either
// way the run is taken back, and no completion box comes.
TEST_F(Storno, StornoBehemPoslednihoZaznamuVratiVse) {
    PripravSaduJednohoSouboru(800);
    NastavNovouVerzi();
    const std::wstring cil = Koren() + L"\\Cíl\\Moje šablony";
    const std::wstring kopiruje = L"Instaluje se: " + soubory_[0];
    for (bool mysi : {true, false}) {
        SCOPED_TRACE(mysi ? "Storno clicked" : "Esc");
        Spust();
        ZadejCil(cil);
        Klavesa(VK_RETURN);
        HWND prubeh = CekejNa([&] { return OknoPrubehu(Pid()); });
        ASSERT_TRUE(prubeh);
        ASSERT_TRUE(CekejAz([&] { return PosledniText() == kopiruje; }));
        if (mysi) {
            Klikni(::GetDlgItem(prubeh, IDC_PRUBEH_STORNO), false);
        } else {
            ASSERT_EQ(::GetForegroundWindow(), prubeh) << "Esc goes to the window in front";
            Klavesa(VK_ESCAPE);
        }
        ASSERT_EQ(PosledniText(), kopiruje) << "the copy ended before the input was queued";

        HWND dalsi = CekejNa([&] {
            HWND h = OknoHlaseni(Pid());
            return h ? h : HlavniOkno(Pid());
        });
        ASSERT_TRUE(dalsi);
        ASSERT_EQ(dalsi, Hlavni()) << "no box, the main window: " << Utf8(CtiHlaseni(dalsi).text);
        EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), cil) << "the text the user typed";
        EXPECT_FALSE(OknoPrubehu(Pid()));
        EXPECT_FALSE(Existuje(Koren() + L"\\Cíl")) << "both created levels are gone";
        std::vector<std::wstring> texty = Hlasky().Texty();
        std::erase(texty, L"Instalace dokončena.");
        EXPECT_EQ(texty, (std::vector<std::wstring>{L"Připravuje se instalace.", L"Instaluje se.",
                                                    L"Instaluje se: Šablony", kopiruje,
                                                    L"Ruší se instalace: " + soubory_[0],
                                                    L"Ruší se instalace: Šablony"}));
        UkonciStornem();
    }
}

// While a run goes on, also during a long copy, its windows refuse the
// session's end; a session that ends all the same stops the run, which
// takes everything back.
TEST_F(Storno, KonecRelaceBehemKopieOdmitnutAZastaviBeh) {
    PripravSaduJednohoSouboru(800);
    NastavNovouVerzi();
    const auto posli = [](HWND okno, UINT zprava, WPARAM w) {
        DWORD_PTR r = 1;
        EXPECT_TRUE(::SendMessageTimeoutW(okno, zprava, w, 0, SMTO_ABORTIFHUNG, 1000, &r)) << "no answer";
        return r;
    };
    Spust();
    EXPECT_NE(posli(Hlavni(), WM_QUERYENDSESSION, 0), 0u) << "no run yet";
    Enter();
    HWND prubeh = CekejNa([&] { return OknoPrubehu(Pid()); });
    ASSERT_TRUE(prubeh);
    const std::wstring kopiruje = L"Instaluje se: " + soubory_[0];
    ASSERT_TRUE(CekejAz([&] { return PosledniText() == kopiruje; }));
    EXPECT_EQ(posli(prubeh, WM_QUERYENDSESSION, 0), 0u);
    EXPECT_EQ(posli(Hlavni(), WM_QUERYENDSESSION, 0), 0u) << "the hidden main window";
    posli(prubeh, WM_ENDSESSION, TRUE);
    ASSERT_EQ(PosledniText(), kopiruje) << "the copy ended before the session";

    CekejNaHlavniOkno();
    EXPECT_FALSE(OknoHlaseni(Pid()));
    EXPECT_FALSE(Existuje(Koren() + L"\\Office"));
    EXPECT_NE(posli(Hlavni(), WM_QUERYENDSESSION, 0), 0u) << "the run is over";
    UkonciStornem();
}

// The rollback cannot be stopped: its window, closed by the user while it
// runs, is made again by the next report with Storno still grey.
TEST_F(Storno, ZavreniOknaPriRuseniNechaStornoSede) {
    PripravVelkouSadu(3000);
    NastavNovouVerzi();
    Spust();
    Enter();
    HWND prubeh = PrubehZaSouborem(1500);
    ASSERT_TRUE(prubeh);
    ASSERT_TRUE(Aktivuj(prubeh));
    Klikni(::GetDlgItem(prubeh, IDC_PRUBEH_STORNO));
    ASSERT_TRUE(CekejAz([&] { return PosledniText().rfind(L"Ruší se instalace: ", 0) == 0; }));
    ASSERT_TRUE(Aktivuj(prubeh));
    Klavesa(VK_F4, true);

    HWND znovu = CekejNa([&] {
        HWND h = OknoPrubehu(Pid());
        return h != prubeh ? h : nullptr;
    });
    ASSERT_TRUE(znovu) << "the rollback's next report makes the window again";
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(znovu, IDC_PRUBEH_STORNO)));
    Snimek(znovu, L"prubeh-ruseni-znovu");

    CekejNaHlavniOkno();
    OverZpatecniCestu();
    EXPECT_FALSE(Existuje(Koren() + L"\\Office"));
    UkonciStornem();
}

// A box belongs to the program's visible window even while another program
// is in front: the progress window is disabled behind the completion box, so
// its Storno cannot be pressed while the box waits.
TEST_F(Storno, HlaseniPatriOknuPrubehuIZaJinymProgramem) {
    PripravVelkouSadu(2000);
    NastavNovouVerzi();
    Spust();
    Enter();
    HWND prubeh = PrubehZaSouborem(10);
    ASSERT_TRUE(prubeh);

    wchar_t systemova[MAX_PATH];
    ASSERT_TRUE(::GetSystemDirectoryW(systemova, MAX_PATH));
    Proces jiny = Proces::Spust(std::wstring(systemova) + L"\\notepad.exe");
    HWND jine = CekejNa([&] {
        auto okna = OknaProcesu(jiny.Id());
        return okna.empty() ? nullptr : okna.front();
    });
    ASSERT_TRUE(jine);
    ASSERT_TRUE(Aktivuj(jine));
    // The run takes the change in at its next reports.
    int poradi = PoradiInstalovaneho();
    CekejNaSoubor(poradi + 20);
    ASSERT_FALSE(OknoHlaseni(Pid())) << "the other program came to the front before the box";
    ASSERT_EQ(::GetForegroundWindow(), jine);

    Hlaseni h = CekejNaHlaseni();
    EXPECT_EQ(h.text, L"Instalace byla úspěšně dokončena.");
    EXPECT_EQ(::GetWindow(h.okno, GW_OWNER), prubeh) << "owned by the progress window";
    EXPECT_FALSE(::IsWindowEnabled(prubeh)) << "Storno behind the box is inert";
    RECT r, b;
    ::GetWindowRect(prubeh, &r);
    ::GetWindowRect(h.okno, &b);
    ::UnionRect(&r, &r, &b);
    Snimek(r, L"dokonceni-za-jinym-programem");
    PotvrdHlaseni(h);
    EXPECT_TRUE(Program().CekejNaKonec(Cekani()));
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
        setup::UchytSouboru f(::CreateFileW((sada + L"\\" + velka).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
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
