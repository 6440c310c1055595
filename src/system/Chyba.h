// The program's one error type, and the report box every handler uses.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace setup {

// Errors the program raises itself share the user-defined error base.
inline constexpr int32_t CisloVlastniChyby = static_cast<int32_t>(0x80040000);

// Failures that carry no number of their own get the platform's numbers for
// them, in every layer, so that a report or a log reads the same wherever
// the failure arose.
inline constexpr int32_t CisloNedostatkuPameti = 8;   // ERROR_NOT_ENOUGH_MEMORY
inline constexpr int32_t CisloVnitrniChyby = 1359;    // ERROR_INTERNAL_ERROR
// An operation stopped because the user asked to stop: no failure to report.
inline constexpr int32_t CisloZrusenaOperace = 1235;  // ERROR_REQUEST_ABORTED

inline constexpr const wchar_t* TitulekAplikace = L"Setup";

// Message box styles, as the platform numbers them.
inline constexpr uint32_t StylKriticka = 16;    // stop icon, one OK button
inline constexpr uint32_t StylVarovani = 48;    // exclamation icon, one OK button
inline constexpr uint32_t StylInformace = 64;   // information icon, one OK button

// A run-time error: a number, who raised it, and the sentence the user sees.
struct Chyba : std::exception {
    int32_t cislo = 0;
    std::wstring zdroj;
    std::wstring popis;

    Chyba() = default;
    Chyba(int32_t c, std::wstring z, std::wstring p)
        : cislo(c), zdroj(std::move(z)), popis(std::move(p)) {}

    const char* what() const noexcept override { return "setup::Chyba"; }
};

// The exception being handled, as the program's error: a Chyba as it is,
// anything else numbered above with a sentence of its own. Call it only
// inside a catch block.
Chyba ChybaZVyjimky() noexcept;

// Where message boxes go. The Win32 layer shows real boxes; tests record them.
class IHlaseni {
public:
    virtual ~IHlaseni() = default;
    // Shows a modal box and returns the button the user pressed.
    virtual int Zprava(const std::wstring& text, const std::wstring& titulek, uint32_t styl) = 0;
};

// The report box: the error's description, the stop icon, one OK button,
// titled with the application title. Always returns 0.
inline int16_t ChybaHlaseni(IHlaseni& hlaseni, const Chyba& chyba) {
    hlaseni.Zprava(chyba.popis, TitulekAplikace, StylKriticka);
    return 0;
}

}  // namespace setup
