// The progress window's self-drawn controls: what they answer, and that a
// change reaches the window's pixels at once, with no message handled.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/KresleneOvladace.h"
#include "ui/Ovladace.h"

namespace setup::ui {
namespace {

class KresleneOvladace : public testing::Test {
protected:
    void SetUp() override {
        RegistrujKresleneOvladace();
        rodic_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 10, 10, 300, 60,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(rodic_);
        UpdateWindow(rodic_);
    }
    void TearDown() override { DestroyWindow(rodic_); }

    HWND Pridej(const wchar_t* trida, const wchar_t* text, int id, int sirka) {
        HWND h = CreateWindowExW(0, trida, text, WS_CHILD | WS_VISIBLE, 5, 5, sirka, 20, rodic_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
        UpdateWindow(h);
        return h;
    }

    // Pixels as the window holds them now; nothing is pumped in between.
    static COLORREF Bod(HWND h, int x, int y) {
        HDC dc = GetDC(h);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(h, dc);
        return c;
    }

    static int Popredi(HWND h, int sirka) {
        int n = 0;
        const COLORREF pozadi = Bod(h, sirka - 1, 19);
        for (int x = 0; x < sirka; ++x)
            for (int y = 0; y < 20; ++y) n += Bod(h, x, y) != pozadi;
        return n;
    }

    HWND rodic_ = nullptr;
};

TEST_F(KresleneOvladace, StatusLineKeepsItsTextAndAnswersForIt) {
    HWND radek = Pridej(TridaRadku, L"...", IDC_TEXT, 200);
    wchar_t b[64];
    EXPECT_EQ(GetWindowTextW(radek, b, 64), 3);
    EXPECT_STREQ(b, L"...");

    const std::wstring text = L"Instaluje se: Šablona A&B.dot";
    ASSERT_TRUE(SetWindowTextW(radek, text.c_str()));
    EXPECT_EQ(GetWindowTextLengthW(radek), static_cast<int>(text.size()));
    EXPECT_EQ(GetWindowTextW(radek, b, 64), static_cast<int>(text.size()));
    EXPECT_EQ(std::wstring(b), text);
    // A short buffer gets the start of the text, NUL-terminated.
    EXPECT_EQ(SendMessageW(radek, WM_GETTEXT, 5, reinterpret_cast<LPARAM>(b)), 4);
    EXPECT_STREQ(b, L"Inst");
    EXPECT_EQ(SendMessageW(radek, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(b)), 0);

    auto pismo = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(radek, WM_SETFONT, reinterpret_cast<WPARAM>(pismo), FALSE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(radek, WM_GETFONT, 0, 0)), pismo);
}

TEST_F(KresleneOvladace, StatusLineDrawsEachTextAtOnce) {
    HWND radek = Pridej(TridaRadku, L"", IDC_TEXT, 200);
    EXPECT_EQ(Popredi(radek, 200), 0);
    SetWindowTextW(radek, L"Instaluje se: Šablona 0001.dot");
    const int plny = Popredi(radek, 200);
    EXPECT_GT(plny, 0);
    SetWindowTextW(radek, L"I");
    const int kratky = Popredi(radek, 200);
    EXPECT_GT(kratky, 0);
    EXPECT_LT(kratky, plny) << "the old text is wiped before the new one is drawn";
    SetWindowTextW(radek, L"");
    EXPECT_EQ(Popredi(radek, 200), 0);
}

TEST_F(KresleneOvladace, StatusLineShowsAmpersandsOfFileNames) {
    // Read as access-key markers, "&&" would draw a single "&".
    HWND radek = Pridej(TridaRadku, L"", IDC_TEXT, 200);
    SetWindowTextW(radek, L"&");
    const int jeden = Popredi(radek, 200);
    SetWindowTextW(radek, L"&&");
    EXPECT_GT(Popredi(radek, 200), jeden);
}

TEST_F(KresleneOvladace, BarFillsToTheWidthGivenAtOnce) {
    HWND pruh = Pridej(TridaPruhu, L"", IDC_UKAZATEL, 200);
    const COLORREF plna = GetSysColor(COLOR_ACTIVECAPTION);
    const COLORREF prazdna = GetSysColor(COLOR_WINDOW);
    ASSERT_NE(plna, prazdna);
    EXPECT_EQ(Bod(pruh, 0, 10), prazdna) << "a new bar is empty";

    SendMessageW(pruh, UM_SIRKAUKAZATELE, 50, 0);
    EXPECT_EQ(Bod(pruh, 0, 0), plna);
    EXPECT_EQ(Bod(pruh, 49, 19), plna);
    EXPECT_EQ(Bod(pruh, 50, 0), prazdna);

    // Shrinking wipes what was filled beyond the new end.
    SendMessageW(pruh, UM_SIRKAUKAZATELE, 20, 0);
    EXPECT_EQ(Bod(pruh, 19, 10), plna);
    EXPECT_EQ(Bod(pruh, 20, 10), prazdna);
    EXPECT_EQ(Bod(pruh, 49, 10), prazdna);

    // Wider than the strip: full, and nothing drawn outside it.
    SendMessageW(pruh, UM_SIRKAUKAZATELE, 500, 0);
    EXPECT_EQ(Bod(pruh, 199, 10), plna);
    EXPECT_EQ(Bod(rodic_, 5 + 200, 10), GetSysColor(COLOR_BTNFACE));

    // A repaint from scratch gives the same picture.
    SendMessageW(pruh, UM_SIRKAUKAZATELE, 120, 0);
    RedrawWindow(pruh, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Bod(pruh, 119, 10), plna);
    EXPECT_EQ(Bod(pruh, 120, 10), prazdna);
}

}  // namespace
}  // namespace setup::ui
