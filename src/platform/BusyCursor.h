#pragma once

#include "PlatformExport.h"

namespace platform {

// Shows the busy cursor for the lifetime of the object (nests; no-op without a GUI).
class PLATFORM_EXPORT BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool m_active;
};

} // namespace platform
