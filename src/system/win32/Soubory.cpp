// The file operations behind ISoubory. Every failure throws the platform's
// number and description, with the operation and its path as the source.
#include "system/win32/Uchyty.h"
#include "system/win32/Win32.h"

namespace setup {

namespace {

int64_t Spoj(DWORD horni, DWORD dolni) {
    return static_cast<int64_t>((static_cast<uint64_t>(horni) << 32) | dolni);
}

int64_t Ticky(const FILETIME& cas) { return Spoj(cas.dwHighDateTime, cas.dwLowDateTime); }

// The source of an error: the operation and its path or paths.
std::wstring Zdroj(const wchar_t* operace, const std::wstring& cesta) {
    return operace + (L" " + cesta);
}

std::wstring Zdroj(const wchar_t* operace, const std::wstring& z, const std::wstring& na) {
    return operace + (L" " + z + L" -> " + na);
}

// The path as the platform takes it. One holding a NUL would reach the
// platform cut short, naming another file, so it is refused.
const wchar_t* Cesta(const std::wstring& cesta, const wchar_t* operace) {
    if (cesta.find(L'\0') != std::wstring::npos) VyvolejWin32(ERROR_INVALID_NAME, Zdroj(operace, cesta));
    return cesta.c_str();
}

WIN32_FILE_ATTRIBUTE_DATA Udaje(const std::wstring& cesta, const wchar_t* operace) {
    WIN32_FILE_ATTRIBUTE_DATA udaje{};
    if (!GetFileAttributesExW(Cesta(cesta, operace), GetFileExInfoStandard, &udaje)) {
        VyvolejPosledni(Zdroj(operace, cesta));
    }
    return udaje;
}

}  // namespace

std::vector<Polozka> Win32Soubory::Vypis(const std::wstring& vzor) {
    constexpr const wchar_t* operace = L"Vypis";
    std::vector<Polozka> polozky;
    WIN32_FIND_DATAW nalez;
    // The basic level skips the short 8.3 names, and the large fetch asks for
    // bigger batches: both matter for folders of thousands of files.
    HledaniSouboru hledani(Platny(FindFirstFileExW(Cesta(vzor, operace), FindExInfoBasic, &nalez,
                                                   FindExSearchNameMatch, nullptr,
                                                   FIND_FIRST_EX_LARGE_FETCH)));
    if (!hledani) {
        const DWORD kod = GetLastError();
        // A pattern that matches nothing. A folder that is not there (a
        // medium taken out, a share gone) is no empty folder: that is an
        // error, or a vanished set would install as an empty one.
        if (kod == ERROR_FILE_NOT_FOUND || kod == ERROR_NO_MORE_FILES) return polozky;
        VyvolejWin32(kod, Zdroj(operace, vzor));
    }
    do {
        Polozka p;
        p.nazev = nalez.cFileName;
        p.atributy = nalez.dwFileAttributes;
        p.velikost = Spoj(nalez.nFileSizeHigh, nalez.nFileSizeLow);
        p.casZmeny = Ticky(nalez.ftLastWriteTime);
        polozky.push_back(std::move(p));
    } while (FindNextFileW(hledani.get(), &nalez));
    if (GetLastError() != ERROR_NO_MORE_FILES) VyvolejPosledni(Zdroj(operace, vzor));
    return polozky;
}

std::optional<uint32_t> Win32Soubory::Atributy(const std::wstring& cesta) {
    constexpr const wchar_t* operace = L"Atributy";
    const DWORD atributy = GetFileAttributesW(Cesta(cesta, operace));
    if (atributy != INVALID_FILE_ATTRIBUTES) return atributy;
    const DWORD kod = GetLastError();
    if (kod == ERROR_FILE_NOT_FOUND || kod == ERROR_PATH_NOT_FOUND) return std::nullopt;
    VyvolejWin32(kod, Zdroj(operace, cesta));
}

void Win32Soubory::NastavAtributy(const std::wstring& cesta, uint32_t atributy) {
    constexpr const wchar_t* operace = L"NastavAtributy";
    if (!SetFileAttributesW(Cesta(cesta, operace), atributy)) VyvolejPosledni(Zdroj(operace, cesta));
}

int64_t Win32Soubory::CasZmeny(const std::wstring& cesta) {
    return Ticky(Udaje(cesta, L"CasZmeny").ftLastWriteTime);
}

int64_t Win32Soubory::Velikost(const std::wstring& cesta) {
    const WIN32_FILE_ATTRIBUTE_DATA udaje = Udaje(cesta, L"Velikost");
    return Spoj(udaje.nFileSizeHigh, udaje.nFileSizeLow);
}

void Win32Soubory::Kopiruj(const std::wstring& zdroj, const std::wstring& cil) {
    constexpr const wchar_t* operace = L"Kopiruj";
    if (!CopyFileW(Cesta(zdroj, operace), Cesta(cil, operace), TRUE)) {
        VyvolejPosledni(Zdroj(operace, zdroj, cil));
    }
}

void Win32Soubory::Prejmenuj(const std::wstring& z, const std::wstring& na) {
    constexpr const wchar_t* operace = L"Prejmenuj";
    // No flags: the target must not exist and the file stays on its volume.
    if (!MoveFileExW(Cesta(z, operace), Cesta(na, operace), 0)) {
        VyvolejPosledni(Zdroj(operace, z, na));
    }
}

void Win32Soubory::SmazSoubor(const std::wstring& cesta) {
    constexpr const wchar_t* operace = L"SmazSoubor";
    if (!DeleteFileW(Cesta(cesta, operace))) VyvolejPosledni(Zdroj(operace, cesta));
}

void Win32Soubory::VytvorSlozku(const std::wstring& cesta) {
    constexpr const wchar_t* operace = L"VytvorSlozku";
    if (!CreateDirectoryW(Cesta(cesta, operace), nullptr)) VyvolejPosledni(Zdroj(operace, cesta));
}

void Win32Soubory::OdstranSlozku(const std::wstring& cesta) {
    constexpr const wchar_t* operace = L"OdstranSlozku";
    if (!RemoveDirectoryW(Cesta(cesta, operace))) VyvolejPosledni(Zdroj(operace, cesta));
}

namespace {

// Volume and file index of an existing file or folder; nothing when the path
// is not there. Zero access and full sharing: the file may be open elsewhere,
// and backup semantics let folders be opened too.
std::optional<BY_HANDLE_FILE_INFORMATION> Identita(const std::wstring& cesta) {
    constexpr const wchar_t* operace = L"StejnySoubor";
    UchytSouboru soubor(Platny(CreateFileW(Cesta(cesta, operace), 0,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                           nullptr)));
    if (!soubor) {
        const DWORD kod = GetLastError();
        if (kod == ERROR_FILE_NOT_FOUND || kod == ERROR_PATH_NOT_FOUND) return std::nullopt;
        VyvolejWin32(kod, Zdroj(operace, cesta));
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(soubor.get(), &info)) VyvolejPosledni(Zdroj(operace, cesta));
    return info;
}

}  // namespace

bool Win32Soubory::StejnySoubor(const std::wstring& a, const std::wstring& b) {
    // A path that is not there is no file at all, so it is nobody's twin.
    const auto ia = Identita(a);
    if (!ia) return false;
    const auto ib = Identita(b);
    if (!ib) return false;
    return ia->dwVolumeSerialNumber == ib->dwVolumeSerialNumber &&
           ia->nFileIndexHigh == ib->nFileIndexHigh && ia->nFileIndexLow == ib->nFileIndexLow;
}

}  // namespace setup
