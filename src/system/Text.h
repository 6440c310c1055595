// Small text routines shared by the registry reader and the engine.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace setup {

// The text up to (not including) its first NUL character.
std::wstring OrizniNulu(std::wstring_view text);

// Removes leading and trailing spaces (character 32 only; tabs stay).
std::wstring OrizniMezery(std::wstring_view text);

// A signed number in decimal: digits, a leading "-" when negative. Made
// here rather than by std::to_wstring, which would bring the C library's
// wide printf, a tenth of the installer's size, into the program.
std::wstring TextCisla(int64_t cislo);

// UTF-16 text as UTF-8. A surrogate without its partner (a file name may
// hold one) keeps its own three-byte form, so that ZUtf8 gives it back.
std::string Utf8(std::wstring_view text);
// The reverse; bytes that are no UTF-8 become U+FFFD.
std::wstring ZUtf8(std::string_view bajty);

// Equality of two texts without regard to letter case.
bool StejnyText(std::wstring_view a, std::wstring_view b);

// Order of texts by their VelkaPismena, without making them: for sorting
// names case-blind.
bool MensiBezVelikosti(std::wstring_view a, std::wstring_view b);

// The upper case that StejnyText compares one character by.
wchar_t VelkePismeno(wchar_t znak);

// The text with every letter in the upper case that StejnyText compares by;
// two texts are StejnyText exactly when their VelkaPismena are equal, so it
// serves as a key for case-blind lookups.
std::wstring VelkaPismena(std::wstring_view text);

}  // namespace setup
