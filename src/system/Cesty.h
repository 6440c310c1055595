// Pure path routines. "\" is the only separator; folder paths are held
// without a trailing backslash (a drive root keeps it where the shell gives it).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup {

// Splits path at its last "\": the folder part keeps that "\", the last part
// is what follows it. Without any "\" the folder part is empty.
void RozdelCestu(const std::wstring& cesta, std::wstring& slozka, std::wstring& posledni);

// The parent folder, without a trailing backslash; empty for a root or a bare name.
std::wstring NadrazenaSlozka(const std::wstring& cesta);

// The pieces from which a folder tree is created one level at a time: the
// first runs from the start to the first folder below the root (C:\ or
// \\server\share\), every further one is a single folder name.
std::vector<std::wstring> CastiCesty(const std::wstring& cesta);

// What keeps a path from naming a folder that files can be put in.
enum class VadaCesty {
    Zadna,       // a full path to a folder below a root
    Prazdna,     // no text at all
    NeniUplna,   // not from a drive root (C:\) or a network share (\\server\share), or with "/"
    Koren,       // the drive root or the share itself
    Nazev,       // a folder name the file system refuses or would store otherwise
};
struct RozborCesty {
    VadaCesty vada = VadaCesty::Zadna;
    std::wstring nazev;   // with VadaCesty::Nazev: the folder name at fault
};

// Checks a folder path that files are to be put in; one trailing "\" is
// allowed. Nothing is asked of the machine.
RozborCesty RozeberCestu(std::wstring_view cesta);

// A folder name that the file system stores exactly as given: not empty,
// not "." or "..", not ending in a dot or a space (the platform would drop
// them), free of the characters the file system refuses, and not the name
// of a device (CON, NUL, COM1...).
bool PlatnyNazevSlozky(std::wstring_view nazev);

// One or more such names joined by "\" (one trailing "\" allowed): a path
// that stays inside the folder it is joined to.
bool JsouNazvySlozek(std::wstring_view cesta);

// Whether a folder is, or lies in, a folder that an archive viewer made in
// the user's temporary folder docasna (with or without its trailing "\")
// to start one program out of an archive: Explorer's Temp<n>_<archive>,
// 7-Zip's 7z..., WinRAR's Rar$.... Such a viewer copies the program alone,
// without the folders beside it. Letter case does not matter; an empty
// docasna matches nothing.
bool VDocasneSlozceArchivu(std::wstring_view slozka, std::wstring_view docasna);

}  // namespace setup
