// Install runs: what the user sees and what ends up on the disk, for a
// success, a cancel and an error, and for each kind of record.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "Scenar.h"
#include "engine/Denik.h"
#include "engine/Obnova.h"

namespace setup::test {
namespace {

const std::wstring Cil = L"C:\\Office\\Templates\\Dopisy";
const std::wstring Zast = L"C:\\Users\\Jana\\AppData\\Roaming\\Microsoft\\Šablony";

std::wstring Instaluje(const std::wstring& nazev) { return L"Instaluje se: " + nazev; }
std::wstring Rusi(const std::wstring& nazev) { return L"Ruší se instalace: " + nazev; }

class Beh : public testing::Test, protected Instalator {
protected:
    Beh() {
        Sablona(L"a.dot");
        Sablona(L"b.dot");
        m.disk.Slozka(L"C:\\Users\\Jana\\AppData\\Roaming");
    }
    // Paths under a folder, as the disk now holds them.
    std::vector<std::wstring> Obsah(const std::wstring& slozka) {
        std::vector<std::wstring> cesty;
        for (const auto& [cesta, stav] : m.disk.Stav())
            if (cesta.rfind(slozka + L"\\", 0) == 0) cesty.push_back(cesta.substr(slozka.size() + 1));
        return cesty;
    }
    std::wstring Text(const std::wstring& cesta) {
        const auto u = m.disk.Udaje(cesta);
        return u ? u->obsah : L"<chybí>";
    }
    bool JenProCteni(const std::wstring& cesta) {
        return (m.disk.Udaje(cesta)->atributy & AtributJenProCteni) != 0;
    }
    using Texty = std::vector<std::wstring>;
};

TEST_F(Beh, UspechSeZastupcem) {
    Zastupci();
    Spust();
    EXPECT_EQ(m.okna.udalosti,
              (std::vector<Udalost>{H(Priprava, 1, 3), Skryj, H(Priprava, 2, 3), H(Priprava, 3, 3),
                                    H(L"Instaluje se.", 0, 1), H(Instaluje(L"Šablony"), 1, 5),
                                    H(Instaluje(L"Zástupci"), 2, 5), H(Instaluje(L"a.dot"), 3, 5),
                                    H(Instaluje(L"b.dot"), 4, 5), H(Instaluje(L"Dopisy.lnk"), 5, 5),
                                    H(L"Instalace dokončena.", 1, 1), Dokonceno, Zavri, Uvolni}));
    EXPECT_EQ(Obsah(Cil), (Texty{L"a.dot", L"b.dot"}));
    EXPECT_EQ(Text(Cil + L"\\a.dot"), L"nový a.dot");
    EXPECT_EQ(m.disk.Udaje(Cil + L"\\a.dot")->cas, CasMedia);
    EXPECT_FALSE(JenProCteni(Cil + L"\\a.dot"));   // the medium's read-only bit does not travel
    EXPECT_EQ(Obsah(L"C:\\Users\\Jana\\AppData\\Roaming\\Microsoft"), (Texty{L"Šablony", L"Šablony\\Dopisy.lnk"}));
    EXPECT_EQ(Text(Zast + L"\\Dopisy.lnk"), FalesnyShell::ObsahOdkazu(Cil));
    EXPECT_EQ(m.shell.odkazy, (std::vector<FalesnyShell::Odkaz>{{Zast, L"Dopisy.lnk", Cil, L"", L"", L"", 5}}));
    EXPECT_TRUE(m.okna.Stornovano());   // the closed progress window leaves the flag up
}

TEST_F(Beh, PrazdnaSadaVytvoriSlozkyAOdkaz) {
    m.disk.Smaz(L"E:\\Dopisy\\a.dot");
    m.disk.Smaz(L"E:\\Dopisy\\b.dot");
    Zastupci();
    Spust();
    EXPECT_EQ(m.okna.udalosti.back(), Uvolni);
    EXPECT_EQ(Obsah(L"C:\\Office\\Templates"), (Texty{L"Dopisy"}));
    EXPECT_EQ(Text(Zast + L"\\Dopisy.lnk"), FalesnyShell::ObsahOdkazu(Cil));
}

TEST_F(Beh, StornoPredPrvnimZaznamem) {
    m.okna.stornovatPriHlasce = {3};   // while "Instaluje se." is shown
    const Snimek pred = m.disk.Stav();
    Spust();
    EXPECT_EQ(m.okna.udalosti,
              (std::vector<Udalost>{H(Priprava, 1, 3), Skryj, H(Priprava, 2, 3), H(L"Instaluje se.", 0, 1),
                                    H(Instaluje(L"Šablony"), 1, 3), Zakaz, H(Rusi(L"Šablony"), 1, 3),
                                    Zavri, Zobraz}));
    EXPECT_EQ(m.disk.Stav(), pred);
}

TEST_F(Beh, StornoPoZpraveAPoProvedenemZaznamu) {
    const Snimek pred = m.disk.Stav();
    m.okna.stornovatPriHlasce = {5};   // "Instaluje se: a.dot": a.dot is not copied
    Spust();
    EXPECT_EQ(std::vector<Udalost>(m.okna.udalosti.begin() + 4, m.okna.udalosti.end()),
              (std::vector<Udalost>{H(Instaluje(L"Šablony"), 1, 3), H(Instaluje(L"a.dot"), 2, 3), Zakaz,
                                    H(Rusi(L"a.dot"), 2, 3), H(Rusi(L"Šablony"), 1, 3), Zavri, Zobraz}));
    EXPECT_EQ(m.disk.Stav(), pred);

}

TEST_F(Beh, StornoBehemKopieJiZastavi) {
    // Storno pressed while a.dot is being copied: the copy, watching the
    // flag, stops half way, and nothing of it is left.
    const Snimek pred = m.disk.Stav();
    m.zasahy.StornovatNaCeste(Cil + L"\\a.dot", L"Kopiruj");
    Spust();
    EXPECT_EQ(std::vector<Udalost>(m.okna.udalosti.begin() + 4, m.okna.udalosti.end()),
              (std::vector<Udalost>{H(Instaluje(L"Šablony"), 1, 3), H(Instaluje(L"a.dot"), 2, 3), Zakaz,
                                    H(Rusi(L"a.dot"), 2, 3), H(Rusi(L"Šablony"), 1, 3), Zavri, Zobraz}));
    EXPECT_EQ(m.disk.zastaveneKopie, Texty{Cil + L"\\a.dot"});
    EXPECT_EQ(m.disk.Stav(), pred);
}

TEST_F(Beh, ChybaPriKopiiVraciVseZpet) {
    const Snimek pred = m.disk.Stav();
    m.zasahy.SelhatNaCeste(Cil + L"\\b.dot", L"Kopiruj");
    Spust();
    EXPECT_EQ(std::vector<Udalost>(m.okna.udalosti.begin() + 4, m.okna.udalosti.end()),
              (std::vector<Udalost>{H(Instaluje(L"Šablony"), 1, 3), H(Instaluje(L"a.dot"), 2, 3),
                                    H(Instaluje(L"b.dot"), 3, 3), Box(L"Na disku není dostatek místa."),
                                    Zakaz, H(Rusi(L"b.dot"), 3, 3), H(Rusi(L"a.dot"), 2, 3),
                                    H(Rusi(L"Šablony"), 1, 3), Zavri, Zobraz}));
    EXPECT_EQ(m.disk.Stav(), pred);
}

TEST_F(Beh, ChybaPriSestaveniBezVraceni) {
    m.zasahy.SelhatNaCeste(L"E:\\Dopisy\\b.dot", L"Vlastnosti");
    Spust();
    EXPECT_EQ(m.okna.udalosti, (std::vector<Udalost>{H(Priprava, 1, 3), Skryj, H(Priprava, 2, 3),
                                                     Box(L"Přístup byl odepřen."), Zavri, Zobraz}));
}

TEST_F(Beh, ChybnyCilNicNezmeni) {
    const Snimek pred = m.disk.Stav();
    for (const std::wstring cil : {L"", L"Sablony", L"C:/Office/Templates/Dopisy"}) {
        m.okna.udalosti.clear();
        ZadejCil(cil);
        Spust();
        ASSERT_EQ(m.okna.udalosti.size(), 5u);
        EXPECT_EQ(m.okna.udalosti[2].druh, Udalost::Zprava);
        EXPECT_NE(m.okna.udalosti[2].text.find(L"ílová složka"), std::wstring::npos);
        EXPECT_EQ(m.okna.udalosti.back(), Zobraz);
        EXPECT_EQ(m.zasahy.volani, 0);
        EXPECT_EQ(m.disk.Stav(), pred);
        EXPECT_EQ(slozky.CilSlozka, L"C:\\Office\\Templates\\Dopisy");
    }
}

TEST_F(Beh, CilJeSouborZdrojZmizelNeboHlaskaPretekla) {
    // Each failure is reported and the machine is left as it was before.
    // A file where the target folder belongs stops the run at that folder,
    // even with nothing to copy into it.
    m.disk.Soubor(L"C:\\Office\\Templates\\Soubor", L"můj", 0, CasStary);
    ZadejCil(L"C:\\Office\\Templates\\Soubor");
    Snimek pred = m.disk.Stav();
    for (const bool prazdnaSada : {false, true}) {
        if (prazdnaSada) {
            m.disk.Smaz(L"E:\\Dopisy\\a.dot");
            m.disk.Smaz(L"E:\\Dopisy\\b.dot");
            pred = m.disk.Stav();
        }
        m.okna.udalosti.clear();
        Spust();
        EXPECT_EQ(m.okna.Zpravy(), (std::vector<Udalost>{Box(L"Nelze vytvořit soubor, který již existuje.")}));
        EXPECT_EQ(m.okna.udalosti.back(), Zobraz);
        EXPECT_EQ(m.disk.Stav(), pred);
    }
    Sablona(L"a.dot");
    Sablona(L"b.dot");
    pred = m.disk.Stav();

    ZadejCil(Cil);
    m.okna.udalosti.clear();
    m.zasahy.zaznamenavat = true;
    m.zasahy.akce[m.zasahy.volani + 4] = [&] { m.disk.Smaz(L"E:\\Dopisy\\b.dot"); };   // after the listing
    Spust();
    EXPECT_EQ(m.okna.Zpravy(), (std::vector<Udalost>{Box(L"Systém nemůže nalézt uvedený soubor.")}));
    pred.erase(L"E:\\Dopisy\\b.dot");
    EXPECT_EQ(m.disk.Stav(), pred);

    m.okna.udalosti.clear();
    m.okna.hlasek = 0;
    m.okna.selhatPriHlasce = {5};   // the status line of a.dot
    Spust();
    EXPECT_EQ(m.okna.Zpravy(), (std::vector<Udalost>{Box(L"Přetečení.")}));
    EXPECT_EQ(m.okna.udalosti[m.okna.udalosti.size() - 5], Zakaz);
    EXPECT_EQ(m.disk.Stav(), pred);
}

class Pravidla : public Beh, public testing::WithParamInterface<std::tuple<int32_t, bool>> {};

TEST_P(Pravidla, PrepsaniPodlePravidla) {
    const auto [prepsat, cilStarsi] = GetParam();
    m.disk.Soubor(L"C:\\Cil\\a.dot", L"starý", 0, cilStarsi ? CasStary : CasMedia + 1);
    Plan plan;
    plan.Pridej(Zaznam(TypSoubor, L"a.dot", L"E:\\Dopisy", L"C:\\Cil", prepsat));
    plan.Pridej(Zaznam(TypSoubor, L"b.dot", L"E:\\Dopisy", L"C:\\Cil", prepsat));   // target missing
    SpustPlan(std::move(plan));

    const bool prepise = prepsat == PrepsatVzdy || (prepsat == PrepsatStarsi && cilStarsi);
    EXPECT_EQ(Text(L"C:\\Cil\\a.dot"), prepise ? L"nový a.dot" : L"starý");
    EXPECT_EQ(Text(L"C:\\Cil\\b.dot"), L"nový b.dot");
    EXPECT_EQ(Obsah(L"C:\\Cil"), (Texty{L"a.dot", L"b.dot"}));   // no backup left behind
    EXPECT_EQ(m.okna.udalosti.back(), Uvolni);
}

TEST_F(Beh, SouborVzniklyVNoveSlozcePredKopiiJeCizi) {
    // The run makes the target folder, and another program writes a.dot
    // into it just before the run copies a.dot there. The copy must not
    // take that file for its own: it is kept aside and comes back on a
    // cancel, as a file from before the run would.
    const Snimek pred = m.disk.Stav();
    const int64_t v0 = m.zasahy.volani;
    m.zasahy.zaznamenavat = true;
    Spust();
    int64_t kopieA = 0;
    for (const auto& radek : m.zasahy.zaznam)
        if (radek.find(L" Kopiruj ") != std::wstring::npos && radek.find(Cil + L"\\a.dot") != std::wstring::npos)
            kopieA = std::stoll(radek) - v0;
    ASSERT_GT(kopieA, 0);
    // Back to the disk from before: the topmost of what the run made goes.
    for (const auto& [cesta, stav] : m.disk.Stav())
        if (pred.count(cesta) == 0 && pred.count(cesta.substr(0, cesta.find_last_of(L'\\'))) != 0)
            m.disk.Smaz(cesta);
    ASSERT_EQ(m.disk.Stav(), pred);

    m.zasahy.akce[m.zasahy.volani + kopieA] = [&] { m.disk.Soubor(Cil + L"\\a.dot", L"cizí", 0, CasStary); };
    m.zasahy.StornovatNaCeste(Cil + L"\\b.dot", L"Kopiruj");
    Spust();
    EXPECT_EQ(Text(Cil + L"\\a.dot"), L"cizí");
    EXPECT_EQ(Obsah(Cil), (Texty{L"a.dot"}));   // b.dot gone, no backup left
}

INSTANTIATE_TEST_SUITE_P(Beh, Pravidla,
                         testing::Combine(testing::Values(PrepsatNikdy, PrepsatVzdy, PrepsatStarsi, 0, 7),
                                          testing::Bool()));

TEST_F(Beh, PrepsanySouborSeVratiCelyAOdkladanePojmenovaniNekoliduje) {
    // The set brings a.dot and a file whose name the backup of a.dot would
    // take first; the user keeps a.dot.zaloha2 of his own.
    Sablona(L"a.dot.zaloha1");
    m.disk.Soubor(Cil + L"\\a.dot", L"starý", AtributJenProCteni | AtributSkryty, CasStary);
    m.disk.Soubor(Cil + L"\\a.dot.zaloha2", L"uživatelův", 0, CasStary);
    m.disk.Soubor(Cil + L"\\b.dot", L"starý b", 0, CasStary);
    const Snimek pred = m.disk.Stav();

    // Storno while the last file is copied: it stops half way, after every
    // other record has done its work.
    m.zasahy.StornovatNaCeste(Cil + L"\\a.dot.zaloha1", L"Kopiruj");
    Spust();
    EXPECT_EQ(m.disk.zastaveneKopie, Texty{Cil + L"\\a.dot.zaloha1"});
    EXPECT_EQ(m.disk.Stav(), pred);

    m.zasahy.ZrusPravidla();
    Spust();
    EXPECT_EQ(Obsah(Cil), (Texty{L"a.dot", L"a.dot.zaloha1", L"a.dot.zaloha2", L"b.dot"}));
    EXPECT_EQ(Text(Cil + L"\\a.dot"), L"nový a.dot");
    EXPECT_EQ(Text(Cil + L"\\a.dot.zaloha1"), L"nový a.dot.zaloha1");
    EXPECT_EQ(Text(Cil + L"\\a.dot.zaloha2"), L"uživatelův");
    EXPECT_EQ(Text(Cil + L"\\b.dot"), L"nový b.dot");
    EXPECT_EQ(m.disk.Udaje(Cil + L"\\a.dot")->atributy, AtributArchiv);
}

TEST_F(Beh, InstalaceDoSamotneSadyNicNeztrati) {
    const Snimek pred = m.disk.Stav();
    m.zasahy.zaznamenavat = true;
    ZadejCil(L"e:\\DOPISY\\");
    Spust();
    EXPECT_EQ(m.okna.udalosti.back(), Uvolni);
    EXPECT_EQ(m.disk.Stav(), pred);
    for (const auto& radek : m.zasahy.zaznam) {
        EXPECT_EQ(radek.find(L" Kopiruj "), std::wstring::npos) << Utf8(radek);
        EXPECT_EQ(radek.find(L" Prejmenuj "), std::wstring::npos) << Utf8(radek);
    }
}

TEST_F(Beh, VsechnyVytvoreneUrovneSeOdstrani) {
    m.disk.Slozka(L"C:\\Data");
    ZadejCil(L"C:\\Data\\A\\B\\Dopisy");
    Zastupci();
    const Snimek pred = m.disk.Stav();
    m.okna.stornovatPriHlasce = {9};   // the link's status line
    Spust();
    EXPECT_EQ(m.disk.Stav(), pred);

    // A level that existed before is never removed, even when empty.
    m.disk.Slozka(L"C:\\Data\\A\\B");
    const Snimek pred2 = m.disk.Stav();
    m.okna.hlasek = 0;
    Spust();
    EXPECT_EQ(m.disk.Stav(), pred2);
}

TEST_F(Beh, NepovedenyKrokVraceniSeNahlasiAVraceniPokracuje) {
    Sablona(L"c.dot");
    const Snimek pred = m.disk.Stav();
    m.zasahy.SelhatNaCeste(Cil + L"\\c.dot", L"Kopiruj");
    m.zasahy.SelhatNaCeste(Cil + L"\\b.dot", L"SmazSoubor");
    Spust();
    const std::vector<Udalost> ocekavane{
        H(Instaluje(L"c.dot"), 4, 4),
        Box(L"Na disku není dostatek místa."),
        Zakaz,
        H(Rusi(L"c.dot"), 4, 4),
        H(Rusi(L"b.dot"), 3, 4),
        Box(L"Přístup byl odepřen.\r\n\r\nSoubor „" + Cil + L"\\b.dot“ se nepodařilo odstranit."),
        H(Rusi(L"a.dot"), 2, 4),
        H(Rusi(L"Šablony"), 1, 4),
        Box(L"Po zrušení instalace zůstalo na místě:\r\n– složka „" + Cil + L"“, ve které jsou jiné soubory"),
        Zavri,
        Zobraz};
    EXPECT_EQ(std::vector<Udalost>(m.okna.udalosti.end() - 11, m.okna.udalosti.end()), ocekavane);
    EXPECT_EQ(Rozdil(pred, m.disk.Stav()), (Texty{Cil, Cil + L"\\b.dot"}));
}

TEST_F(Beh, ZalohaKterouNelzeVratitZustaneAJeJmenovana) {
    m.disk.Soubor(Cil + L"\\a.dot", L"starý", 0, CasStary);
    m.zasahy.SelhatNaCeste(Cil + L"\\b.dot", L"Kopiruj");
    m.zasahy.SelhatNaCeste(Cil + L"\\a.dot.zaloha1", L"Prejmenuj", 2);   // putting it back
    Spust();
    EXPECT_EQ(m.okna.Zpravy(),
              (std::vector<Udalost>{Box(L"Na disku není dostatek místa."),
                                    Box(L"Přístup byl odepřen.\r\n\r\nSoubor „" + Cil +
                                        L"\\a.dot“ se nepodařilo obnovit. Původní soubor zůstal uložen jako „" +
                                        Cil + L"\\a.dot.zaloha1“.")}));
    EXPECT_EQ(Obsah(Cil), (Texty{L"a.dot.zaloha1"}));
    EXPECT_EQ(Text(Cil + L"\\a.dot.zaloha1"), L"starý");
}

TEST_F(Beh, ZalohuPoUspechuNelzeSmazat) {
    m.disk.Soubor(Cil + L"\\a.dot", L"starý", AtributJenProCteni, CasStary);
    m.zasahy.SelhatNaCeste(Cil + L"\\a.dot.zaloha1", L"SmazSoubor");
    Spust();
    EXPECT_EQ(std::vector<Udalost>(m.okna.udalosti.end() - 4, m.okna.udalosti.end()),
              (std::vector<Udalost>{Dokonceno,
                                    Box(L"Přístup byl odepřen.\r\n\r\nZáložní kopii „" + Cil +
                                        L"\\a.dot.zaloha1“ nahrazeného souboru se nepodařilo odstranit."),
                                    Zavri, Uvolni}));
    EXPECT_EQ(Text(Cil + L"\\a.dot"), L"nový a.dot");
    EXPECT_EQ(Text(Cil + L"\\a.dot.zaloha1"), L"starý");
}

TEST_F(Beh, SkrytaCilovaSlozkaSePovazujeZaExistujici) {
    m.disk.Slozka(Cil, AtributSkryty | AtributSystemovy);
    m.disk.Soubor(Cil + L"\\b.dot", L"starý", AtributSkryty, CasStary);
    const Snimek pred = m.disk.Stav();
    Spust();
    EXPECT_EQ(m.okna.udalosti.back(), Uvolni);
    EXPECT_EQ(Text(Cil + L"\\a.dot"), L"nový a.dot");
    EXPECT_EQ(Text(Cil + L"\\b.dot"), L"nový b.dot");

    m.disk.Smaz(Cil);
    m.disk.Slozka(Cil, AtributSkryty | AtributSystemovy);
    m.disk.Soubor(Cil + L"\\b.dot", L"starý", AtributSkryty, CasStary);
    m.okna.hlasek = 0;
    m.okna.stornovatPriHlasce = {6};
    Spust();
    EXPECT_EQ(Rozdil(pred, m.disk.Stav()), Texty{});
}

TEST_F(Beh, DruhaInstalaceZeStejnehoCd) {
    m.disk.Soubor(Cil + L"\\b.dot", L"starý", AtributJenProCteni, CasStary);
    Spust();
    m.okna.hlasek = 0;
    m.okna.udalosti.clear();
    Spust();
    EXPECT_EQ(m.okna.Zpravy(), (std::vector<Udalost>{Dokonceno}));
    EXPECT_EQ(Obsah(Cil), (Texty{L"a.dot", L"b.dot"}));
    EXPECT_FALSE(JenProCteni(Cil + L"\\a.dot"));
    EXPECT_FALSE(JenProCteni(Cil + L"\\b.dot"));
}

TEST_F(Beh, VraceniSmazeKopiiJenProCteni) {
    // The copy arrives read-only and clearing the bit fails: rollback must
    // still remove the file.
    const Snimek pred = m.disk.Stav();
    m.zasahy.SelhatNaCeste(Cil + L"\\a.dot", L"NastavAtributy", 1);
    Spust();
    EXPECT_EQ(m.okna.Zpravy(), (std::vector<Udalost>{Box(L"Přístup byl odepřen.")}));
    EXPECT_EQ(m.disk.Stav(), pred);
}

TEST_F(Beh, OdkazZPredchoziInstalace) {
    Zastupci();
    m.disk.Soubor(Zast + L"\\Dopisy.lnk", L"[starý odkaz]", AtributJenProCteni, CasStary);
    const Snimek pred = m.disk.Stav();
    const Udalost nevytvoren = Box(L"Zástupce „" + Zast + L"\\Dopisy.lnk“ se nepodařilo vytvořit.");

    // Storno while the new link is written: the old one comes back.
    m.zasahy.StornovatNaCeste(Zast + L"\\Dopisy.lnk", L"VytvorZastupce");
    Spust();
    EXPECT_EQ(m.okna.Zpravy(), std::vector<Udalost>{});
    EXPECT_EQ(m.disk.Stav(), pred);

    // The shell writes no new link, alone and with a Storno at that moment:
    // the run is taken back and the old link stays, byte for byte.
    for (const bool storno : {false, true}) {
        m.okna.udalosti.clear();
        m.zasahy.ZrusPravidla();
        m.zasahy.SelhatNaCeste(Zast + L"\\Dopisy.lnk", L"VytvorZastupce");
        if (storno) m.zasahy.StornovatNaCeste(Zast + L"\\Dopisy.lnk", L"VytvorZastupce");
        Spust();
        EXPECT_EQ(m.okna.Zpravy(), std::vector<Udalost>{nevytvoren});
        EXPECT_EQ(m.okna.udalosti.back(), Zobraz);
        EXPECT_EQ(m.disk.Stav(), pred);
    }

    // It can: the new link replaces the old one, read-only as that was.
    m.zasahy.ZrusPravidla();
    Spust();
    EXPECT_EQ(Text(Zast + L"\\Dopisy.lnk"), FalesnyShell::ObsahOdkazu(Cil));
    EXPECT_EQ(Obsah(Zast), (Texty{L"Dopisy.lnk"}));
}

TEST_F(Beh, NenapsanyOdkazJeChybouBehu) {
    Zastupci();
    m.disk.Slozka(Zast);
    const Snimek pred = m.disk.Stav();
    m.zasahy.SelhatNaCeste(Zast + L"\\Dopisy.lnk", L"VytvorZastupce");
    Spust();
    EXPECT_EQ(std::vector<Udalost>(m.okna.udalosti.end() - 10, m.okna.udalosti.end()),
              (std::vector<Udalost>{H(Instaluje(L"Dopisy.lnk"), 5, 5),
                                    Box(L"Zástupce „" + Zast + L"\\Dopisy.lnk“ se nepodařilo vytvořit."), Zakaz,
                                    H(Rusi(L"Dopisy.lnk"), 5, 5), H(Rusi(L"b.dot"), 4, 5),
                                    H(Rusi(L"a.dot"), 3, 5), H(Rusi(L"Zástupci"), 2, 5),
                                    H(Rusi(L"Šablony"), 1, 5), Zavri, Zobraz}));
    EXPECT_EQ(m.disk.Stav(), pred);
}

// A registry that runs out of memory, and a shell that breaks its promise
// never to throw: whatever escapes the machine ends in the report box.
class DochaziPamet final : public IRegistr {
public:
    std::wstring CtiRegistr(uint32_t, const std::wstring&, const std::wstring&) override {
        throw std::bad_alloc();
    }
    std::wstring CtiCestu(uint32_t, const std::wstring&, const std::wstring&, bool) override {
        throw std::bad_alloc();
    }
    bool ZapisRegistr(uint32_t, const std::wstring&, const std::wstring&, const std::wstring*,
                      int32_t) override {
        return true;
    }
    void SmazKlic(uint32_t, const std::wstring&) override {}
    bool ExistujeKlic(uint32_t, const std::wstring&) override { throw std::bad_alloc(); }
    bool ExistujeHodnota(uint32_t, const std::wstring&, const std::wstring&) override {
        throw std::bad_alloc();
    }
    bool SmazHodnotu(uint32_t, const std::wstring&, const std::wstring&) override { return true; }
    bool SmazPrazdnyKlic(uint32_t, const std::wstring&) override { return true; }
};
class VadnyShell final : public IShell {
public:
    std::wstring SpecialniSlozka(int32_t) override { return {}; }
    void VytvorZastupce(const std::wstring&, const std::wstring&, const std::wstring&,
                        const std::wstring&, const std::wstring&, const std::wstring&, int32_t) override {
        throw std::runtime_error("COM");
    }
    bool OdkazVedeDo(const std::wstring&, const std::wstring&) override { return false; }
};

TEST_F(Beh, CiziVyjimkySeHlasiJakoChyby) {
    const Snimek pred = m.disk.Stav();
    DochaziPamet registr;
    VadnyShell shell;
    Stroj s{m.disk, registr, shell, m.okna};
    Plan plan;
    plan.Pridej(Zaznam(TypSlozka, L"Šablony", L"", Cil));
    plan.Pridej(Zaznam(TypHodnota, L"Hodnota", L"", L"Software\\Test"));
    m.okna.Spust([&] { return BehInstalace(s, slozky, std::move(plan)).Spust(slozky.CilSlozka); });
    EXPECT_EQ(m.okna.Zpravy(), (std::vector<Udalost>{Box(L"Nedostatek paměti.")}));
    EXPECT_EQ(m.disk.Stav(), pred);

    m.okna.udalosti.clear();
    Plan plan2;
    plan2.Pridej(Zaznam(TypSlozka, L"Šablony", L"", Cil));
    plan2.Pridej(Zaznam(TypZastupce, L"Dopisy.lnk", Cil, L"C:\\Office"));
    m.okna.Spust([&] { return BehInstalace(s, slozky, std::move(plan2)).Spust(slozky.CilSlozka); });
    EXPECT_EQ(m.okna.Zpravy(), (std::vector<Udalost>{Box(L"Vnitřní chyba programu.")}));
    EXPECT_EQ(m.okna.udalosti.back(), Zobraz);
    EXPECT_EQ(m.disk.Stav(), pred);
}

TEST_F(Beh, RegistrovaZaznamyAJineTypy) {
    m.registr.NastavText(HKEY_LOCAL_MACHINE_, L"Software\\Test\\A", L"x", L"1");
    m.registr.NastavText(HKEY_LOCAL_MACHINE_, L"Software\\Test\\B", L"x", L"1");
    Plan plan;
    Objekt klicA = Zaznam(TypKlic, L"Klíč A", L"", L"Software\\Test\\A");
    klicA.HKey = HKEY_LOCAL_MACHINE_;
    Objekt klicB = Zaznam(TypKlic, L"Klíč B", L"", L"Software\\Test\\B");
    klicB.HKey = HKEY_LOCAL_MACHINE_;
    klicB.Undo = true;
    Objekt klicC = Zaznam(TypKlic, L"Klíč C", L"", L"Software\\Test\\C");
    klicC.HKey = HKEY_LOCAL_MACHINE_;
    klicC.Undo = true;   // a key that is not there: SmazKlic reports it, rollback goes on
    // A value written where none was goes with the keys its write made; one
    // that was there is left as it was.
    m.registr.NastavText(HKEY_CURRENT_USER_, L"Software", L"y", L"1");
    Objekt hodnota = Zaznam(TypHodnota, L"Jmeno", L"", L"Software\\Test\\Nový");
    hodnota.HKey = HKEY_CURRENT_USER_;
    hodnota.Hodnota = L"Jana";
    m.registr.NastavText(HKEY_CURRENT_USER_, L"Software\\Jiny", L"Jmeno", L"Petr");
    Objekt bylaTam = Zaznam(TypHodnota, L"Jmeno", L"", L"Software\\Jiny");
    bylaTam.HKey = HKEY_CURRENT_USER_;
    bylaTam.Hodnota = L"Jana";
    plan.Pridej(klicA);
    plan.Pridej(klicB);
    plan.Pridej(klicC);
    plan.Pridej(hodnota);
    plan.Pridej(bylaTam);
    plan.Pridej(Zaznam(static_cast<TypAkce>(99), L"Neznámý", L"E:\\Dopisy", L"C:\\Nic"));
    plan.Pridej(Zaznam(TypSlozka, L"Konec", L"", L"C:\\Konec"));
    m.okna.stornovatPriHlasce = {8};   // the last record's status line
    const Snimek pred = m.disk.Stav();
    SpustPlan(std::move(plan));

    EXPECT_TRUE(m.registr.MaKlic(HKEY_LOCAL_MACHINE_, L"Software\\Test\\A"));
    EXPECT_FALSE(m.registr.MaKlic(HKEY_LOCAL_MACHINE_, L"Software\\Test\\B"));
    EXPECT_FALSE(m.registr.MaKlic(HKEY_CURRENT_USER_, L"Software\\Test"));
    EXPECT_TRUE(m.registr.MaKlic(HKEY_CURRENT_USER_, L"Software"));
    EXPECT_EQ(m.registr.Text(HKEY_CURRENT_USER_, L"Software\\Jiny", L"Jmeno"), L"Petr");
    EXPECT_EQ(m.okna.Zpravy(), (std::vector<Udalost>{Box(L"Nelze otevřít regist.")}));
    EXPECT_EQ(std::vector<Udalost>(m.okna.udalosti.end() - 11, m.okna.udalosti.end()),
              (std::vector<Udalost>{Zakaz, H(Rusi(L"Konec"), 7, 7), H(Rusi(L"Neznámý"), 6, 7),
                                    H(Rusi(L"Jmeno"), 5, 7), H(Rusi(L"Jmeno"), 4, 7), H(Rusi(L"Klíč C"), 3, 7),
                                    Box(L"Nelze otevřít regist."), H(Rusi(L"Klíč B"), 2, 7),
                                    H(Rusi(L"Klíč A"), 1, 7), Zavri, Zobraz}));
    EXPECT_EQ(m.disk.Stav(), pred);
}

// A removal pointed at the medium's own set, a folder in it or one that
// holds it would delete what it compares with: refused before anything.
TEST_F(Beh, OdebraniZeSadyNaMediuSeOdmitne) {
    odebrat = true;
    const Snimek pred = m.disk.Stav();
    for (const auto& [sada, cil] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"E:\\Dopisy", L"E:\\Dopisy"}, {L"E:\\Dopisy", L"e:\\DOPISY\\"}, {L"E:\\Dopisy", L"E:\\Dopisy\\Pod"},
             {L"E:\\Dopisy\\Pod", L"E:\\Dopisy"}}) {
        slozky.ZdrojSlozka = sada;
        ZadejCil(cil);
        m.okna.udalosti.clear();
        EXPECT_EQ(Spust(), setup::Vysledek::Selhalo) << Utf8(cil);
        ASSERT_EQ(m.okna.Zpravy().size(), 1u);
        EXPECT_NE(m.okna.Zpravy()[0].text.find(L"nelze šablony odebrat"), std::wstring::npos);
        EXPECT_EQ(m.disk.Stav(), pred);
    }
}

// PersonalTemplates set by the suite or a policy while the files copy is
// left as it is, and no rollback takes it away.
TEST_F(Beh, HodnotaNastavenaBehemKopieSeNeprepise) {
    const std::wstring klic = L"Software\\Microsoft\\Office\\16.0\\Word\\Options";
    const std::wstring slozka = L"C:\\Users\\Jana\\Documents\\Custom Office Templates";
    slozky.OsobniSablony = {klic, L"Software\\Policies\\Microsoft\\Office\\16.0\\Word\\Options", slozka};
    ZadejCil(slozka + L"\\Dopisy");
    m.zasahy.zaznamenavat = true;
    Spust();
    int64_t kopie = 0;
    for (const auto& radek : m.zasahy.zaznam)
        if (!kopie && radek.find(L" Kopiruj ") != std::wstring::npos) kopie = std::stoll(Utf8(radek));
    for (const bool storno : {false, true}) {
        Instalator in;
        in.Sablona(L"a.dot");
        in.slozky.OsobniSablony = slozky.OsobniSablony;
        in.ZadejCil(slozka + L"\\Dopisy");
        in.m.zasahy.akce[kopie] = [&] { in.m.registr.NastavText(HKEY_CURRENT_USER_, klic, L"PersonalTemplates", L"D:\\Jiné"); };
        if (storno) in.m.okna.stornovatPriHlasce = {7};
        EXPECT_EQ(in.Spust(), storno ? setup::Vysledek::Zruseno : setup::Vysledek::Hotovo);
        EXPECT_EQ(in.m.registr.Text(HKEY_CURRENT_USER_, klic, L"PersonalTemplates"), L"D:\\Jiné");
    }
}

// The record on disk gives back every step as written, whatever a path
// holds; a line cut short by a kill, and a step struck out, are not steps.
TEST(ZaznamBehu, KrokyTamAZpet) {
    const std::wstring divne = L"C:\\100 % a\ttab\nřádek \xD800 konec";
    const std::vector<Krok> kroky{
        {.druh = Krok::Slozka, .cesta = L"C:\\Šablony"},
        {.druh = Krok::Odlozeni, .cesta = divne, .druha = divne + L".zaloha1"},
        {.druh = Krok::Soubor, .cesta = divne, .velikost = int64_t{6} << 30, .cas = 132000000000000000},
        {.druh = Krok::Odkaz, .cesta = L"C:\\Z\\Cíl.lnk", .druha = divne},
        {.druh = Krok::Hodnota, .cesta = L"Software\\Microsoft\\Office\\16.0\\Word\\Options",
         .druha = L"PersonalTemplates", .text = divne, .koren = HKEY_CURRENT_USER_},
        {.druh = Krok::Klic, .cesta = L"Software\\Nový", .koren = HKEY_LOCAL_MACHINE_},
        {.druh = Krok::SmazatKlic, .cesta = L"Software\\Starý", .koren = HKEY_LOCAL_MACHINE_},
        {.druh = Krok::OdstranitSlozku, .cesta = L"\\\\server\\share\\Šablony"},
        {.druh = Krok::Zapsany, .cesta = divne, .velikost = 1234},
        {.druh = Krok::Hodnota, .cesta = L"Software\\X", .druha = L"DisplayName", .text = divne, .obnovit = true,
         .koren = HKEY_CURRENT_USER_},
        {.druh = Krok::Hodnota, .cesta = L"Software\\X", .druha = L"NoModify", .obnovit = true, .koren = HKEY_CURRENT_USER_},
    };
    std::string obsah = Utf8(L"SETUP\t2\tU\t" + std::wstring(L"C:\\Cíl") + L"\tE:\\Sada\tC:\\Z\n");
    for (const Krok& k : kroky) obsah += Utf8(RadekKroku(k) + L"\n");
    obsah += "F\tC:\\zrusen\nX\nH\n";

    const ZaznamBehu z = PrectiZaznam(obsah);
    EXPECT_TRUE(z.platny);
    EXPECT_TRUE(z.odinstalace);
    EXPECT_EQ(z.cil, L"C:\\Cíl");
    EXPECT_EQ(z.sada, L"E:\\Sada");
    EXPECT_EQ(z.slozkaOdkazu, L"C:\\Z");
    EXPECT_EQ(z.kroky, kroky);
    EXPECT_TRUE(z.hotovo);

    // Cut anywhere: only whole lines count, and a cut first line is no record at all.
    for (std::size_t delka = 0; delka < obsah.size(); ++delka) {
        const ZaznamBehu r = PrectiZaznam(std::string_view(obsah).substr(0, delka));
        const std::size_t radku = static_cast<std::size_t>(std::count(obsah.begin(), obsah.begin() + delka, '\n'));
        EXPECT_EQ(r.prazdny, radku == 0) << delka;
        // The step struck out counts until the line that strikes it is whole.
        const std::size_t ocekavano = radku <= kroky.size() + 2 ? (radku == 0 ? 0 : radku - 1) : kroky.size();
        EXPECT_EQ(r.kroky.size(), ocekavano) << delka;
        EXPECT_FALSE(r.hotovo && radku < kroky.size() + 4) << delka;
    }
    EXPECT_FALSE(PrectiZaznam("SETUP\t3\tI\tC:\\a\tE:\\b\n").platny);
    // A path a later run wrote is no step of this run's any more.
    const ZaznamBehu odvolany = PrectiZaznam(obsah + Utf8(L"Z\tc:\\šablony\nZ\tC:\\z\\CÍL.LNK\n"));
    EXPECT_EQ(odvolany.kroky.size(), kroky.size() - 2);
    EXPECT_EQ(odvolany.kroky[0].druh, Krok::Odlozeni);
}

}  // namespace
}  // namespace setup::test
