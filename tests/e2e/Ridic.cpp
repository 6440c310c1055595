#include "Ridic.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <stdexcept>

#include "ui/Ovladace.h"

namespace e2e {

namespace {

using setup::Bitmapa;
using setup::ComUkazatel;
using setup::PametoveDc;

setup::HledaniSouboru Hledani(const std::wstring& vzor, WIN32_FIND_DATAW& data) {
    return setup::HledaniSouboru(::FindFirstFileW(vzor.c_str(), &data));
}

std::wstring Slozka(const std::wstring& cesta) {
    auto p = cesta.find_last_of(L'\\');
    return p == std::wstring::npos ? std::wstring() : cesta.substr(0, p);
}

std::wstring SlozkaRidice() {
    std::wstring b(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, b.data(), static_cast<DWORD>(b.size()));
        if (n < b.size()) {
            b.resize(n);
            break;
        }
        b.resize(b.size() * 2);
    }
    return Slozka(b);
}

struct HledaniOken {
    DWORD pid;
    std::vector<HWND> okna;
};

BOOL CALLBACK SberOken(HWND h, LPARAM l) {
    auto* x = reinterpret_cast<HledaniOken*>(l);
    DWORD p = 0;
    ::GetWindowThreadProcessId(h, &p);
    if (p == x->pid && ::IsWindowVisible(h)) x->okna.push_back(h);
    return TRUE;
}

BOOL CALLBACK SberPotomku(HWND h, LPARAM l) {
    reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
    return TRUE;
}

void PosliVstup(std::vector<INPUT>& vstup) {
    UINT poslano = ::SendInput(static_cast<UINT>(vstup.size()), vstup.data(), sizeof(INPUT));
    if (poslano != vstup.size()) throw std::runtime_error("SendInput selhal");
}

INPUT KlavesaVstup(WORD vk, bool nahoru) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = nahoru ? KEYEVENTF_KEYUP : 0;
    return i;
}

// The pixels of a bitmap, 32 bits each, top row first.
std::vector<uint32_t> PixelyBitmapy(HDC dc, HBITMAP bmp, int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    ::GetDIBits(dc, bmp, 0, h, px.data(), &bi, DIB_RGB_COLORS);
    return px;
}

// Pixels of a screen area.
std::vector<uint32_t> PixelyObrazovky(int x, int y, int w, int h) {
    HDC obrazovka = ::GetDC(nullptr);
    PametoveDc dc(::CreateCompatibleDC(obrazovka));
    Bitmapa bmp(::CreateCompatibleBitmap(obrazovka, w, h));
    HGDIOBJ stary = ::SelectObject(dc.get(), bmp.get());
    ::BitBlt(dc.get(), 0, 0, w, h, obrazovka, x, y, SRCCOPY);
    ::SelectObject(dc.get(), stary);
    ::ReleaseDC(nullptr, obrazovka);
    return PixelyBitmapy(dc.get(), bmp.get(), w, h);
}

// A system icon drawn on the given background, as a static control draws it.
std::vector<uint32_t> VykreslenaIkona(LPCWSTR ikona, int w, int h, uint32_t pozadi) {
    HDC obrazovka = ::GetDC(nullptr);
    PametoveDc dc(::CreateCompatibleDC(obrazovka));
    Bitmapa bmp(::CreateCompatibleBitmap(obrazovka, w, h));
    ::ReleaseDC(nullptr, obrazovka);
    HGDIOBJ stary = ::SelectObject(dc.get(), bmp.get());
    HBRUSH stetec = ::CreateSolidBrush(RGB((pozadi >> 16) & 0xFF, (pozadi >> 8) & 0xFF, pozadi & 0xFF));
    RECT r{0, 0, w, h};
    ::FillRect(dc.get(), &r, stetec);
    ::DeleteObject(stetec);
    ::DrawIconEx(dc.get(), 0, 0, ::LoadIconW(nullptr, ikona), w, h, 0, nullptr, DI_NORMAL);
    ::SelectObject(dc.get(), stary);
    return PixelyBitmapy(dc.get(), bmp.get(), w, h);
}

double Rozdil(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    double s = 0;
    for (size_t i = 0; i < a.size(); ++i)
        for (int k = 0; k < 24; k += 8)
            s += std::abs(static_cast<int>((a[i] >> k) & 0xFF) - static_cast<int>((b[i] >> k) & 0xFF));
    return s / (a.size() * 3.0);
}

// Which system icon the static shows: compare what is on the screen with each
// candidate drawn the same way.
Ikona UrciIkonu(HWND staticka) {
    RECT r;
    ::GetWindowRect(staticka, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return Ikona::Zadna;
    auto videno = PixelyObrazovky(r.left, r.top, w, h);
    const std::pair<LPCWSTR, Ikona> kandidati[] = {
        {IDI_INFORMATION, Ikona::Informace}, {IDI_HAND, Ikona::Stop},
        {IDI_EXCLAMATION, Ikona::Vykricnik}, {IDI_QUESTION, Ikona::Otazka}};
    double nejlepsi = 1e9;
    Ikona vysledek = Ikona::Jina;
    for (auto& [id, ikona] : kandidati) {
        double d = Rozdil(videno, VykreslenaIkona(id, w, h, videno[0]));
        if (d < nejlepsi) {
            nejlepsi = d;
            vysledek = ikona;
        }
    }
    // A close match only: anti-aliased edges may differ by a shade.
    return nejlepsi < 6.0 ? vysledek : Ikona::Jina;
}

std::wstring CestaZUnixu(const std::wstring& unix) {
    std::wstring w = L"Z:" + unix;
    std::replace(w.begin(), w.end(), L'/', L'\\');
    return w;
}

}  // namespace

DWORD Cekani() {
    std::wstring s = Prostredi(L"SETUP_E2E_CEKANI");
    return s.empty() ? 20000 : static_cast<DWORD>(std::wcstoul(s.c_str(), nullptr, 10));
}

std::wstring Prostredi(const wchar_t* nazev) {
    DWORD n = ::GetEnvironmentVariableW(nazev, nullptr, 0);
    if (n == 0) return {};
    std::wstring s(n, L'\0');
    n = ::GetEnvironmentVariableW(nazev, s.data(), n);
    s.resize(n);
    return s;
}

std::string Utf8(const std::wstring& s) {
    if (s.empty()) return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string u(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), u.data(), n, nullptr, nullptr);
    return u;
}

std::optional<std::wstring> ZUtf8(const std::string& s) {
    if (s.empty()) return std::wstring();
    int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(), static_cast<int>(s.size()), nullptr, 0);
    if (n == 0) return std::nullopt;
    std::wstring w(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

// ---- processes -------------------------------------------------------------

Proces Proces::Spust(const std::wstring& exe,
                     const std::vector<std::pair<std::wstring, std::wstring>>& prostredi,
                     const std::wstring& argumenty) {
    // The child inherits the driver's environment; the extra variables are
    // set for the moment of the start only.
    std::vector<std::pair<std::wstring, std::wstring>> puvodni;
    for (auto& [n, h] : prostredi) {
        puvodni.emplace_back(n, Prostredi(n.c_str()));
        ::SetEnvironmentVariableW(n.c_str(), h.c_str());
    }
    std::wstring prikaz = L"\"" + exe + L"\"";
    if (!argumenty.empty()) prikaz += L" " + argumenty;
    std::wstring slozka = Slozka(exe);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    BOOL ok = ::CreateProcessW(exe.c_str(), prikaz.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               slozka.c_str(), &si, &pi);
    DWORD chyba = ::GetLastError();
    for (auto& [n, h] : puvodni) ::SetEnvironmentVariableW(n.c_str(), h.empty() ? nullptr : h.c_str());
    if (!ok) throw std::runtime_error("CreateProcessW selhal: " + std::to_string(chyba));
    ::CloseHandle(pi.hThread);
    Proces p;
    p.h_.reset(pi.hProcess);
    p.pid_ = pi.dwProcessId;
    p.tid_ = pi.dwThreadId;
    return p;
}

Proces::~Proces() {
    if (h_ && Bezi()) Zabij();
}

bool Proces::CekejNaKonec(DWORD ms) { return ::WaitForSingleObject(h_.get(), ms) == WAIT_OBJECT_0; }

bool Proces::Bezi() const { return ::WaitForSingleObject(h_.get(), 0) == WAIT_TIMEOUT; }

DWORD Proces::Kod() const {
    DWORD kod = 0;
    if (!::GetExitCodeProcess(h_.get(), &kod)) throw std::runtime_error("GetExitCodeProcess selhal");
    return kod;
}

void UkonciPodleId(DWORD pid) {
    setup::UchytObjektu h(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (!h) throw std::runtime_error("OpenProcess selhal: " + std::to_string(::GetLastError()));
    if (!::TerminateProcess(h.get(), 1)) throw std::runtime_error("TerminateProcess selhal");
    if (::WaitForSingleObject(h.get(), Cekani()) != WAIT_OBJECT_0) throw std::runtime_error("proces neskončil");
}

void Proces::Zabij() {
    ::TerminateProcess(h_.get(), 99);
    ::WaitForSingleObject(h_.get(), 5000);
}

// ---- windows ---------------------------------------------------------------

std::wstring Trida(HWND h) {
    wchar_t b[128] = {};
    ::GetClassNameW(h, b, 128);
    return b;
}

std::wstring Text(HWND h) {
    DWORD_PTR delka = 0;
    if (!::SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &delka)) return {};
    std::wstring b(delka + 1, L'\0');
    DWORD_PTR n = 0;
    if (!::SendMessageTimeoutW(h, WM_GETTEXT, b.size(), reinterpret_cast<LPARAM>(b.data()),
                               SMTO_ABORTIFHUNG, 5000, &n))
        return {};
    b.resize(std::min<size_t>(n, delka));
    return b;
}

RECT ObdelnikVRodici(HWND h) {
    RECT r{};
    ::GetWindowRect(h, &r);
    HWND rodic = (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : nullptr;
    if (rodic) ::MapWindowPoints(HWND_DESKTOP, rodic, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE VelikostKlienta(HWND h) {
    RECT r{};
    ::GetClientRect(h, &r);
    return {r.right - r.left, r.bottom - r.top};
}

std::vector<HWND> OknaProcesu(DWORD pid) {
    HledaniOken x{pid, {}};
    ::EnumWindows(SberOken, reinterpret_cast<LPARAM>(&x));
    return x.okna;
}

std::vector<HWND> OknaDoKonce(Proces& p, bool& konec) {
    std::vector<HWND> videna;
    konec = CekejAz([&] {
        // Asked before the windows are looked at: a window shown just
        // before the end is still seen.
        const bool skoncil = !p.Bezi();
        for (HWND h : OknaProcesu(p.Id()))
            if (std::find(videna.begin(), videna.end(), h) == videna.end()) videna.push_back(h);
        return skoncil;
    });
    return videna;
}

std::vector<HWND> Potomci(HWND h) {
    std::vector<HWND> v;
    ::EnumChildWindows(h, SberPotomku, reinterpret_cast<LPARAM>(&v));
    return v;
}

HWND Fokus(DWORD vlakno) {
    GUITHREADINFO gi{};
    gi.cbSize = sizeof gi;
    if (!::GetGUIThreadInfo(vlakno, &gi)) return nullptr;
    return gi.hwndFocus;
}

HWND CekejNa(const std::function<HWND()>& najdi, DWORD ms) {
    ULONGLONG konec = ::GetTickCount64() + ms;
    for (;;) {
        if (HWND h = najdi()) return h;
        if (::GetTickCount64() >= konec) return nullptr;
        ::Sleep(10);
    }
}

bool CekejAz(const std::function<bool()>& podminka, DWORD ms) {
    ULONGLONG konec = ::GetTickCount64() + ms;
    for (;;) {
        if (podminka()) return true;
        if (::GetTickCount64() >= konec) return false;
        ::Sleep(10);
    }
}

void CekejNaKlid(HWND h) {
    DWORD_PTR r;
    ::SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
}

HWND HlavniOkno(DWORD pid) {
    for (HWND h : OknaProcesu(pid))
        if (::GetDlgItem(h, IDC_LABSETUP) && ::GetDlgItem(h, IDC_SLOZKA)) return h;
    return nullptr;
}

HWND OknoPrubehu(DWORD pid) {
    for (HWND h : OknaProcesu(pid))
        if (::GetDlgItem(h, IDC_UKAZATEL) && ::GetDlgItem(h, IDC_METR)) return h;
    return nullptr;
}

HWND ProhlizecSlozek(DWORD pid) {
    for (HWND h : OknaProcesu(pid))
        if (Trida(h) == L"#32770" && ::FindWindowExW(h, nullptr, L"SysTreeView32", nullptr)) return h;
    return nullptr;
}

HWND OknoHlaseni(DWORD pid) {
    for (HWND h : OknaProcesu(pid))
        if (Trida(h) == L"#32770" && !::FindWindowExW(h, nullptr, L"SysTreeView32", nullptr)) return h;
    return nullptr;
}

Hlaseni CtiHlaseni(HWND okno) {
    Hlaseni z;
    z.okno = okno;
    z.titulek = Text(okno);
    HWND ikona = nullptr;
    for (HWND p : Potomci(okno)) {
        if (::GetParent(p) != okno || !::IsWindowVisible(p)) continue;
        std::wstring t = Trida(p);
        if (t == L"Button") {
            z.tlacitka.push_back(Text(p));
        } else if (t == L"Static") {
            if ((::GetWindowLongW(p, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                ikona = p;
            else if (!Text(p).empty())
                z.text = Text(p);
        }
    }
    if (ikona) {
        // The box may not have painted yet; a confident match settles it.
        CekejNaKlid(okno);
        CekejAz([&] { return (z.ikona = UrciIkonu(ikona)) != Ikona::Jina; }, 2000);
    }
    return z;
}

// ---- input -----------------------------------------------------------------

bool Aktivuj(HWND okno) {
    ::SetForegroundWindow(okno);
    return CekejAz([&] { return ::GetForegroundWindow() == okno; }, 3000);
}

void Klavesa(WORD vk, bool alt, bool shift) {
    std::vector<INPUT> v;
    if (alt) v.push_back(KlavesaVstup(VK_MENU, false));
    if (shift) v.push_back(KlavesaVstup(VK_SHIFT, false));
    v.push_back(KlavesaVstup(vk, false));
    v.push_back(KlavesaVstup(vk, true));
    if (shift) v.push_back(KlavesaVstup(VK_SHIFT, true));
    if (alt) v.push_back(KlavesaVstup(VK_MENU, true));
    PosliVstup(v);
}

void Pis(const std::wstring& text) {
    std::vector<INPUT> v;
    for (wchar_t c : text) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wScan = c;
        i.ki.dwFlags = KEYEVENTF_UNICODE;
        v.push_back(i);
        i.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        v.push_back(i);
    }
    if (!v.empty()) PosliVstup(v);
}

void Klikni(HWND h, bool cekat) {
    RECT r;
    ::GetWindowRect(h, &r);
    const POINT bod{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    // The pointer goes there first, and the press waits until the window
    // under it is the one to click: a fresh desktop may still be settling,
    // and a press that lands elsewhere is lost.
    ::SetCursorPos(bod.x, bod.y);
    POINT p{};
    HWND pod = nullptr;
    if (!CekejAz([&] {
            ::GetCursorPos(&p);
            pod = ::WindowFromPoint(bod);
            return p.x == bod.x && p.y == bod.y && (pod == h || ::IsChild(h, pod));
        }, 3000))
        throw std::runtime_error("Klikni: pointer at " + std::to_string(p.x) + "," + std::to_string(p.y) +
                                 " for " + std::to_string(bod.x) + "," + std::to_string(bod.y) + ", under it " +
                                 Utf8(Trida(pod)) + " '" + Utf8(Text(pod)) + "'");
    if (cekat) CekejNaKlid(h);
    // A press and a release apart, as a hand makes them: a release in the
    // same instant can reach a button before the press has been handled.
    // Each event carries the point too, so a late pointer motion from the X
    // server cannot move the press away from the button.
    const int sirka = ::GetSystemMetrics(SM_CXSCREEN), vyska = ::GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> v(1);
    v[0].type = INPUT_MOUSE;
    v[0].mi.dx = sirka > 1 ? MulDiv(bod.x, 65535, sirka - 1) : 0;
    v[0].mi.dy = vyska > 1 ? MulDiv(bod.y, 65535, vyska - 1) : 0;
    const DWORD kde = sirka > 1 && vyska > 1 ? MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE : 0;
    v[0].mi.dwFlags = kde | MOUSEEVENTF_LEFTDOWN;
    PosliVstup(v);
    ::Sleep(50);
    if (cekat) CekejNaKlid(h);
    v[0].mi.dwFlags = kde | MOUSEEVENTF_LEFTUP;
    PosliVstup(v);
}

// ---- screenshots -----------------------------------------------------------

void Snimek(HWND okno, const std::wstring& nazev) {
    if (Prostredi(L"SETUP_E2E_SNIMKY").empty() || !okno) return;
    CekejNaKlid(okno);
    RECT r;
    ::GetWindowRect(okno, &r);
    Snimek(r, nazev);
}

void Snimek(const RECT& r, const std::wstring& nazev) {
    std::wstring slozka = Prostredi(L"SETUP_E2E_SNIMKY");
    if (slozka.empty()) return;
    ::Sleep(300);   // let the last WM_PAINT reach the screen
    std::wstring cil = slozka + L"/" + nazev + L".png";
    std::wstring docasny = slozka + L"/" + nazev + L".tmp";
    ::DeleteFileW(CestaZUnixu(cil).c_str());
    wchar_t geometrie[64];
    std::swprintf(geometrie, 64, L"%ldx%ld+%ld+%ld", r.right - r.left, r.bottom - r.top, r.left, r.top);
    // Wine starts a Linux program for a non-Windows executable; it gives no
    // process handle back, so the finished file is the signal. The call
    // still succeeds and fills PROCESS_INFORMATION's handles with whatever
    // its own frame held: values that may name handles the driver owns (its
    // desktop, the cached key of HKEY_CURRENT_USER). Closing them broke every
    // later scenario now and then, so they are left alone.
    std::wstring prikaz = L"/bin/sh -c \"import -window root -crop " + std::wstring(geometrie) +
                          L" +repage png:" + docasny + L" && mv " + docasny + L" " + cil + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(L"Z:\\bin\\sh", prikaz.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi))
        return;
    CekejAz([&] { return Existuje(CestaZUnixu(cil)); }, 15000);
}

// ---- the status line log ---------------------------------------------------

Zaznam::Zaznam(std::wstring soubor) : soubor_(std::move(soubor)) { ::DeleteFileW(soubor_.c_str()); }

Zaznam::~Zaznam() {
    if (hak_) ::UnhookWindowsHookEx(hak_);
    if (dll_) ::FreeLibrary(dll_);
}

void Zaznam::Pripoj(DWORD vlakno) {
    std::wstring cesta = SlozkaRidice() + L"\\e2e_zaznam.dll";
    dll_ = ::LoadLibraryW(cesta.c_str());
    if (!dll_) throw std::runtime_error("e2e_zaznam.dll chybí");
    auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(dll_, "ZaznamVolani")));
    if (!proc) throw std::runtime_error("ZaznamVolani chybí");
    hak_ = ::SetWindowsHookExW(WH_CALLWNDPROC, proc, dll_, vlakno);
    if (!hak_) throw std::runtime_error("SetWindowsHookExW selhal: " + std::to_string(::GetLastError()));
}

std::vector<Udalost> Zaznam::Udalosti() const {
    std::vector<Udalost> v;
    std::string obsah = Existuje(soubor_) ? CtiSoubor(soubor_) : std::string();
    std::wstring text(obsah.size() / 2, L'\0');
    std::memcpy(text.data(), obsah.data(), text.size() * 2);
    size_t zacatek = 0;
    while (zacatek < text.size()) {
        size_t konec = text.find(L'\n', zacatek);
        if (konec == std::wstring::npos) konec = text.size();
        std::wstring radek = text.substr(zacatek, konec - zacatek);
        zacatek = konec + 1;
        if (radek.empty()) continue;
        Udalost u{radek[0], radek.substr(1)};
        if (u.druh == L'U') u.sirka = std::wcstol(u.text.c_str(), nullptr, 10);
        v.push_back(u);
    }
    return v;
}

std::wstring Zaznam::PosledniText() const {
    setup::UchytSouboru h(::CreateFileW(soubor_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h) return {};
    // A status line with its bar widths is far shorter than this.
    LARGE_INTEGER velikost{};
    ::GetFileSizeEx(h.get(), &velikost);
    const LONGLONG odkud = std::max<LONGLONG>(0, velikost.QuadPart - 8192) & ~1LL;
    LARGE_INTEGER k{};
    k.QuadPart = odkud;
    ::SetFilePointerEx(h.get(), k, nullptr, FILE_BEGIN);
    std::wstring text(4096, L'\0');
    DWORD n = 0;
    if (!::ReadFile(h.get(), text.data(), 8192, &n, nullptr)) return {};
    text.resize(n / 2);
    if (odkud == 0) text.insert(0, 1, L'\n');
    // Complete lines only: the last one may be half written, the first one
    // cut at its start.
    for (size_t konec = text.rfind(L'\n'); konec != std::wstring::npos && konec > 0;) {
        size_t zacatek = text.rfind(L'\n', konec - 1);
        if (zacatek == std::wstring::npos) break;
        if (text[zacatek + 1] == L'T' && text.compare(zacatek + 2, konec - zacatek - 2, L"...") != 0)
            return text.substr(zacatek + 2, konec - zacatek - 2);
        konec = zacatek;
    }
    return {};
}

std::vector<std::wstring> Zaznam::Texty() const {
    std::vector<std::wstring> v;
    for (auto& [t, s] : TextySUkazatelem()) v.push_back(t);
    return v;
}

std::vector<std::pair<std::wstring, int>> Zaznam::TextySUkazatelem() const {
    std::vector<std::pair<std::wstring, int>> v;
    int sirka = -1;
    bool otevreno = false;   // the last entry's window still exists
    for (auto& u : Udalosti()) {
        if (u.druh == L'D') {
            otevreno = false;
        } else if (u.druh == L'U') {
            sirka = u.sirka;
            if (otevreno && !v.empty()) v.back().second = sirka;
        } else if (u.druh == L'T') {
            // The initial "..." is the window's own, not a report.
            if (u.text == L"...") continue;
            if (!v.empty() && otevreno && v.back().first == u.text) {
                v.back().second = sirka;
            } else {
                v.emplace_back(u.text, sirka);
            }
            otevreno = true;
        }
    }
    return v;
}

std::wstring PresAnsi(const std::wstring& s) {
    if (s.empty()) return s;
    int n = ::WideCharToMultiByte(CP_ACP, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string a(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, s.c_str(), static_cast<int>(s.size()), a.data(), n, nullptr, nullptr);
    int m = ::MultiByteToWideChar(CP_ACP, 0, a.c_str(), n, nullptr, 0);
    std::wstring w(static_cast<size_t>(m), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, a.c_str(), n, w.data(), m);
    return w;
}

PopisOkna Zaznam::Popis(HWND okno) const {
    const size_t pred = Udalosti().size();
    ::SendMessageW(okno, ::RegisterWindowMessageW(L"SetupE2E.Popis"), 0, 0);
    auto v = Udalosti();
    PopisOkna p;
    for (size_t i = pred; i < v.size(); ++i) {
        std::vector<std::wstring> casti;
        std::wstring::size_type z = 0, k;
        while ((k = v[i].text.find(L'|', z)) != std::wstring::npos) {
            casti.push_back(v[i].text.substr(z, k - z));
            z = k + 1;
        }
        casti.push_back(v[i].text.substr(z));
        auto cislo = [&](size_t j) { return j < casti.size() ? std::wcstol(casti[j].c_str(), nullptr, 10) : 0; };
        if (v[i].druh == L'I') {
            p.velkaIkona = cislo(0) != 0;
            p.malaIkona = cislo(1) != 0;
            p.obrazovka = SIZE{cislo(2), cislo(3)};
        } else if (v[i].druh == L'P' && casti.size() == 7) {
            p.pisma.emplace_back(cislo(0), PismoPrvku{casti[1], static_cast<int>(cislo(2)), static_cast<int>(cislo(3)),
                                                      static_cast<int>(cislo(4)), cislo(5) != 0, cislo(6) != 0});
        }
    }
    return p;
}

// ---- disk, registry, links -------------------------------------------------

bool Existuje(const std::wstring& cesta) { return Atributy(cesta) != INVALID_FILE_ATTRIBUTES; }

DWORD Atributy(const std::wstring& cesta) { return ::GetFileAttributesW(cesta.c_str()); }

std::string CtiSoubor(const std::wstring& cesta) {
    setup::UchytSouboru h(::CreateFileW(cesta.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h) throw std::runtime_error("nelze číst " + Utf8(cesta));
    std::string obsah;
    char b[65536];
    DWORD n = 0;
    while (::ReadFile(h.get(), b, sizeof b, &n, nullptr) && n > 0) obsah.append(b, n);
    return obsah;
}

void ZapisSoubor(const std::wstring& cesta, const std::string& obsah) {
    setup::UchytSouboru h(::CreateFileW(cesta.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) throw std::runtime_error("nelze zapsat " + Utf8(cesta));
    DWORD n = 0;
    if (!obsah.empty() && !::WriteFile(h.get(), obsah.data(), static_cast<DWORD>(obsah.size()), &n, nullptr))
        throw std::runtime_error("zápis selhal " + Utf8(cesta));
}

void VytvorSlozky(const std::wstring& cesta) {
    int r = ::SHCreateDirectoryExW(nullptr, cesta.c_str(), nullptr);
    if (r != ERROR_SUCCESS && r != ERROR_ALREADY_EXISTS && r != ERROR_FILE_EXISTS)
        throw std::runtime_error("nelze vytvořit " + Utf8(cesta));
}

void SmazStrom(const std::wstring& cesta) {
    DWORD a = Atributy(cesta);
    if (a == INVALID_FILE_ATTRIBUTES) return;
    ::SetFileAttributesW(cesta.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(cesta.c_str());
        return;
    }
    std::vector<std::wstring> deti;
    {
        WIN32_FIND_DATAW d;
        const auto h = Hledani(cesta + L"\\*", d);
        if (h) {
            do {
                if (std::wcscmp(d.cFileName, L".") && std::wcscmp(d.cFileName, L".."))
                    deti.push_back(cesta + L"\\" + d.cFileName);
            } while (::FindNextFileW(h.get(), &d));
        }
    }
    for (auto& d : deti) SmazStrom(d);
    ::RemoveDirectoryW(cesta.c_str());
}

std::vector<std::wstring> SouboryVeSlozce(const std::wstring& slozka) {
    std::vector<std::wstring> v;
    WIN32_FIND_DATAW d;
    const auto h = Hledani(slozka + L"\\*.*", d);
    if (!h) return v;
    do {
        if (!(d.dwFileAttributes &
              (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            v.push_back(d.cFileName);
    } while (::FindNextFileW(h.get(), &d));
    return v;
}

std::vector<std::wstring> Strom(const std::wstring& slozka) {
    std::vector<std::wstring> v;
    std::function<void(const std::wstring&)> projdi = [&](const std::wstring& rel) {
        WIN32_FIND_DATAW d;
        const auto h = Hledani(slozka + rel + L"\\*", d);
        if (!h) return;
        do {
            if (!std::wcscmp(d.cFileName, L".") || !std::wcscmp(d.cFileName, L"..")) continue;
            std::wstring r = rel + L"\\" + d.cFileName;
            v.push_back(r.substr(1));
            if ((d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                projdi(r);
        } while (::FindNextFileW(h.get(), &d));
    };
    projdi(L"");
    std::sort(v.begin(), v.end());
    return v;
}

void NastavText(HKEY koren, const std::wstring& klic, const std::wstring& nazev, const std::wstring& hodnota,
                DWORD typ) {
    setup::KlicRegistru k;
    const LSTATUS r = ::RegCreateKeyExW(koren, klic.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, k.put(), nullptr);
    if (r != ERROR_SUCCESS)
        throw std::runtime_error("nelze vytvořit klíč " + Utf8(klic) + ": " + std::to_string(r));
    const LSTATUS z = ::RegSetValueExW(k.get(), nazev.empty() ? nullptr : nazev.c_str(), 0, typ,
                                       reinterpret_cast<const BYTE*>(hodnota.c_str()),
                                       static_cast<DWORD>((hodnota.size() + 1) * sizeof(wchar_t)));
    if (z != ERROR_SUCCESS) throw std::runtime_error("nelze zapsat hodnotu " + Utf8(nazev) + ": " + std::to_string(z));
}

void SmazKlic(HKEY koren, const std::wstring& klic) { ::RegDeleteTreeW(koren, klic.c_str()); }

bool ExistujeKlic(HKEY koren, const std::wstring& klic) {
    setup::KlicRegistru k;
    return ::RegOpenKeyExW(koren, klic.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

std::optional<HodnotaRegistru> CtiHodnotu(HKEY koren, const std::wstring& klic, const std::wstring& nazev) {
    setup::KlicRegistru k;
    if (::RegOpenKeyExW(koren, klic.c_str(), 0, KEY_QUERY_VALUE, k.put()) != ERROR_SUCCESS) return std::nullopt;
    DWORD typ = 0, velikost = 0;
    if (::RegQueryValueExW(k.get(), nazev.c_str(), nullptr, &typ, nullptr, &velikost) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring text(velikost / sizeof(wchar_t) + 1, L'\0');
    velikost = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(k.get(), nazev.c_str(), nullptr, &typ, reinterpret_cast<BYTE*>(text.data()), &velikost) !=
        ERROR_SUCCESS)
        return std::nullopt;
    text.resize(velikost / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return HodnotaRegistru{typ, text};
}

std::wstring SlozkaAplikacnichDat() {
    wchar_t b[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, b))) return {};
    return b;
}

std::wstring SlozkaDokumentu() {
    wchar_t b[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, b))) return {};
    return b;
}

std::wstring SlozkaMistnichDat() {
    wchar_t b[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, b))) return {};
    return b;
}

std::wstring DocasnaSlozka() {
    wchar_t b[MAX_PATH + 1] = {};
    DWORD n = ::GetTempPathW(MAX_PATH + 1, b);
    return std::wstring(b, n <= MAX_PATH ? n : 0);
}

std::wstring PopisChyby(DWORD kod) {
    wchar_t* b = nullptr;
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, kod, 0, reinterpret_cast<LPWSTR>(&b), 0, nullptr);
    std::wstring s = n ? std::wstring(b, n) : std::wstring();
    if (b) ::LocalFree(b);
    while (!s.empty() && (s.back() == L'\r' || s.back() == L'\n' || s.back() == L' ')) s.pop_back();
    return s;
}

std::optional<Odkaz> CtiOdkaz(const std::wstring& cesta) {
    ComUkazatel<IShellLinkW> odkaz;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(odkaz.put()))))
        return std::nullopt;
    ComUkazatel<IPersistFile> soubor;
    if (FAILED(odkaz.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(soubor.put()))))
        return std::nullopt;
    if (FAILED(soubor.get()->Load(cesta.c_str(), STGM_READ))) return std::nullopt;
    Odkaz o;
    wchar_t b[1024] = {};
    if (SUCCEEDED(odkaz.get()->GetPath(b, 1024, nullptr, SLGP_RAWPATH))) o.cil = b;
    b[0] = 0;
    if (SUCCEEDED(odkaz.get()->GetDescription(b, 1024))) o.popis = b;
    b[0] = 0;
    if (SUCCEEDED(odkaz.get()->GetArguments(b, 1024))) o.argumenty = b;
    b[0] = 0;
    if (SUCCEEDED(odkaz.get()->GetWorkingDirectory(b, 1024))) o.pracovniSlozka = b;
    return o;
}

}  // namespace e2e
