// One install run: the OK handler's state from its first status report to
// its exit path. cmdOK_Click is Spust(); the stages are public so that a
// hand-made plan can be carried out and a built plan inspected.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/Instalace.h"
#include "engine/Objekt.h"
#include "engine/Stroj.h"

namespace setup {

class BehInstalace {
public:
    BehInstalace(Stroj& stroj, SlozkyInstalace& slozky) : s_(stroj), slozky_(slozky) {}

    // The whole handler: plan building, execution, success or rollback, and
    // the exit path. Nothing escapes: every error ends in the report box.
    void Spust();

    // Carries out a plan made elsewhere, with the same error handler,
    // rollback and exit path as Spust(); the run starts with the cancel
    // flag down, as every run does.
    void SpustPlan(Plan plan);

    // Plan building alone (its status reports included). False when the
    // user cancelled; throws Chyba on an error.
    bool Sestav();

    const Plan& plan() const { return plan_; }

private:
    // What one record changed beyond its Undo flag, so that rollback can put
    // the machine back exactly.
    struct StavZaznamu {
        std::vector<std::wstring> slozky;   // folder levels created, outermost first
        std::wstring zaloha;                // the replaced file, renamed aside
    };

    void Proved();
    void ProvedZaznam(int32_t i, Objekt& rec);
    void VytvorSlozky(int32_t i, Objekt& rec);
    void KopirujSoubor(int32_t i, Objekt& rec);
    void VytvorOdkaz(int32_t i, Objekt& rec);
    void VratZpet();
    void VratZaznam(int32_t i, Objekt& rec);
    void OdstranZalohy();
    void Konec();

    // The state of the record being run, made on first need, and that of
    // any record, null when it has none: most records of a large set have
    // none, and a slot for each would be the plan's size again.
    StavZaznamu& Stav(int32_t i);
    StavZaznamu* NajdiStav(int32_t i);

    void Obsluz(const Chyba& chyba);
    void Nahlas(const Chyba& chyba);
    bool Existuje(const std::wstring& cesta);
    void ZrusJenProCteni(const std::wstring& cesta);
    void SmazVytvoreny(const std::wstring& cesta);
    std::wstring Odloz(const std::wstring& cesta);
    bool KopirujDoNove(Objekt& rec, const std::wstring& zdroj, const std::wstring& cil);

    Stroj& s_;
    SlozkyInstalace& slozky_;
    Plan plan_;
    int32_t aktualni_ = 0;
    bool instaluje_ = false;
    bool uspech_ = false;
    // Records with state, in the order they ran (so by number).
    std::vector<std::pair<int32_t, StavZaznamu>> stav_;
    std::vector<std::wstring> planovane_;           // every file the plan writes, case-folded, sorted
    bool planovanePripraveno_ = false;              // planovane_ gathered (at the first backup)
    std::vector<std::wstring> noveSlozky_;          // folders this run made (empty then), case-folded
};

}  // namespace setup
