// A scenario that photographs the prefix's drive C: (and any other drive it
// names) and the registry before a run and compares after it: a cancelled or
// failed run must leave no difference at all, a successful one only the
// paths it names.
#pragma once

#include "../e2e/Scenar.h"
#include "Otisk.h"

namespace hardening {

// Where an install that stands enters the set among the installed programs;
// its kept copy of Setup and list are in e2e::SlozkaZaznamu().
inline const wchar_t* const KlicOdinstalace = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class Stopy : public e2e::Scenar {
protected:
    // Call when everything the scenario prepares is in place, before Spust.
    void Vyfot(std::vector<std::wstring> dalsiDisky = {});
    // Call after the program has ended. Every difference outside povolene
    // is a failure, reported with its path.
    void OverStopy(const std::vector<std::wstring>& povolene = {});
    // The differences since Vyfot, "disk: ..." and "registry: ..." lines.
    std::vector<std::wstring> Zmeny(const std::vector<std::wstring>& povolene = {});
    // A set of many small files on the medium ("Šablona 0000.dot" ...), so a
    // run lasts long enough to act while it copies; returns the set folder.
    std::wstring PripravVelkouSadu(const std::wstring& nazev, int pocet);

private:
    std::vector<std::wstring> vynechat() const;
    std::vector<std::wstring> disky_;
    Otisk disk_, registr_;
};


}  // namespace hardening
