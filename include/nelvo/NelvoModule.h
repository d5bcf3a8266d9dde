#pragma once

// Public interface of the area module for shell authors.
//
// The shell loads the module library (dlopen) and resolves the one exported C function
// GetNelvoForm. Every call opens one more area window inside a panel of the shell.
//
// Arguments, all pointer-sized:
//   appHandle   window handle (platform::WindowHandle, 32-bit value) of the shell's main
//               window; it becomes the owner of every dialog the module shows.
//   hostWindow  the shell's notification window (a QWidget implementing
//               platform::MessageReceiver); it receives WM_USER+4 (0x404, wParam 0,
//               lParam 0) synchronously when a module window closes. Its handler must not
//               delete the panel synchronously: the module window is still closing.
//   operatorCode length-prefixed string: one length byte, then that many GB2312/GB18030
//               bytes (at most 255). Copied at once.
//   parent      the panel (QWidget) that contains the module window; it owns the window,
//               so destroying the panel destroys the window without notification. The
//               shell resizes the window by sending WM_USER+2 (0x402, wParam height,
//               lParam width) to the module window's handle.
//   server      the data server (platform::DispatchObject with the ICoorDisp ids of
//               platform/CoorDisp.h); the module takes its own counted reference.
//
// The function never lets an error escape: a failure while the window is created is shown
// in a message box and the call returns normally.
//
// The module library must stay loaded while any of its windows exists.

#include <cstdint>

class QWidget;
namespace platform {
class DispatchObject;
}

extern "C" {
using GetNelvoFormFunction = void (*)(std::uintptr_t appHandle, QWidget* hostWindow,
                                      const unsigned char* operatorCode, QWidget* parent,
                                      platform::DispatchObject* server);

__attribute__((visibility("default"))) void
GetNelvoForm(std::uintptr_t appHandle, QWidget* hostWindow, const unsigned char* operatorCode,
             QWidget* parent, platform::DispatchObject* server);
}
