// The options an organisation starts the installer with for an unattended
// deployment. Portable: the command line comes from whatever read it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setup {

struct Volby {
    bool tichy = false;                 // /S: no window and no message box, ever
    bool odinstalovat = false;          // /U: remove the set instead of installing it
    bool napoveda = false;              // /?: show the list of options
    std::optional<std::wstring> cil;    // /D=folder: the target instead of the proposal
    std::optional<std::wstring> log;    // /LOG=file: append a log there
    // /PREVZIT=<process>,<pipe>:<folder>: a removal handed over by the copy
    // of Setup an install kept, which waits for the result and then ends so
    // that its folder can go; the handles of that process and of the pipe to
    // it, inherited, and the name of its folder beside the records. Not in
    // the list of options: only that copy writes it.
    std::optional<std::wstring> prevzit;
    // The first piece not understood, exactly as it stands on the command
    // line (quotes included); empty when every piece was understood.
    std::wstring chybna;

    bool operator==(const Volby&) const = default;
};

// The whole command line as the platform gives it (GetCommandLineW), the
// program name first.
//
// The program name is skipped as CreateProcess reads it: from a leading quote
// to the next quote, otherwise to the first space or tab. The rest is split
// into pieces as the C runtime splits argv: spaces and tabs separate, quotes
// group, 2n backslashes before a quote give n and the quote groups, 2n+1 give
// n and a literal quote, other backslashes are literal, and inside quotes a
// pair of quotes is one literal quote with the quoting going on. A NUL ends
// the command line, as it ends the platform's own string.
//
// Each piece is an option: "/" or "-", then S, U, ?, D=value or LOG=value in
// any letter case. An unquoted /D= value runs to the end of the line, so that
// "/S /D=C:\Šablony firmy" works without quotes, when no quote follows it
// and no later word looks like an option; otherwise it ends where its piece
// ends.
//
// A piece that is no option, an unknown option, an empty value or an option
// given twice makes the line invalid: chybna holds that piece (for a repeat,
// its second occurrence), and after it only a /S is looked for. The other
// fields then hold what the pieces before it said, and tichy whether /S
// stands anywhere, alone or glued to other switches in one piece
// ("/S/D=C:\x", itself an invalid piece), so a run told to be silent stays
// silent about its own bad command line; napoveda is set only on a valid
// line, since the message about a bad one lists the options anyway.
Volby RozeberPrikaz(std::wstring_view prikazovyRadek);

// Where the options start: behind the program name and the spaces after it.
std::size_t ZacatekVoleb(std::wstring_view prikazovyRadek);

}  // namespace setup
