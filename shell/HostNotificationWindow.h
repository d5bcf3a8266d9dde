#pragma once

#include "platform/Window.h"

#include <QWidget>

// The shell's notification window handed to the module as HostWindow. The module sends it
// WM_USER+4 while one of its windows is closing; the message carries no sender, so the
// window only announces, after the close has finished, that some module window closed.
class HostNotificationWindow : public QWidget, public platform::MessageReceiver {
    Q_OBJECT
public:
    explicit HostNotificationWindow(QWidget* parent);

    // WM_USER+4: schedules moduleWindowClosed (never handled synchronously, the closing
    // window is still in its close handler). Other messages give 0.
    intptr_t windowMessage(uint32_t message, intptr_t wParam, intptr_t lParam) override;

    static constexpr uint32_t ModuleClosedMessage = platform::WM_USER + 4;

signals:
    void moduleWindowClosed();
};
