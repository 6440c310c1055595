// The floor for Setup's start-up and memory with its own window: the main
// window exactly as Setup shows it (the same code, controls, fonts, pictures,
// icon and manifest), with nothing behind it: no record of runs, no search
// for the set or the office suite, no log. What Setup takes beyond this is
// what its own work at start-up costs.
#include <windows.h>

#include "win32/Win32.h"
#include "ui/HlavniOkno.h"

namespace {

using namespace setup::ui;

// The welcome text as Setup words it for a set named "Sada".
constexpr const wchar_t* Uvitani =
    L"Tento program nainstaluje šablony 'Sada' na váš počítač.\r\n\r\n"
    L"  Instalaci můžete zahájit klepnutím na tlačítko OK. Pokud si přejete "
    L"změnit umístění šablon, zadejte jinou cílovou složku. Existující složku "
    L"můžete nalistovat tlačítkem Procházet. Pokud si nepřejete pokračovat v "
    L"instalaci, ukončete instalační program klepnutím na tlačítko Storno.";
constexpr const wchar_t* Cil = L"C:\\Program Files\\Microsoft Office\\Templates\\Sada";

class OknoBezBehu final : public HlavniOkno {
public:
    OknoBezBehu(setup::IHlaseni& hlaseni, const Vzhled& vzhled) noexcept : HlavniOkno(hlaseni, vzhled) {}
    ~OknoBezBehu() override { Znic(); }

    void Nacti() {
        VytvorOkno();
        Napln(Uvitani, Cil);
    }

private:
    LRESULT Zprava(UINT zprava, WPARAM w, LPARAM l) override {
        switch (zprava) {
        case WM_CTLCOLORSTATIC: return OnCtlColorStatic(w, l);
        case WM_CLOSE: Znic(); return 0;
        case WM_DESTROY: PostQuitMessage(0); return Vychozi(zprava, w, l);
        default: return Vychozi(zprava, w, l);
        }
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ZapniBezneOvladace();
    setup::Win32Hlaseni hlaseni;
    try {
        Vzhled vzhled(instance);
        OknoBezBehu okno(hlaseni, vzhled);
        okno.Nacti();
        okno.Zobraz();
        MSG zprava;
        while (GetMessageW(&zprava, nullptr, 0, 0) > 0) {
            if (okno.Existuje() && IsDialogMessageW(okno.hwnd(), &zprava)) continue;
            TranslateMessage(&zprava);
            DispatchMessageW(&zprava);
        }
    } catch (...) {
        NahlasVyjimku(hlaseni);
        return 1;
    }
    return 0;
}
