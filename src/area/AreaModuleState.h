#pragma once

#include <QString>
#include <cstdint>

// Module-wide values shared between the area window and its dialogs.

// Mode of the area dialog: 0 add, 1 modify. Set by the toolbar handlers before each showing.
extern uint8_t QydaMode;

// The last confirmed search text; lives for the module's load, cleared at unload.
extern QString LocateText;

// The field of the last confirmed search, the locate dialog's item index: the code part
// (before the first blank) or the name part (after it) of an area node. Kind roots are
// matched on their whole label whatever the choice. Kept with LocateText so that
// find-next repeats the same search.
enum class LocateFieldChoice : uint8_t { Code = 0, Name = 1 };
extern LocateFieldChoice LocateField;
