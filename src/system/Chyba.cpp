#include "system/Chyba.h"

#include <new>

namespace setup {

Chyba ChybaZVyjimky() noexcept {
    try {
        try {
            throw;
        } catch (const Chyba& c) {
            return c;
        } catch (const std::bad_alloc&) {
            return Chyba(CisloNedostatkuPameti, TitulekAplikace, L"Nedostatek paměti.");
        } catch (...) {
            return Chyba(CisloVnitrniChyby, TitulekAplikace, L"Vnitřní chyba programu.");
        }
    } catch (...) {
        // Not even the text could be made: the number alone must do.
        Chyba c;
        c.cislo = CisloNedostatkuPameti;
        return c;
    }
}

}  // namespace setup
