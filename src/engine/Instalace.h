// The OK handler: builds the plan, executes it, rolls it back on a cancel or
// an error, and leaves through the exit path.
#pragma once

#include <string>

#include "engine/Stroj.h"

namespace setup {

// The main window's folders that an install run reads and writes.
struct SlozkyInstalace {
    std::wstring ZdrojSlozka;      // the template set on the medium
    std::wstring CilSlozka;        // overwritten with the target text at OK
    std::wstring SlozkaZastupcu;   // the user's templates folder, or empty
};

void cmdOK_Click(Stroj& stroj, SlozkyInstalace& slozky);

}  // namespace setup
