// Registry data of every shape an office suite or anybody else could leave,
// read by Setup.exe's start-up: a value that is not text or not four bytes
// of number counts as missing, text without its NUL or with an odd byte is
// read up to its last whole character, and a megabyte of text starts the
// program and is refused clearly at OK; nothing is ever left behind.
#include "Stopy.h"
#include "ui/Ovladace.h"

namespace hardening {
namespace {

using namespace e2e;

std::vector<uint8_t> Bajty(const std::wstring& text) {
    std::vector<uint8_t> b;
    for (wchar_t z : text) {
        b.push_back(static_cast<uint8_t>(z & 0xFF));
        b.push_back(static_cast<uint8_t>(z >> 8));
    }
    return b;
}

class Registr : public Stopy {
protected:
    void Uloz(HKEY koren, const wchar_t* klic, const wchar_t* nazev, DWORD typ, const std::vector<uint8_t>& data) {
        HKEY k = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(koren, klic, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
        LONG r = ::RegSetValueExW(k, nazev, 0, typ, data.empty() ? nullptr : data.data(), static_cast<DWORD>(data.size()));
        ::RegCloseKey(k);
        ASSERT_EQ(r, ERROR_SUCCESS);
    }

    // The target the main window proposes; the program is ended with Esc.
    std::wstring Navrh() {
        Spust();
        std::wstring t = Text(Prvek(IDC_SLOZKA));
        UkonciStornem();
        return t;
    }
};

TEST_F(Registr, CestaVsechTvaru) {
    PripravSadu();
    const std::wstring bezHodnoty = Navrh();
    ASSERT_EQ(bezHodnoty, std::wstring(L"C:\\Program Files\\Microsoft Office\\Templates\\") + NazevSady);
    Vyfot();

    const std::wstring program = Koren() + L"\\Office\\Office\\";
    const std::wstring spravny = Koren() + L"\\Office\\Templates\\" + NazevSady;
    struct Pripad {
        const char* popis;
        DWORD typ;
        std::vector<uint8_t> data;
        std::wstring cil;
    };
    auto text = Bajty(program);
    auto sNulou = text;
    sNulou.insert(sNulou.end(), {0, 0});
    auto lichy = text;
    lichy.push_back('Z');
    auto smeti = sNulou;
    for (int i = 0; i < 64; ++i) smeti.push_back(static_cast<uint8_t>(0x41 + i));
    std::vector<Pripad> pripady{
        {"REG_SZ with its NUL", REG_SZ, sNulou, spravny},
        {"REG_SZ without a NUL", REG_SZ, text, spravny},
        {"REG_SZ of an odd size", REG_SZ, lichy, spravny},
        {"REG_SZ with bytes after its NUL", REG_SZ, smeti, spravny},
        {"REG_SZ of no bytes", REG_SZ, {}, bezHodnoty},
        {"REG_SZ of one byte", REG_SZ, {'C'}, bezHodnoty},
        {"REG_DWORD of 0 bytes", REG_DWORD, {}, bezHodnoty},
        {"REG_DWORD of 1 byte", REG_DWORD, {7}, bezHodnoty},
        {"REG_DWORD of 3 bytes", REG_DWORD, {7, 0, 0}, bezHodnoty},
        {"REG_DWORD of 8 bytes", REG_DWORD, {7, 0, 0, 0, 0, 0, 0, 0}, bezHodnoty},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, sNulou, bezHodnoty},
        {"REG_MULTI_SZ", REG_MULTI_SZ, sNulou, bezHodnoty},
        {"REG_BINARY", REG_BINARY, text, bezHodnoty},
    };
    for (auto& p : pripady) {
        SCOPED_TRACE(p.popis);
        Uloz(HKEY_LOCAL_MACHINE, KlicNovy, L"Path", p.typ, p.data);
        EXPECT_EQ(Navrh(), p.cil);
    }
    SmazKlic(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Office");
    OverStopy();
}

TEST_F(Registr, MegabajtTextu) {
    PripravSadu();
    // Half a million characters of folder names, without a NUL at the end.
    std::wstring obr = L"C:\\";
    while (obr.size() < 512 * 1024) obr += L"Složka kancelářského balíku\\";
    Uloz(HKEY_LOCAL_MACHINE, KlicNovy, L"Path", REG_SZ, Bajty(obr));
    Uloz(HKEY_CURRENT_USER, KlicUzivatele, L"Templates", REG_SZ, Bajty(std::wstring(512 * 1024, L'š')));
    Vyfot();
    Spust();
    std::wstring cil = Text(Prvek(IDC_SLOZKA));
    EXPECT_GT(cil.size(), 1000u) << "the long proposal is shown";
    Enter();
    Hlaseni h = CekejNaHlaseni();
    EXPECT_EQ(h.ikona, Ikona::Stop);
    EXPECT_EQ(h.text.rfind(L"Cesta „C:\\Složka kancelářského balíku\\", 0), 0u) << Utf8(h.text.substr(0, 200));
    EXPECT_NE(h.text.find(L"je příliš dlouhá"), std::wstring::npos);
    EXPECT_LT(h.text.size(), 400u) << "the box shows the path shortened";
    PotvrdHlaseni(h);
    CekejNaHlavniOkno();
    UkonciStornem();
    OverStopy();
}

}  // namespace
}  // namespace hardening
