// Browse: the shell's folder browser opened from the main window, cancelled
// or confirmed.
#include <shlobj.h>

#include "Scenar.h"
#include "ui/Ovladace.h"

namespace e2e {
namespace {

class Prochazet : public Scenar {
protected:
    HWND OtevriProhlizec(bool klavesou) {
        if (!Aktivuj(Hlavni())) {
            ADD_FAILURE() << "the main window did not come to the foreground";
            return nullptr;
        }
        if (klavesou)
            Klavesa('P', true);   // Alt+P, the button's access key
        else
            Klikni(Prvek(IDC_CMDPROCHAZET));
        HWND p = CekejNa([&] { return ProhlizecSlozek(Pid()); });
        if (p) CekejNaKlid(p);
        return p;
    }

    // Selects a folder in the open browser the way a program drives it: the
    // browser's own selection message with the path placed in the browsing
    // process.
    bool VyberVProhlizeci(HWND prohlizec, const std::wstring& slozka) {
        size_t velikost = (slozka.size() + 1) * sizeof(wchar_t);
        void* vzdalena = ::VirtualAllocEx(Program().Handle(), nullptr, velikost, MEM_COMMIT, PAGE_READWRITE);
        if (!vzdalena) return false;
        bool ok = ::WriteProcessMemory(Program().Handle(), vzdalena, slozka.c_str(), velikost, nullptr);
        DWORD_PTR r = 0;
        if (ok)
            ok = ::SendMessageTimeoutW(prohlizec, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(vzdalena),
                                       SMTO_ABORTIFHUNG, 5000, &r);
        ::VirtualFreeEx(Program().Handle(), vzdalena, 0, MEM_RELEASE);
        return ok;
    }

    bool ObsahujeText(HWND okno, const std::wstring& text) {
        if (Text(okno) == text) return true;
        for (HWND p : Potomci(okno))
            if (Text(p) == text) return true;
        return false;
    }

    // Chooses the folder in the browser and confirms with its OK button.
    void Vyber(const std::wstring& slozka, bool klavesou) {
        HWND p = OtevriProhlizec(klavesou);
        ASSERT_TRUE(p) << "the folder browser did not open";
        ASSERT_TRUE(VyberVProhlizeci(p, slozka));
        HWND ok = ::GetDlgItem(p, IDOK);
        ASSERT_TRUE(ok);
        ASSERT_TRUE(CekejAz([&] { return ::IsWindowEnabled(ok) != FALSE; }));
        CekejNaKlid(p);
        Klikni(ok);
        ASSERT_TRUE(CekejAz([&] { return !::IsWindow(p); }));
        CekejNaKlid(Hlavni());
    }
};

TEST_F(Prochazet, StornoVProhlizeciNechaText) {
    PripravSadu();
    NastavNovouVerzi();
    Spust();
    std::wstring puvodni = Text(Prvek(IDC_SLOZKA));
    HWND p = OtevriProhlizec(false);
    ASSERT_TRUE(p);
    EXPECT_TRUE(ObsahujeText(p, L"Vyberte cílovou složku"));
    EXPECT_EQ(::GetWindow(p, GW_OWNER), Hlavni());
    EXPECT_FALSE(::IsWindowEnabled(Hlavni())) << "the browser is modal";
    Snimek(p, L"prochazet");
    HWND zrusit = ::GetDlgItem(p, IDCANCEL);
    ASSERT_TRUE(zrusit);
    Klikni(zrusit);
    ASSERT_TRUE(CekejAz([&] { return !::IsWindow(p); }));
    CekejNaKlid(Hlavni());
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), puvodni);
    EXPECT_NE(Fokus(Program().Vlakno()), Prvek(IDC_SLOZKA)) << "a cancel does not move the focus to the text box";
    EXPECT_TRUE(::IsWindowEnabled(Hlavni()));
    UkonciStornem();
}

TEST_F(Prochazet, VybranaSlozkaVTextuSKurzoremNaKonci) {
    PripravSadu();
    std::wstring slozka = Koren() + L"\\Vybraná složka";
    VytvorSlozky(slozka);
    Spust();
    Vyber(slozka, true);
    // The chosen folder itself: no set name added.
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), slozka);
    EXPECT_EQ(Fokus(Program().Vlakno()), Prvek(IDC_SLOZKA));
    DWORD_PTR vyber = 0;
    ::SendMessageTimeoutW(Prvek(IDC_SLOZKA), EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &vyber);
    EXPECT_EQ(LOWORD(vyber), slozka.size()) << "caret after the last character";
    EXPECT_EQ(HIWORD(vyber), slozka.size()) << "nothing selected";
    UkonciStornem();
}

// The browser offers drives too; the text keeps the root's "\", and OK
// refuses it as a target like a typed one.
TEST_F(Prochazet, KorenDiskuSiNechaLomitkoAleOKHoOdmitne) {
    PripravSadu();
    Spust();
    Vyber(L"C:\\", false);
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), L"C:\\");
    OverOdmitnutyCil(L"Do kořenové složky jednotky nebo sdílené složky („C:\\“)", L"chyba-cil-koren-prochazet");
    UkonciStornem();
}

}  // namespace
}  // namespace e2e
