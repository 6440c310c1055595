// The rollback invariant, checked exhaustively: whatever point a cancel, a
// failure or a kill hits, the disk and the registry end as they were before
// the run (or, on success, as a clean success leaves them), and what the
// user sees is what the design calls for. A failure during rollback itself may leave only what a
// report names. After every run, the next start finds nothing to take back.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "Scenar.h"
#include "engine/Obnova.h"

namespace setup::test {
namespace {

enum class Cil { Chybi, Castecne, Existuje };

struct Scenar {
    int souboru;     // 0, 1 or 3 templates in the set
    bool zastupci;   // with the user's templates folder and the link
    Cil cil;
    bool odebrani;   // the set is installed, the user changed a template, and the run removes the set
    bool hodnota;    // into Custom Office Templates, setting PersonalTemplates to it
    int aplikace;    // 1: with the set's entry among installed programs; 2: installed so before, with an older version
};

// What a run of either kind says.
struct Texty {
    std::wstring priprava, deje, rusi, dokonceno;
};
const Texty& TextyBehu(bool odebrani) {
    static const Texty instalace{Priprava, L"Instaluje se: ", L"Ruší se instalace: ", L"Instalace dokončena."};
    static const Texty odebrani_{L"Připravuje se odebrání.", L"Odebírá se: ", L"Ruší se odebrání: ",
                                 L"Odebrání dokončeno."};
    return odebrani ? odebrani_ : instalace;
}

const std::wstring Zast = L"C:\\Users\\Jana\\AppData\\Roaming\\Microsoft\\Šablony";
const std::wstring VlastniSablony = L"C:\\Users\\Jana\\Documents\\Custom Office Templates";
const std::wstring KlicVoleb = L"Software\\Microsoft\\Office\\16.0\\Word\\Options";
// The set's kept copy of Setup and its entry, as a snapshot names them.
const std::wstring Kopie = SlozkaZaznamu + L"\\Dopisy";
const std::wstring Polozka = L"2147483649\\" + VelkaPismena(KlicAplikace(L"Dopisy"));

void Priprav(Instalator& in, const Scenar& s) {
    const wchar_t* const sablony[] = {L"a.dot", L"b.dot", L"c.xlt"};
    for (int i = 0; i < s.souboru; ++i) in.Sablona(sablony[i]);
    // Never copied: a hidden file and a subfolder of the set.
    in.m.disk.Soubor(L"E:\\Dopisy\\skryty.dot", L"x", AtributSkryty, CasMedia);
    in.m.disk.Soubor(L"E:\\Dopisy\\Pod\\x.dot", L"x", 0, CasMedia);
    in.m.disk.Slozka(L"C:\\Users\\Jana\\AppData\\Roaming");

    std::wstring cil = L"C:\\Office\\Templates\\Dopisy";
    if (s.hodnota) {
        // Into the folder the value is to name; the target's levels that
        // are missing are two, three or none, and so are the keys the
        // value's write makes: two, four or none.
        in.slozky.OsobniSablony = {KlicVoleb, L"Software\\Policies\\Microsoft\\Office\\16.0\\Word\\Options",
                                   VlastniSablony};
        cil = VlastniSablony + L"\\Dopisy";
        in.m.registr.NastavText(HKEY_CURRENT_USER_, L"Software\\Microsoft\\Windows", L"x", L"1");
        if (s.cil == Cil::Chybi) {
            in.m.disk.Slozka(L"C:\\Users\\Jana\\Documents");
            in.m.registr.NastavText(HKEY_CURRENT_USER_, L"Software\\Microsoft\\Office\\16.0\\Common", L"x", L"1");
        } else if (s.cil == Cil::Existuje) {
            in.m.registr.NastavText(HKEY_CURRENT_USER_, KlicVoleb, L"Jiná", L"1");
        }
    } else if (s.cil == Cil::Castecne) {
        in.m.disk.Slozka(L"C:\\Data");
        cil = L"C:\\Data\\A\\B\\Dopisy";
    }
    if (s.cil == Cil::Existuje) {
        in.m.disk.Soubor(cil + L"\\a.dot", L"starý a", AtributJenProCteni, CasStary);
        in.m.disk.Soubor(cil + L"\\b.dot", L"starý b", AtributSkryty, CasStary);
        in.m.disk.Soubor(cil + L"\\moje.dot", L"uživatelova", AtributJenProCteni, CasStary);
        if (s.zastupci) in.m.disk.Soubor(Zast + L"\\Dopisy.lnk", L"[starý odkaz]", AtributJenProCteni, CasStary);
    }
    in.ZadejCil(cil);
    if (s.zastupci) in.Zastupci(Zast);
    if (s.aplikace) {
        in.slozky.Aplikace = {L"E:\\Setup.exe", L"Firma", L"1.0", L"20250101"};
        in.m.registr.NastavText(HKEY_CURRENT_USER_, L"Software\\Microsoft\\Windows\\CurrentVersion", L"x", L"1");
    }
    // What the run under test sees starts after the runs that set the scene.
    const auto odZnovu = [&in] {
        in.m.okna.udalosti.clear();
        in.m.okna.volaniPredHlaskou.clear();
        in.m.okna.volaniPredZpravou.clear();
        in.m.okna.hlasek = 0;
        in.m.zasahy = Zasahy{};
        in.m.zasahy.stornovano = &in.m.okna.stornovano;
    };
    if (s.aplikace == 2) {
        // A later install of the same set, from a newer medium, a day later.
        ASSERT_EQ(in.Spust(), setup::Vysledek::Hotovo);
        in.slozky.Aplikace = {L"E:\\Setup.exe", L"Firma", L"1.1", L"20250102"};
        in.m.disk.Soubor(L"E:\\Setup.exe", L"program 1.1", AtributJenProCteni, CasMedia + 50'000'000);
        odZnovu();
    }
    if (s.odebrani) {
        // Installed before, a template changed by the user since, and the
        // other program's file in the user's templates folder untouched.
        ASSERT_EQ(in.Spust(), setup::Vysledek::Hotovo);
        if (s.souboru > 0) in.m.disk.Soubor(cil + L"\\a.dot", L"upravená uživatelem", AtributArchiv, CasStary);
        odZnovu();
        in.odebrat = true;
    }
}

bool ZacinaNa(const std::wstring& text, const std::wstring& zacatek) {
    return text.compare(0, zacatek.size(), zacatek) == 0;
}

using Registr = std::map<std::wstring, std::wstring>;

struct Vystup {
    std::wstring cil;
    Snimek pred, po;
    Snimek poStartu;                     // after the next start's look at the run's records
    Registr registrPred, registrPo, registrPoStartu;
    VysledekObnovy obnova;               // what that start did
    std::vector<Udalost> udalosti, zpravy;
    std::vector<int64_t> volaniPredZpravou;
    std::vector<int64_t> volaniPredHlaskou;
    std::vector<std::wstring> zaznam;   // when asked for: one line per platform call
    std::vector<std::wstring> zastaveneKopie;
    int64_t volani = 0;
    int64_t selhani = 0;
};

Vystup Spust(const Scenar& s, const std::function<void(FalesnyStroj&)>& zasah) {
    Instalator in;
    Priprav(in, s);
    Vystup v;
    v.cil = in.m.okna.textSlozky;
    v.pred = in.m.disk.Stav();
    v.registrPred = in.m.registr.Stav();
    zasah(in.m);
    in.Spust();
    v.po = in.m.disk.Stav();
    v.registrPo = in.m.registr.Stav();
    v.udalosti = in.m.okna.udalosti;
    v.zpravy = in.m.okna.Zpravy();
    v.volaniPredHlaskou = in.m.okna.volaniPredHlaskou;
    v.volaniPredZpravou = in.m.okna.volaniPredZpravou;
    v.zaznam = in.m.zasahy.zaznam;
    v.zastaveneKopie = in.m.disk.zastaveneKopie;
    v.volani = in.m.zasahy.volani;
    v.selhani = in.m.zasahy.selhani;
    // The next start, with the machine as this run left it.
    in.m.zasahy = Zasahy{};
    in.m.zasahy.stornovano = &in.m.okna.stornovano;
    v.obnova = DokonciPrerusene(in.m.disk, in.m.registr, in.m.shell, SlozkaZaznamu);
    v.poStartu = in.m.disk.Stav();
    v.registrPoStartu = in.m.registr.Stav();
    return v;
}

// The shell stamps a link with the time it writes it, and so does the disk
// the list of what an install put where; nothing else of an install differs
// from one run to the next.
Snimek BezCasuOdkazu(Snimek snimek) {
    for (auto& [cesta, stav] : snimek)
        if (cesta.ends_with(L".lnk") || cesta.ends_with(L"\\seznam.txt")) stav.cas = 0;
    return snimek;
}

// The disk without the run records (the set's kept copy and list stay).
Snimek BezZaznamu(Snimek snimek) {
    const bool sKopii = snimek.count(Kopie);
    std::erase_if(snimek, [&](const auto& p) {
        return ZacinaNa(p.first, SlozkaZaznamu) && !ZacinaNa(p.first, Kopie) && !(sKopii && p.first == SlozkaZaznamu);
    });
    return snimek;
}

// A run that ended, however, left nothing for the next start to take back,
// and no record of itself unless a step of its own clean-up failed; then
// the next start clears it away, silently.
void OverNicKVraceni(const Vystup& v) {
    EXPECT_FALSE(v.obnova.NecoVraceno());
    EXPECT_EQ(v.obnova.zbyva, std::vector<std::wstring>{});
    for (const auto& cesta : Rozdil(BezZaznamu(v.poStartu), v.poStartu)) ADD_FAILURE() << Utf8(cesta);
}


// The shape every run has: the first report, the hidden main window, the
// records' status lines in order, a rollback over exactly the records
// reached (when there is one), and the exit path.
void OverPrubeh(const std::vector<Udalost>& u, bool odebrani) {
    const Texty& t = TextyBehu(odebrani);
    ASSERT_GE(u.size(), 4u);
    EXPECT_EQ(u[0], H(t.priprava, 1, 3));
    EXPECT_EQ(u[1], Skryj);
    EXPECT_EQ(u[u.size() - 2], Zavri);
    const bool uspech = u.back() == Uvolni;
    EXPECT_TRUE(uspech || u.back() == Zobraz);

    std::vector<std::wstring> nazvy{L""};   // record names, from 1
    int32_t celkem = 0;
    std::size_t i = 2;
    for (; i < u.size() - 2 && u[i].druh != Udalost::ZakazStorno; ++i) {
        if (u[i].druh == Udalost::Hlaska && ZacinaNa(u[i].text, t.deje)) {
            EXPECT_EQ(u[i].hotovo, static_cast<int32_t>(nazvy.size()));
            nazvy.push_back(u[i].text.substr(t.deje.size()));
            celkem = u[i].celkem;
        }
        EXPECT_FALSE(u[i].druh == Udalost::Hlaska && ZacinaNa(u[i].text, L"Ruší se"));
    }
    if (uspech) {
        EXPECT_EQ(static_cast<int32_t>(nazvy.size()) - 1, celkem);
        const auto dokonceno = std::find(u.begin(), u.end(), H(t.dokonceno, 1, 1));
        ASSERT_NE(dokonceno, u.end());
        EXPECT_EQ((dokonceno + 1)->druh, Udalost::Zprava);
        EXPECT_EQ((dokonceno + 1)->styl, StylInformace);
        EXPECT_EQ((dokonceno + 1)->titulek, Titulek);
    }
    if (i == u.size() - 2) return;   // no rollback

    EXPECT_FALSE(uspech);
    int32_t dalsi = static_cast<int32_t>(nazvy.size()) - 1;
    for (++i; i < u.size() - 2; ++i) {
        if (u[i].druh == Udalost::Zprava) continue;
        ASSERT_EQ(u[i].druh, Udalost::Hlaska);
        ASSERT_GE(dalsi, 1);
        EXPECT_EQ(u[i], H(t.rusi + nazvy[static_cast<std::size_t>(dalsi)], dalsi, celkem));
        --dalsi;
    }
    EXPECT_EQ(dalsi, 0) << "the rollback must reach the first record";
}

bool Pojmenovano(const std::vector<Udalost>& zpravy, const std::wstring& cesta) {
    for (const auto& z : zpravy) {
        if (z.text.find(L"„" + cesta + L"“") != std::wstring::npos) return true;
        // A folder that could not go because of something named inside it.
        if (z.text.find(L"„" + cesta + L"\\") != std::wstring::npos) return true;
    }
    return false;
}

// After a failure during rollback: every difference is named in a report,
// and every file that was there before is still somewhere, byte for byte.
void OverNicNeztraceno(const Snimek& pred, const Snimek& po, const std::vector<Udalost>& zpravy) {
    for (const auto& cesta : Rozdil(pred, po))
        EXPECT_TRUE(Pojmenovano(zpravy, cesta)) << "nepojmenovaný rozdíl: " << Utf8(cesta);
    for (const auto& [cesta, stav] : pred) {
        if (stav.slozka) continue;
        const auto it = po.find(cesta);
        if (it != po.end() && it->second == stav) continue;
        const bool jinde = std::any_of(po.begin(), po.end(), [&](const auto& p) {
            return p.second == stav && Pojmenovano(zpravy, p.first);
        });
        EXPECT_TRUE(jinde) << "ztracený soubor: " << Utf8(cesta);
    }
}

// The texts a report quotes („…“).
std::vector<std::wstring> Citace(const std::vector<Udalost>& zpravy) {
    std::vector<std::wstring> citace;
    for (const auto& z : zpravy)
        for (std::size_t a = z.text.find(L'„'); a != std::wstring::npos; a = z.text.find(L'„', a + 1)) {
            const std::size_t b = z.text.find(L'“', a);
            if (b == std::wstring::npos) break;
            citace.push_back(VelkaPismena(z.text.substr(a + 1, b - a - 1)));
        }
    return citace;
}

// After a failure during rollback: every key the run left is named in a
// report, or lies on the path to one named, and every value it left is
// named with its key.
void OverRegistrPojmenovan(const Registr& pred, const Registr& po, const std::vector<Udalost>& zpravy) {
    const auto citace = Citace(zpravy);
    const auto citovano = [&](const std::wstring& text) {
        return std::find(citace.begin(), citace.end(), text) != citace.end();
    };
    std::vector<std::wstring> rozdil;
    for (const auto& [klic, hodnota] : po)
        if (auto it = pred.find(klic); it == pred.end() || it->second != hodnota) rozdil.push_back(klic);
    for (const auto& [klic, hodnota] : pred)
        if (!po.count(klic)) rozdil.push_back(klic);
    for (const std::wstring& polozka : rozdil) {
        // "<root>\<KEY>" or "<root>\<KEY>\@<NAME>"
        std::wstring klic = polozka.substr(polozka.find(L'\\') + 1);
        const auto zavinac = klic.find(L"\\@");
        if (zavinac != std::wstring::npos) {
            EXPECT_TRUE(citovano(klic.substr(zavinac + 2))) << "nepojmenovaná hodnota: " << Utf8(polozka);
            EXPECT_TRUE(citovano(klic.substr(0, zavinac))) << "nepojmenovaná hodnota: " << Utf8(polozka);
            continue;
        }
        const bool naCeste = std::any_of(citace.begin(), citace.end(), [&](const std::wstring& c) {
            return c == klic || ZacinaNa(c, klic + L"\\");
        });
        EXPECT_TRUE(naCeste) << "nepojmenovaný klíč: " << Utf8(polozka);
    }
}

using Parametry = std::tuple<int, bool, Cil, bool, bool, int>;   // the last three: odebrani, hodnota, aplikace

class Vraceni : public testing::TestWithParam<Parametry> {
protected:
    void SetUp() override {
        s_ = {std::get<0>(GetParam()), std::get<1>(GetParam()), std::get<2>(GetParam()), std::get<3>(GetParam()),
              std::get<4>(GetParam()), std::get<5>(GetParam())};
        cisty_ = Spust(s_, [](FalesnyStroj& m) { m.zasahy.zaznamenavat = true; });
        ASSERT_EQ(cisty_.udalosti.back(), Uvolni);
        ASSERT_EQ(cisty_.zpravy.size(), 1u);
        Dokonceno_ = cisty_.zpravy[0];
        if (!s_.odebrani) {
            ASSERT_EQ(Dokonceno_, Dokonceno);
        } else if (s_.souboru > 0) {
            // The changed template stays, and the box names it.
            EXPECT_EQ(cisty_.po.at(cisty_.cil + L"\\a.dot").obsah, L"upravená uživatelem");
            EXPECT_NE(Dokonceno_.text.find(L"– a.dot"), std::wstring::npos) << Utf8(Dokonceno_.text);
        }
        // Hlaska calls: the preparation reports, "Instaluje se." and one per
        // record, "Instalace dokončena.", and the closing empty one.
        const auto& h = cisty_.volaniPredHlaskou;
        hlasek_ = static_cast<int32_t>(h.size());
        instalujeSe_ = s_.zastupci ? 4 : 3;
        zaznamu_ = hlasek_ - instalujeSe_ - 2;
        ASSERT_EQ(zaznamu_, 1 + s_.zastupci + s_.souboru + s_.zastupci + s_.hodnota);
        konecSestaveni_ = h[static_cast<std::size_t>(instalujeSe_ - 1)];
        konecProvedeni_ = h[static_cast<std::size_t>(hlasek_ - 2)];
        konecBehu_ = cisty_.volaniPredZpravou.at(0);
        // The run stands once the mark is written: the line before the
        // record's last forcing to the disk.
        for (const auto& radek : cisty_.zaznam)
            if (const int64_t c = std::stoll(Utf8(radek)); c <= konecBehu_ && radek.find(L" VynutPripis ") != std::wstring::npos)
                stoji_ = c - 1;
    }

    Scenar s_{};
    Vystup cisty_;
    Udalost Dokonceno_{Udalost::Zprava};   // the completion box of the clean run
    int32_t hlasek_ = 0, instalujeSe_ = 0, zaznamu_ = 0;
    // Platform calls up to the end of the plan's building, to "Instalace
    // dokončena.", and to the completion box, when the run stands.
    int64_t konecSestaveni_ = 0, konecProvedeni_ = 0, konecBehu_ = 0, stoji_ = 0;
};

TEST_P(Vraceni, UspechAZalohyUklizene) {
    OverPrubeh(cisty_.udalosti, s_.odebrani);
    OverNicKVraceni(cisty_);
    EXPECT_EQ(cisty_.po, cisty_.poStartu) << "the run removes its own record";
    for (const auto& [cesta, stav] : cisty_.po)
        EXPECT_EQ(cesta.find(L".zaloha"), std::wstring::npos) << Utf8(cesta);
    for (const auto& [cesta, stav] : cisty_.pred)
        if (ZacinaNa(cesta, L"E:") || cesta.find(L"moje.dot") != std::wstring::npos) {
            EXPECT_EQ(cisty_.po.at(cesta), stav) << Utf8(cesta);
        }
    // The value, and nothing else of the registry, is new.
    Registr ocekavany = cisty_.registrPred;
    if (s_.hodnota) {
        std::wstring klic = L"2147483649\\";
        for (const auto& cast : {L"SOFTWARE", L"\\MICROSOFT", L"\\OFFICE", L"\\16.0", L"\\WORD", L"\\OPTIONS"})
            ocekavany[klic += cast];
        ocekavany[klic + L"\\@PERSONALTEMPLATES"] = L"1:" + VlastniSablony + L":0";
    }
    if (s_.aplikace && s_.odebrani) {
        // The entry, the kept copy and the list went with the set.
        std::erase_if(ocekavany, [](const auto& p) { return ZacinaNa(p.first, Polozka); });
        EXPECT_FALSE(cisty_.po.count(Kopie));
    } else if (s_.aplikace) {
        const std::wstring setup = Kopie + L"\\Setup.exe";
        EXPECT_EQ(cisty_.po.at(setup).obsah, s_.aplikace == 1 ? L"program" : L"program 1.1");
        const std::wstring seznam = cisty_.po.at(Kopie + L"\\seznam.txt").obsah;
        EXPECT_NE(seznam.find(L"\nF\t" + cisty_.cil + L"\\a.dot\t"), std::wstring::npos);
        EXPECT_EQ(seznam.find(L"Pod"), std::wstring::npos);
        const std::map<std::wstring, std::wstring> hodnoty{
            {L"DISPLAYNAME", L"1:Dopisy:0"}, {L"PUBLISHER", L"1:Firma:0"},
            {L"DISPLAYVERSION", s_.aplikace == 1 ? L"1:1.0:0" : L"1:1.1:0"},
            {L"INSTALLLOCATION", L"1:" + cisty_.cil + L":0"},
            {L"INSTALLDATE", s_.aplikace == 1 ? L"1:20250101:0" : L"1:20250102:0"},
            {L"DISPLAYICON", L"1:" + setup + L":0"},
            {L"UNINSTALLSTRING", L"1:\"" + setup + L"\" /U:0"},
            {L"QUIETUNINSTALLSTRING", L"1:\"" + setup + L"\" /U /S:0"},
            {L"ESTIMATEDSIZE", L"4::1"}, {L"NOMODIFY", L"4::1"}, {L"NOREPAIR", L"4::1"}};
        for (const auto& [nazev, hodnota] : hodnoty) EXPECT_EQ(cisty_.registrPo.at(Polozka + L"\\@" + nazev), hodnota);
        for (const auto& [klic, hodnota] : cisty_.registrPo)
            if (ZacinaNa(klic, Polozka) || ZacinaNa(Polozka, klic)) ocekavany[klic] = hodnota;
    }
    EXPECT_EQ(cisty_.registrPo, ocekavany);
    EXPECT_EQ(cisty_.registrPoStartu, ocekavany);
}

TEST_P(Vraceni, StornoPriKazdeZprave) {
    for (int32_t k = 1; k <= hlasek_; ++k) {
        SCOPED_TRACE("Storno při zprávě " + std::to_string(k));
        const Vystup v = Spust(s_, [&](FalesnyStroj& m) { m.okna.stornovatPriHlasce = {k}; });
        OverPrubeh(v.udalosti, s_.odebrani);
        // Up to the completion box, every Storno takes the run back; only
        // the report that closes the window comes after it.
        const bool uspech = k >= hlasek_;
        const bool vraceni = !uspech && k >= instalujeSe_;
        EXPECT_EQ(v.udalosti.back(), uspech ? Uvolni : Zobraz);
        EXPECT_EQ(std::count(v.udalosti.begin(), v.udalosti.end(), Zakaz), vraceni ? 1 : 0);
        EXPECT_EQ(v.zpravy, uspech ? std::vector<Udalost>{Dokonceno_} : std::vector<Udalost>{});
        EXPECT_EQ(Rozdil(uspech ? cisty_.po : v.pred, v.po), std::vector<std::wstring>{});
        EXPECT_EQ(v.registrPo, uspech ? cisty_.registrPo : v.registrPred);
        OverNicKVraceni(v);
    }
}

TEST_P(Vraceni, StornoPriKazdemVolani) {
    for (int64_t c = 1; c <= cisty_.volani; ++c) {
        SCOPED_TRACE("Storno při volání " + std::to_string(c));
        const Vystup v = Spust(s_, [&](FalesnyStroj& m) { m.zasahy.stornovatPriVolani = c; });
        OverPrubeh(v.udalosti, s_.odebrani);
        // A copy stops half way, its target never there.
        const std::wstring& volani = cisty_.zaznam.at(static_cast<std::size_t>(c - 1));
        if (volani.find(L" Kopiruj ") != std::wstring::npos) {
            // The call's line ends with the copy's target (paths may hold spaces).
            ASSERT_EQ(v.zastaveneKopie.size(), 1u);
            EXPECT_TRUE(volani.ends_with(L" " + v.zastaveneKopie[0])) << Utf8(volani);
        }
        const bool uspech = c > konecProvedeni_;
        EXPECT_EQ(v.udalosti.back(), uspech ? Uvolni : Zobraz);
        EXPECT_EQ(v.zpravy, uspech ? std::vector<Udalost>{Dokonceno_} : std::vector<Udalost>{});
        EXPECT_EQ(Rozdil(uspech ? cisty_.po : v.pred, v.po), std::vector<std::wstring>{});
        EXPECT_EQ(v.registrPo, uspech ? cisty_.registrPo : v.registrPred);
        OverNicKVraceni(v);
    }
}

TEST_P(Vraceni, SelhaniKazdehoVolani) {
    for (int64_t k = 1; k <= cisty_.volani; ++k) {
        SCOPED_TRACE("Selhání volání " + std::to_string(k));
        const Vystup v = Spust(s_, [&](FalesnyStroj& m) { m.zasahy.selhatVolani = {k}; });
        ASSERT_EQ(v.selhani, 1);
        OverPrubeh(v.udalosti, s_.odebrani);
        OverNicKVraceni(v);
        // A failure and a Storno at once (the shell writing no link while
        // the user presses Storno): the same rollback, no second box, and
        // the disk as before, a link from before byte for byte.
        const Vystup sStornem = Spust(s_, [&](FalesnyStroj& m) {
            m.zasahy.selhatVolani = {k};
            m.zasahy.stornovatPriVolani = k;
        });
        OverPrubeh(sStornem.udalosti, s_.odebrani);
        if (k <= stoji_) {
            EXPECT_EQ(sStornem.zpravy.size(), v.zpravy.size());
            EXPECT_EQ(Rozdil(v.pred, sStornem.po), std::vector<std::wstring>{});
            EXPECT_EQ(sStornem.registrPo, v.registrPred);
        }
        const bool vraceni = k > konecSestaveni_ && k <= stoji_;
        EXPECT_EQ(std::count(v.udalosti.begin(), v.udalosti.end(), Zakaz), vraceni ? 1 : 0);
        if (k <= stoji_) {
            // One box, the platform's own words, before any rollback line.
            ASSERT_EQ(v.zpravy.size(), 1u);
            EXPECT_EQ(v.zpravy[0].text.find(L"\r\n"), std::wstring::npos);
            EXPECT_EQ(v.udalosti.back(), Zobraz);
            EXPECT_EQ(Rozdil(v.pred, v.po), std::vector<std::wstring>{});
            EXPECT_EQ(v.registrPo, v.registrPred);
        } else {
            // Tidying up after success: the install stands; a backup left
            // behind is named, and a record of the run left behind is
            // cleared by the next start.
            ASSERT_GE(v.zpravy.size(), 1u);
            EXPECT_LE(v.zpravy.size(), 2u);
            EXPECT_EQ(v.zpravy[0], Dokonceno_);
            EXPECT_EQ(v.udalosti.back(), Uvolni);
            auto rozdil = Rozdil(cisty_.po, v.poStartu);
            // The folders that hold a file left behind stay with it.
            const auto slozek = std::count_if(rozdil.begin(), rozdil.end(), [&](const std::wstring& c) {
                return v.poStartu.count(c) && v.poStartu.at(c).slozka;
            });
            EXPECT_LE(rozdil.size() - static_cast<std::size_t>(slozek), v.zpravy.size() - 1);
            for (const auto& cesta : rozdil) EXPECT_TRUE(Pojmenovano(v.zpravy, cesta)) << Utf8(cesta);
            EXPECT_EQ(v.registrPoStartu, cisty_.registrPo);
        }
    }
}

TEST_P(Vraceni, SelhaniBehemVraceni) {
    // What starts the rollback: Storno at each record's status line or
    // during each call while installing, or the failure of each such call.
    std::vector<std::function<void(FalesnyStroj&)>> spoustece;
    for (int32_t k = instalujeSe_; k < hlasek_ - 1; ++k)
        spoustece.push_back([k](FalesnyStroj& m) { m.okna.stornovatPriHlasce = {k}; });
    for (int64_t k = konecSestaveni_ + 1; k <= stoji_; ++k) {
        if (k <= konecProvedeni_) spoustece.push_back([k](FalesnyStroj& m) { m.zasahy.stornovatPriVolani = k; });
        spoustece.push_back([k](FalesnyStroj& m) { m.zasahy.selhatVolani = {k}; });
    }

    int behu = 0;
    for (std::size_t t = 0; t < spoustece.size(); ++t) {
        const Vystup spusteny = Spust(s_, [&](FalesnyStroj& m) {
            spoustece[t](m);
            m.zasahy.zaznamenavat = true;
        });
        const int64_t vsech = spusteny.volani;
        const auto prvniRusi = std::find_if(spusteny.udalosti.begin(), spusteny.udalosti.end(),
                                            [](const Udalost& u) { return ZacinaNa(u.text, L"Ruší se"); });
        ASSERT_NE(prvniRusi, spusteny.udalosti.end());
        const auto hlaskaRusi = std::count_if(spusteny.udalosti.begin(), prvniRusi,
                                              [](const Udalost& u) { return u.druh == Udalost::Hlaska; });
        const int64_t zacatekVraceni = spusteny.volaniPredHlaskou[static_cast<std::size_t>(hlaskaRusi)];
        const std::size_t zpravSpoustece = spusteny.zpravy.size();

        for (int64_t j = zacatekVraceni + 1; j <= vsech; ++j) {
            SCOPED_TRACE("spouštěč " + std::to_string(t) + ", selhání volání " + std::to_string(j));
            const Vystup v = Spust(s_, [&](FalesnyStroj& m) {
                spoustece[t](m);
                m.zasahy.selhatVolani.insert(j);
            });
            OverPrubeh(v.udalosti, s_.odebrani);
            EXPECT_EQ(v.udalosti.back(), Zobraz);
            OverNicKVraceni(v);
            // The record of the run is no step to take back: a failure to
            // remove it is silent, and the next start clears it.
            const std::wstring& volani = spusteny.zaznam.at(static_cast<std::size_t>(j - 1));
            if (volani.find(SlozkaZaznamu) != std::wstring::npos && volani.find(Kopie) == std::wstring::npos) {
                EXPECT_EQ(v.zpravy.size(), zpravSpoustece);
                EXPECT_EQ(Rozdil(v.pred, v.poStartu), std::vector<std::wstring>{});
                EXPECT_EQ(v.registrPoStartu, v.registrPred);
                continue;
            }
            ASSERT_GT(v.zpravy.size(), zpravSpoustece);
            // The platform's words and what the failure leaves; a registry
            // step, which the platform gives no words for, names its key.
            for (std::size_t z = zpravSpoustece; z < v.zpravy.size(); ++z)
                EXPECT_TRUE(v.zpravy[z].text.find(L"\r\n\r\n") != std::wstring::npos ||
                            v.zpravy[z].text.find(L"registru „") != std::wstring::npos ||
                            ZacinaNa(v.zpravy[z].text, L"Po zrušení"))
                    << Utf8(v.zpravy[z].text);
            OverNicNeztraceno(v.pred, v.poStartu, v.zpravy);
            OverRegistrPojmenovan(v.registrPred, v.registrPoStartu, v.zpravy);
            ++behu;
        }
    }
    RecordProperty("behu", behu);
    // Only a run that changes nothing has no rollback step to fail: an
    // install into a complete target, a removal that finds only the
    // template the user changed.
    const bool meniNeco = s_.odebrani ? s_.souboru > 1 || s_.zastupci
                                      : s_.souboru > 0 || s_.zastupci || s_.cil != Cil::Existuje;
    if (meniNeco) {
        EXPECT_GT(behu, 0);
    }
}

TEST_P(Vraceni, ZabitiPoKazdemVolani) {
    // The program killed after each platform call in turn: the disk as that
    // call left it, with none of the run's own clean-up. The next start
    // takes the run back (or, when it had already stood, clears its
    // backups away), and an install from there gives a clean install.
    for (int64_t k = 1; k <= cisty_.volani; ++k) {
        SCOPED_TRACE("Zabití po volání " + std::to_string(k));
        Instalator in;
        Priprav(in, s_);
        const Snimek pred = in.m.disk.Stav();
        const Registr registrPred = in.m.registr.Stav();
        std::shared_ptr<const FalesnyDisk::Zachyceni> pozustalost;
        std::shared_ptr<const FalesnyRegistr::Zachyceni> pozustalostRegistru;
        const auto zachyt = [&] {
            pozustalost = in.m.disk.Zachyt();
            pozustalostRegistru = in.m.registr.Zachyt();
        };
        in.m.zasahy.akce[k + 1] = zachyt;
        in.Spust();
        if (!pozustalost) zachyt();
        in.m.disk.Obnov(pozustalost);
        in.m.registr.Obnov(pozustalostRegistru);
        const Snimek poZabiti = in.m.disk.Stav();
        const Registr registrPoZabiti = in.m.registr.Stav();

        in.m.zasahy = Zasahy{};
        in.m.zasahy.stornovano = &in.m.okna.stornovano;
        in.m.okna.udalosti.clear();
        const VysledekObnovy o = DokonciPrerusene(in.m.disk, in.m.registr, in.m.shell, SlozkaZaznamu);
        const bool box = OznamObnovu(in.m.okna, o, SlozkaZaznamu);
        EXPECT_EQ(o.zbyva, std::vector<std::wstring>{});
        const bool stal = k >= stoji_;   // killed once the run stood (its record says so)
        EXPECT_EQ(Rozdil(stal ? cisty_.po : pred, in.m.disk.Stav()), std::vector<std::wstring>{});
        EXPECT_EQ(in.m.registr.Stav(), stal ? cisty_.registrPo : registrPred);
        // One box when something was put back, and it names the target.
        EXPECT_EQ(box, o.NecoVraceno());
        EXPECT_EQ(box, !stal && (!Rozdil(pred, BezZaznamu(poZabiti)).empty() || registrPoZabiti != registrPred));
        if (box) {
            ASSERT_EQ(in.m.okna.Zpravy().size(), 1u);
            EXPECT_NE(in.m.okna.Zpravy()[0].text.find(L"„" + in.m.okna.textSlozky + L"“"), std::wstring::npos);
        }

        in.m.okna.udalosti.clear();
        EXPECT_EQ(in.Spust(), setup::Vysledek::Hotovo) << (in.m.okna.Zpravy().empty() ? std::string() : Utf8(in.m.okna.Zpravy().back().text));
        EXPECT_EQ(Rozdil(BezCasuOdkazu(cisty_.po), BezCasuOdkazu(in.m.disk.Stav())), std::vector<std::wstring>{});
        EXPECT_EQ(in.m.registr.Stav(), cisty_.registrPo);
    }
}

// The program killed after call k of a run set up by priprav: the disk and
// the registry as that call left them.
void Zabij(Instalator& in, int64_t k) {
    std::shared_ptr<const FalesnyDisk::Zachyceni> disk;
    std::shared_ptr<const FalesnyRegistr::Zachyceni> registr;
    in.m.zasahy.akce[k + 1] = [&] {
        disk = in.m.disk.Zachyt();
        registr = in.m.registr.Zachyt();
    };
    in.Spust();
    if (disk) {
        in.m.disk.Obnov(disk);
        in.m.registr.Obnov(registr);
    }
    in.m.zasahy = Zasahy{};
    in.m.zasahy.stornovano = &in.m.okna.stornovano;
    in.m.okna.udalosti.clear();
}

// What the user does between a kill and the next start, and what that
// start must leave of it: the user's edit of an installed template stays,
// and the original it replaced comes back beside it; a file that turned up
// while the copy to its name was refused stays; a later install that stood
// over a record kept to be tried again loses none of its files to it.
TEST_P(Vraceni, ZabitiAPakUzivatel) {
    // (Over an earlier install the templates are the run's own before it begins.)
    if (s_.odebrani || s_.souboru == 0 || s_.aplikace == 2) return;
    const std::wstring a = cisty_.cil + L"\\a.dot";
    for (int64_t k = 1; k <= cisty_.volani; ++k) {
        SCOPED_TRACE("Zabití po volání " + std::to_string(k));
        Instalator in;
        Priprav(in, s_);
        const Snimek pred = in.m.disk.Stav();
        Zabij(in, k);
        if (const auto st = in.m.disk.Udaje(a); st && st->obsah == L"nový a.dot") {
            in.m.disk.Soubor(a, L"upraveno po pádu", AtributArchiv, CasMedia + 999'000'000);
            const VysledekObnovy o = DokonciPrerusene(in.m.disk, in.m.registr, in.m.shell, SlozkaZaznamu);
            OznamObnovu(in.m.okna, o, SlozkaZaznamu);
            EXPECT_EQ(in.m.disk.Udaje(a)->obsah, L"upraveno po pádu");
            for (const auto& cesta : Rozdil(k >= stoji_ ? cisty_.po : pred, in.m.disk.Stav())) {
                // The folders that hold the edited file stay with it.
                EXPECT_TRUE(cesta == a || cesta == cisty_.cil + L"\\a (původní).dot" || ZacinaNa(a, cesta + L"\\"))
                    << Utf8(cesta);
                if (k < stoji_) {
                    EXPECT_TRUE(Pojmenovano(in.m.okna.Zpravy(), cesta)) << Utf8(cesta);
                }
            }
            if (k < stoji_ && pred.count(a)) {
                EXPECT_EQ(in.m.disk.Udaje(cisty_.cil + L"\\a (původní).dot")->obsah, L"starý a");
            }
        }
    }
    // A file that turns up at the name while the copy is refused, the
    // program killed right after the refusal. (One no larger than the copy
    // would be is taken for the beginning of a copy cut short by the kill.)
    int objevilo = 0;
    if (s_.cil != Cil::Existuje)
        for (int64_t k = konecSestaveni_ + 1; k <= konecProvedeni_; ++k) {
            Instalator in;
            Priprav(in, s_);
            in.m.zasahy.akce[k] = [&] {
                if (cisty_.zaznam.at(static_cast<std::size_t>(k - 1)).ends_with(L" Kopiruj E:\\Dopisy\\a.dot " + a))
                    in.m.disk.Soubor(a, L"uživatelův dopis", AtributArchiv, CasStary);
            };
            Zabij(in, k);
            if (!in.m.disk.Udaje(a) || in.m.disk.Udaje(a)->obsah != L"uživatelův dopis") continue;
            SCOPED_TRACE("Soubor se objevil při volání " + std::to_string(k));
            ++objevilo;
            DokonciPrerusene(in.m.disk, in.m.registr, in.m.shell, SlozkaZaznamu);
            EXPECT_EQ(in.m.disk.Udaje(a)->obsah, L"uživatelův dopis");
        }
    EXPECT_EQ(objevilo > 0, s_.cil != Cil::Existuje);
    // A record kept (every step of its recovery failed), then an install
    // that stands, then the next start.
    for (int64_t k = konecSestaveni_ + 1; k < stoji_; ++k) {
        SCOPED_TRACE("Záznam ponechán po zabití po volání " + std::to_string(k));
        Instalator in;
        Priprav(in, s_);
        const Snimek pred = in.m.disk.Stav();
        Zabij(in, k);
        for (int64_t c = 1; c < 1000; ++c) in.m.zasahy.selhatVolani.insert(c);
        DokonciPrerusene(in.m.disk, in.m.registr, in.m.shell, SlozkaZaznamu);
        in.m.zasahy = Zasahy{};
        in.m.zasahy.stornovano = &in.m.okna.stornovano;
        ASSERT_EQ(in.Spust(), setup::Vysledek::Hotovo);
        in.m.okna.udalosti.clear();
        DokonciPrerusene(in.m.disk, in.m.registr, in.m.shell, SlozkaZaznamu);
        // Only originals may come back beside the new install, each one
        // what stood under its name before.
        for (const auto& cesta : Rozdil(BezCasuOdkazu(cisty_.po), BezCasuOdkazu(BezZaznamu(in.m.disk.Stav())))) {
            const auto puvodni = cesta.find(L" (původní)");
            ASSERT_NE(puvodni, std::wstring::npos) << Utf8(cesta);
            const std::wstring jmeno = cesta.substr(0, puvodni) + cesta.substr(puvodni + 10);
            EXPECT_EQ(in.m.disk.Udaje(cesta)->obsah, pred.at(jmeno).obsah) << Utf8(cesta);
        }
        EXPECT_EQ(in.m.registr.Stav(), cisty_.registrPo);
    }
}

// No backup of a replaced file is deleted before the copy that replaced it
// and the mark that the run stands have been forced to the disk: a power
// cut at any moment leaves the original under its name or named in a
// record on the disk.
TEST_P(Vraceni, ZalohyAzPoVynuceni) {
    std::vector<std::wstring> vynucene;
    int64_t znacka = 0;
    for (const auto& radek : cisty_.zaznam) {
        const int64_t c = std::stoll(Utf8(radek));
        const std::wstring volani = radek.substr(radek.find(L' ') + 1);
        if (volani.starts_with(L"Vynut ")) vynucene.push_back(volani.substr(6));
        if (volani.starts_with(L"VynutPripis ") && c == stoji_ + 1) znacka = c;
        if (!volani.starts_with(L"SmazSoubor ") || volani.find(L".zaloha") == std::wstring::npos) continue;
        EXPECT_GT(znacka, 0) << Utf8(radek);
        const std::wstring puvodni = volani.substr(11, volani.find(L".zaloha") - 11);
        if (!s_.odebrani) {
            EXPECT_NE(std::find(vynucene.begin(), vynucene.end(), puvodni), vynucene.end()) << Utf8(radek);
        }
    }
}

std::string Jmeno(const testing::TestParamInfo<Parametry>& info) {
    const auto [souboru, zastupci, cil, odebrani, hodnota, aplikace] = info.param;
    const char* const cile[] = {"CilChybi", "TriUrovneChybi", "CilSeStarymiSoubory"};
    const char* const cileSHodnotou[] = {"DveUrovneChybi", "TriUrovneChybi", "CilSeStarymiSoubory"};
    const std::string druh = std::string(aplikace == 2 ? "Znovu_" : "") + (odebrani ? "Odebrani_" : "");
    if (hodnota)
        return druh + "Souboru" + std::to_string(souboru) + "_SHodnotou_" + cileSHodnotou[static_cast<int>(cil)];
    return druh + "Souboru" + std::to_string(souboru) + (zastupci ? "_SeZastupci_" : "_BezZastupcu_") +
           cile[static_cast<int>(cil)];
}

INSTANTIATE_TEST_SUITE_P(Scenare, Vraceni,
                         testing::Combine(testing::Values(0, 1, 3), testing::Bool(),
                                          testing::Values(Cil::Chybi, Cil::Castecne, Cil::Existuje),
                                          testing::Bool(), testing::Values(false), testing::Values(0)),
                         Jmeno);

// Into Custom Office Templates with the PersonalTemplates value, which no
// link comes with.
INSTANTIATE_TEST_SUITE_P(OsobniSablony, Vraceni,
                         testing::Combine(testing::Values(0, 1, 3), testing::Values(false),
                                          testing::Values(Cil::Chybi, Cil::Castecne, Cil::Existuje),
                                          testing::Values(false), testing::Values(true), testing::Values(0)),
                         Jmeno);

// With the set's entry among installed programs, its kept copy of Setup and
// its list: made by an install, updated by a later one, taken away by a
// removal; a Storno, a failure or a kill leaves none of them, or the older
// ones as they were.
INSTANTIATE_TEST_SUITE_P(Aplikace, Vraceni,
                         testing::Combine(testing::Values(1, 3), testing::Values(true),
                                          testing::Values(Cil::Chybi, Cil::Existuje), testing::Bool(),
                                          testing::Values(false), testing::Values(1)),
                         Jmeno);
INSTANTIATE_TEST_SUITE_P(AplikaceZnovu, Vraceni,
                         testing::Combine(testing::Values(1), testing::Bool(),
                                          testing::Values(Cil::Chybi, Cil::Existuje), testing::Values(false),
                                          testing::Values(false), testing::Values(2)),
                         Jmeno);

// A text as a file holds it on the fake disk: its UTF-8 bytes, one a character.
std::wstring ZUtf8Znaky(const std::wstring& text) {
    const std::string bajty = Utf8(text);
    std::wstring znaky;
    for (const char b : bajty) znaky += static_cast<wchar_t>(static_cast<unsigned char>(b));
    return znaky;
}

// Records no run of this program writes, planted by another program or
// damaged: nothing of any of them is carried out, not even the steps that
// would keep every rule, and the box names the record once.
TEST(Obnova, PodvrzeneZaznamySeNeprovadeji) {
    const std::wstring cil = L"C:\\Office\\Templates\\Dopisy", spravny = L"F\t" + cil + L"\\a.dot\t5\t0\n";
    const std::wstring run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::vector<std::wstring> zaznamy{
        L"F\tC:\\Windows\\win.ini\t3\t0\n",
        L"S\tC:\\Windows\\System32\n",
        L"L\tC:\\Windows\\x.lnk\t" + cil + L"\n",
        L"O\tC:\\Windows\\system.ini\t" + cil + L"\\a.dot.zaloha1\n",
        L"O\t" + cil + L"\\a.dot\tC:\\Windows\\win.ini.zaloha1\n",
        L"O\t" + cil + L"\\a.dot\t" + cil + L"\\a.dot.bak\n",
        L"R\t2147483650\t" + run + L"\tAutostart\tx\n",
        L"R\t2147483649\t" + run + L"\tAutostart\tx\n",
        L"K\t2147483650\tSoftware\\Microsoft\\Office\n",
        L"K\t2147483649\tSoftware\\Microsoft\n",
        L"C\t2147483649\tSoftware\n",
        L"D\tC:\\Windows\n",
        L"O\tC:\\Windows\\win.ini\tC:\\Windows\\win.ini.zaloha1\nH\n",   // a forged finished run
        // Beside the records: only the set's own copy, list and folder; in
        // the registry only its own entry's values, never a value of
        // another key put back.
        L"F\t" + SlozkaZaznamu + L"\\Jiná\\Setup.exe\t3\t0\n",
        L"W\t" + SlozkaZaznamu + L"\\Dopisy\\beh1.txt\t3\n",
        L"W\tC:\\Windows\\win.ini\t3\n",
        L"D\t" + SlozkaZaznamu + L"\n",
        L"R\t2147483649\t" + KlicAplikace(L"Jiná") + L"\tDisplayName\t\tx\n",
        L"R\t2147483649\t" + KlicAplikace(L"Dopisy") + L"\tRun\tx\t1\n",
        L"R\t2147483649\t" + run + L"\tAutostart\tx\t1\n",
        L"K\t2147483649\tSoftware\\Microsoft\\Windows\n",
    };
    for (std::size_t i = 0; i <= zaznamy.size(); ++i) {
        SCOPED_TRACE(i);
        Instalator in;
        in.m.disk.Soubor(cil + L"\\a.dot", L"12345", AtributArchiv, 0);
        in.m.disk.Soubor(L"C:\\Windows\\win.ini", L"ini", AtributArchiv, 0);
        in.m.disk.Soubor(L"C:\\Windows\\win.ini.zaloha1", L"ini", AtributArchiv, 0);
        in.m.disk.Soubor(L"C:\\Windows\\System32\\x", L"x");
        in.m.disk.Soubor(L"C:\\Windows\\system.ini", L"ini", AtributArchiv, 0);
        in.m.registr.NastavText(HKEY_LOCAL_MACHINE_, run, L"Autostart", L"x");
        in.m.registr.NastavText(HKEY_CURRENT_USER_, run, L"Autostart", L"x");
        // The last row: the target itself no place for templates.
        const std::wstring prvni = i < zaznamy.size() ? L"SETUP\t2\tI\t" + cil + L"\tE:\\Dopisy\t\n"
                                                      : L"SETUP\t2\tI\tC:\\\tE:\\Dopisy\t\n";
        in.m.disk.Soubor(SlozkaZaznamu + L"\\beh7.txt",
                         ZUtf8Znaky(prvni + spravny + (i < zaznamy.size() ? zaznamy[i] : L"")));
        const Snimek pred = BezZaznamu(in.m.disk.Stav());
        const auto registr = in.m.registr.Stav();
        const VysledekObnovy o = DokonciPrerusene(in.m.disk, in.m.registr, in.m.shell, SlozkaZaznamu);
        EXPECT_EQ(BezZaznamu(in.m.disk.Stav()), pred);
        EXPECT_EQ(in.m.registr.Stav(), registr);
        ASSERT_TRUE(OznamObnovu(in.m.okna, o, SlozkaZaznamu));
        EXPECT_TRUE(Pojmenovano(in.m.okna.Zpravy(), SlozkaZaznamu + L"\\beh7.txt.odmitnuto"));
        // Named once: the next start finds nothing to say.
        EXPECT_FALSE(DokonciPrerusene(in.m.disk, in.m.registr, in.m.shell, SlozkaZaznamu).JeCoHlasit());
    }
}

// Records are read whatever their names' numbers, and a new one is never
// given a name that wraps around; a folder the record cannot be made in, a
// protected folder another user could write to, are named with the reason.
TEST(Obnova, NazvyASlozkyZaznamu) {
    Instalator in;
    in.Sablona(L"a.dot");
    in.m.disk.Soubor(SlozkaZaznamu + L"\\beh9999999999999999999.txt", L"");
    std::vector<std::wstring> nazvy;
    in.m.zasahy.akce[20] = [&] { nazvy = ZaznamyVeSlozce(in.m.disk, SlozkaZaznamu); };   // the record is written by now
    EXPECT_EQ(in.Spust(), setup::Vysledek::Hotovo);
    EXPECT_EQ(nazvy, (std::vector<std::wstring>{L"beh10000000000000000000.txt", L"beh9999999999999999999.txt"}));

    Instalator soubor;
    soubor.m.disk.Soubor(SlozkaZaznamu, L"x");
    EXPECT_EQ(soubor.Spust(), setup::Vysledek::Selhalo);
    EXPECT_TRUE(Pojmenovano(soubor.m.okna.Zpravy(), SlozkaZaznamu));

    Instalator chraneny;
    chraneny.Sablona(L"a.dot");
    chraneny.slozky.ZaznamyChranene = true;
    chraneny.slozky.SlozkaZaznamu = L"C:\\ProgramData\\Instalace šablon\\S-1-5-21-7";
    chraneny.m.disk.Slozka(L"C:\\ProgramData");
    std::wstring zabezpeceni;
    chraneny.m.zasahy.akce[20] = [&] { zabezpeceni = chraneny.m.disk.Zabezpeceni(chraneny.slozky.SlozkaZaznamu); };
    EXPECT_EQ(chraneny.Spust(), setup::Vysledek::Hotovo);
    EXPECT_EQ(zabezpeceni, ZabezpeceniZaznamu);
    EXPECT_EQ(chraneny.m.disk.Zabezpeceni(L"C:\\ProgramData\\Instalace šablon"), ZabezpeceniZaznamu);
    EXPECT_TRUE(JenSpravci(L"O:BAG:SYD:PAI(A;OICI;FA;;;SY)(A;OICIID;FA;;;S-1-5-32-544)(D;;FA;;;WD)"));
    // Made by a user before any administrator: not trusted, nothing in it read.
    chraneny.m.disk.Soubor(chraneny.slozky.SlozkaZaznamu + L"\\beh1.txt", L"SETUP\t2\tI\tC:\\x\tE:\\y\t\nF\tC:\\x\\a\n");
    const VysledekObnovy o = DokonciPrerusene(chraneny.m.disk, chraneny.m.registr, chraneny.m.shell,
                                              chraneny.slozky.SlozkaZaznamu, true);
    ASSERT_EQ(o.zbyva.size(), 1u);
    EXPECT_NE(o.zbyva[0].find(L"jiní uživatelé"), std::wstring::npos);
    EXPECT_EQ(chraneny.Spust(), setup::Vysledek::Selhalo);
}

}  // namespace
}  // namespace setup::test
