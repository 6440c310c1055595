// Stopping a long install from the progress window: with its Storno button,
// with its close command, with Esc; the rollback and what it leaves.
#include <algorithm>

#include "Scenar.h"
#include "ui/Ovladace.h"

namespace e2e {
namespace {

class Storno : public Scenar {
protected:
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

}  // namespace
}  // namespace e2e
