#pragma once

#include "platform/Dispatch.h"
#include "platform/Window.h"

#include <QPointer>
#include <QString>
#include <QWidget>

// Module-wide values set by the entry and read by every window of the module.
struct HostContext {
    platform::WindowHandle AppHandle = 0;
    QPointer<QWidget> HostWindow;                           // told when a module window closes
    platform::DispatchRef<platform::DispatchObject> Server; // the one counted reference
    QString OperatorCode;
    QPointer<QWidget> AreaForm; // the area window (TfrmArea) created last
};

// The module's one HostContext.
HostContext& hostContext();
