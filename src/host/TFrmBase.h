#pragma once

#include "platform/Window.h"

#include <QFrame>
#include <QWidget>

// Base of host-embedded windows: borderless, PanelMain holds all content, WM_USER+2
// resizes PanelMain, closing sends WM_USER+4 to the host window and frees the window.
class TFrmBase : public QWidget, public platform::MessageReceiver {
    Q_OBJECT
public:
    explicit TFrmBase(QWidget* owner);

    QFrame* PanelMain;

    // Handles WM_USER+2 (wParam height, lParam width); other messages give 0.
    intptr_t windowMessage(uint32_t message, intptr_t wParam, intptr_t lParam) override;

protected:
    // Base create handler: adopt AppHandle as the owner of all module dialogs. A derived
    // window calls it first in its own start-up.
    void FormCreate();
    // Close handler: sends WM_USER+4 synchronously, then the window is freed (deleteLater).
    void closeEvent(QCloseEvent* event) override;
    // Keeps the window at least as large as PanelMain, however the panel was sized, so a
    // panel wider or taller than the screen is not cut off at the window's first size.
    bool eventFilter(QObject* watched, QEvent* event) override;
};
