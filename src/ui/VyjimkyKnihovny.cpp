// Pieces of the C++ library's exception handling that the program gives
// itself, each to keep code it never runs out of Setup.exe.
//
// The containers report what they cannot do (a size beyond their limit, an
// index past the end, a text made from a null pointer) through the
// std::__throw_* functions. The library keeps all of them in one object,
// and the std::logic_error family it throws there drags in the library's
// second, copy-on-write std::string with std::random_device behind it: some
// 85 KB of code and unwinding tables. Setup catches none of those types by
// name: any of them is an internal error (ChybaZVyjimky), a failed
// allocation is a shortage of memory. So the functions are given here, with
// the same meaning and without the weight; all of the object's functions,
// so that no other use pulls it in beside them.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

// What the library would have thrown as a std::logic_error or a
// std::runtime_error: its own text, a literal, kept for a debugger.
struct ChybaKnihovny : std::exception {
    explicit ChybaKnihovny(const char* t) noexcept : text(t) {}
    const char* what() const noexcept override { return text; }
    const char* text;
};

}  // namespace

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* t) { throw ChybaKnihovny(t); }
void __throw_domain_error(const char* t) { throw ChybaKnihovny(t); }
void __throw_invalid_argument(const char* t) { throw ChybaKnihovny(t); }
void __throw_length_error(const char* t) { throw ChybaKnihovny(t); }
void __throw_out_of_range(const char* t) { throw ChybaKnihovny(t); }
// The text is the library's format; its numbers are not worth the formatter.
void __throw_out_of_range_fmt(const char* t, ...) { throw ChybaKnihovny(t); }
void __throw_runtime_error(const char* t) { throw ChybaKnihovny(t); }
void __throw_range_error(const char* t) { throw ChybaKnihovny(t); }
void __throw_overflow_error(const char* t) { throw ChybaKnihovny(t); }
void __throw_underflow_error(const char* t) { throw ChybaKnihovny(t); }

}  // namespace std

// Every exception is caught at a window procedure or at the program's entry,
// so a terminate never has a type name to print. Replacing the library's
// verbose handler keeps its name demangler and its formatted printing, some
// 60 KB, out of the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
