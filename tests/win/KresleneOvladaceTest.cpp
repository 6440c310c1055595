// The progress window's self-drawn controls: what they answer, that a
// change reaches the window's pixels at once, with no message handled, and
// what a screen reader reads of them and hears when they change.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/Uchyty.h"
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

    HWND Pridej(const wchar_t* trida, const wchar_t* text, int id, int sirka, DWORD styl = 0) {
        HWND h = CreateWindowExW(0, trida, text, WS_CHILD | WS_VISIBLE | styl, 5, 5, sirka, 20, rodic_,
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

TEST_F(KresleneOvladace, ControlsThatDrawWhenToldShowTheLatestStateThen) {
    HWND radek = Pridej(TridaRadku, L"", IDC_TEXT, 200, KsKreslitNaPokyn);
    SetWindowTextW(radek, L"Instaluje se: Šablona 0001.dot");
    EXPECT_EQ(Popredi(radek, 200), 0) << "kept, not drawn";
    SetWindowTextW(radek, L"I");
    SendMessageW(radek, UM_VYKRESLI, 0, 0);
    const int kratky = Popredi(radek, 200);
    EXPECT_GT(kratky, 0);
    SetWindowTextW(radek, L"Instaluje se: Šablona 0002.dot");
    SendMessageW(radek, UM_VYKRESLI, 0, 0);
    EXPECT_GT(Popredi(radek, 200), kratky);

    HWND pruh = Pridej(TridaPruhu, L"", IDC_UKAZATEL, 200, KsKreslitNaPokyn);
    const COLORREF plna = GetSysColor(COLOR_ACTIVECAPTION), prazdna = GetSysColor(COLOR_WINDOW);
    SendMessageW(pruh, UM_SIRKAUKAZATELE, 80, 40);
    EXPECT_EQ(Bod(pruh, 0, 10), prazdna) << "kept, not drawn";
    SendMessageW(pruh, UM_VYKRESLI, 0, 0);
    EXPECT_EQ(Bod(pruh, 79, 10), plna);
    // Shrunk and then painted only at its far end: the whole change shows.
    SendMessageW(pruh, UM_SIRKAUKAZATELE, 20, 10);
    const RECT konec{190, 0, 200, 20};
    RedrawWindow(pruh, &konec, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Bod(pruh, 19, 10), plna);
    EXPECT_EQ(Bod(pruh, 20, 10), prazdna);
}

// What a screen reader in another process does: it asks the window for its
// object and listens for events, which reach it while this thread takes its
// messages. Only events about a control's own client object count.
std::vector<std::pair<HWND, DWORD>> udalosti;

void CALLBACK ZapisUdalost(HWINEVENTHOOK, DWORD druh, HWND okno, LONG objekt, LONG dite, DWORD, DWORD) {
    if (objekt == OBJID_CLIENT && dite == CHILDID_SELF) udalosti.emplace_back(okno, druh);
}

VARIANT Sam() {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

class Pristupnost : public KresleneOvladace {
protected:
    HakUdalosti hak_{SetWinEventHook(
        EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, &ZapisUdalost, GetCurrentProcessId(), 0,
        WINEVENT_OUTOFCONTEXT)};

    // The events raised for a control since the last call.
    static std::vector<DWORD> Udalosti(HWND h) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        std::vector<DWORD> druhy;
        for (const auto& [okno, druh] : udalosti)
            if (okno == h) druhy.push_back(druh);
        udalosti.clear();
        return druhy;
    }

    static ComUkazatel<IAccessible> Objekt(HWND h) {
        ComUkazatel<IAccessible> a;
        EXPECT_EQ(AccessibleObjectFromWindow(h, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(a.put())),
                  S_OK);
        return a;
    }
    static LONG Role(IAccessible* a) {
        VARIANT role{};
        EXPECT_EQ(a->get_accRole(Sam(), &role), S_OK);
        return role.vt == VT_I4 ? role.lVal : -1;
    }
    // A name or a value; none reads as empty text.
    template <auto Dotaz>
    static std::wstring Text(IAccessible* a) {
        TextBstr text;
        const HRESULT hr = (a->*Dotaz)(Sam(), text.put());
        EXPECT_TRUE(hr == S_OK || hr == S_FALSE) << hr;
        return text ? std::wstring(text.get(), SysStringLen(text.get())) : std::wstring();
    }
};

constexpr auto Jmeno = &IAccessible::get_accName;
constexpr auto Hodnota = &IAccessible::get_accValue;
const std::vector<DWORD> ZmenaJmena{EVENT_OBJECT_NAMECHANGE};
const std::vector<DWORD> ZmenaHodnoty{EVENT_OBJECT_VALUECHANGE};

TEST_F(Pristupnost, StatusLineIsNamedByItsTextAndTellsOfEachChange) {
    HWND radek = Pridej(TridaRadku, L"...", IDC_TEXT, 200);
    ComUkazatel<IAccessible> a = Objekt(radek);
    ASSERT_TRUE(a);
    EXPECT_EQ(Role(a.get()), ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(Text<Jmeno>(a.get()), L"...");
    Udalosti(radek);

    // Read as a label, "A&B" would lose its "&".
    const std::wstring text = L"Instaluje se: Šablona A&B.dot";
    SetWindowTextW(radek, text.c_str());
    EXPECT_EQ(Udalosti(radek), ZmenaJmena);
    EXPECT_EQ(Text<Jmeno>(a.get()), text);
    SetWindowTextW(radek, text.c_str());
    EXPECT_TRUE(Udalosti(radek).empty()) << "the same text again changes nothing";
    SetWindowTextW(radek, L"");
    EXPECT_EQ(Udalosti(radek), ZmenaJmena);
    EXPECT_EQ(Text<Jmeno>(a.get()), L"");
}

TEST_F(Pristupnost, BarIsAProgressBarValuedByTheShareDone) {
    HWND pruh = Pridej(TridaPruhu, L"", IDC_UKAZATEL, 200);
    ComUkazatel<IAccessible> a = Objekt(pruh);
    ASSERT_TRUE(a);
    EXPECT_EQ(Role(a.get()), ROLE_SYSTEM_PROGRESSBAR);
    EXPECT_EQ(Text<Hodnota>(a.get()), L"0%");
    Udalosti(pruh);

    // 50 of 200 pixels would be 25 %: the value is the run's, not the picture's.
    SendMessageW(pruh, UM_SIRKAUKAZATELE, 50, 42);
    EXPECT_EQ(Text<Hodnota>(a.get()), L"42%");
    EXPECT_EQ(Udalosti(pruh), ZmenaHodnoty);
    SendMessageW(pruh, UM_SIRKAUKAZATELE, 60, 42);
    EXPECT_TRUE(Udalosti(pruh).empty()) << "a new width for the same share changes no value";
    EXPECT_EQ(Bod(pruh, 59, 10), GetSysColor(COLOR_ACTIVECAPTION));
    SendMessageW(pruh, UM_SIRKAUKAZATELE, 60, 100);
    SendMessageW(pruh, UM_SIRKAUKAZATELE, 60, 250);
    EXPECT_EQ(Text<Hodnota>(a.get()), L"100%");
    EXPECT_EQ(Udalosti(pruh), ZmenaHodnoty) << "beyond the whole is still the whole";
    SendMessageW(pruh, UM_SIRKAUKAZATELE, 60, 7);
    EXPECT_EQ(Text<Hodnota>(a.get()), L"7%");

    // The rest comes from the standard object made for this control's window.
    HWND okno = nullptr;
    EXPECT_EQ(WindowFromAccessibleObject(a.get(), &okno), S_OK);
    EXPECT_EQ(okno, pruh);
}

}  // namespace
}  // namespace setup::ui
