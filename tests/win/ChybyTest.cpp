// mChyby: the platform's texts, the throwers and the real message box.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <thread>

#include "Pomoc.h"
#include "win32/Win32.h"

namespace setup {
namespace {

// The raw text FormatMessageW gives, line break and all.
std::wstring SurovyText(DWORD kod) {
    wchar_t buffer[1024];
    const DWORD delka = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                       nullptr, kod, 0, buffer, 1024, nullptr);
    return std::wstring(buffer, delka);
}

bool KonciZalomenim(const std::wstring& text) {
    return !text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ');
}

TEST(PopisSystemoveChyby, SystemTextWithoutTrailingLineBreak) {
    for (DWORD kod : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_FILE_EXISTS,
                      ERROR_DIR_NOT_EMPTY, ERROR_PATH_NOT_FOUND}) {
        const std::wstring surovy = SurovyText(kod);
        ASSERT_TRUE(KonciZalomenim(surovy)) << kod;   // what is to be trimmed is there
        const std::wstring popis = PopisSystemoveChyby(kod);
        EXPECT_FALSE(popis.empty()) << kod;
        EXPECT_FALSE(KonciZalomenim(popis)) << kod;
        EXPECT_EQ(surovy.compare(0, popis.size(), popis), 0) << kod;
    }
}

TEST(PopisSystemoveChyby, HresultOfAWin32ErrorReadsAsTheError) {
    EXPECT_EQ(PopisSystemoveChyby(static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED))),
              PopisSystemoveChyby(ERROR_ACCESS_DENIED));
}

TEST(PopisSystemoveChyby, NumberWithoutSystemTextIsNamed) {
    EXPECT_EQ(PopisSystemoveChyby(987654), L"Systémová chyba číslo 987654.");
    EXPECT_EQ(PopisSystemoveChyby(0x8FFF1234), L"Systémová chyba číslo 0x8FFF1234.");
}

TEST(Vyvolej, ThreeShapesCarryNumberSourceAndDescription) {
    try {
        VyvolejWin32(ERROR_FILE_EXISTS, L"Kopiruj C:\\a -> C:\\b");
        FAIL();
    } catch (const Chyba& ch) {
        EXPECT_EQ(ch.cislo, ERROR_FILE_EXISTS);
        EXPECT_EQ(ch.zdroj, L"Kopiruj C:\\a -> C:\\b");
        EXPECT_EQ(ch.popis, PopisSystemoveChyby(ERROR_FILE_EXISTS));
    }
    try {
        SetLastError(ERROR_DIR_NOT_EMPTY);
        VyvolejPosledni(L"OdstranSlozku C:\\a");
        FAIL();
    } catch (const Chyba& ch) {
        EXPECT_EQ(ch.cislo, ERROR_DIR_NOT_EMPTY);
        EXPECT_EQ(ch.zdroj, L"OdstranSlozku C:\\a");
        EXPECT_EQ(ch.popis, PopisSystemoveChyby(ERROR_DIR_NOT_EMPTY));
    }
    try {
        VyvolejHresult(E_ACCESSDENIED, L"Link");
        FAIL();
    } catch (const Chyba& ch) {
        EXPECT_EQ(ch.cislo, static_cast<int32_t>(E_ACCESSDENIED));
        EXPECT_EQ(ch.popis, PopisSystemoveChyby(ERROR_ACCESS_DENIED));
    }
}

TEST(Vyvolej, FailureWithoutReasonIsNotReportedAsSuccess) {
    try {
        SetLastError(ERROR_SUCCESS);
        VyvolejPosledni(L"x");
        FAIL();
    } catch (const Chyba& ch) {
        EXPECT_NE(ch.cislo, 0);
        EXPECT_NE(ch.popis, PopisSystemoveChyby(ERROR_SUCCESS));
    }
}

TEST(Vyvolej, RealFailureGivesTheSystemDescription) {
    test::TestovaciSlozka slozka;
    Win32Soubory soubory;
    try {
        soubory.SmazSoubor(slozka.Cesta(L"missing.dot"));
        FAIL();
    } catch (const Chyba& ch) {
        EXPECT_EQ(ch.cislo, ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(ch.popis, SurovyText(ERROR_FILE_NOT_FOUND).substr(0, ch.popis.size()));
        EXPECT_FALSE(KonciZalomenim(ch.popis));
        EXPECT_NE(ch.zdroj.find(slozka.Cesta(L"missing.dot")), std::wstring::npos);
    }
}

TEST(ChybaZVyjimky, KeepsChybaAndNamesTheRest) {
    const auto zachyt = [](auto vyhod) {
        try {
            vyhod();
        } catch (...) {
            return ChybaZVyjimky();
        }
        return Chyba();
    };
    const Chyba vlastni = zachyt([] { throw Chyba(CisloVlastniChyby, L"Setup", L"Text"); });
    EXPECT_EQ(vlastni.cislo, CisloVlastniChyby);
    EXPECT_EQ(vlastni.popis, L"Text");
    // The numbers the platform gives these failures, so that the engine and
    // this layer report them alike.
    const Chyba pamet = zachyt([] { throw std::bad_alloc(); });
    EXPECT_EQ(pamet.cislo, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(pamet.popis, L"Nedostatek paměti.");
    const Chyba jina = zachyt([] { throw 42; });
    EXPECT_EQ(jina.cislo, ERROR_INTERNAL_ERROR);
    EXPECT_EQ(jina.popis, L"Vnitřní chyba programu.");
}

// The box itself: another thread finds it, reads it and presses OK.
struct NalezenyBox {
    std::wstring titulek;
    std::wstring text;
    bool ikona = false;
};

BOOL CALLBACK NajdiBox(HWND okno, LPARAM param) {
    wchar_t trida[64];
    GetClassNameW(okno, trida, 64);
    DWORD proces = 0;
    GetWindowThreadProcessId(okno, &proces);
    if (proces == GetCurrentProcessId() && std::wstring(trida) == L"#32770" && IsWindowVisible(okno)) {
        *reinterpret_cast<HWND*>(param) = okno;
        return FALSE;
    }
    return TRUE;
}

// A static control showing an icon (the stop sign of style 16).
BOOL CALLBACK NajdiIkonu(HWND okno, LPARAM param) {
    wchar_t trida[64];
    GetClassNameW(okno, trida, 64);
    const LONG_PTR styl = GetWindowLongPtrW(okno, GWL_STYLE);
    if (_wcsicmp(trida, L"Static") == 0 && (styl & SS_TYPEMASK) == SS_ICON &&
        SendMessageW(okno, STM_GETICON, 0, 0) != 0) {
        *reinterpret_cast<bool*>(param) = true;
    }
    return TRUE;
}

TEST(Win32Hlaseni, ShowsTheBoxAndReturnsTheButton) {
    std::atomic<bool> konec{false};
    NalezenyBox nalez;
    std::thread obsluha([&] {
        for (int i = 0; i < 1000 && !konec; ++i) {
            HWND box = nullptr;
            EnumWindows(NajdiBox, reinterpret_cast<LPARAM>(&box));
            if (box) {
                wchar_t text[256];
                GetWindowTextW(box, text, 256);
                nalez.titulek = text;
                GetDlgItemTextW(box, 0xFFFF, text, 256);   // the box's message text
                nalez.text = text;
                EnumChildWindows(box, NajdiIkonu, reinterpret_cast<LPARAM>(&nalez.ikona));
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(10);
        }
    });
    Win32Hlaseni hlaseni;
    const int tlacitko = hlaseni.Zprava(L"Nelze otevřít regist.", L"Setup", StylKriticka);
    konec = true;
    obsluha.join();
    EXPECT_EQ(tlacitko, IDOK);
    EXPECT_EQ(nalez.titulek, L"Setup");
    EXPECT_EQ(nalez.text, L"Nelze otevřít regist.");
    EXPECT_TRUE(nalez.ikona);
}

}  // namespace
}  // namespace setup
