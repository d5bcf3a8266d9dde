#include "HostNotificationWindow.h"

#include <QTimer>

HostNotificationWindow::HostNotificationWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("hostNotificationWindow"));
    hide();
}

intptr_t HostNotificationWindow::windowMessage(uint32_t message, intptr_t, intptr_t)
{
    if (message == ModuleClosedMessage)
        QTimer::singleShot(0, this, &HostNotificationWindow::moduleWindowClosed);
    return 0;
}
