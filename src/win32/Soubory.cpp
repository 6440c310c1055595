// The file operations behind ISoubory. Every failure throws the platform's
// number and description, with the operation and its path as the source.
#include <utility>

#include "win32/Uchyty.h"
#include "win32/Win32.h"

#include <aclapi.h>
#include <sddl.h>

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
        VyvolejPosledni(operace, L" ", cesta);
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
    HledaniSouboru hledani(FindFirstFileExW(Cesta(vzor, operace), FindExInfoBasic, &nalez,
                                            FindExSearchNameMatch, nullptr,
                                            FIND_FIRST_EX_LARGE_FETCH));
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
    if (GetLastError() != ERROR_NO_MORE_FILES) VyvolejPosledni(operace, L" ", vzor);
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
    if (!SetFileAttributesW(Cesta(cesta, operace), atributy)) VyvolejPosledni(operace, L" ", cesta);
}

std::optional<Polozka> Win32Soubory::Vlastnosti(const std::wstring& cesta) {
    constexpr const wchar_t* operace = L"Vlastnosti";
    WIN32_FILE_ATTRIBUTE_DATA udaje{};
    if (!GetFileAttributesExW(Cesta(cesta, operace), GetFileExInfoStandard, &udaje)) {
        const DWORD kod = GetLastError();
        if (kod == ERROR_FILE_NOT_FOUND || kod == ERROR_PATH_NOT_FOUND) return std::nullopt;
        VyvolejWin32(kod, Zdroj(operace, cesta));
    }
    Polozka p;
    p.atributy = udaje.dwFileAttributes;
    p.velikost = Spoj(udaje.nFileSizeHigh, udaje.nFileSizeLow);
    p.casZmeny = Ticky(udaje.ftLastWriteTime);
    return p;
}

int64_t Win32Soubory::CasZmeny(const std::wstring& cesta) {
    return Ticky(Udaje(cesta, L"CasZmeny").ftLastWriteTime);
}

int64_t Win32Soubory::Velikost(const std::wstring& cesta) {
    const WIN32_FILE_ATTRIBUTE_DATA udaje = Udaje(cesta, L"Velikost");
    return Spoj(udaje.nFileSizeHigh, udaje.nFileSizeLow);
}

namespace {

// Called by the copy between its chunks, where the platform calls it: a
// raised flag stops the copy, and the platform deletes what it wrote.
DWORD CALLBACK PrubehKopie(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                           HANDLE, HANDLE, LPVOID data) {
    const auto* zrusit = static_cast<const std::atomic<bool>*>(data);
    return zrusit->load() ? PROGRESS_CANCEL : PROGRESS_CONTINUE;
}

// The platform's copy: its error number, 0 for success.
DWORD KopirujSoubor(const wchar_t* zdroj, const wchar_t* cil, const std::atomic<bool>* zrusit) noexcept {
    if (CopyFileExW(zdroj, cil, zrusit ? &PrubehKopie : nullptr, const_cast<std::atomic<bool>*>(zrusit), nullptr,
                    COPY_FILE_FAIL_IF_EXISTS))
        return ERROR_SUCCESS;
    return GetLastError();
}

// A copy that ends this soon is waited for without the hook: most
// templates take well under a millisecond, and handing the wait to the
// window side costs more than that.
constexpr DWORD KratkaKopieMs = 5;

void CekejNaUdalost(HANDLE udalost) { WaitForSingleObject(udalost, INFINITE); }

}  // namespace

// One thread for every copy of the object's life, started with the first:
// handing it a copy costs a lock and a wake-up, where a thread of its own
// for each file would cost more than copying a small file. The two threads
// meet under a slim lock, which systems keep out of the kernel while nobody
// has to sleep; the event is set only when the caller waits on it.
class Win32Soubory::Kopirovani {
public:
    Kopirovani() {
        udalost_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        if (!udalost_) VyvolejPosledni(L"CreateEventW");
        vlakno_.reset(CreateThread(nullptr, 0, &Kopirovani::Smycka, this, 0, nullptr));
        if (!vlakno_) VyvolejPosledni(L"CreateThread");
    }
    ~Kopirovani() {
        {
            Zamek z(zamek_);
            konec_ = true;
        }
        WakeConditionVariable(&prace_);
        WaitForSingleObject(vlakno_.get(), INFINITE);
    }
    Kopirovani(const Kopirovani&) = delete;
    Kopirovani& operator=(const Kopirovani&) = delete;

    DWORD Kopiruj(const wchar_t* zdroj, const wchar_t* cil, const std::atomic<bool>* zrusit,
                  const std::function<void(HANDLE)>& cekani) {
        {
            Zamek z(zamek_);
            zdroj_ = zdroj;
            cil_ = cil;
            zrusit_ = zrusit;
            stav_ = Stav::Zadano;
        }
        WakeConditionVariable(&prace_);
        Zamek z(zamek_);
        // Only the copy's end wakes this wait early.
        if (stav_ != Stav::Hotovo) SleepConditionVariableSRW(&hotovo_, &zamek_, KratkaKopieMs, 0);
        if (stav_ != Stav::Hotovo) {
            // A long copy: the caller waits its own way, for the event.
            cekaNaUdalost_ = true;
            z.Odemkni();
            cekani ? cekani(udalost_.get()) : CekejNaUdalost(udalost_.get());
            z.Zamkni();
            while (stav_ != Stav::Hotovo) SleepConditionVariableSRW(&hotovo_, &zamek_, INFINITE, 0);
        }
        stav_ = Stav::Volno;
        return kod_;
    }

private:
    enum class Stav { Volno, Zadano, Hotovo };

    // Nothing in it throws: no exception may leave a thread.
    static DWORD WINAPI Smycka(void* data) noexcept {
        auto& k = *static_cast<Kopirovani*>(data);
        Zamek z(k.zamek_);
        for (;;) {
            while (k.stav_ != Stav::Zadano && !k.konec_) SleepConditionVariableSRW(&k.prace_, &k.zamek_, INFINITE, 0);
            if (k.konec_) break;
            const wchar_t* zdroj = k.zdroj_;
            const wchar_t* cil = k.cil_;
            const std::atomic<bool>* zrusit = k.zrusit_;
            z.Odemkni();
            const DWORD kod = KopirujSoubor(zdroj, cil, zrusit);
            z.Zamkni();
            k.kod_ = kod;
            k.stav_ = Stav::Hotovo;
            const bool udalost = std::exchange(k.cekaNaUdalost_, false);
            WakeConditionVariable(&k.hotovo_);
            if (udalost) SetEvent(k.udalost_.get());
        }
        return 0;
    }

    SRWLOCK zamek_ = SRWLOCK_INIT;
    CONDITION_VARIABLE prace_ = CONDITION_VARIABLE_INIT;    // a copy was handed over, or the end
    CONDITION_VARIABLE hotovo_ = CONDITION_VARIABLE_INIT;   // the copy ended
    Stav stav_ = Stav::Volno;
    bool konec_ = false;
    bool cekaNaUdalost_ = false;
    const wchar_t* zdroj_ = nullptr;
    const wchar_t* cil_ = nullptr;
    const std::atomic<bool>* zrusit_ = nullptr;
    DWORD kod_ = ERROR_SUCCESS;
    UchytObjektu udalost_;
    UchytObjektu vlakno_;
};

Win32Soubory::Win32Soubory() = default;
Win32Soubory::~Win32Soubory() = default;

void Win32Soubory::Kopiruj(const std::wstring& zdroj, const std::wstring& cil, const std::atomic<bool>* zrusit) {
    constexpr const wchar_t* operace = L"Kopiruj";
    const wchar_t* z = Cesta(zdroj, operace);
    const wchar_t* c = Cesta(cil, operace);
    // With no window to keep answering (a silent run), the copy runs here:
    // handing it to the other thread would only cost time.
    DWORD kod;
    if (cekani) {
        if (!kopirovani_) kopirovani_ = std::make_unique<Kopirovani>();
        kod = kopirovani_->Kopiruj(z, c, zrusit, cekani);
    } else {
        kod = KopirujSoubor(z, c, zrusit);
    }
    if (kod == ERROR_SUCCESS) return;
    if (kod == ERROR_REQUEST_ABORTED || kod == ERROR_DISK_FULL || kod == ERROR_HANDLE_DISK_FULL) {
        // The target did not exist before the copy (a name in use fails
        // first, before anything is written): whatever stands there now is
        // what the stopped copy wrote. A copy the disk ran out under may
        // leave its part behind (Wine does, with the source's attributes),
        // and a rollback must not take that part for the user's file.
        SetFileAttributesW(c, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(c);
        if (kod == ERROR_REQUEST_ABORTED)
            throw Chyba(CisloZrusenaOperace, Zdroj(operace, zdroj, cil), PopisSystemoveChyby(kod));
    }
    VyvolejWin32(kod, Zdroj(operace, zdroj, cil));
}

void Win32Soubory::Prejmenuj(const std::wstring& z, const std::wstring& na) {
    constexpr const wchar_t* operace = L"Prejmenuj";
    // No flags: the target must not exist and the file stays on its volume.
    if (!MoveFileExW(Cesta(z, operace), Cesta(na, operace), 0)) {
        VyvolejPosledni(operace, L" ", z, L" -> ", na);
    }
}

void Win32Soubory::SmazSoubor(const std::wstring& cesta) {
    constexpr const wchar_t* operace = L"SmazSoubor";
    if (!DeleteFileW(Cesta(cesta, operace))) VyvolejPosledni(operace, L" ", cesta);
}

void Win32Soubory::VytvorSlozku(const std::wstring& cesta) {
    constexpr const wchar_t* operace = L"VytvorSlozku";
    if (!CreateDirectoryW(Cesta(cesta, operace), nullptr)) VyvolejPosledni(operace, L" ", cesta);
}

void Win32Soubory::OdstranSlozku(const std::wstring& cesta) {
    constexpr const wchar_t* operace = L"OdstranSlozku";
    if (!RemoveDirectoryW(Cesta(cesta, operace))) VyvolejPosledni(operace, L" ", cesta);
}

namespace {

// Volume and file index of an existing file or folder; nothing when the path
// is not there. Zero access and full sharing: the file may be open elsewhere,
// and backup semantics let folders be opened too.
std::optional<BY_HANDLE_FILE_INFORMATION> Identita(const std::wstring& cesta) {
    constexpr const wchar_t* operace = L"StejnySoubor";
    UchytSouboru soubor(CreateFileW(Cesta(cesta, operace), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                    nullptr));
    if (!soubor) {
        const DWORD kod = GetLastError();
        if (kod == ERROR_FILE_NOT_FOUND || kod == ERROR_PATH_NOT_FOUND) return std::nullopt;
        VyvolejWin32(kod, Zdroj(operace, cesta));
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(soubor.get(), &info)) VyvolejPosledni(operace, L" ", cesta);
    return info;
}

}  // namespace

namespace {

// The folder that holds a path, opened as itself and held, while the caller
// works in it, so that nobody may rename or delete it meanwhile: a junction
// or link in its place would take the file elsewhere, and one found there is
// refused (ERROR_CANT_ACCESS_FILE). Empty, with the reason in GetLastError,
// when it cannot be opened.
UchytSouboru DrzeciSlozka(const std::wstring& cesta, const wchar_t* operace) {
    const auto konec = cesta.find_last_of(L'\\');
    if (konec == std::wstring::npos) VyvolejWin32(ERROR_INVALID_NAME, Zdroj(operace, cesta));
    std::wstring nadrazena = cesta.substr(0, konec);
    // "C:" alone is the drive's current folder, not its root.
    if (nadrazena.empty() || nadrazena.back() == L':') nadrazena += L'\\';
    UchytSouboru slozka(CreateFileW(Cesta(nadrazena, operace), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!slozka) return slozka;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(slozka.get(), &info)) VyvolejPosledni(operace, L" ", cesta);
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) VyvolejWin32(ERROR_CANT_ACCESS_FILE, Zdroj(operace, cesta));
    return slozka;
}

UchytSouboru OtevriKeCteni(const std::wstring& cesta, const wchar_t* operace) {
    UchytSouboru soubor(CreateFileW(Cesta(cesta, operace), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!soubor) VyvolejPosledni(operace, L" ", cesta);
    return soubor;
}

int64_t Delka(const UchytSouboru& soubor, const std::wstring& cesta, const wchar_t* operace) {
    LARGE_INTEGER delka{};
    if (!GetFileSizeEx(soubor.get(), &delka)) VyvolejPosledni(operace, L" ", cesta);
    return delka.QuadPart;
}

// Reads up to n bytes, fewer only at the file's end.
DWORD Precti(const UchytSouboru& soubor, char* kam, DWORD n, const std::wstring& cesta, const wchar_t* operace) {
    DWORD celkem = 0;
    while (celkem < n) {
        DWORD precteno = 0;
        if (!ReadFile(soubor.get(), kam + celkem, n - celkem, &precteno, nullptr))
            VyvolejPosledni(operace, L" ", cesta);
        if (precteno == 0) break;
        celkem += precteno;
    }
    return celkem;
}

class Win32Pripis final : public IPripis {
public:
    Win32Pripis(UchytSouboru soubor, std::wstring cesta) : soubor_(std::move(soubor)), cesta_(std::move(cesta)) {}
    void Pripis(std::string_view bajty) override {
        while (!bajty.empty()) {
            DWORD zapsano = 0;
            if (!WriteFile(soubor_.get(), bajty.data(), static_cast<DWORD>(bajty.size()), &zapsano, nullptr))
                VyvolejPosledni(L"Pripis", L" ", cesta_);
            bajty.remove_prefix(zapsano);
        }
    }
    void Vynut() override {
        if (!FlushFileBuffers(soubor_.get())) VyvolejPosledni(L"Vynut", L" ", cesta_);
    }

private:
    UchytSouboru soubor_;
    std::wstring cesta_;
};

}  // namespace

bool Win32Soubory::StejnyObsah(const std::wstring& a, const std::wstring& b) {
    constexpr const wchar_t* operace = L"StejnyObsah";
    const UchytSouboru x = OtevriKeCteni(a, operace);
    const UchytSouboru y = OtevriKeCteni(b, operace);
    if (Delka(x, a, operace) != Delka(y, b, operace)) return false;
    constexpr DWORD Blok = 64 * 1024;
    std::string bx(Blok, '\0'), by(Blok, '\0');
    for (;;) {
        const DWORD nx = Precti(x, bx.data(), Blok, a, operace);
        const DWORD ny = Precti(y, by.data(), Blok, b, operace);
        if (nx != ny || bx.compare(0, nx, by, 0, ny) != 0) return false;
        if (nx < Blok) return true;
    }
}

std::optional<std::string> Win32Soubory::Nacti(const std::wstring& cesta) {
    constexpr const wchar_t* operace = L"Nacti";
    const UchytSouboru slozka = DrzeciSlozka(cesta, operace);
    if (!slozka) {
        const DWORD kod = GetLastError();
        if (kod == ERROR_FILE_NOT_FOUND || kod == ERROR_PATH_NOT_FOUND) return std::nullopt;
        VyvolejWin32(kod, Zdroj(operace, cesta));
    }
    // A link planted at the name is opened as itself, and refused.
    UchytSouboru soubor(CreateFileW(Cesta(cesta, operace), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!soubor) {
        const DWORD kod = GetLastError();
        if (kod == ERROR_FILE_NOT_FOUND || kod == ERROR_PATH_NOT_FOUND) return std::nullopt;
        VyvolejWin32(kod, Zdroj(operace, cesta));
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(soubor.get(), &info)) VyvolejPosledni(operace, L" ", cesta);
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) VyvolejWin32(ERROR_CANT_ACCESS_FILE, Zdroj(operace, cesta));
    const int64_t delka = Delka(soubor, cesta, operace);
    // A record is a few lines a file; anything near this size is none.
    if (delka > 256 * 1024 * 1024) VyvolejWin32(ERROR_FILE_TOO_LARGE, Zdroj(operace, cesta));
    std::string obsah(static_cast<std::size_t>(delka), '\0');
    obsah.resize(Precti(soubor, obsah.data(), static_cast<DWORD>(delka), cesta, operace));
    return obsah;
}

std::unique_ptr<IPripis> Win32Soubory::OtevriKPripisu(const std::wstring& cesta, Otevreni jak) {
    constexpr const wchar_t* operace = L"OtevriKPripisu";
    const wchar_t* const nazev = Cesta(cesta, operace);
    DWORD vytvoreni = OPEN_ALWAYS, priznaky = FILE_ATTRIBUTE_NORMAL;
    UchytSouboru slozka;
    if (jak != Otevreni::Pripojit) {
        slozka = DrzeciSlozka(cesta, operace);
        if (!slozka) VyvolejPosledni(operace, L" ", cesta);
        // A new file only: a link planted at the name, even one that leads
        // nowhere, is a name taken, never a way to somewhere else.
        vytvoreni = CREATE_NEW;
        priznaky |= FILE_FLAG_OPEN_REPARSE_POINT;
    }
    // Others may read a log meanwhile (an administrator watching it), not
    // write it; a run's record nobody may open while the run lives.
    const DWORD sdileni = jak == Otevreni::Vylucny ? 0 : FILE_SHARE_READ;
    UchytSouboru soubor(CreateFileW(nazev, FILE_APPEND_DATA, sdileni, nullptr, vytvoreni, priznaky, nullptr));
    if (!soubor) VyvolejPosledni(operace, L" ", cesta);
    return std::make_unique<Win32Pripis>(std::move(soubor), cesta);
}

void Win32Soubory::Vynut(const std::wstring& cesta) {
    constexpr const wchar_t* operace = L"Vynut";
    UchytSouboru soubor(CreateFileW(Cesta(cesta, operace), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (!soubor || !FlushFileBuffers(soubor.get())) VyvolejPosledni(operace, L" ", cesta);
}

void Win32Soubory::VytvorChranenouSlozku(const std::wstring& cesta, const std::wstring& sddl) {
    constexpr const wchar_t* operace = L"VytvorChranenouSlozku";
    PSECURITY_DESCRIPTOR popis = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(Cesta(sddl, operace), SDDL_REVISION_1, &popis,
                                                              nullptr))
        VyvolejPosledni(operace, L" ", cesta);
    const LokalniPamet vlastnik(popis);
    SECURITY_ATTRIBUTES atributy{sizeof(SECURITY_ATTRIBUTES), popis, FALSE};
    if (!CreateDirectoryW(Cesta(cesta, operace), &atributy)) VyvolejPosledni(operace, L" ", cesta);
}

std::wstring Win32Soubory::Zabezpeceni(const std::wstring& cesta) {
    constexpr const wchar_t* operace = L"Zabezpeceni";
    // The entry itself: a junction planted at the name answers with its own
    // descriptor (its maker's), never with that of the folder it leads to.
    UchytSouboru soubor(CreateFileW(Cesta(cesta, operace), READ_CONTROL,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                    nullptr));
    if (!soubor) VyvolejPosledni(operace, L" ", cesta);
    constexpr SECURITY_INFORMATION co = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR popis = nullptr;
    const DWORD kod = GetSecurityInfo(soubor.get(), SE_FILE_OBJECT, co, nullptr, nullptr, nullptr, nullptr, &popis);
    if (kod != ERROR_SUCCESS) VyvolejWin32(kod, Zdroj(operace, cesta));
    const LokalniPamet vlastnikPopisu(popis);
    wchar_t* text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(popis, SDDL_REVISION_1, co, &text, nullptr))
        VyvolejPosledni(operace, L" ", cesta);
    const LokalniText vlastnikTextu(text);
    return text;
}

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
