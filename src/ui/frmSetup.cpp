#include "ui/frmSetup.h"

#include <utility>

#include "engine/Ukazatel.h"
#include "engine/Zjisteni.h"
#include "win32/Win32.h"
#include "ui/KonecRelace.h"
#include "ui/Ovladace.h"

namespace setup::ui {

namespace {

int64_t Ted() noexcept {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

std::wstring TextOkna(HWND okno) {
    const int delka = GetWindowTextLengthW(okno);
    if (delka <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(delka) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(okno, text.data(), delka + 1)));
    return text;
}

}  // namespace

frmSetup::~frmSetup() {
    Znic();
}

bool frmSetup::Nacti(const std::wstring& cestaAplikace, const std::wstring& docasnaSlozka) {
    VytvorOkno();
    if (cestaAplikace.empty()) return true;
    try {
        Form_Load(cestaAplikace, docasnaSlozka);
    } catch (const Chyba& chyba) {
        bezSady_ = ChybiSada(chyba);
        ChybaHlaseni(sluzby_.hlaseni, chyba);
        // Unloading the only window ends the program before it was shown.
        Znic();
        return false;
    }
    return true;
}

void frmSetup::Form_Load(const std::wstring& cestaAplikace, const std::wstring& docasnaSlozka) {
    Nacteni n = ZjistiInstalaci(cestaAplikace, sluzby_.soubory, sluzby_.registr, sluzby_.shell, sluzby_.hlaseni,
                                docasnaSlozka);
    SlozkaProgramu = std::move(n.SlozkaProgramu);
    PuvodNavrhu = std::move(n.PuvodNavrhu);
    slozky = std::move(n.slozky);
    Napln(n.Uvitani, slozky.CilSlozka);
}

void frmSetup::ZpracujZpravu(MSG& zprava) {
    if (prubeh_.Existuje() && IsDialogMessageW(prubeh_.hwnd(), &zprava)) return;
    if (Existuje() && IsDialogMessageW(hwnd(), &zprava)) return;
    TranslateMessage(&zprava);
    DispatchMessageW(&zprava);
}

int64_t frmSetup::OdstupKreseb() noexcept {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart * KresbaMs / 1000;
}

bool frmSetup::ZpracujCekajiciZpravy() {
    // Asking whether anything waits is one trip to the window system, and
    // it also puts what was drawn on the screen; taking messages from an
    // empty queue is two.
    if (MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0) return true;
    return ZpracujZpravyVeFronte();
}

bool frmSetup::ZpracujZpravyVeFronte() {
    MSG zprava;
    while (PeekMessageW(&zprava, nullptr, 0, 0, PM_REMOVE)) {
        if (zprava.message == WM_QUIT) {
            // Leave the request for the program's own message loop.
            PostQuitMessage(static_cast<int>(zprava.wParam));
            return false;
        }
        ZpracujZpravu(zprava);
    }
    return true;
}

void frmSetup::Ukaz() {
    prubeh_.Vykresli();
    ZpracujCekajiciZpravy();
    posledniKresba_ = Ted();
}

// Status steps, in this order: make sure the progress window is shown; the
// text and the bar. Then, when it is time, the window is drawn and pending
// messages run before the engine goes on.
void frmSetup::Hlaska(const std::wstring& text, int32_t hotovo, int32_t celkem) {
    // The first and the last report of every phase are always drawn: the
    // start and the end of preparation, of the install and of the rollback,
    // whose first report follows NelzeZrusit.
    bool kreslit = std::exchange(kreslitPristi_, false) || hotovo <= 1 || hotovo == celkem;
    if (ZobrazPrubeh()) kreslit = true;
    prubeh_.NastavText(text);
    const int64_t sirka = SirkaUkazatele(PrubehMetr.left, PrubehMetr.width, PrubehUkazatel.left, hotovo, celkem);
    prubeh_.NastavSirkuUkazatele(vzhled_.Px(sirka), ProcentoUkazatele(hotovo, celkem));
    if (kreslit || Ted() - posledniKresba_ >= odstupKreseb_) Ukaz();
}

// The end of the run's reports closes the progress window, drawn at once.
void frmSetup::Skonci() {
    kreslitPristi_ = false;
    ZobrazPrubeh();
    prubeh_.KonecBehu();
    Ukaz();
}

bool frmSetup::ZobrazPrubeh() {
    prubeh_.Zajisti(hwnd());
    if (prubeh_.Viditelne()) return false;
    prubeh_.Zobraz();
    // The progress window takes over from this one for the whole run.
    if (instalaceBezi_ && Existuje()) ShowWindow(hwnd(), SW_HIDE);
    return true;
}

void frmSetup::CekejNaKopii(HANDLE konec) {
    // The user sees which file takes so long.
    prubeh_.Vykresli();
    posledniKresba_ = Ted();
    for (;;) {
        const DWORD r = MsgWaitForMultipleObjectsEx(1, &konec, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0) return;
        // After WM_QUIT the program is ending: only the copy is waited for.
        if (r != WAIT_OBJECT_0 + 1 || !ZpracujZpravyVeFronte()) break;
    }
    WaitForSingleObject(konec, INFINITE);
}

std::wstring frmSetup::TextSlozky() const {
    return TextOkna(Ovladac(IDC_SLOZKA));
}

void frmSetup::NelzeZrusit() {
    prubeh_.Zajisti(hwnd());
    prubeh_.ZakazStorno();
    kreslitPristi_ = true;
}

int frmSetup::Zprava(const std::wstring& text, const std::wstring& titulek, uint32_t styl) {
    // Behind the box stands what the run had got to.
    prubeh_.Vykresli();
    return sluzby_.hlaseni.Zprava(text, titulek, styl);
}

void frmSetup::ZobrazHlavniOkno() {
    if (!Existuje()) return;
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

HWND frmSetup::VlastnikHlaseni() const noexcept {
    if (prubeh_.Viditelne()) return prubeh_.hwnd();
    if (Existuje() && (GetWindowLongW(hwnd(), GWL_STYLE) & WS_VISIBLE)) return hwnd();
    return nullptr;
}

// One run of the engine behind the progress window. The run handles its
// own errors; should anything still escape it, the user is told and the run
// counts as failed.
Vysledek frmSetup::Spust(Vysledek (*beh)(Stroj&, SlozkyInstalace&, const std::wstring&)) {
    instalaceBezi_ = true;
    NaKonci konec([this] { instalaceBezi_ = false; });
    stornovano_ = false;
    // The hidden main window lasts the whole run; the progress window may
    // be closed and made again.
    BlokovaniKonce blokovani(hwnd());
    Stroj stroj{sluzby_.soubory, sluzby_.registr, sluzby_.shell, *this, protokol};
    try {
        posledniBeh_ = beh(stroj, slozky, TextSlozky());
    } catch (...) {
        NahlasVyjimku(sluzby_.hlaseni);
        prubeh_.KonecBehu();
        posledniBeh_ = Vysledek::Selhalo;
    }
    return *posledniBeh_;
}

void frmSetup::cmdOK_Click() {
    if (instalaceBezi_) return;
    // Done: the program ends; otherwise the user gets this window back with
    // the text left in it, rather than being left with a hidden program.
    if (Spust(&setup::Instaluj) == Vysledek::Hotovo)
        Znic();
    else
        ZobrazHlavniOkno();
}

void frmSetup::NastavCil(const std::wstring& cil) {
    if (!SetWindowTextW(Ovladac(IDC_SLOZKA), cil.c_str())) VyvolejPosledni(L"SetWindowTextW Slozka");
}

Vysledek frmSetup::Odeber() {
    return Spust(&setup::Odeber);
}

void frmSetup::cmdStorno_Click() {
    Znic();
}

void frmSetup::cmdProchazet_Click() {
    const std::wstring slozka = VyberSlozku(sluzby_.hlaseni, L"Vyberte cílovou složku", hwnd());
    if (slozka.empty()) return;
    HWND edit = Ovladac(IDC_SLOZKA);
    if (!SetWindowTextW(edit, slozka.c_str())) VyvolejPosledni(L"SetWindowTextW Slozka");
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    const auto konec = static_cast<WPARAM>(slozka.size());
    SendMessageW(edit, EM_SETSEL, konec, static_cast<LPARAM>(konec));
}

LRESULT frmSetup::OnEndSession(WPARAM konci, LPARAM) {
    // The session ends in spite of the refusal: the run stops at its next
    // check and takes back what it can before the process is ended.
    if (konci && instalaceBezi_) stornovano_ = true;
    return 0;
}

LRESULT frmSetup::OnCommand(WPARAM w, LPARAM l) {
    if (HIWORD(w) != BN_CLICKED) return Vychozi(WM_COMMAND, w, l);
    // Commands queued before a run hid the window are dropped while it runs.
    if (instalaceBezi_) return 0;
    switch (LOWORD(w)) {
    case IDC_CMDOK: cmdOK_Click(); return 0;
    case IDC_CMDSTORNO: cmdStorno_Click(); return 0;
    case IDC_CMDPROCHAZET: cmdProchazet_Click(); return 0;
    default: return Vychozi(WM_COMMAND, w, l);
    }
}

LRESULT frmSetup::OnClose() {
    // The close box and the system's close command unload the window as
    // Storno does; not in the middle of a run, which ends on its own.
    if (!instalaceBezi_) Znic();
    return 0;
}

LRESULT frmSetup::OnDestroy() {
    // The main window is the program's last window.
    PostQuitMessage(0);
    return Vychozi(WM_DESTROY, 0, 0);
}

}  // namespace setup::ui
