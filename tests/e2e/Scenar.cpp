#include "Scenar.h"

#include <sddl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "ui/Ovladace.h"

namespace e2e {

namespace {

[[noreturn]] void Selhani(const std::string& co) { throw std::runtime_error(co); }

std::wstring NazevTestu() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string s = std::string(info->test_suite_name()) + "." + info->name();
    std::wstring w;
    for (char c : s) w += (c == '/' ? L'_' : static_cast<wchar_t>(c));
    return w;
}

}  // namespace

std::wstring Uvitani(const std::wstring& sada) {
    return L"Tento program nainstaluje šablony '" + sada +
           L"' na váš počítač.\r\n\r\n  Instalaci můžete zahájit klepnutím na tlačítko OK. Pokud si "
           L"přejete změnit umístění šablon, zadejte jinou cílovou složku. Existující složku můžete "
           L"nalistovat tlačítkem Procházet. Pokud si nepřejete pokračovat v instalaci, ukončete "
           L"instalační program klepnutím na tlačítko Storno.";
}

std::vector<std::wstring> HlaskyUspechu(const std::vector<std::wstring>& soubory, bool sOdkazem,
                                        const std::wstring& nazevOdkazu) {
    std::vector<std::wstring> v{L"Připravuje se instalace.", L"Instaluje se.", L"Instaluje se: Šablony"};
    if (sOdkazem) v.push_back(L"Instaluje se: Zástupci");
    for (auto& s : soubory) v.push_back(L"Instaluje se: " + s);
    if (sOdkazem) v.push_back(L"Instaluje se: " + nazevOdkazu);
    v.push_back(L"Instalace dokončena.");
    return v;
}

// Under Wine every program of the Unix user has the same rights, so Setup
// keeps its records in the user's folder even when its token says elevated.
std::wstring SlozkaZaznamu() { return SlozkaMistnichDat() + L"\\Instalace šablon"; }

bool ZbylZaznam() {
    for (const auto& s : SouboryVeSlozce(SlozkaZaznamu()))
        if (s.rfind(L"beh", 0) == 0) return true;
    return false;
}

std::wstring KlicAplikace(const std::wstring& sada) {
    return L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Instalace šablon - " + sada;
}

namespace {
// Every scenario starts with no set entered among the installed programs.
void SmazPolozkyAplikaci() {
    const std::wstring odinstalace = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    std::vector<std::wstring> klice;
    HKEY h = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, odinstalace.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return;
    wchar_t nazev[256];
    for (DWORD i = 0, n = 256; ::RegEnumKeyExW(h, i, nazev, &n, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, n = 256)
        if (std::wstring(nazev).rfind(L"Instalace šablon - ", 0) == 0) klice.push_back(odinstalace + L"\\" + nazev);
    ::RegCloseKey(h);
    for (const auto& k : klice) SmazKlic(HKEY_CURRENT_USER, k);
}
}  // namespace

void OverSoubory(const std::wstring& sada, const std::wstring& cil) {
    auto soubory = SouboryVeSlozce(sada);
    ASSERT_FALSE(soubory.empty());
    auto serazene = soubory;
    std::sort(serazene.begin(), serazene.end());
    EXPECT_EQ(Strom(cil), serazene);
    for (auto& s : soubory) {
        EXPECT_EQ(CtiSoubor(cil + L"\\" + s), CtiSoubor(sada + L"\\" + s)) << Utf8(s);
        EXPECT_FALSE(Atributy(cil + L"\\" + s) & FILE_ATTRIBUTE_READONLY) << Utf8(s);
    }
}

void UlozOdkazProLnkinfo(const std::wstring& odkaz, const std::wstring& nazev, const std::wstring& cil) {
    std::wstring slozka = Prostredi(L"SETUP_E2E_ODKAZY");
    if (slozka.empty()) return;
    VytvorSlozky(slozka);
    ::CopyFileW(odkaz.c_str(), (slozka + L"\\" + nazev + L".lnk").c_str(), FALSE);
    ZapisSoubor(slozka + L"\\" + nazev + L".cil", Utf8(cil));
}

void Scenar::SetUp() {
    koren_ = L"C:\\e2e\\" + NazevTestu();
    SmazStrom(koren_);
    SmazStrom(SlozkaZaznamu());
    SmazPolozkyAplikaci();
    SmazKlic(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Office");
    SmazKlic(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Office");
    SmazKlic(HKEY_CURRENT_USER, L"Software\\Policies\\Microsoft\\Office");
    VytvorSlozky(Medium());
    std::wstring exe = Prostredi(L"SETUP_E2E_EXE");
    if (exe.empty()) Selhani("SETUP_E2E_EXE není nastaveno");
    if (!::CopyFileW(exe.c_str(), SetupExe().c_str(), FALSE)) Selhani("Setup.exe nelze zkopírovat");
}

void Scenar::TearDown() {
    if (proces_ && proces_->Bezi()) {
        ADD_FAILURE() << "Setup.exe still runs at the end of the scenario";
        proces_->Zabij();
    }
    proces_.reset();
    zaznam_.reset();
    SmazKlic(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Office");
    SmazKlic(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Office");
    SmazKlic(HKEY_CURRENT_USER, L"Software\\Policies\\Microsoft\\Office");
    for (auto& s : linkoveSlozky_) SmazStrom(s);
    // Every run ends with its record gone; one left behind would be taken
    // back by the next scenario's first start.
    if (ZbylZaznam() && !HasFailure()) ADD_FAILURE() << "a run left its record behind";
    SmazStrom(SlozkaZaznamu());
    SmazPolozkyAplikaci();
    if (Prostredi(L"SETUP_E2E_NECHAT").empty()) SmazStrom(koren_);
}

std::wstring Scenar::PripravSadu(const std::wstring& nazev) {
    std::wstring vzory = Prostredi(L"SETUP_E2E_VZORY");
    if (vzory.empty()) Selhani("SETUP_E2E_VZORY není nastaveno");
    std::wstring sada = Medium() + L"\\" + nazev;
    VytvorSlozky(sada);
    for (auto& s : SouboryVeSlozce(vzory))
        if (!::CopyFileW((vzory + L"\\" + s).c_str(), (sada + L"\\" + s).c_str(), FALSE))
            Selhani("vzor nelze zkopírovat");
    return sada;
}

std::wstring Scenar::NastavNovouVerzi() {
    NastavText(HKEY_LOCAL_MACHINE, KlicNovy, L"Path", koren_ + L"\\Office\\Office\\");
    return koren_ + L"\\Office\\Templates";
}

std::wstring Scenar::ObsadCilSouborem(const std::string& obsah) {
    const std::wstring sablony = NastavNovouVerzi();
    const std::wstring cil = sablony + L"\\" + NazevSady;
    VytvorSlozky(sablony);
    ZapisSoubor(cil, obsah);
    return cil;
}

std::wstring Scenar::NastavSablonyUzivatele(const std::wstring& nazev) {
    NastavText(HKEY_CURRENT_USER, KlicUzivatele, L"Templates", nazev);
    std::wstring slozka = SlozkaAplikacnichDat() + L"\\Microsoft\\" + nazev;
    SmazStrom(slozka);
    linkoveSlozky_.push_back(slozka);
    return slozka;
}

void Scenar::UklidSlozku(const std::wstring& slozka) {
    SmazStrom(slozka);
    linkoveSlozky_.push_back(slozka);
}

std::wstring Scenar::PripravVelkouSadu(int pocet) {
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

void Scenar::SpustBezCekani(const std::wstring& argumenty) {
    zaznam_ = std::make_unique<Zaznam>(koren_ + L"\\zaznam.txt");
    std::vector<std::pair<std::wstring, std::wstring>> prostredi{{L"SETUP_E2E_ZAZNAM", zaznam_->Soubor()}};
    if (!stornoPri_.empty()) prostredi.emplace_back(L"SETUP_E2E_STORNO_PRI", stornoPri_);
    proces_ = std::make_unique<Proces>(Proces::Spust(SetupExe(), prostredi, argumenty));
}

void Scenar::Spust() {
    SpustBezCekani();
    PockejNaHlavni();
}

void Scenar::PockejNaHlavni() {
    hlavni_ = CekejNa([&] { return HlavniOkno(Pid()); });
    if (!hlavni_) Selhani("hlavní okno se neukázalo");
    zaznam_->Pripoj(proces_->Vlakno());
    CekejNaKlid(hlavni_);
}

Hlaseni Scenar::CekejNaHlaseni() {
    HWND h = CekejNa([&] { return OknoHlaseni(Pid()); });
    if (!h) Selhani("žádné hlášení se neukázalo");
    CekejNaKlid(h);
    return CtiHlaseni(h);
}

Hlaseni Scenar::CekejNaChybu() {
    Hlaseni h = CekejNaHlaseni();
    EXPECT_EQ(h.titulek, L"Setup");
    EXPECT_EQ(h.tlacitka, std::vector<std::wstring>{L"OK"});
    EXPECT_EQ(h.ikona, Ikona::Stop);
    return h;
}

void Scenar::PotvrdHlaseni(const Hlaseni& h) {
    if (!Aktivuj(h.okno)) Selhani("hlášení nelze aktivovat");
    Klavesa(VK_RETURN);
    if (!CekejAz([&] { return !::IsWindow(h.okno); })) Selhani("hlášení se nezavřelo");
}

HWND Scenar::CekejNaHlavniOkno() {
    HWND h = CekejNa([&] { return HlavniOkno(Pid()); });
    if (!h) Selhani("hlavní okno se nevrátilo");
    return h;
}

DWORD Scenar::UkonciStornem() {
    if (!Aktivuj(hlavni_)) Selhani("hlavní okno nelze aktivovat");
    Klavesa(VK_ESCAPE);
    if (!proces_->CekejNaKonec(Cekani())) Selhani("program po Stornu neskončil");
    return proces_->Kod();
}

void Scenar::Enter() {
    if (!Aktivuj(hlavni_)) Selhani("hlavní okno nelze aktivovat");
    Klavesa(VK_RETURN);
}

void Scenar::ZadejCil(const std::wstring& cil) {
    Klikni(Prvek(IDC_SLOZKA));
    if (!CekejAz([&] { return Fokus(proces_->Vlakno()) == Prvek(IDC_SLOZKA); }))
        Selhani("textové pole nedostalo fokus");
    Klavesa(VK_HOME);
    Klavesa(VK_END, false, true);
    Pis(cil);
    if (!CekejAz([&] { return Text(Prvek(IDC_SLOZKA)) == cil; }))
        Selhani("v textovém poli je " + Utf8(Text(Prvek(IDC_SLOZKA))));
}

Hlaseni Scenar::InstalujAPotvrd() {
    Enter();
    Hlaseni h = CekejNaHlaseni();
    PotvrdHlaseni(h);
    if (!proces_->CekejNaKonec(Cekani())) Selhani("program po instalaci neskončil");
    return h;
}

void Scenar::OverOdmitnutyCil(const std::wstring& zacatek, const std::wstring& snimek) {
    // The status log is written under the scenario's folder as the run goes.
    const auto stav = [&] {
        auto v = Strom(koren_);
        v.erase(std::remove(v.begin(), v.end(), L"zaznam.txt"), v.end());
        return v;
    };
    const std::wstring text = Text(Prvek(IDC_SLOZKA));
    const auto pred = stav();
    const size_t hlasekPred = zaznam_->Texty().size();
    const auto korenDisku = SouboryVeSlozce(L"C:\\");

    Enter();
    Hlaseni h = CekejNaChybu();
    EXPECT_EQ(h.text.rfind(zacatek, 0), 0u) << Utf8(h.text);
    Snimek(h.okno, snimek);
    PotvrdHlaseni(h);

    EXPECT_EQ(CekejNaHlavniOkno(), hlavni_);
    EXPECT_EQ(Text(Prvek(IDC_SLOZKA)), text);
    EXPECT_FALSE(OknoHlaseni(Pid())) << "one box only";
    EXPECT_FALSE(OknoPrubehu(Pid()));
    const auto hlasky = zaznam_->Texty();
    EXPECT_EQ(std::vector<std::wstring>(hlasky.begin() + std::min(hlasekPred, hlasky.size()), hlasky.end()),
              std::vector<std::wstring>{L"Připravuje se instalace."})
        << "refused while the run prepares";
    EXPECT_EQ(stav(), pred);
    EXPECT_EQ(SouboryVeSlozce(L"C:\\"), korenDisku);
}

int Scenar::PoradiInstalovaneho() const {
    const std::wstring text = zaznam_->PosledniText();
    if (text == L"Instalace dokončena.") return static_cast<int>(soubory_.size());
    return PoradiVHlasce(text, L"Instaluje se: ");
}

int Scenar::PoradiVHlasce(const std::wstring& text, const std::wstring& zacatek) const {
    if (text.rfind(zacatek, 0) != 0) return -1;
    auto i = std::find(soubory_.begin(), soubory_.end(), text.substr(zacatek.size()));
    return i == soubory_.end() ? -1 : static_cast<int>(i - soubory_.begin());
}

HWND Scenar::PrubehZaSouborem(int poradi) {
    HWND prubeh = CekejNa([&] { return OknoPrubehu(Pid()); });
    if (!prubeh) {
        ADD_FAILURE() << "no progress window";
    } else if (!CekejAz([&] { return PoradiInstalovaneho() >= poradi; })) {
        ADD_FAILURE() << "the run did not get to file " << poradi;
        return nullptr;
    }
    return prubeh;
}

}  // namespace e2e
