// mPomucky: special folders, the folder browser and shell links.
#include "system/Text.h"
#include "win32/Uchyty.h"
#include "win32/Win32.h"

namespace setup {

namespace {

// The description every link of this installer carries.
constexpr const wchar_t* PopisOdkazu = L"ShellLink Sample";

// The shell's library is loaded when first needed: most runs browse for no
// folder and write no link, and mapping it costs every start memory.
HMODULE shell32 = nullptr;

#define SHELL(funkce) FunkceKnihovny<decltype(&::funkce)>(shell32, L"shell32.dll", #funkce)

// The file-system path of an item list, cut at its NUL; nothing when the
// item has no such path. The shell writes at most MAX_PATH characters.
std::optional<std::wstring> CestaSeznamu(LPCITEMIDLIST seznam) {
    std::wstring buffer(MAX_PATH, L' ');
    if (!SHELL(SHGetPathFromIDListW)(seznam, buffer.data())) return std::nullopt;
    return OrizniNulu(buffer);
}

bool MaNulu(const std::wstring& text) { return text.find(L'\0') != std::wstring::npos; }

}  // namespace

HMODULE NactiSystemovouKnihovnu(const wchar_t* nazev) noexcept {
    wchar_t system[MAX_PATH];
    const UINT n = GetSystemDirectoryW(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    try {
        return LoadLibraryW((std::wstring(system, n) + L'\\' + nazev).c_str());
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

FARPROC AdresaFunkce(HMODULE& knihovna, const wchar_t* nazev, const char* jmeno) {
    if (!knihovna) knihovna = NactiSystemovouKnihovnu(nazev);
    if (!knihovna) VyvolejPosledni(nazev);
    FARPROC f = GetProcAddress(knihovna, jmeno);
    if (!f) VyvolejPosledni(nazev);
    return f;
}

std::wstring Win32Shell::SpecialniSlozka(int32_t cislo) {
    SeznamPolozek seznam;
    if (SHELL(SHGetSpecialFolderLocation)(nullptr, cislo, seznam.put()) != S_OK) {
        seznam.release();   // whatever a failed call left there is not ours
        return {};
    }
    std::optional<std::wstring> cesta = CestaSeznamu(seznam.get());
    if (!cesta) return {};
    if (!cesta->empty() && cesta->back() == L'\\') cesta->pop_back();   // a drive root
    return *cesta;
}

std::wstring VyberSlozku(IHlaseni& hlaseni, const std::wstring& titulek, HWND vlastnik) {
    try {
        BROWSEINFOW info{};
        info.hwndOwner = vlastnik;
        info.lpszTitle = titulek.c_str();
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        SeznamPolozek seznam(SHELL(SHBrowseForFolderW)(&info));
        if (!seznam) return {};   // Cancel, or the dialog was closed
        // A confirmed item without a file-system path gives empty text, not
        // a buffer of spaces.
        return CestaSeznamu(seznam.get()).value_or(std::wstring());
    } catch (...) {
        ChybaHlaseni(hlaseni, ChybaZVyjimky());
        return {};
    }
}

HRESULT VytvorObjektOdkazu(IShellLinkW** odkaz) {
    return CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                            reinterpret_cast<void**>(odkaz));
}

namespace {

// A new link object and its file side. A factory that reports success but
// gives nothing still leaves both owners empty, never holding junk.
bool ObjektOdkazu(const TvurceOdkazu& tvurce, ComUkazatel<IShellLinkW>& odkaz,
                  ComUkazatel<IPersistFile>& soubor) {
    if (FAILED(tvurce(odkaz.put())) || !odkaz) {
        odkaz.release();
        return false;
    }
    if (FAILED(odkaz.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(soubor.put()))) || !soubor) {
        soubor.release();
        return false;
    }
    return true;
}

}  // namespace

void Win32Shell::VytvorZastupce(const std::wstring& slozka, const std::wstring& nazev,
                                const std::wstring& cil, const std::wstring& argumenty,
                                const std::wstring& ikona, const std::wstring& pracovniSlozka,
                                int32_t zobrazeni) {
    if (slozka.empty() || cil.empty()) return;
    // Text holding a NUL would reach the link object cut short, giving a link
    // other than the one asked for.
    for (const std::wstring* text : {&slozka, &nazev, &cil, &argumenty, &ikona, &pracovniSlozka}) {
        if (MaNulu(*text)) return;
    }
    // Every failure ends the work silently; the owners release both
    // interfaces, the persist-file one first, on every path.
    try {
        std::wstring cesta = slozka;
        if (cesta.back() != L'\\') cesta += L'\\';
        cesta += nazev;

        ComUkazatel<IShellLinkW> odkaz;
        ComUkazatel<IPersistFile> soubor;
        if (!ObjektOdkazu(tvurce_, odkaz, soubor)) return;
        IShellLinkW* l = odkaz.get();
        if (FAILED(l->SetPath(cil.c_str()))) return;
        if (!pracovniSlozka.empty() && FAILED(l->SetWorkingDirectory(pracovniSlozka.c_str()))) return;
        if (!argumenty.empty() && FAILED(l->SetArguments(argumenty.c_str()))) return;
        if (FAILED(l->SetDescription(PopisOdkazu))) return;
        if (!ikona.empty() && FAILED(l->SetIconLocation(ikona.c_str(), 0))) return;
        if (FAILED(l->SetShowCmd(zobrazeni))) return;
        if (FAILED(l->Resolve(nullptr, SLR_UPDATE))) return;
        // The only step that writes to disk.
        soubor.get()->Save(cesta.c_str(), FALSE);
    } catch (...) {
    }
}

namespace {

// The text as it comes back from the ANSI code page: what a link object that
// keeps only the ANSI path (Wine's) gives back for it.
std::wstring PresAnsi(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0) return text;
    std::string ansi(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(), n, nullptr, nullptr);
    const int m = MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, nullptr, 0);
    if (m <= 0) return text;
    std::wstring zpet(static_cast<std::size_t>(m), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, zpet.data(), m);
    return zpet;
}

std::wstring BezLomitka(std::wstring cesta) {
    if (cesta.size() > 3 && cesta.back() == L'\\') cesta.pop_back();
    return cesta;
}

}  // namespace

bool Win32Shell::OdkazVedeDo(const std::wstring& odkaz, const std::wstring& cil) {
    if (MaNulu(odkaz) || MaNulu(cil)) return false;
    try {
        ComUkazatel<IShellLinkW> l;
        ComUkazatel<IPersistFile> soubor;
        if (!ObjektOdkazu(tvurce_, l, soubor)) return false;
        if (FAILED(soubor.get()->Load(odkaz.c_str(), STGM_READ))) return false;
        std::wstring kam(MAX_PATH, L'\0');
        if (l.get()->GetPath(kam.data(), MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) return false;
        kam = BezLomitka(OrizniNulu(kam));
        const std::wstring hledany = BezLomitka(cil);
        return StejnyText(kam, hledany) || StejnyText(kam, PresAnsi(hledany));
    } catch (...) {
        return false;
    }
}

}  // namespace setup
