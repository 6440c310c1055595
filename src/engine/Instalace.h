// The OK handler: builds the plan, executes it, rolls it back on a cancel or
// an error, and leaves through the exit path.
#pragma once

#include <string>

#include "engine/Stroj.h"

namespace setup {

// The main window's caption, which titles the completion box too.
inline constexpr const wchar_t* TitulekHlavnihoOkna = L"Instalace doplňků";

// The value through which the word processor of suites 15.0 and 16.0 lists
// a folder of the user's own templates, under HKEY_CURRENT_USER.
inline constexpr const wchar_t* NazevOsobnichSablon = L"PersonalTemplates";

// Where a run may set that value because neither the user nor a policy has:
// the run sets it when the target the user confirms is that folder or lies
// directly in it, and neither value exists by then. An empty Klic: never.
struct ZapisOsobnichSablon {
    std::wstring Klic;        // Software\Microsoft\Office\<version>\Word\Options
    std::wstring KlicZasad;   // the policy key whose value would win over it
    std::wstring Slozka;      // the folder the value is to name
};

struct ZaznamBehu;

// The main window's folders that an install run reads and writes.
struct SlozkyInstalace {
    std::wstring ZdrojSlozka;      // the template set on the medium
    std::wstring CilSlozka;        // overwritten with the target at OK
    std::wstring SlozkaZastupcu;   // the user's templates folder, or empty
    std::wstring SlozkaZaznamu;    // where a run keeps its record; empty: in memory only
    // The records are those of a run with more rights than the user's own
    // programs: their folder is one only administrators and SYSTEM may
    // change, made so and checked so before anything in it is trusted.
    bool ZaznamyChranene = false;
    ZapisOsobnichSablon OsobniSablony{};
    // The running Setup.exe, which an install that stands keeps beside the
    // records with a list of what it installed, and enters among the
    // installed programs with what its version information says; empty:
    // none of that.
    struct {
        std::wstring Program, Vydavatel, Verze;
        std::wstring Datum;   // today, YYYYMMDD
    } Aplikace{};
    // A removal by the list an install kept (NactiSeznam), the set gone with
    // its medium: each file only while its size and time are what the list
    // says; the target the list names, whatever the one given.
    const ZaznamBehu* Seznam = nullptr;
};

// How a run ended.
enum class Vysledek {
    Hotovo,    // installed (or removed): the completion box was shown
    Zruseno,   // the user stopped it; whatever it did is taken back
    Selhalo,   // an error was reported; whatever it did is taken back
};

// One run for the target the user left: the window hides itself when the
// first report shows the progress window, and after the run shows itself
// again or, when it is done, unloads.
Vysledek Instaluj(Stroj& stroj, SlozkyInstalace& slozky, const std::wstring& cil);

// Removes the set from the target: the files of the target named as files
// of the set and holding what the medium holds, the link named after the
// target if it points there, then the target folder if that is empty. A
// file the user has changed since stays and is named. A cancel or an error
// puts back everything the run removed.
Vysledek Odeber(Stroj& stroj, SlozkyInstalace& slozky, const std::wstring& cil);

// The sink of a run nobody watches: it draws nothing, and its boxes are
// lines of the log, answered with OK. Nobody cancels it; only the end of the
// session it runs in stops it (Zastav), from whichever thread learns of it.
class TichyPrubeh final : public IPrubeh {
public:
    explicit TichyPrubeh(IProtokol* protokol) : protokol_(protokol) {}
    void Hlaska(const std::wstring&, int32_t, int32_t) override {}
    void Skonci() override {}
    const std::atomic<bool>& Stornovano() const override { return zastaveno_; }
    void NelzeZrusit() override {}
    int Zprava(const std::wstring& text, const std::wstring& titulek, uint32_t styl) override;
    void Zastav() noexcept { zastaveno_ = true; }

private:
    IProtokol* protokol_;
    std::atomic<bool> zastaveno_{false};
};

}  // namespace setup
