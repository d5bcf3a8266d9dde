#include "BusyCursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace platform {

BusyCursor::BusyCursor()
    : m_active(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
{
    if (m_active)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    if (m_active && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
}

} // namespace platform
