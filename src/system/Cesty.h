// Pure path routines. "\" is the only separator; folder paths are held
// without a trailing backslash (a drive root keeps it where the shell gives it).
#pragma once

#include <string>
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

}  // namespace setup
