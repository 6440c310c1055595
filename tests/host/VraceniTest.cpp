// The rollback invariant, checked exhaustively: whatever point a cancel, a
// failure or a kill hits, the disk ends as it was before the run (or, on
// success, as a clean success leaves it), and what the user sees is what the
// design calls for. A failure during rollback itself may leave only what a
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
};

const std::wstring Zast = L"C:\\Users\\Jana\\AppData\\Roaming\\Microsoft\\Šablony";

void Priprav(Instalator& in, const Scenar& s) {
    const wchar_t* const sablony[] = {L"a.dot", L"b.dot", L"c.xlt"};
    for (int i = 0; i < s.souboru; ++i) in.Sablona(sablony[i]);
    // Never copied: a hidden file and a subfolder of the set.
    in.m.disk.Soubor(L"E:\\Dopisy\\skryty.dot", L"x", AtributSkryty, CasMedia);
    in.m.disk.Soubor(L"E:\\Dopisy\\Pod\\x.dot", L"x", 0, CasMedia);
    in.m.disk.Slozka(L"C:\\Users\\Jana\\AppData\\Roaming");

    std::wstring cil = L"C:\\Office\\Templates\\Dopisy";
    if (s.cil == Cil::Castecne) {
        in.m.disk.Slozka(L"C:\\Data");
        cil = L"C:\\Data\\A\\B\\Dopisy";
    } else if (s.cil == Cil::Existuje) {
        in.m.disk.Soubor(cil + L"\\a.dot", L"starý a", AtributJenProCteni, CasStary);
        in.m.disk.Soubor(cil + L"\\b.dot", L"starý b", AtributSkryty, CasStary);
        in.m.disk.Soubor(cil + L"\\moje.dot", L"uživatelova", AtributJenProCteni, CasStary);
        if (s.zastupci) in.m.disk.Soubor(Zast + L"\\Dopisy.lnk", L"[starý odkaz]", AtributJenProCteni, CasStary);
    }
    in.ZadejCil(cil);
    if (s.zastupci) in.Zastupci(Zast);
}

bool ZacinaNa(const std::wstring& text, const std::wstring& zacatek) {
    return text.compare(0, zacatek.size(), zacatek) == 0;
}

struct Vystup {
    Snimek pred, po;
    Snimek poStartu;                     // after the next start's look at the run's records
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
    v.pred = in.m.disk.Stav();
    zasah(in.m);
    in.Spust();
    v.po = in.m.disk.Stav();
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
    v.obnova = DokonciPrerusene(in.m.disk, in.m.registr, SlozkaZaznamu);
    v.poStartu = in.m.disk.Stav();
    return v;
}

// The disk without the run records' folder.
Snimek BezZaznamu(Snimek snimek) {
    std::erase_if(snimek, [](const auto& p) { return ZacinaNa(p.first, SlozkaZaznamu); });
    return snimek;
}

// A run that ended, however, left nothing for the next start to take back,
// and no record of itself unless a step of its own clean-up failed; then
// the next start clears it away, silently.
void OverNicKVraceni(const Vystup& v) {
    EXPECT_FALSE(v.obnova.NecoVraceno());
    EXPECT_EQ(v.obnova.zbyva, std::vector<std::wstring>{});
    for (const auto& [cesta, stav] : v.poStartu)
        EXPECT_EQ(cesta.find(SlozkaZaznamu), std::wstring::npos) << Utf8(cesta);
}


// The shape every run has: the first report, the hidden main window, the
// records' status lines in order, a rollback over exactly the records
// reached (when there is one), and the exit path.
void OverPrubeh(const std::vector<Udalost>& u) {
    ASSERT_GE(u.size(), 4u);
    EXPECT_EQ(u[0], H(Priprava, 1, 3));
    EXPECT_EQ(u[1], Skryj);
    EXPECT_EQ(u[u.size() - 2], Zavri);
    const bool uspech = u.back() == Uvolni;
    EXPECT_TRUE(uspech || u.back() == Zobraz);

    std::vector<std::wstring> nazvy{L""};   // record names, from 1
    int32_t celkem = 0;
    std::size_t i = 2;
    for (; i < u.size() - 2 && u[i].druh != Udalost::ZakazStorno; ++i) {
        if (u[i].druh == Udalost::Hlaska && ZacinaNa(u[i].text, L"Instaluje se: ")) {
            EXPECT_EQ(u[i].hotovo, static_cast<int32_t>(nazvy.size()));
            nazvy.push_back(u[i].text.substr(14));
            celkem = u[i].celkem;
        }
        EXPECT_FALSE(u[i].druh == Udalost::Hlaska && ZacinaNa(u[i].text, L"Ruší se"));
    }
    if (uspech) {
        EXPECT_EQ(static_cast<int32_t>(nazvy.size()) - 1, celkem);
        const auto dokonceno = std::find(u.begin(), u.end(), H(L"Instalace dokončena.", 1, 1));
        ASSERT_NE(dokonceno, u.end());
        EXPECT_EQ(*(dokonceno + 1), Dokonceno);
    }
    if (i == u.size() - 2) return;   // no rollback

    EXPECT_FALSE(uspech);
    int32_t dalsi = static_cast<int32_t>(nazvy.size()) - 1;
    for (++i; i < u.size() - 2; ++i) {
        if (u[i].druh == Udalost::Zprava) continue;
        ASSERT_EQ(u[i].druh, Udalost::Hlaska);
        ASSERT_GE(dalsi, 1);
        EXPECT_EQ(u[i], H(L"Ruší se instalace: " + nazvy[static_cast<std::size_t>(dalsi)], dalsi, celkem));
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

class Vraceni : public testing::TestWithParam<std::tuple<int, bool, Cil>> {
protected:
    void SetUp() override {
        s_ = {std::get<0>(GetParam()), std::get<1>(GetParam()), std::get<2>(GetParam())};
        cisty_ = Spust(s_, [](FalesnyStroj& m) { m.zasahy.zaznamenavat = true; });
        ASSERT_EQ(cisty_.udalosti.back(), Uvolni);
        ASSERT_EQ(cisty_.zpravy, std::vector<Udalost>{Dokonceno});
        // Hlaska calls: the preparation reports, "Instaluje se." and one per
        // record, "Instalace dokončena.", and the closing empty one.
        const auto& h = cisty_.volaniPredHlaskou;
        hlasek_ = static_cast<int32_t>(h.size());
        instalujeSe_ = s_.zastupci ? 4 : 3;
        zaznamu_ = hlasek_ - instalujeSe_ - 2;
        ASSERT_EQ(zaznamu_, 1 + s_.zastupci + s_.souboru + s_.zastupci);
        konecSestaveni_ = h[static_cast<std::size_t>(instalujeSe_ - 1)];
        konecProvedeni_ = h[static_cast<std::size_t>(hlasek_ - 2)];
        konecBehu_ = cisty_.volaniPredZpravou.at(0);
    }

    Scenar s_{};
    Vystup cisty_;
    int32_t hlasek_ = 0, instalujeSe_ = 0, zaznamu_ = 0;
    // Platform calls up to the end of the plan's building, to "Instalace
    // dokončena.", and to the completion box, when the run stands.
    int64_t konecSestaveni_ = 0, konecProvedeni_ = 0, konecBehu_ = 0;
};

TEST_P(Vraceni, UspechAZalohyUklizene) {
    OverPrubeh(cisty_.udalosti);
    OverNicKVraceni(cisty_);
    EXPECT_EQ(cisty_.po, cisty_.poStartu) << "the run removes its own record";
    for (const auto& [cesta, stav] : cisty_.po)
        EXPECT_EQ(cesta.find(L".zaloha"), std::wstring::npos) << Utf8(cesta);
    for (const auto& [cesta, stav] : cisty_.pred)
        if (ZacinaNa(cesta, L"E:") || cesta.find(L"moje.dot") != std::wstring::npos) {
            EXPECT_EQ(cisty_.po.at(cesta), stav) << Utf8(cesta);
        }
}

TEST_P(Vraceni, StornoPriKazdeZprave) {
    for (int32_t k = 1; k <= hlasek_; ++k) {
        SCOPED_TRACE("Storno při zprávě " + std::to_string(k));
        const Vystup v = Spust(s_, [&](FalesnyStroj& m) { m.okna.stornovatPriHlasce = {k}; });
        OverPrubeh(v.udalosti);
        // Up to the completion box, every Storno takes the run back; only
        // the report that closes the window comes after it.
        const bool uspech = k >= hlasek_;
        const bool vraceni = !uspech && k >= instalujeSe_;
        EXPECT_EQ(v.udalosti.back(), uspech ? Uvolni : Zobraz);
        EXPECT_EQ(std::count(v.udalosti.begin(), v.udalosti.end(), Zakaz), vraceni ? 1 : 0);
        EXPECT_EQ(v.zpravy, uspech ? std::vector<Udalost>{Dokonceno} : std::vector<Udalost>{});
        EXPECT_EQ(Rozdil(uspech ? cisty_.po : v.pred, v.po), std::vector<std::wstring>{});
        OverNicKVraceni(v);
    }
}

TEST_P(Vraceni, StornoPriKazdemVolani) {
    for (int64_t c = 1; c <= cisty_.volani; ++c) {
        SCOPED_TRACE("Storno při volání " + std::to_string(c));
        const Vystup v = Spust(s_, [&](FalesnyStroj& m) { m.zasahy.stornovatPriVolani = c; });
        OverPrubeh(v.udalosti);
        // A copy stops half way, its target never there.
        const std::wstring& volani = cisty_.zaznam.at(static_cast<std::size_t>(c - 1));
        if (volani.find(L" Kopiruj ") != std::wstring::npos) {
            EXPECT_EQ(v.zastaveneKopie, std::vector<std::wstring>{volani.substr(volani.rfind(L' ') + 1)});
        }
        const bool uspech = c > konecProvedeni_;
        EXPECT_EQ(v.udalosti.back(), uspech ? Uvolni : Zobraz);
        EXPECT_EQ(v.zpravy, uspech ? std::vector<Udalost>{Dokonceno} : std::vector<Udalost>{});
        EXPECT_EQ(Rozdil(uspech ? cisty_.po : v.pred, v.po), std::vector<std::wstring>{});
        OverNicKVraceni(v);
    }
}

TEST_P(Vraceni, SelhaniKazdehoVolani) {
    for (int64_t k = 1; k <= cisty_.volani; ++k) {
        SCOPED_TRACE("Selhání volání " + std::to_string(k));
        const Vystup v = Spust(s_, [&](FalesnyStroj& m) { m.zasahy.selhatVolani = {k}; });
        ASSERT_EQ(v.selhani, 1);
        OverPrubeh(v.udalosti);
        OverNicKVraceni(v);
        // A failure and a Storno at once (the shell writing no link while
        // the user presses Storno): the same rollback, no second box, and
        // the disk as before, a link from before byte for byte.
        const Vystup sStornem = Spust(s_, [&](FalesnyStroj& m) {
            m.zasahy.selhatVolani = {k};
            m.zasahy.stornovatPriVolani = k;
        });
        OverPrubeh(sStornem.udalosti);
        if (k <= konecBehu_) {
            EXPECT_EQ(sStornem.zpravy.size(), v.zpravy.size());
            EXPECT_EQ(Rozdil(v.pred, sStornem.po), std::vector<std::wstring>{});
        }
        const bool vraceni = k > konecSestaveni_ && k <= konecBehu_;
        EXPECT_EQ(std::count(v.udalosti.begin(), v.udalosti.end(), Zakaz), vraceni ? 1 : 0);
        if (k <= konecBehu_) {
            // One box, the platform's own words, before any rollback line.
            ASSERT_EQ(v.zpravy.size(), 1u);
            EXPECT_EQ(v.zpravy[0].text.find(L"\r\n"), std::wstring::npos);
            EXPECT_EQ(v.udalosti.back(), Zobraz);
            EXPECT_EQ(Rozdil(v.pred, v.po), std::vector<std::wstring>{});
        } else {
            // Tidying up after success: the install stands; a backup left
            // behind is named, and a record of the run left behind is
            // cleared by the next start.
            ASSERT_GE(v.zpravy.size(), 1u);
            EXPECT_LE(v.zpravy.size(), 2u);
            EXPECT_EQ(v.zpravy[0], Dokonceno);
            EXPECT_EQ(v.udalosti.back(), Uvolni);
            const auto rozdil = Rozdil(cisty_.po, v.poStartu);
            EXPECT_EQ(rozdil.size(), v.zpravy.size() - 1);
            for (const auto& cesta : rozdil) EXPECT_TRUE(Pojmenovano(v.zpravy, cesta)) << Utf8(cesta);
        }
    }
}

TEST_P(Vraceni, SelhaniBehemVraceni) {
    // What starts the rollback: Storno at each record's status line or
    // during each call while installing, or the failure of each such call.
    std::vector<std::function<void(FalesnyStroj&)>> spoustece;
    for (int32_t k = instalujeSe_; k < hlasek_ - 1; ++k)
        spoustece.push_back([k](FalesnyStroj& m) { m.okna.stornovatPriHlasce = {k}; });
    for (int64_t k = konecSestaveni_ + 1; k <= konecBehu_; ++k) {
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
            OverPrubeh(v.udalosti);
            EXPECT_EQ(v.udalosti.back(), Zobraz);
            OverNicKVraceni(v);
            // The record of the run is no step to take back: a failure to
            // remove it is silent, and the next start clears it.
            if (spusteny.zaznam.at(static_cast<std::size_t>(j - 1)).find(SlozkaZaznamu) != std::wstring::npos) {
                EXPECT_EQ(v.zpravy.size(), zpravSpoustece);
                EXPECT_EQ(Rozdil(v.pred, v.poStartu), std::vector<std::wstring>{});
                continue;
            }
            ASSERT_GT(v.zpravy.size(), zpravSpoustece);
            for (std::size_t z = zpravSpoustece; z < v.zpravy.size(); ++z)
                EXPECT_NE(v.zpravy[z].text.find(L"\r\n\r\n"), std::wstring::npos) << Utf8(v.zpravy[z].text);
            OverNicNeztraceno(v.pred, v.poStartu, v.zpravy);
            ++behu;
        }
    }
    RecordProperty("behu", behu);
    // Only an install that changes nothing has no rollback step to fail.
    if (s_.souboru > 0 || s_.zastupci || s_.cil != Cil::Existuje) {
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
        std::shared_ptr<const FalesnyDisk::Zachyceni> pozustalost;
        in.m.zasahy.akce[k + 1] = [&] { pozustalost = in.m.disk.Zachyt(); };
        in.Spust();
        if (!pozustalost) pozustalost = in.m.disk.Zachyt();
        in.m.disk.Obnov(pozustalost);
        const Snimek poZabiti = in.m.disk.Stav();

        in.m.zasahy = Zasahy{};
        in.m.zasahy.stornovano = &in.m.okna.stornovano;
        in.m.okna.udalosti.clear();
        const VysledekObnovy o = DokonciPrerusene(in.m.disk, in.m.registr, SlozkaZaznamu);
        const bool box = OznamObnovu(in.m.okna, o, SlozkaZaznamu);
        EXPECT_EQ(o.zbyva, std::vector<std::wstring>{});
        const bool stal = k > konecProvedeni_;   // killed once the run stood (its record says so)
        EXPECT_EQ(Rozdil(stal ? cisty_.po : pred, in.m.disk.Stav()), std::vector<std::wstring>{});
        // One box when something was put back, and it names the target.
        EXPECT_EQ(box, o.NecoVraceno());
        EXPECT_EQ(box, !stal && !Rozdil(pred, BezZaznamu(poZabiti)).empty());
        if (box) {
            ASSERT_EQ(in.m.okna.Zpravy().size(), 1u);
            EXPECT_NE(in.m.okna.Zpravy()[0].text.find(L"„" + in.m.okna.textSlozky + L"“"), std::wstring::npos);
        }

        // The shell stamps a link with the time it writes it; nothing else
        // of an install differs from one run to the next.
        const auto bezCasuOdkazu = [](Snimek snimek) {
            for (auto& [cesta, stav] : snimek)
                if (cesta.ends_with(L".lnk")) stav.cas = 0;
            return snimek;
        };
        in.m.okna.udalosti.clear();
        EXPECT_EQ(in.Spust(), setup::Vysledek::Hotovo);
        EXPECT_EQ(Rozdil(bezCasuOdkazu(cisty_.po), bezCasuOdkazu(in.m.disk.Stav())), std::vector<std::wstring>{});
    }
}

std::string Jmeno(const testing::TestParamInfo<std::tuple<int, bool, Cil>>& info) {
    const auto [souboru, zastupci, cil] = info.param;
    const char* const cile[] = {"CilChybi", "TriUrovneChybi", "CilSeStarymiSoubory"};
    return "Souboru" + std::to_string(souboru) + (zastupci ? "_SeZastupci_" : "_BezZastupcu_") +
           cile[static_cast<int>(cil)];
}

INSTANTIATE_TEST_SUITE_P(Scenare, Vraceni,
                         testing::Combine(testing::Values(0, 1, 3), testing::Bool(),
                                          testing::Values(Cil::Chybi, Cil::Castecne, Cil::Existuje)),
                         Jmeno);

}  // namespace
}  // namespace setup::test
