// One install action, and the ordered plan of one run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace setup {

// Kinds of action (Typ).
enum TypAkce : int32_t {
    TypZadny = 0,
    TypSlozka = 1,     // create a folder, level by level
    TypSoubor = 2,     // copy a file
    TypKlic = 3,       // remove a registry key on rollback
    TypHodnota = 4,    // write a registry text value
    TypZastupce = 5,   // write a shell link
    // The set's entry among the installed programs, after the set's own records:
    TypKopie = 6,      // the copy of Setup.exe the entry starts (in its folder)
    TypSeznam = 7,     // the list of what the install put where
    TypAplikace = 8,   // the entry's registry values
};

// Overwrite policies of a file copy (Prepsat); any other value acts as PrepsatNikdy.
inline constexpr int32_t PrepsatNikdy = 1;
inline constexpr int32_t PrepsatVzdy = 2;
inline constexpr int32_t PrepsatStarsi = 3;

// Text that many records of a plan hold alike, such as the folder every
// file of a set comes from and goes to: one copy for all of them, so a set
// of ten thousand files does not hold its two folders ten thousand times.
// It reads as the text itself; an empty one holds nothing at all. The copy
// is made with new, not make_shared: in a program without RTTI, make_shared
// links the library's own support for it, some two kilobytes, to save one
// allocation for a whole set.
class SdilenyText {
public:
    SdilenyText() = default;
    SdilenyText(std::wstring text)
        : text_(text.empty() ? nullptr : std::shared_ptr<const std::wstring>(new std::wstring(std::move(text)))) {}
    SdilenyText(const wchar_t* text) : SdilenyText(std::wstring(text)) {}

    const std::wstring& text() const noexcept { return text_ ? *text_ : prazdny_; }
    operator const std::wstring&() const noexcept { return text(); }
    bool empty() const noexcept { return !text_; }
    std::wstring::const_iterator begin() const noexcept { return text().begin(); }
    std::wstring::const_iterator end() const noexcept { return text().end(); }

    friend std::wstring operator+(const SdilenyText& a, const wchar_t* b) { return a.text() + b; }
    friend bool operator==(const SdilenyText& a, const std::wstring& b) noexcept { return a.text() == b; }
    friend bool operator==(const SdilenyText& a, const wchar_t* b) noexcept { return a.text() == b; }

private:
    // Made before the program starts, not at its first use, which would
    // need a guard against two threads making it.
    static inline const std::wstring prazdny_;
    std::shared_ptr<const std::wstring> text_;
};

// A plain record: the builder fills it, execution and rollback read it and
// keep Undo, which says whether this run created something to take back.
struct Objekt {
    std::wstring Nazev;           // file name, link name, value name or folder label
    TypAkce Typ = TypZadny;
    SdilenyText ZdrojovaSlozka;   // folder of the file to copy; a link's target
    SdilenyText CilovaSlozka;     // folder to create or to copy into; a key path
    int64_t Velikost = 0;         // source size in bytes, recorded when planned
    int64_t Cas = 0;              // the source's last-write time, recorded when planned
    uint32_t HKey = 0;            // registry root for registry actions
    SdilenyText Hodnota;          // value text; a link's arguments
    int32_t Prepsat = 0;
    bool Undo = false;
    SdilenyText Ikona;            // a link's icon location
};

// The ordered records of one run, indexed from 1.
class Plan {
public:
    void Pridej(Objekt o) { zaznamy_.push_back(std::move(o)); }
    // Room for n records in all, so that a large set is not copied as it grows.
    void Rezervuj(std::size_t n) { zaznamy_.reserve(n); }
    int32_t Pocet() const { return static_cast<int32_t>(zaznamy_.size()); }
    Objekt& operator()(int32_t i) { return zaznamy_.at(static_cast<std::size_t>(i) - 1); }
    const Objekt& operator()(int32_t i) const { return zaznamy_.at(static_cast<std::size_t>(i) - 1); }

private:
    std::vector<Objekt> zaznamy_;
};

}  // namespace setup
