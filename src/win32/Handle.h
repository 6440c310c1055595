// One owner template for every kind of handle, and a one-line alias per kind.
#pragma once

#include <utility>

namespace setup {

// The empty value of most kinds of handle: null.
template <typename T>
constexpr T Nulovy() noexcept {
    return T{};
}

// Owns a handle of type T and closes it with Close unless it holds the empty
// value, which Prazdna() gives: a function, since a kind whose empty value is
// INVALID_HANDLE_VALUE has no constant expression for it. Move-only. put()
// hands the address to an out-parameter after closing what was held.
template <typename T, auto Close, auto Prazdna = &Nulovy<T>>
class Vlastnik {
public:
    Vlastnik() noexcept = default;
    explicit Vlastnik(T h) noexcept : h_(h) {}
    Vlastnik(Vlastnik&& o) noexcept : h_(o.release()) {}
    Vlastnik& operator=(Vlastnik&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    Vlastnik(const Vlastnik&) = delete;
    Vlastnik& operator=(const Vlastnik&) = delete;
    ~Vlastnik() { reset(); }

    T get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Prazdna(); }

    void reset(T h = Prazdna()) noexcept {
        T stary = std::exchange(h_, h);
        if (stary != Prazdna()) Close(stary);
    }
    T release() noexcept { return std::exchange(h_, Prazdna()); }
    T* put() noexcept {
        reset();
        return &h_;
    }

private:
    T h_ = Prazdna();
};

// Runs a function when the scope ends, for the odd cleanup.
template <typename F>
class NaKonci {
public:
    explicit NaKonci(F f) : f_(std::move(f)) {}
    NaKonci(const NaKonci&) = delete;
    NaKonci& operator=(const NaKonci&) = delete;
    ~NaKonci() { f_(); }

private:
    F f_;
};

}  // namespace setup
