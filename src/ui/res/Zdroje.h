// Resource identifiers shared by the resource script and the program.
#pragma once

#define IDI_SETUP           1      // the program icon: 16 and 32 pixels, 16 and 256 colours
#define IDB_OBRAZEKSETUP    101    // frmSetup's picture, 118 x 226, 16 colours
#define IDB_IMAGE1          102    // frmPrubeh's picture, 32 x 32, 256 colours

// What the version information says of the program, and its entry among the
// installed programs: the publisher and the version.
#define VYDAVATEL_PROGRAMU  "Šablony dokumentů"
#define VERZE_PROGRAMU      "1.00.0018"
