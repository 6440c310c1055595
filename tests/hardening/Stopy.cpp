#include "Stopy.h"

#include <cstdio>

namespace hardening {

std::vector<std::wstring> Stopy::vynechat() const {
    // The status-line log the driver's hook writes inside Setup.exe.
    return {Koren() + L"\\zaznam.txt"};
}

void Stopy::Vyfot(std::vector<std::wstring> dalsiDisky) {
    disky_ = {L"C:\\"};
    disky_.insert(disky_.end(), dalsiDisky.begin(), dalsiDisky.end());
    disk_.clear();
    for (auto& d : disky_) {
        auto o = OtiskDisku(d, vynechat());
        disk_.insert(o.begin(), o.end());
    }
    registr_ = OtiskRegistru();
    ASSERT_GT(disk_.size(), 100u) << "the snapshot sees the drive";
}

std::vector<std::wstring> Stopy::Zmeny(const std::vector<std::wstring>& povolene) {
    Otisk disk;
    for (auto& d : disky_) {
        auto o = OtiskDisku(d, vynechat());
        disk.insert(o.begin(), o.end());
    }
    std::vector<std::wstring> zmeny;
    for (auto& r : RozdilyMimo(disk_, disk, povolene)) zmeny.push_back(L"disk: " + r);
    for (auto& r : RozdilyMimo(registr_, OtiskRegistru(), povolene)) zmeny.push_back(L"registry: " + r);
    return zmeny;
}

void Stopy::OverStopy(const std::vector<std::wstring>& povolene) {
    for (auto& z : Zmeny(povolene)) ADD_FAILURE() << e2e::Utf8(z);
}

std::wstring Stopy::PripravVelkouSadu(const std::wstring& nazev, int pocet) {
    std::wstring sada = Medium() + L"\\" + nazev;
    e2e::VytvorSlozky(sada);
    for (int i = 0; i < pocet; ++i) {
        wchar_t jmeno[64];
        std::swprintf(jmeno, 64, L"\\Šablona %04d.dot", i);
        e2e::ZapisSoubor(sada + jmeno, std::string(512, static_cast<char>('a' + i % 26)));
    }
    return sada;
}

}  // namespace hardening
