#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "system/Text.h"

namespace setup {
namespace {

using namespace std::string_literals;

TEST(Text, OrizniNuluKonciPredPrvniNulou) {
    EXPECT_EQ(OrizniNulu(L"C:\\Office"), L"C:\\Office");
    EXPECT_EQ(OrizniNulu(L"C:\\Off\0ice\0"s), L"C:\\Off");
    EXPECT_EQ(OrizniNulu(L"\0abc"s), L"");
    EXPECT_EQ(OrizniNulu(L""), L"");
    // A NUL far beyond any 16-bit position still cuts the text.
    std::wstring dlouhy(40000, L'a');
    dlouhy[35000] = L'\0';
    EXPECT_EQ(OrizniNulu(dlouhy), std::wstring(35000, L'a'));
}

TEST(Text, OrizniMezeryJenZnakMezera) {
    EXPECT_EQ(OrizniMezery(L"  C:\\Office\\  "), L"C:\\Office\\");
    EXPECT_EQ(OrizniMezery(L"\tA B\t"), L"\tA B\t");
    EXPECT_EQ(OrizniMezery(L"    "), L"");
    EXPECT_EQ(OrizniMezery(L""), L"");
    EXPECT_EQ(OrizniMezery(L" x"), L"x");
}

TEST(Text, TextCislaDesitkove) {
    EXPECT_EQ(TextCisla(42), L"42");
    EXPECT_EQ(TextCisla(0), L"0");
    EXPECT_EQ(TextCisla(-1), L"-1");
    EXPECT_EQ(TextCisla(INT32_MIN), L"-2147483648");
    EXPECT_EQ(TextCisla(INT32_MAX), L"2147483647");
    EXPECT_EQ(TextCisla(INT64_MIN), L"-9223372036854775808");
    EXPECT_EQ(TextCisla(INT64_MAX), L"9223372036854775807");
}

TEST(Text, StejnyTextBezOhleduNaVelikostPismen) {
    EXPECT_TRUE(StejnyText(L"Dopisy", L"DOPISY"));
    EXPECT_TRUE(StejnyText(L"ŠABLONY ŽLUŤOUČKÉHO KONĚ", L"šablony žluťoučkého koně"));
    EXPECT_TRUE(StejnyText(L"ĎÁBELSKÉ ÓDY ŘÍŠE ŮŇ", L"ďábelské ódy říše ůň"));
    EXPECT_TRUE(StejnyText(L"ÄÖÜÀÉÈÇÑÅØÆÞŸ", L"äöüàéèçñåøæþÿ"));
    EXPECT_TRUE(StejnyText(L"ŁĄĘŃŚŹŻĹĽŔŐŰ", L"łąęńśźżĺľŕőű"));
    EXPECT_TRUE(StejnyText(L"ΑΒΓ ДЖЁ", L"αβγ джё"));
    EXPECT_TRUE(StejnyText(L"", L""));

    EXPECT_FALSE(StejnyText(L"Dopisy", L"Dopis"));
    EXPECT_FALSE(StejnyText(L"sablony", L"šablony"));
    EXPECT_FALSE(StejnyText(L"Ř", L"Ŗ"));   // neighbours in the table, different letters
    EXPECT_FALSE(StejnyText(L"×", L"÷"));   // signs, not letters
    EXPECT_FALSE(StejnyText(L"@", L"`"));
    EXPECT_FALSE(StejnyText(L"[", L"{"));
}

TEST(Text, VelkaPismenaKlicemProStejnyText) {
    EXPECT_EQ(VelkaPismena(L"c:\\šablony\\ďas.dot"), L"C:\\ŠABLONY\\ĎAS.DOT");
    EXPECT_EQ(VelkaPismena(L"ıſß"), L"ıſß");   // no single-letter partner
    EXPECT_EQ(VelkaPismena(L"ÿŸ ňŇ řŘ ěĚ"), L"ŸŸ ŇŇ ŘŘ ĚĚ");
    EXPECT_EQ(VelkaPismena(L"a1_-.~"), L"A1_-.~");
}

}  // namespace
}  // namespace setup
