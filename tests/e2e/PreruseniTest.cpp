// A run killed from outside half way through a long install over the user's
// own templates, and the next start that takes it back before anything else.
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>
#include <random>

#include "Scenar.h"

namespace e2e {
namespace {

constexpr int PocetSouboru = 3000;
constexpr int UpravenychSablon = 50;
constexpr int Zabiti = 10;

// What a folder holds: every entry with its attributes and, for a file,
// its bytes.
using Obsah = std::map<std::wstring, std::pair<DWORD, std::string>>;

Obsah Precti(const std::wstring& slozka) {
    Obsah o;
    for (auto& r : Strom(slozka)) {
        const std::wstring cesta = slozka + L"\\" + r;
        const DWORD a = Atributy(cesta);
        o[r] = {a, a & FILE_ATTRIBUTE_DIRECTORY ? std::string() : CtiSoubor(cesta)};
    }
    return o;
}

// The first few differences, readable; empty when there are none.
std::string Rozdily(const Obsah& pred, const Obsah& po) {
    std::string s;
    int n = 0;
    auto pridej = [&](const std::wstring& nazev, const char* co) {
        if (n++ < 10) s += "\n  " + Utf8(nazev) + ": " + co;
    };
    for (auto& [nazev, x] : pred) {
        auto i = po.find(nazev);
        if (i == po.end()) pridej(nazev, "missing");
        else if (i->second.first != x.first) pridej(nazev, "other attributes");
        else if (i->second.second != x.second) pridej(nazev, "other content");
    }
    for (auto& [nazev, x] : po)
        if (!pred.count(nazev)) pridej(nazev, "added");
    if (n > 10) s += "\n  and " + std::to_string(n - 10) + " more";
    return s;
}

// The number after a label in the box, 0 when the label is not there.
int CisloZa(const std::wstring& text, const std::wstring& popisek) {
    auto p = text.find(popisek);
    return p == std::wstring::npos ? 0 : std::wcstol(text.c_str() + p + popisek.size(), nullptr, 10);
}

class Preruseni : public Scenar {
protected:
    // The target as the user has it: the set's names every so often with
    // the user's own content (some read-only, some hidden), files and a
    // folder of the user's own.
    void PripravCil(const std::wstring& cil) {
        SmazStrom(cil);
        VytvorSlozky(cil + L"\\Archiv");
        ZapisSoubor(cil + L"\\Archiv\\Starý dopis.dot", "archiv");
        ZapisSoubor(cil + L"\\Moje poznámky.txt", "poznámky");
        ZapisSoubor(cil + L"\\Můj dopis.dot", std::string(3000, 'm'));
        ::SetFileAttributesW((cil + L"\\Můj dopis.dot").c_str(), FILE_ATTRIBUTE_READONLY);
        for (int k = 0; k < UpravenychSablon; ++k) {
            const int i = Upravena(k);
            const std::wstring cesta = cil + L"\\" + soubory_[i];
            ZapisSoubor(cesta, "úprava uživatele " + std::to_string(i));
            DWORD a = (k % 3 == 0 ? FILE_ATTRIBUTE_READONLY : 0) | (k % 5 == 0 ? FILE_ATTRIBUTE_HIDDEN : 0);
            if (a) ::SetFileAttributesW(cesta.c_str(), a);
        }
    }
    // The k-th of the user's templates in the plan's order: spread over the
    // whole set, so a kill finds a varying number of them set aside.
    static int Upravena(int k) { return 7 + k * (PocetSouboru / UpravenychSablon); }
    static int UpravenychPred(int poradi) {
        int n = 0;
        for (int k = 0; k < UpravenychSablon; ++k) n += Upravena(k) < poradi;
        return n;
    }
};

TEST_F(Preruseni, ZabityBehVratiDalsiStart) {
    PripravVelkouSadu(PocetSouboru);
    const std::wstring cil = NastavNovouVerzi() + L"\\" + VelkaSada;
    // The run makes the user's templates folder early: something of its own
    // to take back besides the copies.
    const std::wstring odkazy = NastavSablonyUzivatele(L"Šablony e2e");
    PripravCil(cil);
    const Obsah pred = Precti(cil);

    const std::wstring dane = Prostredi(L"SETUP_E2E_SEMENO");
    const unsigned semeno = dane.empty() ? ::GetTickCount() : std::wcstoul(dane.c_str(), nullptr, 10);
    std::printf("Preruseni: seed %u (SETUP_E2E_SEMENO=%u repeats the kill points)\n", semeno, semeno);
    std::fflush(stdout);
    // One kill point in each tenth of the run short of its end (so that the
    // kill lands before the run stands), in a random order: early, middle
    // and late kills in every test run, and the copying a run waits for
    // the same each time.
    std::mt19937 nahoda(semeno);
    constexpr int Usek = (PocetSouboru - 300) / Zabiti;
    std::vector<int> body;
    for (int k = 0; k < Zabiti; ++k) body.push_back(k * Usek + std::uniform_int_distribution<int>(0, Usek - 1)(nahoda));
    std::shuffle(body.begin(), body.end(), nahoda);

    // One more kill lands in the rollback of a run the user stopped: what
    // that rollback had already put back must stay put back. The rollback
    // is far quicker than the install; the hook holds it at a file of the
    // first quarter, so the kill cannot come too late.
    const int vratitDo = PocetSouboru / 4;
    const std::wstring zastavit = L"Ruší se instalace: " + soubory_[vratitDo];
    for (int zabiti = 0; zabiti <= Zabiti; ++zabiti) {
        const bool storno = zabiti == Zabiti;
        const int poradi = storno ? PocetSouboru / 2 : body[zabiti];
        SCOPED_TRACE("kill " + std::to_string(zabiti + 1) + " at file " + std::to_string(poradi));
        if (storno) ::SetEnvironmentVariableW(L"SETUP_E2E_ZASTAVIT", zastavit.c_str());
        Spust();
        ::SetEnvironmentVariableW(L"SETUP_E2E_ZASTAVIT", nullptr);
        Enter();
        HWND prubeh = PrubehZaSouborem(poradi);
        ASSERT_TRUE(prubeh);
        if (storno) {
            ASSERT_TRUE(Aktivuj(prubeh));
            Klavesa(VK_ESCAPE);
            ASSERT_TRUE(CekejAz([&] { return Hlasky().PosledniText() == zastavit; }));
        }
        UkonciPodleId(Pid());
        // The status line tells which file the run was on when it died: the
        // ones before it were copied (and not yet taken back), that one
        // perhaps.
        const int posledni = storno ? vratitDo : PoradiInstalovaneho();
        ASSERT_GE(posledni, storno ? 0 : poradi);
        ASSERT_LT(posledni, PocetSouboru) << "the kill came after the run had finished";
        std::printf("Preruseni: kill %d at file %d%s\n", zabiti + 1, posledni, storno ? " of the rollback" : "");
        std::fflush(stdout);
        ASSERT_TRUE(Existuje(SlozkaZaznamu())) << "the killed run left its record";

        SpustBezCekani();
        Hlaseni h = CekejNaHlaseni();
        EXPECT_FALSE(HlavniOkno(Pid())) << "the box comes before the main window";
        EXPECT_EQ(h.titulek, L"Setup");
        EXPECT_EQ(h.ikona, Ikona::Informace);
        EXPECT_EQ(h.text.rfind(L"Předchozí instalace šablon do složky „" + cil +
                                   L"“ nebyla dokončena: program byl ukončen dříve, než doběhl. "
                                   L"Setup vrátil počítač do stavu před ní.",
                               0),
                  0u)
            << Utf8(h.text);
        const int obnoveno = CisloZa(h.text, L"Obnovené původní soubory: ");
        EXPECT_GE(obnoveno, UpravenychPred(posledni));
        EXPECT_LE(obnoveno, UpravenychPred(posledni + 1));
        const int odstraneno = CisloZa(h.text, L"Odstraněné soubory: ");
        EXPECT_GE(odstraneno, posledni);
        EXPECT_LE(odstraneno, posledni + 1);
        EXPECT_EQ(CisloZa(h.text, L", složky: "), 1) << "the user's templates folder";
        if (zabiti == 0) Snimek(h.okno, L"obnova");
        PotvrdHlaseni(h);
        PockejNaHlavni();
        EXPECT_EQ(UkonciStornem(), 1602u);

        const std::string rozdily = Rozdily(pred, Precti(cil));
        EXPECT_TRUE(rozdily.empty()) << "the target is not as before the killed run:" << rozdily;
        EXPECT_FALSE(Existuje(odkazy));
        EXPECT_FALSE(Existuje(SlozkaZaznamu()));
        if (HasFailure()) {
            // Whatever a failed kill left, the next one starts from the
            // user's folder as prepared.
            PripravCil(cil);
            SmazStrom(odkazy);
            SmazStrom(SlozkaZaznamu());
        }
    }
}

TEST_F(Preruseni, ZabityPoDokonceniJenUklidiZalohy) {
    std::wstring sada = PripravSadu();
    std::wstring cil = NastavNovouVerzi() + L"\\" + NazevSady;
    const std::wstring upravena = cil + L"\\" + SouboryVeSlozce(sada)[0];
    VytvorSlozky(cil);
    ZapisSoubor(upravena, "úprava uživatele");
    ::SetFileAttributesW(upravena.c_str(), FILE_ATTRIBUTE_READONLY);

    Spust();
    Enter();
    Hlaseni h = CekejNaHlaseni();
    ASSERT_EQ(h.text, L"Instalace byla úspěšně dokončena.");
    ASSERT_TRUE(Existuje(upravena + L".zaloha1")) << "the replaced file is kept until the box is closed";
    UkonciPodleId(Pid());

    // The run stood: the next start only clears its backup away, silently.
    Spust();
    EXPECT_FALSE(OknoHlaseni(Pid()));
    EXPECT_EQ(UkonciStornem(), 1602u);
    OverSoubory(sada, cil);
    EXPECT_FALSE(ZbylZaznam());
}

}  // namespace
}  // namespace e2e
