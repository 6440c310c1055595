#include "system/Volby.h"

#include "system/Text.h"

namespace setup {

namespace {

constexpr auto npos = std::wstring_view::npos;

bool Mezera(wchar_t z) { return z == L' ' || z == L'\t'; }

std::size_t PresMezery(std::wstring_view s, std::size_t i) {
    while (i < s.size() && Mezera(s[i])) ++i;
    return i;
}

// One piece of the command line: where it stands and what it says.
struct Kus {
    std::size_t zacatek = 0, konec = 0;   // its raw characters, [zacatek, konec)
    std::wstring text;                    // after quotes and backslashes
};

// Where the pieces start: behind the program name and the whitespace after
// it. The name is a path, so a backslash in it is only a backslash, and a
// quoted name ends at its closing quote even when no space follows.
std::size_t ZaJmenemProgramu(std::wstring_view s) {
    std::size_t i = 0;
    if (!s.empty() && s[0] == L'"') {
        const auto uvozovka = s.find(L'"', 1);
        i = uvozovka == npos ? s.size() : uvozovka + 1;
    } else {
        while (i < s.size() && !Mezera(s[i])) ++i;
    }
    return PresMezery(s, i);
}

// The piece that starts at s[i], which is not whitespace.
Kus CtiKus(std::wstring_view s, std::size_t i) {
    Kus kus;
    kus.zacatek = i;
    bool vUvozovkach = false;
    while (i < s.size()) {
        const wchar_t z = s[i];
        if (z == L'\\') {
            std::size_t pocet = 0;
            for (; i < s.size() && s[i] == L'\\'; ++i) ++pocet;
            if (i < s.size() && s[i] == L'"') {
                kus.text.append(pocet / 2, L'\\');
                // An odd one escapes the quote; after an even number the
                // quote groups, which the next round sees to.
                if (pocet % 2 != 0) {
                    kus.text += L'"';
                    ++i;
                }
            } else {
                kus.text.append(pocet, L'\\');
            }
        } else if (z == L'"') {
            // A pair inside quotes is one literal quote and the quoting goes
            // on, as the C runtime has read it since 2008. (shell32's
            // CommandLineToArgvW ends the quoting there instead; a deployment
            // script that depends on the difference is not worth guessing at.)
            if (vUvozovkach && i + 1 < s.size() && s[i + 1] == L'"') {
                kus.text += L'"';
                i += 2;
            } else {
                vUvozovkach = !vUvozovkach;
                ++i;
            }
        } else if (Mezera(z) && !vUvozovkach) {
            break;
        } else {
            kus.text += z;
            ++i;
        }
    }
    kus.konec = i;
    return kus;
}

// Whether some whitespace-separated word of s is "/" or "-" followed by
// something: then an unquoted /D= value before it cannot be meant to run on.
bool ObsahujeVolbu(std::wstring_view s) {
    std::size_t i = PresMezery(s, 0);
    while (i < s.size()) {
        if ((s[i] == L'/' || s[i] == L'-') && i + 1 < s.size() && !Mezera(s[i + 1])) return true;
        while (i < s.size() && !Mezera(s[i])) ++i;
        i = PresMezery(s, i);
    }
    return false;
}

// Whether a piece asks for silence: it is /S, or holds it glued to other
// switches ("/S/D=C:\x", "-U-s"). An option's value runs to the end of its
// piece, so nothing after an "=" is read as a switch, and an empty name
// ("--S") is none.
bool ZadaTicho(std::wstring_view t) {
    while (t.size() >= 2 && (t[0] == L'/' || t[0] == L'-')) {
        const auto konec = t.find_first_of(L"/-=", 1);
        if (konec == 1 || (konec != npos && t[konec] == L'=')) return false;
        if (StejnyText(t.substr(1, konec == npos ? npos : konec - 1), L"S")) return true;
        if (konec == npos) return false;
        t.remove_prefix(konec);
    }
    return false;
}

// Takes one piece into volby; false when it is not understood. For a /D=
// value that runs to the end of the line, moves dalsi there.
bool Pouzij(const Kus& kus, std::wstring_view prikaz, std::size_t& dalsi, Volby& volby) {
    const std::wstring_view text = kus.text;
    if (text.size() < 2 || (text[0] != L'/' && text[0] != L'-')) return false;
    const auto rovnitko = text.find(L'=');
    const std::wstring_view jmeno = text.substr(1, rovnitko == npos ? npos : rovnitko - 1);

    if (rovnitko == npos) {
        bool* prepinac = StejnyText(jmeno, L"S")   ? &volby.tichy
                         : StejnyText(jmeno, L"U") ? &volby.odinstalovat
                         : jmeno == L"?"           ? &volby.napoveda
                                                   : nullptr;
        if (prepinac == nullptr || *prepinac) return false;
        *prepinac = true;
        return true;
    }

    std::optional<std::wstring>* kam = StejnyText(jmeno, L"D")         ? &volby.cil
                                       : StejnyText(jmeno, L"LOG")     ? &volby.log
                                       : StejnyText(jmeno, L"PREVZIT") ? &volby.prevzit
                                                                       : nullptr;
    std::wstring_view hodnota = text.substr(rovnitko + 1);
    if (kam == nullptr || kam->has_value() || hodnota.empty()) return false;

    // Administrators write "/D=C:\Šablony firmy" last without quotes, as they
    // would type the folder anywhere else. Once a quote stands anywhere from
    // the /D= on, the quotes say where the value ends, as for any piece: a
    // line that uses them meant them, and guessing which spaces were meant
    // would be worse than reporting the word that does not fit. Without a
    // quote the piece's text is its raw characters, so the rest of the line
    // is taken raw too, whitespace inside it as it stands.
    if (kam == &volby.cil && prikaz.find(L'"', kus.zacatek) == npos &&
        !ObsahujeVolbu(prikaz.substr(kus.konec))) {
        const std::wstring_view zbytek = prikaz.substr(kus.zacatek + rovnitko + 1);
        hodnota = zbytek.substr(0, zbytek.find_last_not_of(L" \t") + 1);
        dalsi = prikaz.size();
    }
    *kam = std::wstring(hodnota);
    return true;
}

}  // namespace

std::size_t ZacatekVoleb(std::wstring_view prikaz) { return ZaJmenemProgramu(prikaz); }

Volby RozeberPrikaz(std::wstring_view prikaz) {
    prikaz = prikaz.substr(0, prikaz.find(L'\0'));

    Volby volby;
    std::size_t i = ZaJmenemProgramu(prikaz);
    while (i < prikaz.size()) {
        const Kus kus = CtiKus(prikaz, i);
        i = PresMezery(prikaz, kus.konec);
        if (!Pouzij(kus, prikaz, i, volby)) {
            volby.chybna = std::wstring(prikaz.substr(kus.zacatek, kus.konec - kus.zacatek));
            volby.napoveda = false;
            // A run told to be silent stays silent about its own bad command
            // line, wherever its /S stands, even glued to the piece that
            // made the line bad: a deployment tool waits on no box.
            if (ZadaTicho(kus.text)) volby.tichy = true;
            while (i < prikaz.size()) {
                const Kus dalsi = CtiKus(prikaz, i);
                i = PresMezery(prikaz, dalsi.konec);
                if (ZadaTicho(dalsi.text)) volby.tichy = true;
            }
            break;
        }
    }
    return volby;
}

}  // namespace setup
