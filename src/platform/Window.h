#pragma once

#include "PlatformExport.h"

#include <QPointer>
#include <QWidget>
#include <cstdint>

namespace platform {

// A 32-bit window handle standing for a QWidget of the module or the host. 0 is no window.
using WindowHandle = uint32_t;

constexpr uint32_t WM_USER = 0x400;

// A widget that answers window messages sent by handle implements this interface.
class PLATFORM_EXPORT MessageReceiver {
public:
    virtual ~MessageReceiver() = default;
    // Handles one message and returns its result (0 when not handled).
    virtual intptr_t windowMessage(uint32_t message, intptr_t wParam, intptr_t lParam) = 0;
};

// Handle of a widget, assigned on first request and kept for the widget's life.
PLATFORM_EXPORT WindowHandle windowHandle(QWidget* widget);
// The widget behind a handle, or nullptr when there is none (never was, or destroyed).
PLATFORM_EXPORT QWidget* windowFromHandle(WindowHandle handle);

// Makes the window of child a child of the window of parent and shows it again (a widget
// loses visibility when re-parented). Answers false when either handle is not a window.
PLATFORM_EXPORT bool setParentWindow(WindowHandle child, WindowHandle parent);

// Delivers a message synchronously to the window behind handle and returns its result;
// 0 when the handle is no window or the window is no MessageReceiver.
PLATFORM_EXPORT intptr_t sendMessage(WindowHandle handle, uint32_t message, intptr_t wParam,
                                     intptr_t lParam);

// The module's application object: its main window handle decides which window owns the
// module's dialogs.
class PLATFORM_EXPORT ModuleApplication {
public:
    static WindowHandle mainWindowHandle();
    static void setMainWindowHandle(WindowHandle handle);
    // The widget behind the main window handle, or nullptr (dialogs are then top-level).
    static QWidget* mainWindow();
    // Title used where the application's title is shown (the error guard's caption);
    // the Qt application name until setTitle is called.
    static QString title();
    static void setTitle(const QString& title);
};

} // namespace platform
