// A machine in memory for the engine's tests: a disk with Windows semantics,
// a registry, a shell and the window side, with failure injection and a log
// of everything the user would see.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/Instalace.h"
#include "engine/Stroj.h"
#include "system/Chyba.h"

namespace setup::test {

// Platform error numbers the fake raises, as Windows numbers them.
inline constexpr int32_t ChybaSouborNenalezen = 2;
inline constexpr int32_t ChybaCestaNenalezena = 3;
inline constexpr int32_t ChybaPristupOdepren = 5;
inline constexpr int32_t ChybaJinaJednotka = 17;
inline constexpr int32_t ChybaSdileni = 32;
inline constexpr int32_t ChybaNeniPripraveno = 21;
inline constexpr int32_t ChybaSouborExistuje = 80;
inline constexpr int32_t ChybaDiskPlny = 112;
inline constexpr int32_t ChybaSpatnyNazev = 123;
inline constexpr int32_t ChybaSlozkaNeniPrazdna = 145;
inline constexpr int32_t ChybaUzExistuje = 183;
inline constexpr int32_t ChybaNeniSlozka = 267;

// The platform's description of one of the numbers above.
std::wstring PopisChyby(int32_t cislo);

// Counts the platform calls of the disk and the shell and makes chosen ones
// fail (with the number a real failure of that operation would carry) or
// raise the cancel flag, as a Storno click landing at that moment would.
class Zasahy {
public:
    int64_t volani = 0;                      // platform calls so far
    std::set<int64_t> selhatVolani;          // numbers of the calls that fail
    int64_t stornovatPriVolani = 0;          // the call during which Storno is pressed
    std::map<int64_t, std::function<void()>> akce;   // run just before these calls
    std::atomic<bool>* stornovano = nullptr; // the flag a Storno raises
    int64_t selhani = 0;                     // injected failures so far
    bool zaznamenavat = false;               // keep a line per call in zaznam
    std::vector<std::wstring> zaznam;
    // Changes what a listing returns, as a medium on a share that tells
    // letter case apart would list two names the disk here cannot hold.
    std::function<void(const std::wstring& vzor, std::vector<Polozka>&)> upravVypis;

    // Every call of the operation (any operation when it is empty) that
    // names this path, in any spelling of letter case, fails; or only the
    // kolikaty-th such call when that is not 0.
    void SelhatNaCeste(std::wstring cesta, std::wstring operace = {}, int kolikaty = 0);
    // Likewise, but the call goes through and Storno is pressed during it.
    void StornovatNaCeste(std::wstring cesta, std::wstring operace = {}, int kolikaty = 0);
    void ZrusPravidla() { pravidla_.clear(); }

    // Counts one call; throws Chyba when it is to fail.
    void Volani(const wchar_t* operace, std::initializer_list<const std::wstring*> cesty);
    // Counts one call of an operation that never reports; true when it is to fail.
    bool TicheVolani(const wchar_t* operace, const std::wstring& cesta);

private:
    bool MaSelhat(const wchar_t* operace, std::initializer_list<const std::wstring*> cesty);
    struct Pravidlo {
        std::wstring operace, cesta;   // cesta case-folded
        int kolikaty = 0;
        bool storno = false;           // press Storno instead of failing
        int pocet = 0;                 // matching calls so far
    };
    std::vector<Pravidlo> pravidla_;
};

// The state of one entry, as a snapshot compares it.
struct StavPolozky {
    bool slozka = false;
    uint32_t atributy = 0;
    std::wstring obsah;
    int64_t velikost = 0;
    int64_t cas = 0;
    bool operator==(const StavPolozky&) const = default;
};
// Every entry of the disk by its full path, spelt as stored.
using Snimek = std::map<std::wstring, StavPolozky>;

// Paths present in only one snapshot or different between them.
std::vector<std::wstring> Rozdil(const Snimek& a, const Snimek& b);

// Drive roots (C:) and network shares (\\server\share); names compared
// without regard to case; listing order is creation order unless set.
class FalesnyDisk final : public ISoubory {
public:
    explicit FalesnyDisk(Zasahy& zasahy);
    ~FalesnyDisk() override;

    // Preparation: not counted, never failing.
    void PridejKoren(const std::wstring& koren);
    void Slozka(const std::wstring& cesta, uint32_t atributy = 0);   // with every missing parent
    void Soubor(const std::wstring& cesta, const std::wstring& obsah,
                uint32_t atributy = AtributArchiv, int64_t cas = 0);
    void NastavVelikost(const std::wstring& cesta, int64_t velikost);
    void Smaz(const std::wstring& cesta);   // a file or a whole folder tree
    // Puts the named entries first, in this order; the rest follow as they were.
    void NastavPoradi(const std::wstring& slozka, const std::vector<std::wstring>& jmena);
    Snimek Stav() const;
    std::optional<StavPolozky> Udaje(const std::wstring& cesta) const;
    // Writes a file as a save does: a new one, or over an existing plain
    // file. False (and nothing written) where a save would fail.
    bool Uloz(const std::wstring& cesta, const std::wstring& obsah);

    std::vector<Polozka> Vypis(const std::wstring& vzor) override;
    std::optional<uint32_t> Atributy(const std::wstring& cesta) override;
    std::optional<Polozka> Vlastnosti(const std::wstring& cesta) override;
    void NastavAtributy(const std::wstring& cesta, uint32_t atributy) override;
    int64_t CasZmeny(const std::wstring& cesta) override;
    int64_t Velikost(const std::wstring& cesta) override;
    // Stops half way, leaving no target, when the flag it is handed is up
    // once the call has begun (a Storno pressed during it), and names the
    // target among zastaveneKopie.
    void Kopiruj(const std::wstring& zdroj, const std::wstring& cil,
                 const std::atomic<bool>* zrusit) override;
    std::vector<std::wstring> zastaveneKopie;
    void Prejmenuj(const std::wstring& z, const std::wstring& na) override;
    void SmazSoubor(const std::wstring& cesta) override;
    void VytvorSlozku(const std::wstring& cesta) override;
    void OdstranSlozku(const std::wstring& cesta) override;
    bool StejnySoubor(const std::wstring& a, const std::wstring& b) override;
    bool StejnyObsah(const std::wstring& a, const std::wstring& b) override;
    // A file's bytes are its content's characters, one each. An entry with
    // AtributOdkaz stands for a link or junction, at the name or above it.
    std::optional<std::string> Nacti(const std::wstring& cesta) override;
    std::unique_ptr<IPripis> OtevriKPripisu(const std::wstring& cesta, Otevreni jak = Otevreni::Pripojit) override;
    // Forcing to the disk is a counted call: the order of the calls shows
    // what a power cut at any moment would keep.
    void Vynut(const std::wstring& cesta) override;
    void VytvorChranenouSlozku(const std::wstring& cesta, const std::wstring& sddl) override;
    // A folder made otherwise is the user's: owned by them, theirs to change.
    std::wstring Zabezpeceni(const std::wstring& cesta) override;
    static constexpr const wchar_t* ZabezpeceniUzivatele = L"O:S-1-5-21-7-7-7-1001D:(A;OICI;FA;;;S-1-5-21-7-7-7-1001)";
    void NastavZabezpeceni(const std::wstring& cesta, const std::wstring& sddl);   // preparation

    // The whole disk at this moment, and the disk put back to such a
    // moment: what a killed program leaves is the disk as it was after its
    // last call.
    struct Zachyceni;
    std::shared_ptr<const Zachyceni> Zachyt() const;
    void Obnov(const std::shared_ptr<const Zachyceni>& zachyceni);

private:
    struct Uzel;
    class OtevrenySoubor;
    struct Nalez;
    Nalez Najdi(const std::wstring& cesta) const;
    static bool PresOdkaz(const Uzel& uzel);   // the entry or a folder above it is a link
    Uzel& Existujici(const std::wstring& cesta, const wchar_t* operace) const;
    Uzel& Vloz(Uzel& rodic, std::unique_ptr<Uzel> uzel);
    std::unique_ptr<Uzel> Vyjmi(Uzel& uzel);
    void Pridej(Snimek& snimek, const Uzel& uzel, const std::wstring& cesta) const;
    int64_t Tik();

    Zasahy& zasahy_;
    std::unordered_map<std::wstring, std::unique_ptr<Uzel>> koreny_;
    std::set<std::wstring> drzene_;   // files open without sharing, case-folded
    int64_t hodiny_ = 132000000000000000;   // a FILETIME in 2019
};

// Keys by root and path, values by name, both without regard to case. The
// machine-wide root has a second, 64-bit view (Hklm64), read only where a
// read asks for it, as a 32-bit program sees the registry on 64-bit Windows;
// the user's root is one for both views. With Zasahy, the writes and deletes
// are counted platform calls that an injected failure makes return false
// (a failed write having made its key, as the platform's does).
class FalesnyRegistr final : public IRegistr {
public:
    explicit FalesnyRegistr(Zasahy* zasahy = nullptr) : zasahy_(zasahy) {}
    FalesnyRegistr(const FalesnyRegistr&) = delete;
    FalesnyRegistr& operator=(const FalesnyRegistr&) = delete;

    // The root under which the 64-bit view's machine-wide keys are kept.
    static constexpr uint32_t Hklm64 = HKEY_LOCAL_MACHINE_ | 0x40000000u;

    // Every key and value, as a snapshot compares them: "<root>\<KEY>" for
    // a key, "<root>\<KEY>\@<NAME>" for a value, upper case.
    std::map<std::wstring, std::wstring> Stav() const;

    void NastavText(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                    const std::wstring& text);
    // REG_EXPAND_SZ: a text with %VARIABLES%, expanded from prostredi.
    void NastavRozsirenyText(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                             const std::wstring& text);
    void NastavCislo(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                     uint32_t cislo);
    // REG_BINARY: a type no reader takes.
    void NastavJinyTyp(uint32_t koren, const std::wstring& klic, const std::wstring& nazev);
    void SmazVse() { klice_.clear(); }
    bool MaKlic(uint32_t koren, const std::wstring& klic) const;
    std::optional<std::wstring> Text(uint32_t koren, const std::wstring& klic,
                                     const std::wstring& nazev) const;

    // The environment REG_EXPAND_SZ values are expanded from, by upper-case name.
    std::map<std::wstring, std::wstring> prostredi;

    struct Cteni {
        uint32_t koren;
        std::wstring klic, nazev;
        bool pohled64 = false;
        bool operator==(const Cteni&) const = default;
    };
    std::vector<Cteni> cteni;   // every read, in order

    // The whole registry at this moment, and the registry put back to it.
    struct Zachyceni;
    std::shared_ptr<const Zachyceni> Zachyt() const;
    void Obnov(const std::shared_ptr<const Zachyceni>& zachyceni);

    std::wstring CtiRegistr(uint32_t koren, const std::wstring& klic,
                            const std::wstring& nazev) override;
    std::wstring CtiCestu(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                          bool pohled64 = false) override;
    bool ZapisRegistr(uint32_t koren, const std::wstring& klic, const std::wstring& nazev,
                      const std::wstring* hodnota, int32_t cislo = 0) override;
    void SmazKlic(uint32_t koren, const std::wstring& klic) override;
    bool ExistujeKlic(uint32_t koren, const std::wstring& klic) override;
    bool ExistujeHodnota(uint32_t koren, const std::wstring& klic, const std::wstring& nazev) override;
    bool SmazHodnotu(uint32_t koren, const std::wstring& klic, const std::wstring& nazev) override;
    bool SmazPrazdnyKlic(uint32_t koren, const std::wstring& klic) override;

private:
    struct Hodnota {
        uint32_t typ = 1;
        std::wstring text;
        uint32_t cislo = 0;
    };
    using Klic = std::map<std::wstring, Hodnota>;   // by folded value name
    using Klice = std::map<std::pair<uint32_t, std::wstring>, Klic>;   // by folded key path
    bool MaPodklice(uint32_t koren, const std::wstring& slozenyKlic) const;
    Klic& Vytvor(uint32_t koren, const std::wstring& klic);
    const Klic* Najdi(uint32_t koren, const std::wstring& klic) const;
    const Hodnota* NajdiHodnotu(uint32_t koren, const std::wstring& klic, const std::wstring& nazev) const;
    std::wstring Rozvin(const std::wstring& text) const;
    // Counts a write or delete; true when it is to fail.
    bool Selze(const wchar_t* operace, const std::wstring& klic);

    Zasahy* zasahy_;
    Klice klice_;
};

class FalesnyShell final : public IShell {
public:
    FalesnyShell(Zasahy& zasahy, FalesnyDisk& disk) : zasahy_(zasahy), disk_(disk) {}

    std::map<int32_t, std::wstring> specialni;
    struct Odkaz {
        std::wstring slozka, nazev, cil, argumenty, ikona, pracovniSlozka;
        int32_t zobrazeni = 0;
        bool operator==(const Odkaz&) const = default;
    };
    std::vector<Odkaz> odkazy;   // every call, written or not

    // What a written link file holds, so tests can tell it from other files.
    static std::wstring ObsahOdkazu(const std::wstring& cil) { return L"[odkaz] " + cil; }

    std::wstring SpecialniSlozka(int32_t cislo) override;
    bool OdkazVedeDo(const std::wstring& odkaz, const std::wstring& cil) override;
    void VytvorZastupce(const std::wstring& slozka, const std::wstring& nazev,
                        const std::wstring& cil, const std::wstring& argumenty,
                        const std::wstring& ikona, const std::wstring& pracovniSlozka,
                        int32_t zobrazeni) override;

private:
    Zasahy& zasahy_;
    FalesnyDisk& disk_;
};

// What the user sees, in order.
struct Udalost {
    enum Druh { Hlaska, Zprava, Skryj, Zobraz, Uvolni, ZakazStorno };
    Udalost(Druh d, std::wstring t = {}, int32_t h = 0, int32_t c = 0, std::wstring tit = {},
            uint32_t s = 0)
        : druh(d), text(std::move(t)), hotovo(h), celkem(c), titulek(std::move(tit)), styl(s) {}
    Druh druh;
    std::wstring text;
    int32_t hotovo = 0;
    int32_t celkem = 0;
    std::wstring titulek;
    uint32_t styl = 0;
    bool operator==(const Udalost&) const = default;
};
void PrintTo(const Udalost& u, std::ostream* os);

// The main window, the progress window and the message boxes: the sink a
// run reports to, and the window code around a run (Spust).
class FalesnaOkna final : public IPrubeh {
public:
    std::vector<Udalost> udalosti;
    bool zaznamenavat = true;
    std::wstring textSlozky;
    int32_t hlasek = 0;                       // Hlaska calls so far
    std::set<int32_t> stornovatPriHlasce;     // Storno pressed during these calls
    std::set<int32_t> selhatPriHlasce;        // these calls raise an overflow
    std::atomic<bool> stornovano{false};
    bool hlavniViditelne = true;              // the main window
    const Zasahy* zasahy = nullptr;           // when set: the platform calls made before each Hlaska
    std::vector<int64_t> volaniPredHlaskou;
    std::vector<int64_t> volaniPredZpravou;   // and before each box

    void Hlaska(const std::wstring& text, int32_t hotovo, int32_t celkem) override;
    // Recorded as a report of the empty text, which the events call Zavri.
    void Skonci() override;
    const std::atomic<bool>& Stornovano() const override { return stornovano; }
    void NelzeZrusit() override { Zapis({Udalost::ZakazStorno}); }
    int Zprava(const std::wstring& text, const std::wstring& titulek, uint32_t styl) override;

    // The window code of OK: the flag goes down, the run runs for the text
    // of the target box, and the main window comes back or unloads.
    Vysledek Spust(const std::function<Vysledek()>& beh);

    // The message boxes only.
    std::vector<Udalost> Zpravy() const;

private:
    void Ohlas(const std::wstring& text, int32_t hotovo, int32_t celkem);
    void Zapis(Udalost u) {
        if (zaznamenavat) udalosti.push_back(std::move(u));
    }
};

// The whole machine, wired together.
struct FalesnyStroj {
    Zasahy zasahy;
    FalesnaOkna okna;
    FalesnyDisk disk{zasahy};
    FalesnyRegistr registr{&zasahy};
    FalesnyShell shell{zasahy, disk};

    FalesnyStroj() {
        zasahy.stornovano = &okna.stornovano;
        okna.zasahy = &zasahy;
    }
    FalesnyStroj(const FalesnyStroj&) = delete;
    FalesnyStroj& operator=(const FalesnyStroj&) = delete;
    Stroj stroj() { return Stroj{disk, registr, shell, okna}; }
};

}  // namespace setup::test
