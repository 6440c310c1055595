// One install run: the OK handler's state from its first status report to
// its exit path. Instaluj is Spust(); a run may be given a hand-made plan
// in place of the one Sestav builds, and a built plan can be inspected.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/Denik.h"
#include "engine/Instalace.h"
#include "engine/Objekt.h"
#include "engine/Stroj.h"
#include "engine/Vraceni.h"

namespace setup {

class BehInstalace {
public:
    BehInstalace(Stroj& stroj, SlozkyInstalace& slozky) : s_(stroj), slozky_(slozky), denik_(stroj.soubory) {}
    // A run that carries out this plan: Spust starts its record and goes on
    // from there, with the same error handler, rollback and exit path.
    BehInstalace(Stroj& stroj, SlozkyInstalace& slozky, Plan plan) : BehInstalace(stroj, slozky) {
        plan_ = std::move(plan);
        viditelne_ = plan_.Pocet();
        danyPlan_ = true;
    }

    // The whole handler for the target text: plan building, execution,
    // success or rollback, and the exit path. Nothing escapes: every error
    // ends in the report box.
    Vysledek Spust(const std::wstring& cil);

    // The same run taking the set away from the target.
    Vysledek Odeber(const std::wstring& cil);
    // The same by a list an install kept, the set gone.
    Vysledek OdeberPodleSeznamu(const ZaznamBehu& seznam);

    // Plan building alone (its status reports included), and the start of
    // the run's record. False when the user cancelled; throws Chyba on an
    // error.
    bool Sestav(const std::wstring& cil);

    // The files of the target that a removal left because the user had
    // changed them since the install.
    const std::vector<std::wstring>& Zmenene() const { return zmenene_; }

    const Plan& plan() const { return plan_; }

private:
    // A step of the run as it is kept in memory: the paths follow from the
    // record, so a large set costs a few bytes a file.
    struct KrokBehu {
        Krok::Druh druh;
        int32_t zaznam;   // the record, from 1
        uint32_t cislo;   // Slozka, Klic: levels of the path; Odlozeni: the backup's number
    };

    bool NastavitOsobniSablony();
    void ZacniZaznam();
    void Proved();
    void ProvedZaznam(int32_t i, Objekt& rec);
    void VytvorSlozky(int32_t i, const Objekt& rec);
    void KopirujSoubor(int32_t i, const Objekt& rec);
    bool KopirujDoNove(int32_t i, const Objekt& rec, const std::wstring& zdroj, const std::wstring& cil);
    void Kopiruj(int32_t i, const std::wstring& zdroj, const std::wstring& cil);
    void VytvorOdkaz(int32_t i, const Objekt& rec);
    void ZapisHodnotu(int32_t i, const Objekt& rec);
    void OdeberZaznam(int32_t i, const Objekt& rec);
    std::wstring SlozkaKopie() const;
    void PridejAplikaci();
    void ProvedAplikaci(int32_t i, Objekt& rec);
    void ZapisKlice(int32_t i, const Objekt& rec);
    void OdstranPrazdne();
    void VratZpet();
    // The rollback's account: failures reported as they come, what the
    // user changed meanwhile named in one box at the end.
    class SledovaniRollbacku final : public ISledovaniNavratu {
    public:
        explicit SledovaniRollbacku(BehInstalace& beh) : beh_(beh) {}
        void Vraceno(const Krok& krok, const Navrat& navrat) override;
        void Selhalo(const Krok& krok, const Chyba& chyba, const std::wstring& dovetek) override;
        std::vector<std::wstring> ponechano;

    private:
        BehInstalace& beh_;
    };
    void VynutNahrazene();
    void OverMimoSadu();
    std::vector<std::wstring> NapsaneCesty() const;
    void OdstranZalohy();
    void Konec();

    // Writes a step down, then lets it be taken; a step that then fails
    // having done nothing is struck out again.
    template <typename F>
    void Udelej(KrokBehu krok, F&& akce);
    Krok Uplny(const KrokBehu& krok) const;
    std::wstring Odloz(int32_t i, const std::wstring& cesta);

    void Obsluz(const Chyba& chyba);
    void Nahlas(const Chyba& chyba);
    // A line of the run's log, if it keeps one; a log that cannot be written
    // does not stop the run.
    void Loguj(const std::wstring& radek) noexcept;
    const wchar_t* Text(const wchar_t* instalace, const wchar_t* odebrani) const {
        return odebrani_ ? odebrani : instalace;
    }
    bool Existuje(const std::wstring& cesta);
    bool JeSoubor(const std::wstring& cesta);   // a file, not a folder
    void ZrusJenProCteni(const std::wstring& cesta);

    Stroj& s_;
    SlozkyInstalace& slozky_;
    Plan plan_;
    int32_t aktualni_ = 0;
    bool instaluje_ = false;
    bool uspech_ = false;
    bool chyba_ = false;
    bool odebrani_ = false;                        // the run takes the set away
    bool danyPlan_ = false;                        // plan_ was given, not built
    int32_t odebrano_ = 0;                         // files and links a removal set aside
    std::vector<std::wstring> zmenene_;            // files a removal left: the user changed them
    Denik denik_;
    std::vector<KrokBehu> kroky_;                  // what the run did, in order
    std::vector<std::wstring> noveSlozky_;         // the folders among them, case-folded, for lookups
    std::vector<std::wstring> planovane_;          // every file the plan writes, case-folded, sorted
    bool planovanePripraveno_ = false;             // planovane_ gathered (at the first backup)
    int32_t viditelne_ = 0;                        // the set's records, which the windows count
    const ZaznamBehu* seznam_ = nullptr;           // a removal by a kept list
    std::vector<Krok> hodnoty_;                    // the entry's value steps, spelt out
};

}  // namespace setup
