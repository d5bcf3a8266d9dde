#include "host/HostContext.h"

HostContext& hostContext()
{
    // Constructed on first use, before the module's unload guard (see ModuleEntry.cpp), so
    // it is still alive when the guard clears it.
    static HostContext context;
    return context;
}
