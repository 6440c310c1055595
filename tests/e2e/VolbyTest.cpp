// The command-line options an organisation deploys with: silent installs and
// removals, their logs and exit codes, the list of options and a bad one.
// Exit codes are read whole on the Windows side (GetExitCodeProcess): a Unix
// parent would see them modulo 256.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <map>

#include "Scenar.h"
#include "ui/Ovladace.h"

namespace e2e {
namespace {

// The lines of a log without their times. A failure when the file is not
// UTF-8 or a line lacks its time or its line break.
std::vector<std::wstring> RadkyLogu(const std::wstring& cesta) {
    std::vector<std::wstring> v;
    if (!Existuje(cesta)) {
        ADD_FAILURE() << "no log " << Utf8(cesta);
        return v;
    }
    const auto text = ZUtf8(CtiSoubor(cesta));
    if (!text) {
        ADD_FAILURE() << "the log is not UTF-8";
        return v;
    }
    for (size_t z = 0; z < text->size();) {
        size_t k = text->find(L"\r\n", z);
        if (k == std::wstring::npos) {
            ADD_FAILURE() << "the log's last line lacks its line break";
            k = text->size();
        }
        const std::wstring r = text->substr(z, k - z);
        z = k + 2;
        // "2024-05-01 09:30:00  text"
        if (r.size() < 21 || r[4] != L'-' || r[7] != L'-' || r[13] != L':' || r.compare(19, 2, L"  ") != 0)
            ADD_FAILURE() << "a log line without its time: " << Utf8(r);
        else
            v.push_back(r.substr(21));
    }
    return v;
}

bool Obsahuje(const std::vector<std::wstring>& radky, const std::wstring& radek) {
    return std::find(radky.begin(), radky.end(), radek) != radky.end();
}

bool NejakyObsahuje(const std::vector<std::wstring>& radky, const std::wstring& cast) {
    return std::any_of(radky.begin(), radky.end(), [&](auto& r) { return r.find(cast) != std::wstring::npos; });
}

class Volby : public Scenar {
protected:
    // Runs Setup.exe with the arguments to its end, watching for any window
    // of it meanwhile (there must be none); returns the exit code.
    DWORD SpustBezOken(const std::wstring& argumenty) {
        SpustBezCekani(argumenty);
        bool konec = false;
        const auto okna = OknaDoKonce(Program(), konec);
        EXPECT_TRUE(konec) << "Setup.exe " << Utf8(argumenty) << " did not end";
        for (HWND h : okna) ADD_FAILURE() << "a window: " << Utf8(Trida(h)) << " '" << Utf8(Text(h)) << "'";
        return konec ? Program().Kod() : STILL_ACTIVE;
    }
    std::wstring Log(const std::wstring& nazev) const { return Koren() + L"\\" + nazev; }
    // A silent run not told where logs to a new file: SmazVychoziLogy
    // removes those of earlier runs, VychoziLog names today's by its number.
    static void SmazVychoziLogy() {
        for (const auto& s : SouboryVeSlozce(DocasnaSlozka()))
            if (s.rfind(L"Setup ", 0) == 0 && s.size() > 4 && s.compare(s.size() - 4, 4, L".log") == 0)
                ::DeleteFileW((DocasnaSlozka() + s).c_str());
    }
    static std::wstring VychoziLog(const std::wstring& sada, int cislo) {
        SYSTEMTIME t;
        ::GetLocalTime(&t);
        wchar_t den[32];
        swprintf(den, 32, L"%04u-%02u-%02u #%03d.log", t.wYear, t.wMonth, t.wDay, cislo);
        return DocasnaSlozka() + L"Setup " + (sada.empty() ? L"" : sada + L" ") + den;
    }

    // The beginning and the end every log has: the program and its version,
    // the command line as given, the result last.
    void OverRamec(const std::vector<std::wstring>& radky, const std::wstring& argumenty, DWORD kod) {
        ASSERT_GE(radky.size(), 3u);
        EXPECT_EQ(radky[0].rfind(L"Setup 1.", 0), 0u) << Utf8(radky[0]);
        EXPECT_EQ(radky[1], L"Příkazový řádek: \"" + SetupExe() + L"\" " + argumenty);
        if (radky.back() == L"Výsledek: " + std::to_wstring(kod)) return;
        // A run that ended otherwise says why in its log.
        std::string vse;
        for (auto& r : radky) vse += "\n  " + Utf8(r);
        ADD_FAILURE() << "the run ended otherwise; its log:" << vse;
    }
};

TEST_F(Volby, TichaInstalaceDoNavrhuSeZastupcem) {
    std::wstring sada = PripravSadu();
    std::wstring cil = NastavNovouVerzi() + L"\\" + NazevSady;
    std::wstring odkazy = NastavSablonyUzivatele(L"Šablony e2e");
    // Without /LOG a silent run logs beside the user's temporary files, in a
    // new file: a name taken is left as it is, whatever stands there.
    SmazVychoziLogy();
    const std::wstring obsazeny = VychoziLog(NazevSady, 1);
    ZapisSoubor(obsazeny, "cizí");
    const std::wstring log = VychoziLog(NazevSady, 2);

    EXPECT_EQ(SpustBezOken(L"/S"), 0u);
    OverSoubory(sada, cil);
    const std::wstring odkaz = odkazy + L"\\" + NazevSady + L".lnk";
    auto o = CtiOdkaz(odkaz);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->cil, PresAnsi(cil));
    UlozOdkazProLnkinfo(odkaz, L"ticha-instalace", PresAnsi(cil));

    auto radky = RadkyLogu(log);
    EXPECT_EQ(CtiSoubor(obsazeny), "cizí");
    ::DeleteFileW(log.c_str());
    ::DeleteFileW(obsazeny.c_str());
    OverRamec(radky, L"/S", 0);
    EXPECT_TRUE(Obsahuje(radky, L"Sada: " + sada));
    EXPECT_TRUE(Obsahuje(radky, L"Instalace do: " + cil));
    for (auto& s : SouboryVeSlozce(sada))
        EXPECT_TRUE(Obsahuje(radky, L"Soubor zkopírován: " + cil + L"\\" + s)) << Utf8(s);
    EXPECT_TRUE(Obsahuje(radky, L"Zástupce vytvořen: " + odkaz));
}

TEST_F(Volby, TichaInstalaceDoSlozkySMezerami) {
    std::wstring sada = PripravSadu();
    NastavNovouVerzi();
    const std::wstring firma = L"C:\\Šablony firmy";
    const std::wstring cil = firma + L"\\Dopisy";
    SmazStrom(firma);
    // Options in either letter case, with "-" or "/", and the folder last,
    // spaces and all, without quotes.
    const std::wstring argumenty = L"-s /log=" + Log(L"záznam.log") + L" /D=" + cil;
    EXPECT_EQ(SpustBezOken(argumenty), 0u);
    OverSoubory(sada, cil);
    EXPECT_FALSE(Existuje(Koren() + L"\\Office")) << "not the proposal";
    auto radky = RadkyLogu(Log(L"záznam.log"));
    OverRamec(radky, argumenty, 0);
    EXPECT_TRUE(Obsahuje(radky, L"Instalace do: " + cil));
    SmazStrom(firma);
}

TEST_F(Volby, TichaInstalaceNaSouborSelze) {
    PripravSadu();
    const std::wstring cil = ObsadCilSouborem("tady je soubor");
    ASSERT_FALSE(::CreateDirectoryW(cil.c_str(), nullptr));
    const std::wstring popis = PopisChyby(::GetLastError());
    auto pred = Strom(Koren());
    pred.push_back(L"záznam.log");
    std::sort(pred.begin(), pred.end());

    const std::wstring argumenty = L"/S /LOG=" + Log(L"záznam.log");
    EXPECT_EQ(SpustBezOken(argumenty), 1603u);
    EXPECT_EQ(Strom(Koren()), pred);
    EXPECT_EQ(CtiSoubor(cil), "tady je soubor");
    auto radky = RadkyLogu(Log(L"záznam.log"));
    OverRamec(radky, argumenty, 1603);
    EXPECT_TRUE(NejakyObsahuje(radky, popis)) << "the platform's reason: " << Utf8(popis);
}

TEST_F(Volby, TichyStartBezSadyNicNeukaze) {
    ZapisSoubor(Medium() + L"\\čtěte.txt", "nic");
    SmazVychoziLogy();
    const std::wstring log = VychoziLog(L"", 1);
    auto pred = Strom(Koren());
    EXPECT_EQ(SpustBezOken(L"/S"), 1619u);
    EXPECT_EQ(Strom(Koren()), pred);
    auto radky = RadkyLogu(log);
    ::DeleteFileW(log.c_str());
    OverRamec(radky, L"/S", 1619);
    EXPECT_TRUE(NejakyObsahuje(radky, L"Nenalezena žádná složka se soubory k instalaci."));
}

TEST_F(Volby, NapovedaANeplatnaVolba) {
    PripravSadu();
    const std::wstring cil = NastavNovouVerzi();

    SpustBezCekani(L"/?");
    Hlaseni h = CekejNaHlaseni();
    EXPECT_EQ(OknaProcesu(Pid()), std::vector<HWND>{h.okno}) << "the box alone";
    EXPECT_EQ(h.titulek, L"Setup");
    EXPECT_EQ(h.ikona, Ikona::Informace);
    EXPECT_EQ(h.tlacitka, std::vector<std::wstring>{L"OK"});
    EXPECT_EQ(h.text.rfind(L"Použití: Setup.exe [volby]\r\n", 0), 0u) << Utf8(h.text);
    for (const wchar_t* volba : {L"\r\n/S – ", L"\r\n/D=složka – ", L"\r\n/LOG=soubor – ", L"\r\n/U – ", L"\r\n/? – ",
                                 L"Návratové kódy: 0 hotovo, 1602"})
        EXPECT_NE(h.text.find(volba), std::wstring::npos) << Utf8(volba);
    Snimek(h.okno, L"napoveda");
    PotvrdHlaseni(h);
    ASSERT_TRUE(Program().CekejNaKonec(Cekani()));
    EXPECT_EQ(Program().Kod(), 0u);

    auto pred = Strom(Koren());
    SpustBezCekani(L"/X");
    h = CekejNaHlaseni();
    EXPECT_EQ(OknaProcesu(Pid()), std::vector<HWND>{h.okno});
    EXPECT_EQ(h.titulek, L"Setup");
    EXPECT_EQ(h.ikona, Ikona::Stop);
    EXPECT_EQ(h.text.rfind(L"Neplatná volba příkazového řádku: „/X“.\r\n\r\nPoužití: Setup.exe", 0), 0u)
        << Utf8(h.text);
    Snimek(h.okno, L"neplatna-volba");
    PotvrdHlaseni(h);
    ASSERT_TRUE(Program().CekejNaKonec(Cekani()));
    EXPECT_EQ(Program().Kod(), 87u);

    // Silent, it names the option in the log instead.
    const std::wstring argumenty = L"/S /LOG=" + Log(L"záznam.log") + L" -x";
    EXPECT_EQ(SpustBezOken(argumenty), 87u);
    auto radky = RadkyLogu(Log(L"záznam.log"));
    OverRamec(radky, argumenty, 87);
    EXPECT_TRUE(Obsahuje(radky, L"Neplatná volba příkazového řádku: „-x“."));
    pred.push_back(L"záznam.log");
    std::sort(pred.begin(), pred.end());
    EXPECT_EQ(Strom(Koren()), pred) << "nothing touched";
    EXPECT_FALSE(Existuje(cil));
}

TEST_F(Volby, TicheOdebraniNechaZmenenouSablonu) {
    std::wstring sada = PripravSadu();
    std::wstring sablony = NastavNovouVerzi();
    std::wstring cil = sablony + L"\\" + NazevSady;
    std::wstring odkazy = NastavSablonyUzivatele(L"Šablony e2e");
    // The office suite's templates folder and the user's are there already,
    // with the user's own template in the latter.
    VytvorSlozky(sablony);
    VytvorSlozky(odkazy);
    ZapisSoubor(odkazy + L"\\Můj vzor.dot", "můj vzor");
    const auto predSablony = Strom(sablony);
    const auto predOdkazy = Strom(odkazy);

    // Nothing installed yet: nothing to remove, and it says so.
    std::wstring argumenty = L"/U /S /LOG=" + Log(L"prazdne.log");
    EXPECT_EQ(SpustBezOken(argumenty), 0u);
    auto radky = RadkyLogu(Log(L"prazdne.log"));
    OverRamec(radky, argumenty, 0);
    EXPECT_TRUE(Obsahuje(radky, L"Nic k odebrání."));
    EXPECT_EQ(Strom(sablony), predSablony);
    EXPECT_EQ(Strom(odkazy), predOdkazy);

    ASSERT_EQ(SpustBezOken(L"/S /LOG=" + Log(L"instalace.log")), 0u);
    OverSoubory(sada, cil);
    const auto soubory = SouboryVeSlozce(sada);
    ASSERT_GE(soubory.size(), 2u);
    const std::wstring zmeneny = soubory[1];
    ZapisSoubor(cil + L"\\" + zmeneny, "moje úprava");

    argumenty = L"/u -S /LOG=" + Log(L"odebrani.log");
    EXPECT_EQ(SpustBezOken(argumenty), 0u);
    EXPECT_EQ(Strom(sablony), (std::vector<std::wstring>{NazevSady, std::wstring(NazevSady) + L"\\" + zmeneny}));
    EXPECT_EQ(CtiSoubor(cil + L"\\" + zmeneny), "moje úprava");
    EXPECT_EQ(Strom(odkazy), predOdkazy) << "the link went, the user's template stayed";
    radky = RadkyLogu(Log(L"odebrani.log"));
    OverRamec(radky, argumenty, 0);
    EXPECT_TRUE(Obsahuje(radky, L"Odebrání ze: " + cil));
    for (auto& s : soubory) {
        if (s == zmeneny) continue;
        EXPECT_TRUE(Obsahuje(radky, L"Soubor odstraněn: " + cil + L"\\" + s)) << Utf8(s);
    }
    EXPECT_TRUE(Obsahuje(radky, L"Soubor ponechán, od instalace změněn: " + cil + L"\\" + zmeneny));
    // The box nobody sees, in one line of the log.
    EXPECT_TRUE(Obsahuje(radky, L"Hlášení: Šablony byly odebrány ze složky „" + cil +
                                    L"“. Tyto soubory jste od instalace změnili, a proto zůstaly na místě: – " +
                                    zmeneny));
    EXPECT_TRUE(Obsahuje(radky, L"Soubor odstraněn: " + odkazy + L"\\" + NazevSady + L".lnk"));
    EXPECT_FALSE(Obsahuje(radky, L"Nic k odebrání."));
}

// A removal pointed at the medium's own set would delete what it compares
// with: refused, the set whole, the reason in the log.
TEST_F(Volby, TicheOdebraniZeSadyNaMediuJiNecha) {
    const std::wstring sada = PripravSadu();
    const auto pred = Strom(Medium());
    std::vector<std::string> obsah;
    for (auto& s : SouboryVeSlozce(sada)) obsah.push_back(CtiSoubor(sada + L"\\" + s));
    const std::wstring argumenty = L"/U /S /LOG=" + Log(L"medium.log") + L" /D=" + sada;
    EXPECT_EQ(SpustBezOken(argumenty), 1603u);
    EXPECT_EQ(Strom(Medium()), pred);
    std::vector<std::string> po;
    for (auto& s : SouboryVeSlozce(sada)) po.push_back(CtiSoubor(sada + L"\\" + s));
    EXPECT_EQ(po, obsah);
    auto radky = RadkyLogu(Log(L"medium.log"));
    OverRamec(radky, argumenty, 1603);
    EXPECT_TRUE(NejakyObsahuje(radky, L"nelze šablony odebrat"));
}

// A record planted by another program, naming a system file and an
// autostart value of the machine: nothing of it is carried out, the log
// names it, and the install goes on.
TEST_F(Volby, PodvrzenyZaznamSeNeprovede) {
    const std::wstring sada = PripravSadu();
    NastavNovouVerzi();
    const std::wstring ini = L"C:\\windows\\win.ini", run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    WIN32_FILE_ATTRIBUTE_DATA d{};
    ASSERT_TRUE(::GetFileAttributesExW(ini.c_str(), GetFileExInfoStandard, &d));
    const std::string obsahIni = CtiSoubor(ini);
    NastavText(HKEY_LOCAL_MACHINE, run, L"SetupE2E", L"x");
    const std::wstring zaznam = SlozkaZaznamu() + L"\\beh1.txt";
    VytvorSlozky(SlozkaZaznamu());
    const uint64_t cas = (uint64_t{d.ftLastWriteTime.dwHighDateTime} << 32) | d.ftLastWriteTime.dwLowDateTime;
    ZapisSoubor(zaznam, Utf8(L"SETUP\t2\tI\tC:\\Šablony\\x\tE:\\y\t\nF\t" + ini + L"\t" +
                             std::to_wstring(d.nFileSizeLow) + L"\t" + std::to_wstring(cas) + L"\nR\t2147483650\t" +
                             run + L"\tSetupE2E\tx\n"));
    const std::wstring argumenty = L"/S /LOG=" + Log(L"podvrh.log");
    EXPECT_EQ(SpustBezOken(argumenty), 0u);
    EXPECT_EQ(CtiSoubor(ini), obsahIni);
    EXPECT_TRUE(CtiHodnotu(HKEY_LOCAL_MACHINE, run, L"SetupE2E"));
    EXPECT_TRUE(Existuje(zaznam + L".odmitnuto"));
    auto radky = RadkyLogu(Log(L"podvrh.log"));
    OverRamec(radky, argumenty, 0);
    EXPECT_TRUE(NejakyObsahuje(radky, L"„" + zaznam + L".odmitnuto“")) << "the record named";
    SmazStrom(SlozkaZaznamu());
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, run.c_str(), L"SetupE2E");
}

TEST_F(Volby, OdebraniSDotazemAHlasenim) {
    std::wstring sada = PripravSadu();
    std::wstring cil = NastavNovouVerzi() + L"\\" + NazevSady;
    std::wstring odkazy = NastavSablonyUzivatele(L"Šablony e2e");
    ASSERT_EQ(SpustBezOken(L"/S /LOG=" + Log(L"instalace.log")), 0u);
    const auto soubory = SouboryVeSlozce(sada);
    const std::wstring zmeneny = soubory[0];
    ZapisSoubor(cil + L"\\" + zmeneny, "moje úprava");
    const auto po = Strom(cil);

    const std::wstring otazka = L"Chcete ze složky „" + cil + L"“ odebrat šablony „" + NazevSady +
                                L"“?\r\n\r\nSoubory, které jste od instalace změnili, zůstanou na místě.";
    // Enter answers the default button, No: nothing is touched.
    SpustBezCekani(L"/U");
    Hlaseni d = CekejNaHlaseni();
    EXPECT_EQ(OknaProcesu(Pid()), std::vector<HWND>{d.okno}) << "the question comes first";
    EXPECT_EQ(d.titulek, TitulekHlavnihoOkna);
    EXPECT_EQ(d.text, otazka);
    EXPECT_EQ(d.ikona, Ikona::Otazka);
    EXPECT_EQ(d.tlacitka.size(), 2u);
    ASSERT_TRUE(::GetDlgItem(d.okno, IDYES) && ::GetDlgItem(d.okno, IDNO));
    Snimek(d.okno, L"odebrani-dotaz");
    PotvrdHlaseni(d);
    ASSERT_TRUE(Program().CekejNaKonec(Cekani()));
    EXPECT_EQ(Program().Kod(), 1602u);
    EXPECT_EQ(Strom(cil), po);

    SpustBezCekani(L"/U");
    d = CekejNaHlaseni();
    EXPECT_EQ(d.text, otazka);
    ASSERT_TRUE(Aktivuj(d.okno));
    Klikni(::GetDlgItem(d.okno, IDYES));
    ASSERT_TRUE(CekejAz([&] { return !::IsWindow(d.okno); }));
    Hlaseni h = CekejNaHlaseni();
    EXPECT_TRUE(OknoPrubehu(Pid())) << "the progress window stays behind the box";
    EXPECT_EQ(h.titulek, TitulekHlavnihoOkna);
    EXPECT_EQ(h.ikona, Ikona::Informace);
    EXPECT_EQ(h.text, L"Šablony byly odebrány ze složky „" + cil +
                          L"“.\r\n\r\nTyto soubory jste od instalace změnili, a proto zůstaly na místě:\r\n– " +
                          zmeneny);
    Snimek(h.okno, L"odebrani-dokonceno");
    PotvrdHlaseni(h);
    ASSERT_TRUE(Program().CekejNaKonec(Cekani()));
    EXPECT_EQ(Program().Kod(), 0u);
    EXPECT_EQ(Strom(cil), std::vector<std::wstring>{zmeneny});
    EXPECT_EQ(Strom(odkazy), std::vector<std::wstring>{});
}

// The values of a key as Wine's own reg tool exports them (UTF-16, so the
// Czech letters come through whole; its query prints them through the
// console's code page): one "name"=data line each, by name.
std::map<std::wstring, std::wstring> ExportKlice(const std::wstring& klic, const std::wstring& soubor) {
    ::DeleteFileW(soubor.c_str());
    Proces reg = Proces::Spust(L"C:\\windows\\system32\\reg.exe", {},
                               L"export \"HKEY_CURRENT_USER\\" + klic + L"\" \"" + soubor + L"\" /y");
    EXPECT_TRUE(reg.CekejNaKonec(Cekani()));
    std::map<std::wstring, std::wstring> hodnoty;
    const std::string bajty = CtiSoubor(soubor);
    std::wstring text(bajty.size() / 2, L'\0');
    std::memcpy(text.data(), bajty.data(), text.size() * 2);
    for (size_t z = 0; z < text.size();) {
        size_t k = text.find(L'\n', z);
        if (k == std::wstring::npos) k = text.size();
        std::wstring r = text.substr(z, k - z);
        z = k + 1;
        if (!r.empty() && r.back() == L'\r') r.pop_back();
        const size_t rovnitko = r.find(L"\"=");
        if (r.size() > 1 && r[0] == L'"' && rovnitko != std::wstring::npos)
            hodnoty[r.substr(1, rovnitko - 1)] = r.substr(rovnitko + 2);
    }
    return hodnoty;
}

// The set's entry among the installed programs after a silent install, as
// an administrator's script reads it; then its quiet removal started the
// way the list of programs starts it, with the medium gone: the templates
// go but the edited one, and so do the entry, the list and the kept copy.
TEST_F(Volby, PolozkaVAplikacichOdebereBezMedia) {
    const std::wstring sada = PripravSadu();
    const std::wstring cil = NastavNovouVerzi() + L"\\" + NazevSady;
    ASSERT_EQ(SpustBezOken(L"/S /LOG=" + Log(L"instalace.log")), 0u);
    OverSoubory(sada, cil);
    const std::wstring slozka = SlozkaZaznamu() + L"\\" + NazevSady, kopie = slozka + L"\\Setup.exe";
    EXPECT_EQ(CtiSoubor(kopie), CtiSoubor(SetupExe()));
    EXPECT_TRUE(Existuje(slozka + L"\\seznam.txt"));

    // Each value's text is the host tables' to check; here, that the entry
    // reaches the registry and starts the kept copy.
    auto h = ExportKlice(KlicAplikace(NazevSady), Log(L"polozka.reg"));
    const auto text = [](std::wstring t) {
        for (size_t i = 0; (i = t.find_first_of(L"\\\"", i)) != std::wstring::npos; i += 2) t.insert(i, 1, L'\\');
        return L"\"" + t + L"\"";
    };
    EXPECT_EQ(h[L"DisplayName"], text(NazevSady));
    EXPECT_EQ(h[L"Publisher"], text(L"Šablony dokumentů"));   // from the program's version information
    EXPECT_EQ(h[L"InstallLocation"], text(cil));
    const std::wstring tichy = L"\"" + kopie + L"\" /U /S";
    EXPECT_EQ(h[L"QuietUninstallString"], text(tichy));
    EXPECT_EQ(h[L"NoRepair"], L"dword:00000001");

    // The medium is gone; one template the user has edited since.
    const auto soubory = SouboryVeSlozce(sada);
    const std::wstring zmeneny = soubory[0];
    ZapisSoubor(cil + L"\\" + zmeneny, "moje úprava");
    SmazStrom(Medium());
    SmazVychoziLogy();
    const std::wstring log = VychoziLog(NazevSady, 1);

    // The list of programs starts the quiet string as it stands: the kept
    // copy hands the removal over and ends with its result, which the copy
    // it started logs too; that copy then deletes it and its folder.
    ASSERT_EQ(tichy.rfind(L"\"" + kopie + L"\" ", 0), 0u);
    // A list someone changed is refused, and the tool that started the
    // kept copy reads that from the copy's own exit code.
    const std::string seznam = CtiSoubor(slozka + L"\\seznam.txt");
    ZapisSoubor(slozka + L"\\seznam.txt", seznam + "F\tC:\\windows\\win.ini\t1\t1\n");
    Proces odmitnuty = Proces::Spust(kopie, {}, tichy.substr(kopie.size() + 3));
    ASSERT_TRUE(odmitnuty.CekejNaKonec(Cekani()));
    EXPECT_EQ(odmitnuty.Kod(), 1603u);
    ZapisSoubor(slozka + L"\\seznam.txt", seznam);
    SmazVychoziLogy();
    Proces puvodni = Proces::Spust(kopie, {}, tichy.substr(kopie.size() + 3));
    ASSERT_TRUE(puvodni.CekejNaKonec(Cekani()));
    EXPECT_EQ(puvodni.Kod(), 0u);
    ASSERT_TRUE(CekejAz([&] {
        return Existuje(log) && CtiSoubor(log).find(Utf8(L"Výsledek: ")) != std::string::npos && !Existuje(SlozkaZaznamu());
    })) << CtiSoubor(log);
    auto radky = RadkyLogu(log);
    ASSERT_FALSE(radky.empty());
    EXPECT_EQ(radky.back(), L"Výsledek: 0");
    EXPECT_EQ(Strom(cil), std::vector<std::wstring>{zmeneny});
    EXPECT_EQ(CtiSoubor(cil + L"\\" + zmeneny), "moje úprava");
    EXPECT_FALSE(ExistujeKlic(HKEY_CURRENT_USER, KlicAplikace(NazevSady)));
    EXPECT_FALSE(Existuje(SlozkaZaznamu())) << "the kept copy and the list went, and no record stayed";
    // The temporary copy that did it is left to the system's clean-up.
    const std::wstring docasna = DocasnaSlozka() + L"Odebrání šablon.exe";
    EXPECT_TRUE(Existuje(docasna));
    for (int pokus = 0; pokus < 100 && !::DeleteFileW(docasna.c_str()); ++pokus) ::Sleep(50);
    ::DeleteFileW(log.c_str());
}

}  // namespace
}  // namespace e2e
