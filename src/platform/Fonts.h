#pragma once

#include "PlatformExport.h"

#include <QFont>

namespace platform {

// Maps the Windows font names the module asks for ("宋体", "MS Sans Serif") to installed
// families so that text renders and measures the same everywhere. Idempotent.
PLATFORM_EXPORT void installFontSubstitutions();

// A font of family "宋体" with the given pixel height (the module's default is 12).
PLATFORM_EXPORT QFont songtiFont(int pixelHeight = 12);

// The system message font (the dialog font of the desktop); false when unavailable.
PLATFORM_EXPORT bool systemMessageFont(QFont& font);

} // namespace platform
