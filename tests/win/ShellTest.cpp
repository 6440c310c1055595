// mPomucky: special folders, links and the folder browser, with the shell of
// a fresh Wine prefix.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Pomoc.h"
#include "win32/Win32.h"

namespace setup {
namespace {

using test::TestovaciSlozka;
using test::ZaznamHlaseni;

std::wstring Prostredi(const wchar_t* nazev) {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD delka = GetEnvironmentVariableW(nazev, buffer, MAX_PATH * 2);
    return std::wstring(buffer, delka < MAX_PATH * 2 ? delka : 0);
}

// SpecialniSlozka ----------------------------------------------------------------------

TEST(SpecialniSlozka, ApplicationDataWithoutTrailingBackslash) {
    ZaznamHlaseni hlaseni;
    Win32Shell shell;
    const std::wstring appdata = shell.SpecialniSlozka(26);
    ASSERT_FALSE(appdata.empty());
    EXPECT_NE(appdata.back(), L'\\');
    EXPECT_EQ(appdata, Prostredi(L"APPDATA"));
    const DWORD atributy = GetFileAttributesW(appdata.c_str());
    ASSERT_NE(atributy, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(atributy & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

TEST(SpecialniSlozka, UnknownNumberOrFolderWithoutPathIsEmptyAndQuiet) {
    ZaznamHlaseni hlaseni;
    Win32Shell shell;
    EXPECT_EQ(shell.SpecialniSlozka(0x7FFF), L"");
    EXPECT_EQ(shell.SpecialniSlozka(-1), L"");
    EXPECT_EQ(shell.SpecialniSlozka(9999), L"");
    EXPECT_EQ(shell.SpecialniSlozka(CSIDL_DRIVES), L"");    // "My Computer" has no path
    EXPECT_EQ(shell.SpecialniSlozka(CSIDL_CONTROLS), L"");
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

// A shell folder moved to the root of a drive: the root loses its backslash.
TEST(SpecialniSlozka, DriveRootLosesItsBackslash) {
    // The templates folder, where the shell looks for it, saved and put back
    // exactly (type and bytes) afterwards.
    struct Hodnota {
        const wchar_t* klic;
        std::optional<std::pair<DWORD, std::vector<BYTE>>> puvodni;
    };
    std::vector<Hodnota> hodnoty = {
        {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", {}},
        {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", {}},
    };
    for (Hodnota& h : hodnoty) {
        DWORD typ = 0;
        DWORD velikost = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, h.klic, L"Templates", RRF_RT_ANY | RRF_NOEXPAND, &typ, nullptr,
                         &velikost) == ERROR_SUCCESS) {
            std::vector<BYTE> data(velikost);
            ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, h.klic, L"Templates", RRF_RT_ANY | RRF_NOEXPAND, &typ,
                                   data.data(), &velikost),
                      ERROR_SUCCESS);
            data.resize(velikost);
            h.puvodni = std::make_pair(typ, data);
        }
    }
    NaKonci vrat([&] {
        for (const Hodnota& h : hodnoty) {
            if (h.puvodni) {
                RegSetKeyValueW(HKEY_CURRENT_USER, h.klic, L"Templates", h.puvodni->first,
                                h.puvodni->second.data(), static_cast<DWORD>(h.puvodni->second.size()));
            } else {
                RegDeleteKeyValueW(HKEY_CURRENT_USER, h.klic, L"Templates");
            }
        }
    });
    for (const Hodnota& h : hodnoty) {
        RegSetKeyValueW(HKEY_CURRENT_USER, h.klic, L"Templates", REG_SZ, L"C:\\", 4 * sizeof(wchar_t));
    }
    ZaznamHlaseni hlaseni;
    Win32Shell shell;
    EXPECT_EQ(shell.SpecialniSlozka(CSIDL_TEMPLATES), L"C:");
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

// VytvorZastupce -----------------------------------------------------------------------

struct Odkaz {
    std::wstring cesta;
    std::wstring popis;
    std::wstring argumenty;
    std::wstring pracovni;
};

// Reads a link file back through the shell's own link object.
std::optional<Odkaz> PrectiOdkaz(const std::wstring& soubor) {
    ComUkazatel<IShellLinkW> odkaz;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(odkaz.put())))) {
        return std::nullopt;
    }
    ComUkazatel<IPersistFile> persist;
    if (FAILED(odkaz.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.put()))))
        return std::nullopt;
    if (FAILED(persist.get()->Load(soubor.c_str(), STGM_READ))) return std::nullopt;
    wchar_t buffer[1024];
    Odkaz o;
    // The target as the item list holds it: Wine's GetPath answers from the
    // file's ANSI copy of the path, which loses letters such as "ř".
    SeznamPolozek seznam;
    if (FAILED(odkaz.get()->GetIDList(seznam.put())) || !seznam) return std::nullopt;
    buffer[0] = 0;
    SHGetPathFromIDListW(seznam.get(), buffer);
    o.cesta = buffer;
    buffer[0] = 0;
    odkaz.get()->GetDescription(buffer, 1024);
    o.popis = buffer;
    buffer[0] = 0;
    odkaz.get()->GetArguments(buffer, 1024);
    o.argumenty = buffer;
    buffer[0] = 0;
    odkaz.get()->GetWorkingDirectory(buffer, 1024);
    o.pracovni = buffer;
    return o;
}

class Zastupce : public testing::Test {
protected:
    TestovaciSlozka slozka;
    ZaznamHlaseni hlaseni;
    Win32Shell shell;

    void SetUp() override {
        slozka.Slozka(L"Šablony kanceláře");
        slozka.Slozka(L"Odkazy");
    }
    std::wstring Cil() const { return slozka.Cesta(L"Šablony kanceláře"); }
};

TEST_F(Zastupce, LinkIsWrittenWithTargetAndDescription) {
    shell.VytvorZastupce(slozka.Cesta(L"Odkazy"), L"Šablony kanceláře.lnk", Cil(), L"", L"", L"", 5);
    const auto odkaz = PrectiOdkaz(slozka.Cesta(L"Odkazy\\Šablony kanceláře.lnk"));
    ASSERT_TRUE(odkaz);
    EXPECT_EQ(odkaz->cesta, Cil());
    EXPECT_EQ(odkaz->popis, L"ShellLink Sample");
    EXPECT_EQ(odkaz->argumenty, L"");
    EXPECT_EQ(odkaz->pracovni, L"");
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

TEST_F(Zastupce, FolderWithOrWithoutTrailingBackslashGivesTheSameFile) {
    shell.VytvorZastupce(slozka.Cesta(L"Odkazy"), L"Dopisy.lnk", Cil(), L"", L"", L"", 5);
    EXPECT_EQ(slozka.Jmena(L"Odkazy"), std::vector<std::wstring>{L"Dopisy.lnk"});
    DeleteFileW(slozka.Cesta(L"Odkazy\\Dopisy.lnk").c_str());
    shell.VytvorZastupce(slozka.Cesta(L"Odkazy\\"), L"Dopisy.lnk", Cil(), L"", L"", L"", 5);
    EXPECT_EQ(slozka.Jmena(L"Odkazy"), std::vector<std::wstring>{L"Dopisy.lnk"});
}

TEST_F(Zastupce, GivenArgumentsIconAndWorkingFolderAreStored) {
    shell.VytvorZastupce(slozka.Cesta(L"Odkazy"), L"Plny.lnk", Cil(), L"/n /x", L"C:\\windows\\notepad.exe",
                         slozka.Cesta(), 3);
    const auto odkaz = PrectiOdkaz(slozka.Cesta(L"Odkazy\\Plny.lnk"));
    ASSERT_TRUE(odkaz);
    EXPECT_EQ(odkaz->argumenty, L"/n /x");
    EXPECT_EQ(odkaz->pracovni, slozka.Cesta());
}

TEST_F(Zastupce, BadInputWritesNothingAndSaysNothing) {
    const std::wstring odkazy = slozka.Cesta(L"Odkazy");
    shell.VytvorZastupce(odkazy, L"a.lnk", L"", L"", L"", L"", 5);                       // no target
    shell.VytvorZastupce(L"", L"a.lnk", Cil(), L"", L"", L"", 5);                        // no folder
    shell.VytvorZastupce(slozka.Cesta(L"Missing"), L"a.lnk", Cil(), L"", L"", L"", 5);   // no such folder
    shell.VytvorZastupce(odkazy, L"", Cil(), L"", L"", L"", 5);                          // no name
    shell.VytvorZastupce(odkazy, std::wstring(L"a.lnk\0b", 7), Cil(), L"", L"", L"", 5); // NUL in the name
    EXPECT_TRUE(slozka.Jmena(L"Odkazy").empty());
    EXPECT_EQ(GetFileAttributesW(slozka.Cesta(L"Missing").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(slozka.Jmena().size(), 2u);   // nothing beside the two folders
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

// Left in place for scripts/test-wine, which reads it with lnkinfo.
TEST(ZastupceProLnkinfo, WritesC_SetupLnk) {
    CreateDirectoryW(L"C:\\SetupLnk", nullptr);
    CreateDirectoryW(L"C:\\SetupLnk\\Sablony kancelare", nullptr);
    ZaznamHlaseni hlaseni;
    Win32Shell shell;
    shell.VytvorZastupce(L"C:\\SetupLnk", L"Sablony kancelare.lnk", L"C:\\SetupLnk\\Sablony kancelare", L"",
                         L"", L"", 5);
    EXPECT_NE(GetFileAttributesW(L"C:\\SetupLnk\\Sablony kancelare.lnk"), INVALID_FILE_ATTRIBUTES);
}

// The calls made on the link object, seen through a recording object that
// passes them on to the real one (or fails the chosen one). Wine neither
// stores the show command nor leaves the icon alone on Resolve, so those two
// are checked here, on the calls, rather than in the file.
class ZaznamOdkazu final : public IShellLinkW, public IPersistFile {
public:
    ZaznamOdkazu(std::vector<std::wstring>& volani, int selhani) : volani_(volani), selhani_(selhani) {
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                         reinterpret_cast<void**>(odkaz_.put()));
        if (odkaz_) odkaz_.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(soubor_.put()));
    }
    long reference = 0;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** vysledek) override {
        if (iid == IID_IUnknown || iid == IID_IShellLinkW) {
            *vysledek = static_cast<IShellLinkW*>(this);
        } else if (iid == IID_IPersistFile || iid == IID_IPersist) {
            if (Zapis(L"QueryInterface IPersistFile")) {
                *vysledek = nullptr;
                return E_NOINTERFACE;
            }
            *vysledek = static_cast<IPersistFile*>(this);
        } else {
            *vysledek = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++reference); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--reference); }

    // IShellLinkW: what the routine must call, recorded and passed on.
    HRESULT STDMETHODCALLTYPE SetPath(LPCWSTR p) override {
        return Zapis(L"SetPath " + std::wstring(p)) ? E_FAIL : L()->SetPath(p);
    }
    HRESULT STDMETHODCALLTYPE SetWorkingDirectory(LPCWSTR p) override {
        return Zapis(L"SetWorkingDirectory " + std::wstring(p)) ? E_FAIL : L()->SetWorkingDirectory(p);
    }
    HRESULT STDMETHODCALLTYPE SetArguments(LPCWSTR p) override {
        return Zapis(L"SetArguments " + std::wstring(p)) ? E_FAIL : L()->SetArguments(p);
    }
    HRESULT STDMETHODCALLTYPE SetDescription(LPCWSTR p) override {
        return Zapis(L"SetDescription " + std::wstring(p)) ? E_FAIL : L()->SetDescription(p);
    }
    HRESULT STDMETHODCALLTYPE SetIconLocation(LPCWSTR p, int i) override {
        return Zapis(L"SetIconLocation " + std::wstring(p) + L" " + std::to_wstring(i)) ? E_FAIL
                                                                                      : L()->SetIconLocation(p, i);
    }
    HRESULT STDMETHODCALLTYPE SetShowCmd(int i) override {
        return Zapis(L"SetShowCmd " + std::to_wstring(i)) ? E_FAIL : L()->SetShowCmd(i);
    }
    HRESULT STDMETHODCALLTYPE Resolve(HWND okno, DWORD priznaky) override {
        return Zapis(L"Resolve " + std::to_wstring(reinterpret_cast<uintptr_t>(okno)) + L" " +
                     std::to_wstring(priznaky))
                   ? E_FAIL
                   : L()->Resolve(okno, priznaky);
    }
    // IPersistFile
    HRESULT STDMETHODCALLTYPE Save(LPCOLESTR p, BOOL zapamatuj) override {
        return Zapis(L"Save " + std::wstring(p) + L" " + std::to_wstring(zapamatuj)) ? E_FAIL
                                                                                   : soubor_.get()->Save(p, zapamatuj);
    }

    // Everything else is not for this routine to call.
    HRESULT STDMETHODCALLTYPE GetPath(LPWSTR, int, WIN32_FIND_DATAW*, DWORD) override { return Ne(L"GetPath"); }
    HRESULT STDMETHODCALLTYPE GetIDList(PIDLIST_ABSOLUTE*) override { return Ne(L"GetIDList"); }
    HRESULT STDMETHODCALLTYPE SetIDList(PCIDLIST_ABSOLUTE) override { return Ne(L"SetIDList"); }
    HRESULT STDMETHODCALLTYPE GetDescription(LPWSTR, int) override { return Ne(L"GetDescription"); }
    HRESULT STDMETHODCALLTYPE GetWorkingDirectory(LPWSTR, int) override { return Ne(L"GetWorkingDirectory"); }
    HRESULT STDMETHODCALLTYPE GetArguments(LPWSTR, int) override { return Ne(L"GetArguments"); }
    HRESULT STDMETHODCALLTYPE GetHotkey(WORD*) override { return Ne(L"GetHotkey"); }
    HRESULT STDMETHODCALLTYPE SetHotkey(WORD) override { return Ne(L"SetHotkey"); }
    HRESULT STDMETHODCALLTYPE GetShowCmd(int*) override { return Ne(L"GetShowCmd"); }
    HRESULT STDMETHODCALLTYPE GetIconLocation(LPWSTR, int, int*) override { return Ne(L"GetIconLocation"); }
    HRESULT STDMETHODCALLTYPE SetRelativePath(LPCWSTR, DWORD) override { return Ne(L"SetRelativePath"); }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return Ne(L"GetClassID"); }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return Ne(L"IsDirty"); }
    HRESULT STDMETHODCALLTYPE Load(LPCOLESTR, DWORD) override { return Ne(L"Load"); }
    HRESULT STDMETHODCALLTYPE SaveCompleted(LPCOLESTR) override { return Ne(L"SaveCompleted"); }
    HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR*) override { return Ne(L"GetCurFile"); }

private:
    // Records a call; true when it is the one chosen to fail.
    bool Zapis(const std::wstring& volani) {
        volani_.push_back(volani);
        return static_cast<int>(volani_.size()) - 1 == selhani_;
    }
    HRESULT Ne(const wchar_t* jmeno) {
        volani_.push_back(std::wstring(jmeno) + L" (unexpected)");
        return E_NOTIMPL;
    }
    IShellLinkW* L() { return odkaz_.get(); }

    std::vector<std::wstring>& volani_;
    int selhani_;
    ComUkazatel<IShellLinkW> odkaz_;
    ComUkazatel<IPersistFile> soubor_;
};

class ZaznamZastupce : public Zastupce {
protected:
    std::vector<std::wstring> volani;

    // Runs the routine on a recording object; true when all references to it
    // were released again.
    bool Spust(int selhani, const std::wstring& argumenty, const std::wstring& ikona,
               const std::wstring& pracovni, int zobrazeni) {
        volani.clear();
        ZaznamOdkazu zaznam(volani, selhani);
        Win32Shell s([&](IShellLinkW** odkaz) {
            zaznam.AddRef();
            *odkaz = &zaznam;
            return S_OK;
        });
        s.VytvorZastupce(slozka.Cesta(L"Odkazy"), L"Dopisy.lnk", Cil(), argumenty, ikona, pracovni, zobrazeni);
        return zaznam.reference == 0;
    }
    std::wstring Soubor() const { return slozka.Cesta(L"Odkazy\\Dopisy.lnk"); }
};

TEST_F(ZaznamZastupce, InstallersOwnCallsSetNoArgumentsNoIconNoWorkingFolder) {
    ASSERT_TRUE(Spust(-1, L"", L"", L"", 5));
    const std::vector<std::wstring> ocekavana = {
        L"QueryInterface IPersistFile",
        L"SetPath " + Cil(),
        L"SetDescription ShellLink Sample",
        L"SetShowCmd 5",
        L"Resolve 0 4",
        L"Save " + Soubor() + L" 0",
    };
    EXPECT_EQ(volani, ocekavana);
    EXPECT_TRUE(PrectiOdkaz(Soubor()));
}

TEST_F(ZaznamZastupce, GivenTextsAreSetInOrder) {
    ASSERT_TRUE(Spust(-1, L"/a", L"C:\\ikona.ico", L"C:\\prace", 3));
    const std::vector<std::wstring> ocekavana = {
        L"QueryInterface IPersistFile",
        L"SetPath " + Cil(),
        L"SetWorkingDirectory C:\\prace",
        L"SetArguments /a",
        L"SetDescription ShellLink Sample",
        L"SetIconLocation C:\\ikona.ico 0",
        L"SetShowCmd 3",
        L"Resolve 0 4",
        L"Save " + Soubor() + L" 0",
    };
    EXPECT_EQ(volani, ocekavana);
}

TEST_F(ZaznamZastupce, AnyFailingCallEndsTheWorkWithNothingWrittenAndAllReleased) {
    ASSERT_TRUE(Spust(-1, L"/a", L"C:\\ikona.ico", L"C:\\prace", 3));
    const std::size_t kroku = volani.size();
    ASSERT_TRUE(DeleteFileW(Soubor().c_str()));
    for (std::size_t k = 0; k < kroku; ++k) {
        EXPECT_TRUE(Spust(static_cast<int>(k), L"/a", L"C:\\ikona.ico", L"C:\\prace", 3)) << k;
        EXPECT_EQ(volani.size(), k + 1) << k;   // nothing after the failing call
        EXPECT_TRUE(slozka.Jmena(L"Odkazy").empty()) << k;
    }
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

TEST_F(Zastupce, FailingFactoryIsQuiet) {
    Win32Shell s([](IShellLinkW** odkaz) {
        *odkaz = nullptr;
        return REGDB_E_CLASSNOTREG;
    });
    s.VytvorZastupce(slozka.Cesta(L"Odkazy"), L"a.lnk", Cil(), L"", L"", L"", 5);
    EXPECT_TRUE(slozka.Jmena(L"Odkazy").empty());
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

// VyberSlozku -------------------------------------------------------------------------

BOOL CALLBACK NajdiDialog(HWND okno, LPARAM param) {
    wchar_t trida[64];
    GetClassNameW(okno, trida, 64);
    DWORD proces = 0;
    GetWindowThreadProcessId(okno, &proces);
    if (proces == GetCurrentProcessId() && std::wstring(trida) == L"#32770" && IsWindowVisible(okno)) {
        *reinterpret_cast<HWND*>(param) = okno;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK NajdiText(HWND okno, LPARAM param) {
    wchar_t text[256];
    GetWindowTextW(okno, text, 256);
    if (std::wstring(text) == L"Vyberte cílovou složku") *reinterpret_cast<bool*>(param) = true;
    return TRUE;
}

BOOL CALLBACK NajdiStrom(HWND okno, LPARAM param) {
    wchar_t trida[64];
    GetClassNameW(okno, trida, 64);
    if (std::wstring(trida) != WC_TREEVIEWW) return TRUE;
    *reinterpret_cast<HWND*>(param) = okno;
    return FALSE;
}

// The text of the tree's selected item, empty while there is none.
std::wstring Vybrana(HWND strom) {
    wchar_t text[MAX_PATH];
    TVITEMW polozka{};
    polozka.mask = TVIF_TEXT;
    polozka.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(strom, TVM_GETNEXTITEM, TVGN_CARET, 0));
    polozka.pszText = text;
    polozka.cchTextMax = MAX_PATH;
    if (!polozka.hItem || !SendMessageW(strom, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&polozka))) return L"";
    return text;
}

// Waits for the browser, notes whether it shows the title, selects a folder
// if given one, and presses a button. The tree fills, and a selection lands,
// in the browser's own time: both are waited for rather than slept through,
// so a loaded machine only makes the test slower.
std::thread Obsluha(int tlacitko, std::atomic<bool>& videlTitulek, std::wstring vyber = L"") {
    return std::thread([tlacitko, &videlTitulek, vyber] {
        HWND dialog = nullptr;
        for (int i = 0; i < 1000 && !dialog; ++i) {
            EnumWindows(NajdiDialog, reinterpret_cast<LPARAM>(&dialog));
            if (!dialog) Sleep(10);
        }
        if (!dialog) return;
        HWND strom = nullptr;
        for (int i = 0; i < 500 && !(strom && SendMessageW(strom, TVM_GETCOUNT, 0, 0) > 0); ++i) {
            EnumChildWindows(dialog, NajdiStrom, reinterpret_cast<LPARAM>(&strom));
            Sleep(10);
        }
        bool nalezen = false;
        EnumChildWindows(dialog, NajdiText, reinterpret_cast<LPARAM>(&nalezen));
        videlTitulek = nalezen;
        if (!vyber.empty() && strom) {
            // The item shows the folder's last name, or "(C:)" for a drive.
            std::wstring jmeno = vyber;
            if (jmeno.back() == L'\\') jmeno.pop_back();
            jmeno = jmeno.substr(jmeno.find_last_of(L'\\') + 1);
            for (int i = 0; i < 500 && Vybrana(strom).find(jmeno) == std::wstring::npos; ++i) {
                if (i % 20 == 0) {
                    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(vyber.c_str()));
                }
                Sleep(10);
            }
        }
        PostMessageW(dialog, WM_COMMAND, tlacitko, 0);
    });
}

TEST(VyberSlozku, CancelGivesEmptyText) {
    std::atomic<bool> titulek{false};
    std::thread obsluha = Obsluha(IDCANCEL, titulek);
    ZaznamHlaseni hlaseni;
    const std::wstring vysledek = VyberSlozku(hlaseni, L"Vyberte cílovou složku", nullptr);
    obsluha.join();
    EXPECT_EQ(vysledek, L"");
    EXPECT_TRUE(titulek);
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

TEST(VyberSlozku, ChosenFolderAsTheShellGivesIt) {
    TestovaciSlozka slozka;
    slozka.Slozka(L"Šablony ✓");
    ZaznamHlaseni hlaseni;
    for (const std::wstring& vyber : {slozka.Cesta(L"Šablony ✓"), std::wstring(L"C:\\")}) {
        std::atomic<bool> titulek{false};
        std::thread obsluha = Obsluha(IDOK, titulek, vyber);
        const std::wstring vysledek = VyberSlozku(hlaseni, L"Vyberte cílovou složku", nullptr);
        obsluha.join();
        EXPECT_EQ(vysledek, vyber);   // a drive root keeps its backslash
    }
    EXPECT_TRUE(hlaseni.zpravy.empty());
}

}  // namespace
}  // namespace setup
