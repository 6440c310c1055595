// One scenario: its own medium folder with Setup.exe and a template set, its
// own target folders under C:\e2e\<test>, the office suite's registry keys
// it needs, and the started program; all of it removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Ridic.h"

namespace e2e {

// The registry keys that start-up reads.
inline const wchar_t* const KlicNovy = L"SOFTWARE\\Microsoft\\Office\\9.0\\Common\\InstallRoot";
inline const wchar_t* const KlicStary = L"SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot";
inline const wchar_t* const KlicSablonStare = L"Software\\Microsoft\\Office\\8.0\\Common\\FileNew\\LocalTemplates";
inline const wchar_t* const KlicUzivatele = L"SOFTWARE\\Microsoft\\Office\\9.0\\Common\\General";

inline const wchar_t* const NazevSady = L"Šablony kanceláře";
inline const wchar_t* const VelkaSada = L"Velká sada";
inline const wchar_t* const TitulekHlavnihoOkna = L"Instalace doplňků";

std::wstring Uvitani(const std::wstring& sada);

class Scenar : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The scenario's own folder, C:\e2e\<suite>.<test>.
    const std::wstring& Koren() const { return koren_; }
    // The folder Setup.exe runs from; a scenario may put it elsewhere.
    virtual std::wstring Medium() const { return koren_ + L"\\medium"; }
    std::wstring SetupExe() const { return Medium() + L"\\Setup.exe"; }

    // Copies the bundled sample set onto the medium under the given name;
    // returns the set folder.
    std::wstring PripravSadu(const std::wstring& nazev = NazevSady);
    // The office suite of version 9.0 in <Koren>\Office: its program folder
    // in the registry, so the proposed target is <Koren>\Office\Templates\<set>.
    std::wstring NastavNovouVerzi();
    // That suite, with the proposed target taken by a file holding obsah:
    // the run cannot make its folder. Returns the target.
    std::wstring ObsadCilSouborem(const std::string& obsah);
    // The user's templates folder name; the link goes to
    // %APPDATA%\Microsoft\<name>. Removed again after the test.
    std::wstring NastavSablonyUzivatele(const std::wstring& nazev);
    // A folder outside the scenario's own that the test may fill; removed
    // before and after the test.
    void UklidSlozku(const std::wstring& slozka);
    // Storno's click arrives when the status line first shows this text.
    void StornoPriHlasce(const std::wstring& text) { stornoPri_ = text; }
    // A set of many small files on the medium, so that a run lasts long
    // enough to be stopped; returns the set folder. Its files in the order
    // the run takes them are in soubory_.
    std::wstring PripravVelkouSadu(int pocet);

    // Starts Setup.exe from the medium with the status log hooked in, and
    // waits for its main window.
    void Spust();
    // Starts it with the given arguments without waiting for a window
    // (start-up errors, boxes before the window, runs without a window).
    void SpustBezCekani(const std::wstring& argumenty = {});
    // Waits for the main window of the started program and hooks its status line.
    void PockejNaHlavni();

    DWORD Pid() const { return proces_->Id(); }
    HWND Hlavni() const { return hlavni_; }
    HWND Prvek(int id) const { return ::GetDlgItem(hlavni_, id); }
    Zaznam& Hlasky() { return *zaznam_; }
    Proces& Program() { return *proces_; }

    // Waits for a message box and reads it.
    Hlaseni CekejNaHlaseni();
    // Waits for the program's error box and checks what every one has:
    // the title "Setup", the stop icon and one OK button.
    Hlaseni CekejNaChybu();
    // Presses the box's only button with the Enter key.
    void PotvrdHlaseni(const Hlaseni& h);
    // Waits until the main window is shown again after a run.
    HWND CekejNaHlavniOkno();
    // Esc on the main window; the program must end. Returns its exit code.
    DWORD UkonciStornem();
    // Presses OK with the Enter key (OK has the focus at start).
    void Enter();
    // Replaces the target in the text box by typing, as the user would; the
    // focus stays in the box, where Enter presses OK.
    void ZadejCil(const std::wstring& cil);

    // The full run of a successful install: Enter, the completion box, OK,
    // the end of the program. Returns the completion box as read.
    Hlaseni InstalujAPotvrd();
    // OK pressed on a target the run must refuse before it plans anything:
    // one stop box titled "Setup" whose text starts with zacatek, nothing new
    // on disk (under the scenario's folder and in the drive's root), and the
    // main window back with its text unchanged. The box is saved as snimek.
    void OverOdmitnutyCil(const std::wstring& zacatek, const std::wstring& snimek);

    // Index in soubory_ of the file the run installs now: -1 before the
    // first, soubory_.size() once the run has finished.
    int PoradiInstalovaneho() const;
    // Index in soubory_ of the file a status text names after the given
    // beginning; -1 for another text.
    int PoradiVHlasce(const std::wstring& text, const std::wstring& zacatek) const;
    // The progress window once the run has got to the given file of
    // soubory_; null (and a failure) when it did not.
    HWND PrubehZaSouborem(int poradi);

    std::vector<std::wstring> linkoveSlozky_;
    std::vector<std::wstring> soubory_;

private:
    std::wstring koren_;
    std::unique_ptr<Proces> proces_;
    std::unique_ptr<Zaznam> zaznam_;
    HWND hlavni_ = nullptr;
    std::wstring stornoPri_;
};

// Where runs keep their records while they last, as Setup chooses it under
// Wine: %LOCALAPPDATA%\Instalace šablon.
std::wstring SlozkaZaznamu();
// Whether a run's record (beh*.txt) is there; the kept copies of Setup of
// installed sets live in the same folder.
bool ZbylZaznam();
// The set's entry among the installed programs, under HKEY_CURRENT_USER.
std::wstring KlicAplikace(const std::wstring& sada);

// The installed folder holds exactly the set's files, byte for byte, none of
// them read-only.
void OverSoubory(const std::wstring& sada, const std::wstring& cil);

// Keeps a copy of a written link for the independent reader run by
// scripts/test-e2e, with the target it must name.
void UlozOdkazProLnkinfo(const std::wstring& odkaz, const std::wstring& nazev, const std::wstring& cil);

// Expected status texts of a successful run (collapsed as Zaznam::Texty gives them).
std::vector<std::wstring> HlaskyUspechu(const std::vector<std::wstring>& soubory, bool sOdkazem,
                                        const std::wstring& nazevOdkazu);

}  // namespace e2e
