#pragma once

#include "PlatformExport.h"
#include "Window.h"

#include <QString>
#include <functional>

class QDialog;

namespace platform {

enum class MessageBoxButtons { Ok, OkCancel, YesNo };
enum class MessageBoxIcon { None, Stop, Exclamation, Information, Question };

// Results of a message box and of modal dialogs.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// What a message box would show; handed to the test interceptor.
struct MessageBoxRequest {
    WindowHandle owner;
    QString text;
    QString caption;
    MessageBoxButtons buttons;
    MessageBoxIcon icon;
};

// A system message box owned by the window of owner (0 or a destroyed window: the module's
// main window, else none); returns the button pressed (IDOK, IDCANCEL, ...). Closing it
// without a button gives IDCANCEL, or IDOK when OK is the only button. Without a message
// box interceptor the box runs through execModal, so a modal interceptor sees it too (its
// handler may click a button or return one of the box's results).
PLATFORM_EXPORT int showMessageBox(WindowHandle owner, const QString& text, const QString& caption,
                                   MessageBoxButtons buttons, MessageBoxIcon icon);

// Test seam: while set, showMessageBox calls it instead of showing anything and returns
// its answer. Pass an empty function to restore real message boxes.
using MessageBoxInterceptor = std::function<int(const MessageBoxRequest&)>;
PLATFORM_EXPORT void setMessageBoxInterceptor(MessageBoxInterceptor interceptor);

// Runs dialog modally and returns its result. Test seam: while a modal interceptor is set
// it is called with the dialog instead of the real modal loop; it may inspect and drive
// the dialog and returns the result.
PLATFORM_EXPORT int execModal(QDialog& dialog);
using ModalInterceptor = std::function<int(QDialog&)>;
PLATFORM_EXPORT void setModalInterceptor(ModalInterceptor interceptor);

// Runs an event handler's body; an Error or other exception escaping it is shown in a
// message box owned by owner (the error's text, or "Unknown error" for a thrown non-exception;
// caption ModuleApplication::title(); stop icon; OK) and the handler ends normally, so the
// window keeps working. Nothing escapes, not even a failure to show the box.
PLATFORM_EXPORT void runGuarded(WindowHandle owner, const std::function<void()>& handler);

} // namespace platform
