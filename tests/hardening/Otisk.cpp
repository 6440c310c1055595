#include "Otisk.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "../e2e/Ridic.h"
#include "win32/Uchyty.h"

namespace hardening {

namespace {

std::wstring Mala(std::wstring s) {
    for (auto& z : s) z = static_cast<wchar_t>(std::towlower(z));
    return s;
}

bool ZacinaNa(const std::wstring& s, const std::wstring& zacatek) {
    return Mala(s.substr(0, zacatek.size())) == Mala(zacatek);
}

// FNV-1a, 64 bits: enough to tell contents apart in a comparison.
uint64_t Otisk64(const uint8_t* p, size_t n, uint64_t h = 1469598103934665603ull) {
    for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

std::wstring Hex(uint64_t x) {
    wchar_t b[24];
    std::swprintf(b, 24, L"%016llx", static_cast<unsigned long long>(x));
    return b;
}

std::wstring OtiskObsahu(const std::wstring& cesta) {
    HANDLE h = ::CreateFileW(cesta.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return L"(nelze číst)";
    setup::UchytSouboru vlastnik(h);
    uint64_t o = 1469598103934665603ull;
    static uint8_t b[1 << 16];
    DWORD n = 0;
    while (::ReadFile(h, b, sizeof b, &n, nullptr) && n > 0) o = Otisk64(b, n, o);
    return Hex(o);
}

void Projdi(const std::wstring& slozka, const std::vector<std::wstring>& vynechat, Otisk& o) {
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileExW((slozka + L"\\*").c_str(), FindExInfoBasic, &d, FindExSearchNameMatch, nullptr, 0);
    if (h == INVALID_HANDLE_VALUE) return;
    setup::HledaniSouboru hledani(h);
    std::vector<std::wstring> podslozky;
    do {
        if (!std::wcscmp(d.cFileName, L".") || !std::wcscmp(d.cFileName, L"..")) continue;
        const std::wstring cesta = slozka + L"\\" + d.cFileName;
        if (std::any_of(vynechat.begin(), vynechat.end(), [&](const std::wstring& v) { return ZacinaNa(cesta, v); }))
            continue;
        wchar_t popis[128];
        const bool jeSlozka = d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        const uint64_t velikost = (static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
        const uint64_t cas = (static_cast<uint64_t>(d.ftLastWriteTime.dwHighDateTime) << 32) |
                             d.ftLastWriteTime.dwLowDateTime;
        // A folder's time changes whenever an entry comes or goes; the
        // entries themselves are compared, so the folder's time is left out.
        std::swprintf(popis, 128, L"attr=%04lx size=%llu time=%llu", d.dwFileAttributes & 0xFFFF,
                      static_cast<unsigned long long>(velikost), jeSlozka ? 0ull : static_cast<unsigned long long>(cas));
        std::wstring s = popis;
        // Contents of every file outside the system folder (Wine's own
        // hundreds of megabytes are told apart by size and time).
        if (!jeSlozka && !ZacinaNa(cesta, L"C:\\windows\\")) s += L" obsah=" + OtiskObsahu(cesta);
        o[cesta] = s;
        if (jeSlozka && !(d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) podslozky.push_back(cesta);
    } while (::FindNextFileW(h, &d));
    for (auto& p : podslozky) Projdi(p, vynechat, o);
}

// Registry keys Wine or the shell may change on their own, whatever a
// program does: Wine's own settings (the driver also sets per-program DLL
// load orders there) and the shell's session state. Nothing the installer
// reads or writes lies under them.
bool Sum(const std::wstring& klic) {
    static const wchar_t* const sum[] = {
        L"HKCU\\Software\\Wine",
        L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SessionInfo",
        L"HKLM\\SOFTWARE\\Wine",
    };
    for (auto s : sum)
        if (ZacinaNa(klic, s)) return true;
    return false;
}

void ProjdiKlic(HKEY koren, const std::wstring& cesta, const std::wstring& nazev, Otisk& o) {
    if (Sum(nazev)) return;
    HKEY k = nullptr;
    if (::RegOpenKeyExW(koren, cesta.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return;
    setup::KlicRegistru klic(k);
    o[nazev + L"\\"] = L"klíč";
    std::vector<wchar_t> jmeno(16384);
    std::vector<uint8_t> data(1 << 16);
    for (DWORD i = 0;; ++i) {
        DWORD nj = static_cast<DWORD>(jmeno.size()), nd = static_cast<DWORD>(data.size()), typ = 0;
        LONG r = ::RegEnumValueW(k, i, jmeno.data(), &nj, nullptr, &typ, data.data(), &nd);
        if (r == ERROR_MORE_DATA) {
            data.resize(nd + 16);
            --i;
            continue;
        }
        if (r != ERROR_SUCCESS) break;
        o[nazev + L"\\:" + std::wstring(jmeno.data(), nj)] =
            L"typ=" + std::to_wstring(typ) + L" data=" + Hex(Otisk64(data.data(), nd)) + L" n=" + std::to_wstring(nd);
    }
    std::vector<std::wstring> podklice;
    for (DWORD i = 0;; ++i) {
        DWORD nj = static_cast<DWORD>(jmeno.size());
        if (::RegEnumKeyExW(k, i, jmeno.data(), &nj, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        podklice.emplace_back(jmeno.data(), nj);
    }
    for (auto& p : podklice)
        ProjdiKlic(koren, cesta.empty() ? p : cesta + L"\\" + p, nazev + L"\\" + p, o);
}

// The driver's own folder, outside the drive being photographed.
std::wstring SlozkaRidice() {
    wchar_t b[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, b, MAX_PATH);
    std::wstring s(b, n);
    return s.substr(0, s.find_last_of(L'\\'));
}

// Saving a key needs the backup privilege enabled in the driver's token.
void PovolZalohovani() {
    static bool hotovo = false;
    if (hotovo) return;
    hotovo = true;
    HANDLE t = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &t)) return;
    setup::UchytObjektu token(t);
    TOKEN_PRIVILEGES p{};
    p.PrivilegeCount = 1;
    p.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (::LookupPrivilegeValueW(nullptr, SE_BACKUP_NAME, &p.Privileges[0].Luid))
        ::AdjustTokenPrivileges(t, FALSE, &p, 0, nullptr, nullptr);
}

// A whole tree at once: the registry saves it to a file in one call (Wine
// writes its own text format), read back here line by line. Many thousands
// of keys cost one call instead of one per value. The file's own noise is
// dropped: the time each key was last written (after its name, and the
// "#time=" lines) and the header. False when the save is refused.
bool UlozenyKlic(HKEY koren, const wchar_t* podklic, const std::wstring& nazev, Otisk& o) {
    HKEY k = nullptr;
    if (::RegOpenKeyExW(koren, podklic, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    setup::KlicRegistru klic(k);
    const std::wstring soubor = SlozkaRidice() + L"\\otisk-registru.reg";
    ::DeleteFileW(soubor.c_str());
    PovolZalohovani();
    if (::RegSaveKeyW(k, soubor.c_str(), nullptr) != ERROR_SUCCESS) return false;
    std::string text;
    try {
        text = e2e::CtiSoubor(soubor);
    } catch (...) {
        return false;
    }
    ::DeleteFileW(soubor.c_str());

    std::wstring aktualni;
    bool vKlici = false, sum = false;
    size_t i = 0;
    while (i < text.size()) {
        // One logical line: a value's data may go on over lines ending in "\".
        std::string radek;
        for (;;) {
            size_t konec = text.find('\n', i);
            if (konec == std::string::npos) konec = text.size();
            std::string kus = text.substr(i, konec - i);
            i = konec + 1;
            if (!kus.empty() && kus.back() == '\r') kus.pop_back();
            size_t od = radek.empty() ? 0 : kus.find_first_not_of(' ');
            radek += kus.substr(od == std::string::npos ? kus.size() : od);
            if (radek.empty() || radek.back() != '\\' || i >= text.size()) break;
            radek.pop_back();
        }
        if (radek.empty() || radek[0] == ';' || radek[0] == '#' || radek.rfind("WINE REGISTRY", 0) == 0) continue;
        std::wstring w(radek.begin(), radek.end());
        if (w[0] == L'[') {
            const auto z = w.rfind(L']');
            // Separators are written doubled in the file.
            std::wstring k = w.substr(1, z == std::wstring::npos ? std::wstring::npos : z - 1), cista;
            for (size_t j = 0; j < k.size(); ++j) {
                cista += k[j];
                if (k[j] == L'\\' && j + 1 < k.size() && k[j + 1] == L'\\') ++j;
            }
            aktualni = nazev + L"\\" + cista;
            sum = Sum(aktualni);
            vKlici = true;
            if (!sum) o[aktualni + L"\\"] = L"klíč";
            continue;
        }
        if (!vKlici || sum) continue;
        // The value's name: "@" or a quoted name (with its escapes kept).
        size_t rovna = 0;
        if (w[0] == L'"') {
            size_t j = 1;
            while (j < w.size() && w[j] != L'"') j += (w[j] == L'\\') ? 2 : 1;
            rovna = j + 1;
        } else {
            rovna = w.find(L'=');
        }
        if (rovna == std::wstring::npos || rovna > w.size()) rovna = w.size();
        o[aktualni + L"\\:" + w.substr(0, rovna)] = rovna < w.size() ? w.substr(rovna + 1) : L"";
    }
    return true;
}

}  // namespace

Otisk OtiskDisku(const std::wstring& koren, const std::vector<std::wstring>& vynechat) {
    Otisk o;
    std::wstring k = koren;
    if (!k.empty() && k.back() == L'\\') k.pop_back();
    Projdi(k, vynechat, o);
    return o;
}

Otisk OtiskRegistru() {
    Otisk o;
    if (!UlozenyKlic(HKEY_CURRENT_USER, L"", L"HKCU", o)) {
        o.clear();
        ProjdiKlic(HKEY_CURRENT_USER, L"", L"HKCU", o);
    }
    Otisk stroj;
    if (!UlozenyKlic(HKEY_LOCAL_MACHINE, L"SOFTWARE", L"HKLM\\SOFTWARE", stroj)) {
        stroj.clear();
        ProjdiKlic(HKEY_LOCAL_MACHINE, L"SOFTWARE", L"HKLM\\SOFTWARE", stroj);
    }
    o.insert(stroj.begin(), stroj.end());
    return o;
}

std::vector<std::wstring> Rozdily(const Otisk& pred, const Otisk& po) {
    return RozdilyMimo(pred, po, {});
}

std::vector<std::wstring> RozdilyMimo(const Otisk& pred, const Otisk& po, const std::vector<std::wstring>& povolene) {
    auto mimo = [&](const std::wstring& c) {
        return std::none_of(povolene.begin(), povolene.end(), [&](const std::wstring& p) { return ZacinaNa(c, p); });
    };
    std::vector<std::wstring> r;
    for (auto& [c, s] : pred) {
        auto j = po.find(c);
        if (j == po.end()) {
            if (mimo(c)) r.push_back(L"-" + c);
        } else if (j->second != s && mimo(c)) {
            r.push_back(L"~" + c + L": " + s + L" -> " + j->second);
        }
    }
    for (auto& [c, s] : po)
        if (!pred.count(c) && mimo(c)) r.push_back(L"+" + c);
    std::sort(r.begin(), r.end(), [](const std::wstring& a, const std::wstring& b) { return a.substr(1) < b.substr(1); });
    return r;
}

DocasneProstredi::DocasneProstredi(std::initializer_list<std::pair<std::wstring, std::wstring>> promenne) {
    for (auto& [n, h] : promenne) {
        puvodni_.emplace_back(n, e2e::Prostredi(n.c_str()));
        ::SetEnvironmentVariableW(n.c_str(), h.c_str());
    }
}

DocasneProstredi::~DocasneProstredi() {
    for (auto& [n, h] : puvodni_) ::SetEnvironmentVariableW(n.c_str(), h.empty() ? nullptr : h.c_str());
}

}  // namespace hardening
