#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "system/Volby.h"

namespace setup {

// A failing row shows the options by name rather than as bytes.
static void PrintTo(const Volby& v, std::ostream* os) {
    *os << "{tichy=" << v.tichy << " odinstalovat=" << v.odinstalovat << " napoveda=" << v.napoveda
        << " cil=" << (v.cil ? testing::PrintToString(*v.cil) : "-")
        << " log=" << (v.log ? testing::PrintToString(*v.log) : "-")
        << " chybna=" << testing::PrintToString(v.chybna) << "}";
}

namespace {

using namespace std::string_literals;

// A command line and what it says: the switches given (of "SU?"), the
// target, the log, the piece not understood.
struct Pripad {
    std::wstring prikaz;
    std::wstring_view prepinace;
    std::optional<std::wstring> cil, log;
    std::wstring chybna;
};

void Over(const std::vector<Pripad>& pripady) {
    for (const auto& p : pripady) {
        Volby ocekavane;
        ocekavane.tichy = p.prepinace.find(L'S') != std::wstring_view::npos;
        ocekavane.odinstalovat = p.prepinace.find(L'U') != std::wstring_view::npos;
        ocekavane.napoveda = p.prepinace.find(L'?') != std::wstring_view::npos;
        ocekavane.cil = p.cil;
        ocekavane.log = p.log;
        ocekavane.chybna = p.chybna;
        EXPECT_EQ(RozeberPrikaz(p.prikaz), ocekavane) << testing::PrintToString(p.prikaz);
    }
}

TEST(Volby, JmenoProgramuJakoCreateProcess) {
    Over({
        {L"", L"", {}, {}, {}},
        {L"Setup.exe", L"", {}, {}, {}},
        {L"Setup.exe /S", L"S", {}, {}, {}},
        {L"\"C:\\Program Files\\Šablony\\Setup.exe\" /S", L"S", {}, {}, {}},
        // Unclosed: the whole line is the name.
        {L"\"C:\\Program Files\\Setup.exe /S", L"", {}, {}, {}},
        // A backslash does not escape the closing quote of the name.
        {L"\"E:\\Instalace\\\" /U", L"U", {}, {}, {}},
        // An unquoted name ends at the first space; a quote in it groups nothing.
        {L"E:\\Moje\"Instalace x\"\\Setup.exe /S", L"", {}, {}, L"x\"\\Setup.exe /S"},
        // A quoted name ends at its quote, with or without a space after it.
        {L"\"Setup.exe\"/S", L"S", {}, {}, {}},
        {L"\"\" /S", L"S", {}, {}, {}},
        // Leading whitespace: the name is empty and /S the first option.
        {L" /S", L"S", {}, {}, {}},
        {L"/S", L"", {}, {}, {}},
        {L"Setup.exe\t/S\t", L"S", {}, {}, {}},
    });
}

TEST(Volby, VolbyBezOhleduNaVelikostAZnak) {
    Over({
        {L"Setup.exe /s -U /?", L"SU?", {}, {}, {}},
        {L"Setup.exe -S   /u  ", L"SU", {}, {}, {}},
        {L"Setup.exe /?", L"?", {}, {}, {}},
        {L"Setup.exe \"/S\"", L"S", {}, {}, {}},
        {L"Setup.exe /d=C:\\Šablony", L"", L"C:\\Šablony", {}, {}},
        {L"Setup.exe -Log=D:\\Záznamy\\Účetní.log /S", L"S", {}, L"D:\\Záznamy\\Účetní.log", {}},
        {L"Setup.exe /LOG=x.log -lOg=y.log", L"", {}, L"x.log", L"-lOg=y.log"},
        // The long s is an S only to a full Unicode case map.
        {L"Setup.exe /ſ", L"", {}, {}, L"/ſ"},
    });
}

TEST(Volby, UvozovkyAZpetnaLomitka) {
    Over({
        {L"Setup.exe /D=\"C:\\Šablony firmy\" /S", L"S", L"C:\\Šablony firmy", {}, {}},
        {L"Setup.exe \"/D=C:\\Šablony firmy\" /S", L"S", L"C:\\Šablony firmy", {}, {}},
        {L"Setup.exe \"/LOG=C:\\Záznamy\\a b.log\" \"/D=C:\\Šablony firmy\" /U",
         L"U", L"C:\\Šablony firmy", L"C:\\Záznamy\\a b.log", {}},
        // A lone backslash before the closing quote escapes it: the quote
        // stays open and takes the rest.
        {L"Setup.exe /LOG=\"C:\\Logy\\\" /S", L"", {}, L"C:\\Logy\" /S", {}},
        {L"Setup.exe /LOG=\"C:\\Logy\\\\\" /S", L"S", {}, L"C:\\Logy\\", {}},
        // 2n+1 backslashes: n and a literal quote; 2n: n and the quote groups.
        {L"Setup.exe /LOG=a\\\\\\\"b /S", L"S", {}, L"a\\\"b", {}},
        {L"Setup.exe /LOG=a\\\\\\\\\"b c\" /S", L"S", {}, L"a\\\\b c", {}},
        // Backslashes before anything else are literal.
        {L"Setup.exe /LOG=\\\\server\\share\\\\x.log", L"", {}, L"\\\\server\\share\\\\x.log", {}},
        // A pair of quotes inside quotes: one quote, still quoted.
        {L"Setup.exe /LOG=\"a\"\"b c\" /S", L"S", {}, L"a\"b c", {}},
        {L"Setup.exe /LOG=a\"b\"\" c d", L"", {}, L"ab\" c d", {}},
        // Outside quotes a pair opens and closes: nothing.
        {L"Setup.exe /LOG=a\"\"b", L"", {}, L"ab", {}},
        {L"Setup.exe /LOG=\"\"\"a b\"", L"", {}, L"\"a b", {}},
        // Unbalanced: the open quote runs to the end.
        {L"Setup.exe /S /LOG=\"C:\\x y", L"S", {}, L"C:\\x y", {}},
        {L"Setup.exe /LOG=\"C:\\Logy\\\\\\\\", L"", {}, L"C:\\Logy\\\\\\\\", {}},
        {L"Setup.exe /S \"", L"S", {}, {}, L"\""},
        {L"Setup.exe \"\" /S", L"S", {}, {}, L"\"\""},
        {L"Setup.exe /S\"\" /U", L"SU", {}, {}, {}},
    });
}

TEST(Volby, CilNaKonciSMezerami) {
    Over({
        {L"Setup.exe /S /D=C:\\Šablony firmy\\Dopisy", L"S", L"C:\\Šablony firmy\\Dopisy", {}, {}},
        {L"Setup.exe -d=C:\\a b", L"", L"C:\\a b", {}, {}},
        // Whitespace inside is kept as it stands, at the end it is dropped.
        {L"Setup.exe /D=C:\\Šablony  firmy\t \t", L"", L"C:\\Šablony  firmy", {}, {}},
        {L"Setup.exe /D=C:\\a\\\\ b\\\\", L"", L"C:\\a\\\\ b\\\\", {}, {}},
        // A word that is a lone "/" or "-", or that has one inside, is no option.
        {L"Setup.exe /D=C:\\a - b /", L"", L"C:\\a - b /", {}, {}},
        {L"Setup.exe /D=C:\\a b/S", L"", L"C:\\a b/S", {}, {}},
        // A later option ends the value at the space.
        {L"Setup.exe /S /D=C:\\x /U", L"SU", L"C:\\x", {}, {}},
        {L"Setup.exe /D=C:\\Šablony firmy /S", L"S", L"C:\\Šablony", {}, L"firmy"},
        {L"Setup.exe /D=C:\\a b\t-x", L"", L"C:\\a", {}, L"b"},
        {L"Setup.exe /D=C:\\Šablony -záloha", L"", L"C:\\Šablony", {}, L"-záloha"},
        // So does a quote anywhere after it: the quotes decide.
        {L"Setup.exe /D=C:\\a \"b c\"", L"", L"C:\\a", {}, L"\"b c\""},
        {L"Setup.exe /D=C:\\a b\\\"", L"", L"C:\\a", {}, L"b\\\""},
        // Only the target runs on.
        {L"Setup.exe /LOG=C:\\a b", L"", {}, L"C:\\a", L"b"},
        // An empty value stays empty; the next word is not taken for it.
        {L"Setup.exe /D= C:\\a", L"", {}, {}, L"/D="},
    });
}

TEST(Volby, NeplatnePrvniChybnyKus) {
    Over({
        {L"Setup.exe /X", L"", {}, {}, L"/X"},
        {L"Setup.exe /Silent", L"", {}, {}, L"/Silent"},
        {L"Setup.exe --S", L"", {}, {}, L"--S"},
        {L"Setup.exe foo /S", L"S", {}, {}, L"foo"},
        {L"Setup.exe /", L"", {}, {}, L"/"},
        {L"Setup.exe /S -", L"S", {}, {}, L"-"},
        {L"Setup.exe /S=1", L"", {}, {}, L"/S=1"},
        {L"Setup.exe /D", L"", {}, {}, L"/D"},
        {L"Setup.exe /LOG", L"", {}, {}, L"/LOG"},
        {L"Setup.exe /DIR=C:\\a", L"", {}, {}, L"/DIR=C:\\a"},
        {L"Setup.exe \"/X y\"", L"", {}, {}, L"\"/X y\""},
        // Empty values.
        {L"Setup.exe /D=", L"", {}, {}, L"/D="},
        {L"Setup.exe /LOG= /S", L"S", {}, {}, L"/LOG="},
        {L"Setup.exe /D=\"\" /S", L"S", {}, {}, L"/D=\"\""},
        // Repeats: the second occurrence.
        {L"Setup.exe /S /s", L"S", {}, {}, L"/s"},
        {L"Setup.exe -U /U", L"U", {}, {}, L"/U"},
        {L"Setup.exe /D=a /D=b", L"", L"a", {}, L"/D=b"},
        // The first offence counts and nothing after it is read.
        {L"Setup.exe /X /S", L"S", {}, {}, L"/X"},
        {L"Setup.exe /S /X /Y", L"S", {}, {}, L"/X"},
        // Switches glued into one piece are no option, but a /S among them
        // still keeps the run silent; nothing after an "=" is a switch.
        {L"Setup.exe /S/D=C:\\x", L"S", {}, {}, L"/S/D=C:\\x"},
        {L"Setup.exe /U /X -u-s", L"SU", {}, {}, L"/X"},
        {L"Setup.exe /x/LOG=a/S", L"", {}, {}, L"/x/LOG=a/S"},
        // Help is for a valid line only.
        {L"Setup.exe /? /X", L"", {}, {}, L"/X"},
        {L"Setup.exe /? /?", L"", {}, {}, L"/?"},
    });
}

TEST(Volby, NepratelskeVstupy) {
    // A NUL ends the line, as it ends the platform's string.
    Over({
        {L"Setup.exe /S\0 /X"s, L"S", {}, {}, {}},
        {L"Setup.exe /D=C:\\a b\0c /X"s, L"", L"C:\\a b", {}, {}},
        {L"\0Setup.exe /S"s, L"", {}, {}, {}},
        {L"\"Setup\0.exe\" /S"s, L"", {}, {}, {}},
    });

    // Many backslashes before a quote, far past any 16-bit count.
    const std::wstring lomitka(200001, L'\\');
    // A long unquoted target of many words.
    std::wstring slova;
    for (int i = 0; i < 100000; ++i) slova += L" slovo";
    std::wstring opakovani = L"Setup.exe";
    for (int i = 0; i < 100000; ++i) opakovani += L" /S";
    Over({
        {L"Setup.exe /LOG=" + lomitka + L"\" /S", L"S", {}, std::wstring(100000, L'\\') + L"\"", {}},
        {L"Setup.exe /S /D=C:\\x" + slova + L"  \t ", L"S", L"C:\\x" + slova, {}, {}},
        // The first quote opens, every pair after it is one quote.
        {L"Setup.exe /LOG=" + std::wstring(100001, L'"'), L"", {}, std::wstring(50000, L'"'), {}},
        // A repeat early in a long line ends the reading there.
        {opakovani, L"S", {}, {}, L"/S"},
        {L"Setup.exe" + std::wstring(100000, L' ') + L"\t", L"", {}, {}, {}},
    });
}

// The removal a kept copy of Setup hands to its temporary copy: the marker
// first, quoted, so that an unquoted /D= at the end of the line stays whole.
TEST(Volby, PredaneOdebrani) {
    const std::wstring radek = L"\"C:\\Temp\\Odebrání šablon 1.exe\" \"/PREVZIT=124:Šablony firmy\" /U /S /D=C:\\Šablony firmy";
    const Volby v = RozeberPrikaz(radek);
    EXPECT_EQ(v.prevzit, L"124:Šablony firmy");
    EXPECT_TRUE(v.odinstalovat && v.tichy);
    EXPECT_EQ(v.cil, L"C:\\Šablony firmy");
    EXPECT_EQ(v.chybna, L"");
    EXPECT_EQ(radek.substr(ZacatekVoleb(radek), 1), L"\"");
}

}  // namespace
}  // namespace setup
