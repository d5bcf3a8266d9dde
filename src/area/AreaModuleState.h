#pragma once

#include <QString>
#include <cstdint>

// Module-wide values shared between the area window and its dialogs.

// Mode of the area dialog: 0 add, 1 modify. Set by the toolbar handlers before each showing.
extern uint8_t QydaMode;

// The last confirmed search text; lives for the module's load, cleared at unload.
extern QString LocateText;
