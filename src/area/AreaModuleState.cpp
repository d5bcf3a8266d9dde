#include "area/AreaModuleState.h"

uint8_t QydaMode = 0;
QString LocateText;
LocateFieldChoice LocateField = LocateFieldChoice::Code;
